#pragma once
// Every node of the window's trees and every row of its lists keeps the identifier of
// its element (a folder's TID, a Vardeck's WID) as its tag. Handlers never hold on to
// elements: they find the element again by the tag in the open document, and a tag
// that names nothing any more (the element was deleted elsewhere) is an ordinary
// case, not an error.
#include "platform/textutil.h"
#include "platform/xmldocument.h"

#include <QIcon>
#include <QMap>
#include <QString>
#include <QTreeWidgetItem>

class QTreeWidget;

namespace rr
{

class frmVardecks;

inline constexpr int kTagRole = Qt::UserRole;

QString tagOf(const QTreeWidgetItem *item);
void setTag(QTreeWidgetItem *item, const QString &tag);
// The first node of the tree, in shown order at every level, whose tag equals tag
// ignoring case; nullptr when there is none or tag is empty.
QTreeWidgetItem *findByTag(const QTreeWidget *tree, const QString &tag);
// The current item when it is selected, else the first selected item.
QTreeWidgetItem *selectedItemOf(const QTreeWidget *tree);

// The open database's document, or nullptr when none is open.
XmlDocument *documentOf(const frmVardecks &w);
// The element with this identifier when it is an element of that name ("FOLDER",
// "VARDECK"); a null node otherwise.
XmlNode elementById(const frmVardecks &w, const QString &id, const QString &elementName);
// The FOLDER holding a VARDECK (VARDECK in VARDECKS in FOLDER), or a null node.
XmlNode folderElementOf(const XmlNode &vardeck);

// An icon of an image list that shows selectedKey's picture while its item is selected.
QIcon pairedIcon(const QMap<QString, QIcon> &imageList, const QString &key, const QString &selectedKey);
// The picture of key, or of fallbackKey when the list has no key (the generic
// Vardeck pictures stand in for a WID without a site icon).
QIcon vardeckIcon(const QMap<QString, QIcon> &imageList, const QString &wid, bool withSelectedPicture);

// True when no edit is under way or the user agrees to drop it ("You are about to
// lose unsaved changes - do you wish to continue?").
bool confirmLoseChanges(frmVardecks &w);
// Resets the read-only face of the details panel: no Vardeck shown, the address, size
// and hit labels empty, the details tabs shown or hidden.
void setNonEditableFields(frmVardecks &w, bool visible);

} // namespace rr
