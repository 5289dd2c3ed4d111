// The Search, favourites, Popular and Recent panes on the window: commands, clicks, menus, drags and drops;
// the ranking, cell and history rules are the core tests'.
#include "findinguifixture.h"

#include "finding/ui/favoritespane.h"
#include "finding/ui/popularpane.h"
#include "finding/ui/recentmenu.h"
#include "finding/ui/searchpane.h"
#include "shell/dragsources.h"
#include "storage/session.h"
#include "storage/vardeckmodule.h"
#include "support/mousedrag.h"
#include "support/windowcontrols.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTabBar>

using namespace rr;
using namespace rr::test;
using test::Vd;

namespace
{

// Drags these Vardecks from outside onto target as the window system would; whether the drop was taken.
bool dropOn(QWidget *target, const QPoint &pos, const QStringList &wids)
{
    std::unique_ptr<QMimeData> data(vardeckDragData(wids));
    QDragEnterEvent enter(pos, Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QDragMoveEvent move(pos, Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(target, &move);
    if (!move.isAccepted())
        return false;
    QDropEvent drop(QPointF(pos), Qt::CopyAction, data.get(), Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
    // The drop's work comes once its delivery is over, as the event loop goes on.
    QApplication::processEvents();
    return drop.isAccepted();
}

using FavoritesUiTest = test::FindingUiTest;

TEST_F(FavoritesUiTest, addingTwiceSaysAlreadyAndDeletingTheShownOneClearsItsMark)
{
    open({Vd("W1").name("Fish & Chips"), Vd("W2").name("Drop").fav("TRUE")});
    operationsOf<FindingOperations>(*window).populateFavsList(doc());
    tabIndex(*window)->setTab(2);
    window->selectVardeck("W1");
    QTest::mouseClick(cmdFAdd(*window), Qt::LeftButton);
    EXPECT_EQ(prompts.texts(), QStringList{"The Vardeck Fish & Chips has been added to your favorite Vardecks list"});
    EXPECT_EQ(column(tvwFavs(*window), 0), QStringList({"Drop", "Fish & Chips"}));
    EXPECT_EQ(menuTexts(MenuId::first), QStringList({"Drop", "Fish && Chips"}));
    EXPECT_EQ(lbl(*window, Lbl::FavoritesCount)->text(), "Favorites: 2");

    const QByteArray saved = test::readBytes(path);
    window->aspectPageMade(frmVardecks::FavsPage);
    window->menuItem(MenuId::mnuFavsAdd)->setEnabled(true);
    window->menuItem(MenuId::mnuFavsAdd)->trigger();
    EXPECT_EQ(prompts.lastText(), "The selected Vardeck is already in your favorites list");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::None);
    EXPECT_EQ(test::readBytes(path), saved);
    EXPECT_FALSE(window->aspectPageStale(frmVardecks::FavsPage)) << "nothing changed";

    // Deleting the shown favourite: No changes nothing, Yes clears its mark.
    window->showVardeck("W2", "Shown");
    chkFav(*window)->setChecked(true);
    Picture10(*window)->show();
    window->selectVardeck("W2");
    prompts.answer(MsgResult::No);
    lbl(*window, Lbl::FavoritesCount)->setText("stale");
    ui->favorites().cmdFDelete_Click();
    const MessageRequest question = prompts.messages().back();
    EXPECT_EQ(question.text, "Are you sure you wish to delete Drop from your favorites list?");
    EXPECT_EQ(question.title, "Delete folder?");
    EXPECT_EQ(question.icon, MsgIcon::None);
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(lbl(*window, Lbl::FavoritesCount)->text(), "Favorites: 2") << "the count is shown again after No too";
    EXPECT_EQ(test::onDisk(path, "W2", "FAV"), "TRUE");
    EXPECT_TRUE(chkFav(*window)->isChecked());

    prompts.answer(MsgResult::Yes);
    QTest::mouseClick(cmdFDelete(*window), Qt::LeftButton);
    EXPECT_FALSE(chkFav(*window)->isChecked());
    EXPECT_TRUE(Picture10(*window)->isHidden());
    EXPECT_EQ(column(tvwFavs(*window), 0), QStringList{"Fish & Chips"});
    openMenuOf(MenuId::first);
    EXPECT_EQ(window->menuArrayUpperBound(MenuId::first), 1);

    // The details panel's button adds when the box is clear.
    window->showVardeck("W1", "Shown");
    cmdAddFavs(*window)->click();
    EXPECT_EQ(test::onDisk(path, "W2", "FAV"), "TRUE");
    EXPECT_FALSE(chkFav(*window)->isChecked()) << "W2 is not the shown Vardeck";
}

TEST_F(FavoritesUiTest, aFavoriteFromTheMenuOpensCountsTheVisitAndEntersTheRecentList)
{
    open({Vd("W1").name("site").address("http://site.example/").fav("TRUE").hits("4")});
    operationsOf<FindingOperations>(*window).populateFavsList(doc());
    recentMenu->onRefreshRecentMenuList = [this](const QString &wid) {
        recentMenuCalls << wid;
        VDData record;
        record.loadDataFromReg(wid, "site", "http://site.example/", "Vardecks.xml");
        session().recentColl.append(record);
    };
    tabIndex(*window)->setTab(2);
    EXPECT_FALSE(tvwFavs(*window)->topLevelItem(0)->font(0).bold());
    openMenuOf(MenuId::first);
    window->menuItem(MenuId::first, 1)->trigger();
    EXPECT_EQ(launcher.openedUrls(), QStringList{"http://site.example/"});
    EXPECT_EQ(test::onDisk(path, "W1", "HITS"), "5");
    EXPECT_EQ(recentMenuCalls, QStringList{"W1"});
    EXPECT_TRUE(tvwFavs(*window)->topLevelItem(0)->font(0).bold()) << "a recent Vardeck is bold at once";
}

TEST_F(FavoritesUiTest, aLongNameKeepsTheFavoritesAndRecentMenusNarrowAndShowsWholeInTheToolTip)
{
    installRecentMenu(*window, window->commands, window->dbXML, *window);
    const QString name = QString("A very long & winding Vardeck name ").repeated(9).left(300);
    open({Vd("W1").name(name).fav("TRUE"), Vd("W2").name("Short").fav("TRUE")});
    operationsOf<FindingOperations>(*window).populateFavsList(doc());
    QMenu *favorites = window->subMenu(MenuId::mnuFavs);
    openMenuOf(MenuId::first);
    // The whole name would make the menu about 2000 pixels wide.
    const int whole = favorites->fontMetrics().horizontalAdvance(name);
    EXPECT_LT(favorites->sizeHint().width(), whole / 3) << "the menu is not as wide as the screen";
    const QAction *item = window->menuItem(MenuId::first, 1);
    EXPECT_TRUE(item->text().startsWith("A very long && winding")) << item->text().toStdString();
    EXPECT_TRUE(item->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(item->toolTip(), name);
    EXPECT_TRUE(favorites->toolTipsVisible());
    EXPECT_EQ(window->menuItem(MenuId::first, 2)->text(), "Short");

    VDData record;
    record.loadDataFromReg("W1", name, "http://long.example/", "Vardecks.xml");
    session().recentColl = {record};
    operationsOf<RecentMenuOperations>(*window).refreshRecentMenuList(QString());
    EXPECT_LT(window->subMenu(MenuId::mnuRecent)->sizeHint().width(), whole / 3);
    EXPECT_TRUE(window->menuItem(MenuId::second, 0)->text().startsWith("1  A very long && winding"));
    EXPECT_EQ(window->menuItem(MenuId::second, 0)->toolTip(), name);
}

TEST_F(FavoritesUiTest, aClickInTheTreeShowsTheVardeckAndDragsAndDropsCarryVardecks)
{
    open({Vd("W1").name("top").fav("TRUE"), Vd("W3").name("c")}, {Vd("W2").name("inner").fav("TRUE")});
    tabIndex(*window)->setTab(2);
    ASSERT_EQ(tvwFavs(*window)->topLevelItemCount(), 2) << "the tab fills an empty tree";
    clickRow(tvwFavs(*window), 0);
    EXPECT_EQ(shown, QStringList{"W2"});

    tvwFavs(*window)->setCurrentItem(tvwFavs(*window)->topLevelItem(1));
    std::unique_ptr<QMimeData> data(ui->favorites().tvwFavs_OLEStartDrag(tvwFavs(*window)->topLevelItem(1)));
    ASSERT_TRUE(data);
    EXPECT_EQ(QString::fromUtf8(data->data("application/x-razuzezu-vardeck-drag")), "W1");
    EXPECT_EQ(window->drag.dragKind(), DragKind::Vardeck);
    EXPECT_EQ(window->drag.dragWID(), "W1");
    ui->favorites().tvwFavs_OLECompleteDrag();
    EXPECT_EQ(window->drag.dragKind(), DragKind::None);

    // A drop of several Vardecks adds the new ones.
    window->showVardeck("W3", "Shown");
    EXPECT_TRUE(dropOn(tvwFavs(*window)->viewport(), {10, 10}, {"W1", "W2", "W3"}));
    EXPECT_EQ(tvwFavs(*window)->topLevelItemCount(), 3);
    EXPECT_TRUE(chkFav(*window)->isChecked()) << "the shown Vardeck became a favourite";

    // One Vardeck dropped on a tab: only the Favorites tab takes it.
    tabIndex(*window)->setTab(0);
    QTabBar *bar = tabIndex(*window)->tabBar();
    EXPECT_FALSE(dropOn(bar, bar->tabRect(1).center(), {"W1"}));
    EXPECT_TRUE(dropOn(bar, bar->tabRect(2).center(), {"W1"}));

    std::unique_ptr<QMimeData>(window->dragSources().startFolderDrag("T1", 2));
    EXPECT_FALSE(dropOn(tvwFavs(*window)->viewport(), {5, 5}, {"W2"})) << "folders are not favourites";

    window->setEditState(EditState::Adding);
    EXPECT_EQ(ui->favorites().tvwFavs_OLEStartDrag(tvwFavs(*window)->topLevelItem(1)), nullptr)
        << "no drag while editing";
}

// The user's drags in the favourites tree: the button pressed on a node and the pointer moved past the drag
// distance, in small steps or in one move. The drag loop stands for the platform's, which keeps the button's
// release: the tree never sees it.
TEST_F(FavoritesUiTest, aMouseDragCarriesTheFavoritePressedOnAndLeavesTheNextClickToTheTree)
{
    open({Vd("W1").name("alpha").fav("TRUE"), Vd("W2").name("beta").fav("TRUE"), Vd("W3").name("gamma").fav("TRUE")});
    tabIndex(*window)->setTab(2);
    ASSERT_EQ(column(tvwFavs(*window), 0), QStringList({"alpha", "beta", "gamma"}));
    QStringList carried;
    window->dragSources().setDragLoop([&](QWidget *source, QMimeData *data) {
        std::unique_ptr<QMimeData> owned(data);
        EXPECT_EQ(source, tvwFavs(*window)->viewport());
        const QString kind = window->drag.dragKind() == DragKind::Vardeck ? "Vardeck" : "not one Vardeck";
        carried << kind + " " + draggedVardeckIds(data).join(',');
    });
    QWidget *viewport = tvwFavs(*window)->viewport();
    const auto mouseDrag = [&](int row, bool smallSteps) {
        test::mouseDragFrom(viewport, tvwFavs(*window)->visualItemRect(tvwFavs(*window)->topLevelItem(row)).center(),
                            smallSteps);
    };

    clickRow(tvwFavs(*window), 0);
    mouseDrag(2, true);
    EXPECT_EQ(carried, QStringList{"Vardeck W3"});
    EXPECT_EQ(window->drag.dragKind(), DragKind::None) << "the drag has ended";
    EXPECT_EQ(window->drag.dragWID(), "W3");

    // The next drag carries the favourite it starts on, even in one quick move, and the next click shows the
    // favourite clicked.
    mouseDrag(1, false);
    EXPECT_EQ(carried, QStringList({"Vardeck W3", "Vardeck W2"}));
    clickRow(tvwFavs(*window), 2);
    EXPECT_EQ(shown, QStringList({"W1", "W3"}));
    EXPECT_EQ(tvwFavs(*window)->selectedItems(), QList<QTreeWidgetItem *>{tvwFavs(*window)->topLevelItem(2)});

    // No drag starts beside the nodes or while a Vardeck is edited.
    const QRect last = tvwFavs(*window)->visualItemRect(tvwFavs(*window)->topLevelItem(2));
    QTest::mousePress(viewport, Qt::LeftButton, {}, last.center() + QPoint(0, 3 * last.height()));
    QTest::mouseMove(viewport, last.center() + QPoint(40, 3 * last.height()));
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, last.center() + QPoint(40, 3 * last.height()));
    window->setEditState(EditState::Modifying);
    mouseDrag(1, true);
    QTest::mouseRelease(viewport, Qt::LeftButton);
    window->setEditState(EditState::Viewing);
    EXPECT_EQ(carried.size(), 2);
}

// The keys that move the tree's selection show the favourite they reach, as in the other lists.
TEST_F(FavoritesUiTest, theArrowsAndTypingInTheTreeShowTheFavoriteTheyReach)
{
    open({Vd("W1").name("alpha").fav("TRUE"), Vd("W2").name("beta").fav("TRUE")},
         {Vd("W3").name("cherry").fav("TRUE")});
    tabIndex(*window)->setTab(2);
    ASSERT_EQ(column(tvwFavs(*window), 0), QStringList({"alpha", "beta", "cherry"}));
    clickRow(tvwFavs(*window), 0);
    ASSERT_EQ(shown, QStringList{"W1"});
    tvwFavs(*window)->setFocus();
    QTest::keyClick(tvwFavs(*window), Qt::Key_Down);
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, QStringList({"W1", "W2"}));
    QTest::keyClicks(tvwFavs(*window), "c");
    QCoreApplication::processEvents();
    EXPECT_EQ(shown, QStringList({"W1", "W2", "W3"}));
    EXPECT_EQ(lblWName(*window)->text(), "cherry");
    QTest::keyClicks(tvwFavs(*window), "q");
    QTest::keyClick(tvwFavs(*window), Qt::Key_Down);
    QCoreApplication::processEvents();
    EXPECT_EQ(shown.size(), 3) << "a key that reaches no other favourite shows nothing again";
}

TEST_F(FavoritesUiTest, theTreeIsMadeWhenItsTabIsShownAndTheMenuWhenItOpens)
{
    open({Vd("W1").name("Beta").fav("TRUE"), Vd("W2").name("Alpha").fav("true"), Vd("W3").name("plain")});
    operationsOf<FindingOperations>(*window).populateFavsList(doc());
    EXPECT_TRUE(ui->favorites().favorites().favsColl().isEmpty()) << "nothing shows the list: it is not read yet";
    EXPECT_EQ(tvwFavs(*window)->topLevelItemCount(), 0) << "no nodes while the Index tab is shown";
    EXPECT_EQ(window->menuArrayUpperBound(MenuId::first), 0) << "no menu items before the menu opens";

    EXPECT_EQ(menuTexts(MenuId::first), QStringList({"Beta", "Alpha"}));
    EXPECT_EQ(ui->favorites().favorites().favsColl(), QStringList({"W1", "W2"}));
    EXPECT_EQ(lbl(*window, Lbl::FavoritesCount)->text(), "Favorites: 2");
    tabIndex(*window)->setTab(2);
    EXPECT_EQ(column(tvwFavs(*window), 0), QStringList({"Alpha", "Beta"}));

    // A change while the menu is closed: the shown tree follows at once, the menu as it opens.
    setFavoriteMark(doc()->nodeFromID("W1"), false);
    operationsOf<FindingOperations>(*window).populateFavsList(doc());
    EXPECT_EQ(column(tvwFavs(*window), 0), QStringList{"Alpha"});
    EXPECT_EQ(lbl(*window, Lbl::FavoritesCount)->text(), "Favorites: 1");
    EXPECT_EQ(menuTexts(MenuId::first), QStringList{"Alpha"});
    EXPECT_EQ(window->menuArrayUpperBound(MenuId::first), 1);

    // Another tab shown: the tree lets its nodes go and the tab makes them again.
    tabIndex(*window)->setTab(0);
    operationsOf<FindingOperations>(*window).populateFavsList(doc());
    EXPECT_EQ(tvwFavs(*window)->topLevelItemCount(), 0);
    tabIndex(*window)->setTab(2);
    EXPECT_EQ(column(tvwFavs(*window), -1), QStringList{"W2"});

    // A command reads the list first: a favourite is one before anything showed the list.
    tabIndex(*window)->setTab(0);
    setFavoriteMark(doc()->nodeFromID("W1"), true);
    operationsOf<FindingOperations>(*window).populateFavsList(doc());
    window->selectVardeck("W1");
    ui->favorites().cmdFAdd_Click();
    EXPECT_EQ(prompts.lastText(), "The selected Vardeck is already in your favorites list");
    EXPECT_EQ(ui->favorites().favorites().favsColl(), QStringList({"W1", "W2"}));
}

using PopularUiTest = test::FindingUiTest;

TEST_F(PopularUiTest, aClickShowsTheRowsVardeckAndClearingEmptiesTheList)
{
    open({Vd("W1").name("top").hits("3")}, {Vd("W2").name("inner").hits("5")});
    operationsOf<FindingOperations>(*window).populatePopList(doc());
    tabIndex(*window)->setTab(3);
    clickRow(listPop(*window), 0);
    EXPECT_EQ(shown, QStringList{"W2"});

    listPop(*window)->setFocus();
    QTest::keyClick(listPop(*window), Qt::Key_Down);
    EXPECT_EQ(shown.last(), "W1");

    clickRow(listPop(*window), 0, Qt::RightButton);
    EXPECT_EQ(window->popup.popupList(), EntryList::PopularList);
    EXPECT_TRUE(window->subMenu(MenuId::mnuListVD)->isVisible());
    window->subMenu(MenuId::mnuListVD)->hide();

    // Clearing asks first: No keeps every count.
    lbl(*window, Lbl::Hits)->setText("3");
    window->menuItem(MenuId::mnuClearPop)->setEnabled(true);
    window->aspectPageMade(frmVardecks::HitsPage);
    prompts.answer(MsgResult::No);
    window->menuItem(MenuId::mnuClearPop)->trigger();
    const MessageRequest question = prompts.messages().back();
    EXPECT_EQ(question.text, "Are you sure you wish to clear your list rankings of popular Vardecks?");
    EXPECT_EQ(question.title, "Clear popular list?");
    EXPECT_EQ(question.icon, MsgIcon::None);
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(listPop(*window)->topLevelItemCount(), 2);
    EXPECT_EQ(test::onDisk(path, "W2", "HITS"), "5");

    // Yes resets the counts on disk and the shown Vardeck's count.
    prompts.answer(MsgResult::Yes);
    window->menuItem(MenuId::mnuClearPop)->trigger();
    EXPECT_EQ(listPop(*window)->topLevelItemCount(), 0);
    EXPECT_EQ(lbl(*window, Lbl::Hits)->text(), "1");
    EXPECT_TRUE(window->aspectPageStale(frmVardecks::HitsPage));
}

// Every count the search results show is 1 after the clearing, whatever it read before.
TEST_F(PopularUiTest, clearingTheRankingsShowsOneVisitInEveryRowOfTheSearchResults)
{
    open({Vd("W1").name("q top").hits("5"), Vd("W2").name("q odd").hits("abc"), Vd("W3").name("q none").hits("")});
    search("q");
    const int hits = int(DetailedColumn::Hits);
    ASSERT_EQ(column(lstSearch(*window), hits).size(), 3);
    ASSERT_TRUE(column(lstSearch(*window), hits).contains("   abc"));
    window->menuItem(MenuId::mnuClearPop)->setEnabled(true);
    prompts.answer(MsgResult::Yes);
    window->menuItem(MenuId::mnuClearPop)->trigger();
    EXPECT_EQ(column(lstSearch(*window), hits), QStringList(3, "     1"));
}

TEST_F(PopularUiTest, theListHasRowsOnlyWhileItsTabIsShown)
{
    open({Vd("W1").name("top").hits("3"), Vd("W3").name("never").hits("1")}, {Vd("W2").name("inner").hits("5")});
    operationsOf<FindingOperations>(*window).populatePopList(doc());
    EXPECT_EQ(listPop(*window)->topLevelItemCount(), 0) << "the Index tab is shown";
    tabIndex(*window)->setTab(3);
    EXPECT_EQ(column(listPop(*window), -1), QStringList({"W2", "W1"}));

    // Shown, the list follows each rebuild at once; hidden, it lets its rows go until shown again.
    doc()->nodeFromID("W1").setChildText("HITS", "12");
    operationsOf<FindingOperations>(*window).populatePopList(doc());
    EXPECT_EQ(column(listPop(*window), -1), QStringList({"W1", "W2"}));
    tabIndex(*window)->setTab(2);
    doc()->nodeFromID("W3").setChildText("HITS", "7");
    operationsOf<FindingOperations>(*window).populatePopList(doc());
    EXPECT_EQ(listPop(*window)->topLevelItemCount(), 0);
    tabIndex(*window)->setTab(3);
    EXPECT_EQ(column(listPop(*window), -1), QStringList({"W1", "W3", "W2"}));
    EXPECT_EQ(column(listPop(*window), 1), QStringList({"    12", "     7", "     5"}));
}

using RecentMenuTest = test::FindingUiTest;

TEST_F(RecentMenuTest, newestFirstWithLiteralAmpersandsClearEmptiesItAndOtherDatabasesCountNoVisit)
{
    installRecentMenu(*window, window->commands, window->dbXML, *window);
    open({Vd("W1").name("Tom & Jerry").address("http://tj.example/"), Vd("W2").name("Two"), Vd("W3").name("Three")});
    const auto opened = [this](const QString &wid) {
        operationsOf<RecentMenuOperations>(*window).refreshRecentMenuList(wid);
    };
    for (const QString wid : {"W1", "W2", "W3", "W1"})
        opened(wid);
    EXPECT_EQ(menuTexts(MenuId::second), QStringList({"1  Tom && Jerry", "2  Three", "3  Two"}));
    EXPECT_EQ(window->menuItem(MenuId::second, 0)->data().toString(), "http://tj.example/");
    opened(QString());
    EXPECT_EQ(menuTexts(MenuId::second).size(), 3) << "a rebuild only shows the list again";

    window->commands.mnuRecentClear_Click();
    EXPECT_TRUE(menuTexts(MenuId::second).isEmpty());
    EXPECT_EQ(window->menuArrayUpperBound(MenuId::second), 0);
    EXPECT_TRUE(window->menuItem(MenuId::mnuRecentClear)->isVisible());

    // An item of another database opens without counting a visit.
    VDData elsewhere;
    elsewhere.loadDataFromReg("W2", "Elsewhere", "http://elsewhere.example/", "Other.xml");
    session().recentColl = {elsewhere};
    opened(QString());
    window->menuItem(MenuId::second, 0)->trigger();
    EXPECT_EQ(launcher.openedUrls(), QStringList({"http://elsewhere.example/"}));
    EXPECT_EQ(doc()->nodeFromID("W2").childText("HITS"), "1");

    // An address no browser is handed opens nothing and counts no visit.
    doc()->nodeFromID("W3").setChildText("ADDRESS", "javascript:alert(1)");
    VDData script;
    script.loadDataFromReg("W3", "Three", "javascript:alert(1)", "Vardecks.xml");
    session().recentColl = {script};
    opened(QString());
    window->menuItem(MenuId::second, 0)->trigger();
    EXPECT_EQ(launcher.openedUrls().size(), 1);
    EXPECT_EQ(doc()->nodeFromID("W3").childText("HITS"), "1");
}

} // namespace

using SearchUiTest = test::FindingUiTest;

TEST_F(SearchUiTest, bothListsFillByMatchesSortOnTheirOwnAndOpenTheirMenus)
{
    openCounted();
    lstSearch(*window)->header()->resizeSection(2, 123);
    search("q");
    EXPECT_EQ(lstSearch(*window)->header()->sectionSize(2), 123) << "filling keeps the column widths";

    tabView(*window)->setTab(2);
    QHeaderView *header = lstSearch(*window)->header();
    const int x = header->sectionViewportPosition(1) + header->sectionSize(1) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    EXPECT_EQ(column(lstSearch(*window), -1), QStringList({"W3", "W1", "W2"}));
    EXPECT_EQ(column(lstSrch(*window), -1), QStringList({"W2", "W1", "W3"})) << "each list sorts on its own";
    search("q");
    EXPECT_EQ(column(lstSearch(*window), -1), QStringList({"W2", "W1", "W3"})) << "a new fill sorts by matches again";

    // Right clicks record the list and open its menu, except while editing.
    clickRow(lstSrch(*window), 1, Qt::RightButton);
    EXPECT_EQ(window->popup.popupList(), EntryList::SearchList);
    EXPECT_TRUE(window->subMenu(MenuId::mnuListVD)->isVisible());
    window->subMenu(MenuId::mnuListVD)->hide();

    tabView(*window)->setTab(2);
    lstSearch(*window)->clearSelection();
    clickRow(lstSearch(*window), 0, Qt::RightButton);
    EXPECT_EQ(window->popup.popupList(), EntryList::SearchResults);
    EXPECT_TRUE(window->subMenu(MenuId::mnuListVDMulti)->isVisible())
        << "no row selected before: the several-rows menu";
    window->subMenu(MenuId::mnuListVDMulti)->hide();

    window->setEditState(EditState::Adding);
    clickRow(lstSearch(*window), 1, Qt::RightButton);
    EXPECT_FALSE(window->subMenu(MenuId::mnuListVD)->isVisible());
    EXPECT_FALSE(window->subMenu(MenuId::mnuListVDMulti)->isVisible());

    // A left click while editing asks before the edit is lost.
    window->setEditState(EditState::Modifying);
    prompts.answer(MsgResult::No);
    clickRow(lstSrch(*window), 0);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(prompts.lastText(), "You are about to lose unsaved changes - do you wish to continue?");
}

// A header click of either list puts the same results in another order: "Found:" still
// counts them all.
TEST_F(SearchUiTest, aHeaderClickKeepsTheFoundCount)
{
    openCounted();
    search("q");
    ASSERT_EQ(lblFound(*window)->text(), "3");
    for (QTreeWidget *list : {lstSrch(*window), lstSearch(*window)}) {
        tabView(*window)->setTab(2);
        QHeaderView *header = list->header();
        const int x = header->sectionViewportPosition(1) + header->sectionSize(1) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
        EXPECT_EQ(lblFound(*window)->text(), "3") << qPrintable(list->objectName());
        EXPECT_EQ(list->topLevelItemCount(), 3);
    }
}

TEST_F(SearchUiTest, theTickedBoxesChooseTheFieldsAndEnterOrAPickSearchOnce)
{
    open({Vd("W1").name("alpha").notes("beta")});
    tabIndex(*window)->setTab(1);
    QTest::mouseClick(searchFieldBox(*window, FieldBox::Name), Qt::LeftButton); // Name only
    search("beta");
    EXPECT_EQ(prompts.texts(), QStringList{"No search results were found"});
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::None);
    EXPECT_EQ(prompts.messages().back().title, "Razuzezu Revidod");
    EXPECT_EQ(lblFound(*window)->text(), "0");

