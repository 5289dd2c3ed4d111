#pragma once
// The text a word search looks at for one Vardeck, and a cache of its lower-cased
// form that cannot go stale.
//
// The cache keeps, for each Vardeck element it has seen, the exact UTF-8 bytes the
// searched text was made from and the lower-cased text. After a scan that saw every
// Vardeck it also remembers the document's change stamp: while the stamp is the
// same, nothing in the document changed, and a search reads the kept texts alone,
// in document order, without visiting the document. Otherwise every lookup walks the
// element's text nodes and compares their bytes with the kept ones, so an edit made
// in any way (through XmlNode, straight through libxml2, a reload into the same
// memory) is noticed on the next search: a differing byte rebuilds that entry.
#include "platform/xmldocument.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringView>

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

class SearchTextCache
{
public:
    // A scan looks up the Vardecks between beginPass() and endPass(), in document order.
    void beginPass();
    // The lower-cased searched text of the element as the document holds it now,
    // valid until the next call.
    QStringView lowerText(_xmlNode *vardeck, SearchFieldMask mask);
    // sawAll: the scan looked up every Vardeck, so entries it did not ask for belong
    // to elements that left the document and are dropped, and the cache then holds
    // the whole document as of changeStamp.
    void endPass(bool sawAll, quint64 changeStamp = 0);
    void clear();
    qsizetype size() const { return qsizetype(m_entries.size()); }

    // Whether the entries are every Vardeck of the document with that change stamp,
    // in document order, for that mask; then entry i is read with lowerAt and
    // vardeckAt (the element, valid exactly as long as the stamp is unchanged).
    bool holdsWhole(quint64 changeStamp, SearchFieldMask mask) const
    {
        return m_whole && m_wholeStamp == changeStamp && m_mask == mask && changeStamp != 0;
    }
    QStringView lowerAt(qsizetype i) const
    {
        const Entry &e = m_entries[size_t(i)];
        return QStringView(m_lower).mid(e.lowerAt, e.lowerSize);
    }
    _xmlNode *vardeckAt(qsizetype i) const { return reinterpret_cast<_xmlNode *>(m_entries[size_t(i)].key); }

private:
    // Keyed by the element's address only; the address is never dereferenced from
    // the cache, and a reused address is caught by the byte compare. The texts live
    // in two arenas in scan order, so a scan reads them front to back.
    struct Entry {
        quintptr key = 0;
        qsizetype rawAt = 0;
        qsizetype rawSize = 0;
        qsizetype lowerAt = 0;
        qsizetype lowerSize = 0;
    };
    Entry &entryFor(quintptr key);
    // Rewrites the arenas with only the entries listed, in that order.
    void compact(const std::vector<qsizetype> &keep);

    std::vector<Entry> m_entries;
    QByteArray m_raw;
    QString m_lower;
    qsizetype m_garbage = 0; // arena bytes and characters no entry points at
    // Lookups after an insertion or a move go through the index.
    QHash<quintptr, qsizetype> m_index;
    bool m_indexCurrent = false;
    std::vector<qsizetype> m_visited;
    qsizetype m_next = 0;
    bool m_inOrder = true;
    SearchFieldMask m_mask = 0;
    // The first scan fills an empty cache: nothing to compare with.
    bool m_filling = false;
    bool m_whole = false;
    quint64 m_wholeStamp = 0;
};

} // namespace rr
