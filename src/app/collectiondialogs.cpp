#include "app/collectiondialogs.h"

#include "dialogs/frmduplicates.h"
#include "dialogs/frmstats.h"
#include "explorer/deletevardeck.h"
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

} // namespace

void installCollectionDialogs(frmVardecks &w)
{
    // The duplicates window closed: the search results may name deleted Vardecks.
    w.commands.refreshAfterDuplicates = [&w] {
        operationsOf<FindingOperations>(w).clearSearchResults();
        relistSelectedFolder(w);
    };
    w.commands.mnuToolsDup_Click = [&w](int) {
        later(w, [&w] {
            if (XmlDocument *doc = w.dbXML.document())
                frmDuplicates::run(*doc, QString(), appOptions().getCheckDup(), w.commands, w.vardeckPictures().byKey(),
                                   &w);
        });
    };
    w.commands.frmDuplicates_Show = [&w](const QString &address) {
        later(w, [&w, address] {
            if (XmlDocument *doc = w.dbXML.document())
                frmDuplicates::run(*doc, address, appOptions().getCheckDup(), w.commands, w.vardeckPictures().byKey(),
                                   &w);
        });
    };
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
