#include "platform/xslttransform.h"

#include "platform/atomicfile.h"
#include "platform/textutil.h"
#include "platform/xmldocument.h"

#include <QCryptographicHash>
#include <QFileInfo>
#include <QUrl>

#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>
#include <libxslt/imports.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <cstdarg>
#include <functional>
#include <memory>

namespace rr::xslt
{
namespace
{

constexpr char kXslNamespace[] = "http://www.w3.org/1999/XSL/Transform";

// The messages libxml2 and libxslt report while one call runs; the first lines
// become the reason the user reads.
thread_local QString *t_messages = nullptr;

void collectMessage(void *, const char *format, ...)
{
    if (!t_messages || t_messages->size() > 2000)
        return;
    char buffer[1024];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    t_messages->append(QString::fromUtf8(buffer));
}

// Routes the libraries' messages into messages for the lifetime of the object.
class MessageCapture
{
public:
    explicit MessageCapture(QString *messages)
    {
        t_messages = messages;
        xmlSetGenericErrorFunc(nullptr, collectMessage);
        xsltSetGenericErrorFunc(nullptr, collectMessage);
    }
    ~MessageCapture()
    {
        xmlSetGenericErrorFunc(nullptr, nullptr);
        xsltSetGenericErrorFunc(nullptr, nullptr);
        t_messages = nullptr;
    }
    MessageCapture(const MessageCapture &) = delete;
    MessageCapture &operator=(const MessageCapture &) = delete;
};

void initialiseSecurity()
{
    static const bool done = [] {
        xsltSecurityPrefsPtr prefs = xsltNewSecurityPrefs();
        for (xsltSecurityOption option : {XSLT_SECPREF_READ_NETWORK, XSLT_SECPREF_WRITE_NETWORK,
                                          XSLT_SECPREF_WRITE_FILE, XSLT_SECPREF_CREATE_DIRECTORY})
            xsltSetSecurityPrefs(prefs, option, xsltSecurityForbid);
        xsltSetDefaultSecurityPrefs(prefs);
        return true;
    }();
    (void)done;
}

QString firstLines(const QString &messages)
{
    const QString text = messages.trimmed();
    return text.isEmpty() ? QString() : QStringLiteral(": ") + text.section(QLatin1Char('\n'), 0, 2);
}

struct DocFree {
    void operator()(xmlDoc *doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocFree>;

QByteArray utf8(const QString &s)
{
    return s.toUtf8();
}

// Reads a stylesheet file as XML; a local path goes to the parser as an escaped file
// URI so blanks, "%" and "#" in folder names don't break it.
DocPtr readStylesheetDocument(const QString &path, QString *error)
{
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("The stylesheet %1 is missing.").arg(path);
        return nullptr;
    }
    QString messages;
    MessageCapture capture(&messages);
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded();
    DocPtr doc(xmlReadFile(uri.constData(), nullptr, XML_PARSE_NONET));
    if (!doc)
        *error = QStringLiteral("The stylesheet %1 could not be read%2").arg(path, firstLines(messages));
    return doc;
}

bool isXslElement(xmlNode *node, const char *localName)
{
    return node->type == XML_ELEMENT_NODE && node->ns && node->ns->href &&
           xmlStrEqual(node->ns->href, reinterpret_cast<const xmlChar *>(kXslNamespace)) &&
           xmlStrEqual(node->name, reinterpret_cast<const xmlChar *>(localName));
}

xmlNode *firstXslElement(xmlNode *node, const char *localName)
{
    for (; node; node = node->next) {
        if (isXslElement(node, localName))
            return node;
        if (node->type == XML_ELEMENT_NODE) {
            if (xmlNode *found = firstXslElement(node->children, localName))
                return found;
        }
    }
    return nullptr;
}

// True when the variable's text was set (the first xsl:variable is the named one).
bool setFirstVariableText(xmlDoc *doc, const VariableText &variable)
{
    xmlNode *element = firstXslElement(doc->children, "variable");
    if (!element || !element->properties)
        return false;
    xmlChar *value = xmlNodeListGetString(doc, element->properties->children, 1);
    const QString first = QString::fromUtf8(reinterpret_cast<const char *>(value));
    xmlFree(value);
    if (!sameText(first, variable.name))
        return false;
    // Removes the children first, then adds the text raw: it is escaped on output.
    xmlNodeSetContent(element, nullptr);
    const QByteArray text = utf8(sanitizeXmlText(variable.text));
    xmlNodeAddContentLen(element, reinterpret_cast<const xmlChar *>(text.constData()), int(text.size()));
    return true;
}

// libxslt takes the document type node out of the source document's children while
// it transforms and leaves it out; the next save would then lose the DOCTYPE, and
// with it every identifier of the database. This puts it back where it was.
class DoctypeKeeper
{
public:
    explicit DoctypeKeeper(xmlDoc *doc)
        : m_doc(doc), m_dtd(reinterpret_cast<xmlNode *>(doc->intSubset)), m_next(m_dtd ? m_dtd->next : nullptr)
    {
    }
    ~DoctypeKeeper()
    {
        if (!m_dtd || m_doc->children == m_dtd || m_dtd->prev || m_dtd->next)
            return;
        xmlNode *before = m_next ? m_next : xmlDocGetRootElement(m_doc);
        if (!before)
            return;
        m_dtd->parent = reinterpret_cast<xmlNode *>(m_doc);
        m_dtd->next = before;
        m_dtd->prev = before->prev;
        if (before->prev)
            before->prev->next = m_dtd;
        else
            m_doc->children = m_dtd;
        before->prev = m_dtd;
    }
    DoctypeKeeper(const DoctypeKeeper &) = delete;
    DoctypeKeeper &operator=(const DoctypeKeeper &) = delete;

private:
    xmlDoc *m_doc;
    xmlNode *m_dtd;
    xmlNode *m_next;
};

// What a transform hands over to be kept: the result document and the stylesheet that
// says how it is written out. Returns false with a reason when it could not keep it.
using Deliver = std::function<bool(xmlDocPtr result, xsltStylesheetPtr style, QString *reason)>;

bool applyStylesheet(const QString &stylesheetPath, xmlDoc *source, const std::optional<VariableText> &variable,
                     const Deliver &deliver, const std::function<void()> &delivered, QString *error)
{
    XmlDocument::initialiseLibrary();
    initialiseSecurity();
    QString reason;
    if (!source) {
        reason = QStringLiteral("No database is open.");
    } else if (DocPtr styleDoc = readStylesheetDocument(stylesheetPath, &reason)) {
        if (variable)
            setFirstVariableText(styleDoc.get(), *variable);
        QString messages;
        MessageCapture capture(&messages);
        // The stylesheet takes over its document only when it parses.
        xsltStylesheetPtr style = xsltParseStylesheetDoc(styleDoc.get());
        if (!style) {
            reason = QStringLiteral("The stylesheet %1 is not a valid stylesheet%2")
                         .arg(stylesheetPath, firstLines(messages));
        } else {
            styleDoc.release();
            xmlDocPtr result = nullptr;
            {
                DoctypeKeeper keeper(source);
                result = xsltApplyStylesheet(style, source, nullptr);
            }
            if (!result) {
                reason = QStringLiteral("The stylesheet %1 could not transform the database%2")
                             .arg(stylesheetPath, firstLines(messages));
            } else if (!deliver(result, style, &reason)) {
                if (reason.isEmpty())
                    reason = QStringLiteral("The stylesheet %1 could not transform the database%2")
                                 .arg(stylesheetPath, firstLines(messages));
            } else if (delivered) {
                // Handing a large result back takes a while; what waits for the page
                // need not wait for that.
                delivered();
            }
            if (result)
                xmlFreeDoc(result);
            xsltFreeStylesheet(style);
        }
    }
    if (!reason.isEmpty() && error)
        *error = reason;
    return reason.isEmpty();
}

// The encoder for the stylesheet's output encoding; none for UTF-8, which the result
// is held in already (as xsltproc and the library's own savers do).
xmlCharEncodingHandlerPtr outputEncoder(xsltStylesheetPtr style)
{
    const xmlChar *encoding = nullptr;
    XSLT_GET_IMPORT_PTR(encoding, style, encoding)
    if (!encoding)
        return nullptr;
    xmlCharEncodingHandlerPtr encoder = xmlFindCharEncodingHandler(reinterpret_cast<const char *>(encoding));
    if (encoder && xmlStrEqual(reinterpret_cast<const xmlChar *>(encoder->name), BAD_CAST "UTF-8"))
        return nullptr;
    return encoder;
}

int writeToFile(void *context, const char *data, int size)
{
    return static_cast<AtomicFileWriter *>(context)->write(data, size) ? size : -1;
}

int closeNothing(void *)
{
    return 0;
}

// The stylesheet document as the program saves it.
QByteArray dumped(xmlDoc *doc)
{
    xmlChar *bytes = nullptr;
    int length = 0;
    xmlDocDumpMemoryEnc(doc, &bytes, &length, "UTF-8");
    const QByteArray data(reinterpret_cast<const char *>(bytes), length);
    xmlFree(bytes);
    return data;
}

bool transformDoc(const QString &stylesheetPath, xmlDoc *document, QByteArray *html, QString *error,
                  const std::optional<VariableText> &variable)
{
    return applyStylesheet(
        stylesheetPath, document, variable,
        [html](xmlDocPtr result, xsltStylesheetPtr style, QString *) {
            xmlChar *bytes = nullptr;
            int length = 0;
            const bool saved = xsltSaveResultToString(&bytes, &length, result, style) == 0 && bytes;
            if (saved)
                *html = QByteArray(reinterpret_cast<const char *>(bytes), length);
            xmlFree(bytes);
            return saved;
        },
        {}, error);
}

bool transformDocToFile(const QString &stylesheetPath, xmlDoc *document, const QString &outputPath, QString *error,
                        const std::optional<VariableText> &variable, const std::function<void()> &written)
{
    return applyStylesheet(
        stylesheetPath, document, variable,
        [&outputPath](xmlDocPtr result, xsltStylesheetPtr style, QString *reason) {
            // The page goes into the file piece by piece as it is serialised.
            AtomicFileWriter file(outputPath);
            if (!file.open()) {
                *reason = file.errorString();
                return false;
            }
            xmlOutputBufferPtr out = xmlOutputBufferCreateIO(writeToFile, closeNothing, &file, outputEncoder(style));
            const bool serialised = out && xsltSaveResultTo(out, result, style) >= 0;
            const bool flushed = out && xmlOutputBufferClose(out) >= 0;
            if (serialised && flushed && file.commit())
                return true;
            *reason = file.errorString();
            return false;
        },
        written, error);
}

} // namespace

DocumentCopy::DocumentCopy(const XmlDocument &document)
    : m_doc(document.raw() ? xmlCopyDoc(document.raw(), 1) : nullptr)
{
}

DocumentCopy::~DocumentCopy()
{
    if (m_doc)
        xmlFreeDoc(m_doc);
}

bool transform(const QString &stylesheetPath, const XmlDocument &document, QByteArray *html, QString *error,
               const std::optional<VariableText> &variable)
{
    return transformDoc(stylesheetPath, document.raw(), html, error, variable);
}

bool transform(const QString &stylesheetPath, const DocumentCopy &document, QByteArray *html, QString *error,
               const std::optional<VariableText> &variable)
{
    return transformDoc(stylesheetPath, document.raw(), html, error, variable);
}

bool transformToFile(const QString &stylesheetPath, const XmlDocument &document, const QString &outputPath,
                     QString *error, const std::optional<VariableText> &variable, const std::function<void()> &written)
{
    return transformDocToFile(stylesheetPath, document.raw(), outputPath, error, variable, written);
}

bool transformToFile(const QString &stylesheetPath, const DocumentCopy &document, const QString &outputPath,
                     QString *error, const std::optional<VariableText> &variable)
{
    return transformDocToFile(stylesheetPath, document.raw(), outputPath, error, variable, {});
}

bool writeVariableText(const QString &stylesheetPath, const VariableText &variable, QString *error)
{
    XmlDocument::initialiseLibrary();
    QString reason;
    DocPtr doc = readStylesheetDocument(stylesheetPath, &reason);
    if (!doc) {
        if (error)
            *error = reason;
        return false;
    }
    if (!setFirstVariableText(doc.get(), variable)) {
        if (error)
            *error =
                QStringLiteral("The stylesheet %1 has no variable \"%2\" first.").arg(stylesheetPath, variable.name);
        return false;
    }
    return writeFileAtomically(stylesheetPath, dumped(doc.get()), error);
}

QByteArray stylesheetFingerprint(const QString &stylesheetPath, const QString &variableName)
{
    XmlDocument::initialiseLibrary();
    QString reason;
    DocPtr doc = readStylesheetDocument(stylesheetPath, &reason);
    if (!doc)
        return {};
    setFirstVariableText(doc.get(), {variableName, QString()});
    return QCryptographicHash::hash(dumped(doc.get()), QCryptographicHash::Sha256).toHex();
}

} // namespace rr::xslt
