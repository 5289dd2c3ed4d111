#include "finding/searchresults.h"

namespace rr
{

QString SearchRow::detailedCell(int column) const
{
    switch (column) {
    case 0:
        return name;
    case 1:
        return matches;
    case 2:
        return address;
    case 3:
        return created;
    case 4:
        return lastVisited;
    case 5:
        return hits;
    case 6:
        return description;
    default:
        return {};
    }
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
        row.name = vardeck.childText(QStringLiteral("NAME"));
        row.matches = padString(QString::number(result.matches), kCountWidth);
        row.address = cellText(vardeck.childText(QStringLiteral("ADDRESS")));
        row.created = cellText(vardeck.childText(QStringLiteral("CREATED_DATE")));
        row.lastVisited = cellText(vardeck.childText(QStringLiteral("KEYWORD2")));
        const QString hits = vardeck.childText(QStringLiteral("HITS"));
        row.hits = padString(hits.isEmpty() ? QStringLiteral("1") : hits, kCountWidth);
        row.description = cellText(vardeck.childText(QStringLiteral("DESCRIPTION")));
        row.bold = isRecentWid(result.wid, recent);
        rows.append(row);
    }
    sortSearchRows(rows, ListSortState{}, true);
    return rows;
}

void sortSearchRows(QList<SearchRow> &rows, const ListSortState &sort, bool detailed)
{
    if (detailed)
        sortRowsByText(
            rows, [&](const SearchRow &r) { return r.detailedCell(sort.column); }, sort.descending);
    else
        sortRowsByText(
            rows, [&](const SearchRow &r) { return r.compactCell(sort.column); }, sort.descending);
}

} // namespace rr
