#include "finding/ui/favoritespane.h"

#include "controls/qbbuttons_h.h"
#include "finding/ui/listrows.h"
#include "finding/ui/panecontrols.h"
#include "platform/gui/commands.h"
#include "platform/gui/itemtags.h"
#include "platform/gui/listviews.h"
#include "platform/gui/partoperations.h"
#include "platform/gui/textfit.h"
#include "platform/prompt.h"
#include "platform/textutil.h"
#include "shell/collectionchanges.h"
#include "shell/detailsoperations.h"
#include "shell/dragsources.h"
#include "shell/findingoperations.h"
#include "shell/framemenus.h"
#include "shell/framepanes.h"
#include "shell/frametabs.h"
#include "shell/imagelists.h"
#include "shell/openaddress.h"
#include "shell/opendatabase.h"
#include "shell/panecontrols.h"
#include "shell/pictures.h"
#include "shell/recentmenuoperations.h"
#include "shell/shownitems.h"
#include "shell/twips.h"
#include "storage/record.h"
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
// The tree's one column: a favourite's name and site icon.
constexpr int kNodeColumn = 0;

bool sameWid(const QString &a, const QString &b)
{
    return sameText(a.trimmed(), b.trimmed());
}

} // namespace

FavoritesPane::FavoritesPane(const FindingWindow &w) : QObject(&w.window), w(w)
{
    setObjectName(QStringLiteral("FavoritesPane"));
    build();
    wire();
}

void FavoritesPane::build()
{
    QWidget *page = w.panes.pane(Pane::FavoritesPage);
    m_tvwFavs = makeOneColumnTree(page, QStringLiteral("tvwFavs"));
    twips::move(m_tvwFavs, 0, 400, 3375, 5240);
    m_cmdFAdd = makeCommandButton(w.commands, page, QStringLiteral("cmdFAdd"), QStringLiteral("Add"), 120, 5760, 855,
                                  630, &Commands::cmdFAdd_Click);
    m_cmdFAdd->setPicture(pictures::draw(pictures::Kind::Add));
    m_cmdFAdd->setPictureAlign(4);
    m_cmdFDelete = makeCommandButton(w.commands, page, QStringLiteral("cmdFDelete"), QStringLiteral("Delete"), 960,
                                     5760, 855, 630, &Commands::cmdFDelete_Click);
    m_cmdFDelete->setPicture(pictures::draw(pictures::Kind::Remove));
    m_cmdFDelete->setPictureAlign(4);
    m_count = makeArrayLabel(page, Lbl::FavoritesCount, QStringLiteral("Favorites: "), 1920, 5790, 1095, 255);
    m_Picture4 = makePictureBox(page, QStringLiteral("Picture4"), pictures::draw(pictures::Kind::SecureMark), 1845,
                                5790, 240, 240);

    const std::pair<Place, QWidget *> places[] = {
        {Place::FavoritesTree, m_tvwFavs},           {Place::AddFavoriteButton, m_cmdFAdd},
        {Place::DeleteFavoriteButton, m_cmdFDelete}, {Place::FavoritesCount, m_count},
        {Place::FavoritesMark, m_Picture4},
    };
    for (const auto &[place, control] : places)
        w.panes.addToLayout(place, control);
    followInTabOrder(w.panes.pane(Pane::FavoritesPage), {m_tvwFavs, m_cmdFAdd, m_cmdFDelete});
    showWithWindow({m_tvwFavs, m_cmdFAdd, m_cmdFDelete, m_count, m_Picture4});
}

