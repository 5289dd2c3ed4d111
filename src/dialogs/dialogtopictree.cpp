#include "dialogs/dialogtopictree.h"
#include "storage/record.h"

#include "platform/gui/caselessitem.h"
#include "platform/gui/itemtags.h"

#include "platform/xmldocument.h"

#include <QStyle>

namespace rr
{
namespace
{

constexpr int kOrderRole = Qt::UserRole + 1;
constexpr int kSortedRole = Qt::UserRole + 2;

bool isAncestor(const QTreeWidgetItem *ancestor, const QTreeWidgetItem *item)
{
    for (const QTreeWidgetItem *p = item ? item->parent() : nullptr; p; p = p->parent()) {
        if (p == ancestor)
            return true;
    }
    return false;
}

} // namespace

DialogTopicTree::DialogTopicTree(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("tvwTopicList"));
    setHeaderHidden(true);
    setColumnCount(1);
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Where the keyboard is shows: the tree's frame takes the selection colour while the
    // tree has the focus (the dialog's default button has a frame of its own).
    setStyleSheet(QStringLiteral("QTreeView#tvwTopicList { border: 1px solid palette(mid); }"
                                 "QTreeView#tvwTopicList:focus { border: 2px solid palette(highlight); }"));
    connect(this, &QTreeWidget::itemExpanded, this, &DialogTopicTree::nodeExpanded);
    connect(this, &QTreeWidget::itemCollapsed, this, &DialogTopicTree::nodeCollapsed);
    connect(this, &QTreeWidget::currentItemChanged, this, &DialogTopicTree::pictureFollowsCurrent);
}

QTreeWidgetItem *DialogTopicTree::root() const
{
    return topLevelItemCount() ? topLevelItem(0) : nullptr;
}

bool DialogTopicTree::isRoot(const QTreeWidgetItem *item)
{
    return item && !item->parent();
}

QString DialogTopicTree::tag(const QTreeWidgetItem *item)
{
    return identifierOf(tagOf(item));
}

void DialogTopicTree::setPicture(QTreeWidgetItem *item, bool selected)
{
    QStyle::StandardPixmap picture = QStyle::SP_DriveHDIcon;
    if (!isRoot(item))
        picture = selected ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon;
    item->setIcon(0, style()->standardIcon(picture));
}

void DialogTopicTree::populate(const XmlDocument &document)
{
    const QSignalBlocker blocker(this);
    clear();
    m_created = 0;
    const XmlNode top = document.documentElement();
    auto *rootNode = new CaselessItem(this, QStringList{top.nodeName()});
    rootNode->setData(0, kOrderRole, m_created++);
    setPicture(rootNode, false);

    // Depth first, so that the fill order is document order.
    struct Pending {
        XmlNode element;
        QTreeWidgetItem *parent;
    };
    QList<Pending> stack;
    const QList<XmlNode> topFolders = top.childElements();
    for (auto it = topFolders.rbegin(); it != topFolders.rend(); ++it)
        stack.append({*it, rootNode});
    while (!stack.isEmpty()) {
        const Pending next = stack.takeLast();
        auto *node = new CaselessItem(next.parent, QStringList{next.element.childText(tag::Name)});
        setTag(node, next.element.attribute(tag::Tid));
        node->setData(0, kOrderRole, m_created++);
        setPicture(node, false);
        const QList<XmlNode> subfolders = next.element.child(tag::SubFolders).childElements();
        for (auto it = subfolders.rbegin(); it != subfolders.rend(); ++it)
            stack.append({*it, node});
    }
    rootNode->sortChildren(0, Qt::AscendingOrder);
    rootNode->setData(0, kSortedRole, true);
    rootNode->setExpanded(true);
}

void populateDialogTopicTree(const XmlDocument &document, DialogTopicTree *tree)
{
    tree->populate(document);
}

QTreeWidgetItem *DialogTopicTree::findByTag(const QString &tid) const
{
    if (tid.isEmpty())
        return nullptr;
    QTreeWidgetItem *found = nullptr;
    for (QTreeWidgetItemIterator it(const_cast<DialogTopicTree *>(this)); *it; ++it) {
        QTreeWidgetItem *item = *it;
        if (tag(item) == tid && (!found || item->data(0, kOrderRole).toInt() < found->data(0, kOrderRole).toInt()))
            found = item;
    }
    return found;
}

QTreeWidgetItem *DialogTopicTree::selectedNode() const
{
    return currentItem() ? currentItem() : root();
}

void DialogTopicTree::selectNode(QTreeWidgetItem *item)
{
    if (!item)
        return;
    for (QTreeWidgetItem *p = item->parent(); p; p = p->parent())
        p->setExpanded(true);
    setCurrentItem(item);
    scrollToItem(item);
}

void DialogTopicTree::nodeExpanded(QTreeWidgetItem *item)
{
    // Once sorted, a node stays sorted.
    if (item->childCount() > 1 && !item->data(0, kSortedRole).toBool()) {
        item->setData(0, kSortedRole, true);
        item->sortChildren(0, Qt::AscendingOrder);
    }
}

void DialogTopicTree::nodeCollapsed(QTreeWidgetItem *item)
{
    // A selection hidden inside the collapsed branch moves onto the branch, so that
    // the dialog never acts on a node the user cannot see.
    if (isAncestor(item, currentItem()))
        setCurrentItem(item);
}

void DialogTopicTree::pictureFollowsCurrent(QTreeWidgetItem *current, QTreeWidgetItem *previous)
{
    if (previous)
        setPicture(previous, false);
    if (current)
        setPicture(current, true);
}

} // namespace rr
