// What the frame, the options dialog and the parts above ask of the finding panes and of
// the Recent menu: asked of the window, done by the part that offered it there.
#include "findinguifixture.h"

#include "finding/ui/recentmenu.h"
#include "storage/session.h"
#include "storage/settingsstore.h"

#include <functional>

using namespace rr;
using namespace rr::test;

namespace
{

using FindingOperationsTest = test::FindingUiTest;

// Each operation with the index tab shown while it runs, what is changed first, and what
// the panes show after it.
struct OperationCase {
    const char *operation;
    int tab;
    std::function<void()> change;
    std::function<void(FindingOperations &, XmlDocument *)> run;
    std::function<QString(const frmVardecks &)> shows;
    QString expected;
};

QString rowCounts(const frmVardecks &w)
{
    return QStringLiteral("results %1/%2, favourites %3, popular %4")
        .arg(lstSearch(w)->topLevelItemCount())
        .arg(lstSrch(w)->topLevelItemCount())
        .arg(tvwFavs(w)->topLevelItemCount())
        .arg(listPop(w)->topLevelItemCount());
}

TEST_F(FindingOperationsTest, eachOperationAskedOfTheWindowIsDoneByThePanes)
{
    const auto nothing = [] {};
    const OperationCase cases[] = {
        {"clearSearchResults", 1, nothing, [](FindingOperations &f, XmlDocument *) { f.clearSearchResults(); },
         rowCounts, "results 0/0, favourites 0, popular 0"},
        {"favoritesOutOfDate", 2, nothing, [](FindingOperations &f, XmlDocument *) { f.favoritesOutOfDate(); },
         rowCounts, "results 3/3, favourites 0, popular 0"},
        {"populateFavsList", 2, [this] { doc()->nodeFromID("W2").setChildText("FAV", "TRUE"); },
         [](FindingOperations &f, XmlDocument *doc) { f.populateFavsList(doc); }, rowCounts,
         "results 3/3, favourites 2, popular 0"},
        {"populatePopList", 3, nothing, [](FindingOperations &f, XmlDocument *) { f.populatePopList(nullptr); },
         rowCounts, "results 3/3, favourites 0, popular 0"},
        {"populateSearchList", 1,
         [] {
             session().searchColl = {"newest", "older"};
         },
         [](FindingOperations &f, XmlDocument *) { f.populateSearchList(); },
         [](const frmVardecks &w) {
             QStringList items;
             for (int i = 0; i < cmbSearch(w)->count(); ++i)
                 items << cmbSearch(w)->itemText(i);
             return items.join('|') + " / " + cmbSearch(w)->currentText();
         },
         "newest|older / q"},
        {"showSearchOptions", 1,
         [] {
             appOptions().setOpenFirst(true);
             appOptions().setShowDetailSearch(false);
         },
         [](FindingOperations &f, XmlDocument *) { f.showSearchOptions(); },
         [](const frmVardecks &w) {
             return QStringLiteral("open first %1, detailed %2")
                 .arg(openFirstResultBox(w)->isChecked())
                 .arg(showDetailedResultsBox(w)->isChecked());
         },
         "open first 1, detailed 0"},
    };
    for (const OperationCase &c : cases) {
        SCOPED_TRACE(c.operation);
        // One favourite, one visited Vardeck, three search results; the Index tab shown.
        tabIndex(*window)->setTab(0);
        openCounted();
        doc()->nodeFromID("W1").setChildText("FAV", "TRUE");
        doc()->nodeFromID("W1").setChildText("HITS", "3");
        operationsOf<FindingOperations>(*window).populateFavsList(doc());
        operationsOf<FindingOperations>(*window).populatePopList(doc());
        search("q");
        tabIndex(*window)->setTab(c.tab);
        c.change();
        c.run(operationsOf<FindingOperations>(*window), doc());
        EXPECT_EQ(c.shows(*window), c.expected);
    }
}

TEST_F(FindingOperationsTest, theSearchResultsColumnWidthsAreWrittenAndReadBack)
{
    openCounted();
    FindingOperations &finding = operationsOf<FindingOperations>(*window);
    SettingsStore::setColWidthSearch(3, 1800);
    finding.restoreFindingColumns();
    EXPECT_EQ(lstSearch(*window)->header()->sectionSize(2), 120);

    lstSearch(*window)->header()->resizeSection(2, 150);
    finding.saveFindingColumns();
    EXPECT_EQ(SettingsStore::getColWidthSearch(3), 2250);
}

TEST_F(FindingOperationsTest, theRecentMenuIsReachedThroughTheWindowOnlyOnceInstalled)
{
    open({Vd("W1").name("One")});
    session().recentColl.clear();
    recentMenu.reset(); // the stand-in goes: nothing offers the menu's operations
    EXPECT_FALSE(operationsOffered<RecentMenuOperations>(*window));
    operationsOf<RecentMenuOperations>(*window).refreshRecentMenuList("W1");
    EXPECT_TRUE(session().recentColl.isEmpty());

    installRecentMenu(*window, window->commands, window->dbXML, *window);
    operationsOf<RecentMenuOperations>(*window).refreshRecentMenuList("W1");
    EXPECT_EQ(menuTexts(MenuId::second), QStringList{"1  One"});
    EXPECT_TRUE(operationsOffered<FindingOperations>(*window)) << "installFinding offers the panes' operations";
}

} // namespace