void FavoritesPane::wire()
{
    // A click, Enter and the keys that move run the tree's command, which asks before it
    // ends an edit, on the node they reached.
    connect(m_tvwFavs, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node) {
        selectOnly(m_tvwFavs, node);
        w.commands.tvwFavs_NodeClick();
    });
    // Added before the pane watches the tree, so that the pane sees every press and
    // move (the popups, the tool tips) before the start-drag takes them.
    w.dragSources.addSource(
        m_tvwFavs, [this](const QPoint &pos) { return tvwFavs_OLEStartDrag(m_tvwFavs->itemAt(pos)); }, Qt::CopyAction);
    w.dragSources.addTarget(m_tvwFavs);
    m_tvwFavs->installEventFilter(this);
    m_tvwFavs->viewport()->installEventFilter(this);
    m_tvwFavs->viewport()->setMouseTracking(true);
    m_tvwFavs->setAcceptDrops(true);
    m_tvwFavs->viewport()->setAcceptDrops(true);
    // The whole Favorites tab takes drops: its page and its tab in the strip.
    w.tabs.takeDropsOnIndexTab(
        IndexTab::Favorites, this, [this](const QMimeData *data) { return acceptsDrop(data); },
        [this](const QMimeData *data) { dropVardecks(data); });
    // The count takes its right-clicks as the details panel's captions do.
    m_count->installEventFilter(this);
    m_count->setMouseTracking(true);
    w.tabs.whenIndexTabShown(this, [this](IndexTab tab) {
        if (tab == IndexTab::Favorites)
            tabShown();
    });
    if (QMenu *menu = w.menus.subMenu(MenuId::mnuFavs))
        connect(menu, &QMenu::aboutToShow, this, &FavoritesPane::menuAboutToShow);
}

bool FavoritesPane::treeShown() const
{
    return w.tabs.indexTab() == IndexTab::Favorites;
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
    w.changes.collectionChanged(StalePages::everyPage());
}

void FavoritesPane::ensureList()
{
    if (!m_listStale)
        return;
    m_listStale = false;
    m_favs.populate(w.db.document());
    showCount();
}

void FavoritesPane::showCount()
{
    m_count->setText(m_favs.countLabel());
}

void FavoritesPane::populateFavTreeWithChildren()
{
    if (!treeShown()) {
        refillTree({});
        return;
    }
    ensureList();
    refillTree(m_favs.treeItems(w.db.document(), session().recentColl));
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
    if (QAction *placeholder = w.menus.menuItem(kMenuArray, 0))
        placeholder->setVisible(false);
    ensureList();
    if (!m_menuStale)
        return;
    m_menuStale = false;
    refillMenu(m_favs.menuItems(w.db.document()));
    // Making the items checks the list against the document once more.
    showCount();
}

