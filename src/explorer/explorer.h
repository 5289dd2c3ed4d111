#pragma once
// The Explorer core of the main window: the folder tree, the shown folder's Vardeck
// tree and list, the details panel, the Go commands and the clipboard commands.
#include <QString>

namespace rr
{

class frmVardecks;
class FolderTree;
class VardeckViews;
class DetailsPanel;

// Attaches the Explorer's commands and fills its refresh operations in w.ops
// (populateTopicList, populateWMOnTopicNode, populateVardeckList, populateVDList,
// displayVardeckData, viewAsList, viewAsIcons, populateIconList, and
// setNonEditableFields when nobody else has). Call once per window.
void installExplorer(frmVardecks &w);

// The parts, for the subsystems that work on them directly (nullptr before install).
FolderTree *folderTreeOf(const frmVardecks &w);
VardeckViews *vardeckViewsOf(const frmVardecks &w);
DetailsPanel *detailsPanelOf(const frmVardecks &w);

} // namespace rr
