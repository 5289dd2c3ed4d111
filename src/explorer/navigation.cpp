#include "explorer/navigation.h"

#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "finding/ui/findingops.h"
#include "platform/gui/listviews.h"
#include "platform/gui/partoperations.h"
#include "shell/aspectoperations.h"
#include "shell/frmvardecks.h"
#include "shell/windowstate.h"

#include <QTreeWidget>

namespace rr
{

void mnuNav_Click(frmVardecks &w, int index)
{
    if (index < 1 || index > 4)
        return;
    if (!sameText(w.currentAspect(), QStringLiteral("Explorer"))) {
        operationsOf<AspectOperations>(w).showAspectExplorer();
    }
    switch (w.indexTab()) {
    case IndexTab::Index:
        VardeckViews::of(w).goToTreeRow(
            index, [&w] { return w.editState() != EditState::Viewing; }, [&w] { w.commands.displayWM(); });
        break;
    case IndexTab::Search:
    case IndexTab::Favorites:
    case IndexTab::Popular:
        goToFindingRow(w, index);
        break;
    default:
        break;
    }
}

} // namespace rr
