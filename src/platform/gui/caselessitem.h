#pragma once
// The one sort rule of the program's trees and lists: a node sorts by the text of its
// view's sort column without regard to letter case ("duplicate" before "Very"), as the
// tree and list controls sort; texts equal but for case keep a fixed order. The text a
// node shows (and its tool tip) is cut to what a view can show (shownText): the view
// measures and elides it at every paint. The text it edits stays whole.
#include "platform/textutil.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>

namespace rr
{

class CaselessItem : public QTreeWidgetItem
{
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    // A sort of a large list compares each node's text some twenty times: the node
    // keeps the text of the column it was last compared by, as it holds it whole, until
    // that text changes, so a compare reads no item data and copies nothing.
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? qMax(0, treeWidget()->sortColumn()) : 0;
        if (const auto *caseless = dynamic_cast<const CaselessItem *>(&other))
            return lessText(sortText(column), caseless->sortText(column));
        return lessText(sortText(column), other.text(column));
    }
    QVariant data(int column, int role) const override
    {
        QVariant value = QTreeWidgetItem::data(column, role);
        if ((role == Qt::DisplayRole || role == Qt::ToolTipRole) && value.typeId() == QMetaType::QString &&
            static_cast<const QString *>(value.constData())->size() > kMostShownLetters)
            return shownText(value.toString());
        return value;
    }
    void setData(int column, int role, const QVariant &value) override
    {
        if (column == m_sortColumn && (role == Qt::DisplayRole || role == Qt::EditRole)) {
            m_sortColumn = -1;
            m_sortText = QString();
        }
        QTreeWidgetItem::setData(column, role, value);
    }

private:
    static bool lessText(const QString &mine, const QString &theirs)
    {
        const int order = caselessCompare(mine, theirs);
        return order != 0 ? order < 0 : mine < theirs;
    }
    const QString &sortText(int column) const
    {
        if (column != m_sortColumn) {
            m_sortText = QTreeWidgetItem::data(column, Qt::DisplayRole).toString();
            m_sortColumn = column;
        }
        return m_sortText;
    }

    mutable QString m_sortText;
    mutable int m_sortColumn = -1;
};

} // namespace rr
