// The lists and trees of the main window as a user meets them: header clicks, Enter and the
// arrows, where the keyboard is after a command or a deletion, the menu bar's access keys and
// the status bar's folder path.
#include "editingfixture.h"

#include "shell/statuspanels.h"
#include "web/ui/preview.h"
#include "web/ui/webpane.h"

#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTextEdit>

using namespace rr;
using namespace rr::test;

namespace
{

// alpha, Bravo and Charlie in one folder, all favourites, all visited, all found by "example".
QByteArray threeFavourites()
{
    const VD alpha{"W1", "alpha", "http://alpha.example/", "01 Jan 2026", "", "", "", "", "", "12", "TRUE"};
    const VD bravo{"W2", "Bravo", "http://bravo.example/", "02 Jan 2026", "", "", "", "", "", "5", "TRUE"};
    const VD charlie{"W3", "Charlie", "http://charlie.example/", "03 Jan 2026", "", "", "", "", "", "9", "TRUE"};
    return "<FOLDERS>" + folderXml("T1", "Things", alpha.xml() + bravo.xml() + charlie.xml()) +
           folderXml("T2", "Other") + "</FOLDERS>";
}

bool waitFor(const std::function<bool()> &done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 20000)
        QTest::qWait(20);
    return done();
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
    void search(const QString &text)
    {
        window->tabIndex->setTab(1);
        window->cmbSearch->setEditText(text);
        press(window->cmbSearch, Qt::Key_Return);
    }
    static void clickHeader(QTreeWidget *list, int column)
    {
        QHeaderView *header = list->header();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        ASSERT_TRUE(header->viewport()->rect().contains(at));
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    static QString currentTag(const QAbstractItemView *view)
    {
        return view->currentIndex().data(Qt::UserRole).toString();
    }
    QString openMenu() const
    {
        settle();
        const auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        return menu ? menu->title() : QString("no menu");
    }
};

TEST_F(ListsTest, aHeaderClickSortsByThatColumnAndEveryClickTurnsTheOrderAlsoAfterARefill)
{
    openDb(threeFavourites());
    clickFolder("T1");
    search("example");
    struct Case {
        QTreeWidget *list;
        int column;
        QStringList firstClick, secondClick;
    } cases[] = {
        // The Vardeck list comes by name, ascending: the first click turns to descending.
        {window->listVD, 4, {"alpha", "Charlie", "Bravo"}, {"Bravo", "Charlie", "alpha"}},
        // The results come by matches, descending: the first click turns to ascending.
        {window->lstSearch, 0, {"alpha", "Bravo", "Charlie"}, {"Charlie", "Bravo", "alpha"}},
        {window->lstSrch, 0, {"alpha", "Bravo", "Charlie"}, {"Charlie", "Bravo", "alpha"}},
    };
    window->tabIndex->setTab(1);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.list->objectName().toStdString());
        // Filled again as a user would: the folder clicked, the search run.
        window->tabIndex->setTab(0);
        clickFolder("T2");
        clickFolder("T1");
        search("example");
        window->tabView->setTab(c.list == window->listVD ? 1 : 2);
        clickHeader(c.list, c.column);
        EXPECT_EQ(names(c.list), c.firstClick);
        clickHeader(c.list, c.column);
        EXPECT_EQ(names(c.list), c.secondClick);
    }
}

