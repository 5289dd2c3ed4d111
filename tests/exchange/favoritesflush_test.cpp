// How the export to the Favorites folder makes its files safe on the disk: once for
// the whole tree, and a failure of that is not taken for success. The program's disk
// flushes are counted here on their way to the system (and one can be made to fail).
#include "exchange/favoritesexport.h"
#include "exchangefixture.h"

#include <atomic>
#include <cerrno>
#include <dlfcn.h>

using namespace rr;
using namespace rr::test;

namespace
{

std::atomic<int> g_flushes{0};
std::atomic<int> g_failFlushWith{0};

template <typename Function> Function systemCall(const char *name)
{
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

int flushed(int result)
{
    ++g_flushes;
    if (const int error = g_failFlushWith.load()) {
        errno = error;
        return -1;
    }
    return result;
}

} // namespace

extern "C" int fsync(int fd)
{
    static const auto call = systemCall<int (*)(int)>("fsync");
    return flushed(call(fd));
}

extern "C" int fdatasync(int fd)
{
    static const auto call = systemCall<int (*)(int)>("fdatasync");
    return flushed(call(fd));
}

extern "C" int syncfs(int fd)
{
    static const auto call = systemCall<int (*)(int)>("syncfs");
    return flushed(call(fd));
}

TEST(FavoritesExport, theWholeTreeIsMadeSafeOnTheDiskOnceAndAFailedFlushIsNoSuccess)
{
    QByteArray folders;
    for (int f = 0, wid = 1; f < 3; ++f) {
        QByteArray vardecks;
        for (int v = 0; v < 20; ++v, ++wid)
            vardecks += vardeckXml(QStringLiteral("W%1").arg(wid), QStringLiteral("site %1").arg(wid),
                                   QStringLiteral("http://site%1.example/").arg(wid));
        folders += folderXml("T" + QByteArray::number(f + 1), "Folder " + QByteArray::number(f + 1), vardecks,
                             f == 0 ? folderXml("T9", "Inner", vardeckXml("W99", "inner")) : QByteArray());
    }
    const OpenDb open("<FOLDERS>" + folders + "</FOLDERS>");
    QTemporaryDir favorites;

    int calls = 0;
    const int before = g_flushes;
    const FavoritesExportResult result = exportToFavorites(open.doc(), favorites.path(), [&] { ++calls; });
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.vardecks, 61);
    EXPECT_EQ(result.folders, 4);
    EXPECT_LE(g_flushes - before, 2) << "one flush for the tree, not one per file";
    EXPECT_GE(calls, 65) << "the window may repaint after every folder and file";
    EXPECT_EQ(readBytes(result.targetDir + "/Folder 2/site 40.url"),
              "[InternetShortcut]\r\nURL=http://site40.example/\r\n");
    EXPECT_TRUE(QFile::exists(result.targetDir + "/Folder 1/Inner/inner.url"));

    g_failFlushWith = EIO;
    const FavoritesExportResult failed = exportToFavorites(open.doc(), favorites.path());
    g_failFlushWith = 0;
    EXPECT_EQ(failed.error, "Your Vardecks were written to " + favorites.path() +
                                "/Imported Vardecks 1, but they could not be made safe on the disk "
                                "(Input/output error), so they may be incomplete.");
}
