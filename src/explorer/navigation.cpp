#include "explorer/navigation.h"

#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "shell/frmvardecks.h"
#include "shell/tabstrip.h"
#include "shell/windowstate.h"

#include <QTreeWidget>

namespace rr
{
namespace
{

enum Move { First = 1, Previous = 2, Next = 3, Last = 4 };

void selectAndReveal(QTreeWidget *view, QTreeWidgetItem *item)
{
    view->clearSelection();
    view->setCurrentItem(item);
    item->setSelected(true);
    view->scrollToItem(item);
}

// The trees hold their Vardecks at one level: First and Last are the first and the
// last node shown; Previous and Next stop at either end without showing anything.
bool moveInTree(QTreeWidget *tree, int move)
{
    const int count = tree->topLevelItemCount();
    if (count == 0)
        return false;
    if (move == First || move == Last) {
        selectAndReveal(tree, tree->topLevelItem(move == First ? 0 : count - 1));
        return true;
    }
    QTreeWidgetItem *current = tree->currentItem();
    if (!current || !current->isSelected())
        return false;
    QTreeWidgetItem *parent = current->parent();
    const int at = parent ? parent->indexOfChild(current) : tree->indexOfTopLevelItem(current);
    const int to = move == Previous ? at - 1 : at + 1;
    const int siblings = parent ? parent->childCount() : count;
    if (to < 0 || to >= siblings)
        return false;
    selectAndReveal(tree, parent ? parent->child(to) : tree->topLevelItem(to));
    return true;
}

// In a list, Previous at the first row and Next at the last leave the row selected
// and show it again.
bool moveInList(QTreeWidget *list, int move)
{
    const int count = list->topLevelItemCount();
    if (count == 0)
        return false;
    if (move == First || move == Last) {
        selectAndReveal(list, list->topLevelItem(move == First ? 0 : count - 1));
        return true;
    }
    QTreeWidgetItem *current = list->currentItem();
    if (!current || !current->isSelected())
        return false;
    const int to = list->indexOfTopLevelItem(current) + (move == Previous ? -1 : 1);
    if (to >= 0 && to < count)
        selectAndReveal(list, list->topLevelItem(to));
    return true;
}

} // namespace

void mnuNav_Click(frmVardecks &w, int index)
{
    if (index < First || index > Last)
        return;
    if (!sameText(w.currentAspect(), QStringLiteral("Explorer"))) {
        w.commands.showAspectExplorer();
    }
    QTreeWidget *view = nullptr;
    bool tree = false;
    // What shows the row the move selects.
    HandlerRef show = nullptr;
    switch (w.tabIndex->Tab()) {
    case 0:
        view = VardeckViews::of(w).vardeckTree();
        tree = true;
        show = &Commands::displayWM;
        break;
    case 1:
        view = w.lstSrch;
        show = &Commands::lstSrch_Click;
        break;
    case 2:
        view = w.tvwFavs;
        tree = true;
        show = &Commands::tvwFavs_NodeClick;
        break;
    case 3:
        view = w.listPop;
        show = &Commands::listPop_Click;
        break;
    default:
        return;
    }
    const TreeNodeRef before(view, view->currentItem());
    const bool wasEditing = w.editState() != EditState::Viewing;
    if (!(tree ? moveInTree(view, index) : moveInList(view, index)))
        return;
    (w.commands.*show)();
    if (wasEditing && w.editState() != EditState::Viewing) {
        // Asked whether to drop the edit, the user kept it: the highlight goes back
        // to the Vardeck the panel still edits, and the typing goes on where it was.
        if (QTreeWidgetItem *edited = before.item())
            selectAndReveal(view, edited);
        else
            view->clearSelection();
        return;
    }
    view->setFocus();
}

} // namespace rr
