#pragma once
// What the finding panes' lists and trees share: each row and node keeps its
// Vardeck's WID as its tag (platform/gui/itemtags.h, as every tree of the window), is
// drawn bold for a recently opened Vardeck and pictured by the site icon kept under
// its WID (shell/imagelists.h); and a chosen row's Vardeck is shown in the details
// panel together with its folder, which then becomes the shown folder.
#include "finding/listcells.h"
#include "platform/gui/itemtags.h"
#include "platform/xmldocument.h"
#include "shell/imagelists.h"

#include <QIcon>
#include <QString>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

namespace rr
{

class OpenDatabase;
struct FindingWindow;

namespace findingui
{

// False once the window a pane belongs to (its parent) is being destroyed: its
// controls may be gone then, while their last events still reach the pane's filter.
bool windowUsable(const QObject *pane);

// A new row of a list or a flat tree: its cells, tag, bold mark and picture.
QTreeWidgetItem *addRow(QTreeWidget *list, const QStringList &cells, const QString &wid, bool bold, const QIcon &icon);
// The same row not yet in a list: long lists add all their rows at once
// (addTopLevelItems), which costs one insertion instead of one per row.
QTreeWidgetItem *makeRow(const QStringList &cells, const QString &wid, bool bold, const QIcon &icon);

// Draws the list's rows bold exactly when their Vardeck is in the recent list.
void markRecentRows(QTreeWidget *list);

// Removes the rows whose Vardeck the open document no longer holds; nothing stays
// selected, as no Vardeck is shown.
void dropRowsOfGone(const OpenDatabase &db, QTreeWidget *list);

// Shows the Vardeck in the details panel with its folder: the folder's Vardecks in
// the entry list, its name in lblTName, its path in the status bar, the details tab
// in front; the folder becomes the shown one, and the Vardeck selectedWID. False (and
// nothing changed) when no Vardeck has that WID any more.
bool showVardeckWithFolder(const FindingWindow &w, const QString &wid);

// Sorts a list's rows by one column's text ignoring case, as the list views do; rows
// with equal texts keep their order.
void sortRows(QTreeWidget *list, int column, bool descending);

} // namespace findingui
} // namespace rr
