#include "finding/searchtext.h"
#include "finding/vardeckwalk.h"

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
    {SearchName, "NAME"},         {SearchAddress, "ADDRESS"},
    {SearchNotes, "NOTES"},       {SearchDescription, "DESCRIPTION"},
    {SearchKeywords, "KEYWORD1"},
};

xmlNodePtr childNamed(xmlNodePtr parent, const char *name)
{
    for (xmlNodePtr c = parent->children; c; c = c->next)
        if (c->type == XML_ELEMENT_NODE && std::strcmp(reinterpret_cast<const char *>(c->name), name) == 0)
            return c;
    return nullptr;
}

template <typename Visit> void forEachSearchedText(xmlNodePtr vardeck, SearchFieldMask mask, Visit &visit)
{
    if (mask & SearchAllData) {
        forEachText(vardeck, visit);
        return;
    }
    for (const FieldName &field : kFields) {
        if (!(mask & field.bit))
            continue;
        if (xmlNodePtr child = childNamed(vardeck, field.name))
            forEachText(child, visit);
    }
}

struct AppendBytes {
    QByteArray &out;
    void operator()(const xmlChar *text, size_t length)
    {
        out.append(reinterpret_cast<const char *>(text), qsizetype(length));
    }
};

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

inline uchar lowerAscii(uchar c)
{
    return c | uchar(uchar(c - 'A') < 26 ? 0x20 : 0);
}

// The single-character lower case of a character beyond ASCII, or 0 for a capital
// left as it is, whose lower case is several characters (U+0130).
char32_t lowerBeyondAscii(char32_t ch)
{
    const char32_t lower = QChar::toLower(ch);
    return lower == ch && (QChar::isUpper(ch) || QChar::isTitleCase(ch)) ? 0 : lower;
}

// The characters of two UTF-8 bytes (Latin, Greek, Cyrillic, ...) are looked up.
const std::array<char16_t, 0x800> &twoByteLower()
{
    static const std::array<char16_t, 0x800> table = [] {
        std::array<char16_t, 0x800> t{};
        for (char32_t ch = 0x80; ch < 0x800; ++ch)
            t[ch] = char16_t(lowerBeyondAscii(ch));
        return t;
    }();
    return table;
}

// Lower-cases eight ASCII bytes at once: a byte's high bit is set by +0x3F from 'A' on
// and by +0x25 from '[' on: the two differ exactly for 'A' to 'Z', which gain 0x20. In
// a word that holds other bytes too, the ASCII bytes before the first of them come out
// right: a carry only goes towards later bytes.
inline quint64 lowerAscii8(quint64 v)
{
    constexpr quint64 kHigh = 0x8080808080808080ull;
    return v | ((((v + 0x3F3F3F3F3F3F3F3Full) ^ (v + 0x2525252525252525ull)) & kHigh) >> 2);
}

