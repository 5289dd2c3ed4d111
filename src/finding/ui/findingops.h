#pragma once
// What the other parts ask of the finding lists: the rows selected in them and the rows
// of Vardecks that went. The finding panes own these: other parts include this header
// and call them directly (they link rr_finding_ui). A window without the finding panes
// has no rows in them.
#include "platform/gui/entrylist.h"

#include <QString>
#include <QStringList>

namespace rr
{

class frmVardecks;

// The WID of the row selected in one of the finding lists (its current row when
// selected, else the first selected), "" when none.
QString selectedRowOf(const frmVardecks &w, EntryList list);
// The WIDs of the rows selected in one of the finding lists, first to last; of the
// popular list, which takes one row, its current row.
QStringList selectedRowsOf(const frmVardecks &w, EntryList list);
// The rows of Vardecks the document no longer holds leave the search results and the
// popular list; nothing stays selected in them.
void dropRowsOfGoneVardecks(const frmVardecks &w);

} // namespace rr
