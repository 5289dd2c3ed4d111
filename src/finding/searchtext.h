#pragma once
// The text a word search looks at for one Vardeck, and a cache of its case-folded
// form that cannot go stale.
//
// The cache keeps, for each Vardeck element it has seen, its case-folded searched
// text as UTF-8, the form in which libxml2 holds the text: folded sixteen bytes at a
// time, with no string conversion (finding/casefold.h). After a scan that saw every Vardeck it
// also remembers the document's change stamp: while the stamp is the same, nothing
// in the document changed, and a search reads the kept texts alone, in document
// order, without visiting the document. Otherwise every lookup folds the
// element's text nodes again and compares the result with the kept text, so an edit
// made in any way (through XmlNode, straight through libxml2, a reload into the same
// memory) is noticed on the next search: a differing byte rebuilds that entry. An
// edit that changes only letter case leaves the folded text, and so every
// result, as it was. The document's own text is not copied.
#include "finding/textsearch.h"
#include "platform/xmldocument.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>

#include <array>
#include <bit>
#include <cstring>
#include <functional>
#include <utility>
#include <vector>

struct _xmlNode;

namespace rr
{

// Which fields make a Vardeck's searched text: the whole element's text, or the
// ticked single fields joined with no separator in the order of their bits.
enum SearchField : quint8 {
    SearchAllData = 0x01,
    SearchName = 0x02,
    SearchAddress = 0x04,
    SearchNotes = 0x08,
    SearchDescription = 0x10,
    SearchKeywords = 0x20,
};
using SearchFieldMask = quint8;

// The searched text of a Vardeck element through the DOM: all its text for
// SearchAllData, else the texts of NAME, ADDRESS, NOTES, DESCRIPTION and KEYWORD1 as
// the mask ticks them, joined with no separator (a word may match across a joint).
QString searchedText(const XmlNode &vardeck, SearchFieldMask mask);

// Appends the case-folded form of UTF-8 text to out, byte for byte what
// QString::fromUtf8(text).toCaseFolded().toUtf8() gives (a malformed byte becomes
// U+FFFD).
void appendFoldedUtf8(QByteArrayView text, QByteArray &out);

class ByteArena;
// Appends the case-folded form of a Vardeck's searched text, its fields' UTF-8 texts
// as joined, to out: what the cache keeps of it.
void appendFoldedJoined(QByteArrayView raw, ByteArena &out);

// Calls visit for every Vardeck below root, in document order, with its searched text
// as the document holds it: its texts joined as UTF-8, not folded, valid until the
// next call. With from (a Vardeck below root) the walk starts there and goes on to the
// end of the document. Stops when visit returns false; the result says whether it saw
// every Vardeck it was to see.
bool visitSearchedTexts(_xmlNode *root, SearchFieldMask mask,
                        const std::function<bool(_xmlNode *vardeck, QByteArrayView text)> &visit,
                        _xmlNode *from = nullptr);

// A byte buffer that grows with realloc, so that a large one moves by remapping its
// pages rather than by copying, and that leaves new room unwritten.
class ByteArena
{
public:
    ByteArena() = default;
    ByteArena(const ByteArena &) = delete;
    ByteArena &operator=(const ByteArena &) = delete;
    ByteArena(ByteArena &&other) noexcept { *this = std::move(other); }
    ByteArena &operator=(ByteArena &&other) noexcept;
    ~ByteArena() { release(); }

    const char *data() const { return m_data; }
    char *data() { return m_data; }
    qsizetype size() const { return m_size; }
    qsizetype capacity() const { return m_capacity; }
    // Room for at least n more bytes after the end, which stays where it is.
    char *reserveMore(qsizetype n) { return m_capacity - m_size >= n ? m_data + m_size : grow(n); }
    void setSize(qsizetype size) { m_size = size; }
    void append(const char *bytes, qsizetype n)
    {
        std::memcpy(reserveMore(n), bytes, size_t(n));
        m_size += n;
    }
    void squeeze();
    void release();

private:
    char *grow(qsizetype n);

    char *m_data = nullptr;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
};

// Which pairs of neighbouring bytes a text holds, as 256 bits. A text that holds a word
// holds every pair of the word's bytes: a text lacking one of them is passed over
// unread. A kept text of some 320 bytes sets about half the bits, so of a rare word of
// eight letters about one text in a hundred is read.
struct BytePairs {
    std::array<quint64, 4> bits{};

    void add(QByteArrayView text)
    {
        for (qsizetype i = 1; i < text.size(); ++i) {
            // The pair's sixteen bits spread over the 256 by Fibonacci hashing.
            const quint32 pair = quint32(uchar(text[i - 1])) << 8 | uchar(text[i]);
            const quint32 bit = (pair * 0x9E3779B1u) >> 24;
            bits[bit >> 6] |= quint64(1) << (bit & 63);
        }
    }
    bool holdsAll(const BytePairs &wanted) const
    {
        return ((bits[0] & wanted.bits[0]) == wanted.bits[0]) & ((bits[1] & wanted.bits[1]) == wanted.bits[1]) &
               ((bits[2] & wanted.bits[2]) == wanted.bits[2]) & ((bits[3] & wanted.bits[3]) == wanted.bits[3]);
    }
    int count() const
    {
        return std::popcount(bits[0]) + std::popcount(bits[1]) + std::popcount(bits[2]) + std::popcount(bits[3]);
    }
};

class SearchTextCache
{
public:
    // A scan looks up the Vardecks between beginPass() and endPass(), in document order.
    void beginPass();
    // The case-folded searched text of the element as the document holds it now, as
    // UTF-8, valid until the next call.
    QByteArrayView foldedTextOf(_xmlNode *vardeck, SearchFieldMask mask);
    // sawAll: the scan looked up every Vardeck, so entries it did not ask for belong
    // to elements that left the document and are dropped, and the cache then holds
    // the whole document as of changeStamp.
    void endPass(bool sawAll, quint64 changeStamp = 0);
    // Whether a folded text matches, and its match count; called on any thread.
    using TextMatcher = std::function<bool(QByteArrayView text, qint32 *matches)>;
    struct Match {
        qsizetype entry = 0;
        qint32 matches = 0;
    };
    // Replaces the entries with every Vardeck below root, in document order, read
    // and folded on `threads` threads at once, this one included, which returns when
    // all are done (the document is only read); then the cache holds the whole
    // document as of changeStamp. Each text is tested with match, when given, on the
    // thread that made it: the result is the first `most` entries it accepted, in
    // document order; *counted, when given, gets the number of every entry it
    // accepted.
    std::vector<Match> fillWhole(_xmlNode *root, SearchFieldMask mask, quint64 changeStamp, int threads,
                                 const TextMatcher &match = {}, qsizetype most = 0, qsizetype *counted = nullptr);
    void clear();

