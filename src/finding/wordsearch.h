#pragma once
// The word search over every Vardeck of the open database: the six field boxes and
// the rule by which they exclude each other, the word and match-count rules, and the
// search command without its widgets.
#include "finding/searchtext.h"
#include "finding/textsearch.h"
#include "platform/xmldocument.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QTimer;
struct _xmlNode;

namespace rr
{

// The results list at most this many Vardecks; the scan stops there unless it counts
// every match.
inline constexpr int kMaxSearchResults = 500;
// From this many Vardecks on, a search that finds the kept texts out of date reads
// every text as the document holds it rather than checking the kept ones one by one,
// and the kept texts are made again afterwards (WordSearch::buildKeptTexts).
inline constexpr int kParallelFillFrom = 4096;
// How many Vardecks one slice of that making folds: about a millisecond, the most a
// key or a paint waits for a slice under way.
inline constexpr int kKeptTextsSlice = 1024;

// The field boxes chkSearch(0..5) by what they search; the value is the box's index,
// and its place in SearchFieldBoxes::ticked.
enum class FieldBox : int { AllData, Name, Address, Notes, Description, Keywords, Count };

// The state of the field boxes chkSearch(0..5): 0 "All Vardeck data", 1 "Name",
// 2 "Address", 3 "Notes", 4 "Description", 5 "Keywords". The window applies the
// state to its boxes with their signals blocked, so no rule runs twice.
struct SearchFieldBoxes {
    static constexpr int kCount = int(FieldBox::Count);
    std::array<bool, kCount> ticked{true, false, false, false, false, false};

    bool anySingleField() const;
    // The user has just ticked or unticked box index (its new state is in ticked):
    // "All Vardeck data" and the single-field boxes exclude each other; unticking the
    // last single-field box ticks "All Vardeck data" again; unticking "All Vardeck
    // data" leaves no box ticked (the next search ticks it itself).
    void clicked(int index);
    // Unticks every box but index.
    void unselectSearch(int index);
    // Ticks box index and unticks every other: Tools > Search items and the details
    // panel's search buttons.
    void selectOnly(int index);
    // A search with no box ticked ticks "All Vardeck data" first.
    void ensureOneTicked();
    // The fields searched with the boxes as they stand.
    SearchFieldMask mask() const;
};

// One matching Vardeck: its WID and the match count of the last word.
struct SearchResult {
    QString wid;
    qint32 matches = 0;
    bool operator==(const SearchResult &) const = default;
};

// The search text split at every single blank, empty parts kept; "" gives no words.
QStringList splitSearchWords(const QString &text);

// Occurrences of word in text, overlapping ones included ("aa" occurs 3 times in
// "aaaa"). An empty word occurs at every position of a non-empty text, so it counts
// the text's length; nothing occurs in an empty text.
qint32 countOccurrences(const QString &text, const QString &word);

// The words of one search, case-folded, each with its finder.
class SearchWords
{
public:
    explicit SearchWords(const QString &searchText);
    bool isEmpty() const { return m_finders.empty(); }
    // Whether a case-folded searched text, as UTF-8, matches (every word occurs,
    // tested in order) and the count of the last word; no words match everything
    // with 0. Positions count as in the text's UTF-16 form: an empty last word counts
    // the text's UTF-16 length.
    bool match(QByteArrayView text, qint32 *matches) const;
    // The same for a searched text as the document holds it, not folded: words of
    // ASCII only are looked for in the text itself, letter case aside, unless a
    // character of it folds to ASCII; else the text is folded into scratch first.
    bool matchHeld(QByteArrayView text, ByteArena &scratch, qint32 *matches) const;
    // A word every matching text holds, looked for as the texts' bytes: the longest,
    // which occurs least often; null when there is none (no words, only empty ones,
    // or words looked for in UTF-16).
    const TextFinder *filter() const { return m_filter < 0 ? nullptr : &m_finders[size_t(m_filter)]; }
    // The byte pairs every matching text holds: those of every word, as the texts'
    // bytes; none for words looked for in UTF-16.
    const BytePairs &pairs() const { return m_pairs; }

private:
    std::vector<TextFinder> m_finders;
    // The words again, for texts not folded, when every one is of ASCII only and not
    // empty; else none.
    std::vector<FoldedFinder> m_folded;
    // Whether such a word holds s or k, which a character beyond ASCII may fold to.
    bool m_foldedMeetsBeyond = false;
    // A word with a lone surrogate has no UTF-8 form; it may still match half of a
    // character beyond 16 bits, so such words are looked for in the UTF-16 text.
    QStringList m_utf16Words;
    qsizetype m_filter = -1;
    BytePairs m_pairs;
};

// How a search read the Vardecks' texts:
//   Kept         the kept texts alone, which are the document's as it is;
//   KeptThenHeld the kept texts made so far, then the rest as the document holds them;
//   Held         every text as the document holds it, on this thread;
//   Threads      every text folded on several threads, which become the kept texts;
//   Checked      each kept text checked against the document's (a small document);
//   NoWords      no text at all: every Vardeck matches.
enum class SearchPath { None, Kept, KeptThenHeld, Held, Threads, Checked, NoWords };

class WordSearch
{
public:
    // threads: how many a large document may be read on; 0 for one per processor the
    // program may run on, up to eight.
    explicit WordSearch(int threads = 0);

