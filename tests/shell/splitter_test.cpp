// The splitter's arithmetic as plain numbers, then the Splitter widget's children, pixels and dragging.
#include "shell/splitter.h"

#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace
{

using rr::SplitterModel;

// A vertical splitter of the given inner width; counts the layouts it raises.
struct Fixture {
    SplitterModel model;
    int layouts = 0;

    explicit Fixture(double width = 1000, double height = 500, int splitterSize = 75)
    {
        model.onLayout = [this] { ++layouts; };
        model.setLayoutEnabled(false);
        model.setInnerSize(width, height);
        model.setSplitterSize(splitterSize);
        model.setLayoutEnabled(true);
        layouts = 0;
    }
    void resize(double width, double height)
    {
        model.setInnerSize(width, height);
        model.resizeHandler();
    }
};

TEST(SplitterArithmetic, positionAndRatioDescribeTheBarsCentreAndTheClampKeepsTheMinimumsFirst)
{
    const std::pair<double, int> halves[] = {{-1.5, -2}, {2.4999, 2}, {2.5001, 3}};
    for (const auto &[value, expected] : halves)
        EXPECT_EQ(SplitterModel::roundHalfEven(value), expected) << value;
    Fixture f(1000);
    EXPECT_EQ(f.model.posFromRatio(1000, 0.5f), 463); // 500 - 37
    EXPECT_FLOAT_EQ(f.model.ratioFromPos(1000, 463), 0.5f);
    EXPECT_FLOAT_EQ(f.model.ratioFromPos(0, 463), 0.0f);
    // 75 / 2 is 37; then halves go to the even neighbour.
    EXPECT_EQ(f.model.posFromRatio(79, 0.5f), 2);   // 2.5
    EXPECT_EQ(f.model.posFromRatio(10, 0.0f), -37); // not clamped here

    // The clamp keeps the minimum sizes ahead of the maximum.
    struct Case {
        int minSize1, minSize2, maxSize, maxSide, extent, pos, expected;
        const char *why;
    };
    const Case cases[] = {
        {255, 255, 0, 0, 585, 300, 255, "extent not above the minimum total: MinSize1"},
        {255, 255, 0, 0, 2000, 1670, 1670, "child 2 exactly MinSize2"},
        {255, 255, 0, 0, 2000, 1671, 1670, "child 2 below MinSize2"},
        {255, 255, 300, 0, 2000, 1000, 300, "MaxSize on child 1"},
        {255, 255, 300, 1, 2000, 100, 1625, "MaxSize on child 2"},
        {255, 800, 0, 0, 1200, 100, 255, "MinSize1 wins over MinSize2"},
        {0, 800, 300, 0, 1000, 200, 125, "MinSize2 wins over MaxSize"},
    };
    for (const Case &c : cases) {
        Fixture clamped(c.extent);
        clamped.model.setMinSize1(c.minSize1);
        clamped.model.setMinSize2(c.minSize2);
        clamped.model.setMaxSizeAppliesTo(c.maxSide);
        clamped.model.setMaxSize(c.maxSize);
        EXPECT_EQ(clamped.model.clampPos(c.extent, c.pos), c.expected) << c.why;
    }
}

TEST(SplitterSetters, positionKeepsItsRequestTheLastRatioWinsAndOutOfRangeValuesArePinned)
{
    Fixture f(2000);
    f.model.setMaintain(SplitterModel::KeepPosition);
    f.layouts = 0;
    f.model.setSplitterPos(10);
    EXPECT_EQ(f.model.splitterPos(), 10);
    EXPECT_EQ(f.model.currSplitterPos(), 255);
    EXPECT_EQ(f.layouts, 1) << "setting SplitterPos raises Resize once";

    f.layouts = 0;
    f.model.setRatioFromTop(0.5f);
    EXPECT_EQ(f.layouts, 1) << "setting RatioFromTop raises Resize once";
    EXPECT_EQ(f.model.splitterPos(), 963);
    EXPECT_EQ(f.model.currSplitterPos(), 963);
    EXPECT_FLOAT_EQ(f.model.currRatioFromTop(), 0.5f);

    // Out-of-range values are pinned; the maximum and the minimums give way to each other.
    f.model.setSplitterPos(-5);
    EXPECT_EQ(f.model.splitterPos(), 0);
    f.model.setRatioFromTop(1.7f);
    EXPECT_FLOAT_EQ(f.model.ratioFromTop(), 1.0f);
    f.model.setRatioFromTop(-0.2f);
    EXPECT_FLOAT_EQ(f.model.ratioFromTop(), 0.0f);
    f.model.setMinSizeAux(-1);
    EXPECT_EQ(f.model.minSizeAux(), 0);

    f.model.setMaxSize(100); // below MinSize1 255 on side 0
    EXPECT_EQ(f.model.maxSize(), 255);
    f.model.setMaxSize(400);
    f.model.setMinSize1(600); // above a positive MaxSize on side 0
    EXPECT_EQ(f.model.minSize1(), 400);
    f.model.setMaxSizeAppliesTo(1);
    f.model.setMinSize2(900);
    EXPECT_EQ(f.model.minSize2(), 400);
    f.model.setMaxSize(-1);
    EXPECT_EQ(f.model.maxSize(), 0);
    EXPECT_EQ(f.model.minTotalSize(), 400 + 75 + 400);
    f.model.setSplitterSize(-3);
    f.model.setMinSize1(-1);
    EXPECT_EQ(f.model.splitterSize(), 0);
    EXPECT_EQ(f.model.minSize1(), 0);

    // While the properties are applied, the ratio applied last decides the position.
    Fixture g(11415, 6495, 80);
    g.model.setLayoutEnabled(false);
    g.model.setMaintain(SplitterModel::KeepPosition);
    g.model.setSplitterPos(100);
    g.model.setRatioFromTop(0.349f);
    g.model.setLayoutEnabled(true);
    EXPECT_EQ(g.model.splitterPos(), 3944);
    EXPECT_EQ(g.layouts, 0) << "no Resize while the properties are applied";
}

TEST(SplitterResize, aKeptPositionReturnsWhenTheControlGrowsAgainAKeptRatioFollowsAndOtherValuesPinTheBar)
{
    Fixture f(5000);
    f.model.setMaintain(SplitterModel::KeepPosition);
    f.model.setSplitterPos(3000);
    f.resize(1000, 500);
    EXPECT_EQ(f.model.currSplitterPos(), 1000 - 255 - 75);
    f.layouts = 0;
    f.resize(5000, 500);
    EXPECT_EQ(f.model.currSplitterPos(), 3000);
    EXPECT_EQ(f.layouts, 1) << "one layout per resize";

    Fixture g(1000);
    g.model.setMaintain(SplitterModel::KeepRatio);
    g.model.setRatioFromTop(0.5f);
    g.resize(2000, 500);
    EXPECT_EQ(g.model.currSplitterPos(), 963) << "a kept ratio follows the size";
    EXPECT_EQ(g.model.barRect(), QRect(963, 0, 75, 500));

    Fixture other(2000);
    other.model.setMaintain(2);
    other.model.setSplitterPos(900); // moves the bar through setCurrPos
    other.resize(2000, 500);
    EXPECT_EQ(other.model.currSplitterPos(), 255) << "another Maintain: a resize puts the bar at clampPos(extent, 0)";

    Fixture odd(2000);
    odd.model.setOrientation(7);
    odd.layouts = 0;
    odd.model.setCurrPos(900);
    EXPECT_EQ(odd.model.currSplitterPos(), 0);
    EXPECT_EQ(odd.model.getMainSize(), 0);
    EXPECT_EQ(odd.layouts, 1) << "an unknown orientation still raises Resize";
}

TEST(SplitterLayout, childrenFillTheTwoSides)
{
    Fixture f(2000, 600, 80);
    f.model.setMinSize1(0);
    f.model.setMinSize2(0);
    f.model.setMinSizeAux(0);
    f.model.setMaintain(SplitterModel::KeepPosition);
    f.model.setSplitterPos(700);
    f.resize(2000, 600);
    EXPECT_EQ(f.model.childRect(1, false), QRect(0, 0, 700, 600));
    EXPECT_EQ(f.model.childRect(2, false), QRect(780, 0, 1220, 600));
    EXPECT_EQ(f.model.childRect(2, true), QRect(765, -15, 1250, 630)) << "a list view reaches beyond its side";

    f.model.setMinSize2(2000); // cannot fit: child 2 still gets its minimum
    EXPECT_EQ(f.model.currSplitterPos(), 0);
    EXPECT_EQ(f.model.childRect(2, false).width(), 2000);

    Fixture h(800, 3000, 80);
    h.model.setOrientation(SplitterModel::Horizontal);
    h.model.setMinSize1(0);
    h.model.setMinSize2(0);
    h.model.setMaintain(SplitterModel::KeepPosition);
    h.model.setSplitterPos(1000);
    EXPECT_EQ(h.model.childRect(1, false), QRect(0, 0, 800, 1000));
    EXPECT_EQ(h.model.childRect(2, false), QRect(0, 1080, 800, 1920));

    Fixture low(1000, 100);
    low.resize(1000, 100);
    EXPECT_EQ(low.model.auxSize(), 255) << "the aux size never falls below MinSizeAux";
    low.model.setMinSizeAux(0);
    EXPECT_EQ(low.model.auxSize(), 100);
}

TEST(SplitterDrag, liveDragMovesTheChildrenAtOnceAReleaseSetsTheRequestAndEscapeReturnsTheBar)
{
    Fixture f(2000);
    f.model.setMaintain(SplitterModel::KeepPosition);
    f.model.setSplitterPos(1000);
    f.layouts = 0;
    f.model.mouseDown(30);
    f.model.mouseMove(130); // 100 twips to the right
    EXPECT_EQ(f.model.currSplitterPos(), 1100);
    EXPECT_EQ(f.layouts, 1);
    f.model.mouseMove(30); // no change: nothing happens
    EXPECT_EQ(f.layouts, 1);
    f.model.mouseMove(-10000); // held at MinSize1
    EXPECT_EQ(f.model.currSplitterPos(), 255);
    EXPECT_EQ(f.layouts, 2);
    f.model.mouseUp();
    EXPECT_EQ(f.model.splitterPos(), 255);
    EXPECT_FALSE(f.model.dragging());

    Fixture g(1000);
    g.model.setMaintain(SplitterModel::KeepPosition);
    g.model.setSplitterPos(5000);
    g.model.mouseUp();
    EXPECT_EQ(g.model.splitterPos(), 670) << "a release without a drag takes the bar's place as the request";

    // Escape returns the bar without changing the request.
    for (bool live : {true, false}) {
        Fixture e(2000);
        e.model.setLiveUpdate(live);
        e.model.setMaintain(SplitterModel::KeepPosition);
        e.model.setSplitterPos(1000);
        e.model.mouseDown(0);
        e.model.mouseMove(400);
        EXPECT_EQ(e.model.currSplitterPos(), 1400);
        e.model.cancelDrag();
        EXPECT_EQ(e.model.currSplitterPos(), 1000) << live;
        EXPECT_EQ(e.model.splitterPos(), 1000);
        EXPECT_FALSE(e.model.dragLook());
        e.model.mouseMove(600); // after the cancel the mouse moves nothing
        EXPECT_EQ(e.model.currSplitterPos(), 1000);
    }
}

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
            splitter->setMaintain(0);
            splitter->setChild1(QStringLiteral("TABINDEX"));
            splitter->setChild2(QStringLiteral("picture1"));
            splitter->setLiveUpdate(live);
        });
        splitter->setSplitterPos(3000); // 200 px
        host.show();
        QCoreApplication::processEvents();
    }
};

