// Times the export to the Favorites folder of a generated collection of 32,767
// Vardecks, against the floor of writing the same folders and files plainly (make
// each folder, open, write and close each file) followed by one flush of the file
// system. The two run in turn, so that a change of the machine's pace touches both.
//   export / (plain writes + one flush)   target <= 1.5
// Usage: favexport_bench [runs]
#include "collectiongen.h"
#include "exchange/favoritesexport.h"
#include "platform/xmldocument.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace rr;

namespace
{

constexpr double kTarget = 1.5;

struct Tree {
    QStringList folders; // relative, parents first
    QList<QPair<QString, QByteArray>> files;
};

// The folders and files an export wrote, to be written again plainly.
Tree listTree(const QString &root)
{
    Tree tree;
    QDirIterator it(root, QDir::Dirs | QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        if (it.fileInfo().isDir()) {
            tree.folders << relative;
        } else {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            tree.files.append({relative, file.readAll()});
        }
    }
    std::sort(tree.folders.begin(), tree.folders.end(),
              [](const QString &a, const QString &b) { return a.count(QLatin1Char('/')) < b.count(QLatin1Char('/')); });
    return tree;
}

void writePlainly(const Tree &tree, const QString &root)
{
    QDir().mkdir(root);
    for (const QString &folder : tree.folders)
        ::mkdir(QFile::encodeName(root + QLatin1Char('/') + folder).constData(), 0777);
    for (const auto &[relative, bytes] : tree.files) {
        const int fd = ::open(QFile::encodeName(root + QLatin1Char('/') + relative).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0)
            continue;
        if (::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size())
            std::printf("short write\n");
        ::close(fd);
    }
    const int fd = ::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ::syncfs(fd);
    ::close(fd);
}

double msSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 3;
    QTemporaryDir work;
    bench::CollectionShape shape;
    shape.vardecks = 32767;
    const QString path =
        bench::writeCollection(work.filePath(QStringLiteral("db")), QStringLiteral("Vardecks.xml"), shape);
    XmlDocument doc;
    if (!doc.load(path)) {
        std::printf("the collection did not load: %s\n", qPrintable(doc.parseErrorReason()));
        return 1;
    }
    const QString favorites = work.filePath(QStringLiteral("Favorites"));
    QDir().mkpath(favorites);

    std::vector<double> exportMs;
    std::vector<double> plainMs;
    Tree tree;
    bool whole = true;
    for (int i = 0; i < runs; ++i) {
        QDir(favorites + QStringLiteral("/Imported Vardecks")).removeRecursively();
        QDir(work.filePath(QStringLiteral("plain"))).removeRecursively();
        ::sync();
        auto start = std::chrono::steady_clock::now();
        const FavoritesExportResult result = exportToFavorites(doc, favorites);
        exportMs.push_back(msSince(start));
        whole = whole && result.error.isEmpty() && result.failures.isEmpty() && result.vardecks == shape.vardecks;
        if (i == 0)
            tree = listTree(result.targetDir);
        ::sync();
        start = std::chrono::steady_clock::now();
        writePlainly(tree, work.filePath(QStringLiteral("plain")));
        plainMs.push_back(msSince(start));
    }
    std::sort(exportMs.begin(), exportMs.end());
    std::sort(plainMs.begin(), plainMs.end());
    const double exportMedian = exportMs[exportMs.size() / 2];
    const double plainMedian = plainMs[plainMs.size() / 2];
    const double ratio = exportMedian / plainMedian;
    std::printf("%d Vardecks in %lld folders, median of %d runs:\n", shape.vardecks,
                static_cast<long long>(tree.folders.size()), runs);
    std::printf("  export to Favorites                      %8.1f ms%s\n", exportMedian,
                whole ? "" : "  (NOT every Vardeck written)");
    std::printf("  the same files written plainly + 1 flush %8.1f ms\n", plainMedian);
    std::printf("  export / plain: %.2f (target <= %.1f) %s\n", ratio, kTarget, ratio <= kTarget ? "met" : "MISSED");
    return whole && ratio <= kTarget ? 0 : 1;
}
