#include "exchange/firefoxexport.h"

#include "platform/atomicfile.h"
#include "platform/plainfile.h"
#include "storage/record.h"

#include <QFile>

namespace rr
{
namespace
{

constexpr qint64 kMaxBookmarkFileBytes = 256 * 1024 * 1024;

class MozWriter
{
public:
    MozWriter(const QByteArray &lineEnd, qint64 stamp) : m_nl(lineEnd), m_stamp(QByteArray::number(stamp)) {}

    void heading(const QString &id, const QString &name)
    {
        m_out += "<DT><H3 ADD_DATE=\"" + m_stamp + "\" ID=\"rdf:#" + escaped(id) + "\">" + escaped(name) + "</H3>" +
                 m_nl + "<DL><p>" + m_nl;
    }
    void close() { m_out += "</DL><p>" + m_nl; }

    void createMozFolder(const XmlNode &folder)
    {
        heading(folder.attribute(tag::Tid), folder.childText(tag::Name));
        for (const XmlNode &vardeck : folder.child(tag::Vardecks).childElements()) {
            if (vardeck.nodeName() == tag::Vardeck)
                createMozBookmark(vardeck);
        }
        for (const XmlNode &sub : folder.child(tag::SubFolders).childElements()) {
            if (sub.nodeName() == tag::Folder)
                createMozFolder(sub);
        }
        close();
    }

    QByteArray text() const { return m_out; }

private:
    static QByteArray escaped(const QString &text) { return text.toHtmlEscaped().toUtf8(); }

    void createMozBookmark(const XmlNode &vardeck)
    {
        m_out += "<DT><A HREF=\"" + escaped(vardeck.childText(tag::Address)) + "\" ADD_DATE=\"" + m_stamp +
                 "\" ID=\"rdf:#" + escaped(vardeck.attribute(tag::Wid)) + "\">" +
                 escaped(vardeck.childText(tag::Name)) + "</A>" + m_nl;
    }

    QByteArray m_nl;
    QByteArray m_stamp;
    QByteArray m_out;
};

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
    MozWriter writer(nl, stamp);
    writer.heading(newTID, QStringLiteral("Imported Vardecks"));
    for (const XmlNode &folder : doc.documentElement().childElements()) {
        if (folder.nodeName() == tag::Folder)
            writer.createMozFolder(folder);
    }
    writer.close();
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
