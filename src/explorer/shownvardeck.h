#pragma once
// What the details panel shows of the Vardeck shown or being edited, asked by what it
// means. The details panel owns these: other parts include this header and call them
// directly (they link the Explorer), rather than through slots of Commands, which
// keeps what menus, toolbars and keys run.
#include <QString>

namespace rr
{

class frmVardecks;

// The address and the name in the details panel's edit boxes: what an add or an update
// has typed so far, and the stored ones of the Vardeck shown while nothing is edited.
// The preview, the open commands and the icon and thumbnail of the shown Vardeck act
// on them, so that a page can be tried before it is saved.
QString shownVardeckAddress(const frmVardecks &w);
QString shownVardeckName(const frmVardecks &w);

} // namespace rr
