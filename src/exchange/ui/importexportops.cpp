// The Favorites and PDF imports and the Favorites export of the Import/Export window.
#include "exchange/favoritesexport.h"
#include "exchange/folderimport.h"
#include "exchange/shellfolders.h"
#include "exchange/ui/frmdirselect.h"
#include "exchange/ui/frmimportexport.h"
#include "exchange/ui/frmprogress.h"
#include "explorer/explorer.h"
#include "explorer/foldertree.h"
#include "explorer/nodetags.h"
#include "media/iconsupport.h"
#include "platform/prompt.h"
#include "shell/frmvardecks.h"
#include "storage/xmldatabase.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

namespace rr
{
namespace
{

// For the length of an operation: the busy cursor and, for imports, the folder tree
// hidden. Both come back however the operation ends.
class BusyWindow
{
public:
    BusyWindow(frmVardecks &w, bool hideTree) : m_tree(hideTree ? w.tvwTopics : nullptr)
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (m_tree) {
            m_treeWasVisible = !m_tree->isHidden();
            m_tree->hide();
        }
    }
    ~BusyWindow()
    {
        if (m_tree && m_treeWasVisible)
            m_tree->show();
        QApplication::restoreOverrideCursor();
    }
    BusyWindow(const BusyWindow &) = delete;
    BusyWindow &operator=(const BusyWindow &) = delete;

private:
    QTreeWidget *m_tree;
    bool m_treeWasVisible = false;
};

bool checkDatabaseOpen(frmVardecks &w)
{
    if (w.dbXML && w.m_objDOMVardecks && w.m_objDOMVardecks->isLoaded())
        return true;
    prompt::show(QStringLiteral("No database is open.  Open or create one from the File->Database menu first."),
                 MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

// An import may not throw away an edit under way in the details panel unasked.
bool leaveEditMode(frmVardecks &w)
{
    if (!confirmLoseChanges(w))
        return false;
    if (!w.txtMode->text().isEmpty())
        callOp(w.ops.setFormEditMode, false);
    return true;
}

void dropIcons(const XMLDatabase &db, const QStringList &wids)
{
    IconSupport icons;
    icons.setIconPath(db.getBasePath());
    for (const QString &wid : wids)
        icons.deleteIcon(wid);
}

// The new top folder in the folder tree, selected, with its Vardecks listed.
void showImportedFolder(frmVardecks &w, const QString &topTID)
{
    const XmlNode top = w.m_objDOMVardecks->nodeFromID(topTID);
    QTreeWidgetItem *root = w.tvwTopics->topLevelItem(0);
    FolderTree *tree = folderTreeOf(w);
    if (tree && root && top) {
        tree->populateTreeWithTopic(top, root, true);
        root->sortChildren(0, Qt::AscendingOrder);
    } else {
        callOp(w.ops.populateTopicList, w.m_objDOMVardecks);
    }
    if (QTreeWidgetItem *node = findByTag(w.tvwTopics, topTID)) {
        w.tvwTopics->setCurrentItem(node);
        callOp(w.ops.populateVardeckList, node);
    }
    callOp(w.ops.populateIconList);
}

struct FolderImportRequest {
    WalkMode mode;
    QStringList folders;
    QString topName;
    bool includeSubfolders = false;
};

// Runs one folder import behind the progress window and either saves all of it or,
// when it cannot finish or be saved, takes all of it back and says why.
void runFolderImport(frmVardecks &w, frmImportExport &dialog, const FolderImportRequest &request)
{
    BusyWindow busy(w, true);
    frmProgress *progress = frmProgress::instance(&w);
    const bool shortcuts = request.mode == WalkMode::Shortcuts;
    progress->begin();
    progress->Label2->setVisible(false);
    progress->lblFavs->setVisible(false);
    progress->Label6->setVisible(shortcuts);
    progress->lblFolders->setVisible(shortcuts);
    progress->setFolderName(shortcuts ? QStringLiteral("Searching for favorites folders...")
                                      : QStringLiteral("Searching for PDF files..."));
    progress->setFolderCount(0);
    progress->setVardeckCount(0);
    progress->refreshNow();
    // Once, before anything changes, so that the window is on the screen during the
    // run; user input waits until the import is over.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    XMLDatabase &db = *w.dbXML;
    ImportBuilder builder(db, progress);
    if (dialog.importDay.isValid())
        builder.setToday(dialog.importDay);
    const QString basePath = db.getBasePath();
    builder.onVardeckCreated = [basePath](const QString &wid, const QString &address) {
        IconSupport::checkSavePDFIcon(basePath, wid, address);
    };
    FolderImport walk(builder, progress);
    QString failure;
    if (!walk.loadFavsFromFoundColl(request.folders, request.mode, request.topName, request.includeSubfolders)) {
        failure = QStringLiteral("The import was stopped and nothing was added: ") + walk.error();
    } else {
        QString reason;
        if (!db.save(&reason))
            failure =
                QStringLiteral("The imported folders and Vardecks could not be saved, so nothing was added: ") + reason;
    }
    if (!failure.isEmpty()) {
        builder.rollback();
        dropIcons(db, builder.createdWIDs());
        progress->close();
        prompt::show(failure, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    w.aspectPageStale[frmVardecks::AllPage] = true;
    w.aspectPageStale[frmVardecks::FoldersPage] = true;
    w.aspectPageStale[frmVardecks::HitsPage] = true;
    if (sameText(w.currentAspect, QStringLiteral("Web")))
        callOp(w.ops.showAspectWeb);
    showImportedFolder(w, builder.topTID());
    progress->finish(builder.importVDCount, true, walk.skippedItems());
}

} // namespace

void frmImportExport::importIEFavorites()
{
    if (!checkDatabaseOpen(w) || !leaveEditMode(w))
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
    FolderImportRequest request{WalkMode::Shortcuts, {favoritesPath}, {}};
    request.topName = FolderImport::freeTopFolderName(*w.m_objDOMVardecks, QStringLiteral("Imported favorites"));
    runFolderImport(w, *this, request);
}

void frmImportExport::importPDFDocuments()
{
    if (!checkDatabaseOpen(w) || !leaveEditMode(w))
        return;
    if (!chooseFolder || !chooseFolder(this) || chosenFolderPath.isEmpty())
        return;
    // The picker ran its own event loop: the database may have changed meanwhile.
    if (!checkDatabaseOpen(w))
        return;
    FolderImportRequest request{
        WalkMode::Documents, {chosenFolderPath}, QStringLiteral("Imported PDF documents"), pdfIncludeSubfolders == 1};
    runFolderImport(w, *this, request);
}

void frmImportExport::exportToIEFavorites()
{
    if (!checkDatabaseOpen(w))
        return;
    FavoritesExportResult result;
    {
        BusyWindow busy(w, false);
        result = exportToFavorites(*w.m_objDOMVardecks, favoritesFolder());
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

} // namespace rr
