// Times the duplicate-address scan over a generated collection of 32,767 Vardecks, a
// tenth of them repeating an earlier address, against the pairwise scan that
// normalises the later addresses again for every address (run once: it is slow),
// checks that both find the same sets in the same order, and prints the ratio.
//   full scan vs pairwise scan   target >= 50, and well under a second
// Usage: dialogs_bench [runs] [vardecks]
#include "collectiongen.h"
#include "dialogs/duplicatesets.h"
#include "storage/session.h"
#include "storage/xmldatabase.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

using namespace rr;

namespace
{

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// Every address compared with every later one, each normalised anew each time.
QList<DuplicateSet> pairwiseScan(const XmlDocument &doc)
{
    const QList<XmlNode> a = doc.getElementsByTagName(QStringLiteral("ADDRESS"));
    QList<DuplicateSet> sets;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const QString address = normaliseAddress(a.at(i).text());
        bool grouped = false;
        for (const DuplicateSet &set : std::as_const(sets))
            if (normaliseAddress(set.first().childText(QStringLiteral("ADDRESS"))) == address) {
                grouped = true;
                break;
            }
        if (grouped)
            continue;
        DuplicateSet set;
        for (qsizetype j = i + 1; j < a.size(); ++j)
            if (normaliseAddress(a.at(j).text()) == address)
                set.append(a.at(j).parentNode());
        if (!set.isEmpty()) {
            set.append(a.at(i).parentNode());
            sets.append(set);
        }
    }
    return sets;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    rr::Session benchSession;
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    const int vardecks = argc > 2 ? std::max(2, atoi(argv[2])) : 32767;
    QTemporaryDir dir;
    qputenv("RAZUZEZU_HOME", dir.path().toUtf8());
    bench::CollectionShape shape;
    shape.vardecks = vardecks;
    shape.duplicatePercent = 10;
    const QString path = bench::writeCollection(dir.path() + QStringLiteral("/DeVivozoda"), "Vardecks.xml", shape);
    XMLDatabase db;
    if (!db.openDBValidate(path)) {
        std::fprintf(stderr, "cannot open the generated collection\n");
        return 1;
    }
    const XmlDocument &doc = *db.getTheDOM();

    QList<DuplicateSet> sets;
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        sets = findDuplicateSets(doc);
        times.push_back(msSince(start));
    }
    std::sort(times.begin(), times.end());
    const double scan = times[times.size() / 2];
    const auto start = std::chrono::steady_clock::now();
    const QList<DuplicateSet> expected = pairwiseScan(doc);
    const double pairwise = msSince(start);
    const bool same = sets == expected && !sets.isEmpty();
    std::printf("%d Vardecks, %lld duplicate sets: full scan %.2f ms (median of %d) vs pairwise scan %.0f ms: "
                "ratio %.0f (target >= 50; well under a second)%s\n",
                vardecks, static_cast<long long>(sets.size()), scan, runs, pairwise, pairwise / scan,
                same ? "" : "  SETS DIFFER");
    return same ? 0 : 1;
}
