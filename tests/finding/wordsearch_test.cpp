#include "finding/wordsearch.h"
#include "findingfixture.h"

#include <libxml/tree.h>

using namespace rr;
using test::Vd;

namespace
{

QList<SearchResult> searchBoxes(const XmlDocument *doc, const QString &text, std::initializer_list<int> boxes)
{
    SearchFieldBoxes state;
    state.ticked.fill(false);
    for (int b : boxes)
        state.ticked[size_t(b)] = true;
    return WordSearch().search(doc, text, state);
}

QStringList widsOf(const QList<SearchResult> &results)
{
    return test::texts(results, &SearchResult::wid);
}

} // namespace

TEST(WordRules, countsOverlappingOccurrencesAndSplitsAtEveryBlank)
{
    EXPECT_EQ(countOccurrences("aaaa", "aa"), 3);
    EXPECT_EQ(countOccurrences("abc", "x"), 0);
    // An empty word occurs at every position of a non-empty text, never in an empty one.
    EXPECT_EQ(countOccurrences("abc", ""), 3);
    EXPECT_EQ(countOccurrences("", ""), 0);
    EXPECT_EQ(countOccurrences("", "a"), 0);

    // Words split at every blank, keeping empty words.
    EXPECT_TRUE(splitSearchWords("").isEmpty());
    EXPECT_EQ(splitSearchWords("a  b"), QStringList({"a", "", "b"}));
    EXPECT_EQ(splitSearchWords(" x "), QStringList({"", "x", ""}));

    // An empty last word on long notes counts past 16 bits.
    SearchWords words("note ");
    const QString notes = QString(40000, QLatin1Char('n')) + QStringLiteral("note");
    qint32 matches = 0;
    ASSERT_TRUE(words.match(notes, &matches));
    EXPECT_EQ(matches, 40004);
}

TEST(WordRules, finderAgreesWithAPlainSearchOnSharedLowBytes)
{
    // 'a' U+0061, U+0161 and U+0461 share their low byte, so they share a skip bucket.
    const QString letters = QStringLiteral("a\u0161\u0461bcb");
    quint32 seed = 7;
    auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 300; ++round) {
        QString text, word;
        for (int i = int(next() % 40); i > 0; --i)
            text += letters.at(int(next() % letters.size()));
        for (int i = 1 + int(next() % 4); i > 0; --i)
            word += letters.at(int(next() % letters.size()));
        const TextFinder finder(word);
        for (qsizetype from = 0; from < text.size(); ++from)
            ASSERT_EQ(finder.find(text, from), text.indexOf(word, from)) << qPrintable(text + " / " + word);
    }
}

TEST(SearchFieldBoxes, allDataAndSingleFieldsExcludeEachOther)
{
    SearchFieldBoxes boxes;     // the window starts with "All Vardeck data"
    auto click = [&](int box) { // the box flips, then the rule runs
        boxes.ticked[size_t(box)] = !boxes.ticked[size_t(box)];
        boxes.clicked(box);
    };
    click(1); // ticking Name unticks All
    EXPECT_EQ(boxes.ticked, (std::array<bool, 6>{false, true, false, false, false, false}));
    click(2); // several single fields may be ticked
    EXPECT_EQ(boxes.mask(), SearchName | SearchAddress);
    click(1);
    click(2); // unticking the last single field ticks All again
    EXPECT_EQ(boxes.ticked, (std::array<bool, 6>{true, false, false, false, false, false}));

    click(0); // unticking All leaves nothing ticked until the next search
    EXPECT_EQ(boxes.ticked, (std::array<bool, 6>{}));
    boxes.ensureOneTicked();
    EXPECT_TRUE(boxes.ticked[0]);

    boxes.ticked = {false, false, true, false, true, false};
    click(0); // ticking All unticks every single field
    EXPECT_EQ(boxes.ticked, (std::array<bool, 6>{true, false, false, false, false, false}));

    boxes.selectOnly(3); // Tools > Search > Notes
    EXPECT_EQ(boxes.ticked, (std::array<bool, 6>{false, false, false, true, false, false}));
    EXPECT_EQ(boxes.mask(), SearchNotes);
}

using WordSearchTest = test::FindingTest;

TEST_F(WordSearchTest, everyWordMustOccurTheLastIsCountedAndFieldsJoinWithoutSeparator)
{
    open({Vd("W1").name("Zürich news").notes("aaaa"), Vd("W2").name("news only").notes("aaaa news news"),
          Vd("W3").name("zÜRICH").notes("x")});
    EXPECT_EQ(searchBoxes(doc(), "aa", {3}), (QList<SearchResult>{{"W1", 3}, {"W2", 3}}));
    // Letter case is ignored on both sides, also beyond ASCII.
    EXPECT_EQ(widsOf(searchBoxes(doc(), "ZÜRICH", {0})), QStringList({"W1", "W3"}));
    EXPECT_EQ(searchBoxes(doc(), "zürich NEWS", {0}), (QList<SearchResult>{{"W1", 1}}));
    EXPECT_EQ(searchBoxes(doc(), "aaaa news", {0}), (QList<SearchResult>{{"W1", 1}, {"W2", 3}}));
    EXPECT_TRUE(searchBoxes(doc(), "news absent", {0}).isEmpty());

    // A word matches across the joint of two fields.
    open({Vd("W1").name("abc").address("xyz"), Vd("W2").name("abc").address("-xyz")});
    EXPECT_EQ(widsOf(searchBoxes(doc(), "cx", {1, 2})), QStringList({"W1"}));
    EXPECT_TRUE(searchBoxes(doc(), "cx", {1}).isEmpty());
    // All data joins the fields with no separator too.
    EXPECT_EQ(widsOf(searchBoxes(doc(), "CXY", {0})), QStringList({"W1"}));
    // Single fields are joined in their fixed order whatever was ticked first.
    EXPECT_EQ(widsOf(searchBoxes(doc(), "zd", {4, 2})), QStringList({"W1", "W2"})); // address, description
}

