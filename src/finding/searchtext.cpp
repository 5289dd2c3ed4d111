#include "finding/searchtext.h"
#include "finding/casefold.h"
#include "finding/vardeckwalk.h"
#include "storage/record.h"

#include <libxml/tree.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

namespace rr
{
namespace
{

struct FieldName {
    SearchField bit;
    const char *name;
};
// The order in which single fields are joined.
constexpr FieldName kFields[] = {
    {SearchName, tag::Name.data()},         {SearchAddress, tag::Address.data()},
    {SearchNotes, tag::Notes.data()},       {SearchDescription, tag::Description.data()},
    {SearchKeywords, tag::Keyword1.data()},
};

xmlNodePtr childNamed(xmlNodePtr parent, const char *name)
{
    for (xmlNodePtr c = parent->children; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char *>(c->name), name) == 0)
            return c;
    return nullptr;
}

// The texts of a Vardeck as forEachText gives them. A field holds its text straight
// below it, so such a field is read here without the general walk, which goes to any
// depth and follows entity references.
template <typename Visit> void forEachVardeckText(xmlNodePtr vardeck, Visit &visit)
{
    for (xmlNodePtr field = vardeck->children; field; field = field->next) {
        bool plain = field->type == XML_ELEMENT_NODE;
        for (xmlNodePtr t = field->children; t && plain; t = t->next)
            plain = !t->children && t->type != XML_ENTITY_REF_NODE;
        if (!plain) {
            forEachText(field, visit);
            continue;
        }
        for (xmlNodePtr t = field->children; t; t = t->next)
            if ((t->type == XML_TEXT_NODE || t->type == XML_CDATA_SECTION_NODE) && t->content)
                visit(t->content, std::strlen(reinterpret_cast<const char *>(t->content)));
    }
}

template <typename Visit> void forEachSearchedText(xmlNodePtr vardeck, SearchFieldMask mask, Visit &visit)
{
    if (mask & SearchAllData) {
        forEachVardeckText(vardeck, visit);
        return;
    }
    for (const FieldName &field : kFields) {
        if (!(mask & field.bit))
            continue;
        if (xmlNodePtr child = childNamed(vardeck, field.name))
            forEachText(child, visit);
    }
}

// The library allocates a document's nodes and texts one after another as it reads
// them, so a Vardeck's fields, their texts and the Vardecks after it mostly lie a
// little further on in memory. Asking for the memory ahead of the walk's position
// turns the walk's chain of waits, one for each node, into one stream. Only a hint:
// nothing is read from an address asked for, and one past the end of ours never faults.
class ReadAhead
{
public:
    void at(const void *node)
    {
        const auto here = reinterpret_cast<quintptr>(node);
        // Outside the stretch asked for, or far behind it: the walk went elsewhere.
        if (here > m_asked || here + 2 * kAhead < m_asked)
            m_asked = here;
        for (; m_asked < here + kAhead; m_asked += kLine)
            __builtin_prefetch(reinterpret_cast<const void *>(m_asked));
    }

private:
    // About two Vardecks with their fields and texts.
    static constexpr quintptr kAhead = 8192;
    static constexpr quintptr kLine = 64;
    quintptr m_asked = 0;
};

// Appends the element's case-folded searched text to out. Its texts are joined in raw
// first, which the caller keeps from one call to the next, and folded at once: most
// fields are shorter than the sixteen bytes the folding takes at a time.
void joinSearched(xmlNodePtr vardeck, SearchFieldMask mask, ByteArena &raw)
{
    raw.setSize(0);
    auto join = [&raw](const xmlChar *text, size_t length) {
        raw.append(reinterpret_cast<const char *>(text), qsizetype(length));
    };
    forEachSearchedText(vardeck, mask, join);
}

void appendFoldedSearched(xmlNodePtr vardeck, SearchFieldMask mask, ByteArena &out, ByteArena &raw)
{
    joinSearched(vardeck, mask, raw);
    appendFoldedJoined(QByteArrayView(raw.data(), raw.size()), out);
}

} // namespace