// Lower-cases well-formed UTF-8 from p to end into out, which has room for twice as
// many bytes (no character's lower case takes more than twice its bytes), one
// character at a time: ASCII eight bytes at a time (up to the first other character of
// the eight), other characters through their single-character lower case. Qt
// lower-cases each character on its own, so the result is Qt's. Returns the end of
// what was written, or null for malformed bytes and for a letter whose lower case is
// longer than one character: Qt then lower-cases the whole text.
char *lowerFast(const uchar *p, const uchar *const end, char *o)
{
    constexpr quint64 kHigh = 0x8080808080808080ull;
    const uchar *const start = p;
    const std::array<char16_t, 0x800> &twoBytes = twoByteLower();
    while (p < end) {
        if (end - p >= 8) {
            quint64 v;
            std::memcpy(&v, p, 8);
            const quint64 lowered = lowerAscii8(v);
            std::memcpy(o, &lowered, 8);
            const quint64 high = v & kHigh;
            if (!high) {
                p += 8;
                o += 8;
                continue;
            }
            // Only the bytes before the first other one are kept.
            if constexpr (std::endian::native == std::endian::little) {
                const int ascii = std::countr_zero(high) / 8;
                p += ascii;
                o += ascii;
            }
        } else if (end - start >= 8) {
            // A short end of ASCII is lowered with the eight bytes that end the text:
            // those before it are ASCII too, written one for one, and are written again.
            quint64 v;
            std::memcpy(&v, end - 8, 8);
            if (!(v & kHigh)) {
                const quint64 lowered = lowerAscii8(v);
                std::memcpy(o - (8 - (end - p)), &lowered, 8);
                o += end - p;
                break;
            }
        }
        const uchar c = *p;
        if (c < 0x80) {
            *o++ = char(lowerAscii(c));
            ++p;
            continue;
        }
        char32_t lower = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            if (end - p < 2 || (p[1] & 0xC0) != 0x80)
                return nullptr;
            lower = twoBytes[((c & 0x1F) << 6) | (p[1] & 0x3F)];
            p += 2;
        } else {
            int size = 0;
            char32_t ch = 0;
            if (c >= 0xE0 && c <= 0xEF) {
                size = 3;
                ch = c & 0x0F;
            } else if (c >= 0xF0 && c <= 0xF4) {
                size = 4;
                ch = c & 0x07;
            } else {
                return nullptr;
            }
            if (end - p < size)
                return nullptr;
            for (int i = 1; i < size; ++i) {
                if ((p[i] & 0xC0) != 0x80)
                    return nullptr;
                ch = (ch << 6) | (p[i] & 0x3F);
            }
            if ((size == 3 && (ch < 0x800 || (ch >= 0xD800 && ch <= 0xDFFF))) ||
                (size == 4 && (ch < 0x10000 || ch > 0x10FFFF)))
                return nullptr;
            lower = lowerBeyondAscii(ch);
            p += size;
        }
        if (lower == 0) {
            return nullptr;
        } else if (lower < 0x80) {
            *o++ = char(lower);
        } else if (lower < 0x800) {
            *o++ = char(0xC0 | (lower >> 6));
            *o++ = char(0x80 | (lower & 0x3F));
        } else if (lower < 0x10000) {
            *o++ = char(0xE0 | (lower >> 12));
            *o++ = char(0x80 | ((lower >> 6) & 0x3F));
            *o++ = char(0x80 | (lower & 0x3F));
        } else {
            *o++ = char(0xF0 | (lower >> 18));
            *o++ = char(0x80 | ((lower >> 12) & 0x3F));
            *o++ = char(0x80 | ((lower >> 6) & 0x3F));
            *o++ = char(0x80 | (lower & 0x3F));
        }
    }
    return o;
}

// Appends the element's lower-cased searched text to out.
void appendLowerSearched(xmlNodePtr vardeck, SearchFieldMask mask, ByteArena &out)
{
    const qsizetype start = out.size();
    bool fast = true;
    auto lower = [&](const xmlChar *text, size_t length) {
        if (!fast || length == 0)
            return;
        char *end = lowerFast(text, text + length, out.reserveMore(2 * qsizetype(length)));
        fast = end != nullptr;
        if (fast)
            out.setSize(end - out.data());
    };
    forEachSearchedText(vardeck, mask, lower);
    if (fast) {
        // Qt reads a byte order mark at the very start as no character.
        if (out.size() - start >= 3 && std::memcmp(out.data() + start, kByteOrderMark, 3) == 0) {
            std::memmove(out.data() + start, out.data() + start + 3, size_t(out.size() - start - 3));
            out.setSize(out.size() - 3);
        }
        return;
    }
    out.setSize(start);
    QByteArray raw;
    AppendBytes append{raw};
    forEachSearchedText(vardeck, mask, append);
    const QByteArray lowered = QString::fromUtf8(raw).toLower().toUtf8();
    out.append(lowered.constData(), lowered.size());
}

} // namespace

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