// Enter never presses the button that was the default before (Search, or Add on the Favorites
// tab): it acts on the row.
TEST_F(ListsTest, enterOnARowShowsThatRowAndNeverSearchesAgainNorPressesAnotherButton)
{
    openDb(threeFavourites());
    for (QTreeWidget *list : {window->lstSrch, window->lstSearch, window->tvwFavs}) {
        SCOPED_TRACE(list->objectName().toStdString());
        search("example");
        ASSERT_EQ(window->lstSrch->topLevelItemCount(), 3);
        window->cmbSearch->setEditText("nothing like it");
        window->tabView->setTab(2);
        if (list == window->tvwFavs)
            window->tabIndex->setTab(2);
        prompts.clear();
        list->setFocus();
        // A result list getting the keyboard with nothing chosen chooses its first row, so
        // Down goes on to the second.
        if (list != window->tvwFavs) {
            ASSERT_EQ(list->selectedItems(), QList<QTreeWidgetItem *>{list->topLevelItem(0)});
        }
        press(list, Qt::Key_Down);
        const QString second = list->topLevelItem(1)->text(0);
        press(list, Qt::Key_Return);
        EXPECT_EQ(window->lblWName->text(), second);
        EXPECT_EQ(prompts.texts(), QStringList{});
        EXPECT_EQ(window->lstSrch->topLevelItemCount(), 3);
        EXPECT_EQ(window->lblFound->text(), "3");
    }
}

TEST_F(ListsTest, theViewCommandsLeaveTheKeyboardInTheControlTheyShow)
{
    openDb(threeFavourites());
    clickFolder("T1");
    clickVardeck("W1");
    const struct {
        MenuId command;
        QWidget *takesKeys;
    } cases[] = {
        {MenuId::mnuViewFavs, window->tvwFavs},    {MenuId::mnuViewIndex, window->tvwTopics},
        {MenuId::mnuViewPop, window->listPop},     {MenuId::mnuViewSearch, window->cmbSearch},
        {MenuId::mnuViewVardecks, window->listVD}, {MenuId::mnuViewSearchResults, window->lstSearch},
        {MenuId::mnuViewNotes, window->txtNotes},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(window->menuItem(c.command)->objectName().toStdString());
        window->tabIndex->tabBar()->setFocus();
        const QKeySequence shortcut = window->menuItem(c.command)->shortcut();
        if (shortcut.isEmpty())
            menu(c.command);
        else
            QTest::keySequence(window->tabIndex->tabBar(), shortcut);
        settle();
        EXPECT_EQ(QApplication::focusWidget(), c.takesKeys);
        EXPECT_TRUE(c.takesKeys->isVisible());
    }
}

