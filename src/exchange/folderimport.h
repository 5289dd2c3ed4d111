#pragma once
// The folder walk of the Favorites and PDF imports: every folder of a list, with its
// sub-folders, becomes folders and Vardecks of one new top-level folder.
//
// Shortcut mode ("Imported favorites"): each listed folder becomes a folder named
// after it with its position ("Favorites 1"); its shortcut files become Vardecks, then
// each sub-folder a folder of the same name, depth first, files and folders sorted
// by name. Document mode ("Imported PDF documents"): the PDF files of the listed
// folders, and with includeSubfolders of every folder below them, go straight into
// the top folder, their paths kept exactly as the addresses.
//
// A shortcut file without an address (none, empty or blank) makes no Vardeck and is
// counted apart.
//
// The walk never follows a symbolic link to a folder (a link back up the tree would
// never end) and does not go deeper than the database can hold. A file or folder that
// cannot be read, or whose name is not UTF-8, is passed over and counted; only a
// failure of the database itself (identifiers used up) stops the walk, and the caller
// then takes back what it added.
#include "exchange/importbuilder.h"

#include <QFileInfo>
#include <QStringList>

namespace rr
{

enum class WalkMode { Shortcuts, Documents };

class FolderImport
{
public:
    FolderImport(ImportBuilder &builder, ImportProgress *progress = nullptr);

    // Creates the top folder (named topName) and walks every folder of foundColl in
    // order. False when the walk was stopped: error() says why.
    bool loadFavsFromFoundColl(const QStringList &foundColl, WalkMode mode, const QString &topName,
                               bool includeSubfolders = false);

    int skipped() const { return m_skipped.size(); }
    // The files and folders passed over, each with its reason.
    const QStringList &skippedItems() const { return m_skipped; }
    // The shortcut files passed over because their address is missing, empty or blank.
    const QStringList &withoutAddressItems() const { return m_withoutAddress; }
    QString error() const { return m_error; }

    // Sub-folders nested more deeply than a database holds, put beside the deepest
    // folder with all they hold, and a note for each listed folder that had any.
    int movedFolders() const { return m_movedFolders; }
    const QStringList &movedItems() const { return m_moved; }

private:
    bool importFolderTree(const QString &path, bool top, XmlNode parent);
    bool importFileAsVD(const QFileInfo &file, XmlNode folder);
    // The folder's files and walkable sub-folders, sorted by name; false (and the
    // folder counted as passed over) when it cannot be read. Entries the walk would
    // take but whose names are not UTF-8 are counted as passed over.
    bool listFolder(const QString &path, QFileInfoList *files, QFileInfoList *folders);
    // Whether the walk would take the entry name of the open folder folderFd.
    bool wouldImport(int folderFd, const char *name) const;
    void skip(const QString &path, const QString &reason);
    bool stop();

    ImportBuilder &m_builder;
    ImportProgress *m_progress;
    WalkMode m_mode = WalkMode::Shortcuts;
    bool m_includeSubfolders = false;
    QStringList m_skipped;
    QStringList m_withoutAddress;
    int m_movedFolders = 0;
    QStringList m_moved;
    QString m_error;
};

} // namespace rr
