#pragma once
// Two menus of a menu bar may share an access key (the main window's File and
// Favorites both use F). Qt's bar takes turns between them: after Escape, or any time
// the key comes again, Alt+F opens Favorites, and Alt+F, Up, Enter opens a favourite.
// Here the key always opens the first of them, with its first item ready, as the
// platform the program's menus were laid out for does. Keys that only one menu has
// are left to Qt.

class QMenuBar;

namespace rr
{

// From now on the window of bar opens the first of its menus that share an access key.
void openFirstMenuOnSharedAccessKey(QMenuBar *bar);

} // namespace rr
