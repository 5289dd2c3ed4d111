// The search of the texts as the document holds them, which a large document's first
// search runs, against the search of their folded form, and the kept texts made
// afterwards a slice at a time.
#include "finding/casefold.h"
#include "finding/wordsearch.h"
#include "findingfixture.h"

#include <libxml/tree.h>

#include <QRandomGenerator>

#include <algorithm>

using namespace rr;
using test::Vd;

namespace
{

struct Found {
    bool matched = false;
    qint32 matches = 0;
    bool operator==(const Found &) const = default;
};

Found heldMatch(const QString &query, QByteArrayView text)
{
    ByteArena scratch;
    Found found;
    found.matched = SearchWords(query).matchHeld(text, scratch, &found.matches);
    return found;
}

// The same text folded by Qt, then searched.
Found foldedMatch(const QString &query, QByteArrayView text)
{
    Found found;
    found.matched = SearchWords(query).match(QString::fromUtf8(text).toCaseFolded().toUtf8(), &found.matches);
    return found;
}

QString hex(QByteArrayView text)
{
    return QString::fromLatin1(text.toByteArray().toHex(' '));
}

} // namespace

TEST(HeldTexts, aTextAsTheDocumentHoldsItMatchesAsItsFoldedFormWithTheSameCount)
{
    // Texts as a Vardeck's joined fields may hold them: the Kelvin sign folds to k and
    // the long s to s; U+0130 stays itself; malformed bytes become U+FFFD and take no
    // ASCII byte with them; a byte order mark at the start is no character; the euro
    // sign and the dash start as the Kelvin sign does, Polish letters as the long s.
    const QByteArray mixed = "MiXeD CaSe PAGE page pAgE", kelvin = "\u212Aelvin and ta\u212Ak",
                     dotted = "\u0130stanbul x\u0130i", bom = "\uFEFFBom BOM", beyond = "ΕΛΛΆΔΑ Straße ZÜRICH café",
                     euro = "€100 – Kilo", malformed = QByteArray::fromHex("6162c3284be284206b6b80") + "AB\xF0\x9F",
                     longS = "Cla\u017Fs \u017Bółw Śląsk";
    struct Row {
        QByteArray text;
        QString query;
        Found found; // as the folded form gives it
    };
    const Row rows[] = {
        {mixed, "PAGE page", {true, 3}},
        {mixed, "mixed pagepage", {false, 0}},
        {kelvin, "k", {true, 3}},
        {kelvin, "TAKK", {true, 1}},
        {dotted, "i", {true, 1}},
        {dotted, "istanbul", {false, 0}},
        {dotted, "i\u0307stanbul", {false, 0}},
        {dotted, "İSTANBUL", {true, 1}},
        {longS, "class s", {true, 3}},
        {longS, "żółw śląsk", {true, 1}},
        {malformed, "ab", {true, 2}},
        {malformed, "(k", {true, 1}},
        {malformed, "bk", {false, 0}},
        {bom, "bom", {true, 2}},
        {bom, "m ", {true, 7}}, // an empty last word counts the characters in UTF-16
        {beyond, "ελλάδα zürich", {true, 1}},
        {beyond, "STRASSE", {false, 0}},
        {beyond, "h c", {true, 2}},
        {euro, "100 k", {true, 1}},
        {"", "a", {false, 0}},
        {"", " ", {false, 0}},
    };
    for (const Row &row : rows) {
        EXPECT_EQ(heldMatch(row.query, row.text), row.found) << qPrintable(row.query + " in " + hex(row.text));
        EXPECT_EQ(foldedMatch(row.query, row.text), row.found) << qPrintable(row.query + " in " + hex(row.text));
    }

    // Random texts of ASCII letters and the bytes that start, continue or break the
    // characters above.
    const QByteArray bytes = QByteArray("aAkKiIsSbB (") + QByteArray::fromHex("80bfc0c3c4b0c5bfe284aaefbbf09fedffa0");
    const QString queries[] = {"k", "ki", "ab", "aa", "i a", "Kk", "(", "b ", "a k", "s", "sk", "S s"};
    QRandomGenerator random(7);
    for (int i = 0; i < 3000; ++i) {
        QByteArray text;
        for (int n = random.bounded(24); n > 0; --n)
            text += bytes[random.bounded(int(bytes.size()))];
        for (const QString &query : queries)
            ASSERT_EQ(heldMatch(query, text), foldedMatch(query, text)) << qPrintable(query + " in " + hex(text));
    }
}

