#pragma once
// Adding the whole collection to Firefox's HTML bookmark file as one new folder
// "Imported Vardecks" that keeps the folder tree.
//
// The new folder goes in just before the file's last "</DL>" (the end of its top
// list), in the file's own line endings; names and addresses are escaped, so that a
// "<" or "&" in a name cannot break the file; every ADD_DATE is the same moment in
// UTC seconds. The file as it was is first kept beside it as ".bak", then the new
// text replaces it atomically. A file without "</DL>" is not a bookmark file: then
// nothing is written.
#include "platform/xmldocument.h"

#include <QByteArray>
#include <QString>

namespace rr
{

// The new text of the bookmark file; false when it has no "</DL>".
bool firefoxExportText(const QByteArray &fileBytes, const XmlDocument &doc, const QString &newTID, qint64 stamp,
                       QByteArray *text);

struct FirefoxExportResult {
    QString error; // why nothing was written; empty on success
    QString backupFile;
};

FirefoxExportResult exportToFirefoxFile(const QString &bookmarkFile, const XmlDocument &doc, const QString &newTID,
                                        qint64 stamp);

} // namespace rr
