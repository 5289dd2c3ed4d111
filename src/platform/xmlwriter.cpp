// Saving the database document. The document is written compact, straight in
// UTF-8, by a writer of our own that produces exactly the bytes the XML library's
// compact output would (a test compares the two), in one pass that also measures the
// folder nesting, into large pieces handed to the atomic file writer: no second copy
// of the file is made; a thread writes each piece while the next is made. Anything the writer does not know
// (namespaces, entity references, a DOCTYPE with declarations) is left to the library's serialiser.
#include "platform/atomicfile.h"
#include "platform/xmldocument.h"

#include <libxml/tree.h>
#include <libxml/xmlsave.h>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace rr
{
namespace
{

using Deliver = std::function<bool(const char *, qsizetype)>;

bool isFolder(xmlNodePtr n)
{
    return n->type == XML_ELEMENT_NODE && xmlStrEqual(n->name, BAD_CAST "FOLDER");
}

int attributeCount(xmlNodePtr element)
{
    int count = 0;
    for (xmlAttrPtr attr = element->properties; attr; attr = attr->next)
        ++count;
    return count;
}

int namespaceCount(xmlNodePtr element)
{
    int count = 0;
    for (xmlNsPtr ns = element->nsDef; ns; ns = ns->next)
        ++count;
    return count;
}

// How deeply the tree below top nests, and how many attributes and namespaces its
// elements have, without recursion.
Nesting nestingOf(xmlNodePtr top)
{
    Nesting deepest;
    int depth = 2;
    int folders = 0;
    int namespaces = namespaceCount(top);
    deepest.attributes = attributeCount(top) + namespaceCount(top);
    deepest.namespaces = namespaces;
    xmlNodePtr node = top->children;
    while (node) {
        if (node->type == XML_ELEMENT_NODE) {
            deepest.elements = std::max(deepest.elements, depth);
            if (isFolder(node))
                deepest.folders = std::max(deepest.folders, folders + 1);
            deepest.attributes = std::max(deepest.attributes, attributeCount(node) + namespaceCount(node));
            deepest.namespaces = std::max(deepest.namespaces, namespaces + namespaceCount(node));
            if (node->children) {
                folders += isFolder(node) ? 1 : 0;
                namespaces += namespaceCount(node);
                node = node->children;
                ++depth;
                continue;
            }
        }
        while (node != top && !node->next) {
            node = node->parent;
            --depth;
            if (node != top && isFolder(node))
                --folders;
            if (node != top)
                namespaces -= namespaceCount(node);
        }
        node = node == top ? nullptr : node->next;
    }
    return deepest;
}

// The bytes at which an escape (or the end of the text) interrupts a run of text.
constexpr std::array<bool, 256> stopsFor(bool attribute)
{
    std::array<bool, 256> stops{};
    stops[0] = stops['<'] = stops['>'] = stops['&'] = stops['\r'] = true;
    if (attribute)
        stops['"'] = stops['\n'] = stops['\t'] = true;
    return stops;
}
constexpr std::array<bool, 256> kContentStops = stopsFor(false);
constexpr std::array<bool, 256> kAttributeStops = stopsFor(true);

const char *escapeOf(xmlChar c)
{
    switch (c) {
    case '<':
        return "&lt;";
    case '>':
        return "&gt;";
    case '&':
        return "&amp;";
    case '\r':
        return "&#13;";
    case '"':
        return "&quot;";
    case '\n':
        return "&#10;";
    default:
        return "&#9;";
    }
}

// Output gathered in pieces of about a megabyte.
class Output
{
public:
    explicit Output(const Deliver &deliver) : m_deliver(deliver) { m_buffer.resize(kPiece + 4096); }

    void put(const char *data, size_t size)
    {
        if (m_used + size > kPiece) {
            flush();
            if (size > kPiece) {
                m_failed = m_failed || !m_deliver(data, qsizetype(size));
                return;
            }
        }
        std::memcpy(m_buffer.data() + m_used, data, size);
        m_used += size;
    }
    void put(const char *text) { put(text, std::strlen(text)); }
    void put(const xmlChar *text) { put(reinterpret_cast<const char *>(text)); }

    // Text with the escapes of the library's output: in content < > & and CR; in
    // attribute values also " and the blanks that value normalisation would change.
    void putEscaped(const xmlChar *text, bool attribute)
    {
        const bool *stops = attribute ? kAttributeStops.data() : kContentStops.data();
        const xmlChar *run = text;
        for (;;) {
            const xmlChar *p = run;
            while (!stops[*p])
                ++p;
            put(reinterpret_cast<const char *>(run), size_t(p - run));
            if (*p == 0)
                return;
            put(escapeOf(*p));
            run = p + 1;
        }
    }

    bool flush()
    {
        if (m_used && !m_failed)
            m_failed = !m_deliver(m_buffer.data(), qsizetype(m_used));
        m_used = 0;
        return !m_failed;
    }
    bool failed() const { return m_failed; }

private:
    static constexpr size_t kPiece = 1 << 20;
    const Deliver &m_deliver;
    std::vector<char> m_buffer;
    size_t m_used = 0;
    bool m_failed = false;
};

void putQuoted(Output &out, const xmlChar *text)
{
    const char *quote = xmlStrchr(text, '"') ? "'" : "\"";
    out.put(quote);
    out.put(text);
    out.put(quote);
}

// Whether our writer knows every node of the document; otherwise the library writes.
bool writerKnowsAll(xmlDocPtr doc)
{
    for (xmlNodePtr top = doc->children; top; top = top->next) {
        if (top->type == XML_DTD_NODE) {
            const auto *dtd = reinterpret_cast<xmlDtdPtr>(top);
            if (dtd->children || dtd->entities || dtd->elements || dtd->attributes || dtd->notations)
                return false;
        } else if (top->type != XML_ELEMENT_NODE && top->type != XML_PI_NODE && top->type != XML_COMMENT_NODE) {
            return false;
        }
    }
    return true;
}

// Writes one element subtree; false when it holds a node the writer leaves to the
// library (found before anything of that subtree could be wrong).
bool writeElementTree(Output &out, xmlNodePtr top, Nesting *nesting)
{
    int depth = 1;
    int folders = 0;
    xmlNodePtr node = top;
    while (node) {
        bool descend = false;
        switch (node->type) {
        case XML_ELEMENT_NODE: {
            if (node->ns || node->nsDef)
                return false;
            nesting->elements = std::max(nesting->elements, depth);
            if (isFolder(node))
                nesting->folders = std::max(nesting->folders, folders + 1);
            out.put("<");
            out.put(node->name);
            int attributes = 0;
            for (xmlAttrPtr attr = node->properties; attr; attr = attr->next) {
                if (attr->ns)
                    return false;
                ++attributes;
                out.put(" ");
                out.put(attr->name);
                out.put("=\"");
                for (xmlNodePtr t = attr->children; t; t = t->next) {
                    if (t->type != XML_TEXT_NODE)
                        return false;
                    if (t->content)
                        out.putEscaped(t->content, true);
                }
                out.put("\"");
            }
            nesting->attributes = std::max(nesting->attributes, attributes);
            if (!node->children) {
                out.put("/>");
            } else {
                out.put(">");
                descend = true;
            }
            break;
        }
        case XML_TEXT_NODE:
            if (node->content) {
                if (xmlStrEqual(node->name, BAD_CAST "textnoenc"))
                    out.put(node->content);
                else
                    out.putEscaped(node->content, false);
            }
            break;
        case XML_CDATA_SECTION_NODE:
            if (!node->content || xmlStrstr(node->content, BAD_CAST "]]>"))
                return false;
            out.put("<![CDATA[");
            out.put(node->content);
            out.put("]]>");
            break;
        case XML_COMMENT_NODE:
            out.put("<!--");
            if (node->content)
                out.put(node->content);
            out.put("-->");
            break;
        case XML_PI_NODE:
            out.put("<?");
            out.put(node->name);
            if (node->content) {
                out.put(" ");
                out.put(node->content);
            }
            out.put("?>");
            break;
        default:
            return false;
        }
        if (descend) {
            folders += isFolder(node) ? 1 : 0;
            node = node->children;
            ++depth;
            continue;
        }
        // Close every element whose last child this was.
        while (node != top && !node->next) {
            node = node->parent;
            --depth;
            if (isFolder(node))
                --folders;
            out.put("</");
            out.put(node->name);
            out.put(">");
        }
        node = node == top ? nullptr : node->next;
    }
    return true;
}

enum class Written { Whole, Unknown, TooDeep, TooWide, Failed };

Written writeDocument(xmlDocPtr doc, const Deliver &deliver)
{
    Output out(deliver);
    out.put("<?xml version=\"");
    out.put(doc->version ? doc->version : BAD_CAST "1.0");
    out.put("\" encoding=\"UTF-8\"");
    if (doc->standalone == 0)
        out.put(" standalone=\"no\"");
    else if (doc->standalone == 1)
        out.put(" standalone=\"yes\"");
    out.put("?>\n");
    Nesting nesting;
    for (xmlNodePtr top = doc->children; top; top = top->next) {
        if (top->type == XML_DTD_NODE) {
            const auto *dtd = reinterpret_cast<xmlDtdPtr>(top);
            out.put("<!DOCTYPE ");
            out.put(dtd->name);
            if (dtd->ExternalID) {
                out.put(" PUBLIC ");
                putQuoted(out, dtd->ExternalID);
                out.put(" ");
                putQuoted(out, dtd->SystemID);
            } else if (dtd->SystemID) {
                out.put(" SYSTEM ");
                putQuoted(out, dtd->SystemID);
            }
            out.put(">");
        } else if (!writeElementTree(out, top, &nesting)) {
            return Written::Unknown;
        }
        // The tree is checked as it is written; a tree too deep is never finished.
        if (nesting.tooDeep())
            return Written::TooDeep;
        if (nesting.tooWide())
            return Written::TooWide;
        out.put("\n");
    }
    return out.flush() ? Written::Whole : Written::Failed;
}

int libraryWrite(void *context, const char *data, int length)
{
    return (*static_cast<const Deliver *>(context))(data, length) ? length : -1;
}

int libraryClose(void *)
{
    return 0;
}

Written writeWithLibrary(xmlDocPtr doc, const Deliver &deliver)
{
    if (const xmlNodePtr root = xmlDocGetRootElement(doc)) {
        const Nesting nesting = nestingOf(root);
        if (nesting.tooDeep())
            return Written::TooDeep;
        if (nesting.tooWide())
            return Written::TooWide;
    }
    xmlSaveCtxtPtr ctxt = xmlSaveToIO(libraryWrite, libraryClose, const_cast<Deliver *>(&deliver), nullptr, 0);
    if (!ctxt)
        return Written::Failed;
    const long written = xmlSaveDoc(ctxt, doc);
    const int closed = xmlSaveClose(ctxt);
    return written >= 0 && closed >= 0 ? Written::Whole : Written::Failed;
}

Written write(xmlDocPtr doc, const Deliver &deliver)
{
    // The declaration names UTF-8 and the text goes out as it is held, unconverted.
    if (!doc->encoding || !xmlStrEqual(doc->encoding, BAD_CAST "UTF-8")) {
        xmlFree(const_cast<xmlChar *>(doc->encoding));
        doc->encoding = xmlStrdup(BAD_CAST "UTF-8");
    }
    return writerKnowsAll(doc) ? writeDocument(doc, deliver) : writeWithLibrary(doc, deliver);
}

// Hands the serialiser's pieces to a thread that writes them, so that writing the
// file overlaps making the next piece. finish() waits for the last write.
class BackgroundWrites
{
public:
    explicit BackgroundWrites(AtomicFileWriter &writer) : m_writer(writer), m_thread([this] { run(); }) {}
    ~BackgroundWrites() { finish(); }
    BackgroundWrites(const BackgroundWrites &) = delete;
    BackgroundWrites &operator=(const BackgroundWrites &) = delete;

    bool deliver(const char *data, qsizetype size)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_failed)
                return false;
            m_pieces.emplace_back(data, size);
        }
        m_wake.notify_one();
        return true;
    }

    // True when every piece was written.
    bool finish()
    {
        if (m_thread.joinable()) {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_closed = true;
            }
            m_wake.notify_one();
            m_thread.join();
        }
        return !m_failed;
    }

