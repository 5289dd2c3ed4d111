// Letter case in every script: the word search, the search history and the sorted
// lists set it aside as Qt's QString::toCaseFolded does, each checked with a table of
// the folds that differ from plain lower case and against that oracle.
#include "finding/listcells.h"
#include "finding/searchhistory.h"
#include "finding/wordsearch.h"
#include "findingfixture.h"
#include "platform/textutil.h"

#include <algorithm>

using namespace rr;
using test::Vd;

namespace
{

struct Fold {
    const char *stored; // a Vardeck's name
    const char *typed;  // the search text
    bool same;          // whether the two are the same letters but for case
};

const Fold kFolds[] = {
    {"ΟΔΟΣ", "οδος", true},                                 // final sigma and capital sigma
    {"Σίσυφος", "ΣΊΣΥΦΟΣ", true},                           // accented capital, final sigma
    {"σοφία", "ΣΟΦΊΑ", true},                               // sigma at the start
    {"İstanbul", "İSTANBUL", true},                         // the dotted capital I is a letter of its own
    {"İstanbul", "istanbul", false},                        // ... and no i
    {"ısparta", "ISPARTA", false},                          // the dotless small i is no i
    {"ISPARTA", "isparta", true},                           // I is i
    {"Straße", "STRAẞE", true},                             // ẞ folds to ß
    {"Straße", "strasse", false},                           // ß is not ss: no match, nothing to mark
    {"\u212Aelvin", "kelvin", true},                        // the Kelvin sign folds to k
    {"KELVIN", "\u212Aelvin", true},                        // ... either way round
    {"Cla\u017Fs", "CLASS", true},                          // the long s folds to s
    {"5 \u00B5m", "5 Μm", true},                            // the micro sign folds to Greek mu
    {"\u01C5emal", "\u01C6EMAL", true},                     // a title-case digraph
    {"\u13A0\u13A1", "\uAB70\uAB71", true},                 // Cherokee small letters fold to capitals
    {"\U00010400\U00010401", "\U00010428\U00010429", true}, // Deseret, beyond 16 bits
    {"\uFB00", "ff", false},                                // a ligature stays one letter
};

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

bool foldsAlike(const Fold &row)
{
    return text(row.stored).toCaseFolded() == text(row.typed).toCaseFolded();
}

} // namespace

TEST(CaseFoldTable, everyRowAgreesWithQtsFolding)
{
    for (const Fold &row : kFolds) {
        EXPECT_EQ(foldsAlike(row), row.same) << row.stored << " / " << row.typed;
        EXPECT_EQ(sameText(text(row.stored), text(row.typed)), row.same) << row.stored << " / " << row.typed;
        EXPECT_EQ(caseFolded(text(row.stored)), text(row.stored).toCaseFolded()) << row.stored;
    }
}

using CaseFoldSearchTest = test::FindingTest;

// Each stored text is found by its typed text exactly when the two fold alike, in a
// small document (each text checked against the document's) and in a large one on every
// way a large document is read: as it holds them, on several threads, kept, and kept in
// part.
TEST_F(CaseFoldSearchTest, aNameIsFoundByTheTypedWordsExactlyWhenTheyFoldAlike)
{
    QList<Vd> rows;
    for (int i = 0; i < int(std::size(kFolds)); ++i)
        rows.append(Vd(QStringLiteral("W%1").arg(i + 1)).name(text(kFolds[i].stored)).notes("-"));
    SearchFieldBoxes name;
    name.selectOnly(int(FieldBox::Name));
    auto check = [&](WordSearch &search, const char *how) {
        for (int i = 0; i < int(std::size(kFolds)); ++i) {
            const Fold &row = kFolds[i];
            const QStringList found = test::texts(search.search(doc(), text(row.typed), name), &SearchResult::wid);
            EXPECT_EQ(found.contains(QStringLiteral("W%1").arg(i + 1)), row.same)
                << how << ": " << row.stored << " / " << row.typed;
        }
    };
    open(rows);
    WordSearch small;
    check(small, "small");

    for (int i = 100; i < 100 + kParallelFillFrom; ++i)
        rows.append(Vd(QStringLiteral("W%1").arg(i)).name(QStringLiteral("filler %1").arg(i)));
    open(rows);
    WordSearch held(1), threads(8), kept(1), inPart(1);
    check(held, "held");
    check(threads, "threads");
    ASSERT_TRUE(kept.prepareKeptTexts(doc(), SearchName));
    while (!kept.buildKeptTexts(doc(), kKeptTextsSlice)) {
    }
    check(kept, "kept");
    EXPECT_EQ(kept.lastPath(), SearchPath::Kept);
    ASSERT_TRUE(inPart.prepareKeptTexts(doc(), SearchName));
    inPart.buildKeptTexts(doc(), 8); // the first eight kept, the rest read as held
    check(inPart, "kept in part");
    EXPECT_EQ(inPart.lastPath(), SearchPath::KeptThenHeld);
}

TEST(CaseFoldHistory, aTextTakesTheEntryOfTheSameTextInAnotherCaseExactlyWhenTheyFoldAlike)
{
    for (const Fold &row : kFolds) {
        QStringList history = {text(row.stored), "other"};
        recordSearchText(history, text(row.typed), 15);
        const QStringList expected =
            row.same ? QStringList{text(row.typed), "other"} : QStringList{text(row.typed), text(row.stored), "other"};
        EXPECT_EQ(history, expected) << row.stored << " / " << row.typed;
    }
}

TEST(CaseFoldSort, rowsSortAsTheirFoldedTextsCompare)
{
    struct Row {
        QString name;
    };
    QList<Row> rows;
    for (const Fold &row : kFolds)
        rows << Row{text(row.stored)} << Row{text(row.typed)};
    for (const Fold &row : kFolds) {
        const int order = caselessCompare(text(row.stored), text(row.typed));
        const int folded = QString::compare(text(row.stored).toCaseFolded(), text(row.typed).toCaseFolded());
        EXPECT_EQ(order < 0, folded < 0) << row.stored << " / " << row.typed;
        EXPECT_EQ(order == 0, row.same) << row.stored << " / " << row.typed;
    }
    sortRowsByText(
        rows, [](const Row &r) { return r.name; }, false);
    for (qsizetype i = 1; i < rows.size(); ++i)
        EXPECT_LE(QString::compare(rows[i - 1].name.toCaseFolded(), rows[i].name.toCaseFolded()), 0)
            << qPrintable(rows[i - 1].name) << " before " << qPrintable(rows[i].name);
    // Texts that fold alike are neighbours: "ΟΔΟΣ" and "οδος".
    const QStringList names = test::texts(rows, &Row::name);
    EXPECT_EQ(std::abs(names.indexOf("ΟΔΟΣ") - names.indexOf("οδος")), 1);
}
