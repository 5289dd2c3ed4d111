#include "exchange/folderimport.h"

#include "exchange/internetshortcut.h"
#include "platform/textutil.h"
#include "storage/record.h"

#include <QDir>
#include <QStringDecoder>

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace rr
{

FolderImport::FolderImport(ImportBuilder &builder, ImportProgress *progress) : m_builder(builder), m_progress(progress)
{
}

void FolderImport::skip(const QString &path, const QString &reason)
{
    m_skipped << QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
}

bool FolderImport::stop()
{
    m_error = m_builder.error();
    return false;
}

bool FolderImport::loadFavsFromFoundColl(const QStringList &foundColl, WalkMode mode, const QString &topName,
                                         bool includeSubfolders)
{
    m_mode = mode;
    m_includeSubfolders = includeSubfolders;
    const XmlNode topFolder = m_builder.createFolderNode(topName, QString());
    if (!topFolder)
        return stop();
    const QString topTID = tidOf(topFolder);
    const int count = foundColl.size();
    for (int i = 0; i < count; ++i) {
        if (m_progress)
            m_progress->setBar(1);
        const QString path = foundColl[i];
        if (m_progress)
            m_progress->setBar(5);
        XmlNode folder = topFolder;
        if (mode == WalkMode::Shortcuts) {
            folder = m_builder.createFolderNode(QFileInfo(path).fileName() + QLatin1Char(' ') + QString::number(i + 1),
                                                topTID);
            if (!folder)
                return stop();
        }
        const int movedBefore = m_movedFolders;
        const bool walked = importFolderTree(path, true, folder);
        if (m_movedFolders > movedBefore)
            m_moved << movedFoldersNote(path, m_movedFolders - movedBefore);
        if (!walked)
            return false;
        if (m_progress)
            m_progress->fillBarTo98();
    }
    return true;
}

bool FolderImport::wouldImport(int folderFd, const char *name) const
{
    struct stat info;
    if (::fstatat(folderFd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    if (S_ISDIR(info.st_mode))
        return m_mode == WalkMode::Shortcuts || m_includeSubfolders;
    // A link to a folder is never followed; a link to a file is read like the file.
    if (S_ISLNK(info.st_mode) && ::fstatat(folderFd, name, &info, 0) == 0 && S_ISDIR(info.st_mode))
        return false;
    const QByteArray bytes(name);
    return sameText(QString::fromLatin1(bytes.right(3)), QLatin1String(m_mode == WalkMode::Shortcuts ? "URL" : "PDF"));
}

bool FolderImport::listFolder(const QString &path, QFileInfoList *files, QFileInfoList *folders)
{
    // Opening the folder tells an unreadable folder from an empty one, which a
    // listing alone does not.
    DIR *handle = ::opendir(QFile::encodeName(path).constData());
    if (!handle) {
        skip(path, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // Qt's listing leaves out the entries whose names are not UTF-8, and no path Qt
    // makes can name them: they are counted as passed over here.
    while (const dirent *entry = ::readdir(handle)) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString name = utf8(QByteArrayView(entry->d_name));
        if (utf8.hasError() && wouldImport(::dirfd(handle), entry->d_name))
            skip(path + QLatin1Char('/') + name, QStringLiteral("the name is not valid UTF-8"));
    }
    ::closedir(handle);
    const QDir dir(path);
    const QFileInfoList entries = dir.entryInfoList(
        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo &entry : entries) {
        if (entry.isSymLink() && entry.isDir())
            continue;
        if (entry.isDir())
            folders->append(entry);
        else
            files->append(entry);
    }
    return true;
}

bool FolderImport::importFolderTree(const QString &path, bool top, XmlNode parent)
{
    XmlNode current = parent;
    const QString name = QFileInfo(path).fileName();
    if (m_progress)
        m_progress->setFolderName(name);
    QFileInfoList files;
    QFileInfoList folders;
    if (!listFolder(path, &files, &folders)) {
        // An unreadable sub-folder still takes its place on the stack.
        if (!top && m_mode == WalkMode::Shortcuts)
            m_builder.popParentTID();
        return true;
    }
    if (!top) {
        current = m_builder.createFolderNode(name, m_builder.popParentTID());
        if (!current)
            return stop();
        ++m_builder.importFolderCount;
        if (m_progress)
            m_progress->setFolderCount(m_builder.importFolderCount);
    }
    for (const QFileInfo &file : std::as_const(files)) {
        if (!importFileAsVD(file, current))
            return false;
    }
    if (folders.isEmpty() || (m_mode == WalkMode::Documents && !m_includeSubfolders))
        return true;
    if (m_mode == WalkMode::Shortcuts) {
        // The database holds folders kMaxFolderLevels deep at most: deeper sub-folders
        // become folders beside the deepest one, with all they hold, as in a bookmark
        // file's import.
        XmlNode holder = current;
        if (folderLevel(current) >= kMaxFolderLevels) {
            holder = current.parentNode().parentNode();
            m_movedFolders += int(folders.size());
        }
        m_builder.pushParentTID(folders.size(), tidOf(holder));
        for (const QFileInfo &folder : std::as_const(folders)) {
            if (!importFolderTree(folder.filePath(), false, holder))
                return false;
        }
    } else {
        for (const QFileInfo &folder : std::as_const(folders)) {
            if (!importFolderTree(folder.filePath(), true, current))
                return false;
        }
    }
    return true;
}

bool FolderImport::importFileAsVD(const QFileInfo &file, XmlNode folder)
{
    const QString fileName = file.fileName();
    QString address;
    if (m_mode == WalkMode::Documents) {
        if (!fileNameEndsWith(fileName, QStringLiteral("PDF")))
            return true;
        if (!file.isFile()) {
            skip(file.filePath(), QStringLiteral("not a readable file"));
            return true;
        }
        address = QDir::toNativeSeparators(file.absoluteFilePath());
    } else {
        if (!fileNameEndsWith(fileName, QStringLiteral("URL")))
            return true;
        QString reason;
        switch (readShortcutFile(file.filePath(), &address, &reason)) {
        case ShortcutRead::NoAddress:
            address.clear();
            break;
        case ShortcutRead::Unreadable:
            m_skipped << QDir::toNativeSeparators(reason);
            return true;
        case ShortcutRead::Address:
            break;
        }
        if (ImportBuilder::importedAddress(address).isEmpty()) {
            m_withoutAddress << QDir::toNativeSeparators(file.filePath()) + QStringLiteral(": it holds no address");
            return true;
        }
    }
    if (!m_builder.createVDNode(folder, nameFromFileName(fileName), address))
        return stop();
    ++m_builder.importVDCount;
    if (m_progress)
        m_progress->setVardeckCount(m_builder.importVDCount);
    return true;
}

} // namespace rr
