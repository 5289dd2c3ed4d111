#include "app/assembly.h"

#include "shell/frmvardecks.h"
#include "shell/helpmenu.h"
#include "shell/notavailable.h"

namespace rr {

void assembleMainWindow(frmVardecks &window)
{
    installHelpMenu(window);
    window.setCommand(QStringLiteral("mnuFileExit_Click"), [&window](int) {
        if (window.Form_QueryUnload())
            window.Form_Unload();
    });
    window.ops.showTips = [] { notAvailableYet(QStringLiteral("Tip of the day")); };
}

}  // namespace rr
