// Times the word search over a generated collection of 32,767 Vardecks, checks every
// result and count against the naive walk that rebuilds and folds every Vardeck's
// searched text on every search, and prints each figure beside its goal:
//   warm searches (document unchanged), rare, absent and common words apart,
//     against the naive walk                                         goal >= 15 each
//   warm search, rare word, against buku --deep's search             goal >= 10
//   the searches a user types after the database is opened, rare word, each on a
//   document opened afresh, with the kept texts made as the window makes them from
//   the moment it is shown (a slice at each idle turn of the event loop):
//     right after the window is shown, before a slice is made,
//       against the first search without kept texts being made      goal >= 0.9
//     while the kept texts are half made, against the same          goal >= 0.9
//       (never slower: 0.9 leaves room for the noise of two like walks, which the
//       two are right after the window is shown, and on many processors also while
//       half is kept, where the search reads the texts on several threads until three
//       quarters are kept; these two pairs run twice as many rounds, each of the
//       two going first in turn)
//     0.3 s after the window is shown, against buku --deep's first
//       search after it opens its database                         goal >= 5
//       (without buku: against the first search without kept texts)
//   the peak memory while the kept texts are made, beside their own size
//                                                                    goal <= 1.1
// and the kept texts' slices and memory beside the file's size. Every search counts
// every match as the window's does ("2,632 (500 listed)"), so every search reads
// every Vardeck; 500 are listed.
//
// The peer, buku, is described in bukupeer.h. Every pair is timed in turn, round by
// round; figures are min/median/max in ms and ratios are the other's time over ours,
// round by round. The line of processors the program may run on says which of the
// three counts (1, 2, all: run it under taskset) the figures are for. Exits non-zero
// when a goal is missed or a result differs.
// Usage: finding_bench [runs] [vardecks]; for timing from outside, see outsideMode.
#include "benchtime.h"
#include "bukupeer.h"
#include "collectiongen.h"
#include "finding/wordsearch.h"
#include "storage/session.h"
#include "storage/xmldatabase.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

using namespace rr;

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

struct Naive {
    QList<SearchResult> listed;
    qsizetype matching = 0;
    bool operator==(const Naive &) const = default;
};

// The naive walk: the searched text of every Vardeck is read through the DOM,
// converted and folded again on every search; the match count follows the
// step-by-step rule (restart at 1, continue one character after the last start).
// Every match is counted, the first 500 listed.
Naive naiveSearch(const XmlDocument &doc, const QString &text, SearchFieldMask mask)
{
    QStringList words = text.isEmpty() ? QStringList() : text.split(QLatin1Char(' '));
    for (QString &w : words)
        w = w.toCaseFolded();
    Naive naive;
    for (const XmlNode &vd : doc.documentElement().getElementsByTagName(QStringLiteral("VARDECK"))) {
        const QString searched = searchedText(vd, mask).toCaseFolded();
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
        ++naive.matching;
        if (naive.listed.size() < kMaxSearchResults)
            naive.listed.append({vd.attribute(QStringLiteral("WID")), count});
    }
    return naive;
}

// The window's search: every match counted.
Naive counted(WordSearch &search, const XmlDocument *doc, const QString &text, const SearchFieldBoxes &boxes)
{
    Naive found;
    found.listed = search.search(doc, text, boxes, &found.matching);
    return found;
}

struct Query {
    const char *kind;
    QString text;
    int box; // the one ticked field box
};

// Makes the kept texts a search left to be made afterwards, slice by slice, as the
// window does while it is idle; the slices' milliseconds.
std::vector<double> finishKeptTexts(WordSearch &search, const XmlDocument &doc)
{
    std::vector<double> slices;
    for (bool done = false; !done;)
        slices.push_back(bench::timeMs([&] { done = search.buildKeptTexts(&doc, kKeptTextsSlice); }));
    return slices;
}

bool goalLine(const char *what, const bench::PairTimes &t, const char *ours, const char *theirs, double goal)
{
    const bool met = t.ratio.median >= goal;
    std::printf("%s: %s %s ms vs %s %s ms: ratio %s, median %.2f (goal >= %.1f) %s\n", what, ours,
                bench::formatSpread(t.a).c_str(), theirs, bench::formatSpread(t.b).c_str(),
                bench::formatSpread(t.ratio).c_str(), t.ratio.median, goal, bench::verdict(met));
    return met;
}

