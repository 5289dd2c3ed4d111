#include "finding/wordsearch.h"

#include "finding/lowercase.h"
#include "finding/searchhistory.h"
#include "finding/vardeckwalk.h"
#include "storage/record.h"

#include <libxml/tree.h>

#include <QThread>
#include <algorithm>
#include <cstring>
#include <limits>

namespace rr
{

bool SearchFieldBoxes::anySingleField() const
{
    return std::any_of(ticked.begin() + 1, ticked.end(), [](bool t) { return t; });
}

void SearchFieldBoxes::clicked(int index)
{
    if (index < 0 || index >= kCount)
        return;
    if (index == 0) {
        if (ticked[0] && anySingleField())
            unselectSearch(0);
        return;
    }
    ticked[0] = !anySingleField();
}

void SearchFieldBoxes::unselectSearch(int index)
{
    for (int i = 0; i < kCount; ++i)
        if (i != index)
            ticked[i] = false;
}

void SearchFieldBoxes::selectOnly(int index)
{
    if (index < 0 || index >= kCount)
        return;
    ticked[index] = true;
    unselectSearch(index);
}

void SearchFieldBoxes::ensureOneTicked()
{
    if (!ticked[0] && !anySingleField())
        ticked[0] = true;
}

SearchFieldMask SearchFieldBoxes::mask() const
{
    if (ticked[0] || !anySingleField())
        return SearchAllData;
    static constexpr SearchField kBits[kCount] = {SearchAllData, SearchName,        SearchAddress,
                                                  SearchNotes,   SearchDescription, SearchKeywords};
    SearchFieldMask mask = 0;
    for (int i = 1; i < kCount; ++i)
        if (ticked[i])
            mask |= kBits[i];
    return mask;
}

QStringList splitSearchWords(const QString &text)
{
    if (text.isEmpty())
        return {};
    return text.split(QLatin1Char(' '), Qt::KeepEmptyParts);
}

namespace
{

// The length of well-formed UTF-8 text in UTF-16 code units.
qint32 utf16Length(QByteArrayView text)
{
    qint32 length = 0;
    for (const char c : text)
        length += ((uchar(c) & 0xC0) != 0x80) + (uchar(c) >= 0xF0);
    return length;
}

qint32 countWith(const TextFinder &finder, QByteArrayView text)
{
    // An empty word is found at every position of the text.
    if (finder.isEmpty())
        return utf16Length(text);
    qint32 count = 0;
    for (qsizetype at = finder.find(text); at >= 0; at = finder.find(text, at + 1))
        ++count;
    return count;
}

qint32 countWith(const FoldedFinder &finder, QByteArrayView text)
{
    qint32 count = 0;
    for (qsizetype at = finder.find(text); at >= 0; at = finder.find(text, at + 1))
        ++count;
    return count;
}

// Threads for reading a large document's texts: one for each processor the program
// may run on (not every processor of the machine: a program held to fewer gains
// nothing from more threads and pays for their switches), up to eight; each waits on
// its own reads of memory.
int fillThreads()
{
    return std::clamp(QThread::idealThreadCount(), 1, 8);
}

// From this many threads on, lowering every text on all of them at once is faster
// than one pass over the texts as they are: at 32,767 Vardecks, on eight by about a
// third, on four not at all.
constexpr int kThreadsFillFrom = 6;

} // namespace

qint32 countOccurrences(const QString &text, const QString &word)
{
    return countWith(TextFinder(word.toUtf8()), text.toUtf8());
}

SearchWords::SearchWords(const QString &searchText)
{
    const QStringList words = splitSearchWords(searchText);
    m_finders.reserve(size_t(words.size()));
    for (const QString &word : words)
        m_finders.emplace_back(word.toLower().toUtf8());
    if (!std::all_of(words.begin(), words.end(), [](const QString &word) { return word.isValidUtf16(); })) {
        for (const QString &word : words)
            m_utf16Words.append(word.toLower());
        return;
    }
    for (size_t i = 0; i < m_finders.size(); ++i)
        if (!m_finders[i].isEmpty() && (m_filter < 0 || m_finders[i].size() > filter()->size()))
            m_filter = qsizetype(i);
    for (const QString &word : words) {
        const QByteArray lower = word.toLower().toUtf8();
        if (lower.isEmpty() || std::any_of(lower.begin(), lower.end(), [](char c) { return uchar(c) >= 0x80; })) {
            m_folded.clear();
            break;
        }
        m_folded.emplace_back(lower);
        m_foldedMeetsLowered = m_foldedMeetsLowered || lower.contains('i') || lower.contains('k');
    }
}

bool SearchWords::match(QByteArrayView text, qint32 *matches) const
{
    *matches = 0;
    if (m_finders.empty())
        return true;
    if (!m_utf16Words.isEmpty()) {
        const QString utf16 = QString::fromUtf8(text);
        for (const QString &word : m_utf16Words) {
            *matches = 0;
            for (qsizetype at = utf16.indexOf(word); at >= 0 && at < utf16.size(); at = utf16.indexOf(word, at + 1))
                ++*matches;
            if (*matches == 0)
                return false;
        }
        return true;
    }
    for (size_t i = 0; i + 1 < m_finders.size(); ++i)
        if (m_finders[i].find(text) < 0)
            return false;
    *matches = countWith(m_finders.back(), text);
    return *matches > 0;
}

WordSearch::WordSearch(int threads) : m_threads(threads > 0 ? threads : fillThreads()) {}

bool SearchWords::matchHeld(QByteArrayView text, ByteArena &scratch, qint32 *matches) const
{
    const auto *bytes = reinterpret_cast<const uchar *>(text.data());
    if (m_folded.empty() || (m_foldedMeetsLowered && lowersToAscii(bytes, bytes + text.size()))) {
        scratch.setSize(0);
        appendLowerJoined(text, scratch);
        return match(QByteArrayView(scratch.data(), scratch.size()), matches);
    }
    // A word of ASCII only is found in the lower case exactly where its ASCII bytes,
    // lowered, hold it: the text is then searched as it is. Its places are the same
    // and none crosses a character beyond ASCII, so the counts are too. The only ASCII
    // a character beyond it lowers to is i or k, which a word without them never
    // meets.
    *matches = 0;
    for (size_t i = 0; i + 1 < m_folded.size(); ++i)
        if (m_folded[i].find(text) < 0)
            return false;
    *matches = countWith(m_folded.back(), text);
    return *matches > 0;
}

QList<SearchResult> WordSearch::search(const XmlDocument *doc, const QString &text, const SearchFieldBoxes &boxes)
{
    QList<SearchResult> results;
    const xmlNodePtr root = doc ? doc->documentElement().raw() : nullptr;
    if (!root)
        return results;
    const SearchWords words(text);
    const SearchFieldMask mask = boxes.mask();

    // Kept texts a search left to be made afterwards and not yet done are finished
    // first: this search then reads them as any later one.
    if (!words.isEmpty() && m_cache.building() && m_cache.buildStamp() == doc->changeStamp() && m_cache.mask() == mask)
        m_cache.buildSlice(root, std::numeric_limits<qsizetype>::max());

    // A large document whose texts are not all kept is read in one pass. With many
    // processors, its texts are read and lower-cased on several threads at once, each
    // testing the texts it has just made: reading is bound by memory latency, which
    // the threads wait on side by side.
    const bool large = doc->countElements(tag::Vardeck) >= kParallelFillFrom;
    if (!words.isEmpty() && !m_cache.holdsWhole(doc->changeStamp(), mask) && large && m_threads >= kThreadsFillFrom) {
        const auto found = m_cache.fillWhole(
            root, mask, doc->changeStamp(), m_threads,
            [&words](QByteArrayView lower, qint32 *matches) { return words.match(lower, matches); }, kMaxSearchResults);
        for (const SearchTextCache::Match &m : found)
            results.append({XmlNode(m_cache.vardeckAt(m.entry)).attribute(tag::Wid), m.matches});
        return results;
    }
    // With fewer, the texts are searched as the document holds them on this thread,
    // with no lower-cased copy made, which is faster than lowering them on two
    // threads; the kept texts follow afterwards, while the window is idle.
    if (!words.isEmpty() && !m_cache.holdsWhole(doc->changeStamp(), mask) && large) {
        ByteArena scratch;
        visitSearchedTexts(root, mask, [&](xmlNodePtr vardeck, QByteArrayView held) {
            qint32 matches = 0;
            if (words.matchHeld(held, scratch, &matches))
                results.append({XmlNode(vardeck).attribute(tag::Wid), matches});
            return results.size() < kMaxSearchResults;
        });
        m_cache.startBuild(mask, doc->changeStamp());
        return results;
    }

    // Nothing changed since a scan that saw every Vardeck: the kept texts are the
    // document's, in its order.
    if (!words.isEmpty() && m_cache.holdsWhole(doc->changeStamp(), mask)) {
        // Tests a text and says whether the search goes on.
        auto test = [&](qsizetype i) {
            qint32 matches = 0;
            if (words.match(m_cache.lowerAt(i), &matches))
                results.append({XmlNode(m_cache.vardeckAt(i)).attribute(tag::Wid), matches});
            return results.size() < kMaxSearchResults;
        };
        // Only the texts that hold one of the words need a closer look.
        if (!words.filter() || !m_cache.visitHolding(*words.filter(), test)) {
            bool goOn = true;
            for (qsizetype i = 0; i < m_cache.size() && goOn; ++i)
                goOn = test(i);
        }
        return results;
    }

    m_cache.beginPass();
    const bool sawAll = walkVardecks(root, [&](xmlNodePtr node) {
        qint32 matches = 0;
        if (words.isEmpty() || words.match(m_cache.lowerText(node, mask), &matches))
            results.append({XmlNode(node).attribute(tag::Wid), matches});
        return results.size() < kMaxSearchResults;
    });
    // A scan without words reads no text, so it says nothing about which entries are
    // still in use.
    m_cache.endPass(sawAll && !words.isEmpty(), doc->changeStamp());
    return results;
}

bool WordSearch::buildKeptTexts(const XmlDocument *doc, qsizetype vardecks)
{
    if (!m_cache.building())
        return true;
    const xmlNodePtr root = doc ? doc->documentElement().raw() : nullptr;
    if (!root) {
        m_cache.clear();
        return true;
    }
    if (m_cache.buildStamp() != doc->changeStamp())
        m_cache.startBuild(m_cache.mask(), doc->changeStamp());
    return m_cache.buildSlice(root, vardecks);
}

QList<SearchResult> runSearchCommand(WordSearch &search, const XmlDocument *doc, const QString &text,
                                     SearchFieldBoxes &boxes)
{
    boxes.ensureOneTicked();
    const QList<SearchResult> results = search.search(doc, text, boxes);
    refreshSearchList(text);
    return results;
}

} // namespace rr
