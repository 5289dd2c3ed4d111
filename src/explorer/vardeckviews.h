#pragma once
// The shown folder's Vardecks, twice: the flat tree tvwWM under the folder tree and
// the list listVD (a report of six columns, or icons) in the right pane. Both are
// rebuilt from the document on every fill and sorted by name without regard to case
// (the list until the user sorts it by a column), each node and row tagged with its WID,
// drawn bold when the Vardeck is in the recent list, and pictured by the site icon
// kept under its WID in the window's Vardeck pictures.
//
// The part makes and keeps both views, the Move Vardeck button (cmdMoveVD) and the
// count under the trees ("Vardecks: " lbl(11) and the number lbl(12), which only it
// writes). Every row of the list is made by one builder, which holds the rules of its
// cells. The rest of the window reaches the views through the operations the part
// offers (shell/vardeckviewsoperations.h: restoreFolderListColumns,
// showHitsResetInFolderList…) and those of folderops.h (showVisitInFolderList…).
#include "explorer/vardeckrows.h"
#include "platform/xmldocument.h"
#include "shell/vardeckviewsoperations.h"
#include "storage/folderlistcolumns.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPersistentModelIndex>
#include <QStringList>
#include <functional>

class QIcon;
class QLabel;
class QMimeData;
class QListView;
class QPoint;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;

namespace rr
{

class DragSources;
class FolderTree;
class frmVardecks;
class qbButtons_H;

class VardeckViews : public QObject, public VardeckViewsOperations
{
    Q_OBJECT
public:
    explicit VardeckViews(frmVardecks &w);
    // The window's Vardeck views part (installExplorer makes it).
    static VardeckViews &of(const frmVardecks &w);

    // What the Explorer's handlers do to the views' nodes and rows; the views
    // themselves stay with the part (vardeckviews_rows.cpp).
    // The tree's node of the Vardeck, nullptr when it has none.
    QTreeWidgetItem *treeNodeOf(const QString &wid) const;
    bool treeHasNodes() const;
    // The node becomes the tree's current node and is selected.
    void selectTreeNode(QTreeWidgetItem *node);
    // A popup's show step: the right-clicked node, when it is one of the tree's, becomes
    // current, and the current node is selected.
    void selectPoppedTreeNode(QTreeWidgetItem *node);
    // The Vardeck's node leaves the tree, and no other node becomes the selected one;
    // false when the tree had no such node.
    bool removeTreeNode(const QString &wid);
    // The Vardeck's nodes show its new name, and the tree sorts it among the others.
    void renameVardeckNode(const QString &wid, const QString &name);
    // Go First, Previous, Next, Last in the tree (listviews.h: goToRow).
    void goToTreeRow(int move, const std::function<bool()> &editing, const std::function<void()> &shown);
    void clearVardeckTree();
    // Both views list nothing (the count is left as it is).
    void clearVardeckViews();
    // No node of the tree is selected.
    void unselectTreeNodes();
    // No node or row of either view is selected.
    void unselectVardeckRows();
    // The Vardeck's node and row are the selected ones in both views.
    void highlightVardeck(const QString &wid);
    void focusTree();
    // The tree takes the keyboard if it shows and is enabled; false when it does not.
    bool focusTreeIfShown();
    // The WID of the list's selected row, and of all its selected rows from the first.
    QString selectedListId() const;
    // The Vardeck of the tree's current node ("" for none).
    QString currentTreeId() const;
    QStringList selectedListIds() const;
    // The name the folder's list shows for a Vardeck, "" when it has no row there.
    QString listedName(const QString &wid) const;
    // The Tab key goes from the folder splitter through the folder tree, the Vardeck
    // tree and the two Move buttons, and from the folder list's page to the list.
    void placeInTabOrder(FolderTree &folders);
    // The tree, the list and its icons as the window's drag sources: treeStart gives
    // the data of a drag from the node pressed, listStart of the list's selected rows.
    void addDragSources(DragSources &sources, std::function<QMimeData *(QTreeWidgetItem *)> treeStart,
                        const std::function<QMimeData *()> &listStart);
    // The list and its icons take drops from outside the window; their drag events go
    // to filter.
    void takeDrops(QObject *filter);
    // Whether watched is where drops on the list or its icons arrive.
    bool isListDropArea(const QObject *watched) const;
    // The Move Vardeck button, which the enabling table and the shown Vardeck enable;
    // nullptr in a window put together without the part.
    static QWidget *moveButton(frmVardecks &w);

