#pragma once
// Where the Chromium-family browsers keep their bookmarks below a home folder, and
// the top folder each profile's bookmarks are imported into.
//
// Chromium, Google Chrome, Brave, Vivaldi and Microsoft Edge keep one folder of
// profiles each in the user's configuration folder ($XDG_CONFIG_HOME when it is an
// absolute path, else home/.config), and so do their Flatpak packages below
// ~/.var/app/<id>/config and their Snap packages below ~/snap/<name>. A profile is a
// sub-folder ("Default", "Profile 1", …) that holds a "Bookmarks" file.
//
// Each profile gets a top folder of its own: "Imported Chromium bookmarks" for the
// first profile of a browser installed the usual way, the profile's folder and the
// package named after it otherwise ("Imported Chromium bookmarks (Profile 1)",
// "Imported Brave bookmarks (Flatpak, Profile 2)").
#include "exchange/bookmarkimport.h"

namespace rr
{

// The browsers in the order searched, as their names appear in the top folders.
QStringList chromiumBrowserNames();
// Every profile's Bookmarks file below home with the name of its top folder: browser
// by browser, the usual install before the Flatpak and Snap ones, "Default" before
// "Profile 1", "Profile 2" before "Profile 10", other profile folders after them by
// name.
QList<BookmarkSource> findChromiumBookmarks(const QString &home);

} // namespace rr
