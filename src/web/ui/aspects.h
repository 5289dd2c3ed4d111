#pragma once
// The main window's side of the Web Aspect and browsers subsystem: the switch between
// the Explorer and the Web Aspect, the commands that open the shown Vardeck, its home
// page or a blank page in the browser chosen in the options, and what a recorded
// visit changes on the window.
#include <QDateTime>
#include <QString>
#include <functional>

namespace rr
{

class frmVardecks;

// Attaches Aspect > Explorer / Web, Tools > Open Vardeck in browser, Open Vardeck
// homepage in browser and Open blank browser window, offers the switch's operations
// (shell/aspectoperations.h) on the window, and makes the window the listener of
// recorded visits.
void installAspects(frmVardecks &w);

void showAspectExplorer(frmVardecks &w);
void showAspectWeb(frmVardecks &w);

void mnuToolsOpen_Click(frmVardecks &w);
void mnuToolsOpenHome_Click(frmVardecks &w);
void mnuToolsOpenBlank_Click(frmVardecks &w);

// The clock that stamps the visits the open command records; an empty function
// restores the system clock. For tests.
void setVisitClock(std::function<QDateTime()> clock);
// The time a visit recorded now is stamped with.
QDateTime visitNow();

// The rendered page and stale flag of a Web Aspect stylesheet ("VD.xsl" → "FoldersTemp").
struct AspectPage {
    QString pageName;
    int staleFlag = 0;
};
AspectPage aspectPageForStyle(const QString &style);

} // namespace rr
