#include "finding/ui/favoritespane.h"

#include "finding/ui/listrows.h"
#include "platform/gui/textfit.h"
#include "platform/prompt.h"
#include "platform/textutil.h"
#include "shell/dragsources.h"
#include "shell/frmvardecks.h"
#include "shell/openaddress.h"
#include "shell/splitter.h"
#include "shell/tabstrip.h"
#include "storage/session.h"
#include "web/visits.h"

#include <QAction>
#include <QCheckBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTabBar>
#include <QTimer>
#include <QTreeWidget>

namespace rr
{

using namespace findingui;

namespace
{

constexpr MenuId kMenuArray = MenuId::first;
constexpr int kFavoritesTab = 2;

bool sameWid(const QString &a, const QString &b)
{
    return sameText(a.trimmed(), b.trimmed());
}

} // namespace

FavoritesPane::FavoritesPane(frmVardecks &w) : QObject(&w), w(w)
{
    setObjectName(QStringLiteral("FavoritesPane"));
    wire();
}

void FavoritesPane::wire()
{
    connect(w.tvwFavs, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node) { tvwFavs_NodeClick(node); });
    // Added before the pane watches the tree, so that the pane sees every press and
    // move (the popups, the tool tips) before the start-drag takes them.
    w.dragSources().addSource(
        w.tvwFavs, [this](const QPoint &pos) { return tvwFavs_OLEStartDrag(w.tvwFavs->itemAt(pos)); }, Qt::CopyAction);
    w.dragSources().addTarget(w.tvwFavs);
    w.tvwFavs->installEventFilter(this);
    w.tvwFavs->viewport()->installEventFilter(this);
    w.tvwFavs->viewport()->setMouseTracking(true);
    w.tvwFavs->setAcceptDrops(true);
    w.tvwFavs->viewport()->setAcceptDrops(true);
    // The whole Favorites tab takes drops: its page and its tab in the strip.
    for (QWidget *target : {w.tabIndex->page(2), static_cast<QWidget *>(w.tabIndex->tabBar())}) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }
    if (QMenu *menu = w.subMenu(MenuId::mnuFavs))
        connect(menu, &QMenu::aboutToShow, this, &FavoritesPane::menuAboutToShow);
}

bool FavoritesPane::treeShown() const
{
    return w.tabIndex->Tab() == kFavoritesTab;
}

// ----- the list and its views -----

void FavoritesPane::populateFavsList(XmlDocument *doc)
{
    // The list itself is read from the document when the tab, the menu or a command
    // needs it; no document empties it at once.
    m_listStale = doc != nullptr;
    if (!doc)
        m_favs.populate(nullptr);
    refillViews(doc);
    w.markAllPagesStale();
}

void FavoritesPane::ensureList()
{
    if (!m_listStale)
        return;
    m_listStale = false;
    m_favs.populate(w.dbXML.document());
    showCount();
}

void FavoritesPane::showCount()
{
    w.lbl(Lbl::FavoritesCount)->setText(m_favs.countLabel());
    w.favoritesListed(m_favs.favsColl());
}

void FavoritesPane::populateFavTreeWithChildren()
{
    if (!treeShown()) {
        refillTree({});
        return;
    }
    ensureList();
    refillTree(m_favs.treeItems(w.dbXML.document(), session().recentColl));
}

void FavoritesPane::refillViews(const XmlDocument *doc)
{
    m_menuStale = true;
    if (m_listStale && !treeShown()) {
        refillTree({});
        return;
    }
    ensureList();
    m_favs.syncWithDocument(doc);
    populateFavTreeWithChildren();
    showCount();
}

void FavoritesPane::menuAboutToShow()
{
    // The array's first item only holds the place of the others.
    if (QAction *placeholder = w.menuItem(kMenuArray, 0))
        placeholder->setVisible(false);
    ensureList();
    if (!m_menuStale)
        return;
    m_menuStale = false;
    refillMenu(m_favs.menuItems(w.dbXML.document()));
    // Making the items checks the list against the document once more.
    showCount();
}

void FavoritesPane::refillTree(const QList<FavoriteItem> &items)
{
    QTreeWidget *tree = w.tvwFavs;
    if (items.isEmpty() && tree->topLevelItemCount() == 0)
        return;
    const QString currentTag = tagOf(tree->currentItem());
    tree->setUpdatesEnabled(false);
    tree->clear();
    QTreeWidgetItem *current = nullptr;
    const VardeckIcons icons(w.ImageListWM, true);
    QList<QTreeWidgetItem *> nodes;
    for (const FavoriteItem &item : items) {
        QTreeWidgetItem *node = makeRow({item.name}, item.wid, item.bold, icons.of(item.wid));
        nodes.append(node);
        if (!current && !currentTag.isEmpty() && sameWid(item.wid, currentTag))
            current = node;
    }
    tree->addTopLevelItems(nodes);
    if (current)
        tree->setCurrentItem(current);
    tree->setUpdatesEnabled(true);
}