private:
    void run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return !m_pieces.empty() || m_closed; });
            if (m_pieces.empty())
                return;
            const QByteArray piece = std::move(m_pieces.front());
            m_pieces.pop_front();
            lock.unlock();
            const bool written = m_writer.write(piece.constData(), piece.size());
            lock.lock();
            if (!written) {
                m_failed = true;
                m_pieces.clear();
            }
        }
    }

    AtomicFileWriter &m_writer;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<QByteArray> m_pieces;
    bool m_closed = false;
    bool m_failed = false;
    std::thread m_thread;
};

// One attempt at writing the document into the open writer, with the writes in
// the background.
Written writeInBackground(xmlDocPtr doc, AtomicFileWriter &writer, bool library)
{
    BackgroundWrites writes(writer);
    const Deliver toFile = [&writes](const char *data, qsizetype size) { return writes.deliver(data, size); };
    const Written written = library ? writeWithLibrary(doc, toFile) : write(doc, toFile);
    const bool allWritten = writes.finish();
    return written == Written::Whole && !allWritten ? Written::Failed : written;
}

} // namespace

int folderLevel(const XmlNode &node)
{
    int level = 0;
    for (xmlNodePtr n = node.raw(); n; n = n->parent)
        if (isFolder(n))
            ++level;
    return level;
}

