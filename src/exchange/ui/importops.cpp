// The imports of the Import/Export window that add new top-level folders: the
// Favorites folder, a folder of PDF documents, and the bookmark files of Firefox and
// Mozilla.
#include "exchange/bookmarkimport.h"
#include "exchange/folderimport.h"
#include "exchange/ui/exchangeops.h"
#include "exchange/ui/frmdirselect.h"
#include "exchange/ui/frmimportexport.h"
#include "exchange/ui/frmprogress.h"
#include "platform/firefoxfolders.h"
#include "platform/prompt.h"

#include <QDir>
#include <QFileInfo>

namespace rr
{

void frmImportExport::importIEFavorites()
{
    if (!checkDatabaseOpen(w.db) || !dropEditBeforeImport(w.commands))
        return;
    if (!prompt::askYesNo(QStringLiteral("You are about to import your Internet Explorer favorite folders and Internet "
                                         "shortcuts on this computer into Razuzezu Revidod.  Do you wish to proceed?"),
                          MsgIcon::None, QStringLiteral("Import Internet Explorer favorites?")))
        return;
    if (favoritesPath.isEmpty() || !QFileInfo(favoritesPath).isDir()) {
        prompt::show(QStringLiteral("The Favorites folder %1 does not exist, so nothing was imported.")
                         .arg(QDir::toNativeSeparators(favoritesPath)),
                     MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    const QString folder = favoritesPath;
    // Every run makes a new top folder of this name, beside those of earlier runs.
    runImport(w, *this,
              {QStringLiteral("Searching for favorites folders..."), true,
               [folder](ImportBuilder &builder, frmProgress *progress, ImportNotes *notes, QString *error) {
                   FolderImport walk(builder, progress);
                   const bool done =
                       walk.loadFavsFromFoundColl({folder}, WalkMode::Shortcuts, QStringLiteral("Imported favorites"));
                   notes->skipped = walk.skippedItems();
                   notes->movedFolders = walk.movedFolders();
                   notes->moved = walk.movedItems();
                   notes->withoutAddress = int(walk.withoutAddressItems().size());
                   notes->withoutAddressItems = walk.withoutAddressItems();
                   *error = walk.error();
                   return done;
               }});
}

void frmImportExport::importPDFDocuments()
{
    if (!checkDatabaseOpen(w.db) || !dropEditBeforeImport(w.commands))
        return;
    const std::optional<FolderChoice> choice = chooseFolder ? chooseFolder(this) : std::nullopt;
    if (!choice || choice->folder.isEmpty())
        return;
    // The picker ran its own event loop: the database may have changed meanwhile.
    if (!checkDatabaseOpen(w.db))
        return;
    const QString folder = choice->folder;
    const bool includeSubfolders = choice->includeSubfolders;
    runImport(w, *this,
              {QStringLiteral("Searching for PDF files..."), false,
               [folder, includeSubfolders](ImportBuilder &builder, frmProgress *progress, ImportNotes *notes,
                                           QString *error) {
                   FolderImport walk(builder, progress);
                   const bool done = walk.loadFavsFromFoundColl(
                       {folder}, WalkMode::Documents, QStringLiteral("Imported PDF documents"), includeSubfolders);
                   notes->skipped = walk.skippedItems();
                   *error = walk.error();
                   return done;
               }});
}

QStringList frmImportExport::firefoxRoots() const
{
    // Firefox's own folder first (the one the messages name), then the XDG, snap and
    // flatpak places the page capture also reads.
    QStringList roots = firefoxFolders(appDataPath);
    roots[0] = firefoxRoot;
    return roots;
}

void frmImportExport::importFirefoxBookmarks()
{
    importBookmarksFiles(firefoxRoots(), QStringLiteral("Imported Firefox bookmarks"),
                         QStringLiteral("You are about to import your Firefox bookmarks on this computer into Razuzezu "
                                        "Revidod.  Do you wish to proceed?"));
}

void frmImportExport::importMozillaBookmarks()
{
    importBookmarksFiles({mozillaRoot}, QStringLiteral("Imported Mozilla/Netscape bookmarks"),
                         QStringLiteral("You are about to import your Mozilla/Netscape bookmarks on this computer into "
                                        "Razuzezu Revidod.  Do you wish to proceed?"));
}

void frmImportExport::importBookmarksFiles(const QStringList &roots, const QString &topName, const QString &question)
{
    if (!checkDatabaseOpen(w.db) || !dropEditBeforeImport(w.commands))
        return;
    if (!prompt::askYesNo(question, MsgIcon::None, QStringLiteral("Import bookmarks?")))
        return;
    QStringList existing;
    for (const QString &root : roots) {
        if (QFileInfo(root).isDir())
            existing << QDir::toNativeSeparators(root);
    }
    if (existing.isEmpty()) {
        prompt::show(QStringLiteral("The folder ") + QDir::toNativeSeparators(roots.value(0)) +
                     QStringLiteral(" could not be found"));
        return;
    }
    const QStringList files = findBookmarksFiles(roots, true);
    if (files.isEmpty()) {
        prompt::show(QStringLiteral("No bookmarks files could be found in ") + existing.join(QStringLiteral(", ")) +
                     QStringLiteral(" or any of its subfolders."));
        return;
    }
    runImport(w, *this,
              {QStringLiteral("Searching for bookmarks..."), true,
               [files, topName](ImportBuilder &builder, frmProgress *progress, ImportNotes *notes, QString *error) {
                   BookmarkFileImport import(builder, progress);
                   const bool done = import.run(files, topName);
                   notes->read = import.readItems();
                   notes->skipped = import.skippedItems();
                   notes->movedFolders = import.movedFolders();
                   notes->moved = import.movedItems();
                   notes->withoutAddress = import.withoutAddress();
                   notes->withoutAddressItems = import.withoutAddressItems();
                   *error = import.error();
                   return done;
               }});
}

} // namespace rr
