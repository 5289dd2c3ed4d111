// Tools > Options: the one file of the options dialog that sees the whole main window;
// the dialog is handed what its Apply reaches.
#include "options/ui/frmprefs.h"
#include "shell/frmvardecks.h"

namespace rr
{

void installOptionsDialog(frmVardecks &window)
{
    window.commands.mnuToolsOptions_Click = [&window](int) {
        frmPrefs dialog(window.commands, window.dbXML, window, window, &window);
        dialog.exec();
        window.endToolTipEcho(Tb::UserOptions);
    };
}

} // namespace rr