    // Enter in the search box and a pick from its list search once.
    prompts.clear();
    cmbSearch(*window)->setFocus();
    cmbSearch(*window)->setEditText("nothing");
    QTest::keyClick(cmbSearch(*window), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts.texts(), QStringList{"No search results were found"});

    cmbSearch(*window)->setEditText("alpha");
    QTest::keyClick(cmbSearch(*window), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(lblFound(*window)->text(), "1");
    EXPECT_EQ(session().searchColl, QStringList({"alpha", "nothing", "beta"}));

    // An arrow key in the closed box picks the next entry of its list.
    cmbSearch(*window)->setCurrentIndex(0);
    QTest::keyClick(cmbSearch(*window), Qt::Key_Down);
    EXPECT_EQ(cmbSearch(*window)->currentText(), "nothing");
    EXPECT_EQ(prompts.messages().size(), 2u);
}

TEST_F(SearchUiTest, aClickShowsTheVardeckWithItsFolderAndOpenFirstResultOpensTheTopRow)
{
    openCounted();
    search("q");
    window->showFolder("T1", "First");
    tabView(*window)->setTab(2);
    clickRow(lstSrch(*window), 2);
    EXPECT_EQ(shown, QStringList{"W3"});
    EXPECT_EQ(listed, QStringList{"T3"});
    EXPECT_EQ(window->currentTID(), "T3") << "the shown folder follows the list";
    EXPECT_EQ(lblTName(*window)->text(), "Inner");
    EXPECT_EQ(StatusBar1(*window)->panelText(2), "\\Second\\Inner");
    EXPECT_EQ(tabView(*window)->Tab(), 0);
    EXPECT_EQ(window->selectedWID(), "W3");
    EXPECT_EQ(editModes, QList<bool>{false});
    EXPECT_EQ(ui->search().lstSrchToolTip(lstSrch(*window)->visualItemRect(lstSrch(*window)->topLevelItem(2)).center()),
              "http://inner.example/x");

    lstSrch(*window)->setFocus();
    QTest::keyClick(lstSrch(*window), Qt::Key_Up);
    EXPECT_EQ(shown.last(), "W1");

    // The detailed list shows on a double click only.
    tabView(*window)->setTab(2);
    const QRect rect = lstSearch(*window)->visualItemRect(lstSearch(*window)->topLevelItem(2));
    QTest::mouseClick(lstSearch(*window)->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(shown.last(), "W1");
    QTest::mouseDClick(lstSearch(*window)->viewport(), Qt::LeftButton, {}, rect.center());
    EXPECT_EQ(shown.last(), "W3");

    // With "open first result" a search opens the top row without counting a visit.
    tabIndex(*window)->setTab(1);
    QTest::mouseClick(openFirstResultBox(*window), Qt::LeftButton);
    QTest::mouseClick(showDetailedResultsBox(*window), Qt::LeftButton);
    const QByteArray before = test::readBytes(path);

    search("nothing-like-this");
    EXPECT_TRUE(launcher.openedUrls().isEmpty()) << "no first row, nothing opened";
    search("q");
    EXPECT_EQ(launcher.openedUrls(), QStringList{"http://a.example/"});
    EXPECT_EQ(shown.last(), "W2");
    EXPECT_EQ(tabView(*window)->Tab(), 2);
    EXPECT_EQ(test::readBytes(path), before) << "opening the first result records no visit";
}

// Tab goes from the last control of the left tab shown on to the right pane's tab strip, and Shift+Tab
// comes back, as from the Index tab's controls.
TEST_F(SearchUiTest, tabLeavesTheLeftTabsControlsForTheRightPanesTabStripAndShiftTabComesBack)
{
    open({Vd("W1").name("q one")});
    search("q");
    const std::pair<int, QWidget *> lasts[] = {{1, lstSrch(*window)}, {2, cmdFDelete(*window)}, {3, listPop(*window)}};
    for (const auto &[tab, last] : lasts) {
        tabIndex(*window)->setTab(tab);
        last->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(last->hasFocus()) << last->objectName().toStdString();
        QTest::keyClick(last, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), tabView(*window)->tabBar()) << last->objectName().toStdString();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), last);
    }
}

