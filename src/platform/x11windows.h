#pragma once
// The top-level windows of the X11 desktop as its window manager lists them, and a
// polite request to close one. Traps kept here so no caller meets them:
// - No display, a refused connection, or a display without a window manager's list
//   (bare X server, Wayland session) is "no list", never a crash or a block.
// - Only the window manager knows the stacking order: _NET_CLIENT_LIST_STACKING on
//   the root window, bottom to top; a window of that list may vanish before its
//   properties are read, and is then skipped.
// - Window properties are untrusted: lengths are capped, _NET_WM_NAME is UTF-8,
//   WM_NAME is read as Latin-1, WM_CLASS is two NUL-ended texts (instance, class).
// - Closing is asked of the window manager (_NET_CLOSE_WINDOW to the root), which
//   lets the program ask about unsaved work; nothing is destroyed or killed here.
// - One connection per call, always closed again.
#include <QList>
#include <QString>
#include <optional>

namespace rr::x11
{

struct TopLevelWindow {
    quint32 id = 0;
    QString title;
    QString instanceName; // WM_CLASS, first part
    QString className;    // WM_CLASS, second part
    qint64 pid = 0;       // _NET_WM_PID, 0 when not given
};

// False in a Wayland session: its windows have no global stacking order, even when
// an X server runs beside it for older programs.
bool sessionHasGlobalStacking();

// The top-level windows, top-most first; nothing when the display (":N", "" for
// $DISPLAY) cannot be reached or has no window manager's list.
std::optional<QList<TopLevelWindow>> windowsTopFirst(const QString &display = QString());

// Asks the window manager to close each window; returns how many requests were sent.
int requestClose(const QList<quint32> &windows, const QString &display = QString());

} // namespace rr::x11
