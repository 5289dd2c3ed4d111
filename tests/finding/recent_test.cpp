#include "finding/recentlist.h"
#include "findingfixture.h"

using namespace rr;
using test::Vd;

using RecentListTest = test::FindingTest;

TEST_F(RecentListTest, twentyOpensLeaveFourteenNewestFirstAndALoweredMaximumTrims)
{
    QList<Vd> vardecks;
    for (int i = 1; i <= 20; ++i)
        vardecks.append(Vd(QStringLiteral("W%1").arg(i)).name(QStringLiteral("Site %1").arg(i)));
    open(vardecks);
    for (int i = 1; i <= 20; ++i)
        ASSERT_TRUE(recordRecentOpen(doc(), QStringLiteral("W%1").arg(i), recentColl, 15, "Vardecks.xml"));
    const QList<RecentMenuItem> items = recentMenuItems();
    ASSERT_EQ(items.size(), 14);
    EXPECT_EQ(items.first().caption, "1  Site 20");
    EXPECT_EQ(items.last().caption, "14  Site 7");
    EXPECT_EQ(recentColl.first().getID(), "W7"); // oldest first in the list itself
    EXPECT_EQ(recentColl.last().getDBName(), "Vardecks.xml");

    // A lowered maximum trims at the next open.
    recordRecentOpen(doc(), "W3", recentColl, 5, "Vardecks.xml");
    ASSERT_EQ(recentColl.size(), 4);
    EXPECT_EQ(recentColl.last().getID(), "W3");
}

TEST_F(RecentListTest, reopeningMovesTheRecordUnlessTheAddressChangedAndOnlyThatRecordCountsAVisit)
{
    open({Vd("W1").name("One & Two").address("http://one.example/"), Vd("W2")});
    recordRecentOpen(doc(), "W1");
    recordRecentOpen(doc(), "W2");
    recordRecentOpen(doc(), "W1");
    ASSERT_EQ(recentColl.size(), 2);
    EXPECT_EQ(recentMenuItems().first().caption, "1  One && Two");
    EXPECT_EQ(recentMenuItems().first().address, "http://one.example/");

    vardeck("W1").setChildText("ADDRESS", "http://moved.example/");
    recordRecentOpen(doc(), "W1");
    ASSERT_EQ(recentColl.size(), 3); // the record of the old address stays
    EXPECT_EQ(recentColl.at(1).getURL(), "http://one.example/");

    EXPECT_FALSE(recordRecentOpen(doc(), "W99"));
    EXPECT_EQ(recentColl.size(), 3);
    clearRecentVardecks();
    EXPECT_TRUE(recentMenuItems().isEmpty());

    // An item records a visit only for the same Vardeck at the same address.
    vardeck("W1").setChildText("ADDRESS", "http://Same.example/");
    VDData elsewhere;
    elsewhere.loadDataFromReg("W2", "n", "http://other.example/", "Other.xml");
    VDData same;
    same.loadDataFromReg("W1", "n", "http://same.EXAMPLE/", "Vardecks.xml");
    recentColl = {elsewhere, same};
    const RecentItemTarget newest = recentItemTarget(doc(), 0);
    EXPECT_EQ(newest.address, "http://same.EXAMPLE/");
    EXPECT_EQ(newest.widToRecord, "W1");
    const RecentItemTarget other = recentItemTarget(doc(), 1);
    EXPECT_EQ(other.address, "http://other.example/");
    EXPECT_EQ(other.widToRecord, "");
    EXPECT_EQ(recentItemTarget(doc(), 2).address, "");
}
