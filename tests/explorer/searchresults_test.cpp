// The search results and the View commands as the keyboard meets them: Enter shows the row the
// keyboard is on, a header click keeps the rows chosen, and a View command reaches its control even
// when its tab is already up.
#include "editingfixture.h"

#include "support/windowcontrols.h"

#include <QComboBox>
#include <QHeaderView>
#include <QTabBar>

using namespace rr;
using namespace rr::test;

namespace
{

// Delta, alpha, Charlie and Bravo in Things, all found by "example"; Delta has the most matches.
QByteArray fourFound()
{
    QByteArray vardecks;
    for (const VD &v : {VD{"W1", "alpha", "http://alpha.example/"}, VD{"W2", "Bravo", "http://bravo.example/"},
                        VD{"W3", "Charlie", "http://charlie.example/"},
                        VD{"W4", "Delta", "http://delta.example/", "06 Dec 2026", "example example"}})
        vardecks += v.xml();
    return "<FOLDERS>" + folderXml("T1", "Things", vardecks) + folderXml("T2", "Other") + "</FOLDERS>";
}

class SearchResultsTest : public EditingTest
{
protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        openDb(fourFound());
        tabIndex(*window)->setTab(int(IndexTab::Search));
        cmbSearch(*window)->setEditText("example");
        press(cmbSearch(*window), Qt::Key_Return);
        tabView(*window)->setTab(int(ViewTab::SearchResults));
    }
    static QStringList tags(const QList<QTreeWidgetItem *> &rows)
    {
        QStringList out;
        for (const QTreeWidgetItem *r : rows)
            out << tag(r);
        out.sort();
        return out;
    }
    static QStringList order(const QTreeWidget *list)
    {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << tag(list->topLevelItem(i));
        return out;
    }
    static void clickHeader(QTreeWidget *list, int column)
    {
        const QHeaderView *header = list->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          {header->sectionViewportPosition(column) + 5, header->height() / 2});
    }
};

// Another row shown first (a double click), the keyboard moved to a row and Enter: that row shows.
TEST_F(SearchResultsTest, enterOnARowOfTheDetailedResultsShowsThatRowNotTheOneShownBefore)
{
    QTreeWidget *results = lstSearch(*window);
    ASSERT_EQ(order(results), QStringList({"W4", "W1", "W2", "W3"}));
    for (int target = 0; target < 3; ++target) {
        SCOPED_TRACE(target);
        const QPoint charlie = shownAt(results, results->topLevelItem(3));
        QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, charlie);
        QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, charlie);
        settle();
        ASSERT_EQ(lblWName(*window)->text(), "Charlie");
        tabView(*window)->setTab(int(ViewTab::SearchResults));
        press(results, Qt::Key_Home);
        for (int i = 0; i < target; ++i)
            press(results, Qt::Key_Down);
        ASSERT_EQ(results->currentItem(), results->topLevelItem(target));
        press(results, Qt::Key_Return);
        EXPECT_EQ(lblWName(*window)->text(), results->topLevelItem(target)->text(0));
    }
    EXPECT_EQ(prompts.texts(), QStringList());
}

// The rows chosen stay chosen, the keyboard's row too, wherever the new order puts them; Enter then
// shows the row chosen before the sort.
TEST_F(SearchResultsTest, aHeaderClickSortsTheResultsAndKeepsTheRowsChosen)
{
    struct Case {
        QTreeWidget *list;
        int leftTab;
        QStringList chosen;
    };
    const Case cases[] = {
        {lstSearch(*window), int(IndexTab::Search), {"W2"}},
        {lstSearch(*window), int(IndexTab::Search), {"W1", "W3"}},
        {lstSrch(*window), int(IndexTab::Search), {"W2"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.list->objectName().toStdString() + " " + c.chosen.join(',').toStdString());
        tabIndex(*window)->setTab(c.leftTab);
        c.list->setFocus();
        for (int i = 0; i < c.chosen.size(); ++i) {
            QTreeWidgetItem *r = tagged(c.list, c.chosen[i]);
            ASSERT_NE(r, nullptr);
            QTest::mouseClick(c.list->viewport(), Qt::LeftButton, i == 0 ? Qt::NoModifier : Qt::ControlModifier,
                              shownAt(c.list, r));
        }
        settle();
        ASSERT_EQ(tags(c.list->selectedItems()), c.chosen);
        const QString current = tag(c.list->currentItem());
        const QStringList before = order(c.list);
        clickHeader(c.list, 0);
        settle();
        EXPECT_NE(order(c.list), before) << "sorted";
        EXPECT_EQ(tags(c.list->selectedItems()), c.chosen);
        EXPECT_EQ(tag(c.list->currentItem()), current);
        if (c.chosen.size() == 1) {
            press(c.list, Qt::Key_Return);
            EXPECT_EQ(lblWName(*window)->text(), tagged(c.list, c.chosen.front())->text(0));
        }
    }
}

// Each View command whose tab is up already, with the keyboard elsewhere: the keyboard goes to the
// control the command shows.
TEST_F(SearchResultsTest, aViewCommandGivesTheKeyboardToItsControlWhenItsTabIsAlreadyUp)
{
    const std::tuple<MenuId, IndexTab, QWidget *> cases[] = {
        {MenuId::mnuViewSearch, IndexTab::Search, cmbSearch(*window)},
        {MenuId::mnuViewIndex, IndexTab::Index, tvwTopics(*window)},
        {MenuId::mnuViewFavs, IndexTab::Favorites, tvwFavs(*window)},
        {MenuId::mnuViewPop, IndexTab::Popular, listPop(*window)},
    };
    QTabBar *elsewhere = tabView(*window)->tabBar();
    for (const auto &[command, tab, takesKeys] : cases) {
        SCOPED_TRACE(takesKeys->objectName().toStdString());
        tabIndex(*window)->setTab(int(tab));
        settle();
        elsewhere->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), elsewhere);
        menu(command);
        settle();
        EXPECT_EQ(tabIndex(*window)->Tab(), int(tab));
        EXPECT_EQ(QApplication::focusWidget(), takesKeys);
    }
}

} // namespace
