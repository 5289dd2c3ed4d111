#pragma once
// The main window's commands on the pages of running browsers: Tools > Get Vardeck
// from browser, Tools > Close all browser windows, the scan and the detected-pages
// dialog that the start-up, the drops and the hand-off use, and the Web browser
// integration items.
#include "web/detectedpage.h"
#include "web/pagecapture.h"

#include <optional>

namespace rr
{

class frmVardecks;
struct WebWindow;

// Attaches the commands above and offers the scan and the detected-pages dialog
// (shell/captureoperations.h) on the window; the first hands the second the window's
// view (installweb.cpp).
void installCapture(frmVardecks &w);
void installCapture(const WebWindow &w);

// Runs a scan into the pages the window keeps (FrameSession); returns the page count.
// It takes the place of a start-up scan still running.
int getOpenBrowserPages(const WebWindow &w, bool topOnly);
// The start-up's scan: returns at once; when the scan ends with pages, the window keeps
// them and the detected-pages dialog opens as soon as the window is free for it (not
// while the splash, a modal window or a menu is open), unless the window is closing, a
// Vardeck is being edited or no database is open by then.
void offerOpenBrowserPages(const WebWindow &w);
// The dialog over the pages the window keeps; OK starts a new Vardeck from the chosen
// page. Nothing happens when there are no pages.
void showDetectedPagesDialog(const WebWindow &w);
void mnuToolsGet_Click(const WebWindow &w);
void mnuToolsCloseAll_Click(const WebWindow &w);
void mnuToolsIntegrate_Click(const WebWindow &w);
void mnuUndoIntegration_Click(const WebWindow &w);
void mnuToolsIntegrateFF_Click(const WebWindow &w);

// Where the scan looks; nothing restores the real home, ports and display. For tests.
void setCaptureSettings(std::optional<CaptureSettings> settings);

} // namespace rr
