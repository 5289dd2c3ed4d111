// A report list's columns sized to their texts when first seen, within the list, and
// the widths somebody chose kept.
#include "platform/gui/columnfit.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

QList<int> widths(const QTreeWidget &list)
{
    QList<int> out;
    for (int column = 0; column < list.columnCount(); ++column)
        out << list.header()->sectionSize(column);
    return out;
}

// What a column needs to show its widest text in full.
int textWidth(const QTreeWidget &list, const QString &text)
{
    return list.fontMetrics().horizontalAdvance(text);
}

struct ColumnFitTest : ::testing::Test {
    QTreeWidget list;
    ColumnFit *fit = new ColumnFit(&list);
    const QString longAddress = QString("https://www.example.org/") + QString(40, 'a');

    ColumnFitTest()
    {
        list.setRootIsDecorated(false);
        list.setHeaderLabels({"Name", "Address", "Created date", "Hits", "Description"});
        list.header()->setStretchLastSection(false);
        list.resize(700, 300);
    }
    void addRow(const QStringList &cells) { new QTreeWidgetItem(&list, cells); }
    void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }
};

} // namespace

TEST(ColumnShares, allFitWhenTheyCanElseTheNarrowFitAndTheWideShareTheRest)
{
    EXPECT_EQ(ColumnFit::shareOut({40, 60, 90}, 600, 20), QList<int>({40, 60, 90}));
    EXPECT_EQ(ColumnFit::shareOut({40, 300, 500}, 600, 20), QList<int>({40, 280, 280}));
    EXPECT_EQ(ColumnFit::shareOut({500, 40, 300}, 600, 20), QList<int>({280, 40, 280})) << "in any order";
    EXPECT_EQ(ColumnFit::shareOut({100, 100}, 0, 20), QList<int>({20, 20})) << "never below the least";
    EXPECT_TRUE(ColumnFit::shareOut({}, 100, 20).isEmpty());
}

TEST_F(ColumnFitTest, theFirstShowWithRowsFitsEachColumnToItsTextsWithinTheList)
{
    list.show();
    settle();
    EXPECT_EQ(widths(list), QList<int>(5, list.header()->defaultSectionSize())) << "nothing to fit yet";
    EXPECT_FALSE(fit->fitted());

    list.resize(1000, 300);
    addRow({"Tide tables", longAddress, "06 Dec 2026", "     1", "x"});
    addRow({"Harbour", "http://h.example/", "07 Dec 2026", "    12", ""});
    settle();
    ASSERT_TRUE(fit->fitted());
    const QList<int> fitted = widths(list);
    EXPECT_GE(fitted[1], textWidth(list, longAddress)) << "the address is shown whole";
    EXPECT_GE(fitted[0], textWidth(list, "Tide tables"));
    EXPECT_GE(fitted[3], textWidth(list, "Hits"));
    EXPECT_LT(fitted[3], 60) << "a column of short counts is narrow";
    int total = 0;
    for (int width : fitted)
        total += width;
    EXPECT_LE(total, list.viewport()->width());
    EXPECT_FALSE(fit->isKept(3)) << "the fit's width is nobody's choice";

    // Later fills keep the widths.
    list.clear();
    addRow({QString(80, 'n'), "a", "b", "c", "d"});
    settle();
    EXPECT_EQ(widths(list), fitted);
}

TEST_F(ColumnFitTest, widthsSomebodyChoseAreKeptAndTheOthersShareWhatIsLeft)
{
    // Restored from the settings before the list is first shown.
    list.header()->resizeSection(2, 123);
    addRow({"Tide tables", longAddress + longAddress + longAddress, "06 Dec 2026", "1", longAddress + longAddress});
    list.show();
    settle();
    ASSERT_TRUE(fit->fitted());
    const QList<int> fitted = widths(list);
    EXPECT_EQ(fitted[2], 123);
    EXPECT_TRUE(fit->isKept(2));
    EXPECT_GE(fitted[0], textWidth(list, "Tide tables")) << "a narrow column gets its width";
    EXPECT_LT(fitted[1], textWidth(list, longAddress + longAddress)) << "too wide: it shares";
    EXPECT_NEAR(fitted[1], fitted[4], 1) << "the two wide ones share equally";
    int total = 0;
    for (int width : fitted)
        total += width;
    EXPECT_LE(total, list.viewport()->width());
    // All of the list's width but what a scroll bar will take.
    const int bar = list.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &list);
    EXPECT_GE(total, list.viewport()->width() - bar - 8);
    EXPECT_LE(total, list.viewport()->width() - bar);
}

TEST_F(ColumnFitTest, theFittedColumnsFollowTheListsWidthAndAUserDragStaysPut)
{
    const QString wide = longAddress + longAddress;
    addRow({"Tide tables", wide, "06 Dec 2026", "1", wide});
    list.show();
    settle();
    ASSERT_TRUE(fit->fitted());
    EXPECT_LT(list.header()->sectionSize(1), textWidth(list, wide)) << "too wide for the list: shared";

    list.resize(2400, 300); // the window maximised
    settle();
    EXPECT_GE(list.header()->sectionSize(1), textWidth(list, wide)) << "room enough: the whole text";
    EXPECT_GE(list.header()->sectionSize(4), textWidth(list, wide));

    list.header()->resizeSection(0, 300); // the user's drag
    list.resize(600, 300);
    settle();
    EXPECT_EQ(list.header()->sectionSize(0), 300);
    EXPECT_TRUE(fit->isKept(0));
    EXPECT_LT(list.header()->sectionSize(1), 200) << "the others share what the list has";
}

TEST_F(ColumnFitTest, aShareGivenBackIsFittedAndAUserDragIsKept)
{
    list.header()->resizeSection(0, 200);
    fit->releaseWidth(0); // a share of the list, not a choice
    addRow({"a", "b", "c", "d", "e"});
    list.show();
    settle();
    EXPECT_LT(list.header()->sectionSize(0), 100);

    QTreeWidget other;
    ColumnFit *later = new ColumnFit(&other);
    other.setHeaderLabels({"Name", "Address"});
    other.show();
    settle();
    other.header()->resizeSection(1, 250); // the user's drag on an empty list
    new QTreeWidgetItem(&other, {"a", "b"});
    settle();
    EXPECT_TRUE(later->fitted());
    EXPECT_EQ(other.header()->sectionSize(1), 250);
    EXPECT_EQ(ColumnFit::of(&other), later);
    EXPECT_EQ(ColumnFit::of(&list), fit);
}
