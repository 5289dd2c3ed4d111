#include "app/collectiondialogs.h"

#include "dialogs/frmduplicates.h"
#include "dialogs/frmstats.h"
#include "explorer/deletevardeck.h"
#include "explorer/duplicatesoperations.h"
#include "explorer/editing.h"
#include "explorer/folderops.h"
#include "explorer/nodetags.h"
#include "platform/gui/partoperations.h"
#include "shell/findingoperations.h"
#include "shell/fonthelpers.h"
#include "shell/frmvardecks.h"
#include "storage/session.h"
#include "storage/useroptions.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"

#include <QPointer>
#include <QTimer>

namespace rr
{
namespace
{

// The windows open after the command that asked for them has returned, never inside
// the menu's or a button's own event handling.
void later(frmVardecks &w, std::function<void()> open)
{
    QTimer::singleShot(0, &w, std::move(open));
}

// The duplicates window as the main window opens it: for the whole database (Tools >
// Manage duplicates) or for the address of a Vardeck just saved (the editor's Save asks
// through DuplicatesOperations); and the window's host, whose deletion and tidy-up are
// the Explorer's.
class DuplicatesLauncher final : public QObject, public DuplicatesOperations, public DuplicatesHost
{
public:
    explicit DuplicatesLauncher(frmVardecks &window) : QObject(&window), w(window)
    {
        setObjectName(QStringLiteral("duplicatesLauncher"));
    }

    // Opens the window for dupCheckAddress ("" the whole database) once the command
    // that asked has returned.
    void open(const QString &dupCheckAddress)
    {
        later(w, [this, dupCheckAddress] {
            if (XmlDocument *doc = w.dbXML.document())
                frmDuplicates::run(*doc, dupCheckAddress, appOptions().getCheckDup(), *this,
                                   w.vardeckPictures().byKey(), &w);
        });
    }

    void frmDuplicates_Show(const QString &address) override { open(address); }

    bool deleteSelectedVardeck(const QString &wid) override
    {
        // The main window's tidy-up after a delete acts on selectedWID.
        w.selectVardeck(wid);
        return VardeckDeletion::of(w).deleteSelectedVardeck(wid);
    }
    void resetAfterDelete() override { VardeckDeletion::of(w).resetAfterDelete(); }
    // The duplicates window closed: the search results may name deleted Vardecks.
    void refreshAfterDuplicates() override
    {
        operationsOf<FindingOperations>(w).clearSearchResults();
        relistSelectedFolder(w);
    }
    void applyFontFallback(QWidget *dialog) override { rr::applyFontFallback(dialog); }

private:
    frmVardecks &w;
};

} // namespace

void installCollectionDialogs(frmVardecks &w)
{
    auto *duplicates = new DuplicatesLauncher(w);
    offerOperations<DuplicatesOperations>(w, *duplicates, *duplicates);
    w.commands.mnuToolsDup_Click = [duplicates](int) { duplicates->open(QString()); };
    w.commands.mnuViewStats_Click = [&w](int) {
        later(w, [&w] {
            frmStats::Figures figures;
            figures.database = w.dbXML.name();
            figures.folderNodes = folderNodeCount(w);
            frmStats box(w.dbXML.document(), figures, &w);
            applyFontFallback(&box);
            box.exec();
        });
    };
}

} // namespace rr
