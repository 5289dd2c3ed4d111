#include "exchange/ui/exchangeops.h"

#include "exchange/ui/exchangewindow.h"
#include "exchange/ui/frmimportexport.h"
#include "exchange/ui/frmprogress.h"
#include "explorer/folderops.h"
#include "explorer/nodetags.h"
#include "media/iconsupport.h"
#include "media/urlsupport.h"
#include "platform/gui/commands.h"
#include "platform/gui/partoperations.h"
#include "platform/gui/windowevents.h"
#include "platform/prompt.h"
#include "shell/collectionchanges.h"
#include "shell/framestatus.h"
#include "shell/opendatabase.h"
#include "shell/vardeckviewsoperations.h"
#include "storage/xmldatabase.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>

namespace rr
{
namespace
{

// The new top folders in the folder tree, the first one made selected, with its
// Vardecks listed, and its path in the status bar whichever tab of the left pane is on
// top. The pictures are read first: the rows take theirs as they are made, so the
// icons the import filed (a PDF document's) show at once.
void showNewTopFolders(const ExchangeWindow &w, const QStringList &topTIDs)
{
    operationsOf<VardeckViewsOperations>(w.mainWindow).populateIconList();
    for (auto tid = topTIDs.crbegin(); tid != topTIDs.crend(); ++tid)
        showImportedFolder(w.parts, *tid);
    w.status.showFolderPath();
}

} // namespace

BusyWindow::BusyWindow()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyWindow::BusyWindow(frmVardecks &holdTreeOf) : BusyWindow()
{
    m_window = &holdTreeOf;
    holdFolderTree(holdTreeOf, true);
}

BusyWindow::~BusyWindow()
{
    if (m_window)
        holdFolderTree(*m_window, false);
    QApplication::restoreOverrideCursor();
}

void tellCancelled(frmProgress *progress)
{
    progress->close();
    prompt::show(QStringLiteral("The import was cancelled, so nothing was added."), MsgButtons::Ok,
                 MsgIcon::Information);
}

bool checkDatabaseOpen(const OpenDatabase &db)
{
    if (db.isOpen())
        return true;
    prompt::show(QStringLiteral("No database is open.  Open or create one from the File->Database menu first."),
                 MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

bool dropEditBeforeImport(Commands &commands)
{
    return commands.mayEndEdit(OnEdit::Ends);
}

bool settleProgressWindow(const OpenDatabase &db, frmProgress *progress)
{
    progress->refreshNow();
    const XMLDatabase *before = db.get();
    const XmlDocument *documentBefore = db.document();
    const QString pathBefore = before ? before->getPath() : QString();
    windowevents::runPending(progress);
    if (db.get() == before && db.document() == documentBefore && db.isOpen() && db->getPath() == pathBefore &&
        checkDatabaseOpen(db))
        return true;
    progress->close();
    return false;
}

bool saveWhileShowing(XMLDatabase &db, frmProgress *progress, QString *error)
{
    progress->saving();
    // A question about the file comes first, on this thread; only the writing runs aside.
    // An import or a merge that is not written is taken back: the question says so.
    const SaveOutcome outcome =
        db.save([progress](const std::function<void()> &write) { progress->runLongStep(write); },
                XMLDatabase::OnKeep::ChangeTakenBack);
    if (error)
        *error = outcome.reason;
    return outcome.written();
}

void runImport(const ExchangeWindow &w, frmImportExport &dialog, const ImportRun &run)
{
    BusyWindow busy(w.parts);
    frmProgress *progress = frmProgress::instance(&w.mainWindow);
    progress->begin();
    progress->showCounts(run.countsFolders);
    progress->setFolderName(run.searching);
    progress->setFolderCount(0);
    progress->setVardeckCount(0);
    progress->refreshNow();
    if (!settleProgressWindow(w.db, progress))
        return;

    XMLDatabase &db = *w.db;
    ImportBuilder builder(db, progress);
    if (dialog.importDay.isValid())
        builder.setToday(dialog.importDay);
    const QString basePath = db.getBasePath();
    // PDF documents get their icon once the records are on disk: an import that never
    // gets there leaves no icon for an identifier a later Vardeck may be given.
    QList<std::pair<QString, QString>> pdfVardecks;
    builder.onVardeckCreated = [&pdfVardecks](const QString &wid, const QString &address) {
        if (isPDF(address))
            pdfVardecks.append({wid, address});
    };
    ImportNotes notes;
    QString reason;
    QString failure;
    const bool done = run.body(builder, progress, &notes, &reason);
    if (progress->cancelled()) {
        builder.rollback();
        tellCancelled(progress);
        return;
    }
    if (!done) {
        failure = QStringLiteral("The import was stopped and nothing was added: ") + reason;
    } else {
        removeLeftSideFiles(basePath, builder.createdWIDs(), w.db.name());
        if (!saveWhileShowing(db, progress, &reason))
            failure =
                QStringLiteral("The imported folders and Vardecks could not be saved, so nothing was added: ") + reason;
    }
    if (!failure.isEmpty()) {
        builder.rollback();
        progress->close();
        prompt::show(failure, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    for (const auto &[wid, address] : std::as_const(pdfVardecks))
        IconSupport::checkSavePDFIcon(basePath, wid, address, w.db.name());
    showNewTopFolders(w, builder.createdTopTIDs());
    // The Web Aspect, when it is shown, shows the imported folders at once, and keeps
    // off the folder path and the Explorer's commands that showing the folder turned on.
    w.changes.collectionChanged(StalePages{.folders = true, .all = true, .hits = true, .reshowWebAspect = true});
    progress->finish(builder.importVDCount, true, notes);
}

} // namespace rr
