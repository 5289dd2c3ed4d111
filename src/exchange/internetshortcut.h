#pragma once
// Internet Shortcut (".url") files: the small text files in which a Favorites folder
// keeps one bookmark each.
//
// Reading: the address is the rest of the last line that holds "URL=" and does not
// hold "BASEURL=" (exact letter case, anywhere in the line), whatever section it is
// in; every other line (IconFile=, sections, BASEURL=) is passed over. Lines end in
// CR LF, LF or CR; the text is UTF-8 when it is valid UTF-8, else the legacy code page,
// except in the section "[InternetShortcut.W]", whose values are UTF-7.
// Writing: "[InternetShortcut]" and "URL=" + address, each ended by CR LF, in the
// legacy code page when it holds every character (UTF-8 otherwise), with any CR or LF
// of the address dropped so that it cannot add lines of its own.
#include <QByteArray>
#include <QString>

namespace rr
{

// Files larger than this are no shortcut; reading them is refused.
inline constexpr qint64 kMaxShortcutFileBytes = 1024 * 1024;

// The address a shortcut file's text gives; false when it gives none.
bool shortcutAddress(const QByteArray &fileBytes, QString *address);

enum class ShortcutRead { Address, NoAddress, Unreadable };
// Reads one file; address is set for Address, error for Unreadable.
ShortcutRead readShortcutFile(const QString &path, QString *address, QString *error = nullptr);

// The bytes of a shortcut file for address.
QByteArray shortcutFileBytes(const QString &address);
// Writes the file atomically; false with the reason.
bool writeShortcutFile(const QString &path, const QString &address, QString *error = nullptr);

// The Vardeck's name taken from a file name: the name without its last four
// characters ("Example.url" gives "Example"; a name of four characters or fewer
// gives "").
QString nameFromFileName(const QString &fileName);
// True when the last three characters of the file name are suffix in any letter case
// ("URL" for shortcuts, "PDF" for documents).
bool fileNameEndsWith(const QString &fileName, const QString &suffix);

} // namespace rr
