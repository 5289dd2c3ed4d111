#pragma once
// The rows of the two search-result lists as data: the detailed list lstSearch
// ("Name", "Matches", "Address", "Created date", "Last visited", "Hits",
// "Description") and the compact list lstSrch ("Name", "Matches"). The window adds
// one list item per row (tag = wid, image keyed by wid or "Vardeck", bold as given).
#include "finding/listcells.h"
#include "finding/wordsearch.h"
#include "platform/xmldocument.h"

#include <QList>
#include <QString>

namespace rr
{

// The columns of the detailed list lstSearch, in their order; the name is the row's text.
enum class DetailedColumn : int { Name, Matches, Address, CreatedDate, LastVisited, Hits, Description, Count };
// The columns of the compact list lstSrch.
enum class CompactColumn : int { Name, Matches, Count };

struct SearchRow {
    QString wid;
    QString name;
    QString matches; // right-aligned in 6
    QString address;
    QString created;
    QString lastVisited;
    QString hits; // right-aligned in 6; an empty HITS shows as 1
    QString description;
    bool bold = false;

    QString detailedCell(DetailedColumn column) const;
    QString compactCell(CompactColumn column) const;
};

// One row per result in order. A result whose Vardeck has vanished ends the fill:
// the rows before it stay.
QList<SearchRow> buildSearchRows(const XmlDocument *doc, const QList<SearchResult> &results,
                                 const QList<VDData> &recent);

// The count beside "Found:": the number of rows listed ("37") or, when fewer are
// listed than match, both with the thousands grouped by commas: "2,632 (500 listed)".
QString foundCountText(qsizetype matching, qsizetype listed);

// Sorts rows by a column's text ignoring case; detailed selects lstSearch's columns,
// else lstSrch's (sort.column counts them from 0). Every fill starts with
// ListSortState{} ("Matches", descending).
void sortSearchRows(QList<SearchRow> &rows, const ListSortState &sort, bool detailed);

} // namespace rr
