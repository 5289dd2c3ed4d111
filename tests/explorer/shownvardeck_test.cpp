// What the other parts read of the Vardeck in the details panel.
#include "editingfixture.h"
#include "explorer/shownvardeck.h"
#include "support/windowcontrols.h"

#include <QLineEdit>

using namespace rr;
using namespace rr::test;

namespace
{

// The preview, the open commands and the icon and thumbnail commands take what the edit
// boxes hold: the stored address and name while a Vardeck is only shown, what an update or
// an add has typed while it goes on (an add keeps the Vardeck shown before it as the
// current one).
TEST_F(EditingTest, theShownAddressAndNameAreTheStoredOnesWhileViewingAndTheTypedOnesDuringAnEdit)
{
    openDb();
    const struct {
        const char *edit;
        std::function<void()> start;
        QString address;
        QString name;
    } cases[] = {
        {"viewing", [] {}, "http://www.beta.example/docs/page.html", "Beta site"},
        {"update", [&] { window->commands.mnuEditModify_Click(); }, "http://typed.example/", "Typed"},
        {"add", [&] { window->commands.addVardeckSetup(std::nullopt); }, "http://typed.example/", "Typed"},
    };
    for (const auto &c : cases) {
        showVardeck("T1", "W1");
        c.start();
        if (window->editState() != EditState::Viewing) {
            txtWName(*window)->setText("Typed");
            txtAddress(*window)->setText("http://typed.example/");
        }
        EXPECT_EQ(window->currentWID(), "W1") << c.edit;
        EXPECT_EQ(shownVardeckAddress(*window), c.address) << c.edit;
        EXPECT_EQ(shownVardeckName(*window), c.name) << c.edit;
        if (window->editState() != EditState::Viewing) {
            prompts.answer(MsgResult::Yes);
            window->commands.cancelVardeckEdit();
        }
    }
    EXPECT_EQ(stored("W1").childText("ADDRESS"), "http://www.beta.example/docs/page.html");
}

} // namespace
