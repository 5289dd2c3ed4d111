#pragma once
// Turning the names of folders and Vardecks into names of the file system, and the
// text encodings of Internet Shortcut files.
//
// A name of the collection may hold anything ("a/b", "..", a colon, a line break);
// written as it is it would lead outside the folder being written, fail on the
// other systems the files are carried to, or clash with a sibling. Every name that
// becomes a path goes through safePathComponent, and every new entry through
// uniqueEntryName, so an export writes exactly one entry per folder and Vardeck and
// only inside its own target folder.
#include <QByteArray>
#include <QSet>
#include <QString>

namespace rr
{

// The longest name, in UTF-8 bytes, that safePathComponent gives; room is left for a
// " (n)" suffix and an extension within the file system's 255 bytes.
inline constexpr int kMaxComponentBytes = 240;

// One path component that names exactly one entry: separators, NUL, control
// characters and \ : * ? " < > | become "_"; "", "." and ".." become "_"; the result
// is cut to kMaxComponentBytes bytes of UTF-8 without splitting a character.
QString safePathComponent(const QString &name);

// stem + extension, or, when that name is taken, stem + " (2)" + extension, " (3)"…
// Names are compared ignoring letter case (the files may go to a system that
// does), against the entries of folder and the names already given in taken, and
// the chosen name is added to taken. stem should already be a safe component.
QString uniqueEntryName(const QString &folder, const QString &stem, const QString &extension, QSet<QString> &taken);

// The legacy code page of shortcut files (Windows-1252): decoding never fails;
// encoding succeeds only when every character has a byte.
QString decodeLegacyCodePage(const QByteArray &bytes);
bool encodeLegacyCodePage(const QString &text, QByteArray *bytes);

// Text of a shortcut file as written on another system: UTF-8 when the bytes are
// valid UTF-8 (a leading byte-order mark dropped), the legacy code page otherwise.
QString decodeShortcutText(const QByteArray &bytes);

} // namespace rr
