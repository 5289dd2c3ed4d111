// Finding: the word search, favourites, recent Vardecks, popular ones, search rows and the search history.
#include "finding/favorites.h"
#include "finding/popularlist.h"
#include "finding/recentlist.h"
#include "finding/searchhistory.h"
#include "finding/searchresults.h"
#include "finding/wordsearch.h"
#include "findingfixture.h"
#include "storage/session.h"
#include "support/failingdisk.h"

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
    EXPECT_EQ(splitSearchWords(" x "), QStringList({"", "x", ""}));

    // An empty last word on long notes counts past 16 bits.
    SearchWords words("note ");
    const QString notes = QString(40000, QLatin1Char('n')) + QStringLiteral("note");
    qint32 matches = 0;
    ASSERT_TRUE(words.match(notes.toUtf8(), &matches));
    EXPECT_EQ(matches, 40004);
}

TEST(WordRules, finderAgreesWithAPlainSearchOnSharedBytes)
{
    // U+0161 and U+0461 share their last UTF-8 byte, U+0161 its first with U+0160.
    const QString letters = QStringLiteral("a\u0161\u0461\u0160bcb");
    quint32 seed = 7;
    auto next = [&] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 300; ++round) {
        QString text, word;
        for (int i = int(next() % 120); i > 0; --i)
            text += letters.at(int(next() % letters.size()));
        for (int i = 1 + int(next() % 4); i > 0; --i)
            word += letters.at(int(next() % letters.size()));
        const QByteArray bytes = text.toUtf8();
        const TextFinder finder(word.toUtf8());
        for (qsizetype from = 0; from < bytes.size(); ++from)
            ASSERT_EQ(finder.find(bytes, from), bytes.indexOf(word.toUtf8(), from)) << qPrintable(text + " / " + word);
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

    // The command remembers only a text that is not empty (the window says when nothing was found).
    WordSearch search;
    SearchFieldBoxes boxes;
    boxes.ticked.fill(false);
    EXPECT_TRUE(runSearchCommand(search, doc(), "beta", boxes).isEmpty());
    EXPECT_TRUE(boxes.ticked[0]);
    EXPECT_EQ(session().searchColl, QStringList({"beta"}));
    EXPECT_EQ(runSearchCommand(search, doc(), "", boxes).size(), 3);
    EXPECT_EQ(session().searchColl, QStringList({"beta"}));
    EXPECT_TRUE(m_prompts.messages().empty());

    // The scan stops at 500 results.
    QList<Vd> many;
    for (int i = 1; i <= 620; ++i)
        many.append(Vd(QStringLiteral("W%1").arg(i)).name(QStringLiteral("item %1").arg(i)));
    open(many);
    const QList<SearchResult> results = searchBoxes(doc(), "item", {1});
    ASSERT_EQ(results.size(), 500);
    EXPECT_EQ(results.last().wid, "W500") << "the first 500 in document order";
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
        EXPECT_EQ(cache.foldedTextOf(vardeck("W1").raw(), mask).toByteArray(),
                  searchedText(vardeck("W1"), mask).toCaseFolded().toUtf8());
        cache.endPass(true);
    }
    EXPECT_EQ(searchedText(vardeck("W1"), SearchName | SearchNotes), "A & Bline one\nLine Two<cdata>");
}

using FavoritesTest = test::FindingTest;