// As bench::alternate, but the two go first in turn, round by round: two like walks on
// documents opened one after the other differ by some percent by which goes first.
bench::PairTimes inTurn(int rounds, const bench::Step &a, const bench::Step &b)
{
    std::vector<double> ta, tb, ratio;
    auto run = [](const bench::Step &step) {
        if (step.before)
            step.before();
        return step.measure ? step.measure() : bench::timeMs(step.body);
    };
    for (int i = 0; i < rounds; ++i) {
        if (i % 2 == 0) {
            ta.push_back(run(a));
            tb.push_back(run(b));
        } else {
            tb.push_back(run(b));
            ta.push_back(run(a));
        }
        ratio.push_back(tb.back() / ta.back());
    }
    return {bench::spreadOf(std::move(ta)), bench::spreadOf(std::move(tb)), bench::spreadOf(std::move(ratio))};
}

// The most resident memory this process has held so far, in bytes.
qint64 peakMemory()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

// Lets the event loop run for ms milliseconds, as the window's runs while the user
// reaches for the keyboard.
void runEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// A document opened afresh with the search the window keeps for it, and the making of
// its kept texts, which the window starts once it is shown.
struct Opened {
    std::unique_ptr<XMLDatabase> db;
    std::unique_ptr<WordSearch> search;
    std::unique_ptr<KeptTextsBuilder> builder;

    void open(const QString &path)
    {
        builder.reset();
        search = std::make_unique<WordSearch>();
        db = std::make_unique<XMLDatabase>();
        db->openDBValidate(path);
        const XmlDocument *doc = db->getTheDOM();
        builder = std::make_unique<KeptTextsBuilder>(
            *search, [doc] { return doc; }, [] { return SearchFieldMask(SearchAllData); });
    }
    const XmlDocument *doc() const { return db->getTheDOM(); }
};

