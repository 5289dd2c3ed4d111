#pragma once
// Points the five Web Aspect stylesheets of a database folder at a style sheet file:
// the second attribute of the first element named "LINK" (upper case) of each
// stylesheet holds the style sheet's file name.
#include <QString>
#include <QStringList>

namespace rr::webstyle
{

// "VD.xsl", "VDAll.xsl", "VDFavs.xsl", "VDHits.xsl", "VDSearch.xsl".
QStringList stylesheetNames();

struct Result {
    QStringList rewritten; // stylesheets that now name the new style
    QStringList failures;  // "VD.xsl: reason" for each stylesheet left as it was
};

// Rewrites the stylesheets of folder (with or without a trailing "/") whose link
// names another style. A missing stylesheet is passed over; one that does not parse
// or has no such link is left untouched and listed with the reason, and the others
// are still done. Each file is replaced atomically.
Result changeWebStyle(const QString &folder, const QString &cssFile);

} // namespace rr::webstyle