void FavoritesPane::refillMenu(const QList<FavoriteItem> &items)
{
    if (QAction *placeholder = w.menuItem(kMenuArray, 0))
        placeholder->setVisible(false);
    if (QMenu *menu = w.subMenu(MenuId::mnuFavs))
        menu->setToolTipsVisible(true); // a shortened name shows whole there
    for (int i = 1; i <= items.size(); ++i) {
        QAction *menuItem = w.loadMenuArrayElement(kMenuArray, i);
        if (!menuItem)
            continue;
        const FavoriteItem &item = items.at(i - 1);
        // Set directly: a favourite named "-" is a caption, not a separator.
        menuItem->setSeparator(false);
        setMenuItemName(menuItem, item.name);
        menuItem->setData(item.wid);
        menuItem->setEnabled(true);
        menuItem->setVisible(true);
    }
    for (int i = w.menuArrayUpperBound(kMenuArray); i > items.size(); --i)
        w.unloadMenuArrayElement(kMenuArray, i);
}

void FavoritesPane::showFavoriteMark(bool favorite)
{
    w.chkFav->setChecked(favorite);
    w.Picture10->setVisible(favorite);
    const QLabel *picture = favorite ? w.Picture10 : w.Picture8;
    w.tabView->setTabPicture(0, QIcon(picture->pixmap()));
}

void FavoritesPane::afterChange(const Favorites::Change &change)
{
    prompt::tell(change.notices);
    refillViews(w.dbXML.document());
    if (!change.changed)
        return;
    w.markAllPagesStale();
    if (sameWid(change.wid, w.currentWID()))
        showFavoriteMark(change.outcome == Favorites::Outcome::Added);
}

// ----- commands -----

void FavoritesPane::addToFavorites(const QString &wid)
{
    if (!w.dbXML.document())
        return;
    ensureList();
    afterChange(m_favs.addToFavorites(*w.dbXML, wid.trimmed()));
}

void FavoritesPane::cmdFAdd_Click()
{
    if (!w.dbXML.document())
        return;
    ensureList();
    afterChange(m_favs.addSelected(*w.dbXML, w.selectedWID()));
}

void FavoritesPane::cmdFDelete_Click()
{
    if (!w.dbXML.document())
        return;
    ensureList();
    const Favorites::Change check = m_favs.checkDelete(*w.dbXML, w.selectedWID());
    if (check.outcome != Favorites::Outcome::Listed) {
        afterChange(check);
        return;
    }
    if (!prompt::askYesNo(QStringLiteral("Are you sure you wish to delete ") + check.name +
                              QStringLiteral(" from your favorites list?"),
                          MsgIcon::None, QStringLiteral("Delete folder?"))) {
        afterChange(check);
        return;
    }
    afterChange(m_favs.deleteFavorite(*w.dbXML, check.wid));
}

void FavoritesPane::cmdAddFavs_Click()
{
    if (w.chkFav->isChecked())
        cmdFDelete_Click();
    else
        cmdFAdd_Click();
}

void FavoritesPane::chkFav_Click()
{
    w.Picture10->setVisible(w.chkFav->isChecked());
}

void FavoritesPane::first_Click(int index)
{
    const QAction *item = w.menuItem(kMenuArray, index);
    if (!item || index <= 0 || !w.dbXML.document())
        return;
    const QString wid = item->data().toString();
    const XmlNode vardeck = w.dbXML.vardeck(wid);
    if (!vardeck) {
        // The favourite went elsewhere since the menu was made.
        populateFavsList(w.dbXML.document());
        return;
    }
    finishOpening(openVardeckInBrowser(*w.dbXML, wid, vardeck.childText(QStringLiteral("ADDRESS"))));
    w.commands.refreshRecentMenuList(wid);
    markRecentRows(w);
}

// ----- the tree -----

void FavoritesPane::tvwFavs_NodeClick(QTreeWidgetItem *node)
{
    if (!w.confirmLoseChanges() || !node)
        return;
    const QString tag = tagOf(node).trimmed();
    if (tag.isEmpty()) {
        w.tabView->setTab(0);
        return;
    }
    if (!w.dbXML.vardeck(tag)) {
        populateFavsList(w.dbXML.document());
        return;
    }
    w.commands.setFormEditMode(false);
    showVardeckWithFolder(w, tag);
}

