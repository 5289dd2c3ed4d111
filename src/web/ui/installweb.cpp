// The one file of the web panes that sees the whole main window: it hands them what
// they use of it (WebWindow), installs the preview, the Web Aspect and the browser
// capture, and finds the Web Aspect through it.
#include "web/ui/installweb.h"

#include "platform/gui/partoperations.h"
#include "shell/frmvardecks.h"
#include "shell/installedpart.h"
#include "web/ui/aspectbusy.h"
#include "web/ui/capture.h"
#include "web/ui/preview.h"
#include "web/ui/webaspect.h"

namespace rr
{

WebWindow webWindowOf(frmVardecks &w)
{
    return WebWindow{.mainWindow = w,
                     .parts = w,
                     .commands = w.commands,
                     .db = w.dbXML,
                     .shown = w,
                     .panes = w,
                     .status = w,
                     .menus = w,
                     .changes = w,
                     .options = w,
                     .session = w,
                     .pictures = w.vardeckPictures()};
}

void installPreview(frmVardecks &w)
{
    if (PreviewPane::of(w))
        return;
    auto *preview = new PreviewPane(webWindowOf(w));
    offerOperations<PreviewOperations>(w, *preview, *preview);
}

WebAspect *WebAspect::of(const frmVardecks &w)
{
    return installedPart<WebAspect>(w);
}

WebPane *webAspectPane(const frmVardecks &w)
{
    const WebAspect *aspect = WebAspect::of(w);
    return aspect ? aspect->pane() : nullptr;
}

void installWebAspect(frmVardecks &w)
{
    if (WebAspect::of(w))
        return;
    auto *aspect = new WebAspect(webWindowOf(w));
    offerOperations<WebAspectOperations>(w, *aspect, *aspect);
    installAspectBusy(webWindowOf(w));
}

void installCapture(frmVardecks &w)
{
    installCapture(webWindowOf(w));
}

} // namespace rr
