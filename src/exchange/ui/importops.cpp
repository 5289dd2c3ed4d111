// The imports of the Import/Export window that add new top-level folders: the
// Favorites folder, a folder of PDF documents, the bookmark files of Firefox, Mozilla
// and the Chromium-family browsers, and one bookmark file the user picks.
#include "exchange/bookmarkimport.h"
#include "exchange/chromiumprofiles.h"
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
namespace
{

// What a bookmark file import tells the progress window's summary.
void takeNotes(const BookmarkFileImport &import, ImportNotes *notes, QString *error)
{
    notes->read = import.readItems();
    notes->skipped = import.skippedItems();
    notes->movedFolders = import.movedFolders();
    notes->moved = import.movedItems();
    notes->withoutAddress = import.withoutAddress();
    notes->withoutAddressItems = import.withoutAddressItems();
    *error = import.error();
}

} // namespace

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
                   takeNotes(import, notes, error);
                   return done;
               }});
}

void frmImportExport::importChromiumBookmarks()
{
    if (!checkDatabaseOpen(w.db) || !dropEditBeforeImport(w.commands))
        return;
    if (!prompt::askYesNo(QStringLiteral("You are about to import your Chromium, Google Chrome, Brave, Vivaldi and "
                                         "Microsoft Edge bookmarks on this computer into Razuzezu Revidod.  Do you "
                                         "wish to proceed?"),
                          MsgIcon::None, QStringLiteral("Import bookmarks?")))
        return;
    const QList<BookmarkSource> sources = findChromiumBookmarks(appDataPath);
    if (sources.isEmpty()) {
        prompt::show(QStringLiteral("No Chromium bookmarks could be found: none of %1 keeps a Bookmarks file in %2 "
                                    "or in its Flatpak or Snap folder.")
                         .arg(chromiumBrowserNames().join(QStringLiteral(", ")),
                              QDir::toNativeSeparators(appDataPath + QStringLiteral("/.config"))));
        return;
    }
    runImport(w, *this,
              {QStringLiteral("Searching for bookmarks..."), true,
               [sources](ImportBuilder &builder, frmProgress *progress, ImportNotes *notes, QString *error) {
                   BookmarkFileImport import(builder, progress);
                   const bool done = import.runEach(sources);
                   takeNotes(import, notes, error);
                   if (done && import.readItems().isEmpty()) {
                       *error = QStringLiteral("no Bookmarks file could be read.\n") +
                                import.skippedItems().join(QLatin1Char('\n'));
                       return false;
                   }
                   return done;
               }});
}

void frmImportExport::importBookmarkFile()
{
    if (!checkDatabaseOpen(w.db) || !dropEditBeforeImport(w.commands))
        return;
    FileRequest request;
    request.kind = FileRequest::Kind::Open;
    request.title = QStringLiteral("Import a bookmark file");
    request.startFolder = appDataPath;
    request.filters = {QStringLiteral("Bookmark files (*.html *.htm *.json *.jsonlz4 Bookmarks)"),
                       QStringLiteral("All files (*)")};
    const QString path = prompt::file(request);
    // The file dialog ran its own event loop: the database may have changed meanwhile.
    if (path.isEmpty() || !checkDatabaseOpen(w.db))
        return;
    const QString topName = QFileInfo(path).fileName();
    runImport(w, *this,
              {QStringLiteral("Searching for bookmarks..."), true,
               [path, topName](ImportBuilder &builder, frmProgress *progress, ImportNotes *notes, QString *error) {
                   BookmarkFileImport import(builder, progress);
                   const bool done = import.runEach({BookmarkSource{path, topName}});
                   takeNotes(import, notes, error);
                   if (done && import.readItems().isEmpty()) {
                       // The one reason, after the path the summary would have put first.
                       const QString reason =
                           import.skippedItems().value(0).mid(QDir::toNativeSeparators(path).size() + 2);
                       *error = QStringLiteral("the file %1 cannot be read as bookmarks: %2.\n\nThe bookmark files "
                                               "that can be imported are those browsers and other programs write: "
                                               "an HTML bookmark file (which Firefox, Chromium, buku and many others "
                                               "export), a Firefox bookmark backup (.json or .jsonlz4) or a Chromium "
                                               "Bookmarks file.")
                                    .arg(QDir::toNativeSeparators(path), reason);
                       return false;
                   }
                   return done;
               }});
}

} // namespace rr
