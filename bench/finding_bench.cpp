// Times the word search over a generated collection of 32,767 Vardecks, checks every
// result against the naive walk that rebuilds and lower-cases every Vardeck's searched
// text on every search, and prints each figure beside its goal:
//   warm searches (document unchanged), rare, absent and common words apart,
//     against the naive walk                                         goal >= 15 each
//   warm search, rare word, against buku --deep's search             goal >= 10
//   the first search after the database is opened, rare word,
//     against buku --deep's first search after it opens its database goal >= 1.5
//     (without buku: against the naive walk on a fresh document)     goal >= 1
// and the search cache's memory beside the file's size. A first search that reads the
// texts as the document holds them leaves the kept texts to be made afterwards: they
// are made slice by slice, as the window does while idle, before any warm search is
// timed, and the slices' times are printed. Common words stop at 500 results; rare
// and absent words read every Vardeck.
//
// The peer: when buku is installed, the same Vardecks are exported as a bookmarks.html
// (name, address, keywords as tags, description) and imported once with
// `buku --import` into a buku database in a temporary home. Its search is what
// `buku --deep -s WORD --np --nc` runs, searchdb(deep) on its open database, timed
// inside its own process so that the interpreter's start-up is left out as the
// program's is; the whole command is timed too and printed for reference.
//
// Every pair is timed in turn, round by round; figures are min/median/max in ms and
// ratios are the other's time over ours, round by round. Exits non-zero when a goal is
// missed or a result differs.
// Usage: finding_bench [runs] [vardecks]; for timing from outside, see outsideMode.
#include "benchtime.h"
#include "collectiongen.h"
#include "finding/wordsearch.h"
#include "storage/session.h"
#include "storage/xmldatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
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

// The collection as a bookmark file that buku imports: one link per Vardeck, its
// keywords as tags and its description in the <DD> inside the link's <DT>.
void writeBookmarkFile(const XmlDocument &doc, const QString &path)
{
    QByteArray out = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                     "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                     "<TITLE>Bookmarks</TITLE>\n<H1>Bookmarks</H1>\n<DL><p>\n";
    for (const XmlNode &vd : doc.documentElement().getElementsByTagName(QStringLiteral("VARDECK"))) {
        auto field = [&](const char *name) { return vd.childText(QLatin1String(name)).toHtmlEscaped().toUtf8(); };
        out += "<DT><A HREF=\"" + field("ADDRESS") + "\" TAGS=\"" + field("KEYWORD1").replace(' ', ',') + "\">" +
               field("NAME") + "</A><DD>" + field("DESCRIPTION") + "</DD></DT>\n";
    }
    out += "</DL><p>\n";
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(out);
}

// Runs buku's own search in a Python process of its own, one request per line:
// "first WORD" opens the database anew and searches it once, "warm WORD" searches the
// database opened at the start; each answer is the search's milliseconds and count.
const char *const kBukuDriver = R"PY(
import importlib.machinery, importlib.util, sys, time
loader = importlib.machinery.SourceFileLoader('buku', sys.argv[1])
spec = importlib.util.spec_from_loader('buku', loader)
buku = importlib.util.module_from_spec(spec)
loader.exec_module(buku)
db = sys.argv[2]
kept = buku.BukuDb(dbfile=db, colorize=False)
kept.searchdb(['warm up'], False, True)
print('ready', flush=True)
for line in sys.stdin:
    kind, word = line.rstrip('\n').split(' ', 1)
    bdb = buku.BukuDb(dbfile=db, colorize=False) if kind == 'first' else kept
    start = time.perf_counter()
    found = bdb.searchdb([word], False, True)
    print('%.4f %d' % ((time.perf_counter() - start) * 1e3, len(found)), flush=True)
    if bdb is not kept:
        bdb.close()
)PY";