TEST_F(SplitterFixture, placesTheChildrenFoundByNameInPixelsAListViewOnePixelBeyondAndKeepsTheGapOfAHiddenBar)
{
    build(true);
    EXPECT_EQ(left->geometry(), QRect(0, 0, 200, 300));
    EXPECT_EQ(right->geometry(), QRect(205, 0, 395, 300));
    EXPECT_EQ(splitter->bar()->geometry(), QRect(200, 0, 5, 300));

    QSignalSpy resized(splitter, &Splitter::Resize);
    splitter->moveTwips(0, 0, 400 * 15, 200 * 15);
    EXPECT_EQ(resized.count(), 1);
    EXPECT_EQ(right->geometry(), QRect(205, 0, 195, 200));

    splitter->setChild1(QStringLiteral("nothing"));
    EXPECT_EQ(resized.count(), 2) << "a missing child still raises Resize";
    splitter->setSplitterPos(1500);
    EXPECT_EQ(right->geometry(), QRect(105, 0, 295, 200));
    auto *list = new QTreeWidget(splitter);
    list->setObjectName(QStringLiteral("listVD"));
    list->setProperty("rrTypeName", QStringLiteral("ListView"));
    splitter->setChild2(QStringLiteral("listVD"));
    EXPECT_EQ(list->geometry(), QRect(104, -1, 297, 202));

    splitter->setAllowResize(false);
    EXPECT_FALSE(splitter->bar()->isVisible()) << "a bar that may not move is hidden";
    EXPECT_EQ(list->x(), 104) << "the gap stays";
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
