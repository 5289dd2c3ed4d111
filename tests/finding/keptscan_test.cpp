// The quick paths of the word search against plain oracles: folding sixteen bytes at
// a time against Qt's toCaseFolded, and the search of the kept texts a block at a
// time against folding every Vardeck's text through the DOM.
#include "finding/wordsearch.h"
#include "findingfixture.h"

#include <libxml/tree.h>

using namespace rr;
using test::Vd;

namespace
{

QByteArray folded(QByteArrayView utf8)
{
    QByteArray out = "kept:";
    appendFoldedUtf8(utf8, out);
    return out.mid(5);
}

QByteArray qtFolded(QByteArrayView utf8)
{
    return QString::fromUtf8(utf8).toCaseFolded().toUtf8();
}

// The search's rules written out plainly over QString.
QList<SearchResult> plainSearch(const XmlDocument *doc, const QString &text)
{
    const QStringList words = splitSearchWords(text.toCaseFolded());
    QList<SearchResult> results;
    for (const XmlNode &vd : doc->getElementsByTagName("VARDECK")) {
        const QString searched = searchedText(vd, SearchAllData).toCaseFolded();
        qint32 count = 0;
        bool all = true;
        for (const QString &word : words) {
            count = 0;
            for (qsizetype at = searched.isEmpty() ? -1 : searched.indexOf(word); at >= 0 && at < searched.size();
                 at = searched.indexOf(word, at + 1))
                ++count;
            all = all && count > 0;
        }
        if (all)
            results.append({vd.attribute("WID"), count});
        if (results.size() == kMaxSearchResults)
            break;
    }
    return results;
}

} // namespace

TEST(CaseFoldChunks, everyCharacterKindAtEveryPlaceOfSixteenBytesFoldsAsQtFoldsIt)
{
    // Each kind of character put at each place of a text long enough for two chunks,
    // with ASCII capitals around it: one that is its own folded form, capitals of two
    // and three bytes, one beyond 16 bits, capitals whose folded form is longer or
    // shorter in UTF-8 (Ⱥ to ⱥ, the Kelvin sign to k), the small letters that fold to
    // others among those that do not (µ, ς, ſ), İ, a byte order mark, and malformed
    // bytes: a lone continuation byte, a lead without its continuation, a surrogate, an
    // overlong form.
    const QByteArrayView kinds[] = {
        "ü",
        "É",
        "Ε",
        "Ж",
        "\xE1\xBA\x9E",
        "\U00010400",
        "Ⱥ",
        "\u212A",
        "µ",
        "ς",
        "ſ",
        "İ",
        "\xEF\xBB\xBF",
        "\x80",
        "\xC3",
        "\xED\xA0\x80",
        "\xC0\xAF",
        "\xF4\x90\x80\x80",
    };
    const QByteArray around = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij";
    for (QByteArrayView kind : kinds)
        for (int at = 0; at <= 34; ++at) {
            const QByteArray text = around.left(at) + kind.toByteArray() + around.mid(at);
            ASSERT_EQ(folded(text), qtFolded(text)) << text.toHex().constData();
        }

    // Runs of characters beyond ASCII crossing the end of a chunk, in both cases.
    for (const char *run : {"ΕΛΛΆΔΑ Ελλάδα ελλάδα", "ZÜRICH Zürich MÜNCHEN", "ⱥȺⱥȺⱥȺⱥȺ", "\U00010400\U00010428X",
                            "σίσυφος ΣΊΣΥΦΟΣ οδος", "µg µm ¼ µ"})
        for (int at = 0; at <= 17; ++at) {
            const QByteArray text = QByteArray("x").repeated(at) + run + QByteArray("Y").repeated(at);
            ASSERT_EQ(folded(text), qtFolded(text)) << text.constData();
        }
    EXPECT_EQ(folded("ΕΛΛΆΔΑ and ZÜRICH, Ⱥ \u212Aelvin"), "ελλάδα and zürich, ⱥ kelvin");
    EXPECT_EQ(folded("Σίσυφος and ΣΊΣΥΦΟΣ, 5 µm"), "σίσυφοσ and σίσυφοσ, 5 μm");
}

using KeptScanTest = test::FindingTest;

