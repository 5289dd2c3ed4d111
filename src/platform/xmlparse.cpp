#include "platform/xmlparse.h"

#include "platform/xmldocument.h"

#include <QHash>
#include <QRegularExpression>

#include <array>
#include <cerrno>
#include <cstring>

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>

#include <unistd.h>

namespace rr
{
namespace
{

// Texts of up to 15 bytes live inside their node (COMPACT); the library's setters,
// used for every change, know it. With XML_PARSE_HUGE the library has no depth limit
// of its own: XmlDocument applies the one that counts.
constexpr int kParseOptions =
    XML_PARSE_DTDLOAD | XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_HUGE | XML_PARSE_COMPACT;

enum class Limit { None, Entities, Attributes, Namespaces, Ebcdic };

QString limitMessage(Limit limit)
{
    switch (limit) {
    case Limit::Entities:
        return QStringLiteral("The file declares entities, which a Vardecks database never holds.");
    case Limit::Attributes:
        return QStringLiteral("The file has an element with more attributes than a Vardecks database may have: at "
                              "most %1.")
            .arg(kMaxAttributes);
    case Limit::Namespaces:
        return QStringLiteral("The file declares more namespaces at once than a Vardecks database may: at most %1.")
            .arg(kMaxAttributes);
    case Limit::Ebcdic:
        return QStringLiteral("The file is written in EBCDIC, which a Vardecks database never is.");
    case Limit::None:
        break;
    }
    return QString();
}

// The characters that end a run of a start tag's names, blanks and values.
constexpr std::array<bool, 256> kTagStops = [] {
    std::array<bool, 256> stops{};
    stops['"'] = stops['\''] = stops['='] = stops['>'] = true;
    return stops;
}();

// Follows the markup of a text as its bytes go to the library, far enough to count
// the attributes of each start tag: comments, CDATA sections, processing
// instructions, quoted values and the document type declaration are stepped over
// as the library steps over them. Where the text is not well-formed the library
// stops anyway, so only well-formed text needs to be followed exactly.
class TagScanner
{
public:
    explicit TagScanner(const QByteArray &start)
    {
        const auto byte = [&start](int i) { return i < start.size() ? uchar(start.at(i)) : 0x100u; };
        const auto startsWith = [&byte](std::initializer_list<uint> bytes) {
            int i = 0;
            for (const uint b : bytes)
                if (byte(i++) != b)
                    return false;
            return true;
        };
        // The library tells encodings apart by the same first bytes.
        if (startsWith({0, 0, 0xFE, 0xFF}) || startsWith({0, 0, 0, '<'}))
            m_unit = 4, m_bigEndian = true;
        else if (startsWith({0xFF, 0xFE, 0, 0}) || startsWith({'<', 0, 0, 0}))
            m_unit = 4;
        else if (startsWith({0xFE, 0xFF}) || startsWith({0, '<', 0, '?'}))
            m_unit = 2, m_bigEndian = true;
        else if (startsWith({0xFF, 0xFE}) || startsWith({'<', 0, '?', 0}))
            m_unit = 2;
        else if (startsWith({0x4C, 0x6F, 0xA7, 0x94}))
            m_state = State::Ebcdic; // none of the markup above is in ASCII there
    }

