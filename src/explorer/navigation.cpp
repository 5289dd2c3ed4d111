#include "explorer/navigation.h"

#include "explorer/nodetags.h"
#include "platform/gui/listviews.h"
#include "shell/frmvardecks.h"
#include "shell/tabstrip.h"
#include "shell/windowstate.h"

#include <QTreeWidget>

namespace rr
{

void mnuNav_Click(frmVardecks &w, int index)
{
    if (index < 1 || index > 4)
        return;
    if (!sameText(w.currentAspect(), QStringLiteral("Explorer"))) {
        w.commands.showAspectExplorer();
    }
    switch (w.tabIndex->Tab()) {
    case 0:
        goToRow(
            w.tvwWM, true, index, [&w] { return w.editState() != EditState::Viewing; },
            [&w] { w.commands.displayWM(); });
        break;
    case 1:
    case 2:
    case 3:
        w.commands.goToFindingRow(index);
        break;
    default:
        break;
    }
}

} // namespace rr
