#pragma once
// The folders Firefox keeps its profiles (and profiles.ini) in below a home folder:
// its own ~/.mozilla/firefox, the XDG configuration folder newer versions use when
// there is no ~/.mozilla, and those of the snap and flatpak packages. The page
// capture and the bookmark import and export all look in these places.
#include <QString>
#include <QStringList>

namespace rr
{

// The five folders in the order searched; the first is Firefox's own.
// $XDG_CONFIG_HOME counts only when it is an absolute path, else home/.config.
QStringList firefoxFolders(const QString &home);

} // namespace rr
