#pragma once
// The CSV export: every Vardeck of the database, in document order, as one line of
// eight fields under a fixed header, for spreadsheet programs.
//
// Every field is cleaned the same way: line breaks and commas become blanks, so a
// field never splits a line or a column; a field that a spreadsheet would run as a
// formula (starting with "=", "+", "-", "@" or a tab) gets a leading "'"; a field
// that still holds a double quote is quoted, its quotes doubled. Lines end in CR LF.
#include "platform/xmldocument.h"

#include <QByteArray>
#include <QString>

namespace rr
{

QString csvField(const QString &text);
// The whole file, UTF-8, header first.
QByteArray csvText(const XmlDocument &doc);

} // namespace rr
