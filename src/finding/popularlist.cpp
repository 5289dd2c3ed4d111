#include "finding/popularlist.h"

#include "finding/listcells.h"
#include "finding/vardeckscan.h"
#include "finding/vardeckwalk.h"
#include "storage/record.h"
#include "storage/savereport.h"

#include <cmath>
#include <utility>
#include <vector>

namespace rr
{

bool isVisitedHits(const QString &hits)
{
    bool number = false;
    const double value = hits.trimmed().toDouble(&number);
    return number && std::isfinite(value) && value != 1.0;
}

namespace
{

// A count written the plain way: digits only, no leading zero, at most the padded
// width. For such counts the padded texts sort exactly as the numbers do.
bool plainCount(const QString &text, qint64 *value)
{
    if (text.isEmpty() || text.size() > kCountWidth || text.front() == QLatin1Char('0'))
        return false;
    qint64 n = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        n = n * 10 + (c.unicode() - '0');
    }
    *value = n;
    return true;
}

// Highest count first, equal counts in document order, as the padded texts sort.
void sortByCount(QList<PopularRow> &rows)
{
    std::vector<std::pair<qint64, qsizetype>> keys;
    keys.reserve(size_t(rows.size()));
    for (qsizetype i = 0; i < rows.size(); ++i) {
        qint64 value = 0;
        if (!plainCount(rows.at(i).hits.trimmed(), &value)) {
            sortRowsByText(
                rows, [](const PopularRow &r) { return r.hits; }, true);
            return;
        }
        keys.emplace_back(value, i);
    }
    std::stable_sort(keys.begin(), keys.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    QList<PopularRow> sorted;
    sorted.reserve(rows.size());
    for (const auto &key : keys)
        sorted.append(std::move(rows[key.second]));
    rows = std::move(sorted);
}

} // namespace

QList<PopularRow> popularRows(const XmlDocument *doc, const QList<VDData> &recent)
{
    QList<PopularRow> rows;
    for (const VardeckScan::Visited &visited : scanVardecks(doc).visited) {
        const XmlNode vardeck(visited.vardeck);
        PopularRow row;
        row.wid = vardeck.attribute(tag::Wid);
        row.name = vardeck.childText(tag::Name);
        row.hits = padString(visited.hits, kCountWidth);
        row.bold = isRecentWid(row.wid, recent);
        rows.append(row);
    }
    sortByCount(rows);
    return rows;
}

ClearRankingsResult clearPopularRankings(XMLDatabase &db)
{
    ClearRankingsResult result;
    XmlDocument *doc = db.getTheDOM();
    const XmlNode root = doc ? doc->documentElement() : XmlNode();
    if (!root)
        return result;
    walkVardecks(root.raw(), [&result](xmlNodePtr node) {
        const XmlNode vardeck(node);
        if (vardeck.childText(tag::Hits) != QLatin1String("1"))
            result.reset.append(vardeck.attribute(tag::Wid));
        return true;
    });
    for (XmlNode hits : root.getElementsByTagName(tag::Hits))
        hits.setText(QStringLiteral("1"));
    result.cleared = true;
    result.saved = saveDatabase(db, result.notices);
    return result;
}

} // namespace rr
