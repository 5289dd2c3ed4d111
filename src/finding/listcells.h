#pragma once
// The small rules every list of Vardecks in the finding panes shares: counts
// right-aligned so that a text sort orders them by value, the blank shown for an
// empty cell, the bold mark of a recently opened Vardeck, the text sort of a column,
// and finding a Vardeck's address and folder.
#include "platform/textutil.h"
#include "platform/xmldocument.h"
#include "storage/vddata.h"

#include <QList>
#include <QString>
#include <numeric>
#include <vector>

#include <algorithm>

namespace rr
{

// The width every count column uses.
inline constexpr int kCountWidth = 6;

// The text preceded by as many blanks as it lacks to reach width; a text at least as
// long as the width comes back unchanged.
QString padString(const QString &text, int width);

// What a text cell of a result row shows: one blank stands for an empty text.
QString cellText(const QString &text);

// True when some record of the recent list carries this identifier, ignoring case.
bool isRecentWid(const QString &wid, const QList<VDData> &recent);

// Sorts rows by the text of one column, ignoring letter case, as the list views do;
// rows with equal texts keep their order.
template <typename Row, typename CellOf> void sortRowsByText(QList<Row> &rows, CellOf cellOf, bool descending)
{
    // The texts are taken once and an order of positions is sorted, so that a long
    // list neither copies a text nor moves a row per comparison.
    std::vector<QString> keys;
    keys.reserve(size_t(rows.size()));
    for (const Row &row : std::as_const(rows))
        keys.push_back(cellOf(row));
    std::vector<qsizetype> order(keys.size());
    std::iota(order.begin(), order.end(), qsizetype(0));
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int c = caselessCompare(keys[size_t(a)], keys[size_t(b)]);
        return descending ? c > 0 : c < 0;
    });
    QList<Row> sorted;
    sorted.reserve(rows.size());
    for (qsizetype at : order)
        sorted.append(std::move(rows[at]));
    rows = std::move(sorted);
}

// The sort state of a list view's header: which column and which direction.
struct ListSortState {
    int column = 1;
    bool descending = true;

    // A click on a header sorts by that column and flips the direction, whichever
    // column was clicked before.
    void headerClicked(int clickedColumn)
    {
        column = clickedColumn;
        descending = !descending;
    }
};

// The ADDRESS text of the Vardeck with this identifier, or "" when there is none
// (the tool tip over a result row).
QString vardeckAddress(const XmlDocument *doc, const QString &wid);

// The FOLDER element holding a Vardeck (VARDECK within VARDECKS within FOLDER), or a
// null node when the Vardeck does not sit in a folder's list.
XmlNode folderOfVardeck(const XmlNode &vardeck);
// The VARDECK elements of a folder's list, in document order: the folder's Vardecks
// and their count.
QList<XmlNode> vardecksOf(const XmlNode &folder);

} // namespace rr