    // A visit count as the Hits column shows it: right-aligned, so that the column
    // sorts as text in the order of the numbers.
    static QString hitsCell(const QString &hits);

    void populateVardeckList(QTreeWidgetItem *folderNode);
    void fillVardeckViews(const QList<XmlNode> &vardecks, const XmlNode &folder);
    void populateVDList(const XmlNode &folder) override;
    void displayWM();
    void viewAsList() override;
    void viewAsIcons() override;
    // Reloads the window's Vardeck pictures from the shared icon folder and the database's icon folder.
    void populateIconList() override;

    // Which of the two views.
    enum class View { Tree, List, Both };
    // The views named list nothing, and the count under the trees says 0.
    void showNoVardecks(View views);
    // The count under the trees follows the shown folder as the document has it.
    void countShownFolder();

    // The operations the rest of the window calls (see shell/vardeckviewsoperations.h and
    // folderops.h).
    void showVisit(const QString &wid, const QString &stamp, const QString &hits);
    void showHitsResetInFolderList() override;
    void showTreeIcon(const QString &wid);
    void restoreFolderListColumns() override;
    void saveFolderListColumns() const override;

    void tvwWM_NodeClick(QTreeWidgetItem *node);
    void tvwWM_KeyPress(int keyAscii);
    // False when the press is to go no further.
    bool tvwWM_MouseDown(Qt::MouseButton button, const QPoint &pos);
    void tvwWM_MouseMove(const QPoint &pos);
    void listVD_DblClick();
    void listVD_KeyDown(int key);
    void listVD_GotFocus();
    bool listVD_MouseDown(Qt::MouseButton button, QTreeWidgetItem *row);
    void listVD_ColumnClick(int column);

    bool sortDescending() const { return m_descending; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildIconView();
    void sortByName();
    void arrangeIcons();
    void showCount(qsizetype count);
    // The document changed under the views: the folder of the tree is gone.
    void folderVanished();
    // The one builder of a row of the list, and of a node of the tree. They are made
    // outside their view: a fill gives the view all of them in one insertion, so no
    // cell set on them is announced to the view one by one.
    QTreeWidgetItem *makeListRow(const VardeckRowTexts &texts, const QIcon &icon, bool bold) const;
    QTreeWidgetItem *makeTreeNode(const VardeckRowTexts &texts, const QIcon &icon, bool bold) const;
    // Gives the view the items in the order by name (orderByName), all in one insertion,
    // and shows it sorted by name as a sort by its first column does.
    static void insertByName(QTreeWidget *view, const QList<QTreeWidgetItem *> &items, const QList<qsizetype> &order);
    // The fill of the folder the views show when the only change to it is one Vardeck
    // added at its end: the Vardeck's node and row join the views in the places a fill
    // gives them, and the rest is kept. False, with nothing done, otherwise.
    bool addAppendedVardeck(const QString &tid, const QList<XmlNode> &vardecks);

    // The folder both views were last filled with while their rows stay as that fill
    // ordered them: any row added, removed or moved elsewhere forgets it. The stock
    // pictures the fill gave rows without a site icon.
    QString m_filledTid;
    qint64 m_filledStock[2] = {0, 0};
    bool m_filling = false;
    // The picture kept in the window's Vardeck pictures under key, as a number that changes with it
    // (-1 for none).
    qint64 iconKey(const QString &key) const;

    frmVardecks &w;
    QTreeWidget *m_tree = nullptr;
    QTreeWidget *m_list = nullptr;
    qbButtons_H *m_moveButton = nullptr;
    QLabel *m_caption = nullptr;
    QLabel *m_count = nullptr;
    QListView *m_iconView = nullptr;
    // True while listVD shows its rows as icons (View as icons).
    bool m_iconViewActive = false;
    // The tree's current node before the first of the moving keys not yet followed by
    // the panel, and whether their check is queued.
    QPersistentModelIndex m_beforeKey;
    bool m_keyMoveQueued = false;
    bool m_descending = false;
};

} // namespace rr
