#include "finding/wordsearch.h"

#include "finding/casefold.h"
#include "finding/searchhistory.h"
#include "finding/vardeckwalk.h"
#include "platform/textutil.h"
#include "storage/record.h"

#include <libxml/tree.h>

#include <QThread>
#include <QTimer>
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

// From this many byte pairs on, the words pass over most kept texts by their pairs:
// with fewer, most texts hold them all, and reading the texts from end to end at once
// is faster.
constexpr int kPairsFrom = 4;

// From this many threads on, folding every text on all of them at once is faster
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
        m_finders.emplace_back(caseFolded(word).toUtf8());
    if (!std::all_of(words.begin(), words.end(), [](const QString &word) { return word.isValidUtf16(); })) {
        for (const QString &word : words)
            m_utf16Words.append(caseFolded(word));
        return;
    }
    for (size_t i = 0; i < m_finders.size(); ++i) {
        if (!m_finders[i].isEmpty() && (m_filter < 0 || m_finders[i].size() > filter()->size()))
            m_filter = qsizetype(i);
        m_pairs.add(m_finders[i].word());
    }
    for (const QString &word : words) {
        const QByteArray folded = caseFolded(word).toUtf8();
        if (folded.isEmpty() || std::any_of(folded.begin(), folded.end(), [](char c) { return uchar(c) >= 0x80; })) {
            m_folded.clear();
            break;
        }
        m_folded.emplace_back(folded);
        m_foldedMeetsBeyond = m_foldedMeetsBeyond || folded.contains('s') || folded.contains('k');
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

bool SearchWords::matchHeld(QByteArrayView text, ByteArena &scratch, qint32 *matches) const
{
    const auto *bytes = reinterpret_cast<const uchar *>(text.data());
    if (m_folded.empty() || (m_foldedMeetsBeyond && foldsToAscii(bytes, bytes + text.size()))) {
        scratch.setSize(0);
        appendFoldedJoined(text, scratch);
        return match(QByteArrayView(scratch.data(), scratch.size()), matches);
    }
    // A word of ASCII only is found in the folded text exactly where its ASCII bytes,
    // lowered, hold it: the text is then searched as it is. Its places are the same
    // and none crosses a character beyond ASCII, so the counts are too. The only ASCII
    // a character beyond it folds to is s or k, which a word without them never meets.
    *matches = 0;
    for (size_t i = 0; i + 1 < m_folded.size(); ++i)
        if (m_folded[i].find(text) < 0)
            return false;
    *matches = countWith(m_folded.back(), text);
    return *matches > 0;
}

WordSearch::WordSearch(int threads) : m_threads(threads > 0 ? threads : fillThreads()) {}

bool WordSearch::searchKept(const SearchWords &words, const Found &found) const
{
    bool goOn = true;
    // Tests a text and says whether the search goes on.
    auto test = [&](qsizetype i) {
        qint32 matches = 0;
        if (words.match(m_cache.foldedAt(i), &matches))
            goOn = found(m_cache.vardeckAt(i), matches);
        return goOn;
    };
    // Words of a few letters pass over most texts by their byte pairs, unread.
    if (m_cache.holdsPairs() && words.pairs().count() >= kPairsFrom) {
        for (qsizetype i = 0; i < m_cache.size() && goOn; ++i)
            if (m_cache.pairsAt(i).holdsAll(words.pairs()))
                test(i);
        return goOn;
    }
    // Only the texts that hold one of the words need a closer look.
    if (words.filter() && m_cache.visitHolding(*words.filter(), test))
        return goOn;
    for (qsizetype i = 0; i < m_cache.size() && goOn; ++i)
        test(i);
    return goOn;
}

QList<SearchResult> WordSearch::search(const XmlDocument *doc, const QString &text, const SearchFieldBoxes &boxes,
                                       qsizetype *matching)
{
    QList<SearchResult> results;
    qsizetype total = 0;
    m_lastPath = SearchPath::None;
    if (matching)
        *matching = 0;
    const xmlNodePtr root = doc ? doc->documentElement().raw() : nullptr;
    if (!root)
        return results;
    const SearchWords words(text);
    const SearchFieldMask mask = boxes.mask();
    const quint64 stamp = doc->changeStamp();
    // Lists a match and says whether the scan goes on: past the last one listed only
    // while it counts them.
    const Found found = [&](xmlNodePtr vardeck, qint32 matches) {
        ++total;
        if (results.size() < kMaxSearchResults)
            results.append({XmlNode(vardeck).attribute(tag::Wid), matches});
        return matching || results.size() < kMaxSearchResults;
    };
    auto done = [&](SearchPath path) {
        m_lastPath = path;
        if (matching)
            *matching = total;
        return results;
    };

    if (words.isEmpty()) {
        walkVardecks(root, [&](xmlNodePtr vardeck) { return found(vardeck, 0); });
        return done(SearchPath::NoWords);
    }
    // Nothing changed since the kept texts were made: they are the document's, in its
    // order.
    if (m_cache.holdsWhole(stamp, mask)) {
        searchKept(words, found);
        return done(SearchPath::Kept);
    }

    // A large document whose texts are not all kept is read in one pass. With many
    // processors, its texts are read and folded on several threads at once, each
    // testing the texts it has just made: reading is bound by memory latency, which
    // the threads wait on side by side. That is about a third faster than one thread,
    // so faster than the making under way until three quarters of it are done.
    const qsizetype vardecks = doc->countElements(tag::Vardeck);
    const bool large = vardecks >= kParallelFillFrom;
    const bool building = m_cache.building() && m_cache.buildStamp() == stamp && m_cache.mask() == mask;
    if (large && m_threads >= kThreadsFillFrom && (!building || 4 * m_cache.size() < 3 * vardecks)) {
        qsizetype accepted = 0;
        const auto fills = m_cache.fillWhole(
            root, mask, stamp, m_threads,
            [&words](QByteArrayView folded, qint32 *matches) { return words.match(folded, matches); },
            kMaxSearchResults, matching ? &accepted : nullptr);
        for (const SearchTextCache::Match &m : fills)
            results.append({XmlNode(m_cache.vardeckAt(m.entry)).attribute(tag::Wid), m.matches});
        total = matching ? accepted : results.size();
        return done(SearchPath::Threads);
    }
    // The kept texts made so far, then the rest of the document as it holds them; the
    // making goes on afterwards from where it stopped.
    if (building) {
        ByteArena scratch;
        if (searchKept(words, found))
            visitSearchedTexts(
                root, mask,
                [&](xmlNodePtr vardeck, QByteArrayView held) {
                    qint32 matches = 0;
                    return !words.matchHeld(held, scratch, &matches) || found(vardeck, matches);
                },
                m_cache.buildResumesAt());
        return done(SearchPath::KeptThenHeld);
    }
    // With fewer processors, the texts are searched as the document holds them on this
    // thread, with no folded copy made, which is faster than folding them on two
    // threads; the kept texts follow afterwards, while the window is idle.
    if (large) {
        ByteArena scratch;
        visitSearchedTexts(root, mask, [&](xmlNodePtr vardeck, QByteArrayView held) {
            qint32 matches = 0;
            return !words.matchHeld(held, scratch, &matches) || found(vardeck, matches);
        });
        m_cache.startBuild(mask, stamp, vardecks);
        return done(SearchPath::Held);
    }

    m_cache.beginPass();
    const bool sawAll = walkVardecks(root, [&](xmlNodePtr node) {
        qint32 matches = 0;
        return !words.match(m_cache.foldedTextOf(node, mask), &matches) || found(node, matches);
    });
    m_cache.endPass(sawAll, stamp);
    return done(SearchPath::Checked);
}

bool WordSearch::prepareKeptTexts(const XmlDocument *doc, SearchFieldMask mask)
{
    const xmlNodePtr root = doc ? doc->documentElement().raw() : nullptr;
    if (!root) {
        m_cache.clear();
        return false;
    }
    const quint64 stamp = doc->changeStamp();
    if (m_cache.holdsWhole(stamp, mask))
        return false;
    if (!m_cache.building() || m_cache.mask() != mask)
        m_cache.startBuild(mask, stamp, doc->countElements(tag::Vardeck));
    return true;
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
        m_cache.startBuild(m_cache.mask(), doc->changeStamp(), doc->countElements(tag::Vardeck));
    return m_cache.buildSlice(root, vardecks);
}

KeptTextsBuilder::KeptTextsBuilder(WordSearch &search, std::function<const XmlDocument *()> document,
                                   std::function<SearchFieldMask()> fields)
    : m_search(search), m_document(std::move(document)), m_fields(std::move(fields)),
      m_slices(std::make_unique<QTimer>())
{
    // A timer of no interval fires at each turn of the event loop, after the input and
    // paints waiting then.
    m_slices->setInterval(0);
    QObject::connect(m_slices.get(), &QTimer::timeout, m_slices.get(), [this] {
        if (m_search.buildKeptTexts(m_document(), kKeptTextsSlice))
            m_slices->stop();
    });
}

KeptTextsBuilder::~KeptTextsBuilder() = default;

void KeptTextsBuilder::follow()
{
    if (m_search.prepareKeptTexts(m_document(), m_fields()))
        m_slices->start();
}

bool KeptTextsBuilder::busy() const
{
    return m_slices->isActive();
}

QList<SearchResult> runSearchCommand(WordSearch &search, const XmlDocument *doc, const QString &text,
                                     SearchFieldBoxes &boxes, qsizetype *matching)
{
    boxes.ensureOneTicked();
    const QList<SearchResult> results = search.search(doc, text, boxes, matching);
    refreshSearchList(text);
    return results;
}

} // namespace rr
