#pragma once
// The details panel's preview pane: the shown Vardeck's page or home page inside the
// window, its six buttons, the progress bar and the status text, and the
// automatic-preview check box.
namespace rr
{

class frmVardecks;

// Attaches cmdPreview_Click, chkAutoPreview_Click and w.commands.navigatePreview.
void installPreview(frmVardecks &w);

// 0 go (records a visit outside an edit), 1 stop, 2 refresh, 3 home page here,
// 4 home page in the browser, 5 open in the browser (records a visit outside an edit).
void cmdPreview_Click(frmVardecks &w, int index);

} // namespace rr
