// Saving the database document. The document is written compact, straight in
// UTF-8, by a writer of our own that produces exactly the bytes the XML library's
// compact output would (a test compares the two), measuring the nesting as it goes.
// The root element is cut into parts of about equal size at element boundaries;
// threads write the parts into pieces of memory side by side while this thread hands
// the finished pieces, in order, to the atomic file writer: every byte is made once
// and written once, with no copy of the whole file. Anything the writer does not know
// (namespaces, entity references, a DOCTYPE with declarations) is left to the
// library's serialiser, which streams into the file writer.
#include "platform/atomicfile.h"
#include "platform/xmldocument.h"
#include "platform/xmlwalk.h"

#include <QThread>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace rr
{
namespace
{

// Where the document's bytes go, in order: the file writer, or memory.
using Sink = std::function<bool(const char *, qsizetype)>;

using xmlwalk::isFolder;
using xmlwalk::Level;
using xmlwalk::Step;

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

// How deeply the tree of top nests, top included, and how many attributes and
// namespaces its elements have.
Nesting nestingOf(xmlNodePtr top)
{
    Nesting deepest;
    int namespaces = 0; // declared by the elements around the one visited
    const auto visit = [&](xmlNodePtr node, const Level &level) {
        if (node->type != XML_ELEMENT_NODE)
            return Step::Over;
        xmlwalk::measure(deepest, node, level);
        const int declared = namespaceCount(node);
        deepest.attributes = std::max(deepest.attributes, attributeCount(node) + declared);
        deepest.namespaces = std::max(deepest.namespaces, namespaces + declared);
        if (node->children)
            namespaces += declared;
        return Step::Into;
    };
    xmlwalk::walk(top, top, nullptr, Level{}, visit,
                  [&](xmlNodePtr element, const Level &) { namespaces -= namespaceCount(element); });
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

// What stands for c in the output, with its length.
struct Escape {
    const char *text;
    size_t size;
};
Escape escapeOf(xmlChar c)
{
    switch (c) {
    case '<':
        return {"&lt;", 4};
    case '>':
        return {"&gt;", 4};
    case '&':
        return {"&amp;", 5};
    case '\r':
        return {"&#13;", 5};
    case '"':
        return {"&quot;", 6};
    case '\n':
        return {"&#10;", 5};
    default:
        return {"&#9;", 4};
    }
}

// A piece of the output, handed on whole.
struct Piece {
    std::unique_ptr<char[]> bytes;
    size_t size = 0;
};

// Output gathered in pieces; each full piece goes to keep as it is, never copied.
class Output
{
public:
    using Keep = std::function<bool(Piece &&)>;
    explicit Output(Keep keep) : m_keep(std::move(keep)) { m_piece.bytes.reset(new char[kPiece]); }

    void put(const char *data, size_t size)
    {
        if (m_used + size > kPiece) [[unlikely]] {
            putPastThePiece(data, size);
            return;
        }
        std::memcpy(m_piece.bytes.get() + m_used, data, size);
        m_used += size;
    }
    // A text of the program: its length is known when the program is built.
    template <size_t N> void put(const char (&text)[N]) { put(text, N - 1); }
    void put(const xmlChar *text)
    {
        put(reinterpret_cast<const char *>(text), std::strlen(reinterpret_cast<const char *>(text)));
    }

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
            const Escape escape = escapeOf(*p);
            put(escape.text, escape.size);
            run = p + 1;
        }
    }

    // Hands on what is gathered; false once keep has refused a piece.
    bool flush()
    {
        if (m_used && !m_failed) {
            m_piece.size = m_used;
            m_failed = !m_keep(std::move(m_piece));
            m_piece = Piece{std::unique_ptr<char[]>(new char[kPiece]), 0};
        }
        m_used = 0;
        return !m_failed;
    }

private:
    void putPastThePiece(const char *data, size_t size)
    {
        flush();
        if (size <= kPiece) {
            std::memcpy(m_piece.bytes.get(), data, size);
            m_used = size;
            return;
        }
        Piece whole{std::unique_ptr<char[]>(new char[size]), size};
        std::memcpy(whole.bytes.get(), data, size);
        m_failed = m_failed || !m_keep(std::move(whole));
    }

    static constexpr size_t kPiece = 256 * 1024;
    Keep m_keep;
    Piece m_piece;
    size_t m_used = 0;
    bool m_failed = false;
};

// An output whose pieces go straight to the sink.
Output::Keep toSink(const Sink &sink)
{
    return [&sink](Piece &&piece) { return sink(piece.bytes.get(), qsizetype(piece.size)); };
}

void putQuoted(Output &out, const xmlChar *text)
{
    const char *quote = xmlStrchr(text, '"') ? "'" : "\"";
    out.put(quote, 1);
    out.put(text);
    out.put(quote, 1);
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

// A stretch of a subtree's output: from the start tag of first up to the start tag
// of until (null: to the end of the subtree), first standing at level.
struct Range {
    xmlNodePtr first = nullptr;
    xmlNodePtr until = nullptr;
    Level level{};
};

// Writes the range of the subtree below top, measuring its nesting; false when it
// holds a node the writer leaves to the library (found before anything of the range
// could be wrong).
bool writeRange(Output &out, xmlNodePtr top, const Range &range, Nesting *nesting)
{
    const auto visit = [&out, nesting](xmlNodePtr node, const Level &level) {
        switch (node->type) {
        case XML_ELEMENT_NODE: {
            if (node->ns || node->nsDef)
                return Step::Stop;
            xmlwalk::measure(*nesting, node, level);
            out.put("<");
            out.put(node->name);
            int attributes = 0;
            for (xmlAttrPtr attr = node->properties; attr; attr = attr->next) {
                if (attr->ns)
                    return Step::Stop;
                ++attributes;
                out.put(" ");
                out.put(attr->name);
                out.put("=\"");
                for (xmlNodePtr t = attr->children; t; t = t->next) {
                    if (t->type != XML_TEXT_NODE)
                        return Step::Stop;
                    if (t->content)
                        out.putEscaped(t->content, true);
                }
                out.put("\"");
            }
            nesting->attributes = std::max(nesting->attributes, attributes);
            if (!node->children) {
                out.put("/>");
                return Step::Over;
            }
            out.put(">");
            return Step::Into;
        }
        case XML_TEXT_NODE:
            if (node->content) {
                if (xmlStrEqual(node->name, BAD_CAST "textnoenc"))
                    out.put(node->content);
                else
                    out.putEscaped(node->content, false);
            }
            return Step::Over;
        case XML_CDATA_SECTION_NODE:
            if (!node->content || xmlStrstr(node->content, BAD_CAST "]]>"))
                return Step::Stop;
            out.put("<![CDATA[");
            out.put(node->content);
            out.put("]]>");
            return Step::Over;
        case XML_COMMENT_NODE:
            out.put("<!--");
            if (node->content)
                out.put(node->content);
            out.put("-->");
            return Step::Over;
        case XML_PI_NODE:
            out.put("<?");
            out.put(node->name);
            if (node->content) {
                out.put(" ");
                out.put(node->content);
            }
            out.put("?>");
            return Step::Over;
        default:
            return Step::Stop;
        }
    };
    // Closes every element whose last child was written.
    const auto leave = [&out](xmlNodePtr element, const Level &) {
        out.put("</");
        out.put(element->name);
        out.put(">");
    };
    return xmlwalk::walk(top, range.first, range.until, range.level, visit, leave);
}

enum class Written { Whole, Unknown, TooDeep, TooWide, Failed };

Written verdictOn(const Nesting &nesting)
{
    return nesting.tooDeep() ? Written::TooDeep : nesting.tooWide() ? Written::TooWide : Written::Whole;
}

void merge(Nesting *into, const Nesting &part)
{
    into->elements = std::max(into->elements, part.elements);
    into->folders = std::max(into->folders, part.folders);
    into->attributes = std::max(into->attributes, part.attributes);
    into->namespaces = std::max(into->namespaces, part.namespaces);
}

bool isVardeck(xmlNodePtr n)
{
    return n->type == XML_ELEMENT_NODE && xmlStrEqual(n->name, BAD_CAST "VARDECK");
}

// What a Vardeck weighs against any other element when the root is cut into parts:
// about the nodes it holds. A part weighs about kPartWeight (some 2,000 Vardecks, a
// megabyte); a document of fewer Vardecks than two parts hold is written by the
// saving thread alone.
constexpr qint64 kVardeckWeight = 20;
constexpr qint64 kPartWeight = 40000;

// Writes the root element in parts side by side: one thread walks the elements
// outside Vardecks (a Vardeck is taken whole) and cuts the output into parts as it
// goes, others write each part into pieces of memory as soon as it is cut, and the
// saving thread hands the pieces of each finished part to the sink, in order.
class PartWriters
{
public:
    PartWriters(xmlNodePtr root, int threads) : m_root(root)
    {
        m_threads.emplace_back([this] { cut(); });
        for (int i = 0; i < threads; ++i)
            m_threads.emplace_back([this] { work(); });
    }
    ~PartWriters()
    {
        stop(Written::Whole);
        for (std::thread &thread : m_threads)
            thread.join();
    }
    PartWriters(const PartWriters &) = delete;
    PartWriters &operator=(const PartWriters &) = delete;

    Written deliver(const Sink &sink, Nesting *nesting)
    {
        for (size_t i = 0;; ++i) {
            Part *part = nullptr;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_changed.wait(lock, [&] { return i < m_parts.size() ? m_parts[i].done : m_allCut; });
                if (i == m_parts.size())
                    return Written::Whole;
                part = &m_parts[i];
            }
            if (!part->known)
                return stop(Written::Unknown);
            merge(nesting, part->nesting);
            // A tree the next load would refuse is never finished.
            if (const Written verdict = verdictOn(*nesting); verdict != Written::Whole)
                return stop(verdict);
            for (const Piece &piece : part->pieces)
                if (!sink(piece.bytes.get(), qsizetype(piece.size)))
                    return stop(Written::Failed);
            part->pieces.clear();
        }
    }

private:
    struct Part {
        explicit Part(const Range &range) : range(range) {}
        Range range;
        std::vector<Piece> pieces;
        Nesting nesting;
        bool known = true;
        bool done = false;
    };

    void cut()
    {
        Range current{m_root};
        qint64 weight = 0;
        const auto visit = [&](xmlNodePtr node, const Level &level) {
            if (m_stop)
                return Step::Stop;
            if (node == m_root)
                return Step::Into;
            if (node->type != XML_ELEMENT_NODE)
                return Step::Over;
            if (weight >= kPartWeight) {
                current.until = node;
                publish(current, false);
                current = Range{node, nullptr, level};
                weight = 0;
            }
            const bool vardeck = isVardeck(node);
            weight += vardeck ? kVardeckWeight : 1;
            return vardeck ? Step::Over : Step::Into;
        };
        xmlwalk::walk(m_root, m_root, nullptr, Level{}, visit, [](xmlNodePtr, const Level &) {});
        publish(current, true);
    }

    void publish(const Range &range, bool last)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_parts.emplace_back(range);
            m_allCut = last;
        }
        m_changed.notify_all();
    }

    void work()
    {
        for (;;) {
            Part *part = nullptr;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_changed.wait(lock, [this] { return m_stop || m_taken < m_parts.size() || m_allCut; });
                if (m_stop || m_taken == m_parts.size())
                    return;
                part = &m_parts[m_taken++];
            }
            Output out([part](Piece &&piece) {
                part->pieces.push_back(std::move(piece));
                return true;
            });
            const bool known = writeRange(out, m_root, part->range, &part->nesting);
            out.flush();
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                part->known = known;
                part->done = true;
            }
            m_changed.notify_all();
        }
    }

    Written stop(Written written)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_stop = true;
        }
        m_changed.notify_all();
        return written;
    }

    xmlNodePtr m_root;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Part> m_parts; // a part keeps its place as others are added
    size_t m_taken = 0;
    bool m_allCut = false;
    std::atomic<bool> m_stop{false};
    std::vector<std::thread> m_threads;
};

