#pragma once
// The Go commands First, Previous, Next and Last (menu Go, toolbar buttons 5 to 8,
// keys F2 to F5): they move the selection in the list of the left tab shown and show
// the Vardeck reached as a click on it would.
namespace rr
{

class frmVardecks;

// index: 1 First, 2 Previous, 3 Next, 4 Last; anything else does nothing.
void mnuNav_Click(frmVardecks &w, int index);

} // namespace rr