void FavoritesPane::refillTree(const QList<FavoriteItem> &items)
{
    QTreeWidget *tree = m_tvwFavs;
    if (items.isEmpty() && tree->topLevelItemCount() == 0)
        return;
    const QString currentTag = tagOf(tree->currentItem());
    tree->setUpdatesEnabled(false);
    tree->clear();
    QTreeWidgetItem *current = nullptr;
    const VardeckIcons icons(w.pictures, true);
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
    if (QAction *placeholder = w.menus.menuItem(kMenuArray, 0))
        placeholder->setVisible(false);
    if (QMenu *menu = w.menus.subMenu(MenuId::mnuFavs))
        menu->setToolTipsVisible(true); // a shortened name shows whole there
    for (int i = 1; i <= items.size(); ++i) {
        QAction *menuItem = w.menus.loadMenuArrayElement(kMenuArray, i);
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
    for (int i = w.menus.menuArrayUpperBound(kMenuArray); i > items.size(); --i)
        w.menus.unloadMenuArrayElement(kMenuArray, i);
}

void FavoritesPane::afterChange(const Favorites::Change &change)
{
    prompt::tell(change.notices);
    refillViews(w.db.document());
    if (!change.changed)
        return;
    w.changes.collectionChanged(StalePages::everyPage());
    if (sameWid(change.wid, w.shown.currentWID()))
        operationsOf<DetailsOperations>(w.window).showFavoriteMark(change.outcome == Favorites::Outcome::Added);
}

void FavoritesPane::favoritesOutOfDate()
{
    m_tvwFavs->clear();
}

void FavoritesPane::tabShown()
{
    if (!w.db.isOpen() || m_tvwFavs->topLevelItemCount() > 0)
        return;
    // Asked of the window, as the frame asks it, so whatever the window was offered fills the tree.
    operationsOf<FindingOperations>(w.window).populateFavsList(w.db.document());
}

void FavoritesPane::showIconOf(const QString &wid)
{
    for (int i = 0; i < m_tvwFavs->topLevelItemCount(); ++i) {
        QTreeWidgetItem *node = m_tvwFavs->topLevelItem(i);
        if (sameText(tagOf(node), wid))
            node->setIcon(kNodeColumn, w.pictures.of(wid, true));
    }
}

void FavoritesPane::enableButtons(bool enabled)
{
    m_cmdFAdd->setEnabled(enabled);
    m_cmdFDelete->setEnabled(enabled);
}

void FavoritesPane::markRecentRows()
{
    findingui::markRecentRows(m_tvwFavs);
}

// ----- commands -----

void FavoritesPane::addToFavorites(const QString &wid)
{
    if (!w.db.document())
        return;
    ensureList();
    afterChange(m_favs.addToFavorites(*w.db, identifierOf(wid)));
}

void FavoritesPane::cmdFAdd_Click()
{
    if (!w.db.document())
        return;
    ensureList();
    afterChange(m_favs.addSelected(*w.db, w.shown.selectedWID()));
}

void FavoritesPane::cmdFDelete_Click()
{
    if (!w.db.document())
        return;
    ensureList();
    const Favorites::Change check = m_favs.checkDelete(*w.db, w.shown.selectedWID());
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
    afterChange(m_favs.deleteFavorite(*w.db, check.wid));
}

void FavoritesPane::first_Click(int index)
{
    const QAction *item = w.menus.menuItem(kMenuArray, index);
    if (!item || index <= 0 || !w.db.document())
        return;
    const QString wid = item->data().toString();
    const XmlNode vardeck = w.db.vardeck(wid);
    if (!vardeck) {
        // The favourite went elsewhere since the menu was made.
        populateFavsList(w.db.document());
        return;
    }
    finishOpening(openVardeckInBrowser(*w.db, wid, vardeck.childText(tag::Address)));
    operationsOf<RecentMenuOperations>(w.window).refreshRecentMenuList(wid);
    emit favoriteOpened();
}

// ----- the tree -----

void FavoritesPane::tvwFavs_NodeClick(QTreeWidgetItem *node)
{
    if (!node)
        return;
    const QString tag = identifierOf(tagOf(node));
    if (tag.isEmpty()) {
        w.tabs.showViewTab(ViewTab::Vardeck);
        return;
    }
    if (!w.db.vardeck(tag)) {
        populateFavsList(w.db.document());
        return;
    }
    operationsOf<DetailsOperations>(w.window).setFormEditMode(false);
    showVardeckWithFolder(w, tag);
}

void FavoritesPane::highlightRowOf(const QString &wid)
{
    highlightTagged(m_tvwFavs, wid);
}

QString FavoritesPane::selectedRow() const
{
    return identifierOf(tagOf(selectedItemOf(m_tvwFavs)));
}

void FavoritesPane::showSelectedFavorite()
{
    tvwFavs_NodeClick(selectedItemOf(m_tvwFavs));
}

void FavoritesPane::tvwFavs_MouseDown(Qt::MouseButton button, const QPoint &pos)
{
    if (button != Qt::RightButton)
        return;
    QTreeWidgetItem *node = m_tvwFavs->itemAt(pos);
    w.popup.nodeRightClicked(m_tvwFavs, node);
    if (!node) {
        w.menus.popupMenu(MenuId::mnuNoVD);
        return;
    }
    selectOnly(m_tvwFavs, node);
    w.menus.popupMenu(MenuId::mnuStartVD);
}

void FavoritesPane::tvwFavs_MouseMove(const QPoint &pos)
{
    const QTreeWidgetItem *node = m_tvwFavs->itemAt(pos);
    if (node)
        w.panes.setPanesToolTip(toolTipText(vardeckAddress(w.db.document(), tagOf(node))));
}

void FavoritesPane::showRightClickedFavorite()
{
    QTreeWidgetItem *node = w.popup.popupNode().item();
    if (node && node->treeWidget() == m_tvwFavs) {
        m_tvwFavs->clearSelection();
        m_tvwFavs->setCurrentItem(node);
        node->setSelected(true);
    }
    w.commands.tvwFavs_NodeClick();
}

void FavoritesPane::goToRow(int move)
{
    rr::goToRow(
        m_tvwFavs, true, move, [this] { return w.shown.editState() != EditState::Viewing; },
        [this] { w.commands.tvwFavs_NodeClick(); });
}

QMimeData *FavoritesPane::tvwFavs_OLEStartDrag(QTreeWidgetItem *pressed)
{
    return w.dragSources.startVardeckNodeDrag(pressed);
}

void FavoritesPane::tvwFavs_OLECompleteDrag()
{
    w.dragSources.endDrag();
}

// ----- drops -----

bool FavoritesPane::acceptsDrop(const QMimeData *data) const
{
    const DroppedItems dropped = droppedItems(data, w.drag);
    return w.db.document() && dropped.kind != DragKind::Folder && !dropped.wids.isEmpty();
}

void FavoritesPane::dropVardecks(const QMimeData *data)
{
    if (!acceptsDrop(data))
        return;
    // What was dropped is read while the drag is on; the favourites change, with their
    // save and any question it asks, once the drop has been delivered.
    QTimer::singleShot(0, this, [this, dropped = droppedItems(data, w.drag)] { addDropped(dropped); });
}

void FavoritesPane::addDropped(const DroppedItems &dropped)
{
    if (!windowUsable(this))
        return;
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
    const bool shownWasFavorite = m_favs.contains(w.shown.currentWID());
    const Favorites::DropResult result = m_favs.addDropped(*w.db, wids);
    prompt::tell(result.notices);
    refillViews(w.db.document());
    if (result.added == 0)
        return;
    w.changes.collectionChanged(StalePages::everyPage());
    if (!shownWasFavorite && m_favs.contains(w.shown.currentWID()))
        operationsOf<DetailsOperations>(w.window).showFavoriteMark(true);
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
        // Drags that are not ours: the tree takes none (it must not take in items of
        // other views).
        if (!acceptsDrop(drop->mimeData())) {
            drop->ignore();
            return true;
        }
        const bool here = watched == m_tvwFavs->viewport();
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
    if (watched == m_count)
        return event->type() == QEvent::MouseButtonPress &&
               static_cast<QMouseEvent *>(event)->button() == Qt::RightButton;
    if (watched == m_tvwFavs && event->type() == QEvent::KeyPress) {
        const auto *press = static_cast<QKeyEvent *>(event);
        const int key = press->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // Its question comes once the key's delivery is over.
            QTimer::singleShot(0, this, [this] { w.commands.tvwFavs_NodeClick(); });
            return true;
        }
        // The arrows, paging and typing the start of a name show the favourite they
        // reach, as a click does, once the tree has moved its selection.
        const bool typeAhead = !(press->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
                               !press->text().isEmpty() && press->text().at(0).isPrint();
        if (typeAhead || key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Home || key == Qt::Key_End ||
            key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            const QPersistentModelIndex before(m_tvwFavs->currentIndex());
            QTimer::singleShot(0, this, [this, before] {
                if (m_tvwFavs->currentIndex() != QModelIndex(before) && m_tvwFavs->currentItem()) {
                    selectOnly(m_tvwFavs, m_tvwFavs->currentItem());
                    w.commands.tvwFavs_NodeClick();
                }
            });
        }
        return false;
    }
    if (watched != m_tvwFavs->viewport())
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
