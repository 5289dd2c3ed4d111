#pragma once
// What the frame's start-up and the options dialog ask of the Web Aspect's pages, and
// the Aspect switch of its rendering. The Web Aspect (web/ui/webaspect.h) does the work
// and offers these on the window as it is installed; callers below the web panes ask the
// window for them (platform/gui/partoperations.h). Each function here does nothing, for
// a window put together without the Web Aspect.
#include <QString>

namespace rr
{

class WebAspectOperations
{
public:
    virtual ~WebAspectOperations() = default;

    // The program renders the page "Vardecks" & pageName & ".htm" beside the database
    // through the stylesheet style when stale, then shows it. Before the Web Aspect was
    // ever shown, and while the Explorer Aspect is, nothing is made: entering the Web
    // Aspect makes the page.
    virtual void loadAspectPage(const QString & /*style*/, const QString & /*pageName*/, bool /*stale*/) {}
    // The pane formats the database file itself through the stylesheet style, which
    // the file names in an instruction right after its declaration.
    virtual void applyAspectStyle(const QString & /*style*/) {}
    // The "Use default browser formatting" box shows whether the browser formats the
    // Web Aspect's pages (the session's webAspectHtml off).
    virtual void showWebAspectFormatting() {}
};

} // namespace rr
