// Every way into a command: the unsaved-changes question before an edit is dropped, whether the
// command comes from a menu, a key, the toolbar, a popup entry or a drop; and the Menu key and
// Shift+F10, which open the popup a right-click opens.
#include "editingfixture.h"

#include "explorer/popupsanddrops.h"
#include "support/firefoxprofile.h"
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

const QString kUnsaved = "You are about to lose unsaved changes - do you wish to continue?";

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

    // The sample database opened afresh, W1 (Beta site) shown in T1 (zebra), and an edit of
    // the kind given under way: an add with a name typed, or a modification of W1's name.
    void startAfresh(EditState edit)
    {
        const ScriptedPrompts yesToAll;
        if (window->editState() != EditState::Viewing)
            window->commands.cancelVardeckEdit();
        openDb();
        showVardeck("T1", "W1");
        menu(edit == EditState::Adding ? MenuId::mnuAddVardeck : MenuId::mnuEditModify);
        typeInto(window->txtWName, "Typed ");
    }
    // Clicks item in the popup menu that is open, as the user does.
    void choose(QAction *item)
    {
        auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(popup, nullptr) << "no popup is open";
        ASSERT_TRUE(popup->actions().contains(item))
            << qPrintable(item->text()) << " is not in " << qPrintable(popup->objectName());
        QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(item).center());
        settle();
    }
    void rightClickAndChoose(QTreeWidget *tree, QTreeWidgetItem *item, MenuId entry)
    {
        clickItem(tree, item, Qt::RightButton);
        choose(window->menuItem(entry));
    }
    void dropText(QWidget *target, const QString &text)
    {
        QMimeData data;
        data.setText(text);
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        settle();
    }
};

// A way into a command, tried while an edit of the kind given is under way.
struct Way {
    const char *name;
    EditState edit;
    std::function<void()> enter;
    // What the command did once the user agreed to drop the edit (the questions asked are
    // given); a way that does not end the edit asks nothing and does this at once.
    std::function<void(const QStringList &questions)> done;
    bool asks = true;
};

