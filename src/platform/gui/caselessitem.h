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
    bool operator<(const QTreeWidgetItem &other) const override
    {
        const int column = treeWidget() ? qMax(0, treeWidget()->sortColumn()) : 0;
        const QString mine = text(column), theirs = other.text(column);
        const int caseless = caselessCompare(mine, theirs);
        return caseless != 0 ? caseless < 0 : mine < theirs;
    }
    QVariant data(int column, int role) const override
    {
        QVariant value = QTreeWidgetItem::data(column, role);
        if ((role == Qt::DisplayRole || role == Qt::ToolTipRole) && value.typeId() == QMetaType::QString &&
            value.toString().size() > kMostShownLetters)
            return shownText(value.toString());
        return value;
    }
};

} // namespace rr
