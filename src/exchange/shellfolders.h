#pragma once
// The user's Favorites and application-data folders. The values "Favorites" and
// "AppData" of the Shell Folders key of the settings registry name them when the
// user has set them; otherwise the Favorites folder is "Favorites" in the home folder
// (where a Favorites folder copied from another computer usually lands) and the
// application-data folder is the home folder itself.
#include <QString>

namespace rr
{

inline constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders\\";

QString favoritesFolder();
QString appDataFolder();

} // namespace rr
