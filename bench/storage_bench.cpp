// Times opening and saving databases of 1,000, 10,000 and 32,767 Vardecks and prints
// each figure with the ratios against the bare library operations:
//   open        vs a bare xmlReadFile of the same file (target <= 1.3)
//   add + save  vs serialising and fsync-writing the same bytes (target <= 1.2)
// Usage: storage_bench [runs] [folder to keep the generated databases in]
#include "collectiongen.h"
#include "platform/atomicfile.h"
#include "storage/xmldatabase.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <libxml/parser.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using namespace rr;

namespace {

double medianMs(int runs, const std::function<void()> &body, const std::function<void()> &between = {})
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (between)
            between();
        const auto start = std::chrono::steady_clock::now();
        body();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

XmlNode newVardeck(XmlDocument &doc, const QString &wid)
{
    XmlNode vd = doc.createElement("VARDECK");
    vd.setAttribute("WID", wid);
    const char *children[] = {"NAME", "ADDRESS", "CREATED_DATE", "DESCRIPTION", "KEYWORD1",
                              "NOTES", "KEYWORD2", "FILESIZE", "HITS", "FAV"};
    for (const char *c : children)
        vd.appendChild(doc.createTextElement(c, QStringLiteral("AT&T café %1").arg(c)));
    return vd;
}

void benchmarkSize(const QString &folder, int vardecks, int runs)
{
    bench::CollectionShape shape;
    shape.vardecks = vardecks;
    const QString path = bench::writeCollection(folder, QStringLiteral("db%1.xml").arg(vardecks), shape);
    const QByteArray nativePath = path.toLocal8Bit();

    // Opening is timed without freeing what an earlier run loaded, for both sides.
    xmlDocPtr bareDoc = nullptr;
    const double bare = medianMs(
        runs, [&] { bareDoc = xmlReadFile(nativePath.constData(), nullptr, 0); },
        [&] {
            xmlFreeDoc(bareDoc);
            bareDoc = nullptr;
        });
    xmlFreeDoc(bareDoc);
    auto opened = std::make_unique<XMLDatabase>();
    const double open = medianMs(
        runs, [&] { opened->openDBValidate(path); }, [&] { opened = std::make_unique<XMLDatabase>(); });
    XMLDatabase &db = *opened;
    db.setPath(path);

    XmlDocument &doc = *db.getTheDOM();
    const int calls = 2000;
    const double newWid = medianMs(runs, [&] {
                              for (int i = 0; i < calls; ++i)
                                  db.getNewWID();
                          }) / calls;

    const double saveAlone = medianMs(runs, [&] { db.save(); });
    const double baseline = medianMs(runs, [&] { writeFileAtomically(path, doc.toBytes()); });

    // At the identifier limit, the added Vardeck is the last one the rule can give.
    XmlNode target = doc.documentElement().firstChild().child("VARDECKS");
    if (vardecks >= 32767)
        doc.nodeFromID(QStringLiteral("W%1").arg(vardecks)).parentNode().removeChild(
            doc.nodeFromID(QStringLiteral("W%1").arg(vardecks)));
    const double addSave = medianMs(
        runs,
        [&] {
            const QString wid = db.getNewWID();
            target.appendChild(newVardeck(doc, wid));
            db.save();
        },
        [&] {
            // Take the previous run's addition out again, untimed.
            if (XmlNode added = doc.nodeFromID(QStringLiteral("W%1").arg(doc.countElements("VARDECK"))))
                if (doc.countElements("VARDECK") >= vardecks)
                    added.parentNode().removeChild(added);
        });

    std::printf("%6d Vardecks: bare read %7.2f ms | open %7.2f ms (ratio %.2f) | getNewWID %.4f ms | "
                "save %7.2f ms | serialise+fsync %7.2f ms | add+save %7.2f ms (ratio %.2f)\n",
                vardecks, bare, open, open / bare, newWid, saveAlone, baseline, addSave, addSave / baseline);
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    QTemporaryDir dir;
    qputenv("RAZUZEZU_HOME", dir.path().toUtf8());
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : dir.path() + QStringLiteral("/DeVivozoda");
    for (int n : {1000, 10000, 32767})
        benchmarkSize(folder, n, runs);
    return 0;
}
