#include "finding/wordsearch.h"

#include "finding/searchhistory.h"

#include <libxml/tree.h>

#include <algorithm>
#include <cstring>

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

qint32 countWith(const TextFinder &finder, QStringView text)
{
    qint32 count = 0;
    for (qsizetype at = finder.find(text); at >= 0; at = finder.find(text, at + 1))
        ++count;
    return count;
}

} // namespace

qint32 countOccurrences(const QString &text, const QString &word)
{
    return countWith(TextFinder(word), text);
}

SearchWords::SearchWords(const QString &searchText)
{
    const QStringList words = splitSearchWords(searchText);
    m_finders.reserve(size_t(words.size()));
    for (const QString &word : words)
        m_finders.emplace_back(word.toLower());
}

bool SearchWords::match(QStringView text, qint32 *matches) const
{
    *matches = 0;
    if (m_finders.empty())
        return true;
    for (size_t i = 0; i + 1 < m_finders.size(); ++i)
        if (m_finders[i].find(text) < 0)
            return false;
    *matches = countWith(m_finders.back(), text);
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

    // Nothing changed since a scan that saw every Vardeck: the kept texts are the
    // document's, in its order.
    if (!words.isEmpty() && m_cache.holdsWhole(doc->changeStamp(), mask)) {
        for (qsizetype i = 0; i < m_cache.size(); ++i) {
            qint32 matches = 0;
            if (!words.match(m_cache.lowerAt(i), &matches))
                continue;
            results.append({XmlNode(m_cache.vardeckAt(i)).attribute(QStringLiteral("WID")), matches});
            if (results.size() >= kMaxSearchResults)
                break;
        }
        return results;
    }

    m_cache.beginPass();
    bool sawAll = true;
    // Every element below the root in document order, without building a list. A
    // Vardeck holds only its fields, so the walk does not go into it.
    xmlNodePtr node = root->children;
    while (node) {
        const bool isElement = node->type == XML_ELEMENT_NODE;
        const bool isVardeck = isElement && std::strcmp(reinterpret_cast<const char *>(node->name), "VARDECK") == 0;
        if (isVardeck) {
            qint32 matches = 0;
            if (words.isEmpty() || words.match(m_cache.lowerText(node, mask), &matches)) {
                results.append({XmlNode(node).attribute(QStringLiteral("WID")), matches});
                if (results.size() >= kMaxSearchResults) {
                    sawAll = false;
                    break;
                }
            }
        } else if (isElement && node->children) {
            node = node->children;
            continue;
        }
        while (node && !node->next) {
            node = node->parent;
            if (node == root)
                node = nullptr;
        }
        if (node)
            node = node->next;
    }
    // A scan without words reads no text, so it says nothing about which entries are
    // still in use.
    m_cache.endPass(sawAll && !words.isEmpty(), doc->changeStamp());
    return results;
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
