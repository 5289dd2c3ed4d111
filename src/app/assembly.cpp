#include "app/assembly.h"

#include "explorer/editing.h"
#include "explorer/explorer.h"
#include "explorer/popupsanddrops.h"
#include "finding/ui/findingui.h"
#include "finding/ui/recentmenu.h"
#include "shell/frmvardecks.h"
#include "shell/helpmenu.h"
#include "web/ui/aspects.h"
#include "shell/notavailable.h"
#include "explorer/databasecommands.h"

namespace rr {

void assembleMainWindow(frmVardecks &window)
{
    installExplorer(window);
    installEditing(window);
    installDatabaseCommands(window);
    installAspects(window);
    installFinding(window);
    installRecentMenu(window);
    installHelpMenu(window);
    installPopupsAndDrops(window);
    window.ops.showTips = [] { notAvailableYet(QStringLiteral("Tip of the day")); };
}

}  // namespace rr
