#include "finding/ui/recentmenu.h"

#include "shell/frmvardecks.h"
#include "storage/lists.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"
#include "support/fakelauncher.h"

#include <QAction>
#include <gtest/gtest.h>
#include <memory>

using namespace rr;
using namespace rr::test;

namespace
{

class RecentMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        recentColl.clear();
        recentMax = 15;
        currentDBName = "Vardecks.xml";
        window = std::make_unique<frmVardecks>();
        window->LoadDynamicMenus();
        installRecentMenu(*window);
        const QString path = writeDatabase(home.databaseFolder(), "Vardecks.xml",
                                           "<FOLDERS>" +
                                               folderXml("T1", "f",
                                                         vardeckXml("W1", "Tom &amp; Jerry", "http://tj.example/") +
                                                             vardeckXml("W2", "Two", "http://two.example/") +
                                                             vardeckXml("W3", "Three", "http://three.example/")) +
                                               "</FOLDERS>");
        window->dbXML = std::make_unique<XMLDatabase>();
        window->dbXML->setPath(path);
        ASSERT_TRUE(window->dbXML->openDBValidate(path));
    }

    // The captions of the shown Recent items, from the top.
    QStringList captions() const
    {
        QStringList out;
        for (int i = 0; i <= window->menuArrayUpperBound("second"); ++i) {
            const QAction *item = window->menuItem("second", i);
            if (item && item->isVisible())
                out << item->text();
        }
        return out;
    }

    ScriptedPrompts prompts;
    TempHome home;
    FakeLauncher launcher;
    std::unique_ptr<frmVardecks> window;
};

TEST_F(RecentMenuTest, menuShowsNewestFirstWithAmpersandsShownLiterally)
{
    callOp(window->ops.refreshRecentMenuList, QString("W1"));
    callOp(window->ops.refreshRecentMenuList, QString("W2"));
    callOp(window->ops.refreshRecentMenuList, QString("W3"));
    EXPECT_EQ(captions(), QStringList({"1  Three", "2  Two", "3  Tom && Jerry"}));
    // Opening one again moves it to the top and keeps one record of it.
    callOp(window->ops.refreshRecentMenuList, QString("W1"));
    EXPECT_EQ(captions(), QStringList({"1  Tom && Jerry", "2  Three", "3  Two"}));
    EXPECT_EQ(recentColl.size(), 3);
    EXPECT_EQ(window->menuItem("second", 0)->data().toString(), "http://tj.example/");
    // A rebuild only shows the list again.
    callOp(window->ops.refreshRecentMenuList, QString());
    EXPECT_EQ(captions().size(), 3);
}

TEST_F(RecentMenuTest, itemOfAnotherDatabaseOpensWithoutCountingAVisit)
{
    VDData elsewhere;
    elsewhere.loadDataFromReg("W2", "Elsewhere", "http://elsewhere.example/", "Other.xml");
    recentColl = {elsewhere};
    callOp(window->ops.refreshRecentMenuList, QString());
    window->menuItem("second", 0)->trigger();
    EXPECT_EQ(launcher.openedUrls(), QStringList({"http://elsewhere.example/"}));
    EXPECT_EQ(window->dbXML->getTheDOM()->nodeFromID("W2").childText("HITS"), "1");
}

TEST_F(RecentMenuTest, clearLeavesOnlyTheClearItem)
{
    callOp(window->ops.refreshRecentMenuList, QString("W1"));
    callOp(window->ops.refreshRecentMenuList, QString("W2"));
    window->runCommand("mnuRecentClear_Click");
    EXPECT_TRUE(recentColl.isEmpty());
    EXPECT_TRUE(captions().isEmpty());
    EXPECT_EQ(window->menuArrayUpperBound("second"), 0);
    EXPECT_TRUE(window->menuItem("mnuRecentClear")->isVisible());
}

} // namespace
