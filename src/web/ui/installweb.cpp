// The one file of the web panes that sees the whole main window: it hands them what
// they use of it (WebWindow) and installs the preview and the browser capture.
#include "web/ui/installweb.h"

#include "platform/gui/partoperations.h"
#include "shell/frmvardecks.h"
#include "web/ui/capture.h"
#include "web/ui/preview.h"

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

void installCapture(frmVardecks &w)
{
    installCapture(webWindowOf(w));
}

} // namespace rr
