// The exports of the Import/Export window: the Favorites folder, Firefox's bookmark
// file, web pages, a CSV file and a bookmark file of the Vardecks alone.
#include "exchange/bookmarkexport.h"
#include "exchange/bookmarkimport.h"
#include "exchange/csvexport.h"
#include "exchange/favoritesexport.h"
#include "exchange/firefoxexport.h"
#include "exchange/shellfolders.h"
#include "exchange/ui/exchangeops.h"
#include "exchange/ui/frmimportexport.h"
#include "media/urlsupport.h"
#include "platform/atomicfile.h"
#include "platform/gui/windowevents.h"
#include "platform/prompt.h"
#include "platform/xslttransform.h"
#include "shell/openaddress.h"
#include "shell/opendatabase.h"
#include "storage/session.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"
#include "web/aspectfiles.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <memory>

namespace rr
{
namespace
{

const QString kCouldNotCreate = QStringLiteral(
    "Razuzezu Revidod could not create the file to be exported.  Please contact support for assistance.\n\n");

// The export file dialog: the database folder, the database's name proposed. "" when
// the user cancelled or would not overwrite an existing file.
// The file the user chose. With endings, a name that ends in none of them gets the
// first added, so that the file opens as what it is.
QString chooseExportFile(const OpenDatabase &db, const QString &title, const QString &filter,
                         const QStringList &endings = {})
{
    FileRequest request;
    request.kind = FileRequest::Kind::Save;
    request.title = title;
    request.startFolder = db->getBasePath();
    const QString &dbName = db.name();
    request.defaultName = dbName.left(std::max<qsizetype>(0, dbName.size() - 4));
    request.filters = {filter};
    QString path = prompt::file(request);
    if (!path.isEmpty() && !endings.isEmpty() &&
        std::none_of(endings.cbegin(), endings.cend(),
                     [&path](const QString &ending) { return path.endsWith(ending, Qt::CaseInsensitive); }))
        path += endings.constFirst();
    if (path.isEmpty() || !QFileInfo::exists(path))
        return path;
    const bool overwrite = prompt::askYesNo(QStringLiteral("The file ") + QDir::toNativeSeparators(path) +
                                                QStringLiteral(" already exists - do you wish to overwrite it?"),
                                            MsgIcon::None, QStringLiteral("Overwrite?"), MsgResult::No);
    return overwrite ? path : QString();
}

// Writes an export file atomically; false after telling the user why it failed.
bool writeExportFile(const QString &path, const QByteArray &bytes)
{
    QString reason;
    if (writeFileAtomically(path, bytes, &reason))
        return true;
    prompt::show(kCouldNotCreate + reason, MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

} // namespace

void frmImportExport::exportToIEFavorites()
{
    if (!checkDatabaseOpen(w.db))
        return;
    FavoritesExportResult result;
    {
        BusyWindow busy;
        result = exportToFavorites(*w.db.document(), favoritesFolder(), [] { windowevents::keepAlive(); });
    }
    if (!result.error.isEmpty()) {
        prompt::show(result.error, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    if (result.failures.isEmpty()) {
        prompt::show(
            QStringLiteral("Your Vardecks have been successfully been exported to Internet Explorer favorites."));
        return;
    }
    QString text = QStringLiteral("Your Vardecks were exported to %1, except for these %2 that could not be written:")
                       .arg(QDir::toNativeSeparators(result.targetDir))
                       .arg(result.failures.size());
    for (const QString &failure : result.failures.mid(0, 10))
        text += QLatin1Char('\n') + failure;
    if (result.failures.size() > 10)
        text += QStringLiteral("\n... and %1 more.").arg(result.failures.size() - 10);
    prompt::show(text, MsgButtons::Ok, MsgIcon::Exclamation);
}

void frmImportExport::exportToFirefox()
{
    if (!checkDatabaseOpen(w.db))
        return;
    prompt::show(
        QStringLiteral("Please close all open instances of Mozilla Firefox.  Your Vardecks and folders will be "
                       "exported to a directory called Imported Vardecks."));
    if (!checkDatabaseOpen(w.db))
        return;
    const QStringList files = findBookmarksFiles(firefoxRoots(), false);
    if (files.isEmpty()) {
        prompt::show(QStringLiteral("No Firefox bookmarks file (bookmarks.html) could be found in %1, so nothing was "
                                    "exported.  A current Firefox writes that file only when asked: in its Library "
                                    "(Bookmarks > Manage Bookmarks), Import and Backup > Export Bookmarks to HTML... "
                                    "saves it; save it in the profile folder and export again.")
                         .arg(QDir::toNativeSeparators(firefoxRoot)),
                     MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    const QString file = files.first();
    const qint64 stamp = (exportTime.isValid() ? exportTime : QDateTime::currentDateTimeUtc()).toSecsSinceEpoch();
    FirefoxExportResult result;
    {
        BusyWindow busy;
        result = exportToFirefoxFile(file, *w.db.document(), w.db->getNewTID(), stamp);
    }
    if (!result.error.isEmpty()) {
        prompt::show(QStringLiteral("Your Vardecks could not be exported to Mozilla Firefox bookmarks: ") +
                         result.error,
                     MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    prompt::show(QStringLiteral("Your Vardecks have been successfully been exported to Mozilla Firefox bookmarks.") +
                 QStringLiteral("\n\nThey were added as the folder Imported Vardecks to %1; the file as it was is kept "
                                "as %2.  Firefox reads this file by itself only when it is set to "
                                "(browser.places.importBookmarksHTML), and then in place of all its bookmarks.  Do not "
                                "import it into Firefox with Import Bookmarks from HTML: it holds every Firefox "
                                "bookmark too, and each would be added a second time.  To add only your Vardecks, "
                                "export them with \"Bookmark file\" and import that file in Firefox's Library "
                                "(Bookmarks > Manage Bookmarks), Import and Backup > Import Bookmarks from HTML...")
                     .arg(QDir::toNativeSeparators(file), QDir::toNativeSeparators(result.backupFile)));
}

void frmImportExport::exportBookmarkFile()
{
    if (!checkDatabaseOpen(w.db))
        return;
    const QString path =
        chooseExportFile(w.db, QStringLiteral("Choose a folder and file name to save as a bookmark file"),
                         QStringLiteral("Bookmark files (*.html)"), {QStringLiteral(".html"), QStringLiteral(".htm")});
    if (path.isEmpty() || !checkDatabaseOpen(w.db))
        return;
    const qint64 stamp = (exportTime.isValid() ? exportTime : QDateTime::currentDateTimeUtc()).toSecsSinceEpoch();
    if (!writeExportFile(path, bookmarkFileText(*w.db.document(), stamp)))
        return;
    prompt::show(QStringLiteral("Your Vardecks have been exported to %1.  Firefox (Import "
                                "Bookmarks from HTML... in its Library), Chromium (Import bookmarks in its bookmark "
                                "manager) and buku (buku --import) add them, with their folders, to the bookmarks "
                                "they have.")
                     .arg(QDir::toNativeSeparators(path)));
}

void frmImportExport::exportFoldersAsWeb()
{
    exportAsWeb(QStringLiteral("VD_plain.xsl"));
}

void frmImportExport::exportAllAsWeb()
{
    exportAsWeb(QStringLiteral("VDAll_plain.xsl"));
}

void frmImportExport::exportFavsAsWeb()
{
    exportAsWeb(QStringLiteral("VDFavs_plain.xsl"));
}

void frmImportExport::exportAsWeb(const QString &stylesheet)
{
    if (!checkDatabaseOpen(w.db))
        return;
    QByteArray page;
    QString reason;
    // The stylesheet beside the database, brought up to date when it is an earlier one.
    const QString base = w.db->getBasePath();
    if (!aspectfiles::bringUpToDate(base, &reason)) {
        prompt::show(kCouldNotCreate + reason, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    bool made = false;
    {
        // Made on a thread of its own from a copy, while the windows repaint.
        BusyWindow busy;
        auto copy = std::make_unique<xslt::DocumentCopy>(*w.db.document());
        const QString path = base + stylesheet;
        windowevents::runAside([&] {
            made = xslt::transform(path, *copy, &page, &reason);
            copy.reset();
        });
    }
    if (!made) {
        prompt::show(kCouldNotCreate + reason, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    const QString path =
        chooseExportFile(w.db, QStringLiteral("Choose a folder and file name to save as a web page"),
                         QStringLiteral("HTML Files (*.htm)"), {QStringLiteral(".htm"), QStringLiteral(".html")});
    if (path.isEmpty() || !writeExportFile(path, page))
        return;
    if (prompt::askYesNo(QStringLiteral("Your Vardecks have been successfully been exported to ") +
                             QDir::toNativeSeparators(path) + QStringLiteral(". Do you wish to view the file now?"),
                         MsgIcon::None, QStringLiteral("View exported file?")))
        openInBrowser(QUrl::fromLocalFile(path).toString());
}

void frmImportExport::exportAsCSV()
{
    if (!checkDatabaseOpen(w.db))
        return;
    const QString path = chooseExportFile(w.db, QStringLiteral("Choose a folder and file name to save as a CSV file"),
                                          QStringLiteral("CSV Files (*.csv)"));
    if (path.isEmpty() || !checkDatabaseOpen(w.db))
        return;
    if (!writeExportFile(path, csvText(*w.db.document())))
        return;
    prompt::show(QStringLiteral("Your Vardecks have been successfully been exported to ") +
                 QDir::toNativeSeparators(path) + QLatin1Char('.'));
}

} // namespace rr