TEST_F(KeptScanTest, aWordFoundAcrossTwoVardecksTextsOrInAnEditedOnesOldTextIsNoMatch)
{
    // W1's text ends with "page1" and W2's starts with "2page": kept one after the
    // other, "page12" runs across the two and matches neither.
    QList<Vd> many;
    many.append(Vd("W1").name("first PAGE1"));
    many.append(Vd("W2").name("2page second"));
    for (int i = 3; i <= kParallelFillFrom + 10; ++i)
        many.append(Vd(QStringLiteral("W%1").arg(i)).name(QStringLiteral("Vardeck %1 Ünïcode").arg(i)));
    open(many);
    WordSearch kept;
    SearchFieldBoxes all;
    auto same = [&](const QString &text) {
        const QList<SearchResult> plain = plainSearch(doc(), text);
        EXPECT_EQ(kept.search(doc(), text, all), plain) << qPrintable(text);
        return plain;
    };
    // First search, then twice on the kept texts.
    for (int round = 0; round < 3; ++round) {
        EXPECT_TRUE(same("page12").isEmpty());
        EXPECT_EQ(same("PAGE1").size(), 1);
        EXPECT_FALSE(same("vardeck 40").isEmpty());
        EXPECT_FALSE(same("40 vardeck").isEmpty()); // the longer word looked for first
    }

    // An edited text is kept apart from the others; its old text stays behind, found
    // by nothing, and the new one is found in its place in document order.
    vardeck("W2").setChildText("NAME", "Ünïcode second 40");
    vardeck("W3").setChildText("NAME", "gone");
    for (int round = 0; round < 3; ++round) {
        EXPECT_EQ(same("vardeck 3 ü").size(), kMaxSearchResults);
        EXPECT_TRUE(same("2page").isEmpty());
        EXPECT_EQ(test::texts(same("ünïcode 40"), &SearchResult::wid).mid(0, 2), QStringList({"W2", "W40"}));
        EXPECT_EQ(same("gone").size(), 1);
    }
}

TEST_F(KeptScanTest, aFieldsNestedElementsCommentsAndCdataAreReadInDocumentOrder)
{
    // Fields as the DOM may hold them after edits: a field with a nested element, a
    // comment between two texts, a CDATA section, a text straight in the Vardeck. The
    // kept text of each is what the DOM's own text gives, for every Vardeck.
    QList<Vd> many;
    for (int i = 1; i <= kParallelFillFrom + 10; ++i)
        many.append(Vd(QStringLiteral("W%1").arg(i)).name(QStringLiteral("Name%1").arg(i)).notes("Ünïcode"));
    open(many);
    xmlNodePtr notes = vardeck("W2").child("NOTES").raw();
    xmlNodePtr nested = xmlNewChild(notes, nullptr, BAD_CAST "B", BAD_CAST "NESTED");
    xmlAddChild(nested, xmlNewText(BAD_CAST "Deeper"));
    xmlAddChild(notes, xmlNewText(BAD_CAST "After"));
    xmlNodePtr name = vardeck("W3").child("NAME").raw();
    xmlAddChild(name, xmlNewComment(BAD_CAST "not searched"));
    xmlAddChild(name, xmlNewText(BAD_CAST "Second"));
    xmlAddChild(name, xmlNewCDataBlock(doc()->raw(), BAD_CAST "<Cdata>", 7));
    xmlAddChild(vardeck("W4").raw(), xmlNewText(BAD_CAST "Loose"));
    doc()->noteChange();

    const QList<XmlNode> vardecks = doc()->getElementsByTagName("VARDECK");
    SearchTextCache cache;
    cache.fillWhole(doc()->documentElement().raw(), SearchAllData, doc()->changeStamp(), 2);
    ASSERT_EQ(cache.size(), vardecks.size());
    for (qsizetype i = 0; i < vardecks.size(); ++i)
        ASSERT_EQ(cache.foldedAt(i).toByteArray(), searchedText(vardecks.at(i), SearchAllData).toCaseFolded().toUtf8())
            << i;
    WordSearch search;
    SearchFieldBoxes all;
    for (const char *text : {"ünïcodenesteddeeperafter", "name3second<cdata>", "ünïcodeloose", "not searched"})
        EXPECT_EQ(search.search(doc(), text, all), plainSearch(doc(), text)) << text;
    EXPECT_EQ(search.search(doc(), "nesteddeeperafter", all), (QList<SearchResult>{{"W2", 1}}));
    EXPECT_EQ(search.search(doc(), "name3second<cdata>", all), (QList<SearchResult>{{"W3", 1}}));
    EXPECT_EQ(search.search(doc(), "loose", all), (QList<SearchResult>{{"W4", 1}}));
    EXPECT_TRUE(search.search(doc(), "not searched", all).isEmpty());
}

// A kept text is passed over unread when it lacks one of the word's byte pairs: every
// text that holds the word holds them all, across characters beyond ASCII too.
TEST(BytePairsTest, aTextHoldingAWordHoldsEveryPairOfItsBytes)
{
    const QString letters = QStringLiteral("ab é\u212Aσς\U00010428");
    quint32 seed = 11;
    auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    int passedOver = 0;
    for (int round = 0; round < 2000; ++round) {
        QString text;
        for (int i = int(next() % 60); i > 0; --i)
            text += letters.at(int(next() % letters.size()));
        const QByteArray bytes = text.toUtf8();
        BytePairs held;
        held.add(bytes);
        const qsizetype from = bytes.isEmpty() ? 0 : qsizetype(next() % bytes.size());
        const QByteArray inside = bytes.mid(from, qsizetype(next() % 9));
        BytePairs wanted;
        wanted.add(inside);
        ASSERT_TRUE(held.holdsAll(wanted)) << bytes.toHex().constData() << " / " << inside.toHex().constData();
        BytePairs other;
        other.add(QByteArray("qz").repeated(int(next() % 3)) + "xy");
        passedOver += !held.holdsAll(other);
    }
    EXPECT_GT(passedOver, 1000) << "most texts lack pairs none of them holds";
}