class BukuPeer
{
public:
    // Null when buku or its interpreter is missing or the import fails; why is printed.
    static std::unique_ptr<BukuPeer> start(const XmlDocument &doc, const QString &folder)
    {
        const QString buku = QStringLiteral("/usr/bin/buku");
        QFile script(buku);
        if (!script.open(QIODevice::ReadOnly)) {
            std::printf("buku is not installed: the peer is missing, the figures below compare with the naive walk "
                        "only\n");
            return nullptr;
        }
        // The interpreter buku names on its first line, with the modules it needs.
        const QByteArray interpreter = script.readLine().mid(2).trimmed();
        auto peer = std::unique_ptr<BukuPeer>(new BukuPeer);
        peer->m_buku = buku;
        peer->m_home = folder + QStringLiteral("/buku-home");
        QDir().mkpath(peer->m_home);
        peer->m_env = QProcessEnvironment::systemEnvironment();
        peer->m_env.insert(QStringLiteral("HOME"), peer->m_home);
        peer->m_env.insert(QStringLiteral("XDG_DATA_HOME"), peer->m_home + QStringLiteral("/share"));
        const QString html = folder + QStringLiteral("/bookmarks.html");
        writeBookmarkFile(doc, html);

        const auto importStart = std::chrono::steady_clock::now();
        QProcess import;
        import.setProcessEnvironment(peer->m_env);
        import.setStandardOutputFile(QProcess::nullDevice());
        import.setStandardErrorFile(QProcess::nullDevice());
        import.start(buku, {QStringLiteral("--nostdin"), QStringLiteral("--import"), html});
        // "n": no parent folders as tags, nothing appended to existing ones.
        import.write(QByteArray("n\n").repeated(8));
        import.closeWriteChannel();
        const bool imported = import.waitForFinished(30 * 60 * 1000) && import.exitCode() == 0;
        const QString db = peer->m_home + QStringLiteral("/share/buku/bookmarks.db");
        if (!imported || !QFileInfo::exists(db)) {
            std::printf("buku could not import the bookmark file: the peer is missing\n");
            return nullptr;
        }
        peer->m_driver.setProcessEnvironment(peer->m_env);
        peer->m_driver.setStandardErrorFile(QProcess::nullDevice());
        peer->m_driver.start(QString::fromLocal8Bit(interpreter),
                             {QStringLiteral("-W"), QStringLiteral("ignore"), QStringLiteral("-c"),
                              QString::fromUtf8(kBukuDriver), buku, db});
        if (!peer->m_driver.waitForStarted() || peer->readAnswer() != "ready") {
            std::printf("buku's search could not be run in %s: the peer is missing\n", interpreter.constData());
            return nullptr;
        }
        std::printf("peer: buku 4.7 (database of the same Vardecks imported in %.1f s)\n",
                    bench::msSince(importStart) / 1000);
        return peer;
    }

    ~BukuPeer()
    {
        m_driver.closeWriteChannel();
        if (!m_driver.waitForFinished(5000))
            m_driver.kill();
        m_driver.waitForFinished();
    }

    // The milliseconds of one search, the first after its database is opened or one
    // on the database it keeps open; the count of what it found in *found.
    double search(bool first, const QString &word, int *found)
    {
        m_driver.write((first ? "first " : "warm ") + word.toUtf8() + '\n');
        const QList<QByteArray> answer = readAnswer().split(' ');
        *found = answer.size() == 2 ? answer[1].toInt() : -1;
        return answer.size() == 2 ? answer[0].toDouble() : -1;
    }

    // The whole command, interpreter start-up included.
    double wholeCommand(const QString &word)
    {
        QProcess run;
        run.setProcessEnvironment(m_env);
        run.setStandardOutputFile(QProcess::nullDevice());
        run.setStandardErrorFile(QProcess::nullDevice());
        return bench::timeMs([&] {
            run.start(m_buku, {QStringLiteral("--nostdin"), QStringLiteral("--deep"), QStringLiteral("-s"), word,
                               QStringLiteral("--np"), QStringLiteral("--nc")});
            run.waitForFinished(60000);
        });
    }

private:
    BukuPeer() = default;

    QByteArray readAnswer()
    {
        while (!m_driver.canReadLine())
            if (!m_driver.waitForReadyRead(120000))
                return {};
        return m_driver.readLine().trimmed();
    }

