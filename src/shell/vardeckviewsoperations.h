#pragma once
// What the frame (its start-up and shut-down), the options dialog and the finding panes
// ask of the Explorer's Vardeck views: the shown folder's Vardeck tree and its list
// listVD. The views (explorer/vardeckviews.h) do the work and offer these on the window
// as they are installed; callers below the Explorer ask the window for them
// (platform/gui/partoperations.h). Each function here does nothing, for a window put
// together without the views.
#include "platform/xmldocument.h"

namespace rr
{

class VardeckViewsOperations
{
public:
    virtual ~VardeckViewsOperations() = default;

    // The list alone is filled again with the folder's Vardecks, their texts as stored,
    // the shown Vardeck's row selected; nothing when folder is no folder.
    virtual void populateVDList(const XmlNode & /*folder*/) {}
    // The list shows its rows as a report of six columns (View as list).
    virtual void viewAsList() {}
    // The list shows its rows as icons (View as icons).
    virtual void viewAsIcons() {}
    // The window's Vardeck pictures are read again from the shared icon folder and the
    // open database's.
    virtual void populateIconList() {}
    // Every visit count was reset to 1: the folder list's rows say so.
    virtual void showHitsResetInFolderList() {}
    // The folder list's column widths: restored from the settings once the window is
    // laid out, and written to them as the window closes.
    virtual void restoreFolderListColumns() {}
    virtual void saveFolderListColumns() const {}
};

} // namespace rr
