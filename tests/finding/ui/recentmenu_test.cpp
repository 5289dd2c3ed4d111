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
    QStringList captions() const
    {
        QStringList out;
        for (int i = 0; i <= window->menuArrayUpperBound("second"); ++i)
            if (const QAction *item = window->menuItem("second", i); item && item->isVisible())
                out << item->text();
        return out;
    }
    void opened(const QString &wid) { callOp(window->ops.refreshRecentMenuList, wid); }
};

TEST_F(RecentMenuTest, newestFirstWithLiteralAmpersandsClearEmptiesItAndOtherDatabasesCountNoVisit)
{
    for (const QString wid : {"W1", "W2", "W3", "W1"})
        opened(wid);
    EXPECT_EQ(captions(), QStringList({"1  Tom && Jerry", "2  Three", "3  Two"}));
    EXPECT_EQ(window->menuItem("second", 0)->data().toString(), "http://tj.example/");
    opened(QString());
    EXPECT_EQ(captions().size(), 3) << "a rebuild only shows the list again";

    window->runCommand("mnuRecentClear_Click");
    EXPECT_TRUE(recentColl.isEmpty());
    EXPECT_TRUE(captions().isEmpty());
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