void appendLowerUtf8(QByteArrayView text, QByteArray &out)
{
    const qsizetype start = out.size();
    out.resize(start + 2 * text.size());
    const auto *bytes = reinterpret_cast<const uchar *>(text.data());
    if (char *end = lowerFast(bytes, bytes + text.size(), out.data() + start)) {
        out.truncate(end - out.constData());
        if (out.mid(start).startsWith(kByteOrderMark))
            out.remove(start, 3);
        return;
    }
    out.truncate(start);
    out += QString::fromUtf8(text).toLower().toUtf8();
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

char *ByteArena::reserveMore(qsizetype n)
{
    if (m_capacity - m_size < n) {
        const qsizetype wanted = std::max(m_size + n, m_capacity + m_capacity / 2 + 4096);
        char *grown = static_cast<char *>(std::realloc(m_data, size_t(wanted)));
        Q_CHECK_PTR(grown);
        m_data = grown;
        m_capacity = wanted;
    }
    return m_data + m_size;
}

void ByteArena::append(const char *bytes, qsizetype n)
{
    std::memcpy(reserveMore(n), bytes, size_t(n));
    m_size += n;
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
                                                               const TextMatcher &match, qsizetype most)
{
    clear();
    m_mask = mask;
    // The tree is cut into parts, in document order, without going through its
    // Vardecks: each element whose first element is a Vardeck (a folder's list) with
    // everything below it, and each Vardeck met elsewhere. Threads take the parts in
    // turn, walk them and lower-case their Vardecks in runs; a thread walking a long
    // list hands its full runs to the others as it goes. The runs become the cache's
    // blocks in document order.
    constexpr size_t kRun = 256;
    struct Run {
        std::vector<xmlNodePtr> vardecks;
        std::vector<qsizetype> sizes;
        ByteArena lower;
        std::vector<Match> found; // entries of this run
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
    std::deque<Run *> handedOut;
    std::mutex lock;
    std::condition_variable ready;
    // Room for a run's texts at once: a Vardeck's text is a few hundred bytes.
    constexpr qsizetype kRoomPerVardeck = 512;
    auto lowerRun = [&](Run &run) {
        run.sizes.reserve(run.vardecks.size());
        run.lower.reserveMore(qsizetype(run.vardecks.size()) * kRoomPerVardeck);
        for (xmlNodePtr vardeck : run.vardecks) {
            const qsizetype before = run.lower.size();
            appendLowerSearched(vardeck, mask, run.lower);
            const qsizetype size = run.lower.size() - before;
            // Tested while the text is fresh in this processor's cache.
            qint32 matches = 0;
            if (match && qsizetype(run.found.size()) < most &&
                match(QByteArrayView(run.lower.data() + before, size), &matches))
                run.found.push_back(Match{qsizetype(run.sizes.size()), matches});
            run.sizes.push_back(size);
        }
        run.lower.squeeze();
    };
    auto walk = [&](Part &part) {
        part.runs.emplace_back();
        auto add = [&](xmlNodePtr vardeck) {
            if (part.runs.back().vardecks.size() == kRun) {
                {
                    std::lock_guard<std::mutex> hold(lock);
                    handedOut.push_back(&part.runs.back());
                }
                ready.notify_one();
                part.runs.emplace_back();
            }
            part.runs.back().vardecks.push_back(vardeck);
        };
        if (part.vardeck)
            add(part.top);
        else
            walkVardecks(part.top, [&](xmlNodePtr vardeck) {
                add(vardeck);
                return true;
            });
        lowerRun(part.runs.back());
        {
            std::lock_guard<std::mutex> hold(lock);
            ++partsWalked;
        }
        ready.notify_all();
    };
    auto work = [&] {
        for (;;) {
            Run *run = nullptr;
            {
                std::unique_lock<std::mutex> hold(lock);
                if (handedOut.empty() && nextPart.load() >= parts.size()) {
                    ready.wait(hold, [&] { return !handedOut.empty() || partsWalked == parts.size(); });
                    if (handedOut.empty())
                        return;
                }
                if (!handedOut.empty()) {
                    run = handedOut.front();
                    handedOut.pop_front();
                }
            }
            if (run)
                lowerRun(*run);
            else if (const size_t p = nextPart++; p < parts.size())
                walk(parts[p]);
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
    std::vector<Match> found;
    for (Part &part : parts) {
        for (Run &run : part.runs) {
            for (const Match &m : run.found)
                if (qsizetype(found.size()) < most)
                    found.push_back(Match{size() + m.entry, m.matches});
            const auto block = qint32(m_blocks.size());
            qsizetype at = 0;
            for (size_t i = 0; i < run.vardecks.size(); ++i) {
                m_entries.push_back(Entry{reinterpret_cast<quintptr>(run.vardecks[i]), at, run.sizes[i], block});
                at += run.sizes[i];
            }
            m_blocks.push_back(std::move(run.lower));
        }
    }
    m_whole = true;
    m_wholeStamp = changeStamp;
    return found;
}

void SearchTextCache::beginPass()
{
    m_next = 0;
    m_visited.clear();
    m_inOrder = true;
    m_filling = m_entries.empty();
    m_whole = false;
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

QByteArrayView SearchTextCache::lowerText(_xmlNode *vardeck, SearchFieldMask mask)
{
    if (mask != m_mask) {
        clear();
        m_mask = mask;
        m_filling = true;
    }
    ByteArena &block = tail();
    const auto tailBlock = qint32(m_blocks.size() - 1);
    const qsizetype end = block.size();
    if (m_filling) {
        // Appended in scan order: no lookup, no comparison.
        appendLowerSearched(vardeck, mask, block);
        m_entries.push_back(Entry{reinterpret_cast<quintptr>(vardeck), end, block.size() - end, tailBlock});
        return QByteArrayView(block.data() + end, block.size() - end);
    }
    // A new entry holds an empty text, which an empty searched text agrees with.
    Entry &entry = entryFor(reinterpret_cast<quintptr>(vardeck));
    appendLowerSearched(vardeck, mask, block);
    const QByteArrayView now(block.data() + end, block.size() - end);
    if (now == textOf(entry)) {
        block.setSize(end);
    } else {
        m_garbage += entry.size;
        entry = Entry{entry.key, end, now.size(), tailBlock};
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
}

void SearchTextCache::compact(const std::vector<qsizetype> &keep)
{
    std::vector<Entry> entries;
    entries.reserve(keep.size());
    qsizetype total = 0;
    for (qsizetype at : keep)
        total += m_entries[size_t(at)].size;
    ByteArena lower;
    lower.reserveMore(total);
    for (qsizetype at : keep) {
        const Entry &entry = m_entries[size_t(at)];
        const QByteArrayView text = textOf(entry);
        entries.push_back(Entry{entry.key, lower.size(), text.size(), 0});
        lower.append(text.data(), text.size());
    }
    m_entries = std::move(entries);
    m_blocks.clear();
    m_blocks.push_back(std::move(lower));
    m_garbage = 0;
    dropIndex();
}

void SearchTextCache::clear()
{
    m_entries = {};
    m_blocks = std::vector<ByteArena>();
    m_garbage = 0;
    dropIndex();
    m_visited = {};
    m_next = 0;
    m_mask = 0;
    m_whole = false;
}

qsizetype SearchTextCache::heldBytes() const
{
    qsizetype held = qsizetype(m_entries.capacity() * sizeof(Entry)) +
                     qsizetype(m_blocks.capacity() * sizeof(ByteArena)) +
                     qsizetype(m_visited.capacity() * sizeof(qsizetype));
    for (const ByteArena &block : m_blocks)
        held += block.capacity();
    // A hash node holds the key and the position; its span adds about a byte of
    // bookkeeping per slot.
    return held + m_index.capacity() * qsizetype(sizeof(quintptr) + sizeof(qsizetype) + 1);
}

} // namespace rr
