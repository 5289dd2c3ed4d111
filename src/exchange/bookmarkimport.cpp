#include "exchange/bookmarkimport.h"

#include "exchange/bookmarkfile.h"
#include "platform/textutil.h"

#include <QDir>
#include <QFileInfo>

namespace rr
{
namespace
{

constexpr int kMaxWalkDepth = 32;

void walk(const QString &path, bool backups, int depth, QStringList *found)
{
    const QDir dir(path);
    const int before = found->size();
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                                                    QDir::Name | QDir::IgnoreCase | QDir::DirsLast);
    QFileInfoList folders;
    for (const QFileInfo &entry : entries) {
        if (entry.isDir()) {
            if (!entry.isSymLink())
                folders << entry;
        } else if (sameText(entry.fileName(), QLatin1String("bookmarks.html"))) {
            *found << entry.absoluteFilePath();
        }
    }
    if (depth < kMaxWalkDepth) {
        for (const QFileInfo &folder : std::as_const(folders))
            walk(folder.absoluteFilePath(), backups, depth + 1, found);
    }
    if (!backups || found->size() > before || !dir.exists(QStringLiteral("bookmarkbackups")))
        return;
    // Backups are named "bookmarks-YYYY-MM-DD_…", so the last by name is the newest.
    const QFileInfoList saved = QDir(dir.filePath(QStringLiteral("bookmarkbackups")))
                                    .entryInfoList({QStringLiteral("*.jsonlz4")}, QDir::Files, QDir::Name);
    if (!saved.isEmpty())
        *found << saved.last().absoluteFilePath();
}

} // namespace

QStringList findBookmarksFiles(const QStringList &roots, bool backups)
{
    QStringList found;
    for (const QString &root : roots) {
        if (QFileInfo(root).isDir())
            walk(root, backups, 0, &found);
    }
    return found;
}

BookmarkFileImport::BookmarkFileImport(ImportBuilder &builder, ImportProgress *progress)
    : m_builder(builder), m_progress(progress)
{
}

bool BookmarkFileImport::run(const QStringList &files, const QString &topName)
{
    const XmlNode top = m_builder.createFolderNode(topName, QString());
    if (!top) {
        m_error = m_builder.error();
        return false;
    }
    for (const QString &path : files) {
        QList<BookmarkEntry> entries;
        QString reason;
        bool read = false;
        const auto readFile = [&] { read = readBookmarkFile(path, &entries, &reason); };
        // Reading a large file reports nothing as it goes: the window may run it aside.
        if (m_progress)
            m_progress->runLongStep(readFile);
        else
            readFile();
        if (!read) {
            m_skipped << QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
            continue;
        }
        // Each heading's folder, its level (the top folder is level 1) and the folder
        // that holds it.
        struct Placed {
            XmlNode folder;
            int level;
            XmlNode holder;
        };
        QList<Placed> headings;
        int kept = 0;
        for (const BookmarkEntry &entry : std::as_const(entries)) {
            const bool inHeading = entry.heading >= 0 && entry.heading < headings.size();
            if (entry.kind == BookmarkEntry::Kind::Heading) {
                Placed enclosing = inHeading ? headings[entry.heading] : Placed{top, 1, XmlNode()};
                // The database holds folders kMaxFolderLevels deep at most: deeper
                // headings become folders beside the deepest one, with all they hold.
                if (enclosing.level >= kMaxFolderLevels) {
                    enclosing = {enclosing.holder, enclosing.level - 1, XmlNode()};
                    ++kept;
                }
                const XmlNode folder =
                    m_builder.createFolderNode(entry.text, enclosing.folder.attribute(QStringLiteral("TID")));
                if (!folder) {
                    m_error = m_builder.error();
                    return false;
                }
                headings << Placed{folder, enclosing.level + 1, enclosing.folder};
                ++m_builder.importFolderCount;
                if (m_progress)
                    m_progress->setFolderCount(m_builder.importFolderCount);
                continue;
            }
            const XmlNode folder = inHeading ? headings[entry.heading].folder : top;
            if (!m_builder.createVDNode(folder, entry.text, entry.address)) {
                m_error = m_builder.error();
                return false;
            }
            ++m_builder.importVDCount;
            if (m_progress)
                m_progress->setVardeckCount(m_builder.importVDCount);
        }
        if (kept > 0)
            m_skipped << QDir::toNativeSeparators(path) +
                             QStringLiteral(": %1 folders nested more than %2 levels deep were put at level %2")
                                 .arg(kept)
                                 .arg(kMaxFolderLevels);
    }
    return true;
}

} // namespace rr