std::atomic<int> g_partThreads{-1};

// Threads that write parts of the root element beside the one that cuts it and the
// saving one; none with two processors or fewer. The processors counted are those the
// program may run on, not all the machine has.
int partThreads()
{
    static const int threads = std::clamp(QThread::idealThreadCount() - 2, 0, 4);
    const int chosen = g_partThreads.load();
    return chosen < 0 ? threads : chosen;
}

Written writeRoot(Output &out, xmlNodePtr root, int vardecks, const Sink &sink, Nesting *nesting)
{
    if (partThreads() == 0 || qint64(vardecks) * kVardeckWeight < 2 * kPartWeight)
        return writeRange(out, root, Range{root}, nesting) ? Written::Whole : Written::Unknown;
    if (!out.flush())
        return Written::Failed;
    PartWriters writers(root, partThreads());
    return writers.deliver(sink, nesting);
}

Written writeDocument(xmlDocPtr doc, int vardecks, const Sink &sink)
{
    Output out(toSink(sink));
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
        } else if (top->type == XML_ELEMENT_NODE) {
            if (const Written written = writeRoot(out, top, vardecks, sink, &nesting); written != Written::Whole)
                return written;
        } else if (!writeRange(out, top, Range{top}, &nesting)) {
            return Written::Unknown;
        }
        if (const Written verdict = verdictOn(nesting); verdict != Written::Whole)
            return verdict;
        out.put("\n");
    }
    return out.flush() ? Written::Whole : Written::Failed;
}