// For timing from outside, as a whole process, against buku's command:
//   finding_bench --write FOLDER [vardecks]   the collection and its bookmark file
//   finding_bench --search-once DATABASE WORD  opens the database, searches once in
//                                              all data and prints the count
int outsideMode(const QStringList &args)
{
    if (args.size() >= 3 && args[1] == QLatin1String("--write")) {
        bench::CollectionShape shape;
        shape.vardecks = args.size() > 3 ? std::max(1, args[3].toInt()) : 32767;
        const QString path = bench::writeCollection(args[2], "Vardecks.xml", shape);
        XMLDatabase db;
        if (!db.openDBValidate(path)) {
            std::fprintf(stderr, "cannot open the generated collection\n");
            return 1;
        }
        bench::writeBookmarkFile(*db.getTheDOM(), args[2] + QStringLiteral("/bookmarks.html"));
        std::printf("%s\n%s/bookmarks.html\n", qPrintable(path), qPrintable(args[2]));
        return 0;
    }
    if (args.size() == 4 && args[1] == QLatin1String("--search-once")) {
        XMLDatabase db;
        if (!db.openDBValidate(args[2])) {
            std::fprintf(stderr, "cannot open %s\n", qPrintable(args[2]));
            return 1;
        }
        std::printf("%lld\n", static_cast<long long>(WordSearch().search(db.getTheDOM(), args[3], {}).size()));
        return 0;
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    rr::Session benchSession;
    if (const int outside = outsideMode(QCoreApplication::arguments()); outside >= 0)
        return outside;
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
    bool good = true;
    std::printf("%d Vardecks (%.1f MB), %d rounds, %d processor(s) the program may run on; times in ms as "
                "min/median/max\n",
                vardecks, QFileInfo(path).size() / 1e6, runs, QThread::idealThreadCount());

    // The kept texts made as the window makes them, with nothing else held yet but the
    // document: the peak memory grows by their own size at most.
    {
        const qint64 before = peakMemory();
        WordSearch made;
        KeptTextsBuilder builder(
            made, [&doc] { return &doc; }, [] { return SearchFieldMask(SearchAllData); });
        builder.follow();
        while (builder.busy())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const qint64 grown = std::max<qint64>(peakMemory() - before, 0);
        const qsizetype held = made.cache().heldBytes();
        const double ratio = double(grown) / double(std::max<qsizetype>(held, 1));
        const bool met = ratio <= 1.1;
        good = good && met;
        std::printf("peak memory while the kept texts are made: grew by %.1f MB, the kept texts hold %.1f MB: "
                    "ratio %.2f (goal <= 1.1) %s\n",
                    grown / 1e6, held / 1e6, ratio, bench::verdict(met));
    }

    std::unique_ptr<bench::BukuPeer> buku = bench::BukuPeer::start(doc, dir.path());
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
    // Per kind, the naive walk's and the kept texts' medians summed.
    std::map<std::string, std::pair<double, double>> kinds;
    for (const Query &q : queries) {
        SearchFieldBoxes boxes;
        boxes.selectOnly(q.box);
        const Naive expected = naiveSearch(doc, q.text, boxes.mask());
        // The first search with these boxes reads the texts as the document holds them.
        Naive got = counted(search, &doc, q.text, boxes);
        const bool firstSame = got == expected;
        finishKeptTexts(search, doc);
        const bench::PairTimes t = bench::alternate(runs, {{}, [&] { got = counted(search, &doc, q.text, boxes); }, {}},
                                                    {{}, [&] { naiveSearch(doc, q.text, boxes.mask()); }, {}});
        const bool same = firstSame && got == expected;
        good = good && same;
        kinds[q.kind].first += t.b.median;
        kinds[q.kind].second += t.a.median;
        std::printf("%-6s box %d %-28s found %5lld | kept texts %s | naive %s | ratio %6.2f%s\n", q.kind, q.box,
                    qPrintable(QLatin1Char('"') + q.text + QLatin1Char('"')), static_cast<long long>(got.matching),
                    bench::formatSpread(t.a).c_str(), bench::formatSpread(t.b).c_str(), t.ratio.median,
                    same ? "" : "  RESULTS DIFFER");
    }
    for (const auto &[kind, sums] : kinds) {
        const double ratio = sums.first / sums.second;
        const bool met = ratio >= 15;
        good = good && met;
        std::printf("warm, %-6s words: naive %8.2f ms, kept texts %6.2f ms (medians summed): ratio %6.2f "
                    "(goal >= 15) %s\n",
                    kind.c_str(), sums.first, sums.second, ratio, bench::verdict(met));
    }
    const QString rare = QStringLiteral("page3276");
    SearchFieldBoxes all;
    const Naive rareExpected = naiveSearch(doc, rare, SearchAllData);
    if (buku) {
        int found = 0;
        search.search(&doc, rare, all);
        finishKeptTexts(search, doc);
        const bench::PairTimes t = bench::alternate(runs, {{}, [&] { counted(search, &doc, rare, all); }, {}},
                                                    {{}, {}, [&] { return buku->search(false, rare, &found); }});
        good = goalLine("warm search, rare word", t, "kept texts", "buku --deep", 10) && good;
    }

    // The searches a user types after the database is opened, each round on a document
    // opened afresh (untimed), as the window shows it.
    {
        // One document at a time, each opened in place of the last whichever search
        // comes next: two documents kept side by side lie apart in memory, and the walk
        // of one was some percent slower than of the other, the same walk.
        Opened opened;
        Opened &ours = opened;
        Opened &plain = opened;
        bool same = true;
        auto check = [&](const Opened &opened, const Naive &got) {
            same = same && got == naiveSearch(*opened.doc(), rare, SearchAllData) && got == rareExpected;
        };
        Naive got;
        // Today's first search: no kept texts being made.
        const bench::Step first{
            [&] { plain.open(path); }, [&] { got = counted(*plain.search, plain.doc(), rare, all); }, {}};
        // The step timed alone, its result checked afterwards.
        auto checked = [&](const bench::Step &step, const Opened &opened) {
            return bench::Step{step.before, {}, [body = step.body, &got, &check, &opened] {
                                   const double ms = bench::timeMs(body);
                                   check(opened, got);
                                   return ms;
                               }};
        };

        // Right after the window is shown: the making started, no slice made yet.
        const bench::Step shown{[&] {
                                    ours.open(path);
                                    ours.builder->follow();
                                },
                                [&] { got = counted(*ours.search, ours.doc(), rare, all); },
                                {}};
        good = goalLine("search right after the window is shown, rare word",
                        inTurn(2 * runs, checked(shown, ours), checked(first, plain)), "ours",
                        "first search without kept texts", 0.9) &&
               good;
        // Half of the kept texts made.
        const bench::Step half{[&] {
                                   ours.open(path);
                                   ours.search->prepareKeptTexts(ours.doc(), SearchAllData);
                                   ours.search->buildKeptTexts(ours.doc(), ours.doc()->countElements("VARDECK") / 2);
                               },
                               [&] { got = counted(*ours.search, ours.doc(), rare, all); },
                               {}};
        good = goalLine("search while the kept texts are half made, rare word",
                        inTurn(2 * runs, checked(half, ours), checked(first, plain)), "ours",
                        "first search without kept texts", 0.9) &&
               good;
        // 0.3 s after the window is shown, the event loop idle meanwhile.
        int ready = 0;
        const bench::Step later{[&] {
                                    ours.open(path);
                                    ours.builder->follow();
                                    runEventLoop(300);
                                },
                                [&] {
                                    got = counted(*ours.search, ours.doc(), rare, all);
                                    ready += ours.search->lastPath() == SearchPath::Kept;
                                },
                                {}};
        if (buku) {
            int found = 0;
            good = goalLine("search 0.3 s after the window is shown, rare word",
                            bench::alternate(runs, checked(later, ours),
                                             {{}, {}, [&] { return buku->search(true, rare, &found); }}),
                            "ours", "buku --deep's first", 5) &&
                   good;
            std::vector<double> whole;
            for (int i = 0; i < std::min(runs, 5); ++i)
                whole.push_back(buku->wholeCommand(rare));
            std::printf("  (kept texts ready in %d of %d rounds; ours found %lld, buku %d; the whole command buku "
                        "--deep -s %s --np --nc, interpreter start-up included: %s ms)\n",
                        ready, runs, static_cast<long long>(got.matching), found, qPrintable(rare),
                        bench::formatSpread(bench::spreadOf(whole)).c_str());
        } else {
            good = goalLine("search 0.3 s after the window is shown, rare word",
                            bench::alternate(runs, checked(later, ours), checked(first, plain)), "ours",
                            "first search without kept texts", 5) &&
                   good;
        }
        good = good && same;
        if (!same)
            std::printf("  RESULTS DIFFER\n");
    }

    // The search cache's memory, for "All Vardeck data", and the making of the kept
    // texts a slice at a time.
    {
        WordSearch probe;
        probe.prepareKeptTexts(&doc, SearchAllData);
        const std::vector<double> slices = finishKeptTexts(probe, doc);
        double total = 0;
        for (double ms : slices)
            total += ms;
        std::printf("kept texts made: %zu slice(s) of up to %d Vardecks, %.2f ms in all, the longest %.2f ms\n",
                    slices.size(), kKeptTextsSlice, total, *std::max_element(slices.begin(), slices.end()));
        const qsizetype held = probe.cache().heldBytes();
        std::printf("search cache: %.1f MB for %lld Vardecks (%.2f x the file)\n", held / 1e6,
                    static_cast<long long>(probe.cache().size()), double(held) / QFileInfo(path).size());
    }

    // One edited Vardeck each round: the next search notices it.
    {
        const QString word = QStringLiteral("qqxyzzy");
        search.search(&doc, word, all);
        std::vector<double> times;
        bool found = true;
        for (int i = 0; i < runs; ++i) {
            XmlNode edited = doc.nodeFromID(QStringLiteral("W%1").arg(vardecks / 2 + i));
            edited.setChildText(QStringLiteral("NOTES"),
                                edited.childText(QStringLiteral("NOTES")) + QLatin1Char(' ') + word);
            Naive afterEdit;
            times.push_back(bench::timeMs([&] { afterEdit = counted(search, &doc, word, all); }));
            found = found && afterEdit == naiveSearch(doc, word, SearchAllData) && afterEdit.matching == i + 1;
        }
        good = good && found;
        std::printf("search after editing one Vardeck: %s ms, %s\n",
                    bench::formatSpread(bench::spreadOf(times)).c_str(), found ? "found" : "MISSED");
    }
    std::printf("%s\n", good ? "every goal met, results identical" : "A GOAL WAS MISSED OR A RESULT DIFFERS");
    return good ? 0 : 1;
}
