// Times the word search over a generated collection of 32,767 Vardecks against the
// naive walk that rebuilds and lower-cases every Vardeck's searched text on every
// search, checks that both give exactly the same results, and prints the ratios:
//   warm searches (the document unchanged since the last search)   target >= 15
//   the first search after the database is opened                   target >= 1
// Common words stop at 500 results; rare and absent words read every Vardeck.
// Usage: finding_bench [runs] [vardecks]
#include "benchtime.h"
#include "collectiongen.h"
#include "finding/wordsearch.h"
#include "storage/session.h"
#include "storage/xmldatabase.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace rr;
using bench::medianMs;

namespace
{

// The position of word in text at or after from, the way the search's rules read it:
// nothing is found in an empty text, and an empty word is found at from itself.
qsizetype findFrom(const QString &text, const QString &word, qsizetype from)
{
    if (text.isEmpty() || from >= text.size())
        return -1;
    return word.isEmpty() ? from : text.indexOf(word, from);
}

// The naive walk: the searched text of every Vardeck is read through the DOM,
// converted and lower-cased again on every search; the match count follows the
// step-by-step rule (restart at 1, continue one character after the last start).
QList<SearchResult> naiveSearch(const XmlDocument &doc, const QString &text, SearchFieldMask mask)
{
    QStringList words = text.isEmpty() ? QStringList() : text.split(QLatin1Char(' '));
    for (QString &w : words)
        w = w.toLower();
    QList<SearchResult> results;
    for (const XmlNode &vd : doc.documentElement().getElementsByTagName(QStringLiteral("VARDECK"))) {
        const QString searched = searchedText(vd, mask).toLower();
        bool match = true;
        qint32 count = 0;
        for (const QString &word : std::as_const(words)) {
            qsizetype at = findFrom(searched, word, 0);
            if (at < 0) {
                match = false;
                break;
            }
            count = 1;
            while ((at = findFrom(searched, word, at + 1)) >= 0)
                ++count;
        }
        if (!match)
            continue;
        results.append({vd.attribute(QStringLiteral("WID")), count});
        if (results.size() >= kMaxSearchResults)
            break;
    }
    return results;
}

struct Query {
    const char *kind;
    QString text;
    int box; // the one ticked field box
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    rr::Session benchSession;
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    const int vardecks = argc > 2 ? std::max(1, atoi(argv[2])) : 32767;
    QTemporaryDir dir;
    qputenv("RAZUZEZU_HOME", dir.path().toUtf8());

    bench::CollectionShape shape;
    shape.vardecks = vardecks;
    const QString path = bench::writeCollection(dir.path() + QStringLiteral("/DeVivozoda"), "Vardecks.xml", shape);
    XMLDatabase db;
    db.setPath(path);
    if (!db.openDBValidate(path)) {
        std::fprintf(stderr, "cannot open the generated collection\n");
        return 1;
    }
    const XmlDocument &doc = *db.getTheDOM();

    const QList<Query> queries = {
        {"common", QStringLiteral("news"), 0},
        {"common", QStringLiteral("ZÜRICH café"), 0},
        {"rare", QStringLiteral("page3276"), 0},
        {"rare", QStringLiteral("PAGE32767.html?a=1&b=20"), 0}, // across the ADDRESS / CREATED_DATE joint
        {"rare", QStringLiteral("page3276 "), 0},               // empty last word: the text's length
        {"rare", QStringLiteral("ελλάδα page1234"), 0},
        {"absent", QStringLiteral("qqxyzzy"), 0},
        {"absent", QStringLiteral("news qqxyzzy"), 0},
        {"absent", QStringLiteral("qqxyzzy"), 1},
        {"rare", QStringLiteral("page3276"), 2},
        {"absent", QStringLiteral("qqxyzzy"), 3},
    };

    WordSearch search;
    double naiveTotal = 0, cachedTotal = 0;
    bool allSame = true;
    std::printf("%d Vardecks, median of %d runs\n", vardecks, runs);
    for (const Query &q : queries) {
        SearchFieldBoxes boxes;
        boxes.selectOnly(q.box);
        const QList<SearchResult> expected = naiveSearch(doc, q.text, boxes.mask());
        const auto cold = std::chrono::steady_clock::now();
        QList<SearchResult> got = search.search(&doc, q.text, boxes);
        const double coldMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - cold).count();
        const double naive = medianMs(runs, [&] { naiveSearch(doc, q.text, boxes.mask()); });
        const double cached = medianMs(runs, [&] { got = search.search(&doc, q.text, boxes); });
        const bool same = got == expected;
        allSame = allSame && same;
        naiveTotal += naive;
        cachedTotal += cached;
        std::printf(
            "%-6s box %d %-28s results %3lld | naive %7.2f ms | cached %6.2f ms (first %6.2f) | ratio %5.2f%s\n",
            q.kind, q.box, qPrintable(QLatin1Char('"') + q.text + QLatin1Char('"')), static_cast<long long>(got.size()),
            naive, cached, coldMs, naive / cached, same ? "" : "  RESULTS DIFFER");
    }

    // The first search after an open, against the naive walk on the same fresh document.
    {
        const QString rare = QStringLiteral("page3276");
        SearchFieldBoxes all;
        QList<SearchResult> first, naive;
        std::vector<double> firstTimes, naiveTimes;
        for (int i = 0; i < runs; ++i) {
            XMLDatabase fresh;
            fresh.openDBValidate(path);
            WordSearch newSearch;
            auto start = std::chrono::steady_clock::now();
            first = newSearch.search(fresh.getTheDOM(), rare, all);
            firstTimes.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
            XMLDatabase other;
            other.openDBValidate(path);
            start = std::chrono::steady_clock::now();
            naive = naiveSearch(*other.getTheDOM(), rare, SearchAllData);
            naiveTimes.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        std::sort(firstTimes.begin(), firstTimes.end());
        std::sort(naiveTimes.begin(), naiveTimes.end());
        const double f = firstTimes[firstTimes.size() / 2];
        const double n = naiveTimes[naiveTimes.size() / 2];
        const bool same = first == naive && !first.isEmpty();
        allSame = allSame && same;
        std::printf("first search after open, rare word: %.2f ms vs naive walk %.2f ms: ratio %.2f (target >= 1)%s\n",
                    f, n, n / f, same ? "" : "  RESULTS DIFFER");
    }

    // One edited Vardeck: the next search notices it and rebuilds only that entry.
    XmlNode edited = doc.nodeFromID(QStringLiteral("W%1").arg(vardecks / 2));
    const QString word = QStringLiteral("qqxyzzy");
    SearchFieldBoxes all;
    search.search(&doc, word, all);
    edited.setChildText(QStringLiteral("NOTES"), edited.childText(QStringLiteral("NOTES")) + QLatin1Char(' ') + word);
    const auto start = std::chrono::steady_clock::now();
    const QList<SearchResult> afterEdit = search.search(&doc, word, all);
    const double editMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const bool editSame = afterEdit == naiveSearch(doc, word, SearchAllData) && afterEdit.size() == 1;
    allSame = allSame && editSame;
    std::printf("after editing one Vardeck: %6.2f ms, %s\n", editMs, editSame ? "found" : "MISSED");

    std::printf("overall warm: naive %.2f ms, cached %.2f ms, ratio %.2f (target >= 15 for rare words); results %s\n",
                naiveTotal, cachedTotal, naiveTotal / cachedTotal, allSame ? "identical" : "DIFFER");
    return allSame ? 0 : 1;
}
