#include "app/assembly.h"

#include "app/collectiondialogs.h"
#include "platform/gui/partoperations.h"

#include "exchange/ui/installexchange.h"
#include "explorer/databasecommands.h"
#include "explorer/duplicatesoperations.h"
#include "explorer/editing.h"
#include "explorer/explorer.h"
#include "explorer/iconfetchoperations.h"
#include "explorer/popupsanddrops.h"
#include "finding/ui/findingui.h"
#include "finding/ui/recentmenu.h"
#include "media/ui/iconcommands.h"
#include "media/ui/thumbcommands.h"
#include "options/ui/frmhelp.h"
#include "options/ui/frmprefs.h"
#include "options/ui/frmtips.h"
#include "shell/aspectoperations.h"
#include "shell/captureoperations.h"
#include "shell/detailsoperations.h"
#include "shell/findingoperations.h"
#include "shell/foldertreeoperations.h"
#include "shell/frmvardecks.h"
#include "shell/helpmenu.h"
#include "shell/listdropoperations.h"
#include "shell/openaddress.h"
#include "shell/previewoperations.h"
#include "shell/recentmenuoperations.h"
#include "shell/tipsoperations.h"
#include "shell/vardeckviewsoperations.h"
#include "shell/webaspectoperations.h"
#include "web/ui/aspects.h"
#include "web/ui/capture.h"
#include "web/ui/emailcommands.h"
#include "web/ui/preview.h"
#include "web/ui/webaspect.h"

namespace rr
{

void assembleMainWindow(frmVardecks &window)
{
    const ExplorerParts explorer = installExplorer(window);
    installEditing(window);
    installDatabaseCommands(window);
    installAspects(window);
    installCapture(window);
    // The preview's controls come before the Web Aspect's in the keyboard's order, as
    // the Preview tab lies before the Web Aspect's strip on the window.
    installPreview(window);
    installWebAspect(window);
    installEmailCommands(window.commands, window.dbXML, window);
    installFinding(window);
    installRecentMenu(window, window.commands, window.dbXML, window);
    installHelpMenu(window);
    installPopupsAndDrops(window, explorer);
    installHelpWindow();
    installImportExport(window);
    installOptionsDialog(window);
    installThumbCommands(window, installIconCommands(window));
    installCollectionDialogs(window);
    installTips(window);
    tellOpenerFailures();

    // Every part has made its controls and handed the frame those it lays out.
    Q_ASSERT_X(window.emptyPlaces().isEmpty(), "assembleMainWindow", "a place of the frame is empty");

    // Every command and operation is attached now; one left out is a programming error.
    const QStringList missing = window.commands.missing();
    if (!missing.isEmpty())
        qWarning("no command is attached to %s", qUtf8Printable(missing.join(QStringLiteral(", "))));
    Q_ASSERT_X(missing.isEmpty(), "assembleMainWindow", "a command is not attached");

    // Every part whose operations are asked for through the window has offered them.
    const auto offered = [&window](bool isOffered, const char *operations) {
        if (!isOffered)
            qWarning("no part offers %s", operations);
        Q_ASSERT_X(isOffered, "assembleMainWindow", "a part's operations are not offered");
    };
    offered(operationsOffered<TipsOperations>(window), "TipsOperations");
    offered(operationsOffered<DuplicatesOperations>(window), "DuplicatesOperations");
    offered(operationsOffered<IconFetchOperations>(window), "IconFetchOperations");
    offered(operationsOffered<FindingOperations>(window), "FindingOperations");
    offered(operationsOffered<RecentMenuOperations>(window), "RecentMenuOperations");
    offered(operationsOffered<DetailsOperations>(window), "DetailsOperations");
    offered(operationsOffered<FolderTreeOperations>(window), "FolderTreeOperations");
    offered(operationsOffered<VardeckViewsOperations>(window), "VardeckViewsOperations");
    offered(operationsOffered<ListDropOperations>(window), "ListDropOperations");
    offered(operationsOffered<AspectOperations>(window), "AspectOperations");
    offered(operationsOffered<WebAspectOperations>(window), "WebAspectOperations");
    offered(operationsOffered<PreviewOperations>(window), "PreviewOperations");
    offered(operationsOffered<CaptureOperations>(window), "CaptureOperations");
}

} // namespace rr
