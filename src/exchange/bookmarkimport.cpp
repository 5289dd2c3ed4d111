#include "exchange/bookmarkimport.h"

#include "exchange/bookmarkfile.h"
#include "platform/textutil.h"
#include "storage/record.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace rr
{
namespace
{

constexpr int kMaxWalkDepth = 32;

// The time a file tells the bookmarks as they were. A backup whose bookmarks did not
// change since the one before is not written again: the browser renames that one to
// the day's name ("bookmarks-YYYY-MM-DD_…") and leaves its time as it was, so a
// backup holds the bookmarks of the start of the day its name gives at least.
QDateTime bookmarksAsOf(const QString &path)
{
    const QFileInfo file(path);
    const QDateTime written = file.lastModified().toUTC();
    static const QRegularExpression dated(QStringLiteral("^bookmarks-(\\d{4}-\\d{2}-\\d{2})[_.]"));
    const QRegularExpressionMatch match = dated.match(file.fileName());
    if (!match.hasMatch() || !path.endsWith(QLatin1String(".jsonlz4"), Qt::CaseInsensitive))
        return written;
    const QDate day = QDate::fromString(match.captured(1), Qt::ISODate);
    const QDateTime named = day.isValid() ? day.startOfDay().toUTC() : QDateTime();
    return written.isValid() && written > named ? written : named;
}

// The newer of two files by bookmarksAsOf ("" is older than any); the same time keeps a.
const QString &newer(const QString &a, const QString &b)
{
    return bookmarksAsOf(b) > bookmarksAsOf(a) ? b : a;
}

void walk(const QString &path, bool backups, int depth, QStringList *found)
{
    const QDir dir(path);
    const qsizetype before = found->size();
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
    if (!backups || !dir.exists(QStringLiteral("bookmarkbackups")))
        return;
    // A profile: the browser writes a backup of its bookmarks every day it is used (a
    // later one the same day replaces that day's file), but a "bookmarks.html" only when
    // asked, so either may be the older. The profile gives the newer.
    QString newest;
    const QFileInfoList saved = QDir(dir.filePath(QStringLiteral("bookmarkbackups")))
                                    .entryInfoList({QStringLiteral("*.jsonlz4")}, QDir::Files, QDir::Name);
    // Backups of the same time go by name (their date); a bookmarks.html of the same
    // time as the newest backup gives way to it.
    for (const QFileInfo &backup : saved)
        newest = newer(backup.absoluteFilePath(), newest);
    for (qsizetype i = before; i < found->size(); ++i)
        newest = newer(newest, found->at(i));
    if (newest.isEmpty())
        return;
    found->resize(before);
    *found << newest;
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

QString bookmarkFileNote(const QString &path)
{
    return QDir::toNativeSeparators(path) + QStringLiteral(", written ") +
           QFileInfo(path).lastModified().toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

BookmarkFileImport::BookmarkFileImport(ImportBuilder &builder, ImportProgress *progress)
    : m_builder(builder), m_progress(progress)
{
}

bool BookmarkFileImport::readFile(const QString &path, QList<BookmarkEntry> *entries, QString *reason)
{
    bool read = false;
    const auto readIt = [&] { read = readBookmarkFile(path, entries, reason); };
    // Reading a large file reports nothing as it goes: the window may run it aside.
    if (m_progress)
        m_progress->runLongStep(readIt);
    else
        readIt();
    return read;
}

bool BookmarkFileImport::stop(const QList<BookmarkSource> &sources, qsizetype source,
                              const QList<BookmarkEntry> &entries, qsizetype entry, bool topPending, bool ownTops)
{
    m_error = m_builder.error();
    const std::optional<Numbered> usedUp = m_builder.numbersUsedUp();
    if (!usedUp)
        return false;
    // The numbers ran out: the user is told how many the whole import holds, so every
    // entry not yet made, in this file and the files after it, is counted.
    const auto kind = *usedUp == Numbered::Folders ? BookmarkEntry::Kind::Heading : BookmarkEntry::Kind::Link;
    // Links without an address would make no Vardeck.
    const auto count = [kind](const QList<BookmarkEntry> &list, qsizetype from) {
        return int(std::count_if(list.cbegin() + from, list.cend(), [kind](const BookmarkEntry &e) {
            return e.kind == kind &&
                   (kind == BookmarkEntry::Kind::Heading || !ImportBuilder::importedAddress(e.address).isEmpty());
        }));
    };
    const bool folders = kind == BookmarkEntry::Kind::Heading;
    // The top folders are folders of the import too, the one that could not be made
    // as well.
    int importing =
        folders ? m_topFolders + (topPending ? 1 : 0) + m_builder.importFolderCount : m_builder.importVDCount;
    importing += count(entries, entry);
    for (qsizetype later = source + 1; later < sources.size(); ++later) {
        QList<BookmarkEntry> rest;
        QString reason;
        if (readFile(sources[later].path, &rest, &reason))
            importing += count(rest, 0) + (folders && ownTops ? 1 : 0);
    }
    m_error = m_builder.usedUpReason(importing);
    return false;
}

bool BookmarkFileImport::run(const QStringList &files, const QString &topName)
{
    QList<BookmarkSource> sources;
    for (const QString &path : files)
        sources << BookmarkSource{path, topName};
    const XmlNode top = m_builder.createFolderNode(topName, QString());
    if (!top)
        return stop(sources, -1, {}, 0, true, false);
    ++m_topFolders;
    for (qsizetype f = 0; f < sources.size(); ++f) {
        if (!importFile(sources, f, top))
            return false;
    }
    return true;
}

bool BookmarkFileImport::runEach(const QList<BookmarkSource> &sources)
{
    for (qsizetype f = 0; f < sources.size(); ++f) {
        if (!importFile(sources, f, XmlNode()))
            return false;
    }
    return true;
}

bool BookmarkFileImport::importFile(const QList<BookmarkSource> &sources, qsizetype index, XmlNode top)
{
    const QString &path = sources[index].path;
    const bool ownTop = !top;
    QList<BookmarkEntry> entries;
    QString reason;
    if (m_progress) {
        m_progress->setFolderName(QStringLiteral("Reading ") + QDir::toNativeSeparators(path));
        m_progress->flush();
    }
    if (!readFile(path, &entries, &reason)) {
        m_skipped << QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason;
        return true;
    }
    m_read << bookmarkFileNote(path);
    if (ownTop) {
        top = m_builder.createFolderNode(sources[index].topName, QString());
        if (!top)
            return stop(sources, index, entries, 0, true, true);
        ++m_topFolders;
    }
    // Each heading's folder, its level (the top folder is level 1) and the folder
    // that holds it.
    struct Placed {
        XmlNode folder;
        int level;
        XmlNode holder;
    };
    QList<Placed> headings;
    int moved = 0;
    int withoutAddress = 0;
    for (qsizetype e = 0; e < entries.size(); ++e) {
        const BookmarkEntry &entry = entries[e];
        const bool inHeading = entry.heading >= 0 && entry.heading < headings.size();
        if (entry.kind == BookmarkEntry::Kind::Heading) {
            Placed enclosing = inHeading ? headings[entry.heading] : Placed{top, 1, XmlNode()};
            // The database holds folders kMaxFolderLevels deep at most: deeper
            // headings become folders beside the deepest one, with all they hold.
            if (enclosing.level >= kMaxFolderLevels) {
                enclosing = {enclosing.holder, enclosing.level - 1, XmlNode()};
                ++moved;
            }
            const XmlNode folder = m_builder.createFolderNode(entry.text, enclosing.folder.attribute(tag::Tid));
            if (!folder)
                return stop(sources, index, entries, e, false, ownTop);
            headings << Placed{folder, enclosing.level + 1, enclosing.folder};
            ++m_builder.importFolderCount;
            if (m_progress)
                m_progress->setFolderCount(m_builder.importFolderCount);
            continue;
        }
        if (ImportBuilder::importedAddress(entry.address).isEmpty()) {
            ++withoutAddress;
            continue;
        }
        const XmlNode folder = inHeading ? headings[entry.heading].folder : top;
        if (!m_builder.createVDNode(folder, entry.text, entry.address, entry.created))
            return stop(sources, index, entries, e, false, ownTop);
        ++m_builder.importVDCount;
        if (m_progress)
            m_progress->setVardeckCount(m_builder.importVDCount);
    }
    if (withoutAddress > 0) {
        m_withoutAddress += withoutAddress;
        m_withoutAddressItems
            << QDir::toNativeSeparators(path) +
                   QStringLiteral(": %1 links without an address were passed over").arg(withoutAddress);
    }
    if (moved > 0) {
        m_movedFolders += moved;
        m_moved << movedFoldersNote(path, moved);
    }
    return true;
}

} // namespace rr
