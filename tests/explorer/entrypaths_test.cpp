// Every way into a command: the unsaved-changes question before an edit is dropped, whether the
// command comes from a menu, a key, the toolbar, a popup entry or a drop; and the Menu key and
// Shift+F10, which open the popup a right-click opens.
#include "editingfixture.h"

#include "explorer/popupsanddrops.h"
#include "support/firefoxprofile.h"
#include "support/windowcontrols.h"
#include "web/ui/capture.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QMimeData>
#include <QTabBar>
#include <QToolBar>

using namespace rr;
using namespace rr::test;

namespace
{

class EntryPathsTest : public EditingTest
{
protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        installPopupsAndDrops(*window, *explorer);
        installCapture(*window);
    }
    void TearDown() override
    {
        setCaptureSettings(std::nullopt);
        EditingTest::TearDown();
    }
    // The sample database opened afresh, W1 (Beta site) shown in T1 (zebra), and an add with a
    // name typed or a modification of W1's name under way.
    void startAfresh(EditState edit)
    {
        ScriptedPrompts yesToAll;
        yesToAll.answer(MsgResult::Yes);
        if (window->editState() != EditState::Viewing)
            window->commands.cancelVardeckEdit();
        openDb();
        showVardeck("T1", "W1");
        menu(edit == EditState::Adding ? MenuId::mnuAddVardeck : MenuId::mnuEditModify);
        tabInfo(*window)->setTab(2); // the notes
        typeInto(txtWName(*window), "Typed ");
    }
    // A right-click on widget at at, and a click on the entry of the popup it opened.
    void popupEntry(QWidget *widget, const QPoint &at, QAction *entry)
    {
        QTest::mouseClick(widget, Qt::RightButton, {}, at);
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_TRUE(popup && popup->actions().contains(entry)) << qPrintable(entry->text());
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(entry).center());
    }
};

