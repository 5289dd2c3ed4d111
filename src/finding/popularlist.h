#pragma once
// The popular list: the Vardecks of the open database ranked by their HITS count, and
// the Clear popular list rankings command without its widgets.
#include "platform/notice.h"
#include "platform/xmldocument.h"
#include "storage/vddata.h"
#include "storage/xmldatabase.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace rr
{

// The columns of listPop.
enum class PopularColumn : int { Name, Hits, Count };

// One row of listPop: text = name, tag = wid, the hits right-aligned in 6.
struct PopularRow {
    QString wid;
    QString name;
    QString hits;
    bool bold = false;
};

// True when a HITS text counts a visit: not "", a number, and not 1 as a number
// ("1", "01" and " 1" mean no recorded visit). Texts that are not numbers are left
// out, as they count nothing.
bool isVisitedHits(const QString &hits);

// populatePopList as data: one row per VARDECK below the document element whose
// HITS counts a visit, sorted by the padded count as text, descending (10 above 9);
// rows with equal counts keep document order.
QList<PopularRow> popularRows(const XmlDocument *doc, const QList<VDData> &recent);

// The outcome of Clear popular list rankings. When cleared, every HITS of the
// document is "1": the window empties listPop, marks all Web Aspect pages stale and
// shows the reset count of the Vardeck in the details panel. saved tells whether the
// file was written; when it was not, the notices say why.
struct ClearRankingsResult {
    bool cleared = false;
    bool saved = false;
    Notices notices;
    // The Vardecks whose count did not read "1" before, in document order: the rows
    // that show their counts change.
    QStringList reset;
};

// Sets every HITS below the document element to "1" and saves the file. The window
// asks "Are you sure you wish to clear your list rankings of popular Vardecks?" first.
ClearRankingsResult clearPopularRankings(XMLDatabase &db);

} // namespace rr
