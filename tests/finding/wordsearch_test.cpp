// The word search's case-folded texts: the quick folding of UTF-8 against Qt's
// toCaseFolded, and the texts of a large document, read on several threads, against a
// search that folds every Vardeck's text through the DOM anew.
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

// The character's UTF-8 bytes, made here and not by Qt, which reads a byte order mark
// as no character.
QByteArray utf8Of(char32_t ch)
{
    if (ch < 0x80)
        return QByteArray(1, char(ch));
    const int size = ch < 0x800 ? 2 : ch < 0x10000 ? 3 : 4;
    QByteArray bytes(size, char(0x80));
    for (int i = size - 1; i > 0; --i, ch >>= 6)
        bytes[i] = char(0x80 | (ch & 0x3F));
    bytes[0] = char((0xF00 >> size) | ch); // 0xC0, 0xE0 or 0xF0 and the high bits
    return bytes;
}

QByteArray qtFolded(QByteArrayView utf8)
{
    return QString::fromUtf8(utf8).toCaseFolded().toUtf8();
}

// Every Vardeck's searched text folded through the DOM, searched with
// QString::indexOf: the rules of the search written out plainly.
QList<SearchResult> plainSearch(const XmlDocument *doc, const QString &text, SearchFieldMask mask)
{
    const QStringList words = splitSearchWords(text.toCaseFolded());
    QList<SearchResult> results;
    for (const XmlNode &vd : doc->getElementsByTagName("VARDECK")) {
        const QString searched = searchedText(vd, mask).toCaseFolded();
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

QStringList widsOf(const QList<SearchResult> &results)
{
    return test::texts(results, &SearchResult::wid);
}

} // namespace

TEST(CaseFold, everyCharacterFoldsAsQtFoldsIt)
{
    // Literal cases: accents, sharp s and its capital (ß, not ss), the Turkish dotted
    // capital I and dotless small i (letters of their own), Greek sigma in its final
    // form too, the Kelvin sign and the long s (to ASCII), the micro sign (to Greek),
    // a capital whose folded form is longer in UTF-8, and one beyond the 16-bit range.
    EXPECT_EQ(folded("ÉCOLE Straße STRAẞE"), "école straße straße");
    EXPECT_EQ(folded("İSTANBUL ıI"), "İstanbul ıi");
    EXPECT_EQ(folded("ΣΟΦΙΑΣ σοφιας"), "σοφιασ σοφιασ");
    EXPECT_EQ(folded("ſ µ"), "s μ");
    EXPECT_EQ(folded("\u212A Ⱥ \U00010400"), "k ⱥ \U00010428");
    EXPECT_EQ(folded("Plain ASCII, 0-9 @[`{ AZ az"), "plain ascii, 0-9 @[`{ az az");

    // Every character, each in a text of its own and all of them in one text.
    QByteArray all;
    for (char32_t ch = 1; ch <= 0x10FFFF; ++ch) {
        if (ch >= 0xD800 && ch <= 0xDFFF)
            continue;
        const QByteArray one = utf8Of(ch);
        all += one;
        ASSERT_EQ(folded(one), qtFolded(one)) << "U+" << std::hex << quint32(ch);
    }
    EXPECT_EQ(folded(all), qtFolded(all));

    // ASCII before and after other characters at every place in a word of eight bytes.
    for (int before = 0; before <= 17; ++before)
        for (const char *other : {"\xC3\x89", "\xE2\x84\xAA", "\xF0\x90\x90\x80"})
            for (int after = 0; after <= 17; after += 3) {
                const QByteArray text =
                    QByteArray("AzQ[@`{Z").repeated(3).left(before) + other + QByteArray("MiXeD Case!").left(after);
                ASSERT_EQ(folded(text), qtFolded(text)) << text.toHex().constData();
            }

    // Malformed bytes take Qt's replacement characters.
    for (QByteArrayView bad : {"A\xC3(B", "Z\xE2\x82", "\xC0\xAF", "\xED\xA0\x80x", "\xF5\x80\x80\x80", "\x80\xBFQ",
                               "\xEF\xBB\xBF"
                               "BOM",
                               "\xF4\x90\x80\x80"})
        EXPECT_EQ(folded(bad), qtFolded(bad)) << bad.toByteArray().toHex().constData();
}

using KeptTextsTest = test::FindingTest;

TEST_F(KeptTextsTest, wordsBeyondAsciiMatchAsQtFoldsThem)
{
    open({Vd("W1").name("ÉCOLE Straße").notes("ΣΟΦΙΑ"), Vd("W2").name("İstanbul"), Vd("W3").name("A\U00010400"),
          Vd("W4").name("STRASSE").notes("σοφία")});
    auto search = [&](const QString &text, std::initializer_list<int> boxes) {
        SearchFieldBoxes state;
        state.ticked.fill(false);
        for (int b : boxes)
            state.ticked[size_t(b)] = true;
        const QList<SearchResult> found = WordSearch().search(doc(), text, state);
        EXPECT_EQ(found, plainSearch(doc(), text, state.mask())) << qPrintable(text);
        return found;
    };
    EXPECT_EQ(search("école", {1}), (QList<SearchResult>{{"W1", 1}}));
    EXPECT_EQ(search("STRAẞE", {1}), (QList<SearchResult>{{"W1", 1}})); // ß is not ss
    EXPECT_EQ(search("İSTANBUL", {1}), (QList<SearchResult>{{"W2", 1}}));
    EXPECT_TRUE(search("istanbul", {1}).isEmpty()); // İ is not i
    EXPECT_EQ(search("σοφια", {3}), (QList<SearchResult>{{"W1", 1}}));
    EXPECT_EQ(search("\U00010428", {1}), (QList<SearchResult>{{"W3", 1}}));
    // An empty last word counts positions as the text has them in UTF-16: "a" and a
    // character beyond 16 bits make 3.
    EXPECT_EQ(search(" ", {1}).at(2), (SearchResult{"W3", 3}));
    EXPECT_EQ(search("s ", {1}).at(0), (SearchResult{"W1", 12}));
    // A lone surrogate matches half of a character beyond 16 bits, as in UTF-16.
    EXPECT_EQ(search(QString(QChar(0xD801)) + " a", {1}), (QList<SearchResult>{{"W3", 1}}));
}

TEST_F(KeptTextsTest, aLargeDocumentReadOnSeveralThreadsFollowsEveryKindOfEdit)
{
    QList<Vd> first, nested;
    for (int i = 1; i <= kParallelFillFrom + 600; ++i) {
        Vd vd(QStringLiteral("W%1").arg(i));
        vd.name(QStringLiteral("Name %1 Ünïcode").arg(i)).notes(i % 7 ? "plain notes" : "ΚΑΦΕ café");
        (i % 3 ? first : nested).append(vd);
    }
    open(first, nested);
    WordSearch kept;
    SearchFieldBoxes all;
    // A first search tests each text on the thread that read it; a later one reads
    // the kept texts.
    auto same = [&](const QString &text) {
        const QList<SearchResult> plain = plainSearch(doc(), text, SearchAllData);
        EXPECT_EQ(WordSearch().search(doc(), text, all), plain) << qPrintable(text);
        EXPECT_EQ(kept.search(doc(), text, all), plain) << qPrintable(text);
        return plain;
    };
    EXPECT_EQ(same("name 4242 ü").size(), 1);
    EXPECT_EQ(same("καφε").size(), 500);
    EXPECT_EQ(same("name 469").size(), 12); // 469, 1469 .. 4469, 4690 .. 4696
    EXPECT_EQ(kept.cache().size(), kParallelFillFrom + 600);

    vardeck("W4242").setChildText("NAME", "yellow"); // through the DOM
    EXPECT_EQ(same("yellow").size(), 1);
    EXPECT_TRUE(same("4242").isEmpty());

    // Straight through libxml2; the edit tells the document.
    xmlNodeSetContent(vardeck("W7").child("NAME").raw()->children, BAD_CAST "ROD");
    doc()->noteChange();
    EXPECT_EQ(same("rod").size(), 1);

    // Removed, added at the front and moved Vardecks.
    XmlNode list = vardeck("W1").parentNode();
    list.removeChild(vardeck("W1"));
    XmlNode added = doc()->createElement("VARDECK");
    list.insertBefore(added, list.firstChild());
    added.setAttribute("WID", "W9999");
    added.setChildText("NAME", "rod again");
    doc()->nodeFromID("T3").child("VARDECKS").appendChild(vardeck("W2"));
    EXPECT_EQ(widsOf(same("rod")), QStringList({"W9999", "W7"}));
    EXPECT_EQ(same("ünïcode").size(), 500);

    // Another document loaded into the same object.
    ASSERT_TRUE(m_db.openDBValidate(m_path));
    EXPECT_EQ(same("4242").size(), 1);
    EXPECT_TRUE(same("yellow").isEmpty());
}

TEST_F(KeptTextsTest, threadsKeepDocumentOrderAndTheDomsText)
{
    QList<Vd> first, nested;
    for (int i = 1; i <= 700; ++i)
        (i % 2 ? first : nested).append(Vd(QStringLiteral("W%1").arg(i)).name(QStringLiteral("N%1 À").arg(i)));
    open(first, nested);
    XmlNode notes = vardeck("W5").child("NOTES");
    xmlAddChild(notes.raw(), xmlNewCDataBlock(doc()->raw(), BAD_CAST "<CDATA>", 7));
    // Vardecks outside a folder's list: below the root, after a sub-folder, inside a
    // folder's name; all are searched, in document order.
    auto stray = [&](XmlNode parent, const QString &wid, XmlNode before = XmlNode()) {
        XmlNode vd = doc()->createElement("VARDECK");
        vd.setAttribute("WID", wid);
        before ? parent.insertBefore(vd, before) : parent.appendChild(vd);
        vd.setChildText("NAME", "Stray " + wid);
    };
    stray(doc()->documentElement(), "W9001");
    stray(doc()->nodeFromID("T2").child("SUBFOLDERS"), "W9002");
    XmlNode name = doc()->nodeFromID("T1").child("NAME");
    stray(name, "W9003", name.firstChild());
    const QList<XmlNode> vardecks = doc()->getElementsByTagName("VARDECK");
    for (SearchFieldMask mask : {SearchFieldMask(SearchAllData), SearchFieldMask(SearchName | SearchNotes)}) {
        SearchTextCache cache;
        cache.fillWhole(doc()->documentElement().raw(), mask, doc()->changeStamp(), 3);
        ASSERT_TRUE(cache.holdsWhole(doc()->changeStamp(), mask));
        ASSERT_EQ(cache.size(), vardecks.size());
        for (qsizetype i = 0; i < vardecks.size(); ++i) {
            ASSERT_EQ(cache.vardeckAt(i), vardecks.at(i).raw()) << i;
            ASSERT_EQ(cache.foldedAt(i).toByteArray(), searchedText(vardecks.at(i), mask).toCaseFolded().toUtf8()) << i;
        }
    }
}