int folderLevels(const XmlNode &folder)
{
    return folder ? nestingOf(folder.raw()).folders + (isFolder(folder.raw()) ? 1 : 0) : 0;
}

QString folderNestingMessage()
{
    return QStringLiteral("A folder cannot go there: folders may be nested at most %1 levels deep.")
        .arg(kMaxFolderLevels);
}

QByteArray XmlDocument::toBytes() const
{
    if (!m_doc)
        return {};
    QByteArray out;
    const Deliver append = [&out](const char *data, qsizetype size) {
        out.append(data, size);
        return true;
    };
    if (write(m_doc, append) == Written::Unknown) {
        out.clear();
        writeWithLibrary(m_doc, append);
    }
    return out;
}

bool XmlDocument::save(const QString &path, QString *error) const
{
    const auto failWith = [error](const QString &reason) {
        if (error)
            *error = reason;
        return false;
    };
    if (!m_doc)
        return failWith(QStringLiteral("There is no document to save."));
    AtomicFileWriter writer(path);
    if (!writer.open())
        return failWith(writer.errorString());
    Written written = writeInBackground(m_doc, writer, false);
    if (written == Written::Unknown) {
        // Start the file again for the library's serialiser.
        writer.cancel();
        if (!writer.open())
            return failWith(writer.errorString());
        written = writeInBackground(m_doc, writer, true);
    }
    // What is saved must open again: a tree the next load would refuse is not written.
    if (written == Written::TooDeep)
        return failWith(QStringLiteral("%1 was not saved: the folders are nested more than %2 levels deep.")
                            .arg(path)
                            .arg(kMaxFolderLevels));
    if (written == Written::TooWide)
        return failWith(QStringLiteral("%1 was not saved: an element has more than %2 attributes or namespaces.")
                            .arg(path)
                            .arg(kMaxAttributes));
    if (written != Written::Whole || !writer.commit()) {
        const QString reason = writer.errorString();
        return failWith(reason.isEmpty() ? QStringLiteral("%1 could not be written.").arg(path) : reason);
    }
    return true;
}

} // namespace rr
