#include "exchange/bookmarkfile.h"

#include "exchange/exchangenames.h"
#include "platform/mozlz4.h"
#include "platform/plainfile.h"
#include "platform/textutil.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>

#include <libxml/HTMLparser.h>

#include <cstring>

namespace rr
{
namespace
{

// The state of one streaming read of an HTML bookmark file.
class HtmlReader
{
public:
    explicit HtmlReader(QList<BookmarkEntry> *entries) : m_entries(entries) {}

    void start(const char *name, const xmlChar **attributes)
    {
        if (is(name, "dl")) {
            m_lists.append(m_pendingHeading >= 0 ? m_pendingHeading : scope());
            m_pendingHeading = -1;
        } else if (is(name, "h3")) {
            m_pendingHeading = -1;
            m_inHeading = true;
            m_text.clear();
        } else if (is(name, "a")) {
            m_pendingHeading = -1;
            m_inLink = true;
            m_text.clear();
            m_href.clear();
            for (const xmlChar **a = attributes; a && a[0]; a += 2) {
                if (is(reinterpret_cast<const char *>(a[0]), "href") && a[1])
                    m_href = decodeHtmlCharacterReferences(QString::fromUtf8(reinterpret_cast<const char *>(a[1])),
                                                           HtmlRefContext::Attribute);
            }
        }
    }

    void end(const char *name)
    {
        if (is(name, "dl")) {
            if (!m_lists.isEmpty())
                m_lists.removeLast();
        } else if (is(name, "h3") && m_inHeading) {
            m_inHeading = false;
            m_pendingHeading = m_headings++;
            m_entries->append(
                {BookmarkEntry::Kind::Heading, decodeHtmlCharacterReferences(m_text), QString(), scope()});
        } else if (is(name, "a") && m_inLink) {
            m_inLink = false;
            m_entries->append({BookmarkEntry::Kind::Link, decodeHtmlCharacterReferences(m_text), m_href, scope()});
        }
    }

    void characters(const xmlChar *text, int length)
    {
        if (m_inHeading || m_inLink)
            m_text += QString::fromUtf8(reinterpret_cast<const char *>(text), length);
    }

private:
    static bool is(const char *name, const char *wanted) { return name && qstricmp(name, wanted) == 0; }
    int scope() const { return m_lists.isEmpty() ? -1 : m_lists.last(); }

