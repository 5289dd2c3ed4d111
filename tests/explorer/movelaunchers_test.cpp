#include "popupsfixture.h"

using namespace rr;
using namespace rr::test;

namespace
{

TEST_F(PopupsTest, moveButtonsMoveTheShownVardeckOrFolderAndSayWhenNothingIsShown)
{
    open();
    window->tabIndex->setTab(1);
    window->runCommand("cmdMoveFolder_Click");
    EXPECT_TRUE(prompts.messages().empty()) << "away from the Index tab the buttons do nothing";
    window->tabIndex->setTab(0);
    {
        ModalDriver driver;
        window->runCommand("cmdMoveVD_Click");
        window->runCommand("cmdMoveFolder_Click");
        EXPECT_TRUE(driver.opened().isEmpty());
    }
    ASSERT_EQ(prompts.messages().size(), 2u) << "nothing shown: one message each";

    showVardeck("T1", "W2");
    QString source;
    {
        ModalDriver driver([&](QDialog *dialog) {
            source = dialog->findChild<QLabel *>("lblCurrentTopic")->text();
            chooseAndSave(dialog, "T4");
        });
        window->cmdMoveVD->click();
        EXPECT_EQ(driver.opened(), QStringList({"frmMoveVardeck"}));
    }
    EXPECT_EQ(source, "Alpha");
    EXPECT_EQ(idsOnDisk("T4", "VARDECKS"), QStringList({"W5", "W2"}));
    EXPECT_EQ(window->popup.moveFromTID, "T1");
    // The source folder stays shown, and it is the folder the window's commands act on.
    EXPECT_EQ(window->currentTID, "T1");
    EXPECT_EQ(window->lblTName->text(), "Alpha");
    EXPECT_EQ(rowIds(), QStringList({"W4", "W1", "W3"}));
    EXPECT_EQ(window->lblWName->text(), "No Vardeck selected");
    EXPECT_TRUE(window->aspectPageStale[frmVardecks::AllPage]);

    // Moving a folder rebuilds the tree with the folder in its new place.
    clickFolder("T2");
    ASSERT_FALSE(window->StatusBar1->panelText(2).isEmpty());
    {
        ModalDriver driver([&](QDialog *dialog) { chooseAndSave(dialog, ""); });
        window->cmdMoveFolder->click();
        EXPECT_EQ(driver.opened(), QStringList({"frmMoveTopic"}));
    }
    EXPECT_EQ(idsOnDisk("", ""), QStringList({"T1", "T4", "T5", "T2"}));
    ASSERT_NE(node("T2"), nullptr);
    EXPECT_EQ(node("T2")->parent(), root());
    EXPECT_EQ(window->StatusBar1->panelText(2), "");
    EXPECT_TRUE(topics()->isVisible());
}

} // namespace