TEST_F(SearchUiTest, detailsButtonsSearchAllDataAndToolsItemsOnlyTickTheirBox)
{
    open({Vd("W1").created("06 Dec 2026"), Vd("W2").created("07 Dec 2026").keyword2("06 Dec 2026 10:00:00")});
    QTest::mouseClick(searchFieldBox(*window, FieldBox::Description), Qt::LeftButton);
    lblCreatedDate(*window)->setText("06 Dec 2026");
    lblHome(*window)->setText("http://www.a.example/");
    searchButton(*window, DetailSearch::CreatedDate)->click();
    EXPECT_EQ(cmbSearch(*window)->currentText(), "06 Dec 2026");
    EXPECT_EQ(tabIndex(*window)->Tab(), 1);
    EXPECT_EQ(lblFound(*window)->text(), "2") << "all data holds the last-visited date too";
    lbl(*window, Lbl::LastVisited)->setText("06 Dec 2026 10:00:00");
    cmbSearch(*window)->setEditText(QString());
    searchButton(*window, DetailSearch::LastVisited)->click();
    EXPECT_EQ(cmbSearch(*window)->currentText(), "06 Dec 2026") << "the last visit's date without its time";
    searchButton(*window, DetailSearch::Domain)->click();
    EXPECT_EQ(cmbSearch(*window)->currentText(), "a.example");

    session().searchColl.clear();
    tabIndex(*window)->setTab(0);
    window->menuItem(MenuId::mnuToolsSearchKeywords)->trigger();
    EXPECT_EQ(tabIndex(*window)->Tab(), 1);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(searchFieldBox(*window, FieldBox(i))->isChecked(), i == 5) << i;
    EXPECT_TRUE(session().searchColl.isEmpty());
}

