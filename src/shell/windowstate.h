#pragma once
// State that the main window's handlers share with the popup commands, the dialogs
// and the drags: the edit state's values, what was right-clicked last, and what is
// being dragged. Each is written through operations named for what happened.
#include "platform/gui/entrylist.h"
#include "platform/xmldocument.h"
#include "web/detectedpage.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QStringList>
#include <QTreeWidget>
#include <utility>

namespace rr
{

// What the window is doing with the details panel: showing a Vardeck (or none),
// modifying the shown one, or adding a new one.
enum class EditState { Viewing, Modifying, Adding };

// A node of one of the window's trees that stays safe to hold: once the node is
// removed, item() gives nullptr instead of a dangling pointer.
class TreeNodeRef
{
public:
    TreeNodeRef() = default;
    TreeNodeRef(QTreeWidget *tree, QTreeWidgetItem *item)
        : m_tree(tree), m_index(tree && item ? tree->indexFromItem(item) : QModelIndex())
    {
    }
    QTreeWidget *tree() const { return m_tree; }
    QTreeWidgetItem *item() const { return m_tree && m_index.isValid() ? m_tree->itemFromIndex(m_index) : nullptr; }
    bool isNull() const { return item() == nullptr; }
    void clear() { *this = TreeNodeRef(); }

private:
    QPointer<QTreeWidget> m_tree;
    QPersistentModelIndex m_index;
};

// What was right-clicked last, recorded by the right-click handlers before a popup
// menu opens and by the popup commands before they hand over; read by the popup
// commands that run from the menu later. A value a command needs at once travels as
// its argument, not through here. Each operation says what happened and records all
// it means at once; nothing else writes it.
class PopupState
{
public:
    PopupState() = default;
    PopupState(const PopupState &) = delete;
    PopupState &operator=(const PopupState &) = delete;

    // Which entry list showed the list popup (the search results until one did).
    EntryList popupList() const { return m_popupList; }
    // The tree node under the last right-click in tvwTopics, tvwWM or tvwFavs.
    const TreeNodeRef &popupNode() const { return m_popupNode; }
    // The node of tvwTopics that was selected when the folder popup opened.
    const TreeNodeRef &popupSelectedNode() const { return m_popupSelectedNode; }
    // The TID of the folder a folder dialog works on, or of the one a moved Vardeck
    // comes from. Identifiers, never elements, are kept between events: a handler
    // looks the element up when it runs, and finds nothing once it is gone.
    const QString &popupFolderTID() const { return m_popupFolderTID; }
    // The text of the label, notes or status panel last right-clicked: what Copy copies.
    const QString &copyText() const { return m_copyText; }

    // A press of any button in an entry list: the list popup acts on that list.
    void listPressed(EntryList list) { m_popupList = list; }
    // A right-click in a tree, on node or beside every node (nullptr).
    void nodeRightClicked(QTreeWidget *tree, QTreeWidgetItem *node) { m_popupNode = TreeNodeRef(tree, node); }
    // A right-click on a node of the folder tree, while selected was selected; tid is the
    // node's folder ("" for the root), which the folder dialogs then work on.
    void folderRightClicked(QTreeWidget *tree, QTreeWidgetItem *node, QTreeWidgetItem *selected, const QString &tid)
    {
        m_popupNode = TreeNodeRef(tree, node);
        m_popupSelectedNode = TreeNodeRef(tree, selected);
        m_popupFolderTID = tid;
    }
    // A label, the notes or a status panel right-clicked, showing text.
    void textRightClicked(const QString &text) { m_copyText = text; }

    // A folder dialog opens on the folder tid ("" none).
    void folderChosen(const QString &tid) { m_popupFolderTID = tid; }
    // The move dialog opens for one Vardeck from the folder fromTID.
    void vardeckMoveChosen(const QString &fromTID) { m_popupFolderTID = fromTID; }

    // The database went: no node, list, folder or Vardeck right-clicked is remembered
    // (the text for Copy stays).
    void forget()
    {
        m_popupList = EntryList::SearchResults;
        m_popupNode.clear();
        m_popupSelectedNode.clear();
        m_popupFolderTID.clear();
    }

private:
    EntryList m_popupList = EntryList::SearchResults;
    TreeNodeRef m_popupNode;
    TreeNodeRef m_popupSelectedNode;
    QString m_popupFolderTID;
    QString m_copyText;
};

// What one of the window's own drags carries: a folder, one Vardeck, or Vardecks of a
// list (none or several).
enum class DragKind { None, Folder, Vardeck, VardeckMulti };

// Drags inside the window carry no state of their own: the one start-drag
// (shell/dragsources.h) records here what is dragged, and every drop target reads it.
class DragState
{
public:
    DragState() = default;
    DragState(const DragState &) = delete;
    DragState &operator=(const DragState &) = delete;

    // The kind of the window's drag under way, DragKind::None while there is none. The
    // rest keep what the last drag set after it ends.
    DragKind dragKind() const { return m_dragKind; }
    const QString &dragWID() const { return m_dragWID; }
    const QStringList &multiDragColl() const { return m_multiDragColl; }
    // The dragged folder's node, counted from 1 in the folder tree's shown order.
    int dragFolderIndex() const { return m_dragFolderIndex; }
    const QString &dragFolderTID() const { return m_dragFolderTID; }

private:
    friend class DragSources;
    DragKind m_dragKind = DragKind::None;
    QString m_dragWID;
    QStringList m_multiDragColl;
    int m_dragFolderIndex = 0;
    QString m_dragFolderTID;
};

} // namespace rr