    QString m_buku;
    QString m_home;
    QProcessEnvironment m_env;
    QProcess m_driver;
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
        writeBookmarkFile(*db.getTheDOM(), args[2] + QStringLiteral("/bookmarks.html"));
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
    std::unique_ptr<BukuPeer> buku = BukuPeer::start(doc, dir.path());

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
    bool good = true;
    // Per kind, the naive walk's and the kept texts' medians summed.
    std::map<std::string, std::pair<double, double>> kinds;
    std::printf("%d Vardecks (%.1f MB), %d rounds, %d processors; times in ms as min/median/max\n", vardecks,
                QFileInfo(path).size() / 1e6, runs, QThread::idealThreadCount());
    for (const Query &q : queries) {
        SearchFieldBoxes boxes;
        boxes.selectOnly(q.box);
        const QList<SearchResult> expected = naiveSearch(doc, q.text, boxes.mask());
        // The first search with these boxes reads the texts as the document holds them.
        QList<SearchResult> got = search.search(&doc, q.text, boxes);
        const bool firstSame = got == expected;
        finishKeptTexts(search, doc);
        const bench::PairTimes t = bench::alternate(runs, {{}, [&] { got = search.search(&doc, q.text, boxes); }, {}},
                                                    {{}, [&] { naiveSearch(doc, q.text, boxes.mask()); }, {}});
        const bool same = firstSame && got == expected;
        good = good && same;
        kinds[q.kind].first += t.b.median;
        kinds[q.kind].second += t.a.median;
        std::printf("%-6s box %d %-28s results %3lld | kept texts %s | naive %s | ratio %6.2f%s\n", q.kind, q.box,
                    qPrintable(QLatin1Char('"') + q.text + QLatin1Char('"')), static_cast<long long>(got.size()),
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
    if (buku) {
        int found = 0;
        search.search(&doc, rare, all);
        finishKeptTexts(search, doc);
        const bench::PairTimes t = bench::alternate(runs, {{}, [&] { search.search(&doc, rare, all); }, {}},
                                                    {{}, {}, [&] { return buku->search(false, rare, &found); }});
        good = goalLine("warm search, rare word", t, "kept texts", "buku --deep", 10) && good;
    }

    // The first search after an open, on a document opened afresh each round (untimed).
    {
        std::unique_ptr<XMLDatabase> fresh;
        QList<SearchResult> first, naive;
        auto reopen = [&] {
            fresh = std::make_unique<XMLDatabase>();
            fresh->openDBValidate(path);
        };
        const bench::Step ours{reopen, [&] { first = WordSearch().search(fresh->getTheDOM(), rare, all); }, {}};
        const bench::PairTimes vsNaive = bench::alternate(
            runs, ours, {reopen, [&] { naive = naiveSearch(*fresh->getTheDOM(), rare, SearchAllData); }, {}});
        const bool same = first == naive && !first.isEmpty();
        good = good && same;
        const bool naiveMet = goalLine("first search after open, rare word", vsNaive, "ours", "naive walk", 1);
        if (buku) {
            int found = 0;
            const bench::PairTimes vsBuku =
                bench::alternate(runs, ours, {{}, {}, [&] { return buku->search(true, rare, &found); }});
            good = goalLine("first search after open, rare word", vsBuku, "ours", "buku --deep", 1.5) && good;
            std::vector<double> whole;
            for (int i = 0; i < std::min(runs, 5); ++i)
                whole.push_back(buku->wholeCommand(rare));
            std::printf("  (ours found %lld, buku %d; the whole command buku --deep -s %s --np --nc, interpreter "
                        "start-up included: %s ms)\n",
                        static_cast<long long>(first.size()), found, qPrintable(rare),
                        bench::formatSpread(bench::spreadOf(whole)).c_str());
        } else {
            good = good && naiveMet;
        }
        if (!same)
            std::printf("  RESULTS DIFFER\n");
    }

    // The search cache's memory, for "All Vardeck data", and the making of the kept
    // texts after a first search.
    {
        WordSearch probe;
        probe.search(&doc, rare, all);
        const std::vector<double> slices = finishKeptTexts(probe, doc);
        double total = 0;
        for (double ms : slices)
            total += ms;
        std::printf("kept texts made after the first search: %zu slice(s) of up to %d Vardecks, %.2f ms in all, "
                    "the longest %.2f ms\n",
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
            QList<SearchResult> afterEdit;
            times.push_back(bench::timeMs([&] { afterEdit = search.search(&doc, word, all); }));
            found = found && afterEdit == naiveSearch(doc, word, SearchAllData) && afterEdit.size() == i + 1;
        }
        good = good && found;
        std::printf("search after editing one Vardeck: %s ms, %s\n",
                    bench::formatSpread(bench::spreadOf(times)).c_str(), found ? "found" : "MISSED");
    }
    std::printf("%s\n", good ? "every goal met, results identical" : "A GOAL WAS MISSED OR A RESULT DIFFERS");
    return good ? 0 : 1;
}