    // Every VARDECK below the document element, in document order, whose searched
    // text holds every word, letter case aside (caseFolded); at most
    // kMaxSearchResults. With matching, the scan goes on past the last one listed
    // and *matching gets the number of every Vardeck that matches.
    QList<SearchResult> search(const XmlDocument *doc, const QString &text, const SearchFieldBoxes &boxes,
                               qsizetype *matching = nullptr);

    // The kept texts are made a slice at a time while the window is idle, from the
    // moment it is shown, so that the first search already reads them. This starts
    // their making for doc as it is now and the fields of mask, unless they are made
    // or being made already; true when there is making to do. A search that read the
    // texts as the document holds them starts it too. A search that comes before the
    // making is done reads the texts made so far and the rest as the document holds
    // them, which is never slower than reading them all so.
    bool prepareKeptTexts(const XmlDocument *doc, SearchFieldMask mask);
    // Makes up to `vardecks` more kept texts for doc, starting again from its first
    // Vardeck when the document changed since; true when nothing is left to do.
    bool buildKeptTexts(const XmlDocument *doc, qsizetype vardecks);

    // How the last search read the texts.
    SearchPath lastPath() const { return m_lastPath; }
    // The case-folded texts kept between searches (for tests and memory checks).
    SearchTextCache &cache() { return m_cache; }
    const SearchTextCache &cache() const { return m_cache; }

private:
    using Found = std::function<bool(_xmlNode *vardeck, qint32 matches)>;
    // Hands each matching entry of the kept texts, in order, to found until it says
    // stop; false when it did.
    bool searchKept(const SearchWords &words, const Found &found) const;

    SearchTextCache m_cache;
    int m_threads = 1;
    SearchPath m_lastPath = SearchPath::None;
};

// Makes a word search's kept texts while the event loop has nothing else to do, one
// slice of kKeptTextsSlice Vardecks at each turn of the loop, so that a key or a paint
// waits for one slice at most. follow() brings them up to date with the document and
// fields as they are now (the window calls it once it is first drawn, and whenever the
// search box is about to be used); the making starts again by itself when the
// document changes before it is done.
class KeptTextsBuilder
{
public:
    KeptTextsBuilder(WordSearch &search, std::function<const XmlDocument *()> document,
                     std::function<SearchFieldMask()> fields);
    ~KeptTextsBuilder();
    KeptTextsBuilder(const KeptTextsBuilder &) = delete;
    KeptTextsBuilder &operator=(const KeptTextsBuilder &) = delete;
    void follow();
    // Whether kept texts are being made.
    bool busy() const;

private:
    WordSearch &m_search;
    std::function<const XmlDocument *()> m_document;
    std::function<SearchFieldMask()> m_fields;
    std::unique_ptr<QTimer> m_slices;
};

// The search command without its widgets: ticks "All Vardeck data" when no box is
// ticked, searches, and records a non-empty text in the search history in any case.
// The window then tells the user "No search results were found" when nothing
// matched, fills the result lists (or empties them), shows the count in lblFound
// (with matching, how many match beside how many are listed) and opens the first row
// when "Open first result" is ticked.
QList<SearchResult> runSearchCommand(WordSearch &search, const XmlDocument *doc, const QString &text,
                                     SearchFieldBoxes &boxes, qsizetype *matching = nullptr);

} // namespace rr