TEST(HeldTexts, everyCharacterWhoseFoldedFormHoldsAsciiIsFoundBeforeTheTextIsSearchedAsItIs)
{
    int found = 0;
    for (char32_t ch = 0x80; ch <= 0x10FFFF; ++ch) {
        if (ch >= 0xD800 && ch <= 0xDFFF)
            continue;
        const QString folded = QString::fromUcs4(&ch, 1).toCaseFolded();
        if (std::none_of(folded.begin(), folded.end(), [](QChar c) { return c.unicode() < 0x80; }))
            continue;
        ++found;
        const QByteArray utf8 = QString::fromUcs4(&ch, 1).toUtf8();
        const auto *p = reinterpret_cast<const uchar *>(utf8.constData());
        EXPECT_TRUE(foldsToAscii(p, p + utf8.size())) << std::hex << unsigned(ch);
    }
    EXPECT_EQ(found, 2); // U+017F and U+212A
}

using HeldTextsTest = test::FindingTest;

TEST_F(HeldTextsTest, aLargeDocumentsFirstSearchFindsWhatItsKeptTextsFind)
{
    QList<Vd> many = {
        Vd("W1").name("MiXeD CaSe").notes("PAGE page"),
        Vd("W2").name("\u212Aelvin ta\u212Ak"),
        Vd("W3").name("\u0130stanbul").description("x\u0130i"),
        Vd("W4").name("malformed"),
        Vd("W5").name("\uFEFFBom BOM"),
        Vd("W6").name("first HALF").address("second part"),
        Vd("W7").name("ΕΛΛΆΔΑ Straße").notes("ZÜRICH café"),
    };
    for (int i = 9; i <= kParallelFillFrom + 10; ++i)
        many.append(Vd(QStringLiteral("W%1").arg(i)).name(QStringLiteral("Filler %1").arg(i)));
    open(many);
    // Bytes no writer of the file would make, put straight into the document.
    xmlNodeSetContent(vardeck("W4").child("NAME").raw()->children, BAD_CAST "ab\xC3(K\xE2\x84 kk\x80"
                                                                            "AB");
    doc()->noteChange();
    // A Vardeck without fields, first in its list.
    XmlNode list = vardeck("W1").parentNode();
    XmlNode empty = doc()->createElement("VARDECK");
    list.insertBefore(empty, list.firstChild());
    empty.setAttribute("WID", "W8");

    struct Row {
        QString query;
        SearchFieldMask fields;
        QList<SearchResult> found;
    };
    const QList<Row> rows = {
        {"PAGE page", SearchAllData, {{"W1", 2}}},
        {"kelvin takk", SearchAllData, {{"W2", 1}}},
        {"XİI", SearchAllData, {{"W3", 1}}},
        {"İSTANBUL", SearchAllData, {{"W3", 1}}},
        {"(k kk", SearchAllData, {{"W4", 1}}},
        {"bom", SearchName, {{"W5", 2}}},
        {"halfsecond", SearchName | SearchAddress, {{"W6", 1}}},
        {"halfsecond", SearchName | SearchNotes, {}},
        {"ελλάδα zürich", SearchAllData, {{"W7", 1}}},
        {"filler 4099", SearchAllData, {{"W4099", 1}}},
        {"qqxyzzy", SearchAllData, {}},
    };
    for (const Row &row : rows) {
        SearchFieldBoxes boxes;
        boxes.ticked = {bool(row.fields & SearchAllData),
                        bool(row.fields & SearchName),
                        bool(row.fields & SearchAddress),
                        bool(row.fields & SearchNotes),
                        false,
                        false};
        WordSearch search(1);
        EXPECT_EQ(search.search(doc(), row.query, boxes), row.found) << qPrintable(row.query);
        EXPECT_EQ(search.lastPath(), SearchPath::Held);
        EXPECT_TRUE(search.cache().building()) << "the kept texts are left to be made";
        EXPECT_FALSE(search.buildKeptTexts(doc(), 2000));
        EXPECT_EQ(search.search(doc(), row.query, boxes), row.found) << qPrintable(row.query);
        EXPECT_EQ(search.lastPath(), SearchPath::KeptThenHeld);
        while (!search.buildKeptTexts(doc(), 2000)) {
        }
        EXPECT_TRUE(search.cache().holdsWhole(doc()->changeStamp(), row.fields)) << qPrintable(row.query);
        EXPECT_EQ(search.search(doc(), row.query, boxes), row.found) << qPrintable(row.query);
        EXPECT_EQ(search.lastPath(), SearchPath::Kept);
    }
    // Empty words: every Vardeck with text matches, counted by its length.
    WordSearch first(1), kept(1);
    SearchFieldBoxes all;
    kept.search(doc(), "x", all);
    while (!kept.buildKeptTexts(doc(), 1000)) {
    }
    const QList<SearchResult> counted = first.search(doc(), " ", all);
    EXPECT_EQ(counted, kept.search(doc(), " ", all));
    ASSERT_EQ(counted.size(), kMaxSearchResults);
    EXPECT_EQ(counted.first().wid, "W1");
}

