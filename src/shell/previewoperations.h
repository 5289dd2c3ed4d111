#pragma once
// What the frame, the options dialog and the Explorer ask of the details panel's
// preview pane. The preview (web/ui/preview.h) does the work and offers these on the
// window as it is installed; callers below the web panes ask the window for them
// (platform/gui/partoperations.h). Each function here does nothing, for a window put
// together without the preview.
#include <QString>

namespace rr
{

class PreviewOperations
{
public:
    virtual ~PreviewOperations() = default;

    // The pane shows address ("about:blank" empties it); an address it may not load
    // leaves it blank, and the status bar says why.
    virtual void navigatePreview(const QString & /*address*/) {}
    // The "Preview automatically" box shows the AutoPreview option.
    virtual void showAutoPreviewOption() {}
    // The box shows unticked, as the start and the opening of a database leave it; the
    // option is kept.
    virtual void untickAutoPreview() {}
};

} // namespace rr
