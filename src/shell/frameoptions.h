#pragma once
// What the options dialog's Apply carries into the main window's frame at once, with
// the Web Aspect pages a change of the Web Aspect style made stale (CollectionChanges).
// The window implements it.
#include "shell/collectionchanges.h"
#include "shell/menutable.h"

#include <QString>

namespace rr
{

class FrameOptions : public CollectionChanges
{
public:
    // The font size (8 when 0, also in size) for the controls that show Vardecks and
    // their fields.
    virtual void applyFontSize(int &size) = 0;
    // The notification-area icon shows, its right click popping up menu (mnuRecent or
    // mnuFavs).
    virtual void showTrayIcon(MenuId menu) = 0;
    // The Aspect shown, "Explorer" or "Web".
    virtual QString currentAspect() const = 0;

protected:
    ~FrameOptions() = default;
};

} // namespace rr
