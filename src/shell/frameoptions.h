#pragma once
// What the options dialog's Apply carries into the main window's frame at once. The
// window implements it.
#include "shell/menutable.h"

#include <QString>

class QObject;

namespace rr
{

class FrameOptions
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
    // The window, which the dialog asks for the parts' operations
    // (platform/gui/partoperations.h).
    virtual const QObject &partsWindow() const = 0;

protected:
    ~FrameOptions() = default;
};

} // namespace rr
