#include "app/assembly.h"

#include "explorer/explorer.h"
#include "finding/ui/findingui.h"
#include "finding/ui/recentmenu.h"
#include "shell/frmvardecks.h"
#include "shell/helpmenu.h"
#include "web/ui/aspects.h"
#include "shell/notavailable.h"

namespace rr {

void assembleMainWindow(frmVardecks &window)
{
    installExplorer(window);
    installAspects(window);
    installFinding(window);
    installRecentMenu(window);
    installHelpMenu(window);
    window.setCommand(QStringLiteral("mnuFileExit_Click"), [&window](int) {
        if (window.Form_QueryUnload())
            window.Form_Unload();
    });
    window.ops.showTips = [] { notAvailableYet(QStringLiteral("Tip of the day")); };
}

}  // namespace rr