int libraryWrite(void *context, const char *data, int length)
{
    return (*static_cast<const Sink *>(context))(data, length) ? length : -1;
}

int libraryClose(void *)
{
    return 0;
}

Written writeWithLibrary(xmlDocPtr doc, const Sink &sink)
{
    if (const xmlNodePtr root = xmlDocGetRootElement(doc)) {
        if (const Written verdict = verdictOn(nestingOf(root)); verdict != Written::Whole)
            return verdict;
    }
    xmlSaveCtxtPtr ctxt = xmlSaveToIO(libraryWrite, libraryClose, const_cast<Sink *>(&sink), nullptr, 0);
    if (!ctxt)
        return Written::Failed;
    const long written = xmlSaveDoc(ctxt, doc);
    const int closed = xmlSaveClose(ctxt);
    return written >= 0 && closed >= 0 ? Written::Whole : Written::Failed;
}

// Writes the document into the sink, by our writer when it knows every node, else
// by the library; begin is called before each attempt (a second one starts the
// output again).
Written write(xmlDocPtr doc, int vardecks, const Sink &sink, const std::function<bool()> &begin)
{
    // The declaration names UTF-8 and the text goes out as it is held, unconverted.
    if (!doc->encoding || !xmlStrEqual(doc->encoding, BAD_CAST "UTF-8")) {
        xmlFree(const_cast<xmlChar *>(doc->encoding));
        doc->encoding = xmlStrdup(BAD_CAST "UTF-8");
    }
    if (!begin())
        return Written::Failed;
    if (writerKnowsAll(doc)) {
        const Written written = writeDocument(doc, vardecks, sink);
        if (written != Written::Unknown)
            return written;
        if (!begin())
            return Written::Failed;
    }
    return writeWithLibrary(doc, sink);
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
    return folder ? nestingOf(folder.raw()).folders : 0;
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
    const Sink append = [&out](const char *data, qsizetype size) {
        out.append(data, size);
        return true;
    };
    write(m_doc, m_vardeckCount, append, [&out] {
        out.clear();
        return true;
    });
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
    const Sink toFile = [&writer](const char *data, qsizetype size) { return writer.write(data, size); };
    // A second attempt starts the file again.
    const Written written = write(m_doc, m_vardeckCount, toFile, [&writer] { return writer.open(); });
    // What is saved must open again: a tree the next load would refuse is not written.
    if (written == Written::TooDeep) {
        const xmlNodePtr root = xmlDocGetRootElement(m_doc);
        if (root && nestingOf(root).folders <= kMaxFolderLevels)
            return failWith(QStringLiteral("%1 was not saved: its elements are nested more than %2 levels deep.")
                                .arg(path)
                                .arg(kMaxElementDepth));
        return failWith(QStringLiteral("%1 was not saved: the folders are nested more than %2 levels deep.")
                            .arg(path)
                            .arg(kMaxFolderLevels));
    }
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

namespace xmlsave_testing
{

void setPartThreads(int threads)
{
    g_partThreads = threads;
}

} // namespace xmlsave_testing

} // namespace rr
