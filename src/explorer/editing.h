#pragma once
// Editing on the main window: the mode and the details panel's two faces, adding,
// modifying, saving and cancelling a Vardeck, and deleting Vardecks and folders.
namespace rr
{

class frmVardecks;

// Attaches the edit commands (mnuAddVardeck_Click, mnuEditModify_Click, cmdEdit_Click,
// saveVardeckDetails, cancelVardeckEdit, mnuEditDelete_Click, mnuEditDeleteTopic_Click)
// and the operation addVardeckSetup. Call once per window, after installExplorer.
void installEditing(frmVardecks &w);

} // namespace rr
