#pragma once
// The notification-area icon. While it is there, a left click shows and restores the
// main window, a right click pops up the Recent or Favorites menu, and minimising
// hides the window to the tray — only where a tray exists, so a window is never
// hidden for good on a desktop without one.
#include <QString>

class QMenu;
class QSystemTrayIcon;

namespace rr
{

class frmVardecks;

void addTrayIcon(frmVardecks *form, QMenu *menu);
void removeTrayIcon();
// At most 63 characters of the tip are kept.
void setTrayTip(const QString &text);

// The icon while it is there (tests drive its activation signal), else nullptr.
QSystemTrayIcon *trayIcon();
// What a left click on the icon does: show the window and restore its last state.
void trayIconLeftClick();

} // namespace rr
