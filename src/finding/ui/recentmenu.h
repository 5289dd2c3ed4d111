#pragma once
// The Recent menu of the main window: the Vardecks last opened in a browser, newest
// first, as the items second(1), second(2), … under Clear and a separator.
#include <QString>

class QObject;

namespace rr
{

class Commands;
class FrameMenus;
class OpenDatabase;

// Offers the window the RecentMenuOperations (shell/recentmenuoperations.h), for as long
// as the window lives, and attaches second_Click and mnuRecentClear_Click: the menu's
// items are those of the window's menus, the Vardecks the open database's.
void installRecentMenu(QObject &window, Commands &commands, const OpenDatabase &db, FrameMenus &menus);

// With a WID: records that Vardeck as opened (newest record), then rebuilds the
// menu; with "" only rebuilds it.
void refreshRecentMenuList(const OpenDatabase &db, FrameMenus &menus, const QString &wid);
// Opens the recorded address of an item (1 = newest) and records the visit when the
// open database still has that Vardeck at that address.
void second_Click(const OpenDatabase &db, int index);
void mnuRecentClear_Click(const OpenDatabase &db, FrameMenus &menus);

} // namespace rr
