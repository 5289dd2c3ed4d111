#pragma once
// The Recent menu of the main window: the Vardecks last opened in a browser, newest
// first, as the items second(1), second(2), … under Clear and a separator.
#include <QString>

namespace rr
{

class frmVardecks;

// Fills w.commands.refreshRecentMenuList and attaches second_Click and mnuRecentClear_Click.
void installRecentMenu(frmVardecks &w);

// With a WID: records that Vardeck as opened (newest record), then rebuilds the
// menu; with "" only rebuilds it.
void refreshRecentMenuList(frmVardecks &w, const QString &wid);
// Opens the recorded address of an item (1 = newest) and records the visit when the
// open database still has that Vardeck at that address.
void second_Click(frmVardecks &w, int index);
void mnuRecentClear_Click(frmVardecks &w);

} // namespace rr
