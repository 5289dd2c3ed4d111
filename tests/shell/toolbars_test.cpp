// The two toolbars: positions, tool tips and their echo, the reset of the states, and the navigation keys.
#include "windowfixture.h"

#include <QAction>
#include <QMenu>

namespace
{

struct ToolbarTest : rr::test::MainWindowTest {
    void SetUp() override
    {
        MainWindowTest::SetUp();
        for (int i : {23, 24})
            window->toolbarButton(i)->setVisible(true);
        setClientSize(900, 600);
    }
    // The centre of a position's button, in the toolbar's coordinates.
    int centreOf(int position) const
    {
        return window->Toolbar1->widgetForAction(window->toolbarButton(position))->geometry().center().x();
    }
};

TEST_F(ToolbarTest, mainToolbarHasTwentyFourPositionsAndTheAspectButtonsFollowTheAspect)
{
    ASSERT_EQ(window->toolbarButtonCount(), 24);
    for (int i = 1; i <= 24; ++i) {
        QAction *button = window->toolbarButton(i);
        EXPECT_EQ(button->isSeparator(), QList<int>({4, 9, 11, 15, 19, 22}).contains(i)) << i;
        EXPECT_EQ(window->toolbarToolTip(i), button->isSeparator() ? QString() : button->toolTip()) << i;
        if (!button->isSeparator()) {
            EXPECT_FALSE(button->icon().isNull()) << i;
            EXPECT_TRUE(button->text().isEmpty()) << "images only";
        }
    }
    EXPECT_EQ(window->toolbarToolTip(1), "Create Vardeck  CTRL+N");
    EXPECT_EQ(window->toolbarToolTip(14), "Delete folder  SHIFT+DEL");
    EXPECT_EQ(window->toolbarToolTip(16), "Open Vardeck in Browser  CTRL+INSERT");
    EXPECT_EQ(window->toolbarToolTip(23), "Save  CTRL-S");

    // The Aspect toolbar's buttons carry their captions and follow the Aspect.
    EXPECT_EQ(window->aspectButton(1)->text(), "E&xplorer aspect          ");
    EXPECT_EQ(window->aspectButton(1)->toolTip(), "Explorer aspect  CTRL+X");
    EXPECT_EQ(window->aspectButton(2)->text(), "We&b aspect          ");
    EXPECT_EQ(window->aspectButton(2)->toolTip(), "Web aspect  CTRL+B");
    EXPECT_TRUE(window->aspectButton(1)->isChecked());

    record("mnuAspectWeb_Click"); // a command that leaves the Aspect as it is
    window->aspectButton(2)->trigger();
    EXPECT_EQ(runs, (QList<std::pair<QString, int>>{{"mnuAspectWeb_Click", 0}}));
    EXPECT_TRUE(window->aspectButton(1)->isChecked()) << "the Explorer Aspect is still shown";
}

TEST_F(ToolbarTest, mouseOverAButtonEchoesItsToolTipASeparatorClearsItAndARightClickOpensAPopup)
{
    for (int i : {1, 8, 21}) {
        window->Toolbar1_MouseMove(centreOf(i));
        EXPECT_EQ(window->StatusBar1->panelText(1), window->toolbarToolTip(i)) << i;
    }
    EXPECT_EQ(window->StatusBar1->panelText(1), "Help contents");
    window->Toolbar1_MouseMove(centreOf(4));
    EXPECT_EQ(window->StatusBar1->panelText(1), "");

    window->Toolbar1_MouseMove(centreOf(2));
    const int leftEdge = window->Toolbar1->widgetForAction(window->toolbarButton(3))->x();
    window->Toolbar1_MouseMove(leftEdge);
    EXPECT_EQ(window->StatusBar1->panelText(1), "Update Vardeck  CTRL+U") << "exactly on an edge nothing changes";

    QWidget *last = window->Toolbar1->widgetForAction(window->toolbarButton(24));
    window->Toolbar1_MouseMove(last->geometry().right() + 20);
    EXPECT_EQ(window->StatusBar1->panelText(1), "Update Vardeck  CTRL+U") << "beyond the last button";

    QMouseEvent move(QEvent::MouseMove, QPointF(last->rect().center()),
                     last->mapToGlobal(QPointF(last->rect().center())), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(last, &move);
    EXPECT_EQ(window->StatusBar1->panelText(1), "Cancel  ESC") << "a real mouse move reaches the echo";

    QTest::mouseClick(window->Toolbar1->widgetForAction(window->toolbarButton(1)), Qt::RightButton);
    EXPECT_TRUE(window->subMenu("mnuNoVD")->isVisible()) << "a right-click opens the no-Vardeck popup";
    window->subMenu("mnuNoVD")->close();
}

TEST_F(ToolbarTest, resetGivesTheStatesOfAFreshlyOpenedDatabase)
{
    for (int i = 1; i <= 24; ++i)
        window->toolbarButton(i)->setEnabled(i % 2 == 0); // 20, 22 and 24 kept: all even
    window->resetToolbarButtons();
    const QList<int> enabled = {1, 4, 9, 10, 11, 12, 13, 15, 17, 18, 19, 20, 21, 22, 24};
    for (int i = 1; i <= 24; ++i)
        EXPECT_EQ(window->toolbarButton(i)->isEnabled(), enabled.contains(i)) << i;

    for (int i : {20, 22, 24})
        window->toolbarButton(i)->setEnabled(false);
    window->resetToolbarButtons();
    for (int i : {20, 22, 24})
        EXPECT_FALSE(window->toolbarButton(i)->isEnabled()) << i << " keeps its state";
    EXPECT_TRUE(window->toolbarButton(13)->isEnabled());
    EXPECT_FALSE(window->toolbarButton(14)->isEnabled());
}

TEST_F(ToolbarTest, functionKeysNavigateFromAnyControlWithAnyShiftState)
{
    record("mnuNav_Click");
    window->tabIndex->setTab(1);
    window->cmbSearch->setFocus();
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_F2, Qt::NoModifier},
                                                              {Qt::Key_F3, Qt::ShiftModifier},
                                                              {Qt::Key_F4, Qt::ControlModifier},
                                                              {Qt::Key_F5, Qt::ShiftModifier | Qt::AltModifier},
                                                              {Qt::Key_F6, Qt::NoModifier}};
    for (const auto &[key, modifiers] : keys) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(runs, (QList<std::pair<QString, int>>{
                        {"mnuNav_Click", 1}, {"mnuNav_Click", 2}, {"mnuNav_Click", 3}, {"mnuNav_Click", 4}}));

    runs.clear();
    window->tvwTopics->setFocus();
    QTest::keyClick(window->tvwTopics, Qt::Key_F5);
    QCoreApplication::processEvents();
    EXPECT_EQ(runs.size(), 1) << "each key acts once, however far it travels";
}

} // namespace