// The kept texts are made once the window is drawn, with no search asked for: the
// first search reads them, not the document.
TEST_F(SearchUiTest, theKeptTextsAreMadeOnceTheWindowIsDrawnAndTheFirstSearchReadsThem)
{
    QList<Vd> many;
    for (int i = 1; i <= kParallelFillFrom + 100; ++i)
        many.append(Vd(QStringLiteral("W%1").arg(i)).name(QStringLiteral("Name %1").arg(i)));
    open(many);
    window->hide();
    window->show();
    const WordSearch &search = ui->search().wordSearch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return search.cache().holdsWhole(doc()->changeStamp(), SearchAllData); }))
        << "the kept texts are not made after the window is shown";
    EXPECT_EQ(search.cache().size(), kParallelFillFrom + 100);

    tabIndex(*window)->setTab(1);
    cmbSearch(*window)->setEditText("name 4142");
    QTest::keyClick(cmbSearch(*window)->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(search.lastPath(), SearchPath::Kept);
    EXPECT_EQ(column(lstSrch(*window), -1), QStringList({"W4142"}));
}

// More matches than the lists hold: "Found:" says how many match and how many are
// listed, whole beside its caption, and follows rows taken out; a list cleared shows 0.
TEST_F(SearchUiTest, moreMatchesThanListedAreCountedAndTheCountFollowsRowsTakenOut)
{
    QList<Vd> many;
    for (int i = 1; i <= 2632; ++i)
        many.append(Vd(QStringLiteral("W%1").arg(i)).name(QStringLiteral("item%1").arg(i, 4, 10, QLatin1Char('0'))));
    open(many);
    search("item");
    EXPECT_EQ(lblFound(*window)->text(), "2,632 (500 listed)");
    QCoreApplication::processEvents(); // the page lays its captions out again
    QLabel *count = lblFound(*window);
    QLabel *caption = lbl(*window, Lbl::FoundCaption);
    EXPECT_GE(count->width(), count->sizeHint().width()) << "the whole count shows";
    EXPECT_LT(caption->geometry().right(), count->x());
    EXPECT_LE(count->geometry().right(), count->parentWidget()->width());

    QHeaderView *header = lstSrch(*window)->header();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(1) + 5, 5));
    EXPECT_EQ(lblFound(*window)->text(), "2,632 (500 listed)") << "a header click takes out no result";
    doc()->nodeFromID("W2").parentNode().removeChild(doc()->nodeFromID("W2"));
    ui->search().dropRowsOfGoneVardecks();
    EXPECT_EQ(lblFound(*window)->text(), "2,631 (499 listed)");

    search("item1");
    EXPECT_EQ(lblFound(*window)->text(), "1,000 (500 listed)");
    search("item26");
    EXPECT_EQ(lblFound(*window)->text(), "33");
    ui->clearSearchResults();
    EXPECT_EQ(lblFound(*window)->text(), "0");
}
