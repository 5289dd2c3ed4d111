#pragma once
// An access key of a menu of the bar may also be another menu's (the main window's
// File and Favorites both use F) or a tab's (Recent and the Favorites tab use R). Qt
// takes turns between them: after Escape, or any time the key comes again, Alt+F
// opens Favorites, and Alt+F, Up, Enter opens a favourite. Here Alt and a menu's key
// always open the first menu of the bar with that key, its first item ready, as the
// platform the program's menus were laid out for does. A tab's key that no menu has
// stays the tab's.

class QMenuBar;

namespace rr
{

// From now on Alt and an access key of bar's menus opens the first of them in bar's window.
void openFirstMenuOnAccessKey(QMenuBar *bar);

} // namespace rr
