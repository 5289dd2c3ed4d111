#pragma once
// Edit > Copy to clipboard and the Copy items of the details panel's popup menu: the
// shown Vardeck's data as a labelled block or one field at a time, or the text of the
// label last right-clicked, as plain text.
#include <QString>

namespace rr
{

class frmVardecks;

// Replaces the clipboard's contents by text, as plain text.
void putOnClipboard(const QString &text);

void installClipboardCommands(frmVardecks &w);

} // namespace rr
