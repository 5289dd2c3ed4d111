#pragma once
// The folder tree tvwTopics: one root node named after the document element, a node
// per FOLDER below it with the folder's TID as its tag. A click shows the folder
// (its Vardecks in tvwWM and listVD); a node's children are sorted by name, ignoring
// case, the first time it is expanded; a folder is renamed in place; the New and
// Rename Folder dialogs are opened from here. The part makes and keeps the tree and
// the Move folder button under it (cmdMoveFolder); the rest of the window reaches
// them through the operations it offers (shell/foldertreeoperations.h: selectRootFolder,
// folderPathOf…) and those of folderops.h.
#include "platform/xmldocument.h"
#include "shell/foldertreeoperations.h"

#include <QObject>
#include <QPersistentModelIndex>
#include <functional>
#include <optional>

class QMimeData;
class QMouseEvent;
class QTreeWidget;
class QTreeWidgetItem;
class QPoint;
class QWidget;

namespace rr
{

class DragSources;
class frmVardecks;
class qbButtons_H;
class TreeNodeRef;
struct FolderCreated;
struct FolderRenamed;

// The tree selects the folder shown, or nothing when none is: what a drag's press, a
// drop or a right-click highlighted goes back, so that the next New Vardeck or Save
// goes where the panel says, and the next click on that folder is a first click.
void selectShownFolder(frmVardecks &w);

class FolderTree : public QObject, public FolderTreeOperations
{
    Q_OBJECT
public:
    explicit FolderTree(frmVardecks &w);
    // The window's folder tree part (installExplorer makes it).
    static FolderTree &of(const frmVardecks &w);

    // The nodes, for the Explorer's handlers that work on folders (drags, deletions,
    // the editor's target folder); the tree itself stays with the part.
    // The root node, nullptr while the tree is empty.
    QTreeWidgetItem *root() const;
    // The node of the folder tid, nullptr when the tree has none.
    QTreeWidgetItem *nodeOf(const QString &tid) const;
    QTreeWidgetItem *selectedNode() const;
    QTreeWidgetItem *currentNode() const;
    // The node at pos of the tree's viewport, nullptr where there is none.
    QTreeWidgetItem *nodeAt(const QPoint &pos) const;
    // The selected node, as the popup state keeps it.
    TreeNodeRef selectedNodeRef() const;
    // A handle on node that reads as nothing once the node has gone.
    TreeNodeRef nodeRef(QTreeWidgetItem *node) const;
    // Whether node is one of this tree's (a node taken earlier may have gone).
    bool holds(const QTreeWidgetItem *node) const;
    // The node's position among the tree's nodes, counted from 1 in shown order; 0
    // when the tree has no such node.
    int shownPosition(const QTreeWidgetItem *node) const;

    // The node becomes the tree's current one, and the folder's node when the tree has it
    // (which is returned; nullptr when it has none and nothing changes).
    void selectNode(QTreeWidgetItem *node);
    QTreeWidgetItem *selectFolder(const QString &tid);
    // The folder's node becomes current, or no node is selected when the tree has none;
    // the tree stays scrolled where it was.
    void selectFolderOrNone(const QString &tid);
    // The folder's node leaves the tree, with the nodes under it.
    void removeFolderNode(const QString &tid);
    // The tree is empty (the database went, or it is filled again).
    void clearFolders();
    void setTreeShown(bool shown);
    // The tree is not drawn while a change of many nodes is under way.
    void holdPainting(bool held);
    void focusTree();
    // The tree takes the keyboard if it shows and is enabled; false when it does not.
    bool focusTreeIfShown();
    // The Tab key goes from before to the tree and from the tree to after.
    void placeInTabOrder(QWidget *before, QWidget *after);

    // The tree as the window's drag source and drop target: start gives the data of a
    // drag from the node pressed; the drag events over the tree go to dropFilter.
    void takeDrags(DragSources &sources, std::function<QMimeData *(QTreeWidgetItem *)> start, QObject *dropFilter);
    // Whether watched is where drops on the tree arrive.
    bool isDropArea(const QObject *watched) const;
    // The node drawn as the drop target (in the selection's colours), or none.
    void setDropHighlight(QTreeWidgetItem *node);
    void clearDropHighlight();
    QTreeWidgetItem *dropHighlight() const;
    // The Move folder button, which the enabling table and the shown folder enable;
    // nullptr in a window put together without the part.
    static QWidget *moveButton(frmVardecks &w);

    void populateTopicList(XmlDocument *doc) override;
    // Adds one folder and, recursively, its sub-folders as the last child of parent;
    // returns the new node.
    QTreeWidgetItem *populateTreeWithTopic(const XmlNode &folder, QTreeWidgetItem *parent, bool expand);
    void populateWMOnTopicNode() override;

    void tvwTopics_NodeClick(QTreeWidgetItem *node);
    void tvwTopics_Collapse(QTreeWidgetItem *node);
    void tvwTopics_Expand(QTreeWidgetItem *node);
    void tvwTopics_AfterLabelEdit(QTreeWidgetItem *node, const QString &newName);
    // False when the press is to go no further (the user kept an unsaved edit).
    bool tvwTopics_MouseDown(Qt::MouseButton button, const QPoint &pos);
    void tvwTopics_MouseMove();

    void mnuAddTopic_Click();
    void mnuEditModifyTopic_Click();
    // A popup's rename of the folder tid: the tree selects selectBack again (the node
    // selected when the popup opened; none: the selection stays) and the dialog opens.
    void renameChosenFolder(const QString &tid, QTreeWidgetItem *selectBack);
    void showNewFolderDialog(const QString &parentTID);
    void showRenameFolderDialog(const QString &folderTID);

    bool isRoot(const QTreeWidgetItem *node) const;
    // Rebuilds the tree once the running handler is over: the tree no longer matches
    // the document (a folder was removed elsewhere).
    void scheduleRebuild();

    // The operations the rest of the window calls (see shell/foldertreeoperations.h and
    // folderops.h).
    void selectRootFolder() override;
    std::optional<QString> folderPathOf(const QString &tid) const override;
    void clearFolderTrees() override;
    int nodeCount() const;
    void relistSelectedFolder();
    void showImportedFolder(const QString &tid);
    void hold(bool held);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The Index tab came forward: a Vardeck tree that lists nothing shows the folder
    // selected in the folder tree, unless that is the root or the folder shown.
    void indexTabShown();
    // Leaving a modification of the shown Vardeck for another folder asks first;
    // false when the user keeps the edit. target becomes the tree's current node.
    bool endModification(QTreeWidgetItem *target);
    // Whether node is the folder the window shows.
    bool isShownFolder(const QTreeWidgetItem *node) const;
    void leftButtonReleased(const QMouseEvent *release);
    void folderCreated(const FolderCreated &created);
    void folderRenamed(const FolderRenamed &renamed);
    QIcon folderIcon(bool root) const;

    frmVardecks &w;
    QTreeWidget *m_tree = nullptr;
    qbButtons_H *m_moveButton = nullptr;
    // The tree's current node before the first of the keys whose check is queued, and
    // whether one of them was Enter or Space.
    QPersistentModelIndex m_beforeKey;
    bool m_keyCheckQueued = false;
    bool m_keyShowsCurrent = false;
    // Where the left button went down last, which a release on the same node makes a click.
    QPersistentModelIndex m_pressed;
    QPersistentModelIndex m_highlight;
    bool m_rebuildPending = false;
    // While held: whether the tree showed when the hold began.
    std::optional<bool> m_shownBeforeHold;
};

} // namespace rr
