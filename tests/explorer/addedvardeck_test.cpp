// A Vardeck added from the window joins the folder's tree and list where a fill of the
// folder puts it, with everything else as such a fill shows it.
#include "editingfixture.h"
#include "explorer/vardeckviews.h"
#include "platform/gui/partoperations.h"
#include "shell/recentmenuoperations.h"
#include "support/windowcontrols.h"

#include <QHeaderView>

using namespace rr;
using namespace rr::test;

namespace
{

// What the Vardeck tree and list show, row by row, with their marks.
QStringList shownLists(frmVardecks &w)
{
    QStringList out;
    for (QTreeWidget *view : {tvwWM(w), listVD(w)}) {
        for (int i = 0; i < view->topLevelItemCount(); ++i) {
            const QTreeWidgetItem *item = view->topLevelItem(i);
            QStringList cells;
            for (int c = 0; c < view->columnCount(); ++c)
                cells << item->text(c);
            out << view->objectName() + " " + item->data(0, Qt::UserRole).toString() + " " + cells.join('|') +
                       (item->font(0).bold() ? " bold" : "") + (item->isSelected() ? " selected" : "") +
                       (item == view->currentItem() ? " current" : "");
        }
    }
    const QHeaderView *header = listVD(w)->header();
    out << QStringLiteral("sorted by %1 %2").arg(header->sortIndicatorSection()).arg(header->sortIndicatorOrder());
    out << "count " + lbl(w, Lbl::VardeckCount)->text();
    return out;
}

TEST_F(EditingTest, anAddedVardeckJoinsTheListsAsAFillOfItsFolderShowsThem)
{
    openDb();
    const int recentMax = session().recentMax;
    // Room for one recent Vardeck: each add takes the mark from the one before.
    session().recentMax = 2;
    operationsOf<RecentMenuOperations>(*window).refreshRecentMenuList("W2");
    clickFolder("T1");
    ASSERT_TRUE(wmNode("W2")->font(0).bold());

    struct Step {
        const char *name;
        std::function<void()> before;
        bool compared; // with a fill of the folder, which the next step then starts from
    };
    const Step steps[] = {
        // A name equal to one shown; a row of the list selected.
        {"Beta site", [&] { clickItem(listVD(*window), row("W2")); }, false},
        // Right after that add, whose first visit was counted in its row.
        {"aardvark", {}, true},
        // After the list was sorted by its address column.
        {"Zulu",
         [&] {
             QHeaderView *header = listVD(*window)->header();
             QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                               QPoint(header->sectionViewportPosition(1) + 5, 5));
         },
         true},
    };
    for (const Step &step : steps) {
        if (step.before)
            step.before();
        menu(MenuId::mnuAddVardeck);
        typeInto(txtWName(*window), step.name);
        save();
        if (!step.compared)
            continue;
        const QStringList added = shownLists(*window);
        rr::VardeckViews::of(*window).populateVardeckList(node("T1"));
        EXPECT_EQ(added, shownLists(*window)) << step.name;
    }
    EXPECT_EQ(childTexts(tvwWM(*window)->invisibleRootItem()),
              QStringList({"aardvark", "alpha & co", "Beta site", "Beta site", "Zulu"}));
    EXPECT_FALSE(wmNode("W2")->font(0).bold());
    session().recentMax = recentMax;
}

} // namespace
