#include "exchange/favoritesexport.h"

#include "exchange/exchangenames.h"
#include "exchange/internetshortcut.h"
#include "platform/atomicfile.h"
#include "storage/record.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace rr
{
namespace
{

// The number of the last numbered target name ("Imported Vardecks 32767").
constexpr int kLastTargetNumber = 32767;

// Creates a new directory; never follows or reuses what is there already.
bool makeDirectory(const QString &path, int *errorNumber)
{
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
        return true;
    *errorNumber = errno;
    return false;
}

QString errorText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

// Writes a new file (never one already there); nothing is left of it on failure.
bool writeNewFile(const QString &path, const QByteArray &bytes, QString *error)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        *error = writeFailureText(path, errno);
        return false;
    }
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    int failure = 0;
    while (left > 0 && failure == 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno != EINTR)
            failure = errno;
        if (n > 0) {
            data += n;
            left -= n;
        }
    }
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0)
        return true;
    ::unlink(name.constData());
    *error = writeFailureText(path, failure);
    return false;
}

// Makes the tree's folders as it walks it and notes each Vardeck's file; the files
// are written afterwards, all together. On a journalling file system a run of new
// files in a folder made just before is several times slower than the same files
// written once every folder is there.
class FolderWriter
{
public:
    FolderWriter(FavoritesExportResult &result, const std::function<void()> &keepAlive)
        : m_result(result), m_keepAlive(keepAlive)
    {
    }

    void createIEFolder(const XmlNode &folder, const QString &path, QSet<QString> &takenInPath)
    {
        const QString name = folder.childText(tag::Name);
        const QString dir =
            path + QLatin1Char('/') + uniqueEntryName(path, safePathComponent(name), QString(), takenInPath);
        int errorNumber = 0;
        if (!makeDirectory(dir, &errorNumber)) {
            m_result.failures << QStringLiteral("Folder \"%1\": %2").arg(name, errorText(errorNumber));
            return;
        }
        ++m_result.folders;
        keepAlive();
        QSet<QString> taken;
        createIEBookmarks(folder.child(tag::Vardecks), dir, taken);
        for (const XmlNode &sub : folder.child(tag::SubFolders).childElements()) {
            if (sub.nodeName() == tag::Folder)
                createIEFolder(sub, dir, taken);
        }
    }

    // Writes the files noted by the walk.
    void writeFiles()
    {
        for (const File &file : std::as_const(m_files)) {
            QString error;
            if (writeNewFile(file.path, shortcutFileBytes(file.address), &error))
                ++m_result.vardecks;
            else
                m_result.failures << QStringLiteral("Vardeck \"%1\": %2").arg(file.name, error);
            keepAlive();
        }
        m_files.clear();
    }

private:
    struct File {
        QString path;
        QString name;
        QString address;
    };

    void keepAlive() const
    {
        if (m_keepAlive)
            m_keepAlive();
    }

    void createIEBookmarks(const XmlNode &vardecks, const QString &dir, QSet<QString> &taken)
    {
        for (const XmlNode &vardeck : vardecks.childElements()) {
            if (vardeck.nodeName() != tag::Vardeck)
                continue;
            const QString name = vardeck.childText(tag::Name);
            m_files.push_back(
                {dir + QLatin1Char('/') + uniqueEntryName(dir, safePathComponent(name), QStringLiteral(".url"), taken),
                 name, vardeck.childText(tag::Address)});
        }
    }

    FavoritesExportResult &m_result;
    const std::function<void()> &m_keepAlive;
    std::vector<File> m_files;
};

} // namespace

FavoritesExportResult exportToFavorites(const XmlDocument &doc, const QString &favoritesPath,
                                        const std::function<void()> &keepAlive)
{
    FavoritesExportResult result;
    if (favoritesPath.isEmpty() || !QFileInfo(favoritesPath).isDir()) {
        result.error = QStringLiteral("The Favorites folder %1 does not exist, so nothing was exported.")
                           .arg(QDir::toNativeSeparators(favoritesPath));
        return result;
    }
    // A write past the file-size limit fails with an error rather than ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    const QString base = QDir::cleanPath(favoritesPath) + QStringLiteral("/Imported Vardecks");
    QString target = base;
    int errorNumber = 0;
    for (int n = 1; !makeDirectory(target, &errorNumber); ++n) {
        if (errorNumber != EEXIST || n > kLastTargetNumber) {
            result.error = QStringLiteral("The folder %1 could not be created (%2), so nothing was exported.")
                               .arg(QDir::toNativeSeparators(target), errorText(errorNumber));
            return result;
        }
        target = base + QLatin1Char(' ') + QString::number(n);
    }
    result.targetDir = target;
    // Opened before anything is written, so that the flush at the end also reports a
    // failure of the disk while the files were being written.
    const int targetFd = ::open(QFile::encodeName(target).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int openError = targetFd < 0 ? errno : 0;
    FolderWriter writer(result, keepAlive);
    QSet<QString> taken;
    for (const XmlNode &folder : doc.documentElement().childElements()) {
        if (folder.nodeName() == tag::Folder)
            writer.createIEFolder(folder, target, taken);
    }
    writer.writeFiles();
    // One flush makes every file and folder of the tree safe at once; the Favorites
    // folder, which now names the target, lies on the same file system.
    int flushError = openError;
    if (targetFd >= 0) {
        if (::syncfs(targetFd) != 0)
            flushError = errno;
        ::close(targetFd);
    }
    if (flushError != 0)
        result.error = QStringLiteral("Your Vardecks were written to %1, but they could not be made safe on the disk "
                                      "(%2), so they may be incomplete.")
                           .arg(QDir::toNativeSeparators(target), errorText(flushError));
    return result;
}

} // namespace rr