TEST_F(WordSearchTest, emptyTextFindsEveryVardeckABlankNeedsTextNothingFoundIsSaidAndTheScanStopsAt500)
{
    open({Vd("W1").name("a"), Vd("W2").name("")}, {Vd("W3").name("b")});
    // Document order runs through sub-folders.
    EXPECT_EQ(searchBoxes(doc(), "", {1}), (QList<SearchResult>{{"W1", 0}, {"W2", 0}, {"W3", 0}}));
    // A blank is two empty words: every non-empty text matches, counted by its length.
    EXPECT_EQ(searchBoxes(doc(), " ", {1}), (QList<SearchResult>{{"W1", 1}, {"W3", 1}}));

    // The command says when nothing was found and remembers only a text that is not empty.
    WordSearch search;
    SearchFieldBoxes boxes;
    boxes.ticked.fill(false);
    EXPECT_TRUE(runSearchCommand(search, doc(), "beta", boxes).isEmpty());
    EXPECT_TRUE(boxes.ticked[0]);
    ASSERT_EQ(m_prompts.messages().size(), 1u);
    const MessageRequest &shown = m_prompts.messages().front();
    EXPECT_EQ(shown.text, "No search results were found");
    EXPECT_EQ(shown.icon, MsgIcon::None);
    EXPECT_EQ(shown.buttons, MsgButtons::Ok);
    EXPECT_EQ(searchColl, QStringList({"beta"}));
    EXPECT_EQ(runSearchCommand(search, doc(), "", boxes).size(), 3);
    EXPECT_EQ(searchColl, QStringList({"beta"}));
    EXPECT_EQ(m_prompts.messages().size(), 1u);

    // The scan stops at 500 results.
    QList<Vd> many;
    for (int i = 1; i <= 620; ++i)
        many.append(Vd(QStringLiteral("W%1").arg(i)).name(QStringLiteral("item %1").arg(i)));
    open(many);
    const QList<SearchResult> results = searchBoxes(doc(), "item", {1});
    ASSERT_EQ(results.size(), 500);
    EXPECT_EQ(results.first().wid, "W1");
    EXPECT_EQ(results.last().wid, "W500");
    EXPECT_EQ(searchBoxes(doc(), "item 61", {1}).size(), 16); // 61, 161 .. 561, 610 .. 619
}

TEST_F(WordSearchTest, keptTextsFollowEveryKindOfEdit)
{
    open({Vd("W1").name("red"), Vd("W2").name("green"), Vd("W3").name("blue")});
    WordSearch kept;
    SearchFieldBoxes all;
    auto same = [&](const QString &text) {
        const QList<SearchResult> fresh = WordSearch().search(doc(), text, all);
        EXPECT_EQ(kept.search(doc(), text, all), fresh) << qPrintable(text);
        return fresh;
    };
    same("e");

    vardeck("W2").setChildText("NAME", "yellow"); // through the DOM
    EXPECT_EQ(widsOf(same("yellow")), QStringList({"W2"}));

    // Straight through libxml2, same length, so only the bytes differ; the edit tells the document.
    xmlNodeSetContent(vardeck("W3").child("NAME").raw()->children, BAD_CAST "blUE");
    xmlNodeSetContent(vardeck("W1").child("NAME").raw()->children, BAD_CAST "rod");
    doc()->noteChange();
    EXPECT_EQ(widsOf(same("rod")), QStringList({"W1"}));

    // Removed, added at the front and moved Vardecks.
    XmlNode list = vardeck("W1").parentNode();
    list.removeChild(vardeck("W1"));
    XmlNode added = doc()->createElement("VARDECK");
    list.insertBefore(added, list.firstChild());
    added.setAttribute("WID", "W9");
    added.setChildText("NAME", "rod again");
    doc()->nodeFromID("T3").child("VARDECKS").appendChild(vardeck("W2"));
    EXPECT_EQ(widsOf(same("o")), QStringList({"W9", "W2"}));
    EXPECT_EQ(widsOf(same("ue")), QStringList({"W3"}));

    // Another document loaded into the same object.
    ASSERT_TRUE(m_db.openDBValidate(m_path));
    EXPECT_EQ(widsOf(same("e")), QStringList({"W1", "W2", "W3"}));
}

TEST_F(WordSearchTest, keptTextIsTheTextTheDomGives)
{
    open({Vd("W1").name("A & B").notes("line one\nLine Two")});
    XmlNode notes = vardeck("W1").child("NOTES");
    xmlAddChild(notes.raw(), xmlNewCDataBlock(doc()->raw(), BAD_CAST "<cdata>", 7));
    SearchTextCache cache;
    for (SearchFieldMask mask : {SearchFieldMask(SearchAllData), SearchFieldMask(SearchName | SearchNotes)}) {
        cache.beginPass();
        EXPECT_EQ(cache.lowerText(vardeck("W1").raw(), mask).toString(), searchedText(vardeck("W1"), mask).toLower());
        cache.endPass(true);
    }
    EXPECT_EQ(searchedText(vardeck("W1"), SearchName | SearchNotes), "A & Bline one\nLine Two<cdata>");
}
