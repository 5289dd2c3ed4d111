// The Splitter widget: children found by name, pixel placement, dragging the bar.
#include "shell/splitter.h"
#include "shell/twips.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace
{

using rr::Splitter;

struct SplitterFixture : ::testing::Test {
    QWidget host;
    Splitter *splitter = nullptr;
    QWidget *left = nullptr;
    QWidget *right = nullptr;

    void build(bool live)
    {
        host.resize(800, 400);
        splitter = new Splitter(&host);
        splitter->moveTwips(0, 0, 600 * 15, 300 * 15);
        left = new QWidget(splitter);
        left->setObjectName(QStringLiteral("tabIndex"));
        right = new QWidget(splitter);
        right->setObjectName(QStringLiteral("Picture1"));
        splitter->initialise([&] {
            splitter->setOrientation(0);
            splitter->setSplitterSize(75);
            splitter->setMaintain(0);
            splitter->setChild1(QStringLiteral("TABINDEX"));
            splitter->setChild2(QStringLiteral("picture1"));
            splitter->setMinSize1(0);
            splitter->setMinSize2(0);
            splitter->setMinSizeAux(0);
            splitter->setLiveUpdate(live);
        });
        splitter->setSplitterPos(3000); // 200 px
        host.show();
        QCoreApplication::processEvents();
    }
};

TEST_F(SplitterFixture, placesTheChildrenFoundByNameInPixelsAndKeepsTheGapOfAHiddenBar)
{
    build(true);
    EXPECT_EQ(left->geometry(), QRect(0, 0, 200, 300));
    EXPECT_EQ(right->geometry(), QRect(205, 0, 395, 300));
    EXPECT_EQ(splitter->bar()->geometry(), QRect(200, 0, 5, 300));

    QSignalSpy resized(splitter, &Splitter::Resize);
    splitter->moveTwips(0, 0, 400 * 15, 200 * 15);
    EXPECT_EQ(resized.count(), 1);
    EXPECT_EQ(right->geometry(), QRect(205, 0, 195, 200));

    splitter->setAllowResize(false);
    EXPECT_FALSE(splitter->bar()->isVisible()) << "a bar that may not move is hidden";
    EXPECT_EQ(right->x(), 205) << "the gap stays";
}

TEST_F(SplitterFixture, aListViewChildReachesOnePixelBeyondItsSideAndAMissingOneLeavesItEmpty)
{
    build(true);
    QSignalSpy resized(splitter, &Splitter::Resize);
    splitter->setChild1(QStringLiteral("nothing"));
    EXPECT_EQ(resized.count(), 1) << "a missing child still raises Resize";
    splitter->setSplitterPos(1500);
    EXPECT_EQ(right->geometry(), QRect(105, 0, 495, 300));

    auto *list = new QTreeWidget(splitter);
    list->setObjectName(QStringLiteral("listVD"));
    list->setProperty("rrTypeName", QStringLiteral("ListView"));
    splitter->setChild2(QStringLiteral("listVD"));
    EXPECT_EQ(list->geometry(), QRect(104, -1, 497, 302));
}

TEST_F(SplitterFixture, dragWithoutLiveUpdateMovesTheChildrenOnRelease)
{
    build(false);
    QWidget *bar = splitter->bar();
    QSignalSpy resized(splitter, &Splitter::Resize);
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, QPoint(2, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(-48, 100), bar->mapToGlobal(QPointF(-48, 100)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    EXPECT_EQ(bar->x(), 150);
    EXPECT_EQ(left->width(), 200) << "the children wait";
    EXPECT_EQ(resized.count(), 0);
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(2, 100));
    EXPECT_EQ(left->width(), 150);
    EXPECT_EQ(resized.count(), 2);
    EXPECT_EQ(splitter->SplitterPos(), 2250);
}

} // namespace