TEST_F(EntryPathsTest, everyWayIntoACommandThatEndsAnEditAsksFirstAndNoKeepsTheEditAsItWas)
{
    FirefoxProfile firefox; // one page open, for Get Vardeck from browser
    firefox.writeSession(R"({"windows":[{"tabs":[{"entries":[{"url":"https://shop.example/cart"}]}]}]})");
    setCaptureSettings(CaptureSettings{firefox.home(), {}, ":none", window->windowTitle()});
    const auto folderEntry = [&](const char *tid, MenuId entry) {
        popupEntry(topics()->viewport(), shownAt(topics(), node(tid)), window->menuItem(entry));
    };
    const auto text = [](QWidget *box) { return [box] { return box->property("text").toString(); }; };
    QMimeData link;
    link.setText("http://dropped.example/");
    // "add" or "mod" while an edit is under way.
    const auto mode = [&] {
        return QString(window->editState() == EditState::Adding      ? "add"
                       : window->editState() == EditState::Modifying ? "mod"
                                                                     : "");
    };
    struct Way {
        const char *name;
        EditState edit;
        std::function<void()> enter;
        bool asks;
        std::function<QString()> reads; // once the user agreed, what shows
        QString shows;
    };
    const Way ways[] = {
        {"Go > Previous Vardeck", EditState::Modifying, [&] { window->menuItem(MenuId::mnuNav, 2)->trigger(); }, true,
         text(lblWName(*window)), "alpha & co"},
        {"F2", EditState::Modifying, [&] { press(txtWName(*window), Qt::Key_F2); }, true, text(lblWName(*window)),
         "alpha & co"},
        {"the toolbar's Get", EditState::Modifying,
         [&] {
             QTest::mouseClick(Toolbar1(*window)->widgetForAction(window->toolbarButton(Tb::GetFromBrowser)),
                               Qt::LeftButton);
         },
         true, text(txtAddress(*window)), "https://shop.example/cart"},
        {"the folder popup's Delete folder, of another folder", EditState::Adding,
         [&] { folderEntry("T6", MenuId::mnuDeleteFolder); }, true,
         [&] { return tag(topics()->currentItem()) + (node("T6") ? " T6 kept" : " T6 gone"); }, "T1 T6 gone"},
        {"the notes' popup's New Vardeck", EditState::Adding,
         [&] {
             popupEntry(txtNotes(*window)->viewport(), {5, 5}, window->menuItem(MenuId::mnuNewVD2));
         },
         true, [&] { return txtWName(*window)->text() + "|" + mode(); }, "|add"},
        {"the folder popup's Open folder, in an add", EditState::Adding, [&] { folderEntry("T5", MenuId::mnuOpenF); },
         false, [&] { return txtWName(*window)->text() + "|" + lblTName(*window)->text(); }, "Typed |Apple"},
        {"a list popup's Open in browser", EditState::Modifying,
         [&] {
             tabIndex(*window)->setTab(3);
             popupEntry(listPop(*window)->viewport(), shownAt(listPop(*window), tagged(listPop(*window), "W3")),
                        window->menuItem(MenuId::mnuList, 4));
         },
         false, [&] { return launcher.openedUrls().join(' ') + "|" + mode(); }, "https://www.bank.example/login/x|mod"},
        {"a click on another folder", EditState::Modifying,
         [&] {
             QTest::mouseClick(topics()->viewport(), Qt::LeftButton, {}, shownAt(topics(), node("T5")));
             QCoreApplication::processEvents();
         },
         true, text(lblTName(*window)), "Apple"},
        {"a link dropped", EditState::Modifying,
         [&] {
             QDragEnterEvent enter({9, 9}, Qt::CopyAction, &link, Qt::LeftButton, {});
             QApplication::sendEvent(formClient(*window), &enter);
             QDropEvent drop(QPointF(9, 9), Qt::CopyAction, &link, Qt::LeftButton, {});
             QApplication::sendEvent(formClient(*window), &drop);
             QCoreApplication::processEvents();
         },
         true, text(txtAddress(*window)), "http://dropped.example/"},
    };
    const QStringList unsaved{"You are about to lose unsaved changes - do you wish to continue?"};
    for (const Way &way : ways) {
        SCOPED_TRACE(way.name);
        if (way.asks) {
            startAfresh(way.edit);
            const QString typed = txtWName(*window)->text();
            const QByteArray before = fileBytes();
            ScriptedPrompts no;
            no.answer(MsgResult::No);
            way.enter();
            EXPECT_EQ(no.texts(), unsaved);
            EXPECT_EQ(window->editState(), way.edit);
            EXPECT_EQ(txtWName(*window)->text(), typed);
            EXPECT_EQ(fileBytes(), before);
        }
        startAfresh(way.edit);
        ScriptedPrompts yes;
        if (way.asks)
            yes.answer(MsgResult::Yes);
        way.enter();
        EXPECT_EQ(yes.texts().mid(0, 1), way.asks ? unsaved : QStringList());
        EXPECT_EQ(way.reads(), way.shows);
    }
}

// The Menu key reaches the control with the focus as a context-menu request from the keyboard;
// Shift+F10 is the key it is. Either opens, at the current item, the popup a right-click there opens.
TEST_F(EntryPathsTest, theMenuKeyAndShiftF10OpenTheRightClicksPopupAtTheCurrentItem)
{
    openDb();
    showVardeck("T1", "W2");
    listVD(*window)->setCurrentItem(row("W1"));
    // Each control on the tab that shows it, in an order that keeps the earlier ones' tabs.
    const std::tuple<QWidget *, QString, TabStrip *, int> controls[] = {
        {topics(), "mnuTopicMenu", tabIndex(*window), 0},
        {tvwWM(*window), "mnuStartVD", tabIndex(*window), 0},
        {tabIndex(*window)->findChild<QTabBar *>(), "mnuNoVD", tabIndex(*window), 0},
        {txtNotes(*window), "mnuCopyMenu", tabInfo(*window), 2},
        {listVD(*window), "mnuListVD", tabView(*window), 1},
        {cmbSearch(*window)->lineEdit(), "qt_edit_menu", tabIndex(*window), 1}, // a text box keeps its own menu
    };
    for (const auto &[focus, popup, strip, tab] : controls) {
        strip->setTab(tab);
        settle();
        for (const bool menuKey : {true, false}) {
            SCOPED_TRACE(popup.toStdString() + (menuKey ? ", the Menu key" : ", Shift+F10"));
            focus->setFocus();
            if (menuKey) {
                QContextMenuEvent request(QContextMenuEvent::Keyboard, {}, focus->mapToGlobal(QPoint()));
                QApplication::sendEvent(focus, &request);
            } else {
                QTest::keyClick(focus, Qt::Key_F10, Qt::ShiftModifier);
            }
            settle();
            EXPECT_EQ(openPopup(), popup);
            auto *view = qobject_cast<QTreeWidget *>(focus);
            if (view && QApplication::activePopupWidget()) {
                const QRect current = view->visualRect(view->currentIndex());
                EXPECT_EQ(QApplication::activePopupWidget()->pos(), view->viewport()->mapToGlobal(current.center()));
            }
            closePopups();
        }
    }
}

} // namespace