    QList<BookmarkEntry> *m_entries;
    QList<int> m_lists; // the heading of each open DL list (-1: none)
    int m_pendingHeading = -1;
    int m_headings = 0;
    bool m_inHeading = false;
    bool m_inLink = false;
    QString m_text; // as written, character references not yet decoded
    QString m_href;
};

HtmlReader *readerOf(void *context)
{
    return static_cast<HtmlReader *>(static_cast<htmlParserCtxtPtr>(context)->_private);
}

void onStart(void *context, const xmlChar *name, const xmlChar **attributes)
{
    readerOf(context)->start(reinterpret_cast<const char *>(name), attributes);
}

void onEnd(void *context, const xmlChar *name)
{
    readerOf(context)->end(reinterpret_cast<const char *>(name));
}

void onCharacters(void *context, const xmlChar *text, int length)
{
    readerOf(context)->characters(text, length);
}

bool fail(QString *error, const QString &reason)
{
    if (error)
        *error = reason;
    return false;
}

// Firefox's own names of the top containers of a backup.
QString containerTitle(const QJsonObject &container)
{
    const QString title = container.value(QStringLiteral("title")).toString();
    const QString guid = container.value(QStringLiteral("guid")).toString();
    if (guid == QLatin1String("menu________") && (title.isEmpty() || title == QLatin1String("menu")))
        return QStringLiteral("Bookmarks Menu");
    if (guid == QLatin1String("toolbar_____") && (title.isEmpty() || title == QLatin1String("toolbar")))
        return QStringLiteral("Bookmarks Toolbar");
    if (guid == QLatin1String("unfiled_____") && (title.isEmpty() || title == QLatin1String("unfiled")))
        return QStringLiteral("Other Bookmarks");
    if (guid == QLatin1String("mobile______") && (title.isEmpty() || title == QLatin1String("mobile")))
        return QStringLiteral("Mobile Bookmarks");
    return title;
}

void walkJson(const QJsonObject &container, int scope, int &headings, QList<BookmarkEntry> *entries, int depth)
{
    const QJsonArray children = container.value(QStringLiteral("children")).toArray();
    for (const QJsonValue &value : children) {
        const QJsonObject child = value.toObject();
        if (child.contains(QStringLiteral("children")) ||
            child.value(QStringLiteral("type")).toString() == QLatin1String("text/x-moz-place-container")) {
            // The empty top containers every profile has (mobile bookmarks) add nothing.
            if (depth == 0 && child.value(QStringLiteral("children")).toArray().isEmpty())
                continue;
            const int heading = headings++;
            entries->append({BookmarkEntry::Kind::Heading, containerTitle(child), QString(), scope});
            // The JSON reader's own nesting limit keeps this recursion short.
            walkJson(child, heading, headings, entries, depth + 1);
        } else if (child.contains(QStringLiteral("uri"))) {
            const QString uri = child.value(QStringLiteral("uri")).toString();
            if (!uri.startsWith(QLatin1String("place:")))
                entries->append(
                    {BookmarkEntry::Kind::Link, child.value(QStringLiteral("title")).toString(), uri, scope});
        }
    }
}

// The labels that browsers read as Windows-1252: those of Latin-1 and ASCII too.
bool isWindows1252Label(const QByteArray &label)
{
    static const QList<QByteArray> labels = {
        "ansi_x3.4-1968", "ascii",        "cp1252",   "cp819",      "csisolatin1",     "ibm819", "iso-8859-1",
        "iso-ir-100",     "iso8859-1",    "iso88591", "iso_8859-1", "iso_8859-1:1987", "l1",     "latin1",
        "us-ascii",       "windows-1252", "x-cp1252",
    };
    return labels.contains(label);
}

// The charset that a META tag among the first 1024 bytes declares, in lower case
// ("<META HTTP-EQUIV=… CONTENT="text/html; charset=UTF-8">", "<meta charset=utf-8>");
// empty when none does.
QByteArray declaredCharset(const QByteArray &bytes)
{
    const QByteArray head = bytes.left(1024).toLower();
    for (qsizetype meta = head.indexOf("<meta"); meta >= 0; meta = head.indexOf("<meta", meta + 5)) {
        const qsizetype end = head.indexOf('>', meta);
        const QByteArray tag = head.mid(meta, end < 0 ? -1 : end - meta);
        qsizetype at = tag.indexOf("charset");
        if (at < 0)
            continue;
        at += 7;
        while (at < tag.size() && (tag[at] == ' ' || tag[at] == '\t' || tag[at] == '\n' || tag[at] == '\r'))
            ++at;
        if (at >= tag.size() || tag[at] != '=')
            continue;
        ++at;
        while (at < tag.size() && (tag[at] == ' ' || tag[at] == '"' || tag[at] == '\''))
            ++at;
        qsizetype stop = at;
        while (stop < tag.size() && !QByteArrayView(" \t\r\n\"';/>").contains(tag[stop]))
            ++stop;
        if (stop > at)
            return tag.mid(at, stop - at);
    }
    return {};
}

// The text of a bookmark file: as its byte-order mark says, else as its META tag
// declares, else UTF-8 when the bytes are valid UTF-8, else Windows-1252.
QString bookmarkHtmlText(const QByteArray &bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    if (bytes.startsWith("\xFF\xFE"))
        return QStringDecoder(QStringDecoder::Utf16LE)(bytes.mid(2));
    if (bytes.startsWith("\xFE\xFF"))
        return QStringDecoder(QStringDecoder::Utf16BE)(bytes.mid(2));
    const QByteArray label = declaredCharset(bytes);
    if (isWindows1252Label(label))
        return decodeLegacyCodePage(bytes);
    // A file that says UTF-8 is read as UTF-8 unless its bytes are not UTF-8 at all;
    // one that says UTF-16 cannot be (its META tag was read as ASCII), so it is read
    // as if it said nothing.
    if (!label.isEmpty() && !label.contains("utf") && !label.contains("unicode")) {
        QStringDecoder declared(label.constData());
        if (declared.isValid())
            return declared(bytes);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? decodeLegacyCodePage(bytes) : text;
}

} // namespace

bool parseBookmarkHtml(const QByteArray &bytes, QList<BookmarkEntry> *entries, QString *error)
{
    // The parser gets UTF-8 whatever the file is written in, and every "&" escaped, so
    // that it hands over the texts and addresses as written and they are decoded as a
    // browser decodes them (the parser knows only part of the references, and none
    // without ";").
    QByteArray text = bookmarkHtmlText(bytes).toUtf8();
    text.replace("&", "&amp;");

    htmlSAXHandler sax;
    std::memset(&sax, 0, sizeof sax);
    sax.startElement = onStart;
    sax.endElement = onEnd;
    sax.characters = onCharacters;
    HtmlReader reader(entries);
    htmlParserCtxtPtr context = htmlCreatePushParserCtxt(&sax, nullptr, nullptr, 0, nullptr, XML_CHAR_ENCODING_UTF8);
    if (!context)
        return fail(error, QStringLiteral("the HTML reader could not be started"));
    context->_private = &reader;
    // The SAX functions receive the context as their user data.
    context->userData = context;
    htmlCtxtUseOptions(context, HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET | HTML_PARSE_IGNORE_ENC);
    constexpr qsizetype kChunk = 64 * 1024;
    for (qsizetype at = 0; at < text.size(); at += kChunk) {
        const qsizetype size = std::min(kChunk, text.size() - at);
        htmlParseChunk(context, text.constData() + at, int(size), 0);
    }
    htmlParseChunk(context, nullptr, 0, 1);
    htmlFreeParserCtxt(context);
    return true;
}

bool parseBookmarkJson(const QByteArray &json, QList<BookmarkEntry> *entries, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isObject())
        return fail(error, parseError.errorString());
    int headings = 0;
    walkJson(document.object(), -1, headings, entries, 0);
    return true;
}

bool readBookmarkFile(const QString &path, QList<BookmarkEntry> *entries, QString *error)
{
    if (path.endsWith(QLatin1String(".jsonlz4"), Qt::CaseInsensitive)) {
        QByteArray json;
        return mozlz4::readFile(path, &json, error) && parseBookmarkJson(json, entries, error);
    }
    QFile file(path);
    QString reason;
    if (!openPlainFile(file, &reason))
        return fail(error, reason);
    if (file.size() > kMaxBookmarkFileBytes)
        return fail(error, QStringLiteral("the file is too large"));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(error, file.errorString());
    return parseBookmarkHtml(bytes, entries, error);
}

} // namespace rr
