#include "finding/ui/popularpane.h"

#include "finding/popularlist.h"
#include "finding/ui/listrows.h"
#include "platform/gui/listviews.h"
#include "platform/prompt.h"
#include "platform/textutil.h"
#include "shell/frmvardecks.h"
#include "shell/splitter.h"
#include "shell/tabstrip.h"
#include "storage/session.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTreeWidget>

namespace rr
{

using namespace findingui;

namespace
{
constexpr int kPopularTab = 3;
}

PopularPane::PopularPane(frmVardecks &w) : QObject(&w), w(w)
{
    setObjectName(QStringLiteral("PopularPane"));
    w.listPop->setSortingEnabled(false);
    w.listPop->installEventFilter(this);
    w.listPop->viewport()->installEventFilter(this);
    w.listPop->viewport()->setMouseTracking(true);
    connect(w.listPop, &QTreeWidget::itemClicked, this, [this] { listPop_Click(); });
    // Every key pressed in the list shows the row it reached.
    showRowOnKeyRelease(w.listPop, [this] {
        if (windowUsable(this))
            listPop_Click();
    });
    selectCurrentOnFocus(w.listPop);
    connect(w.tabIndex, &TabStrip::Click, this, [this] {
        if (m_stale && tabShown())
            fill(this->w.dbXML.document());
    });
}

bool PopularPane::tabShown() const
{
    return w.tabIndex->Tab() == kPopularTab;
}

void PopularPane::populatePopList(XmlDocument *doc)
{
    if (tabShown()) {
        fill(doc);
        return;
    }
    m_stale = true;
    if (w.listPop->topLevelItemCount() > 0)
        w.listPop->clear();
}

void PopularPane::fill(const XmlDocument *doc)
{
    m_stale = false;
    QTreeWidget *list = w.listPop;
    list->setUpdatesEnabled(false);
    list->clear();
    const VardeckIcons icons(w.ImageListWM, false);
    QList<QTreeWidgetItem *> rows;
    for (const PopularRow &row : popularRows(doc, session().recentColl))
        rows.append(makeRow({row.name, row.hits}, row.wid, row.bold, icons.of(row.wid)));
    list->addTopLevelItems(rows);
    list->setUpdatesEnabled(true);
}

void PopularPane::mnuClearPop_Click()
{
    if (!w.dbXML.document())
        return;
    if (!prompt::askYesNo(QStringLiteral("Are you sure you wish to clear your list rankings of popular Vardecks?"),
                          MsgIcon::None, QStringLiteral("Clear popular list?")))
        return;
    const ClearRankingsResult result = clearPopularRankings(*w.dbXML);
    prompt::tell(result.notices);
    if (!result.cleared)
        return;
    w.listPop->clear();
    // The Web Aspect's pages show the counts too.
    w.markAllPagesStale();
    showResetCounts();
}

// Every count is 1 now: the details panel and the lists that show counts say so.
void PopularPane::showResetCounts()
{
    const QString one = padString(QStringLiteral("1"), kCountWidth);
    if (w.vardeckShown() && w.dbXML.vardeck(w.currentWID()))
        w.lbl(Lbl::Hits)->setText(QStringLiteral("1"));
    w.commands.showHitsResetInFolderList();
    for (int i = 0; i < w.lstSearch->topLevelItemCount(); ++i)
        w.lstSearch->topLevelItem(i)->setText(5, one);
}

void PopularPane::listPop_Click()
{
    if (!w.confirmLoseChanges())
        return;
    w.commands.setFormEditMode(false);
    if (QTreeWidgetItem *row = selectedItemOf(w.listPop))
        showVardeckWithFolder(w, tagOf(row));
}

void PopularPane::listPop_MouseDown(Qt::MouseButton button, const QPoint &pos)
{
    w.popup.listPressed(QStringLiteral("listPop"));
    if (button == Qt::RightButton)
        w.listPopup(w.listPop, QStringLiteral("listPop"), w.listPop->itemAt(pos), false);
}

void PopularPane::listPop_MouseMove(const QPoint &pos)
{
    if (const QTreeWidgetItem *row = w.listPop->itemAt(pos))
        w.Splitter2->setToolTip(toolTipText(vardeckAddress(w.dbXML.document(), tagOf(row))));
}

bool PopularPane::eventFilter(QObject *watched, QEvent *event)
{
    if (!windowUsable(this))
        return false;
    if (watched != w.listPop->viewport())
        return false;
    if (event->type() == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        listPop_MouseDown(mouse->button(), mouse->position().toPoint());
        return mouse->button() == Qt::RightButton;
    }
    if (event->type() == QEvent::MouseMove)
        listPop_MouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
    return false;
}

} // namespace rr
