// The Recent menu: newest first, "&" literal, another database's item opens without a visit, Clear.
#include "findinguifixture.h"

#include "finding/ui/recentmenu.h"
#include "storage/vardeckmodule.h"

using namespace rr;
using test::Vd;

namespace
{

class RecentMenuTest : public test::FindingUiTest
{
protected:
    void SetUp() override
    {
        FindingUiTest::SetUp();
        currentDBName = "Vardecks.xml";
        installRecentMenu(*window);
        open(
            {Vd("W1").name("Tom & Jerry").address("http://tj.example/"), Vd("W2").name("Two"), Vd("W3").name("Three")});
    }
    void opened(const QString &wid) { callOp(window->ops.refreshRecentMenuList, wid); }
};

TEST_F(RecentMenuTest, newestFirstWithLiteralAmpersandsClearEmptiesItAndOtherDatabasesCountNoVisit)
{
    for (const QString wid : {"W1", "W2", "W3", "W1"})
        opened(wid);
    EXPECT_EQ(menuTexts("second"), QStringList({"1  Tom && Jerry", "2  Three", "3  Two"}));
    EXPECT_EQ(window->menuItem("second", 0)->data().toString(), "http://tj.example/");
    opened(QString());
    EXPECT_EQ(menuTexts("second").size(), 3) << "a rebuild only shows the list again";

    window->runCommand("mnuRecentClear_Click");
    EXPECT_TRUE(recentColl.isEmpty());
    EXPECT_TRUE(menuTexts("second").isEmpty());
    EXPECT_EQ(window->menuArrayUpperBound("second"), 0);
    EXPECT_TRUE(window->menuItem("mnuRecentClear")->isVisible());

    // An item of another database opens without counting a visit.
    VDData elsewhere;
    elsewhere.loadDataFromReg("W2", "Elsewhere", "http://elsewhere.example/", "Other.xml");
    recentColl = {elsewhere};
    opened(QString());
    window->menuItem("second", 0)->trigger();
    EXPECT_EQ(launcher.openedUrls(), QStringList({"http://elsewhere.example/"}));
    EXPECT_EQ(doc()->nodeFromID("W2").childText("HITS"), "1");
}

} // namespace
