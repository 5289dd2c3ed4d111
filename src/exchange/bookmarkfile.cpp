#include "exchange/bookmarkfile.h"

#include "exchange/bookmarkhtmlscan.h"
#include "exchange/exchangenames.h"
#include "platform/mozlz4.h"
#include "platform/plainfile.h"
#include "platform/textutil.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <QTimeZone>

namespace rr
{
namespace
{

// The state of one read of an HTML bookmark file.
class HtmlReader final : public BookmarkHtmlEvents
{
public:
    explicit HtmlReader(QList<BookmarkEntry> *entries) : m_entries(entries) {}

    void start(BookmarkElement element, QByteArrayView href) override
    {
        switch (element) {
        case BookmarkElement::List:
            m_lists.append(m_pendingHeading >= 0 ? m_pendingHeading : scope());
            m_pendingHeading = -1;
            break;
        case BookmarkElement::Heading:
            m_pendingHeading = -1;
            m_inHeading = true;
            m_text.clear();
            break;
        case BookmarkElement::Link:
            m_pendingHeading = -1;
            m_inLink = true;
            m_text.clear();
            m_href = decodeHtmlCharacterReferences(QString::fromUtf8(href), HtmlRefContext::Attribute);
            m_href.remove(QChar(0));
            break;
        }
    }

    void end(BookmarkElement element) override
    {
        if (element == BookmarkElement::List) {
            if (!m_lists.isEmpty())
                m_lists.removeLast();
        } else if (element == BookmarkElement::Heading && m_inHeading) {
            m_inHeading = false;
            m_pendingHeading = m_headings++;
            m_entries->append(
                {BookmarkEntry::Kind::Heading, decodeHtmlCharacterReferences(m_text), QString(), scope()});
        } else if (element == BookmarkElement::Link && m_inLink) {
            m_inLink = false;
            m_entries->append({BookmarkEntry::Kind::Link, decodeHtmlCharacterReferences(m_text), m_href, scope()});
        }
    }

