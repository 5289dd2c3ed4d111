#pragma once
// Editing on the main window: the mode and the details panel's two faces, adding,
// modifying, saving and cancelling a Vardeck, and deleting Vardecks and folders.
namespace rr
{

class frmVardecks;
class VardeckEditor;
class VardeckDeletion;
class FolderDeletion;

// Attaches the edit commands (mnuAddVardeck_Click, mnuEditModify_Click, cmdEdit_Click,
// saveVardeckDetails, cancelVardeckEdit, mnuEditDelete_Click, mnuEditDeleteTopic_Click)
// and fills w.ops.setFormEditMode, clearTextBoxes, addVardeckSetup and
// resetAfterDelete. Call once per window, after installExplorer.
void installEditing(frmVardecks &w);

// The installed parts, or nullptr before installEditing.
VardeckEditor *vardeckEditorOf(const frmVardecks &w);
VardeckDeletion *vardeckDeletionOf(const frmVardecks &w);
FolderDeletion *folderDeletionOf(const frmVardecks &w);

} // namespace rr
