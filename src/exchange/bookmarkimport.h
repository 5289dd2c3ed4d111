#pragma once
// The Firefox and Mozilla bookmark import: finding the bookmark files of the
// profiles, and bringing their headings and links into one new top-level folder.
//
// The folder tree is kept: each heading of a file becomes a folder inside the folder
// of its nearest enclosing heading, each link a Vardeck there; what no heading holds
// goes into the top folder itself. Headings nested more deeply than the database can
// hold become folders beside the deepest one, so no link is lost, and the file is
// listed among the skipped items with their number.
#include "exchange/importbuilder.h"

#include <QStringList>

namespace rr
{

// The files named "bookmarks.html" in any letter case below the roots, depth first,
// a folder's own files before its sub-folders, each folder's entries by name. With
// backups, a profile folder (one holding "bookmarkbackups") in which the walk finds
// no such file gives its newest "bookmarkbackups/*.jsonlz4" instead, in its place.
// Symbolic links to folders are not followed.
QStringList findBookmarksFiles(const QStringList &roots, bool backups);

class BookmarkFileImport
{
public:
    BookmarkFileImport(ImportBuilder &builder, ImportProgress *progress = nullptr);

    // Creates the top folder and imports every file into it. False when the import
    // had to stop (error() says why); a file that cannot be read is passed over.
    bool run(const QStringList &files, const QString &topName);

    const QStringList &skippedItems() const { return m_skipped; }
    QString error() const { return m_error; }

private:
    ImportBuilder &m_builder;
    ImportProgress *m_progress;
    QStringList m_skipped;
    QString m_error;
};

} // namespace rr
