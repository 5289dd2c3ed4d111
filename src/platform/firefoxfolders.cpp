#include "platform/firefoxfolders.h"

#include <QDir>

namespace rr
{

QStringList firefoxFolders(const QString &home)
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = home + QStringLiteral("/.config");
    return {home + QStringLiteral("/.mozilla/firefox"), config + QStringLiteral("/mozilla/firefox"),
            home + QStringLiteral("/snap/firefox/common/.mozilla/firefox"),
            home + QStringLiteral("/.var/app/org.mozilla.firefox/.mozilla/firefox"),
            home + QStringLiteral("/.var/app/org.mozilla.firefox/config/mozilla/firefox")};
}

} // namespace rr
