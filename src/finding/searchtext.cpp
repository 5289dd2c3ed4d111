#include "finding/searchtext.h"

#include <libxml/tree.h>

#include <algorithm>
#include <cstring>

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

// Visits the texts that make an element's content, in the order and by the rules the
// XML layer's content reader joins them: text and CDATA nodes at any depth, entity
// references by their replacement text.
template <typename Visit> void forEachText(xmlNodePtr cur, Visit &visit)
{
    xmlNodePtr node = cur;
    while (node) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            if (node->content)
                visit(node->content, std::strlen(reinterpret_cast<const char *>(node->content)));
        } else if (node->type == XML_ENTITY_REF_NODE) {
            if (xmlChar *content = xmlNodeGetContent(node)) {
                visit(content, std::strlen(reinterpret_cast<const char *>(content)));
                xmlFree(content);
            }
        }
        if (node->children && node->children->type != XML_ENTITY_DECL) {
            node = node->children;
            continue;
        }
        if (node == cur)
            return;
        while (!node->next) {
            node = node->parent;
            if (!node || node == cur)
                return;
        }
        node = node->next;
    }
}

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

// Compares the texts walked with bytes kept from before.
struct SameBytes {
    QByteArrayView kept;
    qsizetype offset = 0;
    bool same = true;

    void operator()(const xmlChar *text, size_t length)
    {
        if (!same)
            return;
        const auto n = qsizetype(length);
        if (n > kept.size() - offset || std::memcmp(kept.constData() + offset, text, length) != 0) {
            same = false;
            return;
        }
        offset += n;
    }
    bool whole() const { return same && offset == kept.size(); }
};

struct AppendBytes {
    QByteArray &out;
    void operator()(const xmlChar *text, size_t length)
    {
        out.append(reinterpret_cast<const char *>(text), qsizetype(length));
    }
};

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

void SearchTextCache::beginPass()
{
    m_next = 0;
    m_visited.clear();
    m_inOrder = true;
    m_filling = m_entries.empty();
    m_whole = false;
}

SearchTextCache::Entry &SearchTextCache::entryFor(quintptr key)
{
    qsizetype at = m_next;
    if (at >= size() || m_entries[size_t(at)].key != key) {
        m_inOrder = false;
        if (!m_indexCurrent) {
            m_index.clear();
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

QStringView SearchTextCache::lowerText(_xmlNode *vardeck, SearchFieldMask mask)
{
    if (mask != m_mask) {
        clear();
        m_mask = mask;
        m_filling = true;
    }
    if (m_filling) {
        // Appended in scan order: no lookup, no comparison.
        m_visited.push_back(size());
        m_next = size() + 1;
        m_entries.push_back(Entry{reinterpret_cast<quintptr>(vardeck)});
        Entry &entry = m_entries.back();
        entry.rawAt = m_raw.size();
        AppendBytes append{m_raw};
        forEachSearchedText(vardeck, mask, append);
        entry.rawSize = m_raw.size() - entry.rawAt;
        entry.lowerAt = m_lower.size();
        m_lower += QString::fromUtf8(m_raw.constData() + entry.rawAt, entry.rawSize).toLower();
        entry.lowerSize = m_lower.size() - entry.lowerAt;
        m_indexCurrent = false;
        return QStringView(m_lower).mid(entry.lowerAt, entry.lowerSize);
    }
    // A new entry holds no bytes and an empty text, which agree with each other.
    Entry &entry = entryFor(reinterpret_cast<quintptr>(vardeck));
    SameBytes check{QByteArrayView(m_raw.constData() + entry.rawAt, entry.rawSize)};
    forEachSearchedText(vardeck, mask, check);
    if (!check.whole()) {
        m_garbage += entry.rawSize + entry.lowerSize;
        entry.rawAt = m_raw.size();
        AppendBytes append{m_raw};
        forEachSearchedText(vardeck, mask, append);
        entry.rawSize = m_raw.size() - entry.rawAt;
        const QString lower = QString::fromUtf8(m_raw.constData() + entry.rawAt, entry.rawSize).toLower();
        entry.lowerAt = m_lower.size();
        entry.lowerSize = lower.size();
        m_lower += lower;
    }
    return QStringView(m_lower).mid(entry.lowerAt, entry.lowerSize);
}

void SearchTextCache::endPass(bool sawAll, quint64 changeStamp)
{
    m_filling = false;
    m_whole = sawAll;
    m_wholeStamp = changeStamp;
    const qsizetype live = m_raw.size() + m_lower.size() - m_garbage;
    const bool wasteful = m_garbage > std::max<qsizetype>(live, 1 << 20);
    if (sawAll && (!m_inOrder || m_visited.size() != m_entries.size() || wasteful)) {
        compact(m_visited);
    } else if (wasteful) {
        std::vector<qsizetype> all(m_entries.size());
        for (size_t i = 0; i < all.size(); ++i)
            all[i] = qsizetype(i);
        compact(all);
    }
}

void SearchTextCache::compact(const std::vector<qsizetype> &keep)
{
    std::vector<Entry> entries;
    entries.reserve(keep.size());
    QByteArray raw;
    QString lower;
    for (qsizetype at : keep) {
        Entry entry = m_entries[size_t(at)];
        const qsizetype rawAt = raw.size();
        const qsizetype lowerAt = lower.size();
        raw.append(m_raw.constData() + entry.rawAt, entry.rawSize);
        lower.append(QStringView(m_lower).mid(entry.lowerAt, entry.lowerSize));
        entry.rawAt = rawAt;
        entry.lowerAt = lowerAt;
        entries.push_back(entry);
    }
    m_entries = std::move(entries);
    m_raw = std::move(raw);
    m_lower = std::move(lower);
    m_garbage = 0;
    m_indexCurrent = false;
}

void SearchTextCache::clear()
{
    m_entries.clear();
    m_raw.clear();
    m_lower.clear();
    m_garbage = 0;
    m_index.clear();
    m_indexCurrent = false;
    m_visited.clear();
    m_next = 0;
    m_mask = 0;
    m_whole = false;
}

} // namespace rr
