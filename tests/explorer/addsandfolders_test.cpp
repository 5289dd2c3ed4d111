// Where a Vardeck being added goes when the folder tree's selection moved meanwhile: after a folder's
// popup, during a drag of a favourite onto the window, and around a new folder made during the add.
#include "editingfixture.h"
#include "popupsfixture.h"

#include "dialogs/frmtopicdialog.h"
#include "support/dialogcontrols.h"
#include "support/mousedrag.h"
#include "support/windowcontrols.h"
#include "support/xmlids.h"

#include <QMenu>

using namespace rr;
using namespace rr::test;

namespace
{

class AddsAndFoldersTest : public PopupsTest
{
protected:
    // The sample database, Apple (T5, holding W3) shown, and an add with a name typed under way.
    void startAddInApple()
    {
        openDatabase();
        clickFolder("T5");
        startAdd();
    }
    void startAdd()
    {
        window->menuItem(MenuId::mnuAddVardeck)->trigger();
        typeInto(txtWName(*window), "Pears");
    }
    void saveWithCtrlS() { press(txtWName(*window), Qt::Key_S, Qt::ControlModifier); }
    // The Vardecks of a folder as the file holds them, by name.
    QStringList namesOnDisk(const QString &tid) const
    {
        QStringList out;
        for (const QString &wid : childIdsOnDisk(path, tid, "VARDECKS"))
            out << stored(wid).childText("NAME");
        return out;
    }
};

TEST_F(AddsAndFoldersTest, aNewVardeckGoesIntoTheFolderShownOnceAFoldersPopupHasClosed)
{
    openDatabase();
    clickFolder("T5");
    clickItem(topics(), node("T6"), Qt::RightButton);
    ASSERT_EQ(openPopup(), "mnuTopicMenu");
    EXPECT_EQ(topics()->currentItem(), node("T6")) << "the folder right-clicked is marked while its popup is open";
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    settle();
    ASSERT_EQ(openPopup(), "");
    EXPECT_EQ(topics()->currentItem(), node("T5"));

    startAdd();
    saveWithCtrlS();
    EXPECT_EQ(window->editState(), EditState::Viewing);
    EXPECT_EQ(namesOnDisk("T5"), QStringList({"Secure bank", "Pears"}));
    EXPECT_EQ(namesOnDisk("T6"), QStringList());
    EXPECT_EQ(lblTName(*window)->text(), "Apple");
}

// A favourite's drag started before the add: dropped on the window, it would show the favourite's
// folder, which drops the add; the question comes first, and No leaves the add and its folder as they were.
TEST_F(AddsAndFoldersTest, aFavouriteDroppedOnTheWindowDuringAnAddAsksFirstAndNoKeepsTheAddInItsFolder)
{
    const std::pair<const char *, QWidget *(*)(const QWidget &)> targets[] = {
        {"the window's background", &formClient},
        {"the details panel", &Frame2},
    };
    for (const auto &[where, target] : targets) {
        SCOPED_TRACE(where);
        openDatabase();
        clickFolder("T5");
        tabIndex(*window)->setTab(int(IndexTab::Favorites));
        QTreeWidget *favourites = tvwFavs(*window);
        QTreeWidgetItem *beta = tagged(favourites, "W1");
        ASSERT_NE(beta, nullptr);
        ScriptedPrompts no;
        drags().setDragLoop([&, target = target](QWidget *, QMimeData *data) {
            std::unique_ptr<QMimeData> owned(data);
            // While the drag goes on the user comes back to the folder and starts an add.
            tabIndex(*window)->setTab(int(IndexTab::Index));
            startAdd();
            ASSERT_EQ(window->editState(), EditState::Adding);
            no.answer(MsgResult::No);
            QWidget *on = target(*window);
            EXPECT_TRUE(dropOn(on, owned.get(), on->rect().center()));
        });
        test::mouseDragFrom(favourites->viewport(), favourites->visualItemRect(beta).center(), true);
        settle();
        EXPECT_EQ(no.texts(), QStringList{"You are about to lose unsaved changes - do you wish to continue?"});
        EXPECT_EQ(window->editState(), EditState::Adding);
        EXPECT_EQ(txtWName(*window)->text(), "Pears");
        EXPECT_EQ(topics()->currentItem(), node("T5"));
        EXPECT_EQ(lblTName(*window)->text(), "Apple");

        saveWithCtrlS();
        EXPECT_EQ(namesOnDisk("T5"), QStringList({"Secure bank", "Pears"}));
        EXPECT_EQ(namesOnDisk("T1"), QStringList({"Beta site", "alpha & co"}));
    }
}

// A folder made while a Vardeck is added is a place it can go: the add goes on, unasked, into the
// folder shown, however the new folder is asked for.
TEST_F(AddsAndFoldersTest, aNewFolderMadeDuringAnAddKeepsTheAdd)
{
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"Edit > New folder", [&] { window->menuItem(MenuId::mnuAddTopic)->trigger(); }},
        {"the folder popup's New folder",
         [&] {
             clickItem(topics(), node("T5"), Qt::RightButton);
             auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
             ASSERT_NE(popup, nullptr);
             QAction *entry = window->menuItem(MenuId::mnuNewFolder);
             QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(entry).center());
         }},
    };
    for (const auto &[way, enter] : ways) {
        SCOPED_TRACE(way);
        startAddInApple();
        prompts.clear();
        whileModal<frmTopicDialog>(
            [](frmTopicDialog *dialog) {
                dialogControl<QLineEdit>(*dialog, "txtTName")->setText("Orchard");
                dialogControl<qbButtons_H>(*dialog, "cmdSave")->click();
            },
            enter);
        settle();
        EXPECT_EQ(prompts.texts(), QStringList());
        EXPECT_EQ(window->editState(), EditState::Adding);
        EXPECT_EQ(txtWName(*window)->text(), "Pears");
        EXPECT_EQ(childTexts(node("T5")), QStringList{"Orchard"});

        saveWithCtrlS();
        EXPECT_EQ(window->editState(), EditState::Viewing);
        EXPECT_EQ(namesOnDisk("T5"), QStringList({"Secure bank", "Pears"}));
    }
}

} // namespace
