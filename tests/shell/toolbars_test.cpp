// The two toolbars: positions, separators, images and tool tips, what each button
// runs, the tool-tip echo in the status bar, the reset of the enabled states, and
// the navigation keys of the window.
#include "windowfixture.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

namespace
{

struct Position {
    int position;
    const char *toolTip; // "" for a separator
    const char *command;
    int index;
};

const Position kToolbar1[] = {
    {1, "Create Vardeck  CTRL+N", "mnuAddVardeck_Click", 0},
    {2, "Update Vardeck  CTRL+U", "mnuEditModify_Click", 0},
    {3, "Delete Vardeck  DEL", "mnuEditDelete_Click", 0},
    {4, "", "", 0},
    {5, "First Vardeck  F2", "mnuNav_Click", 1},
    {6, "Previous Vardeck  F3", "mnuNav_Click", 2},
    {7, "Next Vardeck  F4", "mnuNav_Click", 3},
    {8, "Last Vardeck  F5", "mnuNav_Click", 4},
    {9, "", "", 0},
    {10, "Search  CTRL+F", "mnuToolsSearchText_Click", 0},
    {11, "", "", 0},
    {12, "New folder  CTRL+Q", "mnuAddTopic_Click", 0},
    {13, "Rename folder  CTRL+M", "mnuEditModifyTopic_Click", 0},
    {14, "Delete folder  SHIFT+DEL", "mnuEditDeleteTopic_Click", 0},
    {15, "", "", 0},
    {16, "Open Vardeck in Browser  CTRL+INSERT", "mnuToolsOpen_Click", 0},
    {17, "Get Vardeck from browser  CTRL+G", "mnuToolsGet_Click", 0},
    {18, "Open blank browser  CTRL+K", "mnuToolsOpenBlank_Click", 0},
    {19, "", "", 0},
    {20, "User options", "mnuToolsOptions_Click", 0},
    {21, "Help contents", "mnuHelpTopics_Click", 0},
    {22, "", "", 0},
    {23, "Save  CTRL-S", "saveVardeckDetails", 0},
    {24, "Cancel  ESC", "cancelVardeckEdit", 0},
};

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

TEST_F(ToolbarTest, mainToolbarHasTwentyFourPositionsWithSeparators)
{
    ASSERT_EQ(window->toolbarButtonCount(), 24);
    for (const Position &p : kToolbar1) {
        QAction *button = window->toolbarButton(p.position);
        const bool separator = QString::fromLatin1(p.toolTip).isEmpty();
        EXPECT_EQ(button->isSeparator(), separator) << p.position;
        EXPECT_EQ(window->toolbarToolTip(p.position), QString::fromLatin1(p.toolTip));
        if (!separator) {
            EXPECT_EQ(button->toolTip(), QString::fromLatin1(p.toolTip));
            EXPECT_FALSE(button->icon().isNull()) << p.position;
            EXPECT_TRUE(button->text().isEmpty()) << "images only";
        }
    }
}

TEST_F(ToolbarTest, eachButtonRunsItsCommandAndSeparatorsNothing)
{
    for (const Position &p : kToolbar1) {
        if (*p.command)
            record(QString::fromLatin1(p.command));
    }
    for (int i = 0; i <= 25; ++i)
        window->Toolbar1_ButtonClick(i);
    QList<std::pair<QString, int>> expected;
    for (const Position &p : kToolbar1) {
        if (*p.command)
            expected.append({QString::fromLatin1(p.command), p.index});
    }
    EXPECT_EQ(runs, expected);
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(ToolbarTest, aspectToolbarButtonsCarryTheirCaptionsAndFollowTheAspect)
{
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

TEST_F(ToolbarTest, mouseOverAButtonEchoesItsToolTipAndASeparatorClearsIt)
{
    for (const Position &p : kToolbar1) {
        if (!*p.toolTip)
            continue;
        window->Toolbar1_MouseMove(centreOf(p.position));
        EXPECT_EQ(window->StatusBar1->panelText(1), QString::fromLatin1(p.toolTip));
    }
    window->Toolbar1_MouseMove(centreOf(4));
    EXPECT_EQ(window->StatusBar1->panelText(1), "");

    window->Toolbar1_MouseMove(centreOf(2));
    const int leftEdge = window->Toolbar1->widgetForAction(window->toolbarButton(3))->x();
    window->Toolbar1_MouseMove(leftEdge);
    EXPECT_EQ(window->StatusBar1->panelText(1), "Update Vardeck  CTRL+U") << "exactly on an edge nothing changes";

    QWidget *last = window->Toolbar1->widgetForAction(window->toolbarButton(24));
    window->Toolbar1_MouseMove(last->geometry().right() + 20);
    EXPECT_EQ(window->StatusBar1->panelText(1), "Update Vardeck  CTRL+U") << "beyond the last button";
}

TEST_F(ToolbarTest, realMouseMovesReachTheEcho)
{
    QWidget *cancel = window->Toolbar1->widgetForAction(window->toolbarButton(24));
    QTest::mouseMove(cancel, cancel->rect().center());
    QMouseEvent move(QEvent::MouseMove, QPointF(cancel->rect().center()),
                     cancel->mapToGlobal(QPointF(cancel->rect().center())), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(cancel, &move);
    EXPECT_EQ(window->StatusBar1->panelText(1), "Cancel  ESC");
}

TEST_F(ToolbarTest, rightClickOnTheToolbarOpensTheNoVardeckMenu)
{
    QWidget *button = window->Toolbar1->widgetForAction(window->toolbarButton(1));
    QTest::mouseClick(button, Qt::RightButton);
    EXPECT_TRUE(window->subMenu("mnuNoVD")->isVisible());
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
