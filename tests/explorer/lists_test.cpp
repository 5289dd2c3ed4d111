// The lists and trees of the main window as a user meets them: header clicks, Enter, where the
// keyboard is after a command or a deletion, Alt+F and the status bar's folder path.
#include "editingfixture.h"

#include "shell/statuspanels.h"
#include "support/windowcontrols.h"
#include "web/ui/preview.h"
#include "web/ui/webpane.h"

#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTextEdit>

using namespace rr;
using namespace rr::test;

namespace
{

// alpha (12 hits), Bravo (5) and Charlie (9) in Things, all favourites, all found by "example".
QByteArray threeFavourites()
{
    QByteArray vardecks;
    for (const VD &v : {VD{"W1", "alpha", "http://alpha.example/", "", "", "", "", "", "", "12", "TRUE"},
                        VD{"W2", "Bravo", "http://bravo.example/", "", "", "", "", "", "", "5", "TRUE"},
                        VD{"W3", "Charlie", "http://charlie.example/", "", "", "", "", "", "", "9", "TRUE"}})
        vardecks += v.xml();
    return "<FOLDERS>" + folderXml("T1", "Things", vardecks) + folderXml("T2", "Other") + "</FOLDERS>";
}

QStringList names(const QTreeWidget *list)
{
    QStringList out;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        out << list->topLevelItem(i)->text(0);
    return out;
}

class ListsTest : public EditingTest
{
protected:
    void search()
    {
        tabIndex(*window)->setTab(1);
        cmbSearch(*window)->setEditText("example");
        press(cmbSearch(*window), Qt::Key_Return);
    }
    static void clickHeader(QTreeWidget *list, int column)
    {
        const QHeaderView *header = list->header();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          {header->sectionViewportPosition(column) + 5, header->height() / 2});
    }
};

TEST_F(ListsTest, aHeaderClickSortsByThatColumnAndEveryClickTurnsTheOrderAlsoAfterARefill)
{
    openDb(threeFavourites());
    const struct {
        QTreeWidget *list;
        int column;
        QStringList first, second;
    } cases[] = {
        // The Vardeck list comes by name, ascending; the results by matches, descending.
        {listVD(*window), 4, {"alpha", "Charlie", "Bravo"}, {"Bravo", "Charlie", "alpha"}},
        {lstSearch(*window), 0, {"alpha", "Bravo", "Charlie"}, {"Charlie", "Bravo", "alpha"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.list->objectName().toStdString());
        tabIndex(*window)->setTab(0);
        clickFolder("T2");
        clickFolder("T1");
        search();
        tabView(*window)->setTab(c.list == listVD(*window) ? 1 : 2);
        clickHeader(c.list, c.column);
        EXPECT_EQ(names(c.list), c.first);
        clickHeader(c.list, c.column);
        EXPECT_EQ(names(c.list), c.second);
    }
}

// Not the search again, nor Add, the default button of the Favorites tab: Enter acts on the row.
// A result list given the keyboard with nothing chosen chooses its first row.
TEST_F(ListsTest, enterOnARowShowsThatRow)
{
    openDb(threeFavourites());
    for (QTreeWidget *list : {lstSrch(*window), lstSearch(*window), tvwFavs(*window)}) {
        SCOPED_TRACE(list->objectName().toStdString());
        search();
        cmbSearch(*window)->setEditText("nothing like it");
        tabView(*window)->setTab(2);
        tabIndex(*window)->setTab(list == tvwFavs(*window) ? 2 : 1);
        prompts.clear();
        list->setFocus();
        EXPECT_EQ(list->selectedItems().size(), list == tvwFavs(*window) ? 0 : 1);
        press(list, Qt::Key_Down);
        press(list, Qt::Key_Return);
        EXPECT_EQ(lblWName(*window)->text(), list->topLevelItem(1)->text(0));
        EXPECT_EQ(prompts.texts(), QStringList{});
        EXPECT_EQ(lblFound(*window)->text(), "3");
    }
}

TEST_F(ListsTest, theViewCommandsGiveTheKeyboardToWhatTheyShowAndAltFOpensFileEveryTime)
{
    openDb(threeFavourites());
    clickFolder("T1");
    clickVardeck("W1");
    const std::pair<MenuId, QWidget *> cases[] = {
        {MenuId::mnuViewFavs, tvwFavs(*window)},    {MenuId::mnuViewIndex, tvwTopics(*window)},
        {MenuId::mnuViewPop, listPop(*window)},     {MenuId::mnuViewSearch, cmbSearch(*window)},
        {MenuId::mnuViewVardecks, listVD(*window)}, {MenuId::mnuViewSearchResults, lstSearch(*window)},
        {MenuId::mnuViewNotes, txtNotes(*window)},
    };
    for (const auto &[command, takesKeys] : cases) {
        const QKeySequence shortcut = window->menuItem(command)->shortcut();
        shortcut.isEmpty() ? menu(command) : QTest::keySequence(tabIndex(*window)->tabBar(), shortcut);
        settle();
        EXPECT_EQ(QApplication::focusWidget(), takesKeys) << takesKeys->objectName().toStdString();
    }
    // File and Favorites share F, Recent and the Favorites tab R: the key opens the menu every time.
    const int tab = tabIndex(*window)->Tab();
    for (const auto &[key, title] : {std::pair{Qt::Key_F, "&File"},
                                     {Qt::Key_F, "&File"},
                                     {Qt::Key_F, "&File"},
                                     {Qt::Key_R, "&Recent"},
                                     {Qt::Key_R, "&Recent"}}) {
        QTest::keyClick(tvwTopics(*window), key, Qt::AltModifier);
        settle();
        auto *open = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(open, nullptr) << title;
        EXPECT_EQ(open->title(), title);
        EXPECT_EQ(open->activeAction(), open->actions().value(0)) << "its first item ready";
        QTest::keyClick(open, Qt::Key_Escape);
        settle();
    }
    EXPECT_EQ(tabIndex(*window)->Tab(), tab);
}

// The keyboard stays on the row after the one deleted, which is not chosen (nothing is shown);
// Enter shows it. The favourites count follows.
TEST_F(ListsTest, afterADeletionTheKeyboardStaysInTheListOnTheNextRow)
{
    const std::tuple<int, int, QTreeWidget *(*)(const QWidget &)> cases[] = {
        {0, 0, &tvwWM}, {0, 1, &listVD}, {1, 0, &lstSrch}, {2, 0, &tvwFavs}, {3, 0, &listPop},
    };
    for (const auto &[leftTab, rightTab, control] : cases) {
        openDb(threeFavourites());
        QTreeWidget *view = control(*window);
        SCOPED_TRACE(view->objectName().toStdString());
        clickFolder("T1");
        search();
        tabIndex(*window)->setTab(leftTab);
        tabView(*window)->setTab(rightTab);
        const QString deleted = view->topLevelItem(1)->text(0), next = view->topLevelItem(2)->text(0);
        // A click shows a row of the trees and of the compact lists, a double click one of the others.
        clickItem(view, view->topLevelItem(1));
        if (lblWName(*window)->text() != deleted)
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, shownAt(view, view->topLevelItem(1)));
        prompts.answer(MsgResult::Yes);
        press(view, Qt::Key_Delete);
        EXPECT_EQ(QApplication::focusWidget(), view);
        EXPECT_EQ(view->currentItem() ? view->currentItem()->text(0) : "", next);
        EXPECT_TRUE(view->selectedItems().isEmpty());
        press(view, Qt::Key_Return);
        EXPECT_EQ(lblWName(*window)->text(), next);
        if (leftTab == 2) {
            EXPECT_EQ(window->lbl(Lbl::FavoritesCount)->text(), "Favorites: 2");
        }
    }
}

