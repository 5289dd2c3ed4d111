#include "platform/xmldocument.h"

#include "platform/paths.h"
#include "platform/plainfile.h"
#include "platform/textutil.h"
#include "platform/xmlparse.h"
#include "platform/xmlwalk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/valid.h>
#include <libxml/xpath.h>

namespace rr
{
namespace
{

constexpr char kDatabaseDtd[] = "Vardecks.dtd";
constexpr qint64 kMaxFileSize = 512ll * 1024 * 1024;

const xmlChar *xc(const QByteArray &b)
{
    return reinterpret_cast<const xmlChar *>(b.constData());
}

QString fromXml(const xmlChar *s)
{
    return s ? QString::fromUtf8(reinterpret_cast<const char *>(s)) : QString();
}

// Folders in which the loader may find the database DTD for the document being
// parsed: its own folder first, then the program's database folder and the
// installed copy (so a database imported from elsewhere still gets its IDs).
thread_local QStringList t_dtdFolders;
xmlExternalEntityLoader g_defaultLoader = nullptr;

xmlParserInputPtr databaseEntityLoader(const char *url, const char *id, xmlParserCtxtPtr ctxt)
{
    if (ctxt && ctxt->inputNr == 0 && g_defaultLoader)
        return g_defaultLoader(url, id, ctxt); // the main document itself
    const QString name = QUrl::fromPercentEncoding(QByteArray(url ? url : "")).section(QLatin1Char('/'), -1);
    if (!sameText(name, QLatin1String(kDatabaseDtd)))
        return nullptr; // every other external entity is refused
    for (const QString &folder : std::as_const(t_dtdFolders)) {
        QFile file(QDir(folder).filePath(QLatin1String(kDatabaseDtd)));
        // Only a plain file: opening a named pipe would wait for a writer for ever.
        if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray data = file.readAll();
        xmlParserInputBufferPtr buffer =
            xmlParserInputBufferCreateMem(data.constData(), int(data.size()), XML_CHAR_ENCODING_NONE);
        if (!buffer)
            return nullptr;
        xmlParserInputPtr input = xmlNewIOInputStream(ctxt, buffer, XML_CHAR_ENCODING_NONE);
        if (!input) {
            xmlFreeParserInputBuffer(buffer);
            return nullptr;
        }
        input->filename = reinterpret_cast<char *>(xmlStrdup(xc(file.fileName().toUtf8())));
        return input;
    }
    return nullptr;
}

void silentGeneric(void *, const char *, ...) {}

XmlDocument *ownerOf(xmlNodePtr node)
{
    return node && node->doc ? static_cast<XmlDocument *>(node->doc->_private) : nullptr;
}

void noteChange(xmlNodePtr node)
{
    if (XmlDocument *owner = ownerOf(node))
        owner->noteChange();
}

// The identifier attribute of a FOLDER or VARDECK element, or null for any other.
const xmlChar *const kFolderId = BAD_CAST "TID";
const xmlChar *const kVardeckId = BAD_CAST "WID";
const xmlChar *idAttributeName(xmlNodePtr node)
{
    if (xmlwalk::isFolder(node))
        return kFolderId;
    if (xmlStrEqual(node->name, BAD_CAST "VARDECK"))
        return kVardeckId;
    return nullptr;
}

// Registers the element's identifier as an ID when nothing holds that identifier
// yet. Files without the document type (or naming none) get their IDs this way, as
// do elements copied from such a file. Returns false when another element already
// holds the identifier (a duplicate, which stays unregistered).
bool registerId(xmlDocPtr doc, xmlNodePtr element)
{
    const xmlChar *name = idAttributeName(element);
    xmlAttrPtr attr = name ? xmlHasProp(element, name) : nullptr;
    if (!attr || attr->atype == XML_ATTRIBUTE_ID)
        return true;
    xmlChar *value = xmlNodeListGetString(doc, attr->children, 1);
    bool registered = true;
    if (value && *value) {
        xmlAttrPtr holder = xmlGetID(doc, value);
        if (!holder)
            xmlAddID(nullptr, doc, value, attr);
        else
            registered = holder == attr;
    }
    xmlFree(value);
    return registered;
}

bool isInDocumentTree(xmlNodePtr node)
{
    for (xmlNodePtr n = node; n; n = n->parent)
        if (n->type == XML_DOCUMENT_NODE)
            return true;
    return false;
}

bool isElement(xmlNodePtr n)
{
    return n && n->type == XML_ELEMENT_NODE;
}

xmlNodePtr nextElement(xmlNodePtr n)
{
    while (n && !isElement(n))
        n = n->next;
    return n;
}

xmlNodePtr previousElement(xmlNodePtr n)
{
    while (n && !isElement(n))
        n = n->prev;
    return n;
}

void collectByName(xmlNodePtr parent, const QByteArray &name, QList<XmlNode> &out)
{
    for (xmlNodePtr c = parent ? parent->children : nullptr; c; c = c->next) {
        if (!isElement(c))
            continue;
        if (name == "*" || xmlStrEqual(c->name, xc(name)))
            out.append(XmlNode(c));
        collectByName(c, name, out);
    }
}

QList<XmlNode> evaluate(xmlDocPtr doc, xmlNodePtr context, const QString &xpath)
{
    QList<XmlNode> out;
    if (!doc)
        return out;
    xmlXPathContextPtr ctx = xmlXPathNewContext(doc);
    if (!ctx)
        return out;
    ctx->node = context ? context : reinterpret_cast<xmlNodePtr>(doc);
    xmlSetGenericErrorFunc(nullptr, silentGeneric);
    xmlXPathObjectPtr result = xmlXPathEvalExpression(xc(xpath.toUtf8()), ctx);
    xmlSetGenericErrorFunc(nullptr, nullptr);
    if (result && result->type == XPATH_NODESET && result->nodesetval) {
        for (int i = 0; i < result->nodesetval->nodeNr; ++i)
            out.append(XmlNode(result->nodesetval->nodeTab[i]));
    }
    xmlXPathFreeObject(result);
    xmlXPathFreeContext(ctx);
    return out;
}

} // namespace

QString sanitizeXmlText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    const int n = int(text.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate()) {
            if (i + 1 < n && text.at(i + 1).isLowSurrogate()) {
                out.append(c);
                out.append(text.at(++i));
            }
            continue; // a lone surrogate is dropped
        }
        if (c.isLowSurrogate() || u == 0xFFFE || u == 0xFFFF)
            continue;
        if (u == u'\r') {
            out.append(QLatin1Char('\n'));
            if (i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (u < 0x20 && u != u'\t' && u != u'\n')
            continue;
        out.append(c);
    }
    return out;
}

// ---- XmlNode ----

bool XmlNode::isElement() const
{
    return rr::isElement(m_node);
}

QString XmlNode::nodeName() const
{
    return m_node ? fromXml(m_node->name) : QString();
}

QString XmlNode::text() const
{
    if (!m_node)
        return {};
    xmlChar *content = xmlNodeGetContent(m_node);
    const QString s = fromXml(content);
    xmlFree(content);
    return s;
}

void XmlNode::setText(const QString &text)
{
    if (!m_node)
        return;
    // xmlNodeSetContent would parse entity references ("A & B" becomes ""):
    // clear first, then add the raw text, which the serialiser escapes.
    xmlNodeSetContent(m_node, nullptr);
    const QByteArray raw = sanitizeXmlText(text).toUtf8();
    if (!raw.isEmpty())
        xmlNodeAddContentLen(m_node, xc(raw), int(raw.size()));
    noteChange(m_node);
}

QString XmlNode::attribute(const QString &name) const
{
    if (!isElement())
        return {};
    xmlChar *value = xmlGetProp(m_node, xc(name.toUtf8()));
    const QString s = fromXml(value);
    xmlFree(value);
    return s;
}

bool XmlNode::hasAttribute(const QString &name) const
{
    return isElement() && xmlHasProp(m_node, xc(name.toUtf8())) != nullptr;
}

void XmlNode::setAttribute(const QString &name, const QString &value)
{
    if (!isElement())
        return;
    const QByteArray key = name.toUtf8();
    const xmlChar *idName = idAttributeName(m_node);
    XmlDocument *owner = idName && xmlStrEqual(idName, xc(key)) && isInDocumentTree(m_node) ? ownerOf(m_node) : nullptr;
    xmlChar *before = owner ? xmlGetProp(m_node, idName) : nullptr;
    xmlSetProp(m_node, xc(key), xc(sanitizeXmlText(value).toUtf8()));
    if (owner) {
        xmlChar *after = xmlGetProp(m_node, idName);
        owner->identifierChanged(before, after);
        xmlFree(after);
    }
    xmlFree(before);
    // Without ID declarations the library registers nothing: do it here.
    if (m_node->doc)
        registerId(m_node->doc, m_node);
    noteChange(m_node);
}

XmlNode XmlNode::parentNode() const
{
    return XmlNode(m_node && m_node->parent && m_node->parent->type != XML_DOCUMENT_NODE ? m_node->parent : nullptr);
}

XmlNode XmlNode::firstChild() const
{
    return XmlNode(m_node ? nextElement(m_node->children) : nullptr);
}

XmlNode XmlNode::nextSibling() const
{
    return XmlNode(m_node ? nextElement(m_node->next) : nullptr);
}

XmlNode XmlNode::previousSibling() const
{
    return XmlNode(m_node ? previousElement(m_node->prev) : nullptr);
}

QList<XmlNode> XmlNode::childElements() const
{
    QList<XmlNode> out;
    for (XmlNode c = firstChild(); c; c = c.nextSibling())
        out.append(c);
    return out;
}

XmlNode XmlNode::child(const QString &name) const
{
    const QByteArray n = name.toUtf8();
    for (xmlNodePtr c = m_node ? m_node->children : nullptr; c; c = c->next)
        if (rr::isElement(c) && xmlStrEqual(c->name, xc(n)))
            return XmlNode(c);
    return {};
}

QString XmlNode::childText(const QString &name) const
{
    return child(name).text();
}

void XmlNode::setChildText(const QString &name, const QString &text)
{
    if (!isElement())
        return;
    XmlNode c = child(name);
    if (!c) {
        XmlDocument *owner = ownerOf(m_node);
        c = owner ? owner->createElement(name)
                  : XmlNode(xmlNewDocNode(m_node->doc, nullptr, xc(name.toUtf8()), nullptr));
        appendChild(c);
    }
    c.setText(text);
}

XmlNode XmlNode::appendChild(XmlNode child)
{
    if (!m_node || !child)
        return {};
    if (child.m_node->parent)
        child.detach();
    xmlNodePtr added = xmlAddChild(m_node, child.m_node);
    if (XmlDocument *owner = ownerOf(m_node); owner && added && isInDocumentTree(added))
        owner->subtreeAttached(added, +1);
    noteChange(m_node);
    return XmlNode(added);
}

XmlNode XmlNode::insertBefore(XmlNode child, XmlNode reference)
{
    if (!reference)
        return appendChild(child);
    if (!m_node || !child || reference.m_node->parent != m_node)
        return {};
    if (child.m_node->parent)
        child.detach();
    xmlNodePtr added = xmlAddPrevSibling(reference.m_node, child.m_node);
    if (XmlDocument *owner = ownerOf(m_node); owner && added && isInDocumentTree(added))
        owner->subtreeAttached(added, +1);
    noteChange(m_node);
    return XmlNode(added);
}

XmlNode XmlNode::detach()
{
    if (!m_node)
        return {};
    if (XmlDocument *owner = ownerOf(m_node); owner && m_node->parent && isInDocumentTree(m_node))
        owner->subtreeAttached(m_node, -1);
    xmlUnlinkNode(m_node);
    noteChange(m_node);
    return *this;
}

void XmlNode::removeChild(XmlNode child)
{
    if (!m_node || !child || child.m_node->parent != m_node)
        return;
    child.detach();
    // Freeing also drops the subtree's IDs, so no lookup can return it any more.
    xmlFreeNode(child.m_node);
    // A duplicate identifier left in the file takes over the freed one, so that
    // allocation never hands out an identifier the file still holds.
    if (XmlDocument *owner = ownerOf(m_node))
        owner->reregisterDuplicates();
}

XmlNode XmlNode::selectSingleNode(const QString &xpath) const
{
    const QList<XmlNode> nodes = selectNodes(xpath);
    return nodes.isEmpty() ? XmlNode() : nodes.first();
}

QList<XmlNode> XmlNode::selectNodes(const QString &xpath) const
{
    return m_node ? evaluate(m_node->doc, m_node, xpath) : QList<XmlNode>();
}

QList<XmlNode> XmlNode::getElementsByTagName(const QString &name) const
{
    QList<XmlNode> out;
    collectByName(m_node, name.toUtf8(), out);
    return out;
}

// ---- XmlDocument ----

namespace
{
std::atomic<quint64> g_lastChange{0};
}

void XmlDocument::noteChange()
{
    m_changeStamp = ++g_lastChange;
}

void XmlDocument::initialiseLibrary()
{
    static const bool done = [] {
        xmlInitParser();
        g_defaultLoader = xmlGetExternalEntityLoader();
        xmlSetExternalEntityLoader(databaseEntityLoader);
        return true;
    }();
    (void)done;
}

XmlDocument::XmlDocument()
{
    initialiseLibrary();
    noteChange();
}

XmlDocument::~XmlDocument()
{
    if (m_doc)
        xmlFreeDoc(m_doc);
}

namespace
{

// Closes the file it holds when it goes.
struct OpenFile {
    int fd = -1;
    ~OpenFile()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

// Counts the elements of a document while it is read.
class XmlDocument::LoadCounter : public ElementVisitor
{
public:
    explicit LoadCounter(XmlDocument &document) : m_document(document) {}
    void start() override
    {
        m_document.clearCounts();
        m_root = true;
    }
    void element(_xmlNode *element) override
    {
        if (m_root)
            m_root = false; // the document element is no folder or Vardeck of the collection
        else
            m_document.countElement(element, +1);
    }

private:
    XmlDocument &m_document;
    bool m_root = true;
};

bool XmlDocument::load(const QString &path)
{
    const auto refuse = [this, &path](const QString &why) {
        finishLoad(nullptr);
        m_parseError = QStringLiteral("The file %1 could not be read: %2").arg(path, why);
        return false;
    };
    // A named pipe would keep the open waiting for a writer, and opening a device may
    // do something: their type is looked at before, and once more on what was opened.
    const QByteArray name = QFile::encodeName(path);
    struct stat st;
    if (::stat(name.constData(), &st) != 0)
        return refuse(QString::fromLocal8Bit(std::strerror(errno)));
    if (const QString why = whyNotAPlainFile(st.st_mode); !why.isEmpty())
        return refuse(why);
    OpenFile file{::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0)
        return refuse(QString::fromLocal8Bit(std::strerror(errno)));
    // The file's stamp is read before its bytes, with the file clock before it: a
    // write after it moves the stamp or, within the same tick, shows in the digest.
    const qint64 clock = fileClockNs();
    if (::fstat(file.fd, &st) != 0)
        return refuse(QString::fromLocal8Bit(std::strerror(errno)));
    if (const QString why = whyNotAPlainFile(st.st_mode); !why.isEmpty())
        return refuse(why);
    if (st.st_size > kMaxFileSize) {
        finishLoad(nullptr);
        m_parseError = QStringLiteral("The file %1 is too large to open.").arg(path);
        return false;
    }
    struct statfs fs;
    const long fileSystem = ::fstatfs(file.fd, &fs) == 0 ? long(fs.f_type) : 0;
    // The library reads the file in pieces: its whole text is never held beside the
    // tree, and the digest is taken of each piece as it passes. What the library
    // leaves unread after the document is read here for the digest alone.
    ContentDigest digest;
    const bool loaded = parseInto(XmlSource{file.fd, {}, &digest}, QFileInfo(path).absolutePath());
    m_loadedStamp = loaded ? FileStamp::taken(st, clock, fileSystem) : FileStamp();
    if (loaded && digest.addRestOf(file.fd))
        m_loadedStamp.digest = digest.result();
    return loaded;
}

bool XmlDocument::loadXml(const QByteArray &text, const QString &baseFolder)
{
    m_loadedStamp = FileStamp();
    return parseInto(XmlSource{-1, text}, baseFolder);
}

bool XmlDocument::parseInto(const XmlSource &source, const QString &baseFolder)
{
    finishLoad(nullptr);
    const QString folder = baseFolder.isEmpty() ? QDir::currentPath() : baseFolder;
    // Relative names (the DTD's) resolve against the document's folder.
    const QByteArray baseUrl = QUrl::fromLocalFile(folder + QLatin1String("/document.xml")).toEncoded();
    t_dtdFolders = {folder, paths::databaseFolder(), paths::installedDataFolder() + QLatin1String("/DeVivozoda")};
    QString error;
    LoadCounter counter(*this);
    xmlDocPtr doc = parseDatabaseText(source, baseUrl.constData(), &counter, &error);
    t_dtdFolders.clear();
    if (!finishLoad(doc) && m_parseError.isEmpty())
        m_parseError = error.isEmpty() ? QStringLiteral("The document could not be read.") : error;
    return m_doc != nullptr;
}

// Takes over a document read whole and counted as it was read, or clears this one.
bool XmlDocument::finishLoad(_xmlDoc *doc)
{
    if (m_doc)
        xmlFreeDoc(m_doc);
    m_doc = nullptr;
    m_parseError.clear();
    noteChange();
    const auto refuse = [this, doc](const QString &reason) {
        m_parseError = reason;
        xmlFreeDoc(doc);
        clearCounts();
        return false;
    };
    if (!doc) {
        clearCounts();
        return false;
    }
    if (doc->intSubset && doc->intSubset->SystemID && !doc->extSubset)
        return refuse(QStringLiteral("The document type definition %1 could not be read.")
                          .arg(fromXml(doc->intSubset->SystemID)));
    if (!xmlDocGetRootElement(doc))
        return refuse(QStringLiteral("The document has no root element."));
    m_doc = doc;
    m_doc->_private = this;
    return true;
}

void XmlDocument::clearCounts()
{
    m_folderCount = m_vardeckCount = 0;
    m_hasDuplicateIds = false;
    for (int kind = 0; kind < 2; ++kind) {
        m_holders[kind].assign(kMaxIdentifierNumber + 1, 0);
        m_held[kind].assign((kMaxIdentifierNumber + 64) / 64, 0);
        m_held[kind][0] = 1; // number 0 is never handed out
    }
}

void XmlDocument::countElement(_xmlNode *element, int sign)
{
    const xmlChar *id = idAttributeName(element);
    if (!id)
        return;
    (id == kFolderId ? m_folderCount : m_vardeckCount) += sign;
    if (xmlAttrPtr attr = xmlHasProp(element, id)) {
        xmlChar *value = xmlNodeListGetString(element->doc, attr->children, 1);
        noteIdentifier(value, sign);
        xmlFree(value);
    }
    if (sign > 0 && !registerId(element->doc, element))
        m_hasDuplicateIds = true;
}

void XmlDocument::recount()
{
    clearCounts();
    if (xmlNodePtr root = m_doc ? xmlDocGetRootElement(m_doc) : nullptr)
        walkSubtree(root, +1, /*includeTop=*/false);
}

void XmlDocument::walkSubtree(_xmlNode *top, int sign, bool includeTop)
{
    xmlwalk::walk(top, [&](xmlNodePtr node, const xmlwalk::Level &) {
        if (!rr::isElement(node))
            return xmlwalk::Step::Over;
        if (includeTop || node != top)
            countElement(node, sign);
        return xmlwalk::Step::Into;
    });
}

void XmlDocument::subtreeAttached(_xmlNode *node, int sign)
{
    if (!rr::isElement(node))
        return;
    walkSubtree(node, sign, /*includeTop=*/true);
}

void XmlDocument::reregisterDuplicates()
{
    if (m_hasDuplicateIds)
        recount();
}

int XmlDocument::countElements(const QString &name) const
{
    if (name == QLatin1String("FOLDER"))
        return m_folderCount;
    if (name == QLatin1String("VARDECK"))
        return m_vardeckCount;
    const XmlNode root = documentElement();
    return root ? int(root.getElementsByTagName(name).size()) : 0;
}

XmlNode XmlDocument::documentElement() const
{
    return XmlNode(m_doc ? xmlDocGetRootElement(m_doc) : nullptr);
}

XmlNode XmlDocument::nodeFromID(const QString &id) const
{
    if (!m_doc || id.isEmpty())
        return {};
    xmlAttrPtr attr = xmlGetID(m_doc, xc(id.toUtf8()));
    return XmlNode(attr ? attr->parent : nullptr);
}

XmlNode XmlDocument::selectSingleNode(const QString &xpath) const
{
    const QList<XmlNode> nodes = selectNodes(xpath);
    return nodes.isEmpty() ? XmlNode() : nodes.first();
}

QList<XmlNode> XmlDocument::selectNodes(const QString &xpath) const
{
    return evaluate(m_doc, nullptr, xpath);
}

QList<XmlNode> XmlDocument::getElementsByTagName(const QString &name) const
{
    QList<XmlNode> out;
    collectByName(reinterpret_cast<xmlNodePtr>(m_doc), name.toUtf8(), out);
    return out;
}

XmlNode XmlDocument::createElement(const QString &name)
{
    if (!m_doc)
        return {};
    return XmlNode(xmlNewDocNode(m_doc, nullptr, xc(name.toUtf8()), nullptr));
}

XmlNode XmlDocument::createTextElement(const QString &name, const QString &text)
{
    XmlNode e = createElement(name);
    e.setText(text);
    return e;
}

void XmlDocument::insertProcessingInstruction(const QString &target, const QString &data)
{
    if (!m_doc)
        return;
    xmlNodePtr pi = xmlNewDocPI(m_doc, xc(target.toUtf8()), xc(sanitizeXmlText(data).toUtf8()));
    if (m_doc->children)
        xmlAddPrevSibling(m_doc->children, pi);
    else
        xmlAddChild(reinterpret_cast<xmlNodePtr>(m_doc), pi);
}

void XmlDocument::removeProcessingInstructions(const QString &target, const QString &dataPrefix)
{
    if (!m_doc)
        return;
    xmlNodePtr c = m_doc->children;
    while (c) {
        xmlNodePtr next = c->next;
        if (c->type == XML_PI_NODE && fromXml(c->name) == target && fromXml(c->content).startsWith(dataPrefix)) {
            xmlUnlinkNode(c);
            xmlFreeNode(c);
        }
        c = next;
    }
}

QList<QString> XmlDocument::processingInstructionData(const QString &target) const
{
    QList<QString> out;
    for (xmlNodePtr c = m_doc ? m_doc->children : nullptr; c; c = c->next)
        if (c->type == XML_PI_NODE && fromXml(c->name) == target)
            out.append(fromXml(c->content));
    return out;
}

XmlNode XmlDocument::importNode(XmlNode node)
{
    if (!m_doc || !node)
        return {};
    return XmlNode(xmlDocCopyNode(node.raw(), m_doc, 1));
}

} // namespace rr
