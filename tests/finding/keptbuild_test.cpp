// The kept texts made while the window is idle: every way a search reads a large
// document against a plain search through the DOM, the count of every match past the
// listed ones, and the making's start and its restart when the collection changes.
#include "finding/searchresults.h"
#include "finding/wordsearch.h"
#include "findingfixture.h"
#include "support/httpserver.h"

#include <libxml/tree.h>

#include <QCoreApplication>

using namespace rr;
using test::Vd;

namespace
{

struct Plain {
    QList<SearchResult> listed;
    qsizetype matching = 0;
};

// The search's rules written out plainly over QString: every Vardeck's searched text
// folded through the DOM, every match counted, the first 500 listed.
Plain plainSearch(const XmlDocument *doc, const QString &text, SearchFieldMask mask = SearchAllData)
{
    const QStringList words = splitSearchWords(text.toCaseFolded());
    Plain plain;
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
        if (!all)
            continue;
        ++plain.matching;
        if (plain.listed.size() < kMaxSearchResults)
            plain.listed.append({vd.attribute("WID"), count});
    }
    return plain;
}

// How far the kept texts are made before the search.
enum class Made { Nothing, ASlice, Half, MostOf, All };

struct Way {
    const char *name;
    int threads;
    Made made;
    SearchPath path; // how the search then reads the texts
};

const Way kWays[] = {
    {"as held", 1, Made::Nothing, SearchPath::Held},
    {"on threads", 8, Made::Nothing, SearchPath::Threads},
    {"kept", 1, Made::All, SearchPath::Kept},
    {"kept in part", 1, Made::ASlice, SearchPath::KeptThenHeld},
    {"threads before three quarters are kept", 8, Made::Half, SearchPath::Threads},
    {"half kept on one thread", 1, Made::Half, SearchPath::KeptThenHeld},
    {"kept past three quarters on threads", 8, Made::MostOf, SearchPath::KeptThenHeld},
};

void make(WordSearch &search, const XmlDocument *doc, Made made)
{
    if (made == Made::Nothing)
        return;
    ASSERT_TRUE(search.prepareKeptTexts(doc, SearchAllData));
    const qsizetype vardecks = doc->countElements("VARDECK");
    if (made == Made::ASlice)
        search.buildKeptTexts(doc, kKeptTextsSlice);
    else if (made == Made::Half)
        search.buildKeptTexts(doc, vardecks / 2);
    else if (made == Made::MostOf)
        search.buildKeptTexts(doc, vardecks * 3 / 4 + 1);
    else
        while (!search.buildKeptTexts(doc, kKeptTextsSlice)) {
        }
}

class KeptBuildTest : public test::FindingTest
{
protected:
    // A large document: names numbered, one notes text in seven beyond ASCII, some in
    // the nested folder.
    void openLarge()
    {
        QList<Vd> first, nested;
        for (int i = 1; i <= kParallelFillFrom + 700; ++i) {
            Vd vd(QStringLiteral("W%1").arg(i));
            vd.name(QStringLiteral("Name %1 Ünïcode").arg(i)).notes(i % 7 ? "plain notes" : "ΟΔΟΣ \u212Aelvin ΚΑΦΕ");
            (i % 3 ? first : nested).append(vd);
        }
        open(first, nested);
    }
};

const char *const kQueries[] = {"name 4", "ünïcode 469", "οδος", "kelvin καφε", "name 4242 ü", "qqxyzzy", " ", ""};

} // namespace

TEST_F(KeptBuildTest, everyWayOfReadingTheTextsListsAndCountsAsThePlainSearch)
{
    openLarge();
    SearchFieldBoxes all;
    for (const Way &way : kWays)
        for (const char *query : kQueries) {
            const Plain plain = plainSearch(doc(), query);
            WordSearch search(way.threads);
            make(search, doc(), way.made);
            qsizetype matching = -1;
            EXPECT_EQ(search.search(doc(), query, all, &matching), plain.listed) << way.name << ": " << query;
            EXPECT_EQ(matching, plain.matching) << way.name << ": " << query;
            if (*query && QByteArray(query) != " ") {
                EXPECT_EQ(search.lastPath(), way.path) << way.name << ": " << query;
            }

            // Without the count the scan stops at the last one listed.
            WordSearch uncounted(way.threads);
            make(uncounted, doc(), way.made);
            EXPECT_EQ(uncounted.search(doc(), query, all), plain.listed) << way.name << ": " << query;
        }
}

