#include "finding/popularlist.h"
#include "findingfixture.h"

using namespace rr;
using test::Vd;

using PopularListTest = test::FindingTest;

TEST_F(PopularListTest, unvisitedAreLeftOutAndCountsSortByValue)
{
    open({Vd("W1").name("nine").hits("9"), Vd("W2").name("one").hits("1"), Vd("W3").name("zero one").hits("01"),
          Vd("W4").name("ten").hits("10"), Vd("W5").name("empty").hits(""), Vd("W6").name("junk").hits("many")},
         {Vd("W7").name("also ten").hits("10")});
    VDData recent;
    recent.loadDataFromReg("w1", "nine", "http://a.example/", "Vardecks.xml");
    const QList<PopularRow> rows = popularRows(doc(), {recent});
    EXPECT_EQ(test::texts(rows, &PopularRow::name), QStringList({"ten", "also ten", "nine"}));
    EXPECT_EQ(rows.at(0).hits, "    10");
    EXPECT_EQ(rows.at(0).wid, "W4");
    EXPECT_TRUE(rows.at(2).bold);
    EXPECT_FALSE(rows.at(0).bold);

    // Counts not written the plain way sort as their padded texts do.
    open({Vd("W1").name("eight").hits("8"), Vd("W2").name("seven").hits("007"), Vd("W3").name("half").hits("2.5"),
          Vd("W4").name("many").hits("1234567")});
    EXPECT_EQ(test::texts(popularRows(doc()), &PopularRow::hits),
              QStringList({"1234567", "   2.5", "   007", "     8"}));
}

TEST_F(PopularListTest, clearResetsEveryCountAndWritesTheFile)
{
    open({Vd("W1").hits("9"), Vd("W2").hits("3")});
    m_prompts.answer(MsgResult::No);
    EXPECT_FALSE(clearPopularRankings(m_db).cleared);
    EXPECT_EQ(popularRows(doc()).size(), 2);
    const MessageRequest question = m_prompts.messages().back();
    EXPECT_EQ(question.text, "Are you sure you wish to clear your list rankings of popular Vardecks?");
    EXPECT_EQ(question.title, "Clear popular list?");
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);

    m_prompts.answer(MsgResult::Yes);
    const ClearRankingsResult result = clearPopularRankings(m_db);
    EXPECT_TRUE(result.cleared);
    EXPECT_TRUE(result.saved);
    EXPECT_TRUE(popularRows(doc()).isEmpty());
    XmlDocument *disk = reread();
    EXPECT_EQ(disk->nodeFromID("W1").childText("HITS"), "1");
    EXPECT_EQ(disk->nodeFromID("W2").childText("HITS"), "1");
    EXPECT_TRUE(popularRows(disk).isEmpty());
}
