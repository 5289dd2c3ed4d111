#include "finding/popularlist.h"

#include "finding/listcells.h"
#include "finding/vardeckscan.h"
#include "platform/prompt.h"
#include "storage/savereport.h"

#include <cmath>

namespace rr
{

bool isVisitedHits(const QString &hits)
{
    bool number = false;
    const double value = hits.trimmed().toDouble(&number);
    return number && std::isfinite(value) && value != 1.0;
}

QList<PopularRow> popularRows(const XmlDocument *doc, const QList<VDData> &recent)
{
    QList<PopularRow> rows;
    for (const VardeckScan::Visited &visited : scanVardecks(doc).visited) {
        const XmlNode vardeck(visited.vardeck);
        PopularRow row;
        row.wid = vardeck.attribute(QStringLiteral("WID"));
        row.name = vardeck.childText(QStringLiteral("NAME"));
        row.hits = padString(visited.hits, kCountWidth);
        row.bold = isRecentWid(row.wid, recent);
        rows.append(row);
    }
    sortRowsByText(
        rows, [](const PopularRow &r) { return r.hits; }, true);
    return rows;
}

ClearRankingsResult clearPopularRankings(XMLDatabase &db)
{
    ClearRankingsResult result;
    if (!prompt::askYesNo(QStringLiteral("Are you sure you wish to clear your list rankings of popular Vardecks?"),
                          MsgIcon::None, QStringLiteral("Clear popular list?")))
        return result;
    XmlDocument *doc = db.getTheDOM();
    const XmlNode root = doc ? doc->documentElement() : XmlNode();
    if (!root)
        return result;
    for (XmlNode hits : root.getElementsByTagName(QStringLiteral("HITS")))
        hits.setText(QStringLiteral("1"));
    result.cleared = true;
    result.saved = saveDatabaseReporting(db);
    return result;
}

} // namespace rr
