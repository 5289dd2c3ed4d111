#pragma once
// The entry that starts the program when the user logs in: an XDG autostart file,
// "razuzezu-revidod.desktop" in the autostart folder of the user's configuration
// ($XDG_CONFIG_HOME/autostart, default ~/.config/autostart). Its Exec line runs the
// program that is running now, quoted, with the switch "/startup".
#include <QString>

namespace rr::startupentry
{

// The path of the autostart file.
QString filePath();
// The Exec value for a program path: the path in double quotes (with the characters
// that need it escaped as desktop files want), then " /startup".
QString execLine(const QString &programPath);
// The whole desktop file for a program path.
QByteArray fileText(const QString &programPath);

// Writes the entry for programPath (atomically) or removes it. A missing entry is no
// failure when removing. False with the reason otherwise.
bool setRunAtStartup(bool run, const QString &programPath, QString *error = nullptr);

} // namespace rr::startupentry
