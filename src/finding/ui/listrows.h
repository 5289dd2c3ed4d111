#pragma once
// What the finding panes' lists and trees share: each row and node keeps its
// Vardeck's WID as its tag (the same item role the folder tree uses for a TID), is
// drawn bold for a recently opened Vardeck and pictured by the site icon kept under
// its WID; and a chosen row's Vardeck is shown in the details panel together with its
// folder, which then becomes the shown folder (currentTID).
#include "finding/listcells.h"
#include "platform/xmldocument.h"

#include <QIcon>
#include <QMap>
#include <QString>
#include <QStringList>

class QMimeData;
class QTreeWidget;
class QTreeWidgetItem;

namespace rr
{

class frmVardecks;

namespace findingui
{

// False once the window a pane belongs to (its parent) is being destroyed: its
// controls may be gone then, while their last events still reach the pane's filter.
bool windowUsable(const QObject *pane);

// The item role of a node's or row's tag, in column 0, as in every tree of the window.
inline constexpr int kTagRole = Qt::UserRole;

QString tagOf(const QTreeWidgetItem *item);
void setTag(QTreeWidgetItem *item, const QString &tag);
// Every column of the row bold (or not).
void setBold(QTreeWidgetItem *item, bool bold);
// A new row of a list or a flat tree: its cells, tag, bold mark and picture.
QTreeWidgetItem *addRow(QTreeWidget *list, const QStringList &cells, const QString &wid, bool bold, const QIcon &icon);
// The same row not yet in a list: long lists add all their rows at once
// (addTopLevelItems), which costs one insertion instead of one per row.
QTreeWidgetItem *makeRow(const QStringList &cells, const QString &wid, bool bold, const QIcon &icon);

// Draws the rows of the search lists and the popular list and the nodes of the
// favourites tree bold exactly when their Vardeck is in the recent list.
void markRecentRows(frmVardecks &w);

// The site icon kept under the WID, else the stock Vardeck picture; withSelected
// pairs the stock picture with "SelVardeck" for a selected node (the trees).
QIcon vardeckIcon(const frmVardecks &w, const QString &wid, bool withSelected);

// vardeckIcon for many rows: the stock picture is made once.
class VardeckIcons
{
public:
    VardeckIcons(const frmVardecks &w, bool withSelected);
    QIcon of(const QString &wid) const;

private:
    const QMap<QString, QIcon> &m_images;
    QIcon m_stock;
};

// The open database's document, or nullptr when none is open.
XmlDocument *openDocument(const frmVardecks &w);
// The VARDECK with this WID (surrounding blanks ignored), or a null node.
XmlNode vardeckById(const frmVardecks &w, const QString &wid);

// True when a Vardeck is being added or updated (txtMode "add" or "mod").
bool editing(const frmVardecks &w);
// True when nothing is being edited or the user agrees to drop the edit.
bool confirmLoseChanges(frmVardecks &w);

// The current row when it is selected, else the first selected row.
QTreeWidgetItem *selectedRow(const QTreeWidget *list);
// Makes row the one selected row and the current row.
void selectOnly(QTreeWidget *list, QTreeWidgetItem *row);

// The first node of the folder tree, in order, whose tag is this TID ignoring case.
QTreeWidgetItem *folderNodeByTid(const QTreeWidget *tvwTopics, const QString &tid);
// A folder node's path without the root's name: "\Top\Inner".
QString folderPath(const QTreeWidgetItem *node);

// Shows the Vardeck in the details panel with its folder: the folder's Vardecks in
// the entry list, its name in lblTName, its path in the status bar, the details tab
// in front; the folder becomes currentTID, and the Vardeck selectedWID. False (and
// nothing changed) when no Vardeck has that WID any more.
bool showVardeckWithFolder(frmVardecks &w, const QString &wid);

// Sorts a list's rows by one column's text ignoring case, as the list views do; rows
// with equal texts keep their order.
void sortRows(QTreeWidget *list, int column, bool descending);

// Drags of Vardecks inside the window carry this private type, with the dragged WIDs
// as UTF-8 text, one per line. The window's own drag state (DragState) tells one
// dragged Vardeck from several.
inline constexpr char kVardeckDragMimeType[] = "application/x-razuzezu-vardeck-drag";
QMimeData *vardeckDragData(const QStringList &wids);
// The WIDs a drag carries; empty when it is no drag of Vardecks.
QStringList draggedVardecks(const QMimeData *data);

} // namespace findingui
} // namespace rr