TEST_F(FavoritesTest, anyCaseOfTrueIsAFavoriteWritingStoresUpperCaseAndADropAddsOnlyNewOnes)
{
    open({Vd("W1").name("b").fav("true"), Vd("W2").fav("FALSE"), Vd("W3").name("a").fav("True")},
         {Vd("W4").fav("yes")});
    Favorites favs;
    favs.populate(doc());
    EXPECT_EQ(favs.favsColl(), QStringList({"W1", "W3"}));
    EXPECT_EQ(favs.countLabel(), "Favorites: 2");

    EXPECT_EQ(favs.deleteFavorite(m_db, "W1").outcome, Favorites::Outcome::Deleted);
    const Favorites::Change added = favs.addToFavorites(m_db, "W2");
    EXPECT_EQ(added.outcome, Favorites::Outcome::Added);
    ASSERT_EQ(added.notices.size(), 1);
    EXPECT_EQ(added.notices[0].text, "The Vardeck name has been added to your favorite Vardecks list");
    EXPECT_EQ(test::onDisk(m_path, "W1", "FAV"), "FALSE");
    EXPECT_EQ(test::onDisk(m_path, "W2", "FAV"), "TRUE");
    EXPECT_EQ(test::onDisk(m_path, "W3", "FAV"), "True"); // untouched

    // A drop of several adds only the new ones, with one count.
    const Favorites::DropResult result = favs.addDropped(m_db, {"W1", "W2", "W3", "W4", "W9"});
    EXPECT_EQ(result.added, 2);
    EXPECT_TRUE(result.saved);
    EXPECT_EQ(favs.favsColl(), QStringList({"W3", "W2", "W1", "W4"}));
    ASSERT_EQ(result.notices.size(), 1);
    EXPECT_EQ(result.notices[0].text, "2 favorites added.");
    EXPECT_EQ(result.notices[0].icon, MsgIcon::Information);
    EXPECT_EQ(favs.addDropped(m_db, {"W1"}).notices.value(0).text, "0 favorites added.");
    EXPECT_TRUE(m_prompts.messages().empty()) << "the window shows the notices";
}

TEST_F(FavoritesTest, theMenuKeepsDocumentThenAddedOrderWhileTheTreeSortsByName)
{
    open({Vd("W1").name("zebra").fav("TRUE"), Vd("W2").name("Mango"), Vd("W3").name("apple").fav("TRUE")});
    Favorites favs;
    favs.populate(doc());
    favs.addToFavorites(m_db, "W2");
    EXPECT_EQ(test::texts(favs.menuItems(doc()), &FavoriteItem::name), QStringList({"zebra", "apple", "Mango"}));
    VDData recent;
    recent.loadDataFromReg("w3", "apple", "http://a.example/", "Vardecks.xml");
    const QList<FavoriteItem> tree = favs.treeItems(doc(), {recent});
    EXPECT_EQ(test::texts(tree, &FavoriteItem::name), QStringList({"apple", "Mango", "zebra"}));
    EXPECT_TRUE(tree.at(0).bold);
    EXPECT_FALSE(tree.at(1).bold);
}

TEST_F(FavoritesTest, deletingIsCheckedBeforeTheQuestionAndChangesNothingUntilThen)
{
    open({Vd("W1").name("Keep").fav("TRUE"), Vd("W2").name("Drop").fav("TRUE")});
    Favorites favs;
    favs.populate(doc());
    const Favorites::Change check = favs.checkDelete(m_db, " W2 ");
    EXPECT_EQ(check.outcome, Favorites::Outcome::Listed);
    EXPECT_EQ(check.wid, "W2");
    EXPECT_EQ(check.name, "Drop");
    EXPECT_TRUE(check.notices.isEmpty());
    EXPECT_FALSE(check.changed);
    EXPECT_EQ(favs.favsColl().size(), 2);
    EXPECT_EQ(test::onDisk(m_path, "W2", "FAV"), "TRUE");

    const Favorites::Change change = favs.deleteFavorite(m_db, "W2");
    EXPECT_TRUE(change.changed && change.saved);
    EXPECT_EQ(favs.favsColl(), QStringList({"W1"}));

    const auto noticeOf = [](const Favorites::Change &c) { return c.notices.value(0).text; };
    EXPECT_EQ(favs.checkDelete(m_db, "W2").outcome, Favorites::Outcome::NotInList);
    EXPECT_EQ(noticeOf(favs.checkDelete(m_db, "W2")), "The displayed Vardeck is not in your favorites list");
    EXPECT_EQ(favs.deleteFavorite(m_db, "W2").outcome, Favorites::Outcome::NotInList);
    EXPECT_EQ(favs.checkDelete(m_db, "").outcome, Favorites::Outcome::NoSelection);
    EXPECT_EQ(noticeOf(favs.checkDelete(m_db, "")),
              "No Vardeck is currently selected to delete from your favorite Vardecks list");
    EXPECT_EQ(favs.addSelected(m_db, "").outcome, Favorites::Outcome::NoSelection);
    EXPECT_EQ(noticeOf(favs.addSelected(m_db, "")),
              "No Vardeck is currently selected to add to your favorite Vardecks list");
    EXPECT_TRUE(m_prompts.messages().empty());
}

