#include "platform/xmlparse.h"

#include "platform/filestamp.h"
#include "platform/xmldocument.h"
#include "platform/xmlerrors.h"
#include "platform/xmlwalk.h"

#include <QHash>
#include <QRegularExpression>

#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <vector>

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/valid.h>
#include <libxml/xmlerror.h>

#include <unistd.h>

namespace rr
{
namespace
{

// Texts of up to 15 bytes live inside their node (COMPACT); the library's setters,
// used for every change, know it. With XML_PARSE_HUGE the library has no depth limit
// of its own: the one that counts is applied here.
constexpr int kParseOptions =
    XML_PARSE_DTDLOAD | XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_HUGE | XML_PARSE_COMPACT;

// The library keeps the attributes of the start tag it reads in one array of five
// slots per attribute, which it grows to twice what the tag needs: from 2 * (5c + 10)
// slots the tag had more than c attributes. A document type adds at most
// kMaxAttributes defaults to those the tag gives, so a tag past twice the limit is
// past it whatever its document type.
constexpr int kAttributeSlotsPastTheLimit = 2 * (5 * 2 * kMaxAttributes + 10);

// How much of an open file one read takes: the library asks for a few kilobytes at a
// time, which would cost a system call each.
constexpr qsizetype kFileReadSize = 256 * 1024;

enum class Limit { None, Entities, Attributes, Namespaces, Ebcdic, Utf32, Folders, Depth, DroppedDefault };

// Collects the first error of a parse instead of letting libxml2 print it, the limit a
// text passed, and what the limits count as the text is read.
struct ErrorCollector {
    QString firstError;
    bool encodingError = false;
    Limit limit = Limit::None;
    QString droppedDefault;                    // the declaration whose default the library dropped
    QHash<QByteArray, int> declaredAttributes; // per element name
    int depth = 0;                             // elements open around the next one
    int folders = 0;                           // FOLDER elements among them
    ElementVisitor *visitor = nullptr;
    // The open elements that blank texts were kept in (once for each kept text): the
    // blanks stay in the tree until the element ends, and stay on if it holds words.
    std::vector<xmlNodePtr> blanksIn;
};

QString limitMessage(const ErrorCollector &collector)
{
    switch (collector.limit) {
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
    case Limit::Utf32:
        return QStringLiteral("The file is written in UTF-32, which a Vardecks database never is.");
    case Limit::Folders:
        return QStringLiteral("The folders are nested more deeply than a Vardecks database may be: at most %1 levels.")
            .arg(kMaxFolderLevels);
    case Limit::Depth:
        return QStringLiteral("The elements of the file are nested more deeply than a Vardecks database may be: at "
                              "most %1 levels.")
            .arg(kMaxElementDepth);
    case Limit::DroppedDefault:
        return QStringLiteral("The file's document type gives %1, which its type does not allow.")
            .arg(collector.droppedDefault);
    case Limit::None:
        break;
    }
    return QString();
}

ErrorCollector *collectorOf(void *ctx)
{
    return static_cast<ErrorCollector *>(static_cast<xmlParserCtxtPtr>(ctx)->_private);
}

void collectError(void *userData, xmlErrorPtr error)
{
    auto *collector = static_cast<ErrorCollector *>(userData);
    // The database is read without validation: a validity problem (such as one
    // identifier used twice) is a warning, never a reason to refuse the file.
    if (!error || error->level < XML_ERR_ERROR || error->domain == XML_FROM_VALID || !collector->firstError.isEmpty())
        return;
    collector->firstError = xmlErrorSentence(*error);
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

// What the first bytes of a text say it is written in, where that is an encoding a
// database never has (the library tells encodings apart by the same bytes).
Limit refusedEncoding(const QByteArray &start)
{
    const auto startsWith = [&start](std::initializer_list<uchar> bytes) {
        return start.size() >= qsizetype(bytes.size()) &&
               std::equal(bytes.begin(), bytes.end(), reinterpret_cast<const uchar *>(start.constData()));
    };
    for (const auto &utf32 : {std::initializer_list<uchar>{0, 0, 0xFE, 0xFF},
                              {0xFF, 0xFE, 0, 0},
                              {0, 0, 0, '<'},
                              {'<', 0, 0, 0},
                              {0, 0, '<', 0},
                              {0, '<', 0, 0}})
        if (startsWith(utf32))
            return Limit::Utf32;
    if (startsWith({0x4C, 0x6F, 0xA7, 0x94}))
        return Limit::Ebcdic;
    return Limit::None;
}

void stopAt(void *ctx, Limit limit)
{
    ErrorCollector *collector = collectorOf(ctx);
    if (collector->limit == Limit::None)
        collector->limit = limit;
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
// A default value that the attribute's type does not allow is dropped by the library,
// which would then save a declaration that no longer reads: such a file is refused.
void countAttributeDeclaration(void *ctx, const xmlChar *element, const xmlChar *name, int type, int def,
                               const xmlChar *defaultValue, xmlEnumerationPtr values)
{
    auto *ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    xmlSAX2AttributeDecl(ctx, element, name, type, def, defaultValue, values);
    ErrorCollector *collector = collectorOf(ctx);
    if (++collector->declaredAttributes[QByteArray(reinterpret_cast<const char *>(element))] > kMaxAttributes) {
        stopAt(ctx, Limit::Attributes);
        return;
    }
    if (!defaultValue || ctxt->inSubset != 1 || !ctxt->myDoc || !ctxt->myDoc->intSubset)
        return;
    int prefixLength = 0;
    const xmlChar *local = xmlSplitQName3(name, &prefixLength);
    const QByteArray prefix(reinterpret_cast<const char *>(name), local ? prefixLength : 0);
    const xmlAttributePtr kept =
        xmlGetDtdQAttrDesc(ctxt->myDoc->intSubset, element, local ? local : name,
                           local ? reinterpret_cast<const xmlChar *>(prefix.constData()) : nullptr);
    if (kept && !kept->defaultValue && (kept->def == XML_ATTRIBUTE_NONE || kept->def == XML_ATTRIBUTE_FIXED)) {
        const QString value = QString::fromUtf8(reinterpret_cast<const char *>(defaultValue));
        collector->droppedDefault = QStringLiteral("the attribute %1 of %2 the default value \"%3\"")
                                        .arg(QString::fromUtf8(reinterpret_cast<const char *>(name)),
                                             QString::fromUtf8(reinterpret_cast<const char *>(element)),
                                             value.size() > 40 ? value.left(40) + QStringLiteral("…") : value);
        stopAt(ctx, Limit::DroppedDefault);
    }
}

// The library calls blanks between elements "ignorable" where the document type
// says the element holds only elements (a FOLDER does), or where it guesses so, and
// drops them. They are kept until the element ends (keepBlanks, below): a FOLDER
// that another program gave words between its elements keeps the blanks between
// them, while the line breaks and indents of a file laid out for reading still go.
void keepBlanks(void *ctx, const xmlChar *blanks, int length)
{
    auto *ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    xmlNodePtr parent = ctxt->node;
    if (!parent)
        return;
    const xmlNodePtr last = parent->last;
    xmlSAX2Characters(ctx, blanks, length);
    if (parent->last != last && parent->last && parent->last->type == XML_TEXT_NODE)
        collectorOf(ctx)->blanksIn.push_back(parent);
}

bool isBlank(const xmlNode *text)
{
    for (const xmlChar *c = text->content; c && *c; ++c)
        if (!IS_BLANK_CH(*c))
            return false;
    return true;
}

bool holdsWords(xmlNodePtr element)
{
    for (xmlNodePtr child = element->children; child; child = child->next)
        if ((child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) && !isBlank(child))
            return true;
    return false;
}

// Decides on the blanks of an element that ends, when some were kept in it: with
// words beside them they stay; without, every blank text between its children goes
// (once one is kept, the library takes the next for text, as it guesses by what the
// element holds so far).
void settleBlanks(ErrorCollector *collector, xmlNodePtr element)
{
    auto &blanksIn = collector->blanksIn;
    if (blanksIn.empty() || blanksIn.back() != element)
        return;
    while (!blanksIn.empty() && blanksIn.back() == element)
        blanksIn.pop_back();
    if (holdsWords(element))
        return;
    for (xmlNodePtr child = element->children; child;) {
        const xmlNodePtr next = child->next;
        if (child->type == XML_TEXT_NODE && isBlank(child)) {
            xmlUnlinkNode(child);
            xmlFreeNode(child);
        }
        child = next;
    }
}

// Each element is refused before it is built when it nests too deeply or carries too
// many attributes (a namespace declaration counting as one), and each prefixed name is
// looked up among all the namespaces declared by it and the elements around it. The
// visitor is told of each element as soon as it is built.
void startElement(void *ctx, const xmlChar *localName, const xmlChar *prefix, const xmlChar *uri, int namespaceCount,
                  const xmlChar **namespaces, int attributeCount, int defaultedCount, const xmlChar **attributes)
{
    auto *ctxt = static_cast<xmlParserCtxtPtr>(ctx);
    ErrorCollector *collector = collectorOf(ctx);
    // The option that drops blanks sets the library's own handler as the read starts;
    // ours takes its place before the first blank inside an element.
    ctxt->sax->ignorableWhitespace = keepBlanks;
    const bool folder = xmlwalk::isFolderName(localName);
    if (folder && collector->folders >= kMaxFolderLevels)
        return stopAt(ctx, Limit::Folders);
    if (collector->depth >= kMaxElementDepth)
        return stopAt(ctx, Limit::Depth);
    if (ctxt->nsNr / 2 > kMaxAttributes)
        return stopAt(ctx, Limit::Namespaces);
    // Defaulted attributes are not put in the tree (no XML_PARSE_DTDATTR).
    if (attributeCount - defaultedCount + namespaceCount > kMaxAttributes)
        return stopAt(ctx, Limit::Attributes);
    const int open = ctxt->nodeNr;
    xmlSAX2StartElementNs(ctx, localName, prefix, uri, namespaceCount, namespaces, attributeCount, defaultedCount,
                          attributes);
    if (ctxt->nodeNr == open)
        return; // not built
    ++collector->depth;
    collector->folders += folder ? 1 : 0;
    if (collector->visitor)
        collector->visitor->element(ctxt->node);
}

void endElement(void *ctx, const xmlChar *localName, const xmlChar *prefix, const xmlChar *uri)
{
    ErrorCollector *collector = collectorOf(ctx);
    if (const xmlNodePtr element = static_cast<xmlParserCtxtPtr>(ctx)->node)
        settleBlanks(collector, element);
    --collector->depth;
    collector->folders -= xmlwalk::isFolderName(localName) ? 1 : 0;
    xmlSAX2EndElementNs(ctx, localName, prefix, uri);
}

// The limit a start tag has passed by the time the library asks for more of the text:
// it has then read as far as the text it holds, and the tag goes on no further.
Limit limitInTag(const xmlParserCtxt *ctxt)
{
    if (ctxt->nsNr / 2 > kMaxAttributes)
        return Limit::Namespaces;
    if (ctxt->maxatts > kAttributeSlotsPastTheLimit)
        return Limit::Attributes;
    return Limit::None;
}

// The library's reader: the source's bytes, until a start tag passes a limit.
struct Reading {
    const XmlSource &source;
    xmlParserCtxtPtr ctxt;
    ErrorCollector *collector;
    QByteArray buffer; // read from the file ahead of the library
    qsizetype offset = 0;
};

int readSource(void *context, char *buffer, int length)
{
    auto *reading = static_cast<Reading *>(context);
    ErrorCollector *collector = reading->collector;
    if (collector->limit == Limit::None)
        collector->limit = limitInTag(reading->ctxt);
    // What is held back never reaches the library: to it, the text ends there.
    if (collector->limit != Limit::None)
        return 0;
    const QByteArray *bytes = &reading->source.bytes;
    if (reading->source.fd >= 0) {
        bytes = &reading->buffer;
        if (reading->offset == reading->buffer.size()) {
            reading->buffer.resize(kFileReadSize);
            ssize_t n;
            do {
                n = ::read(reading->source.fd, reading->buffer.data(), size_t(kFileReadSize));
            } while (n < 0 && errno == EINTR);
            if (n < 0)
                return -1;
            if (reading->source.digest)
                reading->source.digest->add(reading->buffer.constData(), n);
            reading->buffer.truncate(n);
            reading->offset = 0;
        }
    }
    const qsizetype got = qMin<qsizetype>(length, bytes->size() - reading->offset);
    std::memcpy(buffer, bytes->constData() + reading->offset, size_t(got));
    reading->offset += got;
    return int(got);
}

// Reads the text once with the parse options and the error collector, in the given
// encoding (null: as the text declares).
xmlDocPtr parseWith(const XmlSource &source, const char *url, const char *encoding, ErrorCollector *collector)
{
    xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
    if (!ctxt)
        return nullptr;
    ctxt->_private = collector;
    ctxt->sax->entityDecl = refuseEntityDeclaration;
    ctxt->sax->unparsedEntityDecl = refuseUnparsedEntityDeclaration;
    ctxt->sax->attributeDecl = countAttributeDeclaration;
    ctxt->sax->startElementNs = startElement;
    ctxt->sax->endElementNs = endElement;
    if (source.fd >= 0)
        ::lseek(source.fd, 0, SEEK_SET);
    if (source.digest)
        source.digest->reset();
    if (collector->visitor)
        collector->visitor->start();
    Reading reading{source, ctxt, collector, {}, 0};
    xmlSetStructuredErrorFunc(collector, collectError);
    xmlSetGenericErrorFunc(nullptr, silentGeneric);
    xmlDocPtr doc = xmlCtxtReadIO(ctxt, readSource, nullptr, &reading, url, encoding, kParseOptions);
    xmlSetStructuredErrorFunc(nullptr, nullptr);
    xmlSetGenericErrorFunc(nullptr, nullptr);
    xmlFreeParserCtxt(ctxt);
    if (collector->limit != Limit::None)
        collector->firstError = limitMessage(*collector);
    if (doc && !collector->firstError.isEmpty()) {
        xmlFreeDoc(doc);
        doc = nullptr;
    }
    return doc;
}

} // namespace

_xmlDoc *parseDatabaseText(const XmlSource &source, const char *baseUrl, ElementVisitor *visitor, QString *error)
{
    QByteArray start = source.bytes.left(200);
    if (source.fd >= 0) {
        start.resize(200);
        const ssize_t n = ::pread(source.fd, start.data(), size_t(start.size()), 0);
        start.truncate(qMax<ssize_t>(n, 0));
    }
    ErrorCollector collector;
    collector.visitor = visitor;
    if (const Limit refused = refusedEncoding(start); refused != Limit::None) {
        collector.limit = refused;
        if (error)
            *error = limitMessage(collector);
        return nullptr;
    }
    xmlDocPtr doc = parseWith(source, baseUrl, nullptr, &collector);
    // Databases written by older programs in the Windows code page carry no
    // declaration: such a text is read again as windows-1252.
    if (!doc && collector.encodingError && collector.limit == Limit::None && !hasEncodingDeclarationOrBom(start)) {
        ErrorCollector retry;
        retry.visitor = visitor;
        doc = parseWith(source, baseUrl, "windows-1252", &retry);
        if (retry.limit != Limit::None)
            collector.firstError = retry.firstError;
    }
    if (!doc && error)
        *error = collector.firstError;
    return doc;
}

} // namespace rr