TEST_F(ListsTest, theFolderPathStaysInTheStatusBarThroughThePreviewUntilTheDatabaseCloses)
{
    installPreview(*window);
    openDb(threeFavourites());
    clickFolder("T1");
    clickVardeck("W1");
    // The Preview tab shown once makes the pane, which then loads a blank page for every
    // Vardeck shown.
    QSignalSpy loaded(WebPane::of(wbPreview(*window)), &WebPane::loadFinished);
    tabInfo(*window)->setTab(1);
    ASSERT_TRUE(loaded.wait(20000));
    clickVardeck("W2");
    ASSERT_TRUE(loaded.wait(20000));
    EXPECT_EQ(StatusBar1(*window)->panelText(2), "\\Things");
    // So does a View command, which shows the Explorer Aspect again.
    StatusBar1(*window)->setPanelText(2, "http://alpha.example/");
    press(tvwWM(*window), Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(StatusBar1(*window)->panelText(2), "\\Things");

    menu(MenuId::mnuFileClose);
    EXPECT_EQ(StatusBar1(*window)->panelText(2), "");
    EXPECT_EQ(StatusBar1(*window)->folderPath(), "");
}

TEST_F(ListsTest, aFolderRenamedInPlaceWithPastedControlCharactersShowsTheNameTheFileHolds)
{
    openDb(threeFavourites());
    for (const QString &pasted : {QString("Black\1berry\7"), QString("\2")}) {
        clickFolder("T2");
        clickFolder("T2");
        QTest::qWait(QApplication::doubleClickInterval() + 150);
        auto *box = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        ASSERT_NE(box, nullptr);
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Return);
        settle();
        EXPECT_EQ(stored("T2").childText("NAME"), "Blackberry");
        EXPECT_EQ(node("T2")->text(0), "Blackberry");
    }
    EXPECT_EQ(lblTName(*window)->text(), "Blackberry");
    EXPECT_EQ(prompts.lastText(), "The folder must have a name.");
}

} // namespace
