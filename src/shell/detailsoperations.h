#pragma once
// What the frame, the finding panes and the parts above the Explorer ask of the details
// panel and of the face it shows: the Explorer's DetailsPanel does the work and offers
// these on the window (platform/gui/partoperations.h); the callers reach them through
// operationsOf<DetailsOperations>(w). Without the panel they do nothing.
#include "platform/xmldocument.h"

#include <QString>

namespace rr
{

// The texts of the shown Vardeck that the details panel holds. Its edit boxes hold what
// an edit typed in, and the stored fields while nothing is edited; its labels hold the
// fields as they were shown last.
enum class DetailsField {
    NameBox,
    AddressBox,
    DescriptionBox,
    KeywordsBox,
    Name,
    Address,
    HomePage,
    LastVisited,
    CreatedDate,
};

class DetailsOperations
{
public:
    virtual ~DetailsOperations() = default;

    // Shows the Vardeck in the details panel: its fields (each field its element lacks
    // empty), its marks, site icon and thumbnail, and its name on the Vardeck tab.
    virtual void displayVardeckData(const XmlNode &vardeck) { Q_UNUSED(vardeck); }
    // The panel shows its edit face (text boxes, Save and Cancel, the unsaved marker on
    // the Vardeck tab) or its view face (labels and links).
    virtual void setFormEditMode(bool editing) { Q_UNUSED(editing); }
    // The read-only face is reset: no Vardeck shown, the address, size and hit labels
    // empty, the details tabs hidden.
    virtual void setNonEditableFields() {}
    // A text of the shown Vardeck as the details panel holds it.
    virtual QString detailsText(DetailsField field) const
    {
        Q_UNUSED(field);
        return {};
    }
    // The shown Vardeck was visited: its hit count.
    virtual void showHits(const QString &hits) { Q_UNUSED(hits); }
    // The shown Vardeck became a favourite, or is one no longer.
    virtual void showFavoriteMark(bool favorite) { Q_UNUSED(favorite); }
};

} // namespace rr
