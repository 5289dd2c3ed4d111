// Update Vardeck chosen from the popup of a row while a Vardeck is being modified: on
// the Vardeck being modified it leaves the edit as Ctrl+U does, with nothing asked and
// nothing typed lost; on another Vardeck it asks first, and a No keeps the edit.
#include "app/assembly.h"
#include "explorer/explorerfixture.h"
#include "platform/gui/itemtags.h"
#include "shell/menutable.h"
#include "storage/chosendatabase.h"
#include "support/fakelauncher.h"
#include "support/modaldriver.h"

#include <QAction>

using namespace rr;
using namespace rr::test;

namespace
{

const QString kLoseChanges = QStringLiteral("You are about to lose unsaved changes - do you wish to continue?");

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// W1 and W2 of the folder T1: both favourites, both visited often enough to be popular.
QByteArray body()
{
    const VD beta{"W1", "Beta site", "http://beta.example/", "06 Dec 2026", "", "", "", "", "", "5", "TRUE"};
    const VD gamma{"W2", "Gamma site", "http://gamma.example/", "06 Dec 2026", "", "", "", "", "", "4", "TRUE"};
    return "<FOLDERS>" + folderXml("T1", "zebra", beta.xml() + gamma.xml()) + "</FOLDERS>";
}

struct RowList {
    const char *name;
    MenuId view;
    QTreeWidget *(*list)(const QWidget &);
};

const RowList kRowLists[] = {
    {"the folder's Vardecks", MenuId::mnuViewIndex, [](const QWidget &w) { return tvwWM(w); }},
    {"the favourites", MenuId::mnuViewFavs, [](const QWidget &w) { return tvwFavs(w); }},
    {"the popular list", MenuId::mnuViewPop, [](const QWidget &w) { return listPop(w); }},
};

class PopupUpdateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<frmVardecks>();
        assembleMainWindow(*window);
        window->LoadDynamicMenus();
        window->resetToolbarButtons();
        window->resetMenuItems();
        window->resize(1000, 700);
        window->show();
        QApplication::setActiveWindow(window.get());
        const QString path = writeDatabase(home.databaseFolder(), "Vardecks.xml", body());
        window->commands.openTheDatabase(ChosenDatabase{path, "Vardecks.xml"});
        settle();
    }
    void TearDown() override
    {
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
        window.reset();
    }

    // Beta site is modified, "Typed" added to its name.
    void modifyBeta()
    {
        window->menuItem(MenuId::mnuViewIndex)->trigger();
        clickItem(tvwTopics(*window), findByTag(tvwTopics(*window), "T1"));
        clickItem(tvwWM(*window), findByTag(tvwWM(*window), "W1"));
        settle();
        window->menuItem(MenuId::mnuEditModify)->trigger();
        settle();
        txtWName(*window)->setFocus();
        txtWName(*window)->end(false);
        QTest::keyClicks(txtWName(*window), "Typed");
        prompts.clear();
    }
    // A right-click on the row of wid in the list, then Update Vardeck of its popup.
    void updateFromPopup(const RowList &where, const QString &wid)
    {
        window->menuItem(where.view)->trigger();
        settle();
        QTreeWidget *list = where.list(*window);
        clickItem(list, findByTag(list, wid), Qt::RightButton);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << where.name;
        QAction *update = nullptr;
        for (QAction *entry : menu->actions())
            if (entry->text() == QLatin1String("Update Vardeck"))
                update = entry;
        ASSERT_NE(update, nullptr) << where.name;
        menu->close();
        update->trigger();
        settle();
    }
    bool modifiesBetaWithTyping() const
    {
        return window->editState() == EditState::Modifying && window->editedWID() == "W1" &&
               txtWName(*window)->text() == "Beta siteTyped";
    }

    TempHome home;
    ScriptedPrompts prompts;
    FakeLauncher launcher;
    ModalDriver dialogs;
    std::unique_ptr<frmVardecks> window;
};

TEST_F(PopupUpdateTest, updateOfTheVardeckBeingModifiedAsksNothingAndKeepsWhatIsTyped)
{
    for (const RowList &where : kRowLists) {
        modifyBeta();
        updateFromPopup(where, "W1");
        EXPECT_EQ(prompts.texts(), QStringList()) << where.name;
        EXPECT_TRUE(modifiesBetaWithTyping()) << where.name;
        window->commands.saveVardeckDetails();
        settle();
        EXPECT_EQ(window->dbXML.vardeck("W1").childText("NAME"), "Beta siteTyped") << where.name;
        window->dbXML.vardeck("W1").setChildText("NAME", "Beta site");
    }
}

TEST_F(PopupUpdateTest, updateOfAnotherVardeckAsksAndANoKeepsTheEdit)
{
    for (const RowList &where : kRowLists) {
        modifyBeta();
        prompts.answer(MsgResult::No);
        updateFromPopup(where, "W2");
        EXPECT_EQ(prompts.texts(), QStringList{kLoseChanges}) << where.name;
        EXPECT_TRUE(modifiesBetaWithTyping()) << where.name;
        prompts.answer(MsgResult::Yes);
        window->commands.cancelVardeckEdit();
        settle();
    }
}

} // namespace
