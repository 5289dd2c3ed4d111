#include "exchange/firefoxexport.h"

#include "exchange/bookmarkexport.h"
#include "platform/atomicfile.h"
#include "platform/plainfile.h"
#include "storage/record.h"

#include <QFile>

namespace rr
{
namespace
{

constexpr qint64 kMaxBookmarkFileBytes = 256 * 1024 * 1024;

} // namespace

bool firefoxExportText(const QByteArray &fileBytes, const XmlDocument &doc, const QString &newTID, qint64 stamp,
                       QByteArray *text)
{
    const qsizetype last = fileBytes.toLower().lastIndexOf("</dl>");
    if (last < 0)
        return false;
    const QByteArray nl = fileBytes.contains("\r\n") ? QByteArrayLiteral("\r\n") : QByteArrayLiteral("\n");
    // The new folder starts the line that the last "</DL>" is on, before its indent.
    qsizetype at = last;
    while (at > 0 && (fileBytes[at - 1] == ' ' || fileBytes[at - 1] == '\t'))
        --at;
    BookmarkHtmlWriter writer({.lineEnd = nl, .identifiers = true, .indented = false, .level = 0}, stamp);
    writer.openFolder(newTID, QStringLiteral("Imported Vardecks"));
    for (const XmlNode &folder : doc.documentElement().childElements()) {
        if (folder.nodeName() == tag::Folder)
            writer.folder(folder);
    }
    writer.closeFolder();
    const bool lineStart = at == 0 || fileBytes[at - 1] == '\n';
    *text = fileBytes.left(at) + (lineStart ? QByteArray() : nl) + writer.text() + fileBytes.mid(at);
    return true;
}

FirefoxExportResult exportToFirefoxFile(const QString &bookmarkFile, const XmlDocument &doc, const QString &newTID,
                                        qint64 stamp)
{
    FirefoxExportResult result;
    QFile file(bookmarkFile);
    QString reason;
    if (!openPlainFile(file, &reason)) {
        result.error = bookmarkFile + QStringLiteral(" could not be read: ") + reason;
        return result;
    }
    if (file.size() > kMaxBookmarkFileBytes) {
        result.error = bookmarkFile + QStringLiteral(" is too large to be a bookmark file.");
        return result;
    }
    const QByteArray original = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = bookmarkFile + QStringLiteral(" could not be read: ") + file.errorString();
        return result;
    }
    QByteArray text;
    if (!firefoxExportText(original, doc, newTID, stamp, &text)) {
        result.error = bookmarkFile + QStringLiteral(" holds no bookmark list (no </DL>), so it was left as it is.");
        return result;
    }
    result.backupFile = bookmarkFile + QStringLiteral(".bak");
    if (!writeFileAtomically(result.backupFile, original, &result.error) ||
        !writeFileAtomically(bookmarkFile, text, &result.error))
        result.backupFile.clear();
    return result;
}

} // namespace rr
