// Saving the database document. The document is written compact, straight in
// UTF-8, by a writer of our own that produces exactly the bytes the XML library's
// compact output would (a test compares the two), measuring the nesting as it goes.
// The root element is cut into parts of about equal size at element boundaries;
// threads write the parts into pieces of memory side by side while this thread hands
// the finished pieces, in order, to the atomic file writer: every byte is made once
// and written once, with no copy of the whole file. With two processors there are no
// parts: a second thread writes the pieces to the file while this one makes the next
// (platform/xmloutput.h). Anything the writer does not know (namespaces, entity
// references, entity declarations) is left to the library's serialiser, which streams
// into the file writer; the document type, declarations included, is written so that
// it reads back (platform/xmldoctype.h).
#include "platform/atomicfile.h"
#include "platform/xmldoctype.h"
#include "platform/xmldocument.h"
#include "platform/xmloutput.h"
#include "platform/xmlwalk.h"

#include <QThread>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace rr
{
namespace
{

using xmloutput::Output;
using xmloutput::Piece;
using xmloutput::Sink;
using xmloutput::SinkThread;
using xmloutput::toSink;
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

// Whether our writer knows every node of the document; otherwise the library writes.
bool writerKnowsAll(xmlDocPtr doc)
{
    for (xmlNodePtr top = doc->children; top; top = top->next) {
        if (top->type == XML_DTD_NODE) {
            if (!xmloutput::knowsDoctype(reinterpret_cast<xmlDtdPtr>(top)))
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

// How far ahead of the node being written the walk asks for memory: some thirty
// nodes, a node taking 128 bytes.
constexpr std::ptrdiff_t kPrefetchAhead = 4096;

// Writes the range of the subtree below top, measuring its nesting; false when it
// holds a node the writer leaves to the library (found before anything of the range
// could be wrong).
bool writeRange(Output &out, xmlNodePtr top, const Range &range, Nesting *nesting)
{
    const auto visit = [&out, nesting](xmlNodePtr node, const Level &level) {
        // The library allocates a document's nodes and texts one after the other as it
        // reads them, so the nodes the walk meets next mostly lie a little further on
        // in memory: asking for them now hides the wait for memory that a walk from
        // node to node otherwise pays at each of them. Only a hint: an address past
        // the end of ours never faults, and nothing is read from it.
        __builtin_prefetch(reinterpret_cast<const char *>(node) + kPrefetchAhead);
        __builtin_prefetch(reinterpret_cast<const char *>(node) + kPrefetchAhead + 64);
        switch (node->type) {
        case XML_ELEMENT_NODE: {
            if (node->ns || node->nsDef)
                return Step::Stop;
            xmlwalk::measure(*nesting, node, level);
            out.putNamed("<", node->name, "");
            int attributes = 0;
            for (xmlAttrPtr attr = node->properties; attr; attr = attr->next) {
                if (attr->ns)
                    return Step::Stop;
                ++attributes;
                out.putNamed(" ", attr->name, "=\"");
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
                // The library names its text nodes by one string; its address says
                // most of them are escaped without comparing the name.
                if (node->name != xmlStringText && xmlStrEqual(node->name, BAD_CAST "textnoenc"))
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
            out.putComment(node->content);
            return Step::Over;
        case XML_PI_NODE:
            out.putProcessingInstruction(node->name, node->content);
            return Step::Over;
        default:
            return Step::Stop;
        }
    };
    // Closes every element whose last child was written.
    const auto leave = [&out](xmlNodePtr element, const Level &) { out.putNamed("</", element->name, ">"); };
    return xmlwalk::walk(top, range.first, range.until, range.level, visit, leave);
}

enum class Written { Whole, Unknown, TooDeep, TooWide, Failed };

// The XML declaration, as the library writes it for a document saved in UTF-8.
void putDeclaration(Output &out, xmlDocPtr doc)
{
    out.put("<?xml version=\"");
    out.put(doc->version ? doc->version : BAD_CAST "1.0");
    out.put("\" encoding=\"UTF-8\"");
    if (doc->standalone == 0)
        out.put(" standalone=\"no\"");
    else if (doc->standalone == 1)
        out.put(" standalone=\"yes\"");
    out.put("?>\n");
}

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
std::atomic<int> g_processors{-1};

// The processors the program may run on, not all the machine has.
int processors()
{
    static const int counted = QThread::idealThreadCount();
    const int chosen = g_processors.load();
    return chosen < 0 ? counted : chosen;
}

// Threads that write parts of the root element beside the one that cuts it and the
// saving one; none with two processors or fewer.
int partThreads()
{
    const int chosen = g_partThreads.load();
    return chosen < 0 ? std::clamp(processors() - 2, 0, 4) : chosen;
}

Written writeDocument(xmlDocPtr doc, int vardecks, const Sink &sink)
{
    // A large root element is written in parts side by side where there are
    // processors for them. With two, the saving thread makes the bytes while a second
    // one writes them to the file (two making them measured no quicker: the second
    // puts its bytes in fresh memory, and they are written only after the first's);
    // with one, the saving thread does both.
    const bool large = qint64(vardecks) * kVardeckWeight >= 2 * kPartWeight;
    const bool inParts = large && partThreads() > 0;
    std::optional<SinkThread> beside;
    if (large && !inParts && processors() >= 2)
        beside.emplace(sink);
    Output out(beside ? beside->keep() : toSink(sink));
    putDeclaration(out, doc);
    Nesting nesting;
    for (xmlNodePtr top = doc->children; top; top = top->next) {
        if (top->type == XML_DTD_NODE) {
            xmloutput::writeDoctype(out, reinterpret_cast<xmlDtdPtr>(top));
        } else if (top->type == XML_ELEMENT_NODE && inParts) {
            if (!out.flush())
                return Written::Failed;
            PartWriters writers(top, partThreads());
            if (const Written written = writers.deliver(sink, &nesting); written != Written::Whole)
                return written;
        } else if (!writeRange(out, top, Range{top}, &nesting)) {
            return Written::Unknown;
        }
        if (const Written verdict = verdictOn(nesting); verdict != Written::Whole)
            return verdict;
        out.put("\n");
    }
    return out.flush() && (!beside || beside->finish()) ? Written::Whole : Written::Failed;
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
    // The library writes the nodes, in UTF-8 as they are held; the declaration and a
    // document type it knows are ours, as the library puts a "<" of a default value
    // out bare, and the file would not read again.
    Output out(toSink(sink));
    putDeclaration(out, doc);
    if (!out.flush())
        return Written::Failed;
    xmlSaveCtxtPtr ctxt = xmlSaveToIO(libraryWrite, libraryClose, const_cast<Sink *>(&sink), "UTF-8", 0);
    if (!ctxt)
        return Written::Failed;
    bool written = true;
    for (xmlNodePtr top = doc->children; top && written; top = top->next) {
        if (top->type == XML_DTD_NODE && xmloutput::knowsDoctype(reinterpret_cast<xmlDtdPtr>(top))) {
            xmloutput::writeDoctype(out, reinterpret_cast<xmlDtdPtr>(top));
            out.put("\n");
            written = out.flush();
            continue;
        }
        written = xmlSaveTree(ctxt, top) >= 0 && xmlSaveFlush(ctxt) >= 0;
        out.put("\n");
        written = written && out.flush();
    }
    const int closed = xmlSaveClose(ctxt);
    return written && closed >= 0 ? Written::Whole : Written::Failed;
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

bool XmlDocument::save(const QString &path, QString *error, FileStamp *savedStamp) const
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
    if (savedStamp)
        *savedStamp = writer.committed();
    return true;
}

namespace xmlsave_testing
{

void setPartThreads(int threads)
{
    g_partThreads = threads;
}

void setProcessors(int processors)
{
    g_processors = processors;
}

} // namespace xmlsave_testing

} // namespace rr
