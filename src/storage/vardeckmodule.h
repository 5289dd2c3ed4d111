#pragma once
// The small helpers around the database file and its identifiers. Which database
// is open is the main window's (its OpenDatabase).
#include <QString>

namespace rr
{

// True for "T" or "W" followed by a number without leading zeros (^[TW][1-9][0-9]{0,4}$).
// Identifiers name side files (icons, thumbnails) only when they have this form.
bool isValidIdentifier(const QString &id);
// The database's stem: its file name without the last four characters.
QString databaseStem(const QString &dbName);
// basePath & "icons/" & stem & "/" & wid & ".ico", or "" for an identifier or a
// stem that must not be used as part of a file name.
QString iconFilePath(const QString &basePath, const QString &dbName, const QString &wid);
// basePath & "thumbs/" & stem & "/" & wid & ".gif", or "" likewise.
QString thumbFilePath(const QString &basePath, const QString &dbName, const QString &wid);
// True when the stem can name a side folder: not empty, no separator, not "." or "..".
bool isSafeStem(const QString &stem);

} // namespace rr
