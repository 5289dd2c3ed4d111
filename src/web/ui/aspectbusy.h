#pragma once
// While the Web Aspect makes its page or its pane loads one, the window says that it
// works: the busy pointer over it and "Preparing the web page…" in the status bar.
// Both go once the page is drawn, its load failed or ended, or the user left the Web
// Aspect; the status bar then shows again what it showed before. A large collection
// takes seconds to draw, and a pane that goes on showing the previous page or nothing
// would look stuck.
#include <QPointer>
#include <QString>

namespace rr
{

class frmVardecks;
struct WebWindow;

// The status bar's text while the Web Aspect works.
QString aspectBusyText();

// Watches the Web Aspect's pane; installWebAspect calls it.
void installAspectBusy(const WebWindow &w);
// Looks again whether the Web Aspect works, after the Aspect shown changed.
void refreshAspectBusy(frmVardecks &w);
// Whether the window says now that the Web Aspect works.
bool aspectBusyShown(const frmVardecks &w);

// The Web Aspect works while one lives: its page is being made. One that outlives
// the window's busy state (the window going meanwhile) does nothing more.
class MakingAspectPage
{
public:
    explicit MakingAspectPage(frmVardecks &w);
    ~MakingAspectPage();
    MakingAspectPage(const MakingAspectPage &) = delete;
    MakingAspectPage &operator=(const MakingAspectPage &) = delete;

private:
    QPointer<QObject> m_busy;
};

} // namespace rr
