#pragma once
// What the frame, the options dialog, the finding panes, the Explorer and the imports ask
// of the switch between the Explorer Aspect and the Web Aspect. The switch
// (web/ui/aspects.h) does the work and offers these on the window as it is installed;
// callers below the web panes ask the window for them (platform/gui/partoperations.h).
// Each function here does nothing, for a window put together without the switch.

namespace rr
{

class AspectOperations
{
public:
    virtual ~AspectOperations() = default;

    // The Explorer Aspect is shown: its panes come back over the Web Aspect's, and the
    // Vardeck commands the Web Aspect turned off are on again (those an edit under way
    // turned off stay off).
    virtual void showAspectExplorer() {}
    // The Web Aspect is shown over the Explorer's panes, its page made when the pane is
    // blank or the page is stale; the commands on the shown Vardeck are off while it is.
    virtual void showAspectWeb() {}
};

} // namespace rr
