#pragma once
// Every node of the program's trees and every row of its lists keeps the identifier
// of its element (a folder's TID, a Vardeck's WID) as its tag, in column 0 under
// kTagRole. Handlers never hold on to elements: they find the element again by the
// tag, and a tag that names nothing any more (the element was deleted elsewhere) is
// an ordinary case, not an error. These are the one set of helpers for tags, the
// selection and the bold mark that the main window's panes and the dialogs share.
#include <QString>
#include <QStringList>
#include <QTreeWidgetItem>

class QTreeWidget;

namespace rr
{

inline constexpr int kTagRole = Qt::UserRole;

QString tagOf(const QTreeWidgetItem *item);
void setTag(QTreeWidgetItem *item, const QString &tag);
// The first node of the tree, in shown order at every level, whose tag equals tag
// ignoring case; nullptr when there is none or tag is empty.
QTreeWidgetItem *findByTag(const QTreeWidget *tree, const QString &tag);
// The current item when it is selected, else the first selected item.
QTreeWidgetItem *selectedItemOf(const QTreeWidget *tree);
// The tags of the top-level items whose selected state is set, first to last, trimmed,
// blank tags left out.
QStringList selectedRowIds(const QTreeWidget *list);
// Makes item the one selected item and the current item.
void selectOnly(QTreeWidget *tree, QTreeWidgetItem *item);
// Makes the node tagged tag the one selected and current, or, when the tree has none
// (an empty tag: no Vardeck), leaves nothing selected.
void highlightTagged(QTreeWidget *tree, const QString &tag);
// Every column of the item bold (or not).
void setBold(QTreeWidgetItem *item, bool bold);
// A folder node's path without the root's name: "\Top\Inner".
QString folderPath(const QTreeWidgetItem *node);

} // namespace rr