void appendFoldedJoined(QByteArrayView raw, ByteArena &out)
{
    // Qt reads a byte order mark at the very start as no character.
    const qsizetype skip = raw.startsWith(QByteArrayView(kByteOrderMark, 3)) ? 3 : 0;
    if (raw.size() == skip)
        return;
    const auto *bytes = reinterpret_cast<const uchar *>(raw.data());
    if (char *end = foldFast(bytes + skip, bytes + raw.size(), out.reserveMore(2 * raw.size()))) {
        out.setSize(end - out.data());
        return;
    }
    const QByteArray folded = QString::fromUtf8(raw.data(), raw.size()).toCaseFolded().toUtf8();
    out.append(folded.constData(), folded.size());
}

bool visitSearchedTexts(_xmlNode *root, SearchFieldMask mask,
                        const std::function<bool(_xmlNode *vardeck, QByteArrayView text)> &visit, _xmlNode *from)
{
    ByteArena raw;
    ReadAhead ahead;
    auto one = [&](xmlNodePtr vardeck) {
        ahead.at(vardeck);
        joinSearched(vardeck, mask, raw);
        return visit(vardeck, QByteArrayView(raw.data(), raw.size()));
    };
    if (!from)
        return walkVardecks(root, one);
    // From a Vardeck on, up through its ancestors as needed, to the end of the document.
    return xmlwalk::walk(
        root, from, nullptr, xmlwalk::Level{},
        [&](xmlNodePtr node, const xmlwalk::Level &) {
            if (isVardeckElement(node))
                return one(node) ? xmlwalk::Step::Over : xmlwalk::Step::Stop;
            return node->type == XML_ELEMENT_NODE ? xmlwalk::Step::Into : xmlwalk::Step::Over;
        },
        [](xmlNodePtr, const xmlwalk::Level &) {});
}

QString searchedText(const XmlNode &vardeck, SearchFieldMask mask)
{
    if (mask & SearchAllData)
        return vardeck.text();
    QString text;
    for (const FieldName &field : kFields)
        if (mask & field.bit)
            text += vardeck.childText(QLatin1String(field.name));
    return text;
}

ByteArena &ByteArena::operator=(ByteArena &&other) noexcept
{
    if (this != &other) {
        release();
        m_data = std::exchange(other.m_data, nullptr);
        m_size = std::exchange(other.m_size, 0);
        m_capacity = std::exchange(other.m_capacity, 0);
    }
    return *this;
}

char *ByteArena::grow(qsizetype n)
{
    const qsizetype wanted = std::max(m_size + n, m_capacity + m_capacity / 2 + 4096);
    char *grown = static_cast<char *>(std::realloc(m_data, size_t(wanted)));
    Q_CHECK_PTR(grown);
    m_data = grown;
    m_capacity = wanted;
    return m_data + m_size;
}

void ByteArena::squeeze()
{
    if (m_size == 0) {
        release();
        return;
    }
    if (char *shrunk = static_cast<char *>(std::realloc(m_data, size_t(m_size)))) {
        m_data = shrunk;
        m_capacity = m_size;
    }
}

void ByteArena::release()
{
    std::free(m_data);
    m_data = nullptr;
    m_size = 0;
    m_capacity = 0;
}

namespace
{

// The first element among node and its next siblings, or null.
xmlNodePtr firstElement(xmlNodePtr node)
{
    while (node && node->type != XML_ELEMENT_NODE)
        node = node->next;
    return node;
}

} // namespace