    void text(QByteArrayView utf8) override
    {
        if (m_inHeading || m_inLink)
            m_text += QString::fromUtf8(utf8);
    }

private:
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

// The day of a Chromium "date_added": microseconds since 1601-01-01 UTC, as text.
QDate chromiumDay(const QJsonValue &value)
{
    bool ok = false;
    const qint64 micro = value.toString().toLongLong(&ok);
    if (!ok || micro <= 0)
        return {};
    constexpr qint64 k1601To1970Ms = 11644473600000LL;
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(micro / 1000 - k1601To1970Ms, QTimeZone::utc());
    return when.isValid() ? when.toLocalTime().date() : QDate();
}

void walkChromium(const QJsonObject &folder, int scope, int &headings, QList<BookmarkEntry> *entries)
{
    const QJsonArray children = folder.value(QStringLiteral("children")).toArray();
    for (const QJsonValue &value : children) {
        const QJsonObject child = value.toObject();
        const QString type = child.value(QStringLiteral("type")).toString();
        const QString name = child.value(QStringLiteral("name")).toString();
        if (type == QLatin1String("folder")) {
            const int heading = headings++;
            entries->append({BookmarkEntry::Kind::Heading, name, QString(), scope});
            // The JSON reader's own nesting limit keeps this recursion short.
            walkChromium(child, heading, headings, entries);
        } else if (type == QLatin1String("url")) {
            entries->append({BookmarkEntry::Kind::Link, name, child.value(QStringLiteral("url")).toString(), scope,
                             chromiumDay(child.value(QStringLiteral("date_added")))});
        }
    }
}

void readChromium(const QJsonObject &file, QList<BookmarkEntry> *entries)
{
    static const struct {
        const char *key;
        const char *name; // when the file gives none
    } roots[] = {
        {"bookmark_bar", "Bookmarks bar"},
        {"other", "Other bookmarks"},
        {"synced", "Mobile bookmarks"},
    };
    const QJsonObject all = file.value(QStringLiteral("roots")).toObject();
    int headings = 0;
    for (const auto &root : roots) {
        const QJsonObject folder = all.value(QLatin1String(root.key)).toObject();
        if (folder.value(QStringLiteral("children")).toArray().isEmpty())
            continue;
        QString name = folder.value(QStringLiteral("name")).toString();
        if (name.trimmed().isEmpty())
            name = QLatin1String(root.name);
        const int heading = headings++;
        entries->append({BookmarkEntry::Kind::Heading, name, QString(), -1});
        walkChromium(folder, heading, headings, entries);
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

// Whether the text has, anywhere, a tag that a bookmark file is made of: a list
// (DL, DT) or a link (A), or the document type of the Netscape format.
bool hasBookmarkMarkup(QByteArrayView text)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; };
    for (qsizetype at = text.indexOf('<'); at >= 0 && at + 3 < text.size(); at = text.indexOf('<', at + 1)) {
        const QByteArrayView rest = text.sliced(at + 1);
        const char first = char(rest[0] | 0x20);
        const char second = char(rest[1] | 0x20);
        const bool link = first == 'a' && isBlank(rest[1]);
        const bool list = first == 'd' && (second == 'l' || second == 't') && (isBlank(rest[2]) || rest[2] == '>');
        const bool doctype =
            rest[0] == '!' &&
            rest.first(std::min<qsizetype>(40, rest.size())).toByteArray().toLower().contains("netscape-bookmark-file");
        if (link || list || doctype)
            return true;
    }
    return false;
}

// What a file of no bookmark kind is, by its first bytes.
QString notBookmarks(const QByteArray &content)
{
    static const struct {
        QByteArrayView start;
        const char *what;
    } kinds[] = {
        {"%PDF-", "it is a PDF document"},
        {"PK\x03\x04", "it is a ZIP archive"},
        {"\x1f\x8b", "it is compressed with gzip"},
        {"BZh", "it is compressed with bzip2"},
        {"\xfd\x37zXZ", "it is compressed with xz"},
        {QByteArrayView("SQLite format 3\0", 16), "it is an SQLite database"},
        {"\x89PNG", "it is a picture"},
        {"GIF8", "it is a picture"},
        {"\xff\xd8\xff", "it is a picture"},
    };
    for (const auto &kind : kinds) {
        if (QByteArrayView(content).startsWith(kind.start))
            return QLatin1String(kind.what) + QStringLiteral(", not a bookmark file");
    }
    const QByteArray head = content.left(4096);
    if (head.contains('\0'))
        return QStringLiteral("it is not a text file, so not a bookmark file");
    if (head.trimmed().isEmpty())
        return content.trimmed().isEmpty() ? QStringLiteral("it is empty")
                                           : QStringLiteral("it holds no bookmark list or link");
    if (head.contains("<FOLDERS"))
        return QStringLiteral("it is a Vardecks database, which the import \"Another Vardecks database\" reads");
    if (head.trimmed().startsWith('<'))
        return QStringLiteral("it is a web page or other markup that holds no bookmark list or link");
    return QStringLiteral("it is a text file that holds no bookmark list or link");
}

// The format of a JSON document, or None with what it is.
BookmarkFormat jsonFormat(const QJsonDocument &document, QString *what)
{
    const QJsonObject top = document.object();
    if (top.value(QStringLiteral("roots")).isObject())
        return BookmarkFormat::ChromiumJson;
    if (top.value(QStringLiteral("children")).isArray() ||
        top.value(QStringLiteral("type")).toString() == QLatin1String("text/x-moz-place-container"))
        return BookmarkFormat::FirefoxJson;
    *what = top.value(QStringLiteral("windows")).isArray()
                ? QStringLiteral("it is a Firefox session (the pages that were open), not a bookmark backup")
                : QStringLiteral("it is JSON, but neither a Firefox bookmark backup nor a Chromium Bookmarks file");
    return BookmarkFormat::None;
}

// A file's content examined: its format, and for the JSON formats the document.
struct Examined {
    BookmarkFormat format = BookmarkFormat::None;
    QJsonDocument json;
    QString what; // for None
};

Examined examine(const QByteArray &content)
{
    Examined result;
    QByteArray json;
    if (content.startsWith(QByteArrayView("mozLz40\0", 8))) {
        if (!mozlz4::decompress(content, &json, &result.what))
            return result;
    } else {
        qsizetype first = content.startsWith("\xEF\xBB\xBF") ? 3 : 0;
        while (first < content.size() && QByteArrayView(" \t\r\n").contains(content[first]))
            ++first;
        if (first < content.size() && (content[first] == '{' || content[first] == '['))
            json = first == 0 ? content : content.mid(first);
    }
    if (!json.isEmpty()) {
        QJsonParseError error;
        result.json = QJsonDocument::fromJson(json, &error);
        if (result.json.isNull()) {
            result.what =
                QStringLiteral("its JSON is damaged (%1 at byte %2)").arg(error.errorString()).arg(error.offset);
            return result;
        }
        result.format = jsonFormat(result.json, &result.what);
        return result;
    }
    const bool utf16 = content.startsWith("\xFF\xFE") || content.startsWith("\xFE\xFF");
    if (!utf16 && content.left(4096).contains('\0')) {
        result.what = notBookmarks(content);
        return result;
    }
    if (hasBookmarkMarkup(utf16 ? bookmarkHtmlText(content).toUtf8() : content)) {
        result.format = BookmarkFormat::Html;
        return result;
    }
    result.what = notBookmarks(content);
    return result;
}

} // namespace

BookmarkFormat bookmarkFormatOf(const QByteArray &content, QString *what)
{
    Examined examined = examine(content);
    if (what)
        *what = examined.what;
    return examined.format;
}

bool parseBookmarkHtml(const QByteArray &bytes, QList<BookmarkEntry> *entries, QString *)
{
    // Read as UTF-8 whatever the file is written in; texts and addresses are taken as
    // written and their character references decoded as a browser decodes them.
    HtmlReader reader(entries);
    scanBookmarkHtml(bookmarkHtmlText(bytes).toUtf8(), reader);
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

bool parseChromiumBookmarks(const QByteArray &json, QList<BookmarkEntry> *entries, QString *error)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (!document.isObject())
        return fail(error, parseError.errorString());
    readChromium(document.object(), entries);
    return true;
}

bool readBookmarkFile(const QString &path, QList<BookmarkEntry> *entries, QString *error)
{
    QFile file(path);
    QString reason;
    if (!openPlainFile(file, &reason))
        return fail(error, reason);
    if (file.size() > kMaxBookmarkFileBytes)
        return fail(error, QStringLiteral("the file is too large"));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(error, file.errorString());
    const Examined examined = examine(bytes);
    switch (examined.format) {
    case BookmarkFormat::Html:
        return parseBookmarkHtml(bytes, entries, error);
    case BookmarkFormat::FirefoxJson: {
        int headings = 0;
        walkJson(examined.json.object(), -1, headings, entries, 0);
        return true;
    }
    case BookmarkFormat::ChromiumJson:
        readChromium(examined.json.object(), entries);
        return true;
    case BookmarkFormat::None:
        break;
    }
    return fail(error, examined.what);
}

} // namespace rr