TEST_F(FavoritesTest, aVanishedVardeckRebuildsTheFavoritesQuietly)
{
    open({Vd("W1").name("one").fav("TRUE"), Vd("W2").name("two").fav("TRUE"), Vd("W3").name("three").fav("TRUE")});
    Favorites favs;
    favs.populate(doc());
    XmlNode gone = vardeck("W2");
    gone.parentNode().removeChild(gone);

    EXPECT_EQ(test::texts(favs.menuItems(doc()), &FavoriteItem::name), QStringList({"one", "three"}));
    gone = vardeck("W3");
    gone.parentNode().removeChild(gone);
    // Removal goes by identifier: the right Vardeck leaves, whatever its position.
    EXPECT_EQ(favs.checkDelete(m_db, "W1").outcome, Favorites::Outcome::Listed);
    EXPECT_EQ(favs.deleteFavorite(m_db, "W1").outcome, Favorites::Outcome::Deleted);
    EXPECT_TRUE(favs.favsColl().isEmpty());
    EXPECT_EQ(favs.createNewFav(m_db, "W2").outcome, Favorites::Outcome::Missing);
    const Favorites::Change missing = favs.addToFavorites(m_db, "W3");
    EXPECT_EQ(missing.outcome, Favorites::Outcome::Missing);
    EXPECT_TRUE(missing.notices.isEmpty());
}

