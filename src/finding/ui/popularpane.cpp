#include "finding/ui/popularpane.h"

#include "finding/popularlist.h"
#include "finding/ui/listrows.h"
#include "finding/ui/panecontrols.h"
#include "platform/gui/commands.h"
#include "platform/gui/itemtags.h"
#include "platform/gui/listviews.h"
#include "platform/gui/partoperations.h"
#include "platform/prompt.h"
#include "platform/textutil.h"
#include "shell/collectionchanges.h"
#include "shell/detailsoperations.h"
#include "shell/framemenus.h"
#include "shell/framepanes.h"
#include "shell/frametabs.h"
#include "shell/imagelists.h"
#include "shell/opendatabase.h"
#include "shell/panecontrols.h"
#include "shell/shownitems.h"
#include "shell/twips.h"
#include "shell/vardeckviewsoperations.h"
#include "storage/session.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTimer>
#include <QTreeWidget>

namespace rr
{

using namespace findingui;

namespace
{

// A row's texts, in the order of PopularColumn.
QStringList cells(const PopularRow &row)
{
    QStringList texts(static_cast<int>(PopularColumn::Count));
    texts[int(PopularColumn::Name)] = row.name;
    texts[int(PopularColumn::Hits)] = row.hits;
    return texts;
}

} // namespace
PopularPane::PopularPane(const FindingWindow &w) : QObject(&w.window), w(w)
{
    setObjectName(QStringLiteral("PopularPane"));
    m_listPop = makeReportList(w.panes.pane(Pane::PopularPage), QStringLiteral("listPop"),
                               {QStringLiteral("Name"), QStringLiteral("Hits")});
    twips::move(m_listPop, 0, 400, 3615, 6015);
    w.panes.addToLayout(Place::PopularList, m_listPop);
    followInTabOrder(w.panes.pane(Pane::PopularPage), {m_listPop});
    showWithWindow({m_listPop});

    m_listPop->setSortingEnabled(false);
    m_listPop->installEventFilter(this);
    m_listPop->viewport()->installEventFilter(this);
    m_listPop->viewport()->setMouseTracking(true);
    // A click and a key run the rows' command, which asks before it ends an edit.
    connect(m_listPop, &QTreeWidget::itemClicked, this, [this] { this->w.commands.listPop_Click(); });
    // Every key pressed in the list shows the row it reached; during an edit, whose
    // question is never asked inside the key's delivery, once the delivery is over.
    showRowOnKeyRelease(m_listPop, [this] {
        if (!windowUsable(this))
            return;
        if (this->w.shown.editState() == EditState::Viewing)
            this->w.commands.listPop_Click();
        else
            QTimer::singleShot(0, this, [this] { this->w.commands.listPop_Click(); });
    });
    selectCurrentOnFocus(m_listPop);
    w.tabs.whenIndexTabShown(this, [this](IndexTab) {
        if (m_stale && tabShown())
            fill(this->w.db.document());
    });
}

bool PopularPane::tabShown() const
{
    return w.tabs.indexTab() == IndexTab::Popular;
}

void PopularPane::populatePopList(XmlDocument *doc)
{
    if (tabShown()) {
        fill(doc);
        return;
    }
    m_stale = true;
    if (m_listPop->topLevelItemCount() > 0)
        m_listPop->clear();
}

void PopularPane::fill(const XmlDocument *doc)
{
    m_stale = false;
    QTreeWidget *list = m_listPop;
    list->setUpdatesEnabled(false);
    list->clear();
    const VardeckIcons icons(w.pictures, false);
    QList<QTreeWidgetItem *> rows;
    for (const PopularRow &row : popularRows(doc, session().recentColl))
        rows.append(makeRow(cells(row), row.wid, row.bold, icons.of(row.wid)));
    list->addTopLevelItems(rows);
    list->setUpdatesEnabled(true);
}

void PopularPane::mnuClearPop_Click()
{
    if (!w.db.document())
        return;
    if (!prompt::askYesNo(QStringLiteral("Are you sure you wish to clear your list rankings of popular Vardecks?"),
                          MsgIcon::None, QStringLiteral("Clear popular list?")))
        return;
    const ClearRankingsResult result = clearPopularRankings(*w.db);
    prompt::tell(result.notices);
    if (!result.cleared)
        return;
    m_listPop->clear();
    // The Web Aspect's pages show the counts too.
    w.changes.collectionChanged(StalePages::everyPage());
    showResetCounts(result.reset);
}

// Every count is 1 now: the details panel and the lists that show counts say so.
void PopularPane::showResetCounts(const QStringList &reset)
{
    if (w.shown.vardeckShown() && w.db.vardeck(w.shown.currentWID()))
        operationsOf<DetailsOperations>(w.window).showHits(QStringLiteral("1"));
    operationsOf<VardeckViewsOperations>(w.window).showHitsResetInFolderList();
    emit countsReset(reset);
}

void PopularPane::highlightRowOf(const QString &wid)
{
    highlightTagged(m_listPop, wid);
}

void PopularPane::listPop_Click()
{
    operationsOf<DetailsOperations>(w.window).setFormEditMode(false);
    if (QTreeWidgetItem *row = selectedItemOf(m_listPop))
        showVardeckWithFolder(w, tagOf(row));
}

void PopularPane::listPop_MouseDown(Qt::MouseButton button, const QPoint &pos)
{
    w.popup.listPressed(EntryList::PopularList);
    if (button == Qt::RightButton)
        w.menus.listPopup(m_listPop, EntryList::PopularList, m_listPop->itemAt(pos), false);
}

void PopularPane::listPop_MouseMove(const QPoint &pos)
{
    if (const QTreeWidgetItem *row = m_listPop->itemAt(pos))
        w.panes.setPanesToolTip(toolTipText(vardeckAddress(w.db.document(), tagOf(row))));
}

QString PopularPane::selectedRow() const
{
    return tagOf(selectedItemOf(m_listPop)).trimmed();
}

QString PopularPane::currentRow() const
{
    return tagOf(m_listPop->currentItem()).trimmed();
}

void PopularPane::dropRowsOfGoneVardecks()
{
    dropRowsOfGone(w.db, m_listPop);
}

void PopularPane::removeVardeckRows(const QStringList &wids)
{
    for (const QString &wid : wids)
        delete findByTag(m_listPop, wid);
}

void PopularPane::showNameOf(const QString &wid, const QString &name)
{
    for (int i = 0; i < m_listPop->topLevelItemCount(); ++i) {
        if (sameText(tagOf(m_listPop->topLevelItem(i)), wid))
            m_listPop->topLevelItem(i)->setText(int(PopularColumn::Name), name);
    }
}

void PopularPane::goToRow(int move)
{
    rr::goToRow(
        m_listPop, false, move, [this] { return w.shown.editState() != EditState::Viewing; },
        [this] { w.commands.listPop_Click(); });
}

void PopularPane::markRecentRows()
{
    findingui::markRecentRows(m_listPop);
}

bool PopularPane::eventFilter(QObject *watched, QEvent *event)
{
    if (!windowUsable(this))
        return false;
    if (watched != m_listPop->viewport())
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