std::vector<SearchTextCache::Match> SearchTextCache::fillWhole(_xmlNode *root, SearchFieldMask mask,
                                                               quint64 changeStamp, int threads,
                                                               const TextMatcher &match, qsizetype most,
                                                               qsizetype *counted)
{
    clear();
    m_mask = mask;
    // The tree is cut into parts, in document order, without going through its
    // Vardecks: each element whose first element is a Vardeck (a folder's list) with
    // everything below it, and each Vardeck met elsewhere. Threads take the parts in
    // turn, walk them and fold their Vardecks in runs; a thread walking a long
    // list hands its full runs to the others as it goes. The runs become the cache's
    // blocks in document order.
    constexpr size_t kRun = 256;
    struct Run {
        std::vector<xmlNodePtr> vardecks;
        std::vector<qsizetype> sizes;
        ByteArena folded;
        std::vector<BytePairs> pairs;
        std::vector<Match> found; // entries of this run
        qsizetype accepted = 0;   // every entry of this run match accepted
    };
    struct Part {
        xmlNodePtr top = nullptr;
        bool vardeck = false; // top is a Vardeck itself
        std::deque<Run> runs; // grows at the back only, so a run handed out stays put
    };
    std::deque<Part> parts;
    xmlwalk::walk(
        root, root->children, nullptr, xmlwalk::Level{2, 0},
        [&parts](xmlNodePtr node, const xmlwalk::Level &) {
            if (node->type != XML_ELEMENT_NODE)
                return xmlwalk::Step::Over;
            if (isVardeckElement(node)) {
                parts.emplace_back().top = node;
                parts.back().vardeck = true;
                return xmlwalk::Step::Over;
            }
            if (isVardeckElement(firstElement(node->children))) {
                parts.emplace_back().top = node;
                return xmlwalk::Step::Over;
            }
            return xmlwalk::Step::Into;
        },
        [](xmlNodePtr, const xmlwalk::Level &) {});

    std::atomic<size_t> nextPart{0};
    size_t partsWalked = 0;
    std::atomic<int> waiting{0}; // threads with nothing to do until a run is handed out
    std::deque<Run *> handedOut;
    std::mutex lock;
    std::condition_variable ready;
    // Room for a run's texts at once: a Vardeck's text is a few hundred bytes.
    constexpr qsizetype kRoomPerVardeck = 512;
    // A run folded as it is walked takes room for a whole run, which it touches only
    // as it fills it: grown step by step, its lists would leave their earlier copies
    // behind.
    auto startRun = [&](Run &run) {
        if (run.vardecks.empty())
            run.vardecks.reserve(kRun);
        run.sizes.reserve(run.vardecks.empty() ? kRun : run.vardecks.size());
        run.pairs.reserve(run.vardecks.empty() ? kRun : run.vardecks.size());
        run.folded.reserveMore(qsizetype(kRun) * kRoomPerVardeck);
    };
    auto foldOne = [&](Run &run, xmlNodePtr vardeck, ByteArena &raw) {
        const qsizetype before = run.folded.size();
        appendFoldedSearched(vardeck, mask, run.folded, raw);
        const qsizetype size = run.folded.size() - before;
        run.pairs.emplace_back().add(QByteArrayView(run.folded.data() + before, size));
        // Tested while the text is fresh in this processor's cache.
        qint32 matches = 0;
        if (match && (counted || qsizetype(run.found.size()) < most) &&
            match(QByteArrayView(run.folded.data() + before, size), &matches)) {
            if (qsizetype(run.found.size()) < most)
                run.found.push_back(Match{qsizetype(run.sizes.size()), matches});
            ++run.accepted;
        }
        run.sizes.push_back(size);
    };
    // Each thread joins a Vardeck's texts in raw, its own.
    auto foldRun = [&](Run &run, ByteArena &raw) {
        startRun(run);
        ReadAhead ahead;
        for (xmlNodePtr vardeck : run.vardecks) {
            ahead.at(vardeck);
            foldOne(run, vardeck, raw);
        }
        run.folded.squeeze();
    };
    auto walk = [&](Part &part, ByteArena &raw) {
        // A run is folded as it is walked, each Vardeck right after it is met, when no
        // thread waits for work as it starts; else it is handed to one when full.
        Run *run = &part.runs.emplace_back();
        bool folding = waiting.load() == 0;
        if (folding)
            startRun(*run);
        ReadAhead ahead;
        auto add = [&](xmlNodePtr vardeck) {
            ahead.at(vardeck);
            if (run->vardecks.size() == kRun) {
                if (folding) {
                    run->folded.squeeze();
                } else {
                    {
                        std::lock_guard<std::mutex> hold(lock);
                        handedOut.push_back(run);
                    }
                    ready.notify_one();
                }
                run = &part.runs.emplace_back();
                folding = waiting.load() == 0;
                if (folding)
                    startRun(*run);
            }
            run->vardecks.push_back(vardeck);
            if (folding)
                foldOne(*run, vardeck, raw);
        };
        if (part.vardeck)
            add(part.top);
        else
            walkVardecks(part.top, [&](xmlNodePtr vardeck) {
                add(vardeck);
                return true;
            });
        if (folding)
            run->folded.squeeze();
        else
            foldRun(*run, raw);
        {
            std::lock_guard<std::mutex> hold(lock);
            ++partsWalked;
        }
        ready.notify_all();
    };
    auto work = [&] {
        ByteArena raw;
        for (;;) {
            Run *run = nullptr;
            {
                std::unique_lock<std::mutex> hold(lock);
                if (handedOut.empty() && nextPart.load() >= parts.size()) {
                    ++waiting;
                    ready.wait(hold, [&] { return !handedOut.empty() || partsWalked == parts.size(); });
                    --waiting;
                    if (handedOut.empty())
                        return;
                }
                if (!handedOut.empty()) {
                    run = handedOut.front();
                    handedOut.pop_front();
                }
            }
            if (run)
                foldRun(*run, raw);
            else if (const size_t p = nextPart++; p < parts.size())
                walk(parts[p], raw);
        }
    };
    std::vector<std::thread> workers;
    for (int i = 1; i < threads; ++i)
        workers.emplace_back(work);
    work();
    for (std::thread &worker : workers)
        worker.join();

    size_t total = 0;
    for (const Part &part : parts)
        for (const Run &run : part.runs)
            total += run.vardecks.size();
    m_entries.reserve(total);
    m_pairs.reserve(total);
    std::vector<Match> found;
    if (counted)
        *counted = 0;
    for (Part &part : parts) {
        for (Run &run : part.runs) {
            if (counted)
                *counted += run.accepted;
            for (const Match &m : run.found)
                if (qsizetype(found.size()) < most)
                    found.push_back(Match{size() + m.entry, m.matches});
            const auto block = qint32(m_blocks.size());
            qsizetype at = 0;
            for (size_t i = 0; i < run.vardecks.size(); ++i) {
                m_entries.push_back(
                    Entry{reinterpret_cast<quintptr>(run.vardecks[i]), at, quint32(run.sizes[i]), block});
                at += run.sizes[i];
            }
            m_pairs.insert(m_pairs.end(), run.pairs.begin(), run.pairs.end());
            m_blocks.push_back(std::move(run.folded));
        }
    }
    m_whole = true;
    m_wholeStamp = changeStamp;
    return found;
}

