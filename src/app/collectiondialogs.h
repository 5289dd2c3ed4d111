#pragma once
// Puts the duplicates manager and the statistics box on the main window: Tools >
// Manage duplicates (the whole database), the check after a new Vardeck is saved
// with duplicate checking on (its address only; offered as DuplicatesOperations), and
// View > Statistics.
namespace rr
{

class frmVardecks;

void installCollectionDialogs(frmVardecks &window);

} // namespace rr
