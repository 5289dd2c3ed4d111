#include "exchange/chromiumprofiles.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace rr
{
namespace
{

enum class Install { Usual, Flatpak, Snap };

struct Place {
    const char *browser;
    Install install;
    // Below the configuration folder for the usual install, below home otherwise.
    const char *folder;
};

const Place kPlaces[] = {
    {"Chromium", Install::Usual, "chromium"},
    {"Chromium", Install::Flatpak, ".var/app/org.chromium.Chromium/config/chromium"},
    {"Chromium", Install::Snap, "snap/chromium/common/chromium"},
    {"Google Chrome", Install::Usual, "google-chrome"},
    {"Google Chrome", Install::Flatpak, ".var/app/com.google.Chrome/config/google-chrome"},
    {"Brave", Install::Usual, "BraveSoftware/Brave-Browser"},
    {"Brave", Install::Flatpak, ".var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser"},
    {"Brave", Install::Snap, "snap/brave/current/.config/BraveSoftware/Brave-Browser"},
    {"Vivaldi", Install::Usual, "vivaldi"},
    {"Vivaldi", Install::Flatpak, ".var/app/com.vivaldi.Vivaldi/config/vivaldi"},
    {"Vivaldi", Install::Snap, "snap/vivaldi/current/.config/vivaldi"},
    {"Microsoft Edge", Install::Usual, "microsoft-edge"},
    {"Microsoft Edge", Install::Flatpak, ".var/app/com.microsoft.Edge/config/microsoft-edge"},
};

// "Default" first, then "Profile N" by number, then the others by name.
bool profileBefore(const QString &a, const QString &b)
{
    static const QRegularExpression numbered(QStringLiteral("^Profile (\\d+)$"));
    const auto rank = [](const QString &name) -> std::pair<int, qint64> {
        if (name == QLatin1String("Default"))
            return {0, 0};
        const QRegularExpressionMatch match = numbered.match(name);
        if (match.hasMatch())
            return {1, match.captured(1).toLongLong()};
        return {2, 0};
    };
    const auto ra = rank(a);
    const auto rb = rank(b);
    return ra != rb ? ra < rb : a < b;
}

} // namespace

QStringList chromiumBrowserNames()
{
    QStringList names;
    for (const Place &place : kPlaces) {
        if (!names.contains(QLatin1String(place.browser)))
            names << QLatin1String(place.browser);
    }
    return names;
}

QList<BookmarkSource> findChromiumBookmarks(const QString &home)
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || !QDir::isAbsolutePath(config))
        config = home + QStringLiteral("/.config");
    QList<BookmarkSource> found;
    for (const Place &place : kPlaces) {
        const QString folder =
            (place.install == Install::Usual ? config : home) + QLatin1Char('/') + QLatin1String(place.folder);
        QStringList profiles;
        for (const QFileInfo &entry : QDir(folder).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
            if (QFileInfo(entry.filePath() + QStringLiteral("/Bookmarks")).isFile())
                profiles << entry.fileName();
        }
        std::sort(profiles.begin(), profiles.end(), profileBefore);
        for (const QString &profile : std::as_const(profiles)) {
            QStringList about;
            if (place.install == Install::Flatpak)
                about << QStringLiteral("Flatpak");
            else if (place.install == Install::Snap)
                about << QStringLiteral("Snap");
            if (profile != QLatin1String("Default"))
                about << profile;
            QString top = QStringLiteral("Imported %1 bookmarks").arg(QLatin1String(place.browser));
            if (!about.isEmpty())
                top += QStringLiteral(" (") + about.join(QStringLiteral(", ")) + QLatin1Char(')');
            found << BookmarkSource{folder + QLatin1Char('/') + profile + QStringLiteral("/Bookmarks"), top};
        }
    }
    return found;
}

} // namespace rr