    // How many of the size bytes may go on to the library: all of them, or those
    // before the first attribute past the limit (and from then on none).
    qsizetype pass(const char *data, qsizetype size)
    {
        if (m_state == State::Refused || m_state == State::Ebcdic)
            return 0;
        if (m_unit == 1) {
            // Runs of text, names and values go by at once; only the characters
            // that change the state are stepped over one by one.
            const char *p = data;
            const char *const end = data + size;
            while (p < end) {
                switch (m_state) {
                case State::Text:
                case State::EndTag:
                case State::Quoted:
                    p = static_cast<const char *>(std::memchr(p,
                                                              m_state == State::Text     ? '<'
                                                              : m_state == State::EndTag ? '>'
                                                                                         : m_quote,
                                                              size_t(end - p)));
                    if (!p)
                        return size;
                    m_state = m_state == State::Text     ? State::Lt
                              : m_state == State::EndTag ? State::Text
                                                         : m_afterQuote;
                    ++p;
                    break;
                case State::Lt:
                    if (*p == '/') {
                        m_state = State::EndTag;
                        ++p;
                    } else if (*p == '!' || *p == '?') {
                        step(*p++);
                    } else {
                        m_state = State::Tag;
                        m_attributes = 0;
                    }
                    break;
                case State::Tag:
                    while (p < end && !kTagStops[uchar(*p)])
                        ++p;
                    if (p == end)
                        return size;
                    [[fallthrough]];
                default:
                    if (!step(*p))
                        return p - data;
                    ++p;
                }
            }
            return size;
        }
        for (qsizetype i = 0; i < size; ++i) {
            m_partial[m_partialSize++] = uchar(data[i]);
            if (m_partialSize < m_unit)
                continue;
            m_partialSize = 0;
            quint32 value = 0;
            for (int b = 0; b < m_unit; ++b)
                value |= quint32(m_partial[m_bigEndian ? m_unit - 1 - b : b]) << (8 * b);
            if (!step(value < 0x80 ? char(value) : '\x80'))
                return qMax<qsizetype>(0, i + 1 - m_unit);
        }
        return size;
    }

    Limit limitPassed() const
    {
        return m_state == State::Refused ? Limit::Attributes : m_state == State::Ebcdic ? Limit::Ebcdic : Limit::None;
    }

private:
    enum class State {
        Text,
        Lt,
        Bang,
        BangDash,
        Comment,
        CData,
        Pi,
        EndTag,
        Tag,
        Quoted,
        Doctype,
        Subset,
        SubsetLt,
        SubsetLtBang,
        SubsetLtBangDash,
        Refused,
        Ebcdic,
    };

    // Steps over one character (any that is not ASCII comes as a byte above 0x7F);
    // false at the attribute past the limit.
    bool step(char c)
    {
        switch (m_state) {
        case State::Text:
            if (c == '<')
                m_state = State::Lt;
            return true;
        case State::Lt:
            if (c == '!') {
                m_state = State::Bang;
            } else if (c == '?') {
                enter(State::Pi, State::Text);
            } else if (c == '/') {
                m_state = State::EndTag;
            } else {
                m_state = State::Tag;
                m_attributes = 0;
                return step(c);
            }
            return true;
        case State::Bang:
            // "<!DOCTYPE"; anything else but a comment or CDATA is an error the library stops at.
            m_state = c == '-' ? State::BangDash : c == '[' ? State::CData : State::Doctype;
            m_run = 0;
            return true;
        case State::BangDash:
            if (c == '-')
                enter(State::Comment, State::Text);
            else
                m_state = State::Doctype;
            return true;
        case State::Comment:
            if (c == '>' && m_run >= 2)
                m_state = m_after;
            else
                m_run = c == '-' ? m_run + 1 : 0;
            return true;
        case State::CData:
            if (c == '>' && m_run >= 2)
                m_state = State::Text;
            else
                m_run = c == ']' ? m_run + 1 : 0;
            return true;
        case State::Pi:
            if (c == '>' && m_run)
                m_state = m_after;
            else
                m_run = c == '?';
            return true;
        case State::EndTag:
            if (c == '>')
                m_state = State::Text;
            return true;
        case State::Tag:
            if (c == '=' && ++m_attributes > kMaxAttributes) {
                m_state = State::Refused;
                return false;
            }
            if (c == '>')
                m_state = State::Text;
            else
                quoteAt(c, State::Tag);
            return true;
        case State::Quoted:
            if (c == m_quote)
                m_state = m_afterQuote;
            return true;
        case State::Doctype:
            if (c == '[')
                m_state = State::Subset;
            else if (c == '>')
                m_state = State::Text;
            else
                quoteAt(c, State::Doctype);
            return true;
        case State::Subset:
            if (c == '<')
                m_state = State::SubsetLt;
            else if (c == ']')
                m_state = State::Doctype;
            else
                quoteAt(c, State::Subset);
            return true;
        case State::SubsetLt:
            if (c == '!') {
                m_state = State::SubsetLtBang;
                return true;
            }
            if (c == '?') {
                enter(State::Pi, State::Subset);
                return true;
            }
            m_state = State::Subset;
            return step(c);
        case State::SubsetLtBang:
            if (c == '-') {
                m_state = State::SubsetLtBangDash;
                return true;
            }
            m_state = State::Subset;
            return step(c);
        case State::SubsetLtBangDash:
            if (c == '-') {
                enter(State::Comment, State::Subset);
                return true;
            }
            m_state = State::Subset;
            return step(c);
        case State::Refused:
        case State::Ebcdic:
            return false;
        }
        return true;
    }

