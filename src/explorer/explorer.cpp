#include "explorer/explorer.h"

#include "explorer/clipboardcommands.h"
#include "explorer/detailspanel.h"
#include "explorer/foldertree.h"
#include "explorer/navigation.h"
#include "explorer/vardeckviews.h"
#include "platform/gui/partoperations.h"
#include "shell/frmvardecks.h"

#include <QTreeWidget>

namespace rr
{

ExplorerParts installExplorer(frmVardecks &w)
{
    auto *tree = new FolderTree(w);
    auto *views = new VardeckViews(w);
    DetailsPanel &panel = installDetailsPanel(w);
    // The keyboard goes through the Index tab's controls from the folder tree down, and
    // reaches the folder list where its tab stands.
    views->placeInTabOrder(*tree);
    // The two Move buttons share their edge: the folder's stands in front.
    VardeckViews::moveButton(w)->stackUnder(FolderTree::moveButton(w));

    // The frame, the options dialog and the finding panes reach the two through the window.
    offerOperations<FolderTreeOperations>(w, *tree, *tree);
    offerOperations<VardeckViewsOperations>(w, *views, *views);

    Commands &c = w.commands;

    c.displayWM = [views](int) { views->displayWM(); };
    c.displayWM.showsRow([views] { return views->currentTreeId(); });
    c.listVD_DblClick = [views](int) { views->listVD_DblClick(); };
    c.listVD_DblClick.showsRow([views] { return views->selectedListId(); });
    c.mnuAddTopic_Click = [tree](int) { tree->mnuAddTopic_Click(); };
    c.mnuEditModifyTopic_Click = [tree](int) { tree->mnuEditModifyTopic_Click(); };
    c.mnuNav_Click = [&w](int index) { mnuNav_Click(w, index); };
    installClipboardCommands(w);
    return {*tree, *views, panel};
}

} // namespace rr