TEST_F(KeptBuildTest, aSmallDocumentCountsEveryMatchToo)
{
    QList<Vd> many;
    for (int i = 1; i <= 620; ++i)
        many.append(Vd(QStringLiteral("W%1").arg(i)).name(QStringLiteral("item %1").arg(i)));
    open(many);
    SearchFieldBoxes all;
    for (const char *query : {"item", "item 61", "", "nothing"}) {
        WordSearch search;
        qsizetype matching = -1;
        const Plain plain = plainSearch(doc(), query);
        EXPECT_EQ(search.search(doc(), query, all, &matching), plain.listed) << query;
        EXPECT_EQ(matching, plain.matching) << query;
    }
    WordSearch search;
    qsizetype matching = 0;
    EXPECT_EQ(search.search(doc(), "item", all, &matching).size(), 500);
    EXPECT_EQ(matching, 620);
}

// A small document's kept texts, made ahead and then checked against the document
// after an edit, read as kept ones afterwards find the edited text.
TEST_F(KeptBuildTest, keptTextsMadeAheadFollowAnEditOfASmallDocument)
{
    QList<Vd> many;
    for (int i = 1; i <= 620; ++i)
        many.append(Vd(QStringLiteral("W%1").arg(i)).name(QStringLiteral("item %1").arg(i)));
    open(many);
    SearchFieldBoxes all;
    WordSearch search;
    ASSERT_TRUE(search.prepareKeptTexts(doc(), SearchAllData));
    while (!search.buildKeptTexts(doc(), kKeptTextsSlice)) {
    }
    vardeck("W5").setChildText("NAME", "yellowish");
    for (SearchPath path : {SearchPath::Checked, SearchPath::Kept}) {
        EXPECT_EQ(search.search(doc(), "yellowish", all), (QList<SearchResult>{{"W5", 1}}));
        EXPECT_EQ(search.lastPath(), path);
    }
}

// An edit of any kind while the kept texts are being made: the next search reads the
// document as it is, and the making starts again for it; a search in between, and
// one once it is done, find what a plain search finds.
TEST_F(KeptBuildTest, aSearchWhileTheTextsAreMadeFollowsEveryKindOfEdit)
{
    struct Edit {
        const char *kind;
        std::function<void()> apply;
        const char *query; // a word the edit adds or moves
    };
    const QList<Edit> edits = {
        {"through the DOM", [&] { vardeck("W4242").setChildText("NAME", "yellow"); }, "yellow"},
        {"straight through the library",
         [&] {
             xmlNodeSetContent(vardeck("W7").child("NAME").raw()->children, BAD_CAST "ROD");
             doc()->noteChange();
         },
         "rod"},
        {"removed", [&] { vardeck("W1").parentNode().removeChild(vardeck("W1")); }, "name 1 "},
        {"added at the front",
         [&] {
             XmlNode list = vardeck("W2").parentNode();
             XmlNode added = doc()->createElement("VARDECK");
             list.insertBefore(added, list.firstChild());
             added.setAttribute("WID", "W9999");
             added.setChildText("NAME", "rod again");
         },
         "rod"},
        {"moved", [&] { doc()->nodeFromID("T3").child("VARDECKS").appendChild(vardeck("W2")); }, "name 2 "},
        {"another document loaded", [&] { ASSERT_TRUE(m_db.openDBValidate(m_path)); }, "yellow"},
    };
    openLarge();
    SearchFieldBoxes all;
    WordSearch search(1);
    auto same = [&](const char *what, const QString &query) {
        const Plain plain = plainSearch(doc(), query);
        qsizetype matching = -1;
        EXPECT_EQ(search.search(doc(), query, all, &matching), plain.listed) << what << ": " << qPrintable(query);
        EXPECT_EQ(matching, plain.matching) << what << ": " << qPrintable(query);
    };
    for (const Edit &edit : edits) {
        doc()->noteChange(); // the texts made for the last edit are out of date
        ASSERT_TRUE(search.prepareKeptTexts(doc(), SearchAllData)) << edit.kind;
        ASSERT_FALSE(search.buildKeptTexts(doc(), kKeptTextsSlice)) << edit.kind;
        edit.apply();
        same(edit.kind, edit.query);
        EXPECT_EQ(search.lastPath(), SearchPath::Held) << edit.kind;
        ASSERT_FALSE(search.buildKeptTexts(doc(), kKeptTextsSlice)) << edit.kind;
        same(edit.kind, edit.query);
        EXPECT_EQ(search.lastPath(), SearchPath::KeptThenHeld) << edit.kind;
        while (!search.buildKeptTexts(doc(), kKeptTextsSlice)) {
        }
        same(edit.kind, edit.query);
        same(edit.kind, "ünïcode 42");
        EXPECT_EQ(search.lastPath(), SearchPath::Kept) << edit.kind;
    }
}

