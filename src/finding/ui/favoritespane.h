#pragma once
// The favourites on screen: the Favorites tab (the flat tree tvwFavs, the Add and
// Delete buttons cmdFAdd and cmdFDelete, the count label lbl(2) "Favorites: ", the
// mark Picture4), the Favorites menu (the item array `first`, one item per favourite
// in list order), the details panel's favourite box, toggle button and marker, and
// drops of Vardecks on the tab. The pane makes the tab's controls and is the only one
// to touch them; the frame lays out those it is handed.
//
// The list itself is Favorites (finding/favorites.h), which the pane alone keeps; the
// count label is kept equal to it. Nothing of it is read from the document before it
// is needed: the list (a walk through every Vardeck) when the tab, the menu or a
// command needs it, the tree's nodes while the
// Favorites tab is shown (the tab fills an empty tree), the menu's items as the menu
// opens after a change. A start on another tab reads none of it.
#include "finding/favorites.h"
#include "finding/ui/findingwindow.h"

#include <QObject>
#include <QPoint>

class QLabel;
class QMimeData;
class QTreeWidget;
class QTreeWidgetItem;

namespace rr
{

struct DroppedItems;
class qbButtons_H;

class FavoritesPane : public QObject
{
    Q_OBJECT
public:
    explicit FavoritesPane(const FindingWindow &w);
    // The question before an edit was dropped was answered No: the highlight goes back
    // to the row of the Vardeck being edited, or to none ("": an add).
    void highlightRowOf(const QString &wid);

    // Rebuilds the list, the count label, the tree and the menu from the document,
    // each when it is next needed (the tree now when its tab is shown); null empties
    // them.
    void populateFavsList(XmlDocument *doc);
    // Redraws the tree from the list (after icons changed).
    void populateFavTreeWithChildren();

    // Makes the Vardeck a favourite, with the "already" and "added" messages.
    void addToFavorites(const QString &wid);
    void cmdFAdd_Click();
    void cmdFDelete_Click();
    // Opens the favourite of menu item first(index) in the browser and records the visit.
    void first_Click(int index);

    // Shows the node's Vardeck with its folder; nullptr stands for no node.
    void tvwFavs_NodeClick(QTreeWidgetItem *node);
    // The same for the node selected (the navigation commands and the popup select first).
    void showSelectedFavorite();
    // The Vardeck of the selected node ("" for a folder's node or none).
    QString selectedRow() const;
    void tvwFavs_MouseDown(Qt::MouseButton button, const QPoint &pos);
    void tvwFavs_MouseMove(const QPoint &pos);
    // The drag of the node the button was pressed on, whatever the tree has selected:
    // the window's drag state and the drag's data, or nullptr when no drag may start
    // (an edit is under way, no node, its Vardeck gone). It starts and ends through the
    // window's one start-drag, as every drag of the window does.
    QMimeData *tvwFavs_OLEStartDrag(QTreeWidgetItem *pressed);
    void tvwFavs_OLECompleteDrag();
    // Whether data is a drag of Vardecks that a drop on the tab would add.
    bool acceptsDrop(const QMimeData *data) const;
    // A drop of Vardecks on the tab or the tree: one Vardeck is added with the
    // messages of addToFavorites, several with one count message.
    void dropVardecks(const QMimeData *data);
    void addDropped(const DroppedItems &dropped);

    const Favorites &favorites() const { return m_favs; }

    // The tree no longer shows the favourites as they are: showing its tab fills it again.
    void favoritesOutOfDate();
    // The Favorites tab was shown: an empty tree is filled (a database being open).
    void tabShown();
    // The nodes of the Vardeck show its site icon as the image list has it now.
    void showIconOf(const QString &wid);
    // The favourites popup's show step: the node right-clicked, when it is one of the
    // tree's, is selected and shown as a click on it shows it.
    void showRightClickedFavorite();
    void enableButtons(bool enabled);
    // Go First (1), Previous (2), Next (3) or Last (4) in the tree.
    void goToRow(int move);
    void markRecentRows();
    // Whether the Favorites tab is the one shown.
    bool treeShown() const;

signals:
    // A favourite was opened from the Favorites menu: the finding panes' rows show
    // the recent list again.
    void favoriteOpened();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void wire();
    // After a command: its notices, the tree, menu and label again, and the details
    // panel's box and marker when the changed Vardeck is the shown one.
    void afterChange(const Favorites::Change &change);
    void refillViews(const XmlDocument *doc);
    void refillTree(const QList<FavoriteItem> &items);
    void refillMenu(const QList<FavoriteItem> &items);
    // Before the menu opens: its items again when the list changed since they were made.
    void menuAboutToShow();
    // The list read from the open document when it is owed.
    void ensureList();
    void showCount();

    const FindingWindow w;
    QTreeWidget *m_tvwFavs = nullptr;
    qbButtons_H *m_cmdFAdd = nullptr;
    qbButtons_H *m_cmdFDelete = nullptr;
    QLabel *m_count = nullptr; // lbl(2)
    QLabel *m_Picture4 = nullptr;
    Favorites m_favs;
    bool m_menuStale = false;
    bool m_listStale = false;
};

} // namespace rr