void SearchTextCache::startBuild(SearchFieldMask mask, quint64 changeStamp, qsizetype vardecks)
{
    clear();
    m_entries.reserve(size_t(std::max<qsizetype>(vardecks, 0)));
    m_pairs.reserve(size_t(std::max<qsizetype>(vardecks, 0)));
    m_mask = mask;
    m_building = true;
    m_buildStamp = changeStamp;
}

bool SearchTextCache::buildSlice(_xmlNode *root, qsizetype vardecks)
{
    if (!m_building)
        return true;
    ByteArena &block = tail();
    const auto blockIndex = qint32(m_blocks.size() - 1);
    qsizetype done = 0;
    ReadAhead ahead;
    // The walk goes on from the Vardeck the last slice stopped at, up through its
    // ancestors as needed, to the end of the document.
    const xmlNodePtr from = m_resume ? m_resume : root->children;
    const bool finished = xmlwalk::walk(
        root, from, nullptr, xmlwalk::Level{},
        [&](xmlNodePtr node, const xmlwalk::Level &) {
            if (!isVardeckElement(node))
                return node->type == XML_ELEMENT_NODE ? xmlwalk::Step::Into : xmlwalk::Step::Over;
            if (done == vardecks) {
                m_resume = node;
                return xmlwalk::Step::Stop;
            }
            ++done;
            ahead.at(node);
            const qsizetype end = block.size();
            appendFoldedSearched(node, m_mask, block, m_raw);
            m_entries.push_back(Entry{reinterpret_cast<quintptr>(node), end, quint32(block.size() - end), blockIndex});
            m_pairs.emplace_back().add(QByteArrayView(block.data() + end, block.size() - end));
            return xmlwalk::Step::Over;
        },
        [](xmlNodePtr, const xmlwalk::Level &) {});
    if (!finished)
        return false;
    m_building = false;
    m_resume = nullptr;
    m_whole = true;
    m_wholeStamp = m_buildStamp;
    block.squeeze();
    m_raw.release();
    return true;
}

