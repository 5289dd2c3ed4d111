#include "explorer/nodetags.h"

#include "platform/prompt.h"
#include "shell/frmvardecks.h"
#include "shell/tabstrip.h"
#include "storage/xmldatabase.h"

#include <QLineEdit>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace rr
{

QString tagOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, kTagRole).toString() : QString();
}

void setTag(QTreeWidgetItem *item, const QString &tag)
{
    item->setData(0, kTagRole, tag);
}

QTreeWidgetItem *findByTag(const QTreeWidget *tree, const QString &tag)
{
    if (!tree || tag.isEmpty())
        return nullptr;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget *>(tree)); *it; ++it) {
        if (sameText(tagOf(*it), tag))
            return *it;
    }
    return nullptr;
}

QTreeWidgetItem *selectedItemOf(const QTreeWidget *tree)
{
    if (!tree)
        return nullptr;
    QTreeWidgetItem *current = tree->currentItem();
    if (current && current->isSelected())
        return current;
    const QList<QTreeWidgetItem *> selected = tree->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

XmlDocument *documentOf(const frmVardecks &w)
{
    XmlDocument *doc = w.dbXML ? w.dbXML->getTheDOM() : nullptr;
    return doc && doc->isLoaded() ? doc : nullptr;
}

XmlNode elementById(const frmVardecks &w, const QString &id, const QString &elementName)
{
    const XmlDocument *doc = documentOf(w);
    if (!doc || id.trimmed().isEmpty())
        return {};
    const XmlNode node = doc->nodeFromID(id.trimmed());
    return node && node.nodeName() == elementName ? node : XmlNode();
}

XmlNode folderElementOf(const XmlNode &vardeck)
{
    const XmlNode list = vardeck ? vardeck.parentNode() : XmlNode();
    if (!list || list.nodeName() != QLatin1String("VARDECKS"))
        return {};
    const XmlNode folder = list.parentNode();
    return folder && folder.nodeName() == QLatin1String("FOLDER") ? folder : XmlNode();
}

QIcon pairedIcon(const QMap<QString, QIcon> &imageList, const QString &key, const QString &selectedKey)
{
    QIcon icon;
    const QIcon normal = imageList.value(key);
    const QIcon selected = imageList.value(selectedKey);
    for (const QSize &size : normal.availableSizes())
        icon.addPixmap(normal.pixmap(size), QIcon::Normal);
    if (normal.availableSizes().isEmpty() && !normal.isNull())
        icon.addPixmap(normal.pixmap(16), QIcon::Normal);
    if (!selected.isNull())
        icon.addPixmap(selected.pixmap(16), QIcon::Selected);
    return icon;
}

QIcon vardeckIcon(const QMap<QString, QIcon> &imageList, const QString &wid, bool withSelectedPicture)
{
    if (!wid.isEmpty() && imageList.contains(wid))
        return imageList.value(wid);
    if (withSelectedPicture)
        return pairedIcon(imageList, QStringLiteral("Vardeck"), QStringLiteral("SelVardeck"));
    return imageList.value(QStringLiteral("Vardeck"));
}

bool confirmLoseChanges(frmVardecks &w)
{
    if (w.txtMode->text().isEmpty())
        return true;
    return prompt::askYesNo(QStringLiteral("You are about to lose unsaved changes - do you wish to continue?"),
                            MsgIcon::None, QStringLiteral("Unsaved changes"));
}

void setNonEditableFields(frmVardecks &w, bool visible)
{
    w.lblWName->setVisible(visible);
    w.setWNameCaption(QStringLiteral("No Vardeck selected"));
    w.lblWName->setVisible(false);
    w.lblAddress->setText(QString());
    w.tabInfo->setVisible(visible);
    w.lblFileSize->setText(QString());
    w.lbl(14)->setText(QString());
}

} // namespace rr
