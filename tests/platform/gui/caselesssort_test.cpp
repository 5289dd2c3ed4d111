// The sort rule of the trees and lists: caseless by the sort column's whole text, and
// a node whose text changed sorts by its new text.
#include "platform/gui/caselessitem.h"

#include <QTreeWidget>
#include <gtest/gtest.h>

#include <functional>

using namespace rr;

namespace
{

// The whole texts of column 0 from the top, after a sort by column.
QStringList sortedTexts(QTreeWidget &view, int column)
{
    view.sortItems(column, Qt::AscendingOrder);
    QStringList texts;
    for (int i = 0; i < view.topLevelItemCount(); ++i)
        texts << view.topLevelItem(i)->QTreeWidgetItem::data(0, Qt::DisplayRole).toString();
    return texts;
}

} // namespace

TEST(CaselessSort, aSortReadsTheTextEachNodeHoldsAtThatSort)
{
    const QString longA = QString(5000, QLatin1Char('x')) + QLatin1Char('a');
    const QString longB = QString(5000, QLatin1Char('x')) + QLatin1Char('B');
    struct Case {
        const char *what;
        QStringList texts;
        std::function<void(QTreeWidget &)> between; // after a first sort by column 0
        int column;
        QStringList sorted;
    };
    const Case cases[] = {
        {"letter case aside, then capitals first", {"b", "B", "a"}, {}, 0, {"a", "B", "b"}},
        {"texts past what a view shows compared whole", {longB, longA}, {}, 0, {longA, longB}},
        {"a text set after a sort",
         {"a", "b", "c"},
         [](QTreeWidget &view) { view.topLevelItem(0)->setText(0, "z"); },
         0,
         {"b", "c", "z"}},
        {"a text set through the edit role",
         {"a", "b", "c"},
         [](QTreeWidget &view) { view.topLevelItem(2)->setData(0, Qt::EditRole, "0"); },
         0,
         {"0", "a", "b"}},
        {"another column's text",
         {"a", "b", "c"},
         [](QTreeWidget &view) {
             for (int i = 0; i < 3; ++i)
                 view.topLevelItem(i)->setText(1, QString::number(3 - i));
         },
         1,
         {"c", "b", "a"}},
        {"a node of the plain kind among them",
         {"b", "c"},
         [](QTreeWidget &view) { new QTreeWidgetItem(&view, QStringList{"a"}); },
         0,
         {"a", "b", "c"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QTreeWidget view;
        view.setColumnCount(2);
        for (const QString &text : c.texts)
            new CaselessItem(&view, QStringList{text});
        sortedTexts(view, 0);
        if (c.between)
            c.between(view);
        EXPECT_EQ(sortedTexts(view, c.column), c.sorted);
    }
}