void FavoritesPane::tvwFavs_MouseDown(Qt::MouseButton button, const QPoint &pos)
{
    if (button != Qt::RightButton)
        return;
    QTreeWidgetItem *node = w.tvwFavs->itemAt(pos);
    w.popup.nodeRightClicked(w.tvwFavs, node);
    if (!node) {
        w.popupMenu(MenuId::mnuNoVD);
        return;
    }
    selectOnly(w.tvwFavs, node);
    w.popupMenu(MenuId::mnuStartVD);
}

void FavoritesPane::tvwFavs_MouseMove(const QPoint &pos)
{
    const QTreeWidgetItem *node = w.tvwFavs->itemAt(pos);
    if (node)
        w.Splitter2->setToolTip(toolTipText(vardeckAddress(w.dbXML.document(), tagOf(node))));
}

QMimeData *FavoritesPane::tvwFavs_OLEStartDrag(QTreeWidgetItem *pressed)
{
    return w.dragSources().startVardeckNodeDrag(pressed);
}

void FavoritesPane::tvwFavs_OLECompleteDrag()
{
    w.dragSources().endDrag();
}

// ----- drops -----

bool FavoritesPane::acceptsDrop(const QMimeData *data) const
{
    const DroppedItems dropped = droppedItems(data, w.drag);
    return w.dbXML.document() && dropped.kind != DragKind::Folder && !dropped.wids.isEmpty();
}

void FavoritesPane::dropVardecks(const QMimeData *data)
{
    if (!acceptsDrop(data))
        return;
    const DroppedItems dropped = droppedItems(data, w.drag);
    const QStringList &wids = dropped.wids;
    // The window's drag state names the kind of an internal drag; a drag from
    // elsewhere is told by its count.
    const bool single =
        dropped.kind == DragKind::Vardeck || (dropped.kind != DragKind::VardeckMulti && wids.size() == 1);
    if (single) {
        addToFavorites(wids.first());
        return;
    }
    ensureList();
    const bool shownWasFavorite = m_favs.contains(w.currentWID());
    const Favorites::DropResult result = m_favs.addDropped(*w.dbXML, wids);
    prompt::tell(result.notices);
    refillViews(w.dbXML.document());
    if (result.added == 0)
        return;
    w.markAllPagesStale();
    if (!shownWasFavorite && m_favs.contains(w.currentWID()))
        showFavoriteMark(true);
}

bool FavoritesPane::isFavoritesTabTarget(QObject *watched, const QPoint &pos) const
{
    if (watched == w.tvwFavs->viewport() || watched == w.tabIndex->page(2))
        return true;
    return watched == w.tabIndex->tabBar() && w.tabIndex->tabBar()->tabAt(pos) == 2;
}

bool FavoritesPane::eventFilter(QObject *watched, QEvent *event)
{
    if (!windowUsable(this))
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        // Drags that are not ours: the tab strip keeps its own handling of them; the
        // tree takes none (it must not take in items of other views).
        if (!acceptsDrop(drop->mimeData())) {
            drop->ignore();
            return watched != w.tabIndex->tabBar();
        }
        // Entering the strip anywhere keeps the drag's moves coming, so that it can
        // reach the Favorites tab.
        const bool here = isFavoritesTabTarget(watched, drop->position().toPoint());
        if (here || event->type() == QEvent::DragEnter)
            drop->acceptProposedAction();
        else
            drop->ignore();
        if (here && event->type() == QEvent::Drop)
            dropVardecks(drop->mimeData());
        return true;
    }
    default:
        break;
    }
    if (watched == w.tvwFavs && event->type() == QEvent::KeyPress) {
        const auto *press = static_cast<QKeyEvent *>(event);
        const int key = press->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            tvwFavs_NodeClick(selectedItemOf(w.tvwFavs));
            return true;
        }
        // The arrows, paging and typing the start of a name show the favourite they
        // reach, as a click does, once the tree has moved its selection.
        const bool typeAhead = !(press->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
                               !press->text().isEmpty() && press->text().at(0).isPrint();
        if (typeAhead || key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Home || key == Qt::Key_End ||
            key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            const QPersistentModelIndex before(w.tvwFavs->currentIndex());
            QTimer::singleShot(0, this, [this, before] {
                if (w.tvwFavs->currentIndex() != QModelIndex(before) && w.tvwFavs->currentItem())
                    tvwFavs_NodeClick(w.tvwFavs->currentItem());
            });
        }
        return false;
    }
    if (watched != w.tvwFavs->viewport())
        return false;
    if (event->type() == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        tvwFavs_MouseDown(mouse->button(), mouse->position().toPoint());
        return mouse->button() == Qt::RightButton;
    }
    if (event->type() == QEvent::MouseMove)
        tvwFavs_MouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
    return false;
}

} // namespace rr
