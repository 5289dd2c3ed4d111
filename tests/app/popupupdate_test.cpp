// Update Vardeck of a row's popup while a Vardeck is modified: on that Vardeck it leaves
// the edit as Ctrl+U does; on another it asks first, and a No keeps the edit.
#include "app/assembly.h"
#include "explorer/databasecommands.h"
#include "explorer/explorerfixture.h"
#include "platform/gui/itemtags.h"
#include "storage/chosendatabase.h"

#include <QAction>

using namespace rr;
using namespace rr::test;

namespace
{

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
    // Beta site (W1) and Gamma (W2) of zebra (T1), both favourites and popular.
    void SetUp() override
    {
        assembleMainWindow(window);
        window.LoadDynamicMenus();
        window.resize(1000, 700);
        window.show();
        const VD beta{"W1", "Beta site", "http://beta.example/", "", "", "", "", "", "", "5", "TRUE"};
        const VD gamma{"W2", "Gamma", "http://gamma.example/", "", "", "", "", "", "", "4", "TRUE"};
        const QByteArray body = "<FOLDERS>" + folderXml("T1", "zebra", beta.xml() + gamma.xml()) + "</FOLDERS>";
        openTheDatabase(window,
                        ChosenDatabase{writeDatabase(home.databaseFolder(), "Vardecks.xml", body), "Vardecks.xml"});
    }
    // Beta site is modified, "Typed" added to its name.
    void modifyBeta()
    {
        window.menuItem(MenuId::mnuViewIndex)->trigger();
        clickItem(tvwTopics(window), findByTag(tvwTopics(window), "T1"));
        clickItem(tvwWM(window), findByTag(tvwWM(window), "W1"));
        window.menuItem(MenuId::mnuEditModify)->trigger();
        txtWName(window)->end(false);
        QTest::keyClicks(txtWName(window), "Typed");
        prompts.clear();
    }
    void updateFromPopup(const RowList &where, const QString &wid)
    {
        window.menuItem(where.view)->trigger();
        QTreeWidget *list = where.list(window);
        clickItem(list, findByTag(list, wid), Qt::RightButton);
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr) << where.name;
        const QList<QAction *> entries = menu->actions();
        const auto update = std::find_if(entries.begin(), entries.end(),
                                         [](QAction *entry) { return entry->text() == "Update Vardeck"; });
        ASSERT_NE(update, entries.end()) << where.name;
        menu->close();
        (*update)->trigger();
    }
    bool modifiesBetaAsTyped() const
    {
        return window.editedWID() == "W1" && txtWName(window)->text() == "Beta siteTyped";
    }

    TempHome home;
    ScriptedPrompts prompts;
    FakeLauncher launcher;
    frmVardecks window;
};

TEST_F(PopupUpdateTest, updateOfTheVardeckBeingModifiedAsksNothingAndKeepsWhatIsTyped)
{
    for (const RowList &where : kRowLists) {
        modifyBeta();
        prompts.answer(MsgResult::Yes);
        updateFromPopup(where, "W1");
        EXPECT_EQ(prompts.texts(), QStringList()) << where.name;
        EXPECT_TRUE(modifiesBetaAsTyped()) << where.name;
        window.commands.cancelVardeckEdit();
    }
}

TEST_F(PopupUpdateTest, updateOfAnotherVardeckAsksAndANoKeepsTheEdit)
{
    for (const RowList &where : kRowLists) {
        modifyBeta();
        prompts.answer(MsgResult::No);
        updateFromPopup(where, "W2");
        EXPECT_EQ(prompts.texts(), QStringList{"You are about to lose unsaved changes - do you wish to continue?"})
            << where.name;
        EXPECT_TRUE(modifiesBetaAsTyped()) << where.name;
        prompts.answer(MsgResult::Yes);
        window.commands.cancelVardeckEdit();
    }
}

} // namespace