TEST_F(HeldTextsTest, keptTextsMadeInSlicesAreWholeAndAnEditBetweenSlicesStartsThemAgain)
{
    QList<Vd> first, nested;
    for (int i = 1; i <= kParallelFillFrom + 600; ++i)
        (i % 3 ? first : nested).append(Vd(QStringLiteral("W%1").arg(i)).name(QStringLiteral("Name %1 Ü").arg(i)));
    open(first, nested);
    const qsizetype total = kParallelFillFrom + 600;
    SearchFieldBoxes all;
    WordSearch search(1);
    EXPECT_EQ(search.search(doc(), "name 4242", all).size(), 1);

    // One slice, then edits behind and ahead of where it stopped.
    EXPECT_FALSE(search.buildKeptTexts(doc(), 1000));
    EXPECT_EQ(search.cache().size(), 1000);
    vardeck("W2").setChildText("NAME", "Edited behind");
    vardeck("W4600").setChildText("NAME", "Edited ahead");
    int slices = 0;
    while (!search.buildKeptTexts(doc(), 1000))
        ++slices;
    EXPECT_EQ(slices, int(total / 1000)) << "started again from the first Vardeck";

    // Whole: every Vardeck in document order with the DOM's text folded.
    const QList<XmlNode> vardecks = doc()->getElementsByTagName("VARDECK");
    ASSERT_TRUE(search.cache().holdsWhole(doc()->changeStamp(), SearchAllData));
    ASSERT_EQ(search.cache().size(), total);
    for (qsizetype i = 0; i < total; ++i) {
        ASSERT_EQ(search.cache().vardeckAt(i), vardecks.at(i).raw()) << i;
        ASSERT_EQ(search.cache().foldedAt(i).toByteArray(),
                  searchedText(vardecks.at(i), SearchAllData).toCaseFolded().toUtf8())
            << i;
    }
    EXPECT_EQ(search.search(doc(), "edited", all), (QList<SearchResult>{{"W2", 1}, {"W4600", 1}}));

    // A search before the slices are done reads the texts made so far and the rest as
    // the document holds them, for the document as it is; the making goes on from
    // where it stopped.
    WordSearch early(1);
    early.search(doc(), "name", all);
    EXPECT_FALSE(early.buildKeptTexts(doc(), 1000));
    vardeck("W3").setChildText("NAME", "Edited again");
    EXPECT_FALSE(early.buildKeptTexts(doc(), 1000));
    EXPECT_EQ(early.search(doc(), "edited", all), (QList<SearchResult>{{"W2", 1}, {"W4600", 1}, {"W3", 1}}));
    EXPECT_EQ(early.lastPath(), SearchPath::KeptThenHeld);
    EXPECT_EQ(early.cache().size(), 1000);
    slices = 0;
    while (!early.buildKeptTexts(doc(), 1000))
        ++slices;
    EXPECT_EQ(slices, int(total / 1000) - 1);
    EXPECT_TRUE(early.cache().holdsWhole(doc()->changeStamp(), SearchAllData));
    EXPECT_EQ(early.cache().size(), total);
}