    // The whole cache made a slice at a time, between other work: startBuild drops
    // the entries and notes which document state the build is for (room is made for
    // `vardecks` entries at once: grown step by step, the lists would leave their
    // earlier copies behind); each buildSlice folds the next Vardecks below root,
    // in document order. The caller hands in the root of the document whose change
    // stamp the build is for: the place a slice stopped at is an element of it, valid
    // exactly as long as the stamp is unchanged. Until the build is done, the entries
    // are the Vardecks up to that place, in document order.
    void startBuild(SearchFieldMask mask, quint64 changeStamp, qsizetype vardecks = 0);
    bool building() const { return m_building; }
    quint64 buildStamp() const { return m_buildStamp; }
    SearchFieldMask mask() const { return m_mask; }
    // Folds up to `vardecks` more Vardecks. True when the build is done (or none is
    // under way): the cache then holds the whole document as of the build's stamp.
    bool buildSlice(_xmlNode *root, qsizetype vardecks);
    // The Vardeck the next slice starts at: the first one after the entries; null
    // before the first slice (the first Vardeck of the document).
    _xmlNode *buildResumesAt() const { return m_resume; }

    qsizetype size() const { return qsizetype(m_entries.size()); }
    // The memory the cache holds, in bytes.
    qsizetype heldBytes() const;

    // Whether the entries are every Vardeck of the document with that change stamp,
    // in document order, for that mask; then entry i is read with foldedAt and
    // vardeckAt (the element, valid exactly as long as the stamp is unchanged).
    bool holdsWhole(quint64 changeStamp, SearchFieldMask mask) const
    {
        return m_whole && m_wholeStamp == changeStamp && m_mask == mask && changeStamp != 0;
    }
    QByteArrayView foldedAt(qsizetype i) const { return textOf(m_entries[size_t(i)]); }
    // Calls visit(i), in order, for each entry i whose text holds what finder looks
    // for, until visit returns false: each block is searched from end to end at once,
    // not text by text. False when the entries do not lie in their blocks in their
    // own order, which an edit can leave, and nothing was visited.
    bool visitHolding(const TextFinder &finder, const std::function<bool(qsizetype i)> &visit) const;
    // Whether each entry's byte pairs are kept beside it: the making a slice at a time
    // and on threads keeps them; a scan that checks the kept texts against the document
    // does not.
    bool holdsPairs() const { return m_pairsKept; }
    const BytePairs &pairsAt(qsizetype i) const { return m_pairs[size_t(i)]; }
    _xmlNode *vardeckAt(qsizetype i) const { return reinterpret_cast<_xmlNode *>(m_entries[size_t(i)].key); }

private:
    // Keyed by the element's address only; the address is never dereferenced from
    // the cache, and a reused address is caught by the text compare. The texts live
    // in blocks in scan order, so a scan reads them front to back: one block, or one
    // per run of Vardecks read on another thread.
    // One Vardeck's text is far below 4 GB: the file it is read from is at most
    // 512 MB, so its size takes 32 bits and an entry 24 bytes.
    struct Entry {
        quintptr key = 0;
        qsizetype at = 0;
        quint32 size = 0;
        qint32 block = 0;
    };
    QByteArrayView textOf(const Entry &e) const
    {
        return e.size ? QByteArrayView(m_blocks[size_t(e.block)].data() + e.at, e.size) : QByteArrayView();
    }
    Entry &entryFor(quintptr key);
    // The block new texts are appended to.
    ByteArena &tail();
    // Rewrites the texts into one block with only the entries listed, in that order.
    void compact(const std::vector<qsizetype> &keep);
    void dropIndex();

    std::vector<Entry> m_entries;
    // Each entry's byte pairs, at its index, while m_pairsKept.
    std::vector<BytePairs> m_pairs;
    bool m_pairsKept = true;
    std::vector<ByteArena> m_blocks;
    qsizetype m_garbage = 0; // stored bytes no entry points at
    // Lookups after an insertion or a move go through the index.
    QHash<quintptr, qsizetype> m_index;
    bool m_indexCurrent = false;
    std::vector<qsizetype> m_visited;
    // Where a scan joins a Vardeck's texts before folding them.
    ByteArena m_raw;
    qsizetype m_next = 0;
    bool m_inOrder = true;
    SearchFieldMask m_mask = 0;
    // The first scan fills an empty cache: nothing to compare with, and every entry
    // is visited in order.
    bool m_filling = false;
    bool m_whole = false;
    quint64 m_wholeStamp = 0;
    bool m_building = false;
    quint64 m_buildStamp = 0;
    // The Vardeck the next slice starts at; null before the first.
    _xmlNode *m_resume = nullptr;
};

} // namespace rr
