#include "platform/paths.h"

#include "platform/atomicfile.h"
#include "platform/filelock.h"
#include "platform/pendingfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rr::paths
{
namespace
{

const char kVendorPath[] = "/Quorvane/Vardecks";
constexpr mode_t kPrivateFolderMode = 0700;
constexpr mode_t kGroupAndOthers = 077;
constexpr int kMaxTightenDepth = 16;

QString envFolder(const char *name)
{
    const QString value = qEnvironmentVariable(name);
    return value.isEmpty() ? QString() : QDir::cleanPath(value);
}

QString xdgFolder(const char *variable, const char *fallbackBelowHome)
{
    QString base = envFolder(variable);
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QLatin1String(fallbackBelowHome);
    return base + QLatin1String(kVendorPath);
}

bool copyIfMissing(const QString &from, const QString &to)
{
    if (QFileInfo::exists(to))
        return true;
    makeFolder(QFileInfo(to).absolutePath());
    if (!QFile::copy(from, to))
        return false;
    // Installed data may be read-only; the user's copy must be writable.
    keepPrivate(to);
    return true;
}

// Takes read, write and search rights from group and others for everything below
// the open folder; links are not followed.
void tightenBelow(int folderFd, int depth)
{
    DIR *dir = ::fdopendir(folderFd);
    if (!dir) {
        ::close(folderFd);
        return;
    }
    while (const dirent *entry = ::readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        struct stat st;
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            if (st.st_mode & kGroupAndOthers)
                ::fchmodat(::dirfd(dir), entry->d_name, kPrivateFolderMode, 0);
            const int child = ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (child >= 0 && depth < kMaxTightenDepth)
                tightenBelow(child, depth + 1);
            else if (child >= 0)
                ::close(child);
        } else if (S_ISREG(st.st_mode) && (st.st_mode & kGroupAndOthers)) {
            ::fchmodat(::dirfd(dir), entry->d_name, st.st_mode & 0700, 0);
        }
    }
    ::closedir(dir);
}

// A private folder that an older version made readable by others is made private,
// with all it holds. One that is private already is left as it is: what this
// program writes there is private from the start.
void tightenWhenOpen(const QString &folder)
{
    const QByteArray path = QFile::encodeName(folder);
    struct stat st;
    if (::stat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || !(st.st_mode & kGroupAndOthers))
        return;
    ::chmod(path.constData(), kPrivateFolderMode);
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
        tightenBelow(fd, 0);
}

bool isInside(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + QLatin1Char('/'));
}

} // namespace

QString programFolder()
{
    const QString home = envFolder("RAZUZEZU_HOME");
    if (!home.isEmpty())
        return home + QLatin1String("/data");
    return xdgFolder("XDG_DATA_HOME", "/.local/share");
}

QString databaseFolder()
{
    return programFolder() + QLatin1String("/DeVivozoda/");
}

QString configFolder()
{
    const QString home = envFolder("RAZUZEZU_HOME");
    if (!home.isEmpty())
        return home + QLatin1String("/config");
    return xdgFolder("XDG_CONFIG_HOME", "/.config");
}

QString installedDataFolder()
{
    const QString fromEnv = envFolder("RAZUZEZU_DATA_DIR");
    if (!fromEnv.isEmpty())
        return fromEnv;
    // The program's data sits beside its folder as the install lays it out
    // (bin/ and share/razuzezu-revidod/); the build folder mirrors that layout.
    if (!QCoreApplication::instance())
        return QString();
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1String("/../share/razuzezu-revidod"));
}

bool isPrivate(const QString &path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return isInside(absolute, QDir::cleanPath(QFileInfo(programFolder()).absoluteFilePath())) ||
           isInside(absolute, QDir::cleanPath(QFileInfo(configFolder()).absoluteFilePath()));
}

bool makeFolder(const QString &path)
{
    const QString absolute = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    const bool privately = isPrivate(absolute);
    // Each missing folder from the top down, so that every one made gets the mode.
    const QStringList parts = absolute.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString sofar;
    for (const QString &part : parts) {
        sofar += QLatin1Char('/') + part;
        const QByteArray name = QFile::encodeName(sofar);
        if (::mkdir(name.constData(), privately ? kPrivateFolderMode : 0777) == 0) {
            // The umask may have taken rights from the owner too.
            if (privately)
                ::chmod(name.constData(), kPrivateFolderMode);
        } else if (errno != EEXIST && !QFileInfo(sofar).isDir()) {
            return false;
        }
    }
    return QFileInfo(absolute).isDir();
}

void keepPrivate(const QString &file)
{
    if (isPrivate(file))
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

bool prepareProgramFolder(QString *error)
{
    for (const QString &folder : {programFolder(), configFolder()})
        tightenWhenOpen(folder);
    const QString dbFolder = databaseFolder();
    const bool firstRun = !QFileInfo::exists(dbFolder);
    for (const QString &folder : {dbFolder, configFolder()}) {
        if (!makeFolder(folder)) {
            if (error)
                *error = QStringLiteral("The folder %1 could not be created.").arg(folder);
            return false;
        }
    }
    const QString seed = installedDataFolder() + QLatin1String("/DeVivozoda");
    QDirIterator it(seed, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString relative = QDir(seed).relativeFilePath(from);
        const bool isDatabase =
            relative.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive) && !relative.contains(QLatin1Char('/'));
        if (isDatabase && !firstRun)
            continue;
        copyIfMissing(from, dbFolder + relative);
    }
    return true;
}

int removeSaveLeftovers()
{
    int removed = rr::removeSaveLeftovers(programFolder()) + rr::removeSaveLeftovers(configFolder());
    // The lock of a settings write whose process was killed goes; a live holder keeps
    // its lock.
    const QDir config(configFolder());
    for (const QString &name : config.entryList({QStringLiteral("*.lock")}, QDir::Files | QDir::Hidden))
        removed += FileLock::removeIfUnheld(config.filePath(name)) ? 1 : 0;
    // What a killed print left beside the file it was to write.
    return removed + pendingfiles::removeLeftovers();
}

} // namespace rr::paths
