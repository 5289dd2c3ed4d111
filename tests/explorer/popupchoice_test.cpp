// What a popup entry hands to the work it starts.
#include "popupsfixture.h"
#include "support/windowcontrols.h"

using namespace rr;
using namespace rr::test;

namespace
{

// A Vardeck deleted from its popup leaves nothing behind for the next Delete: with no Vardeck
// shown, Edit > Delete says so and deletes nothing.
TEST_F(PopupsTest, aVardeckDeletedFromItsPopupLeavesTheNextDeleteWithNothingChosen)
{
    open();
    clickFolder("T1");
    clickVardeck("W2");
    rightClick(tvwWM(*window), wmNode("W1"));
    prompts.answer(MsgResult::Yes);
    window->menuItem(MenuId::mnuDeleteVD)->trigger();
    ASSERT_FALSE(window->dbXML.vardeck("W1"));
    ASSERT_FALSE(window->vardeckShown());

    const QByteArray before = fileBytes();
    window->commands.mnuEditDelete_Click();
    EXPECT_EQ(prompts.lastText(), "No Vardeck has been selected to delete.");
    EXPECT_FALSE(window->vardeckShown());
    EXPECT_TRUE(window->dbXML.vardeck("W2"));
    EXPECT_EQ(fileBytes(), before);
}

} // namespace
