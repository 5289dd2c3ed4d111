#pragma once
// The pages a running Firefox shows, read from its own files: the profiles listed in
// profiles.ini (the usual and XDG places, snap and flatpak), each counted only while its lock
// names a live process of this machine, and the open tabs kept in the profile's
// session file. Firefox rewrites that file every few seconds, so a page opened a
// moment ago may not be in it yet. Everything here only reads.
#include "web/detectedpage.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace rr::firefox
{

inline constexpr char kLabel[] = "Mozilla Firefox";

struct Window {
    QList<DetectedPage> tabs; // in tab order
    int selected = -1;        // index into tabs, -1 when none
};

struct Session {
    QList<Window> windows;
    int selectedWindow = -1; // the window used last, -1 when none
    // The selected tab of the window used last, or of the first window.
    std::optional<DetectedPage> frontPage() const;
    // The indices of windows: the window used last first, then the others in order.
    QList<int> windowsUsedLastFirst() const;
};

// The profile folders listed in the profiles.ini files below home, in the order
// found; every folder listed once.
QStringList profileFolders(const QString &home);
// The profile folders whose lock names a live process of this machine.
QStringList liveProfileFolders(const QString &home);

// The windows and tabs of a session file's JSON; nothing when it is not one.
std::optional<Session> parseSession(const QByteArray &json);
// The session of a live profile, or nothing when its file is missing or unreadable.
std::optional<Session> readSession(const QString &profileFolder);

} // namespace rr::firefox
