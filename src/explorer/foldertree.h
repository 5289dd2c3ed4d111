#pragma once
// The folder tree tvwTopics: one root node named after the document element, a node
// per FOLDER below it with the folder's TID as its tag. A click shows the folder
// (its Vardecks in tvwWM and listVD); a node's children are sorted by name, ignoring
// case, the first time it is expanded; a folder is renamed in place; the New and
// Rename Folder dialogs are opened from here.
#include "platform/xmldocument.h"

#include <QObject>
#include <QPersistentModelIndex>

class QTreeWidgetItem;
class QPoint;

namespace rr
{

class frmVardecks;
struct FolderCreated;
struct FolderRenamed;

// The tree selects the folder shown, or nothing when none is: what a drag's press, a
// drop or a right-click highlighted goes back, so that the next New Vardeck or Save
// goes where the panel says, and the next click on that folder is a first click.
void selectShownFolder(frmVardecks &w);

class FolderTree : public QObject
{
    Q_OBJECT
public:
    explicit FolderTree(frmVardecks &w);

    void populateTopicList(XmlDocument *doc);
    // Adds one folder and, recursively, its sub-folders as the last child of parent;
    // returns the new node.
    QTreeWidgetItem *populateTreeWithTopic(const XmlNode &folder, QTreeWidgetItem *parent, bool expand);
    void populateWMOnTopicNode();

    void tvwTopics_NodeClick(QTreeWidgetItem *node);
    void tvwTopics_Collapse(QTreeWidgetItem *node);
    void tvwTopics_Expand(QTreeWidgetItem *node);
    void tvwTopics_AfterLabelEdit(QTreeWidgetItem *node, const QString &newName);
    // False when the press is to go no further (the user kept an unsaved edit).
    bool tvwTopics_MouseDown(Qt::MouseButton button, const QPoint &pos);
    void tvwTopics_MouseMove();

    void mnuAddTopic_Click();
    void mnuEditModifyTopic_Click();
    void showNewFolderDialog(const QString &parentTID);
    void showRenameFolderDialog(const QString &folderTID);

    bool isRoot(const QTreeWidgetItem *node) const;
    // Rebuilds the tree once the running handler is over: the tree no longer matches
    // the document (a folder was removed elsewhere).
    void scheduleRebuild();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Leaving a modification of the shown Vardeck for another folder asks first;
    // false when the user keeps the edit. target becomes the tree's current node.
    bool endModification(QTreeWidgetItem *target);
    void folderCreated(const FolderCreated &created);
    void folderRenamed(const FolderRenamed &renamed);
    QIcon folderIcon(bool root) const;

    frmVardecks &w;
    QPersistentModelIndex m_beforeKey;
    bool m_rebuildPending = false;
};

} // namespace rr
