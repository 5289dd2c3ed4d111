#pragma once
// Edit > Copy to clipboard and the Copy items of the details panel's popup menu: the
// shown Vardeck's data as a labelled block or one field at a time, or the text of the
// label last right-clicked, as plain text.
namespace rr
{

class frmVardecks;

void installClipboardCommands(frmVardecks &w);

} // namespace rr