// Each view keeps the keyboard on the row after the one deleted; no row is chosen, as no
// Vardeck is shown, and Enter shows it. The favourites count follows.
TEST_F(ListsTest, afterADeletionTheKeyboardStaysInTheListOnTheNextRow)
{
    const struct {
        int leftTab, rightTab;
        QTreeWidget *frmVardecks::*view;
    } cases[] = {
        {0, 0, &frmVardecks::tvwWM},   {0, 1, &frmVardecks::listVD},  {1, 0, &frmVardecks::lstSrch},
        {2, 0, &frmVardecks::tvwFavs}, {3, 0, &frmVardecks::listPop},
    };
    for (const auto &c : cases) {
        openDb(threeFavourites());
        QTreeWidget *view = (*window).*c.view;
        SCOPED_TRACE(view->objectName().toStdString());
        clickFolder("T1");
        if (c.leftTab == 1)
            search("example");
        window->tabIndex->setTab(c.leftTab);
        window->tabView->setTab(c.rightTab);
        ASSERT_EQ(view->topLevelItemCount(), 3);
        const QString next = tag(view->topLevelItem(2));
        // A click shows a row of the trees and of the compact lists, a double click one of the others.
        clickItem(view, view->topLevelItem(1));
        if (window->lblWName->text() != view->topLevelItem(1)->text(0))
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, shownAt(view, view->topLevelItem(1)));
        settle();
        ASSERT_EQ(window->lblWName->text(), view->topLevelItem(1)->text(0));
        prompts.answer(MsgResult::Yes);
        press(view, Qt::Key_Delete);
        ASSERT_EQ(view->topLevelItemCount(), 2);
        EXPECT_EQ(QApplication::focusWidget(), view);
        EXPECT_EQ(currentTag(view), next);
        EXPECT_TRUE(view->selectedItems().isEmpty());
        // Enter there shows that row.
        const QString nextName = view->currentItem() ? view->currentItem()->text(0) : QString();
        press(view, Qt::Key_Return);
        EXPECT_EQ(window->lblWName->text(), nextName);
        if (c.leftTab == 2) {
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
    ASSERT_EQ(window->StatusBar1->panelText(2), "\\Things");
    // The Preview tab shown once makes the pane, which then loads a page for every
    // Vardeck shown: a blank one, or the Vardeck's own.
    WebPane *pane = WebPane::of(window->wbPreview);
    QSignalSpy loaded(pane, &WebPane::loadFinished);
    window->tabInfo->setTab(1);
    ASSERT_TRUE(waitFor([&] { return loaded.count() == 1; }));
    clickVardeck("W2");
    ASSERT_TRUE(waitFor([&] { return loaded.count() == 2; }));
    EXPECT_EQ(window->StatusBar1->panelText(2), "\\Things");
    const QString page = home.databaseFolder() + "page.html";
    ASSERT_TRUE(writeBytes(page, "<html><body><a href='http://alpha.example/'>alpha</a></body></html>"));
    pane->navigate(QUrl::fromLocalFile(page));
    ASSERT_TRUE(waitFor([&] { return loaded.count() == 3; }));
    EXPECT_EQ(window->StatusBar1->panelText(2), "\\Things");
    // A link's address passes over it.
    emit pane->statusTextChanged("http://alpha.example/");
    EXPECT_EQ(window->StatusBar1->panelText(2), "http://alpha.example/");
    emit pane->statusTextChanged("");
    EXPECT_EQ(window->StatusBar1->panelText(2), "\\Things");
    // A View command shows the Explorer Aspect again, its path with it.
    emit pane->statusTextChanged("http://alpha.example/");
    press(window->tvwWM, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(window->StatusBar1->panelText(2), "\\Things");

    menu(MenuId::mnuFileClose);
    EXPECT_EQ(window->StatusBar1->panelText(2), "");
    EXPECT_EQ(window->StatusBar1->folderPath(), "");
}

TEST_F(ListsTest, aFolderRenamedInPlaceWithPastedControlCharactersShowsTheNameTheFileHolds)
{
    openDb(threeFavourites());
    const auto renameByPasting = [&](const QString &pasted) {
        clickFolder("T2");
        clickFolder("T2");
        QTest::qWait(QApplication::doubleClickInterval() + 150);
        settle();
        auto *box = qobject_cast<QLineEdit *>(QApplication::focusWidget());
        ASSERT_NE(box, nullptr);
        QApplication::clipboard()->setText(pasted);
        box->selectAll();
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Return);
        settle();
    };
    renameByPasting(QString("Black") + QChar(1) + "berry" + QChar(7));
    EXPECT_EQ(stored("T2").childText("NAME"), "Blackberry");
    EXPECT_EQ(node("T2")->text(0), "Blackberry");
    EXPECT_EQ(window->lblTName->text(), "Blackberry");

    renameByPasting(QString(QChar(2)));
    EXPECT_EQ(prompts.lastText(), "The folder must have a name.");
    EXPECT_EQ(stored("T2").childText("NAME"), "Blackberry");
    EXPECT_EQ(node("T2")->text(0), "Blackberry");
}

// File and Favorites share F: after Escape, and again and again, Alt+F opens File.
TEST_F(ListsTest, altFOpensTheFileMenuEveryTime)
{
    openDb(threeFavourites());
    clickFolder("T1");
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(window->tvwTopics, Qt::Key_F, Qt::AltModifier);
        EXPECT_EQ(openMenu(), "&File") << i;
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr);
        ASSERT_NE(popup->activeAction(), nullptr);
        EXPECT_EQ(popup->activeAction()->text(), "&Database") << "its first item ready";
        QTest::keyClick(popup, Qt::Key_Escape);
        settle();
    }
    // Another shared-free key is Qt's as before.
    QTest::keyClick(window->tvwTopics, Qt::Key_V, Qt::AltModifier);
    EXPECT_EQ(openMenu(), "&View");
    closePopups();
}

} // namespace
