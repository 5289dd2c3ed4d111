// The Popular tab: a click that shows a row's Vardeck with its folder, and clearing the rankings.
#include "findinguifixture.h"

#include "finding/ui/popularpane.h"

using namespace rr;
using test::Vd;

using PopularUiTest = test::FindingUiTest;

TEST_F(PopularUiTest, aClickShowsTheRowsVardeckWithItsFolderAndClearingEmptiesTheList)
{
    open({Vd("W1").name("top").hits("3")}, {Vd("W2").name("inner").hits("5")});
    window->ops.populatePopList(doc());
    window->tabIndex->setTab(3);
    window->currentTID = "T1";
    clickRow(window->listPop, 0);
    EXPECT_EQ(shown, QStringList{"W2"});
    EXPECT_EQ(window->currentTID, "T3");
    EXPECT_EQ(window->selectedWID, "W2");

    window->listPop->setFocus();
    QTest::keyClick(window->listPop, Qt::Key_Down);
    EXPECT_EQ(shown.last(), "W1");
    EXPECT_EQ(window->currentTID, "T1");

    clickRow(window->listPop, 0, Qt::RightButton);
    EXPECT_EQ(window->popup.popupListName, "listPop");
    EXPECT_TRUE(window->subMenu("mnuListVD")->isVisible());
    window->subMenu("mnuListVD")->hide();

    // Clearing resets the counts on disk and the shown Vardeck's count.
    window->lbl(14)->setText("3");
    window->menuItem("mnuClearPop")->setEnabled(true);
    window->aspectPageStale[frmVardecks::HitsPage] = false;
    prompts.answer(MsgResult::Yes);
    window->menuItem("mnuClearPop")->trigger();
    EXPECT_EQ(window->listPop->topLevelItemCount(), 0);
    EXPECT_EQ(onDisk("W2", "HITS"), "1");
    EXPECT_EQ(window->lbl(14)->text(), "1");
    EXPECT_TRUE(window->aspectPageStale[frmVardecks::HitsPage]);
}
