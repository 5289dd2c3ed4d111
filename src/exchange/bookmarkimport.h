#pragma once
// The bookmark imports: finding the bookmark files of Firefox and Mozilla profiles,
// and bringing the headings and links of bookmark files into new top-level folders,
// all files into one (the Firefox and Mozilla imports) or each file into its own (the
// Chromium import, one folder per browser profile, and the import of one chosen file).
//
// The folder tree is kept: each heading of a file becomes a folder inside the folder
// of its nearest enclosing heading, each link a Vardeck there; what no heading holds
// goes into the top folder itself. A link without an address (empty or blank) makes
// no Vardeck and is counted. A link's address is kept as the file gives it
// (ImportBuilder::importedAddress), and its creation day where the file tells it. Headings nested more deeply than the
// database can hold become folders beside the deepest one, so no link is lost; they are counted apart from the files
// passed over, with a note for each file that had them.
#include "exchange/bookmarkfile.h"
#include "exchange/importbuilder.h"

#include <QStringList>

namespace rr
{

// The files named "bookmarks.html" in any letter case below the roots, depth first,
// a folder's own files before its sub-folders, each folder's entries by name. With
// backups, a profile folder (one holding "bookmarkbackups") gives one file in place of
// those found below it: the newest of them and of its "bookmarkbackups/*.jsonlz4" (a
// backup counts from the day its name gives when its file time is older).
// Symbolic links to folders are not followed.
QStringList findBookmarksFiles(const QStringList &roots, bool backups);

// A bookmark file as the user is told it was read: its path and the local time it was
// last written, "/p/bookmarks.html, written 2026-12-08 09:30".
QString bookmarkFileNote(const QString &path);

// A bookmark file and the name of the top folder of its own that it is imported into.
struct BookmarkSource {
    QString path;
    QString topName;
};

class BookmarkFileImport
{
public:
    BookmarkFileImport(ImportBuilder &builder, ImportProgress *progress = nullptr);

    // Creates the top folder and imports every file into it. False when the import
    // had to stop (error() says why); a file that cannot be read is passed over.
    bool run(const QStringList &files, const QString &topName);
    // Imports each file into a top folder of its own, made once the file has been
    // read: a file that cannot be read is passed over and makes no folder.
    bool runEach(const QList<BookmarkSource> &sources);

    // The files that could not be read, each with its reason.
    const QStringList &skippedItems() const { return m_skipped; }
    // The files read, each as bookmarkFileNote gives it.
    const QStringList &readItems() const { return m_read; }
    // Folders nested too deeply that were put at the deepest level, and a note for each
    // file that had them.
    int movedFolders() const { return m_movedFolders; }
    const QStringList &movedItems() const { return m_moved; }
    // Links whose address is empty or blank, passed over, and a note for each file
    // that had them.
    int withoutAddress() const { return m_withoutAddress; }
    const QStringList &withoutAddressItems() const { return m_withoutAddressItems; }
    QString error() const { return m_error; }

private:
    bool readFile(const QString &path, QList<BookmarkEntry> *entries, QString *reason);
    // Reads sources[index] into the top folder given, or into one of its own when top
    // is null; false when the import has to stop.
    bool importFile(const QList<BookmarkSource> &sources, qsizetype index, XmlNode top);
    // Stops the run at entry of sources[source] (-1: before the first file) with the
    // builder's reason; when the numbers ran out, with how many the whole import holds
    // (topPending: a top folder could not be made; ownTops: each file after that one
    // would have made a top folder of its own).
    bool stop(const QList<BookmarkSource> &sources, qsizetype source, const QList<BookmarkEntry> &entries,
              qsizetype entry, bool topPending, bool ownTops);

    ImportBuilder &m_builder;
    ImportProgress *m_progress;
    QStringList m_skipped;
    QStringList m_read;
    QStringList m_moved;
    int m_movedFolders = 0;
    int m_withoutAddress = 0;
    QStringList m_withoutAddressItems;
    QString m_error;
    int m_topFolders = 0;
};

} // namespace rr
