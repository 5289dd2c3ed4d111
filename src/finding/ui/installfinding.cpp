// The one file of the finding panes that sees the whole main window: it hands them what
// they use of it (FindingWindow).
#include "finding/ui/findingui.h"
#include "shell/frmvardecks.h"

namespace rr
{

FindingUi &installFinding(frmVardecks &w)
{
    return *new FindingUi(FindingWindow{.window = w,
                                        .commands = w.commands,
                                        .db = w.dbXML,
                                        .shown = w,
                                        .panes = w,
                                        .tabs = w,
                                        .menus = w,
                                        .status = w,
                                        .changes = w,
                                        .popup = w.popup,
                                        .dragSources = w.dragSources(),
                                        .drag = w.drag,
                                        .pictures = w.vardeckPictures()});
}

} // namespace rr
