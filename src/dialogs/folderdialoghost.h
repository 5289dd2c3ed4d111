#pragma once
// What the folder and move dialogs ask of the main window besides the font fallback:
// hearing of each change they made to the open database's document.
#include "platform/gui/stalepages.h"
#include "storage/ui/dialoghost.h"

namespace rr
{

class FolderDialogHost : public DialogHost
{
public:
    // What a dialog reports after every change of the document, saved or not (a failed
    // save keeps the change in memory and the window shows what the document holds).
    virtual void collectionChanged(const StalePages &stale) {}
};

} // namespace rr