void SearchTextCache::beginPass()
{
    // The entries a build made so far are Vardecks of the document in its order, which
    // this pass checks as any others.
    m_building = false;
    m_resume = nullptr;
    m_next = 0;
    m_visited.clear();
    m_inOrder = true;
    m_filling = m_entries.empty();
    m_whole = false;
    // The pass changes entries in place and adds them: their pairs are no longer kept.
    m_pairs = {};
    m_pairsKept = false;
}

void SearchTextCache::dropIndex()
{
    m_index = {};
    m_indexCurrent = false;
}

ByteArena &SearchTextCache::tail()
{
    if (m_blocks.empty())
        m_blocks.emplace_back();
    return m_blocks.back();
}

SearchTextCache::Entry &SearchTextCache::entryFor(quintptr key)
{
    qsizetype at = m_next;
    if (at >= size() || m_entries[size_t(at)].key != key) {
        m_inOrder = false;
        if (!m_indexCurrent) {
            m_index.clear();
            m_index.reserve(size());
            for (qsizetype i = 0; i < size(); ++i)
                m_index.insert(m_entries[size_t(i)].key, i);
            m_indexCurrent = true;
        }
        const auto found = m_index.constFind(key);
        if (found != m_index.cend()) {
            at = *found;
        } else {
            at = size();
            m_entries.push_back(Entry{key});
            m_index.insert(key, at);
        }
    }
    m_next = at + 1;
    m_visited.push_back(at);
    return m_entries[size_t(at)];
}

QByteArrayView SearchTextCache::foldedTextOf(_xmlNode *vardeck, SearchFieldMask mask)
{
    if (mask != m_mask) {
        clear();
        m_mask = mask;
        m_filling = true;
        m_pairsKept = false;
    }
    ByteArena &block = tail();
    const auto tailBlock = qint32(m_blocks.size() - 1);
    const qsizetype end = block.size();
    if (m_filling) {
        // Appended in scan order: no lookup, no comparison.
        appendFoldedSearched(vardeck, mask, block, m_raw);
        m_entries.push_back(Entry{reinterpret_cast<quintptr>(vardeck), end, quint32(block.size() - end), tailBlock});
        return QByteArrayView(block.data() + end, block.size() - end);
    }
    // A new entry holds an empty text, which an empty searched text agrees with.
    Entry &entry = entryFor(reinterpret_cast<quintptr>(vardeck));
    appendFoldedSearched(vardeck, mask, block, m_raw);
    const QByteArrayView now(block.data() + end, block.size() - end);
    if (now == textOf(entry)) {
        block.setSize(end);
    } else {
        m_garbage += entry.size;
        entry = Entry{entry.key, end, quint32(now.size()), tailBlock};
    }
    return textOf(entry);
}

void SearchTextCache::endPass(bool sawAll, quint64 changeStamp)
{
    // A filling scan visited every entry it made, in order.
    const bool filled = m_filling;
    m_filling = false;
    m_whole = sawAll;
    m_wholeStamp = changeStamp;
    qsizetype stored = 0;
    for (const ByteArena &block : m_blocks)
        stored += block.size();
    const qsizetype live = stored - m_garbage;
    const bool wasteful = m_garbage > std::max<qsizetype>(live, 1 << 20);
    if (!filled && sawAll && (!m_inOrder || m_visited.size() != m_entries.size() || wasteful)) {
        compact(m_visited);
    } else if (wasteful) {
        std::vector<qsizetype> all(m_entries.size());
        for (size_t i = 0; i < all.size(); ++i)
            all[i] = qsizetype(i);
        compact(all);
    } else if (sawAll && !m_blocks.empty()) {
        // A block grows by half again; a whole document's texts are kept as long as
        // it stays unchanged.
        m_blocks.back().squeeze();
    }
    m_visited = {};
    m_raw.release();
}

