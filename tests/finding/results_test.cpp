#include "finding/searchresults.h"
#include "findingfixture.h"

using namespace rr;
using test::Vd;

using SearchRowsTest = test::FindingTest;

TEST_F(SearchRowsTest, cellsFollowTheEmptyAndCountRulesAndRecentOnesAreBold)
{
    open({Vd("W1").name("Plain").description("").address("").created("").hits(""), Vd("W2").hits("17"), Vd("W3")});
    VDData record;
    record.loadDataFromReg("w2", "n", "http://a.example/", "Other.xml"); // any database, any case
    const QList<SearchRow> rows = buildSearchRows(doc(), {{"W1", 4}, {"W2", 123456}}, {record});
    ASSERT_EQ(rows.size(), 2);
    const SearchRow &w1 = rows.at(1).wid == "W1" ? rows.at(1) : rows.at(0);
    EXPECT_EQ(w1.name, "Plain");
    EXPECT_EQ(w1.matches, "     4");
    EXPECT_EQ(w1.hits, "     1"); // an empty HITS reads as one visit
    for (int c : {2, 3, 4, 6})
        EXPECT_EQ(w1.detailedCell(c), " ") << c;
    EXPECT_FALSE(w1.bold);
    EXPECT_EQ(rows.at(0).matches, "123456");
    EXPECT_EQ(rows.at(0).hits, "    17");
    EXPECT_EQ(rows.at(0).compactCell(1), "123456");
    EXPECT_TRUE(rows.at(0).bold);

    // A vanished Vardeck ends the fill.
    EXPECT_EQ(buildSearchRows(doc(), {{"W1", 3}, {"W7", 1}, {"W3", 1}}).size(), 1);
    EXPECT_EQ(vardeckAddress(doc(), "W2"), "http://a.example/");
    EXPECT_EQ(vardeckAddress(doc(), "W7"), "");
    EXPECT_EQ(folderOfVardeck(vardeck("W1")).attribute("TID"), "T1");
}

TEST_F(SearchRowsTest, rowsSortByMatchesAndEachHeaderClickFlips)
{
    open({Vd("W1").name("beta"), Vd("W2").name("Alpha"), Vd("W3").name("gamma")});
    QList<SearchRow> rows = buildSearchRows(doc(), {{"W1", 9}, {"W2", 12}, {"W3", 100}});
    auto column = [&](int c) { return test::texts(rows, [c](const SearchRow &r) { return r.detailedCell(c); }); };
    EXPECT_EQ(column(1), QStringList({"   100", "    12", "     9"}));

    ListSortState sort; // every fill starts at "Matches", descending
    auto click = [&](int c, bool numeric) {
        sort.headerClicked(c);
        sortSearchRows(rows, sort, numeric);
    };
    click(1, true);
    EXPECT_EQ(column(1), QStringList({"     9", "    12", "   100"}));
    click(1, true);
    EXPECT_EQ(column(1), QStringList({"   100", "    12", "     9"}));

    // Another column goes on flipping: names as text, letter case ignored.
    click(0, false);
    EXPECT_EQ(column(0), QStringList({"Alpha", "beta", "gamma"}));
    click(0, false);
    EXPECT_EQ(column(0), QStringList({"gamma", "beta", "Alpha"}));
}
