#pragma once
// The date and time texts the database stores. They are always built the same way,
// with English month abbreviations, whatever the user's locale, so that every file
// reads alike and sorts and parses the same on every machine.
//   CREATED_DATE: "06 Dec 2026"             (two-digit day, month, four-digit year)
//   KEYWORD2:     "06 Dec 2026 09:05 PM"    (that date, then the time on a 12-hour clock)
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

namespace rr
{

// "" for an invalid date.
QString createdDateText(const QDate &date);
QString createdDateText(const QDateTime &when);
// "hh:mm AM/PM"; "" for an invalid time.
QString mediumTimeText(const QTime &time);
// The last-visited stamp; "" for an invalid moment.
QString visitStampText(const QDateTime &when);

} // namespace rr