void SearchTextCache::compact(const std::vector<qsizetype> &keep)
{
    std::vector<Entry> entries;
    entries.reserve(keep.size());
    qsizetype total = 0;
    for (qsizetype at : keep)
        total += m_entries[size_t(at)].size;
    ByteArena texts;
    texts.reserveMore(total);
    for (qsizetype at : keep) {
        const Entry &entry = m_entries[size_t(at)];
        const QByteArrayView text = textOf(entry);
        entries.push_back(Entry{entry.key, texts.size(), quint32(text.size()), 0});
        texts.append(text.data(), text.size());
    }
    if (m_pairsKept) {
        std::vector<BytePairs> pairs;
        pairs.reserve(keep.size());
        for (qsizetype at : keep)
            pairs.push_back(m_pairs[size_t(at)]);
        m_pairs = std::move(pairs);
    }
    m_entries = std::move(entries);
    m_blocks.clear();
    m_blocks.push_back(std::move(texts));
    m_garbage = 0;
    dropIndex();
}

void SearchTextCache::clear()
{
    m_entries = {};
    m_pairs = {};
    m_pairsKept = true;
    m_blocks = std::vector<ByteArena>();
    m_garbage = 0;
    dropIndex();
    m_visited = {};
    m_next = 0;
    m_mask = 0;
    m_whole = false;
    m_building = false;
    m_resume = nullptr;
}

bool SearchTextCache::visitHolding(const TextFinder &finder, const std::function<bool(qsizetype i)> &visit) const
{
    for (size_t i = 1; i < m_entries.size(); ++i) {
        const Entry &a = m_entries[i - 1];
        const Entry &b = m_entries[i];
        if (b.block < a.block || (b.block == a.block && b.at < a.at + a.size))
            return false;
    }
    size_t entry = 0;
    for (size_t b = 0; b < m_blocks.size() && entry < m_entries.size(); ++b) {
        while (entry < m_entries.size() && m_entries[entry].block < qint32(b))
            ++entry;
        const QByteArrayView block(m_blocks[b].data(), m_blocks[b].size());
        for (qsizetype at = finder.find(block); at >= 0;) {
            // The entry the place falls in or, between entries, the one after it.
            while (entry < m_entries.size() && m_entries[entry].block == qint32(b) &&
                   m_entries[entry].at + m_entries[entry].size <= at)
                ++entry;
            if (entry == m_entries.size() || m_entries[entry].block != qint32(b))
                break;
            const Entry &e = m_entries[entry];
            if (at < e.at) {
                at = finder.find(block, e.at);
                continue;
            }
            if (at + finder.size() <= e.at + e.size && !visit(qsizetype(entry)))
                return true;
            // Visited, or found only across the end of the entry's text, as any later
            // place in it would be: the search goes on from the next entry.
            ++entry;
            at = entry < m_entries.size() && m_entries[entry].block == qint32(b)
                     ? finder.find(block, m_entries[entry].at)
                     : -1;
        }
    }
    return true;
}

qsizetype SearchTextCache::heldBytes() const
{
    qsizetype held =
        qsizetype(m_entries.capacity() * sizeof(Entry)) + qsizetype(m_pairs.capacity() * sizeof(BytePairs)) +
        qsizetype(m_blocks.capacity() * sizeof(ByteArena)) + qsizetype(m_visited.capacity() * sizeof(qsizetype));
    for (const ByteArena &block : m_blocks)
        held += block.capacity();
    // A hash node holds the key and the position; its span adds about a byte of
    // bookkeeping per slot.
    return held + m_index.capacity() * qsizetype(sizeof(quintptr) + sizeof(qsizetype) + 1);
}

} // namespace rr