    // A comment or processing instruction, and where the text goes on after it.
    void enter(State state, State after)
    {
        m_state = state;
        m_after = after;
        m_run = 0;
    }

    void quoteAt(char c, State after)
    {
        if (c == '"' || c == '\'') {
            m_quote = c;
            m_afterQuote = after;
            m_state = State::Quoted;
        }
    }

    State m_state = State::Text;
    State m_after = State::Text;      // where a comment or processing instruction ends up
    State m_afterQuote = State::Text; // where a quoted value ends up
    char m_quote = 0;
    int m_run = 0; // "-" before "-->", "]" before "]]>", or 1 after the "?" of "?>"
    int m_attributes = 0;
    int m_unit = 1; // bytes of one character: 1, or 2 (UTF-16) and 4 (UCS-4)
    bool m_bigEndian = false;
    uchar m_partial[4] = {};
    int m_partialSize = 0;
};

// Collects the first error of a parse instead of letting libxml2 print it, and the
// limit a text passed.
struct ErrorCollector {
    QString firstError;
    bool encodingError = false;
    Limit limit = Limit::None;
    QHash<QByteArray, int> declaredAttributes; // per element name
};

void collectError(void *userData, xmlErrorPtr error)
{
    auto *collector = static_cast<ErrorCollector *>(userData);
    // The database is read without validation: a validity problem (such as one
    // identifier used twice) is a warning, never a reason to refuse the file.
    if (!error || error->level < XML_ERR_ERROR || error->domain == XML_FROM_VALID || !collector->firstError.isEmpty())
        return;
    QString message = QString::fromUtf8(error->message ? error->message : "unknown error").trimmed();
    if (error->line > 0)
        message += QStringLiteral(" (line %1)").arg(error->line);
    collector->firstError = message;
    collector->encodingError = error->code == XML_ERR_INVALID_CHAR || error->code == XML_ERR_INVALID_ENCODING;
}

void silentGeneric(void *, const char *, ...) {}

bool hasEncodingDeclarationOrBom(const QByteArray &text)
{
    if (text.startsWith("\xEF\xBB\xBF") || text.startsWith("\xFF\xFE") || text.startsWith("\xFE\xFF"))
        return true;
    static const QRegularExpression decl(QStringLiteral("^\\s*<\\?xml[^>]*encoding\\s*="));
    return decl.match(QString::fromLatin1(text.left(200))).hasMatch();
}

thread_local ErrorCollector *t_collector = nullptr;

void stopAt(void *ctx, Limit limit)
{
    if (t_collector && t_collector->limit == Limit::None)
        t_collector->limit = limit;
    xmlStopParser(static_cast<xmlParserCtxtPtr>(ctx));
}

// A database never declares entities. One that does is refused as soon as the
// declaration is read, before any expansion: an entity used many times can make one
// read of a name take seconds and gigabytes, and external ones would read other files.
void refuseEntityDeclaration(void *ctx, const xmlChar *, int, const xmlChar *, const xmlChar *, xmlChar *)
{
    stopAt(ctx, Limit::Entities);
}

void refuseUnparsedEntityDeclaration(void *ctx, const xmlChar *, const xmlChar *, const xmlChar *, const xmlChar *)
{
    stopAt(ctx, Limit::Entities);
}

// Every attribute a document type gives an element with a default value is added to
// each such element before the tag's own attributes are checked against each other.
void countAttributeDeclaration(void *ctx, const xmlChar *element, const xmlChar *name, int type, int def,
                               const xmlChar *defaultValue, xmlEnumerationPtr values)
{
    xmlSAX2AttributeDecl(ctx, element, name, type, def, defaultValue, values);
    if (t_collector &&
        ++t_collector->declaredAttributes[QByteArray(reinterpret_cast<const char *>(element))] > kMaxAttributes)
        stopAt(ctx, Limit::Attributes);
}

// Each prefixed name of an element is looked up among all the namespaces declared
// by it and the elements around it.
void countNamespaces(void *ctx, const xmlChar *localName, const xmlChar *prefix, const xmlChar *uri, int namespaceCount,
                     const xmlChar **namespaces, int attributeCount, int defaultedCount, const xmlChar **attributes)
{
    if (static_cast<xmlParserCtxtPtr>(ctx)->nsNr / 2 > kMaxAttributes) {
        stopAt(ctx, Limit::Namespaces);
        return;
    }
    xmlSAX2StartElementNs(ctx, localName, prefix, uri, namespaceCount, namespaces, attributeCount, defaultedCount,
                          attributes);
}

// The library's reader: the source's bytes, through the scanner.
struct Reading {
    const XmlSource &source;
    TagScanner scanner;
    qsizetype offset = 0;
};

int readSource(void *context, char *buffer, int length)
{
    auto *reading = static_cast<Reading *>(context);
    qsizetype got = 0;
    if (reading->source.fd < 0) {
        got = qMin<qsizetype>(length, reading->source.bytes.size() - reading->offset);
        std::memcpy(buffer, reading->source.bytes.constData() + reading->offset, size_t(got));
        reading->offset += got;
    } else {
        ssize_t n;
        do {
            n = ::read(reading->source.fd, buffer, size_t(length));
        } while (n < 0 && errno == EINTR);
        if (n < 0)
            return -1;
        got = n;
    }
    // What the scanner holds back never reaches the library: to it, the text ends there.
    return int(reading->scanner.pass(buffer, got));
}

// Reads the text once with the parse options and the error collector, in the given
// encoding (null: as the text declares).
xmlDocPtr parseWith(const XmlSource &source, const QByteArray &start, const char *url, const char *encoding,
                    ErrorCollector *collector)
{
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt)
        return nullptr;
    ctxt->sax->entityDecl = refuseEntityDeclaration;
    ctxt->sax->unparsedEntityDecl = refuseUnparsedEntityDeclaration;
    ctxt->sax->attributeDecl = countAttributeDeclaration;
    ctxt->sax->startElementNs = countNamespaces;
    if (source.fd >= 0)
        ::lseek(source.fd, 0, SEEK_SET);
    Reading reading{source, TagScanner(start)};
    t_collector = collector;
    xmlSetStructuredErrorFunc(collector, collectError);
    xmlSetGenericErrorFunc(nullptr, silentGeneric);
    xmlDocPtr doc = xmlCtxtReadIO(ctxt, readSource, nullptr, &reading, url, encoding, kParseOptions);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    xmlSetGenericErrorFunc(nullptr, nullptr);
    t_collector = nullptr;
    xmlFreeParserCtxt(ctxt);
    if (collector->limit == Limit::None)
        collector->limit = reading.scanner.limitPassed();
    if (collector->limit != Limit::None)
        collector->firstError = limitMessage(collector->limit);
    if (doc && !collector->firstError.isEmpty()) {
        xmlFreeDoc(doc);
        doc = nullptr;
    }
    return doc;
}

} // namespace

_xmlDoc *parseDatabaseText(const XmlSource &source, const char *baseUrl, QString *error)
{
    QByteArray start = source.bytes.left(200);
    if (source.fd >= 0) {
        start.resize(200);
        const ssize_t n = ::pread(source.fd, start.data(), size_t(start.size()), 0);
        start.truncate(qMax<ssize_t>(n, 0));
    }
    ErrorCollector collector;
    xmlDocPtr doc = parseWith(source, start, baseUrl, nullptr, &collector);
    // Databases written by older programs in the Windows code page carry no
    // declaration: such a text is read again as windows-1252.
    if (!doc && collector.encodingError && collector.limit == Limit::None && !hasEncodingDeclarationOrBom(start)) {
        ErrorCollector retry;
        doc = parseWith(source, start, baseUrl, "windows-1252", &retry);
        if (retry.limit != Limit::None)
            collector.firstError = retry.firstError;
    }
    if (!doc && error)
        *error = collector.firstError;
    return doc;
}

} // namespace rr
