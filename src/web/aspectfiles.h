#pragma once
// The files of the Web Aspect beside a database: the five view stylesheets, the
// three self-contained mail and export stylesheets, the five styles and the
// rendered pages; and the stylesheet instruction a database file carries when the
// web pane formats it itself.
#include <QString>
#include <QStringList>

namespace rr
{

class XmlDocument;

namespace aspectfiles
{

// "VD.xsl", "VDAll.xsl", "VDFavs.xsl", "VDHits.xsl", "VDSearch.xsl".
QStringList viewStylesheets();
// The stored style when it is one of the five view stylesheets (ignoring letter
// case, given back in its own spelling), "VD.xsl" for anything else: the name
// becomes a file name and part of an instruction.
QString safeViewStylesheet(const QString &stored);

// folder & "Vardecks" & pageName & ".htm"; folder ends with its separator.
QString pagePath(const QString &folder, const QString &pageName);

// Puts the installed stylesheet in the place of each copy in folder that an earlier
// version of the program left there unchanged; a copy its user changed, and every
// style, stays. Returns false with a reason when one could not be replaced.
bool bringUpToDate(const QString &folder, QString *error = nullptr);
// bringUpToDate, then copies the stylesheets and styles missing from folder out of
// the installed data. Returns false with a reason when one could not be copied.
bool restoreMissing(const QString &folder, QString *error = nullptr);

// Replaces every xsl stylesheet instruction at the top of the document (written
// with single or double quotes, any letter case) by one for xsl, right after the
// XML declaration.
void setStylesheetInstruction(XmlDocument &document, const QString &xsl);

} // namespace aspectfiles
} // namespace rr