TEST_F(EntryPathsTest, everyWayIntoACommandThatEndsAnEditAsksFirstAndNoKeepsTheEditAsItWas)
{
    const auto adding = [&](const QStringList &) {
        EXPECT_EQ(window->editState(), EditState::Adding);
        EXPECT_EQ(window->txtWName->text(), "");
    };
    // One page open in a running Firefox, for Get Vardeck from browser.
    FirefoxProfile firefox;
    firefox.writeSession(
        R"({"windows":[{"tabs":[{"entries":[{"url":"https://shop.example/cart","title":"Cart"}]}]}]})");
    CaptureSettings browsers;
    browsers.home = firefox.home();
    browsers.display = ":none";
    browsers.ownCaption = window->windowTitle();
    setCaptureSettings(browsers);
    const auto popularEntry = [&](int element) {
        window->tabIndex->setTab(3);
        QTreeWidgetItem *bank = tagged(window->listPop, "W3");
        ASSERT_NE(bank, nullptr);
        clickItem(window->listPop, bank, Qt::RightButton);
        choose(window->menuItem(MenuId::mnuList, element));
    };
    const auto toolbar = [&](Tb button) {
        QTest::mouseClick(window->Toolbar1->widgetForAction(window->toolbarButton(button)), Qt::LeftButton);
    };
    const Way ways[] = {
        {"Go > Last Vardeck", EditState::Modifying, [&] { window->menuItem(MenuId::mnuNav, 4)->trigger(); },
         [&](const QStringList &) { EXPECT_EQ(window->lblWName->text(), "Beta site"); }},
        {"F2", EditState::Modifying, [&] { press(window->txtWName, Qt::Key_F2); },
         [&](const QStringList &) { EXPECT_EQ(window->lblWName->text(), "alpha & co"); }},
        {"the toolbar's First Vardeck", EditState::Adding, [&] { toolbar(Tb::FirstVardeck); },
         [&](const QStringList &) { EXPECT_EQ(window->lblWName->text(), "alpha & co"); }},
        {"the toolbar's Get Vardeck from browser", EditState::Modifying, [&] { toolbar(Tb::GetFromBrowser); },
         [&](const QStringList &) {
             EXPECT_EQ(window->editState(), EditState::Adding);
             EXPECT_EQ(window->txtAddress->text(), "https://shop.example/cart");
         }},
        {"the folder popup's Delete folder, on another folder", EditState::Adding,
         [&] { rightClickAndChoose(topics(), node("T6"), MenuId::mnuDeleteFolder); },
         [&](const QStringList &questions) {
             EXPECT_EQ(questions.value(1),
                       "Are you sure you wish to delete the folder banana and all its Vardecks and sub-folders?");
             EXPECT_EQ(node("T6"), nullptr);
             EXPECT_EQ(topics()->currentItem(), node("T1")) << "the shown folder stays selected";
         }},
        {"the folder popup's Open folder in a modification", EditState::Modifying,
         [&] { rightClickAndChoose(topics(), node("T5"), MenuId::mnuOpenF); },
         [&](const QStringList &) { EXPECT_EQ(window->lblTName->text(), "Apple"); }},
        {"the folder popup's Open folder in an add", EditState::Adding,
         [&] { rightClickAndChoose(topics(), node("T5"), MenuId::mnuOpenF); },
         [&](const QStringList &) {
             EXPECT_EQ(window->editState(), EditState::Adding) << "the add goes into the folder opened";
             EXPECT_EQ(window->txtWName->text(), "Typed ");
             EXPECT_EQ(window->lblTName->text(), "Apple");
         },
         false},
        {"the notes' popup's New Vardeck", EditState::Adding,
         [&] {
             window->tabInfo->setTab(2);
             QTest::mouseClick(window->txtNotes->viewport(), Qt::RightButton);
             choose(window->menuItem(MenuId::mnuNewVD2));
         },
         adding},
        {"the details page's popup's New Vardeck", EditState::Modifying,
         [&] {
             QTest::mouseClick(window->PictureDetails, Qt::RightButton, {}, QPoint(5, 5));
             choose(window->menuItem(MenuId::mnuNewVD3));
         },
         adding},
        {"the Vardeck tree's popup's Open Vardeck", EditState::Modifying,
         [&] { rightClickAndChoose(window->tvwWM, wmNode("W2"), MenuId::mnuOpenN); },
         [&](const QStringList &) { EXPECT_EQ(window->lblWName->text(), "alpha & co"); }},
        {"the Popular list's popup's Open Vardeck", EditState::Modifying, [&] { popularEntry(3); },
         [&](const QStringList &) { EXPECT_EQ(window->lblWName->text(), "Secure bank"); }},
        {"the Popular list's popup's Open Vardeck in browser", EditState::Modifying, [&] { popularEntry(4); },
         [&](const QStringList &) {
             EXPECT_EQ(launcher.openedUrls(), QStringList{"https://www.bank.example/login/x"});
             EXPECT_EQ(window->editState(), EditState::Modifying);
         },
         false},
        {"a link dropped on the window", EditState::Modifying,
         [&] { dropText(window->formClient, "http://dropped.example/"); },
         [&](const QStringList &) {
             EXPECT_EQ(window->editState(), EditState::Adding);
             EXPECT_EQ(window->txtAddress->text(), "http://dropped.example/");
         }},
    };
    for (const Way &way : ways) {
        SCOPED_TRACE(way.name);
        if (way.asks) {
            startAfresh(way.edit);
            const QString typed = window->txtWName->text();
            const QByteArray before = fileBytes();
            ScriptedPrompts no;
            no.answer(MsgResult::No);
            way.enter();
            EXPECT_EQ(no.texts(), QStringList{kUnsaved});
            EXPECT_EQ(window->editState(), way.edit);
            EXPECT_EQ(window->txtWName->text(), typed);
            EXPECT_EQ(fileBytes(), before);
            closePopups();
        }
        startAfresh(way.edit);
        const ScriptedPrompts yes;
        way.enter();
        EXPECT_EQ(yes.texts().value(0), way.asks ? kUnsaved : QString());
        way.done(yes.texts());
        closePopups();
    }
}

// The Menu key reaches the control with the focus as a context-menu request from the
// keyboard; Shift+F10 is the key it is here.
TEST_F(EntryPathsTest, theMenuKeyAndShiftF10OpenTheRightClicksPopupAtTheCurrentItem)
{
    openDb();
    showVardeck("T5", "W3");
    clickFolder("T1");
    window->tvwWM->setCurrentItem(wmNode("W2"));
    window->listVD->setCurrentItem(row("W1"));
    // The middle of the current item's first cell.
    const auto centre = [](QTreeWidget *view, QTreeWidgetItem *item) {
        EXPECT_EQ(view->currentItem(), item);
        return view->viewport()->mapToGlobal(view->visualRect(view->indexFromItem(item)).center());
    };
    QTabBar *tabs = window->tabIndex->findChild<QTabBar *>();
    ASSERT_NE(tabs, nullptr);
    struct Control {
        const char *name;
        std::function<QWidget *()> focus; // readies the control and gives it
        QString popup;
        std::function<QPoint()> at; // where the popup opens
    };
    const Control controls[] = {
        {"the folder tree", [&] { return topics(); }, "mnuTopicMenu", [&] { return centre(topics(), node("T1")); }},
        {"the Vardeck tree", [&] { return window->tvwWM; }, "mnuStartVD",
         [&] { return centre(window->tvwWM, wmNode("W2")); }},
        {"the Vardeck list", [&] { return window->listVD; }, "mnuListVD",
         [&] { return centre(window->listVD, row("W1")); }},
        {"the notes",
         [&] {
             window->tabInfo->setTab(2);
             return window->txtNotes;
         },
         "mnuCopyMenu",
         [&] { return window->txtNotes->viewport()->mapToGlobal(window->txtNotes->cursorRect().center()); }},
        {"the left tab strip", [&] { return tabs; }, "mnuNoVD",
         [&] { return tabs->mapToGlobal(tabs->tabRect(tabs->currentIndex()).center()); }},
        {"the search box, which keeps its own menu",
         [&] {
             window->tabIndex->setTab(1);
             return static_cast<QWidget *>(window->cmbSearch->lineEdit());
         },
         "qt_edit_menu",
         {}},
    };
    for (const Control &control : controls) {
        for (const bool menuKey : {true, false}) {
            SCOPED_TRACE(std::string(control.name) + (menuKey ? ", the Menu key" : ", Shift+F10"));
            QWidget *focus = control.focus();
            focus->setFocus();
            settle();
            if (menuKey) {
                const QPoint at = focus->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
                QContextMenuEvent request(QContextMenuEvent::Keyboard, at, focus->mapToGlobal(at));
                QApplication::sendEvent(focus, &request);
            } else {
                QTest::keyClick(focus, Qt::Key_F10, Qt::ShiftModifier);
            }
            settle();
            EXPECT_EQ(openPopup(), control.popup);
            if (control.at && QApplication::activePopupWidget()) {
                EXPECT_EQ(QApplication::activePopupWidget()->pos(), control.at());
            }
            closePopups();
        }
    }
}

} // namespace
