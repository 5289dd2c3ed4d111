#include "app/assembly.h"

#include "shell/frmhelpabout.h"
#include "shell/frmvardecks.h"
#include "shell/notavailable.h"

namespace rr {

void assembleMainWindow(frmVardecks &window)
{
    window.setCommand(QStringLiteral("mnuHelpAbout_Click"), [&window](int) {
        frmHelpAbout about(&window);
        about.exec();
    });
    window.setCommand(QStringLiteral("mnuFileExit_Click"), [&window](int) {
        if (window.Form_QueryUnload())
            window.Form_Unload();
    });
    window.ops.showTips = [] { notAvailableYet(QStringLiteral("Tip of the day")); };
}

}  // namespace rr
