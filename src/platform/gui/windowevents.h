#pragma once
// Letting window events run in the middle of long work on the user-interface thread
// (an import, a merge, an export, a wait for another program), so that every window
// repaints and the window manager never sees the program hung.
//
// What runs, and what waits, while the work lets events through:
// - exposes, repaints, layout and queued calls run; so does reading from sockets
//   (a later launch's hand-off is taken in and answered);
// - user input reaches only the work's own window, and only the mouse (its buttons
//   keep working); input for any other window, and every key, is dropped rather than
//   kept for later, so nothing the user does can start a second run, close the
//   database or change the collection mid-run;
// - a window the window manager asks to close stays open (the work still uses it),
//   except the work's own window, which decides (a progress window cancels);
// - timers wait until the work has ended, so no delayed command (the hand-off's
//   capture, an icon fetch) starts in the middle of it;
// - no command and no dialog starts: a command of the window's registry that a queued
//   call runs meanwhile waits until the work has ended (commands.h), and no message
//   box opens (prompt::Hold; a notice is shown once the work has ended). A dialog
//   opened in the middle of the work would never get the input it needs.
#include <functional>

class QWidget;

namespace rr::windowevents
{

// The shortest time between two runs of keepAlive.
inline constexpr int kIntervalMs = 50;

// True while the pending window events run in the middle of long work (inside
// runPending, runAside or showWindow).
bool passingEvents();
// Runs what at once, or, when called while the pending events run in the middle of
// long work, from the application's event loop once they no longer do.
void postpone(std::function<void()> what);

// Lets the pending window events run now.
void runPending(QWidget *ownWindow = nullptr);
// Lets them run when kIntervalMs have passed since they last did; otherwise it costs
// one reading of the clock, so it may be called for every record.
void keepAlive(QWidget *ownWindow = nullptr);
// Runs work on a thread of its own and lets the pending window events run every
// kIntervalMs until it is done. For one long step that cannot report as it goes
// (parsing a large file, freeing a large document): work must touch nothing that
// the windows use, and the windows touch nothing of its.
void runAside(const std::function<void()> &work, QWidget *ownWindow = nullptr);
// Shows window. A splash screen shown before the application's loop runs makes Qt let
// the pending events run then and there; here they pass the same gate as runPending's,
// and a timer that falls due meanwhile fires one interval later instead.
void showWindow(QWidget *window);

} // namespace rr::windowevents
