#include "finding/searchresults.h"
#include "storage/record.h"

#include <QLocale>

namespace rr
{

QString SearchRow::detailedCell(DetailedColumn column) const
{
    switch (column) {
    case DetailedColumn::Name:
        return name;
    case DetailedColumn::Matches:
        return matches;
    case DetailedColumn::Address:
        return address;
    case DetailedColumn::CreatedDate:
        return created;
    case DetailedColumn::LastVisited:
        return lastVisited;
    case DetailedColumn::Hits:
        return hits;
    case DetailedColumn::Description:
        return description;
    case DetailedColumn::Count:
        break;
    }
    return {};
}

QString SearchRow::compactCell(CompactColumn column) const
{
    switch (column) {
    case CompactColumn::Name:
        return name;
    case CompactColumn::Matches:
        return matches;
    case CompactColumn::Count:
        break;
    }
    return {};
}

QList<SearchRow> buildSearchRows(const XmlDocument *doc, const QList<SearchResult> &results,
                                 const QList<VDData> &recent)
{
    QList<SearchRow> rows;
    for (const SearchResult &result : results) {
        const XmlNode vardeck = doc ? doc->nodeFromID(result.wid) : XmlNode();
        if (!vardeck)
            break;
        SearchRow row;
        row.wid = result.wid;
        row.name = vardeck.childText(tag::Name);
        row.matches = padString(QString::number(result.matches), kCountWidth);
        row.address = cellText(vardeck.childText(tag::Address));
        row.created = cellText(vardeck.childText(tag::CreatedDate));
        row.lastVisited = cellText(vardeck.childText(tag::Keyword2));
        const QString hits = vardeck.childText(tag::Hits);
        row.hits = padString(hits.isEmpty() ? QStringLiteral("1") : hits, kCountWidth);
        row.description = cellText(vardeck.childText(tag::Description));
        row.bold = isRecentWid(result.wid, recent);
        rows.append(row);
    }
    sortSearchRows(rows, ListSortState{}, true);
    return rows;
}

QString foundCountText(qsizetype matching, qsizetype listed)
{
    if (matching <= listed)
        return QString::number(listed);
    // The program's texts are English: the grouping is theirs whatever the user's
    // locale.
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    return QStringLiteral("%1 (%2 listed)").arg(english.toString(matching), english.toString(listed));
}

void sortSearchRows(QList<SearchRow> &rows, const ListSortState &sort, bool detailed)
{
    if (detailed)
        sortRowsByText(
            rows, [&](const SearchRow &r) { return r.detailedCell(DetailedColumn(sort.column)); }, sort.descending);
    else
        sortRowsByText(
            rows, [&](const SearchRow &r) { return r.compactCell(CompactColumn(sort.column)); }, sort.descending);
}

} // namespace rr
