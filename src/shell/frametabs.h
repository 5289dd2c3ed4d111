#pragma once
// The main window's tab strips, as the parts that bring a tab of the right pane forward
// see them. The window implements it; the strips themselves stay the frame's
// (frameviews.h names the tabs).
#include "shell/frameviews.h"

namespace rr
{

class FrameTabs
{
public:
    // The tab the right pane's strip, and the strip under the shown Vardeck, show.
    virtual void showViewTab(ViewTab tab) = 0;
    virtual void showInfoTab(InfoTab tab) = 0;

protected:
    ~FrameTabs() = default;
};

} // namespace rr
