#pragma once
// Addresses as the program takes them in and hands them on.
//
// An address typed, pasted, captured from a browser, dropped or imported holds one
// line with nothing around it: every way in goes through cleanAddress, so the opener
// is never handed " https://…" (which it takes for a file name and fails on).
//
// Addresses typed without a scheme: a host name beginning with "www." is a web page's
// address, and gets "http://" wherever an address is fetched, shown in the preview or
// handed to the desktop's opener (which would take it for a file name).
#include <QString>

namespace rr
{

// The address on one line (singleLineText) without the blanks, tabs and line breaks
// around it. Nothing inside it changes: percent escapes stay as they were given.
QString cleanAddress(const QString &address);

// True when the address, blanks around it dropped, begins with "www." in any letter case.
bool isWwwAddress(const QString &address);
// The one rule for whether an address is a web page's: blanks around it dropped, it
// begins with "http" in any letter case ("https" too), or it is a host name whose
// first label is "www" (isWwwAddress). A bare host name of another first label
// ("wwwx.example", "a.example") is not, for nothing would give it its "http://".
bool isWebAddress(const QString &address);
// Such an address with "http://" before it and the blanks around it dropped; any other
// address as it is.
QString withWebScheme(const QString &address);

} // namespace rr
