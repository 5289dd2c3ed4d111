#pragma once
// What the frame (its start-up and the hand-off of a later launch) and the Explorer's
// drops ask of the scan of the running browsers' pages. The browser capture
// (web/ui/capture.h) does the work and offers these on the window as it is installed;
// callers below the web panes ask the window for them (platform/gui/partoperations.h).
// Each function here does nothing, and a scan finds no page, for a window put together
// without the capture.

namespace rr
{

class CaptureOperations
{
public:
    virtual ~CaptureOperations() = default;

    // Scans the running browsers (only the browser window on top when topOnly) into the
    // window's detected pages; returns how many were found. It takes the place of a
    // start-up scan still running.
    virtual int getOpenBrowserPages(bool /*topOnly*/) { return 0; }
    // The dialog over the window's detected pages; OK starts a new Vardeck from the
    // chosen page. Nothing happens when there are no pages.
    virtual void showDetectedPagesDialog() {}
    // Scans the running browsers without holding the window up; pages found are offered
    // in the detected-pages dialog once the scan ends and the window is free for it.
    virtual void offerOpenBrowserPages() {}
};

} // namespace rr