TEST_F(FavoritesTest, aFailedSaveIsReportedAndTheMarkKept)
{
    open({Vd("W1").name("one")});
    Favorites favs;
    favs.populate(doc());
    const QByteArray before = test::readBytes(m_path);
    Favorites::Change change;
    {
        test::FailingDisk disk;
        change = favs.addToFavorites(m_db, "W1");
    }
    EXPECT_TRUE(change.changed);
    EXPECT_FALSE(change.saved);
    EXPECT_EQ(test::readBytes(m_path), before);
    EXPECT_TRUE(isFavorite(vardeck("W1")));
    // The failed save first, then what the command says.
    ASSERT_EQ(change.notices.size(), 2);
    EXPECT_EQ(change.notices[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(change.notices[0].text.startsWith("The Vardecks database could not be saved."));
    EXPECT_EQ(change.notices[1].text, "The Vardeck one has been added to your favorite Vardecks list");
    EXPECT_EQ(favs.favsColl(), QStringList({"W1"}));
}

using RecentListTest = test::FindingTest;

TEST_F(RecentListTest, twentyOpensLeaveFourteenNewestFirstAndALoweredMaximumTrims)
{
    QList<Vd> vardecks;
    for (int i = 1; i <= 20; ++i)
        vardecks.append(Vd(QStringLiteral("W%1").arg(i)).name(QStringLiteral("Site %1").arg(i)));
    open(vardecks);
    for (int i = 1; i <= 20; ++i)
        ASSERT_TRUE(recordRecentOpen(doc(), QStringLiteral("W%1").arg(i), "Vardecks.xml", session().recentColl, 15));
    const QList<RecentMenuItem> items = recentMenuItems(session().recentColl);
    ASSERT_EQ(items.size(), 14);
    EXPECT_EQ(items.first().caption, "1  Site 20");
    EXPECT_EQ(items.last().caption, "14  Site 7");
    EXPECT_EQ(session().recentColl.first().getID(), "W7"); // oldest first in the list itself
    EXPECT_EQ(session().recentColl.last().getDBName(), "Vardecks.xml");

    // A lowered maximum trims at the next open.
    recordRecentOpen(doc(), "W3", "Vardecks.xml", session().recentColl, 5);
    ASSERT_EQ(session().recentColl.size(), 4);
    EXPECT_EQ(session().recentColl.last().getID(), "W3");
}

TEST_F(RecentListTest, reopeningMovesTheRecordUnlessTheAddressChangedAndOnlyThatRecordCountsAVisit)
{
    open({Vd("W1").name("One & Two").address("http://one.example/"), Vd("W2")});
    recordRecentOpen(doc(), "W1", "Vardecks.xml", session().recentColl, session().recentMax);
    recordRecentOpen(doc(), "W2", "Vardecks.xml", session().recentColl, session().recentMax);
    recordRecentOpen(doc(), "W1", "Vardecks.xml", session().recentColl, session().recentMax);
    ASSERT_EQ(session().recentColl.size(), 2);
    EXPECT_EQ(recentMenuItems(session().recentColl).first().caption, "1  One && Two");
    EXPECT_EQ(recentMenuItems(session().recentColl).first().address, "http://one.example/");

    vardeck("W1").setChildText("ADDRESS", "http://moved.example/");
    recordRecentOpen(doc(), "W1", "Vardecks.xml", session().recentColl, session().recentMax);
    ASSERT_EQ(session().recentColl.size(), 3); // the record of the old address stays
    EXPECT_EQ(session().recentColl.at(1).getURL(), "http://one.example/");

    EXPECT_FALSE(recordRecentOpen(doc(), "W99", "Vardecks.xml", session().recentColl, session().recentMax));
    EXPECT_EQ(session().recentColl.size(), 3);
    clearRecentVardecks(session().recentColl);
    EXPECT_TRUE(recentMenuItems(session().recentColl).isEmpty());

    // An item records a visit only for the same Vardeck at the same address.
    vardeck("W1").setChildText("ADDRESS", "http://Same.example/");
    VDData elsewhere;
    elsewhere.loadDataFromReg("W2", "n", "http://other.example/", "Other.xml");
    VDData same;
    same.loadDataFromReg("W1", "n", "http://same.EXAMPLE/", "Vardecks.xml");
    session().recentColl = {elsewhere, same};
    const RecentItemTarget newest = recentItemTarget(doc(), 0, session().recentColl);
    EXPECT_EQ(newest.address, "http://same.EXAMPLE/");
    EXPECT_EQ(newest.widToRecord, "W1");
    const RecentItemTarget other = recentItemTarget(doc(), 1, session().recentColl);
    EXPECT_EQ(other.address, "http://other.example/");
    EXPECT_EQ(other.widToRecord, "");
    EXPECT_EQ(recentItemTarget(doc(), 2, session().recentColl).address, "");
}

TEST_F(RecentListTest, anItemAndAReopenTellTheSameAddressApartAlike)
{
    // "ß" in upper case is "SS", yet the two addresses differ but for letter case.
    open({Vd("W1").address(QString::fromUtf8("http://a.example/Straße"))});
    recordRecentOpen(doc(), "W1", "Vardecks.xml", session().recentColl, session().recentMax);
    vardeck("W1").setChildText("ADDRESS", "http://a.example/STRASSE");
    recordRecentOpen(doc(), "W1", "Vardecks.xml", session().recentColl, session().recentMax);
    ASSERT_EQ(session().recentColl.size(), 2); // another address: the old record stays
    const RecentItemTarget older = recentItemTarget(doc(), 1, session().recentColl);
    EXPECT_EQ(older.address, QString::fromUtf8("http://a.example/Straße"));
    EXPECT_EQ(older.widToRecord, "");
    EXPECT_EQ(recentItemTarget(doc(), 0, session().recentColl).widToRecord, "W1");
}

using PopularListTest = test::FindingTest;

TEST_F(PopularListTest, unvisitedAreLeftOutCountsSortByValueAndClearingResetsEveryCountInTheFile)
{
    open({Vd("W1").name("nine").hits("9"), Vd("W2").name("one").hits("1"), Vd("W3").name("zero one").hits("01"),
          Vd("W4").name("ten").hits("10"), Vd("W5").name("empty").hits(""), Vd("W6").name("junk").hits("many")},
         {Vd("W7").name("also ten").hits("10")});
    VDData recent;
    recent.loadDataFromReg("w1", "nine", "http://a.example/", "Vardecks.xml");
    const QList<PopularRow> rows = popularRows(doc(), {recent});
    EXPECT_EQ(test::texts(rows, &PopularRow::name), QStringList({"ten", "also ten", "nine"}));
    EXPECT_EQ(rows.at(0).hits, "    10");
    EXPECT_TRUE(rows.at(2).bold);
    EXPECT_FALSE(rows.at(0).bold);

    // Counts not written the plain way sort as their padded texts do ("007" above 8).
    open({Vd("W1").hits("8"), Vd("W2").hits("007")});
    EXPECT_EQ(test::texts(popularRows(doc(), {}), &PopularRow::hits), QStringList({"   007", "     8"}));
    open({Vd("W1").name("eight").hits("8"), Vd("W2").name("seven").hits("007"), Vd("W3").name("half").hits("2.5"),
          Vd("W4").name("many").hits("1234567")});
    EXPECT_EQ(test::texts(popularRows(doc(), {}), &PopularRow::hits),
              QStringList({"1234567", "   2.5", "   007", "     8"}));

    // Clearing resets every count and writes the file (the window has asked).
    const ClearRankingsResult result = clearPopularRankings(m_db);
    EXPECT_TRUE(result.cleared);
    EXPECT_TRUE(result.saved);
    EXPECT_TRUE(result.notices.isEmpty());
    EXPECT_TRUE(m_prompts.messages().empty());
    EXPECT_TRUE(popularRows(doc(), {}).isEmpty());
    EXPECT_EQ(test::onDisk(m_path, "W1", "HITS"), "1");
    EXPECT_EQ(test::onDisk(m_path, "W4", "HITS"), "1");
}

using SearchRowsTest = test::FindingTest;

TEST_F(SearchRowsTest, cellsFollowTheEmptyAndCountRulesAndRecentOnesAreBold)
{
    open({Vd("W1").name("Plain").description("").address("").created("").hits(""), Vd("W2").hits("17"), Vd("W3")});
    VDData record;
    record.loadDataFromReg("w2", "n", "http://a.example/", "Other.xml"); // any database, any case
    const QList<SearchRow> rows = buildSearchRows(doc(), {{"W1", 4}, {"W2", 123456}}, {record});
    ASSERT_EQ(rows.size(), 2);
    const SearchRow &w1 = rows.at(1).wid == "W1" ? rows.at(1) : rows.at(0);
    EXPECT_EQ(w1.matches, "     4");
    EXPECT_EQ(w1.hits, "     1"); // an empty HITS reads as one visit
    for (int c : {2, 3, 4, 6})
        EXPECT_EQ(w1.detailedCell(DetailedColumn(c)), " ") << c;
    EXPECT_FALSE(w1.bold);
    EXPECT_EQ(rows.at(0).matches, "123456");
    EXPECT_EQ(rows.at(0).hits, "    17");
    EXPECT_EQ(rows.at(0).compactCell(CompactColumn::Matches), "123456");
    EXPECT_TRUE(rows.at(0).bold);

    // A vanished Vardeck ends the fill.
    EXPECT_EQ(buildSearchRows(doc(), {{"W1", 3}, {"W7", 1}, {"W3", 1}}, {}).size(), 1);
    EXPECT_EQ(vardeckAddress(doc(), "W2"), "http://a.example/");
    EXPECT_EQ(vardeckAddress(doc(), "W7"), "");
    EXPECT_EQ(folderOfVardeck(vardeck("W1")).attribute("TID"), "T1");
}

TEST_F(SearchRowsTest, rowsSortByMatchesAndEachHeaderClickFlips)
{
    open({Vd("W1").name("beta"), Vd("W2").name("Alpha"), Vd("W3").name("gamma")});
    QList<SearchRow> rows = buildSearchRows(doc(), {{"W1", 9}, {"W2", 12}, {"W3", 100}}, {});
    auto column = [&](int c) {
        return test::texts(rows, [c](const SearchRow &r) { return r.detailedCell(DetailedColumn(c)); });
    };
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

TEST(SearchHistory, aCaseOnlyDuplicateMovesToTheFrontAndTheMaximumHolds)
{
    QStringList history{"news", "Recipe", "old"};
    recordSearchText(history, "RECIPE", 15);
    EXPECT_EQ(history, QStringList({"RECIPE", "news", "old"}));
    recordSearchText(history, "old", 15); // the oldest comes back without a copy
    EXPECT_EQ(history, QStringList({"old", "RECIPE", "news"}));
    recordSearchText(history, "", 15);
    EXPECT_EQ(history.size(), 3);

    // At most the maximum is kept, also after it was lowered.
    history.clear();
    for (int i = 1; i <= 16; ++i)
        recordSearchText(history, QStringLiteral("s%1").arg(i), 15);
    ASSERT_EQ(history.size(), 15);
    EXPECT_EQ(history.first(), "s16");
    EXPECT_EQ(history.last(), "s2");

    recordSearchText(history, "lowered", 5);
    EXPECT_EQ(history, QStringList({"lowered", "s16", "s15", "s14", "s13"}));
}
