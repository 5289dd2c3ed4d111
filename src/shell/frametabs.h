#pragma once
// The main window's tab strips, as the parts that bring a tab forward see them. The
// window implements it; the strips themselves stay the frame's (frameviews.h names
// the tabs).
#include "shell/frameviews.h"

namespace rr
{

class FrameTabs
{
public:
    // The tab each strip shows. Showing a tab of the left pane runs what a click on it
    // runs.
    virtual IndexTab indexTab() const = 0;
    virtual void showIndexTab(IndexTab tab) = 0;
    virtual void showViewTab(ViewTab tab) = 0;
    virtual InfoTab infoTab() const = 0;
    virtual void showInfoTab(InfoTab tab) = 0;

protected:
    ~FrameTabs() = default;
};

} // namespace rr
