#include "explorer/vardeckrows.h"

#include "finding/listcells.h"
#include "storage/record.h"

#include <libxml/tree.h>

#include <QLatin1StringView>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <string_view>
#include <vector>

namespace rr
{
namespace
{

// The column each field fills, by the name of the child that holds it.
struct Field {
    FolderListColumn column;
    QLatin1String name;
};
constexpr Field kFields[] = {
    {FolderListColumn::Name, tag::Name},
    {FolderListColumn::Address, tag::Address},
    {FolderListColumn::CreatedDate, tag::CreatedDate},
    {FolderListColumn::LastVisited, tag::Keyword2},
    {FolderListColumn::Description, tag::Description},
};

bool named(const xmlNode *element, QLatin1String name)
{
    return std::strcmp(reinterpret_cast<const char *>(element->name), name.data()) == 0;
}

// Whether the element's name, upper-cased, is HITS: the rule every reader of the count
// keeps. A name of ASCII letters is compared as it stands; any other goes through the
// full upper-casing, which turns some letters beyond ASCII into "I" or "S".
bool isHitsElement(const xmlNode *element)
{
    const char *name = reinterpret_cast<const char *>(element->name);
    const size_t length = std::strlen(name);
    const bool ascii = std::all_of(name, name + length, [](char c) { return uchar(c) < 0x80; });
    if (!ascii)
        return QString::fromUtf8(name, qsizetype(length)).toUpper() == tag::Hits;
    return QLatin1StringView(name, qsizetype(length)).compare(tag::Hits, Qt::CaseInsensitive) == 0;
}

// The text of a field as XmlNode::text gives it: a lone text child as it stands,
// anything else (no child, several, CDATA, nested elements) through that reader.
QString fieldText(const xmlNode *field)
{
    if (!field)
        return {};
    const xmlNode *only = field->children;
    if (only && !only->next && only->type == XML_TEXT_NODE && only->content)
        return QString::fromUtf8(reinterpret_cast<const char *>(only->content));
    return XmlNode(const_cast<xmlNode *>(field)).text();
}

// Appends the caseless key of text: the values the views' caseless comparison
// compares, unit by unit. It folds each UTF-16 unit on its own, except a low surrogate
// after a high one, which stands for the whole code point the pair makes; so comparing
// two keys value by value, then by length, orders as that comparison does.
void appendCaselessKey(std::vector<char32_t> &keys, const QString &text)
{
    char32_t previous = 0;
    for (const QChar unit : text) {
        char32_t point = unit.unicode();
        if (QChar::isLowSurrogate(point) && QChar::isHighSurrogate(previous))
            point = QChar::surrogateToUcs4(char16_t(previous), char16_t(point));
        previous = unit.unicode();
        keys.push_back(QChar::toCaseFolded(point));
    }
}

} // namespace

VardeckRowTexts readVardeckRow(const XmlNode &vardeck, ListCells rule)
{
    VardeckRowTexts row;
    row.wid = vardeck.attribute(tag::Wid);
    const xmlNode *fields[kFolderListColumnCount] = {};
    const xmlNode *hits = nullptr;
    for (const xmlNode *c = vardeck.raw() ? vardeck.raw()->children : nullptr; c; c = c->next) {
        if (c->type != XML_ELEMENT_NODE)
            continue;
        for (const Field &field : kFields) {
            if (!fields[int(field.column)] && named(c, field.name)) {
                fields[int(field.column)] = c;
                break;
            }
        }
        if (isHitsElement(c))
            hits = c;
    }
    for (const Field &field : kFields) {
        QString text = fieldText(fields[int(field.column)]);
        row.cells[size_t(field.column)] =
            rule == ListCells::BlankForEmpty && field.column != FolderListColumn::Name ? cellText(text) : text;
    }
    QString count = hits ? fieldText(hits) : QStringLiteral("1");
    if (rule == ListCells::BlankForEmpty && count.isEmpty())
        count = QStringLiteral("1");
    row.cells[size_t(FolderListColumn::Hits)] = padString(count, kCountWidth);
    return row;
}

QList<qsizetype> orderByName(const QList<QString> &names)
{
    // Every key in one buffer, name i's from starts[i] to starts[i + 1].
    std::vector<char32_t> keys;
    std::vector<size_t> starts;
    starts.reserve(size_t(names.size()) + 1);
    keys.reserve(size_t(std::accumulate(names.cbegin(), names.cend(), qsizetype(0),
                                        [](qsizetype sum, const QString &name) { return sum + name.size(); })));
    for (const QString &name : names) {
        starts.push_back(keys.size());
        appendCaselessKey(keys, name);
    }
    starts.push_back(keys.size());
    const auto keyOf = [&keys, &starts](qsizetype i) {
        return std::u32string_view(keys.data() + starts[size_t(i)], starts[size_t(i) + 1] - starts[size_t(i)]);
    };
    QList<qsizetype> order(names.size());
    std::iota(order.begin(), order.end(), qsizetype(0));
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int caseless = keyOf(a).compare(keyOf(b));
        return caseless != 0 ? caseless < 0 : names.at(a) < names.at(b);
    });
    return order;
}

} // namespace rr
