#pragma once
// What the Explorer's handlers share: the tags of the window's nodes and rows (each
// keeps its element's TID or WID; see platform/gui/itemtags.h), the Vardeck and
// folder pictures of the image lists, and the read-only face of the details panel.
// Elements are found again by tag in the open database (frmVardecks::dbXML).
#include "finding/listcells.h"
#include "platform/gui/itemtags.h"
#include "platform/textutil.h"
#include "platform/xmldocument.h"
#include "shell/imagelists.h"

#include <optional>

namespace rr
{

class frmVardecks;

// Resets the read-only face of the details panel (DetailsPanel::setNonEditableFields):
// no Vardeck shown, the address, size and hit labels empty, the details tabs shown or
// hidden.
void setNonEditableFields(frmVardecks &w, bool visible);

// A stored Vardeck's size in KB and its hit count as the details panel and the lists
// show them and a modification writes them back. Children are matched by name in any
// letter case, and of several the last counts: of the sizes the last that is not empty
// ("" when there is none), of the hit counts the last ("1" when it is empty or there is
// none). storedHits is that count as stored: nothing when the Vardeck has none.
QString shownFileSize(const XmlNode &vardeck);

// A node's or row's tag read as the identifier it holds: its TID or WID, without the
// blanks around it ("" for the root and for a node that names nothing).
QString idOf(const QTreeWidgetItem *item);
QString shownHits(const XmlNode &vardeck);
std::optional<QString> storedHits(const XmlNode &vardeck);

} // namespace rr
