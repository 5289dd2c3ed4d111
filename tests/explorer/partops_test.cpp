// What the other parts ask of the Explorer's parts and the finding panes directly, on a
// window that has only some of them.
#include "explorer/detailsops.h"
#include "explorer/folderops.h"
#include "finding/ui/findingops.h"
#include "shell/windowfixture.h"

#include <functional>

using namespace rr;
using namespace rr::test;

namespace
{

// The window as a test puts it together in part: the details panel alone.
struct PartialWindowTest : MainWindowTest {
};

// Without the folder tree, the Vardeck views, the editor or the finding panes, what the
// other parts ask of them does nothing, says nothing and leaves the details as they are,
// as before the window is put together; the details panel takes what is asked of it.
TEST_F(PartialWindowTest, theOperationsOfAMissingPartDoNothingAndThePanelTakesItsOwn)
{
    frmVardecks &w = *window;
    window->showVardeck("W1", "Zebra & Co");
    txtWName(w)->setText("Zebra & Co");
    const struct {
        const char *operation;
        std::function<void()> run;
    } cases[] = {
        {"relistSelectedFolder", [&] { relistSelectedFolder(w); }},
        {"showImportedFolder", [&] { showImportedFolder(w, "T1"); }},
        {"holdFolderTree", [&] { holdFolderTree(w, true); }},
        {"emptyVardeckTree", [&] { emptyVardeckTree(w); }},
        {"showVisitInFolderList", [&] { showVisitInFolderList(w, "W1", "12/08/2026", "3"); }},
        {"showVardeckTreeIcon", [&] { showVardeckTreeIcon(w, "W1"); }},
        {"setEditedPageSize", [&] { setEditedPageSize(w, "12.5"); }},
        {"removeVardeckRows", [&] { removeVardeckRows(w, {"W1"}); }},
        {"showNameOf", [&] { showNameOf(w, "W1", "Renamed"); }},
        {"showIconOf", [&] { showIconOf(w, "W1"); }},
        {"addToFavorites", [&] { addToFavorites(w, "W1"); }},
        {"showRightClickedFavorite", [&] { showRightClickedFavorite(w); }},
        {"enableFavoriteButtons", [&] { enableFavoriteButtons(w, true); }},
        {"goToFindingRow", [&] { goToFindingRow(w, 3); }},
        {"releaseSearchButton", [&] { releaseSearchButton(w); }},
    };
    for (const auto &c : cases) {
        c.run();
        EXPECT_TRUE(prompts.messages().empty()) << c.operation;
        EXPECT_EQ(window->currentWID(), "W1") << c.operation;
        EXPECT_EQ(txtWName(w)->text(), "Zebra & Co") << c.operation;
    }
    EXPECT_EQ(folderNodeCount(w), 0);
    EXPECT_EQ(selectedRowOf(w, EntryList::SearchResults), "");

    showLastVisit(w, "12/08/2026 05:00:00");
    EXPECT_EQ(lbl(w, Lbl::LastVisited)->text(), "12/08/2026 05:00:00");
    takePageIntoEdit(w, {"Page name", "http://page.example/", "About it", "page words"});
    EXPECT_EQ(txtWName(w)->text(), "Page name");
    EXPECT_EQ(txtAddress(w)->text(), "http://page.example/");
    clearTextBoxes(w);
    EXPECT_EQ(txtWName(w)->text(), "");
    EXPECT_EQ(txtAddress(w)->text(), "");
}

} // namespace
