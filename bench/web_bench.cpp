// Times the Web Aspect's own rendering of each view (stylesheet read, transform of
// the open database, page written atomically) at 32,767 Vardecks against xsltproc
// running the same stylesheet on the same file, in the same run, and checks that
// both make the same page. Usage: web_bench [runs]
#include "collectiongen.h"
#include "platform/paths.h"
#include "platform/xmldocument.h"
#include "platform/xslttransform.h"
#include "storage/session.h"
#include "web/aspectfiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

using namespace rr;

namespace
{

double medianMs(int runs, const std::function<bool()> &step)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!step())
            return -1;
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    rr::Session benchSession;
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const QString xsltproc = QStandardPaths::findExecutable(QStringLiteral("xsltproc"));
    if (xsltproc.isEmpty()) {
        std::printf("xsltproc is not installed: nothing to compare with\n");
        return 0;
    }
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    bench::CollectionShape shape;
    shape.vardecks = 32767;
    const QString db = bench::writeCollection(dir.path(), QStringLiteral("Vardecks.xml"), shape);
    if (!aspectfiles::restoreMissing(folder)) {
        std::printf("the Web Aspect's stylesheets could not be written to %s\n", qPrintable(folder));
        return 1;
    }
    XmlDocument document;
    if (!document.load(db)) {
        std::printf("the collection does not load: %s\n", qPrintable(document.parseErrorReason()));
        return 1;
    }
    // xsltproc cannot set a variable: its copy of the search view has the words written in.
    const QString searchWords = QStringLiteral("the");
    const QString searchCopy = folder + QStringLiteral("VDSearchWords.xsl");
    QFile::copy(folder + QStringLiteral("VDSearch.xsl"), searchCopy);
    QFile::setPermissions(searchCopy, QFile::permissions(searchCopy) | QFileDevice::WriteOwner);
    xslt::writeVariableText(searchCopy, {QStringLiteral("search"), searchWords}, nullptr);

    std::printf("%d Vardecks, median of %d runs\n", shape.vardecks, runs);
    bool allSame = true;
    for (const QString &view : aspectfiles::viewStylesheets()) {
        const bool search = view == QLatin1String("VDSearch.xsl");
        const QString ours = folder + QStringLiteral("ours.htm");
        const QString theirs = folder + QStringLiteral("xsltproc.htm");
        std::optional<xslt::VariableText> variable;
        if (search)
            variable = xslt::VariableText{QStringLiteral("search"), searchWords};
        QString error;
        const double ourMs =
            medianMs(runs, [&] { return xslt::transformToFile(folder + view, document, ours, &error, variable); });
        const QString stylesheet = search ? searchCopy : folder + view;
        const double theirMs = medianMs(runs, [&] {
            return QProcess::execute(xsltproc, {QStringLiteral("-o"), theirs, stylesheet, db}) == 0;
        });
        if (ourMs < 0 || theirMs < 0) {
            std::printf("%-13s failed: %s\n", qPrintable(view), qPrintable(error));
            return 1;
        }
        const QByteArray a = readAll(ours);
        const bool same = !a.isEmpty() && a == readAll(theirs);
        allSame = allSame && same;
        std::printf("%-13s transform + page write %8.1f ms   xsltproc %8.1f ms   ratio %.2f   %8lld bytes %s\n",
                    qPrintable(view), ourMs, theirMs, ourMs / theirMs, static_cast<long long>(a.size()),
                    same ? "same page" : "PAGES DIFFER");
    }
    return allSame ? 0 : 1;
}
