#pragma once
// State that the main window's handlers share with the popup commands, the dialogs
// and the drags: the edit state's values, what was right-clicked last, and what is
// being dragged.
#include "platform/xmldocument.h"
#include "web/detectedpage.h"

#include <QPersistentModelIndex>
#include <QPointer>
#include <QStringList>
#include <QTreeWidget>

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

// Recorded by the right-click handlers before a popup menu opens; read by the popup
// commands and the folder and move dialogs instead of arguments.
struct PopupState {
    // Which entry list showed the list popup: "listVD", "listPop", "lstSearch" or "lstSrch".
    QString popupListName;
    // The tree node under the last right-click in tvwTopics, tvwWM or tvwFavs.
    TreeNodeRef popupNode;
    // The node of tvwTopics that was selected when the folder popup opened.
    TreeNodeRef popupSelectedNode;
    // The TID of the folder a folder dialog works on, or of the one a moved Vardeck
    // comes from. Identifiers, never elements, are kept between events: a handler
    // looks the element up when it runs, and finds nothing once it is gone.
    QString popupFolderTID;
    // The WID of the one Vardeck to move; "" means the selected rows.
    QString moveVDWID;
    QString moveFromTID;
    bool renameFromPopup = false;
    bool deleteFromPopup = false;
    bool deleteFolderFromPopup = false;
    // The Vardeck name the home-page messages use.
    QString homePageName;
    // The address the duplicates manager checks; "" checks the whole database.
    QString dupCheckAddress;
};

// Drags inside the window carry no data of their own: the source records here what
// is dragged and every drop target reads it.
struct DragState {
    // "folder", "Vardeck", "VardeckMulti" or "".
    QString dragType;
    QString dragWID;
    QStringList multiDragColl;
    int dragFolderIndex = 0;
    QString dragFolderTID;
};

} // namespace rr
