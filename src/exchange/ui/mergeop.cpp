// The import of another database file into the open one.
#include "exchange/databasemerge.h"
#include "exchange/ui/exchangeops.h"
#include "exchange/ui/exchangewindow.h"
#include "exchange/ui/frmimportexport.h"
#include "exchange/ui/frmprogress.h"
#include "explorer/detailsops.h"
#include "explorer/folderops.h"
#include "explorer/nodetags.h"
#include "media/iconsupport.h"
#include "platform/gui/partoperations.h"
#include "platform/prompt.h"
#include "shell/aspectoperations.h"
#include "shell/collectionchanges.h"
#include "shell/detailsoperations.h"
#include "shell/foldertreeoperations.h"
#include "shell/frameoptions.h"
#include "shell/framestatus.h"
#include "shell/opendatabase.h"
#include "shell/shownitems.h"
#include "storage/xmldatabase.h"

#include <QApplication>
#include <QDir>
#include <QLabel>

namespace rr
{

void frmImportExport::importVDDatabase()
{
    if (!checkDatabaseOpen(w.db) || !dropEditBeforeImport(w.commands))
        return;
    FileRequest request;
    request.kind = FileRequest::Kind::Open;
    request.title = QStringLiteral("Import Vardecks database...");
    request.startFolder = w.db->getBasePath();
    request.filters = {QStringLiteral("XML Files (*.xml)")};
    const QString path = prompt::file(request);
    // The file dialog ran its own event loop: the database may have changed meanwhile.
    if (path.isEmpty() || !checkDatabaseOpen(w.db))
        return;

    BusyWindow busy(w.parts);
    frmProgress *progress = frmProgress::instance(&w.mainWindow);
    progress->begin();
    progress->showCounts(true);
    progress->setFolderName(QStringLiteral("Loading ") + QDir::toNativeSeparators(path) + QStringLiteral("..."));
    progress->setVardeckName(QString());
    progress->setFolderCount(0);
    progress->setVardeckCount(0);
    progress->setBar(0);
    if (!settleProgressWindow(w.db, progress))
        return;

    XMLDatabase &db = *w.db;
    DatabaseMerge merge(db, progress);
    merge.onPhase = [progress](const QString &caption, const QString &folderLabel, const QString &vardeckLabel) {
        progress->setWindowTitle(caption);
        progress->setCaptions(folderLabel, vardeckLabel);
        progress->refreshNow();
    };
    QString failure;
    QString reason;
    const bool merged = merge.merge(path);
    // A merge that stopped has taken itself back.
    if (progress->cancelled()) {
        if (merged)
            merge.rollback();
        tellCancelled(progress);
        return;
    }
    if (!merged) {
        failure = merge.readFailed()
                      ? QStringLiteral("Failed to open the Vardecks database for importing.\n\n") + merge.error()
                      : QStringLiteral("The import was stopped and nothing was added: ") + merge.error();
    } else {
        // Files left under the identifiers the merged Vardecks were given are not theirs.
        removeLeftSideFiles(db.getBasePath(), merge.mergedWIDs(), w.db.name());
        if (!saveWhileShowing(db, progress, &reason)) {
            merge.rollback();
            failure =
                QStringLiteral("The imported folders and Vardecks could not be saved, so nothing was added: ") + reason;
        }
    }
    if (!failure.isEmpty()) {
        progress->close();
        prompt::show(failure, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }

    operationsOf<FolderTreeOperations>(w.mainWindow).populateTopicList(w.db.document());
    DetailsOperations &details = operationsOf<DetailsOperations>(w.mainWindow);
    details.setFormEditMode(false);
    details.setNonEditableFields();
    clearTextBoxes(w.parts);
    w.shown.showNoFolder();
    // No folder is shown: the status bar names none either.
    w.status.forgetFolderPath();
    // The emptied Vardeck tree counts nothing. Emptying the edit boxes blanked the
    // Vardeck tab; it names the empty panel again.
    emptyVardeckTree(w.parts);
    w.shown.showNoVardeck();
    w.changes.collectionChanged(StalePages::everyPage());
    if (sameText(w.options.currentAspect(), QStringLiteral("Web")))
        operationsOf<AspectOperations>(w.mainWindow).showAspectWeb();
    progress->finish(merge.vardeckCount(), false);
}

} // namespace rr
