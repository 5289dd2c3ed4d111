#pragma once
// Addresses typed without a scheme: a host name beginning with "www." is a web page's
// address, and gets "http://" wherever an address is fetched, shown in the preview or
// handed to the desktop's opener (which would take it for a file name).
#include <QString>

namespace rr
{

// True when the address, blanks around it dropped, begins with "www." in any letter case.
bool isWwwAddress(const QString &address);
// Such an address with "http://" before it and the blanks around it dropped; any other
// address as it is.
QString withWebScheme(const QString &address);

} // namespace rr
