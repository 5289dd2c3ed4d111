#pragma once
// The main window's session, as the parts that wait for it to be free or keep what a
// browser scan found see it: whether the window has closed, its splash, and the pages
// the last scan found. The window implements it.
#include "web/detectedpage.h"

#include <QList>

#include <functional>

namespace rr
{

class frmSplash;

class FrameSession
{
public:
    // True once the window has saved itself and closed its windows, as the program ends.
    virtual bool isUnloaded() const = 0;
    // The start-up's splash window, or null when there is none.
    virtual frmSplash *splashWindow() const = 0;
    // The pages the last browser scan found, in the order found; a scan that found pages
    // replaces the earlier ones.
    virtual const QList<DetectedPage> &detectedPages() const = 0;
    virtual void browserPagesFound(const QList<DetectedPage> &pages) = 0;
    // A question asked before the window closes (File > Exit, the close box), before
    // any other: ask returns whether the window may close. A part whose work would be
    // lost by the close asks it.
    virtual void askBeforeClosing(std::function<bool()> ask) = 0;

protected:
    ~FrameSession() = default;
};

} // namespace rr