// The window's making: it starts when asked to follow the collection, runs while the
// event loop is idle, and starts again for the document as it is when the collection,
// the document or the ticked fields change, before or after it is done.
TEST_F(KeptBuildTest, theIdleMakingStartsWhenAskedAndStartsAgainForAChangedCollection)
{
    openLarge();
    WordSearch search(1);
    const XmlDocument *shown = doc();
    SearchFieldMask fields = SearchAllData;
    KeptTextsBuilder builder(
        search, [&] { return shown; }, [&] { return fields; });
    auto madeFor = [&](const XmlDocument *d, SearchFieldMask mask) {
        return test::waitUntil([&] { return !builder.busy(); }) && search.cache().holdsWhole(d->changeStamp(), mask) &&
               search.cache().size() == d->countElements("VARDECK");
    };
    EXPECT_FALSE(builder.busy()) << "nothing is made before the window asks";
    builder.follow();
    EXPECT_TRUE(builder.busy());
    EXPECT_TRUE(madeFor(doc(), SearchAllData));
    builder.follow();
    EXPECT_FALSE(builder.busy()) << "made already";

    // Changed after the making: made again once asked.
    vardeck("W5").setChildText("NAME", "changed");
    builder.follow();
    EXPECT_TRUE(madeFor(doc(), SearchAllData));

    // Changed while it is made, before its first slice and after one.
    vardeck("W6").setChildText("NAME", "changed");
    builder.follow();
    ASSERT_TRUE(builder.busy());
    vardeck("W7").setChildText("NAME", "changed");
    EXPECT_TRUE(madeFor(doc(), SearchAllData)) << "started again by itself";
    vardeck("W8").setChildText("NAME", "changed");
    builder.follow();
    ASSERT_TRUE(builder.busy());
    QCoreApplication::processEvents(); // a turn of the loop: a slice
    vardeck("W9").setChildText("NAME", "changed");
    EXPECT_TRUE(madeFor(doc(), SearchAllData)) << "started again by itself";
    EXPECT_EQ(search.search(doc(), "changed", SearchFieldBoxes{}).size(), 5);
    EXPECT_EQ(search.lastPath(), SearchPath::Kept);

    // Other fields ticked, another document shown, none.
    fields = SearchName | SearchNotes;
    builder.follow();
    EXPECT_TRUE(madeFor(doc(), fields));
    XMLDatabase other;
    ASSERT_TRUE(other.openDBValidate(m_path));
    shown = other.getTheDOM();
    builder.follow();
    EXPECT_TRUE(madeFor(other.getTheDOM(), fields));
    shown = nullptr;
    builder.follow();
    EXPECT_FALSE(builder.busy());
    EXPECT_EQ(search.cache().size(), 0);
}

TEST(FoundCount, theRowsListedOrHowManyMatchBesideHowManyAreListed)
{
    struct Row {
        qsizetype matching;
        qsizetype listed;
        const char *shown;
    };
    const Row rows[] = {
        {0, 0, "0"},
        {37, 37, "37"},
        {500, 500, "500"},
        {501, 500, "501 (500 listed)"},
        {2632, 500, "2,632 (500 listed)"},
        {2631, 499, "2,631 (499 listed)"},
        {1234567, 500, "1,234,567 (500 listed)"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(foundCountText(row.matching, row.listed), row.shown);
}
