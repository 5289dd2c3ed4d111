// What the other parts ask of the Explorer's parts and the finding panes, directly or
// through the window, on a window that has only some of them.
#include "explorer/detailsops.h"
#include "explorer/folderops.h"
#include "finding/ui/findingops.h"
#include "platform/gui/partoperations.h"
#include "shell/detailsoperations.h"
#include "shell/foldertreeoperations.h"
#include "shell/listdropoperations.h"
#include "shell/vardeckviewsoperations.h"
#include "shell/windowfixture.h"

#include <QMimeData>
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

// What the frame and the finding panes ask of the details panel reaches it through the
// window: it shows the Vardeck, reads its texts back, and switches and resets its faces.
TEST_F(PartialWindowTest, theDetailsPanelTakesTheOperationsAskedOfItThroughTheWindow)
{
    frmVardecks &w = *window;
    ASSERT_TRUE(operationsOffered<DetailsOperations>(w));
    DetailsOperations &details = operationsOf<DetailsOperations>(w);
    XmlDocument doc;
    ASSERT_TRUE(
        doc.loadXml("<VARDECK WID='W7'><NAME>Zebra &amp; Co</NAME>"
                    "<ADDRESS>http://www.zebra.example/stripes</ADDRESS><CREATED_DATE>06 Dec 2026</CREATED_DATE>"
                    "<DESCRIPTION>Black and white</DESCRIPTION><KEYWORD1>stripes</KEYWORD1>"
                    "<KEYWORD2>12/08/2026 05:00:00</KEYWORD2><HITS>4</HITS><FAV>TRUE</FAV></VARDECK>"));
    details.displayVardeckData(doc.documentElement());
    EXPECT_EQ(window->currentWID(), "W7");
    EXPECT_EQ(lbl(w, Lbl::Hits)->text(), "4");
    EXPECT_FALSE(Picture10(w)->isHidden());
    const struct {
        DetailsField field;
        const char *text;
    } fields[] = {
        {DetailsField::NameBox, "Zebra & Co"},
        {DetailsField::AddressBox, "http://www.zebra.example/stripes"},
        {DetailsField::DescriptionBox, "Black and white"},
        {DetailsField::KeywordsBox, "stripes"},
        {DetailsField::Name, "Zebra & Co"},
        {DetailsField::Address, "http://www.zebra.example/stripes"},
        {DetailsField::HomePage, "http://www.zebra.example/"},
        {DetailsField::LastVisited, "12/08/2026 05:00:00"},
        {DetailsField::CreatedDate, "06 Dec 2026"},
    };
    for (const auto &f : fields)
        EXPECT_EQ(details.detailsText(f.field), f.text) << int(f.field);

    details.showHits("5");
    EXPECT_EQ(lbl(w, Lbl::Hits)->text(), "5");
    details.showFavoriteMark(false);
    EXPECT_TRUE(Picture10(w)->isHidden());
    details.setFormEditMode(true);
    EXPECT_FALSE(txtWName(w)->isHidden());
    EXPECT_TRUE(lblAddress(w)->isHidden());
    details.setFormEditMode(false);
    EXPECT_TRUE(txtWName(w)->isHidden());
    EXPECT_FALSE(lblAddress(w)->isHidden());
    details.setNonEditableFields();
    EXPECT_EQ(details.detailsText(DetailsField::Address), "");
    EXPECT_EQ(lbl(w, Lbl::Hits)->text(), "");
}

// A window without the panel gives its callers the operations that do nothing.
TEST(DetailsOperationsWithoutThePanel, doNothingAndReadNoText)
{
    TempHome home;
    frmVardecks w;
    EXPECT_FALSE(operationsOffered<DetailsOperations>(w));
    DetailsOperations &details = operationsOf<DetailsOperations>(w);
    details.setFormEditMode(true);
    details.setNonEditableFields();
    details.showHits("5");
    details.showFavoriteMark(true);
    EXPECT_EQ(details.detailsText(DetailsField::NameBox), "");
}

// Asked of the window, the operations of the missing folder tree, Vardeck views and drops
// do nothing, say nothing, take no drop and know no folder's path.
TEST_F(PartialWindowTest, theOfferedOperationsOfTheMissingExplorerPartsDoNothing)
{
    window->showVardeck("W1", "Zebra & Co");
    QMimeData address;
    address.setText("http://drop.example/");
    const struct {
        const char *operation;
        std::function<void()> run;
    } cases[] = {
        {"populateTopicList", [&] { operationsOf<FolderTreeOperations>(*window).populateTopicList(nullptr); }},
        {"populateWMOnTopicNode", [&] { operationsOf<FolderTreeOperations>(*window).populateWMOnTopicNode(); }},
        {"selectRootFolder", [&] { operationsOf<FolderTreeOperations>(*window).selectRootFolder(); }},
        {"clearFolderTrees", [&] { operationsOf<FolderTreeOperations>(*window).clearFolderTrees(); }},
        {"populateVDList", [&] { operationsOf<VardeckViewsOperations>(*window).populateVDList(XmlNode()); }},
        {"viewAsList", [&] { operationsOf<VardeckViewsOperations>(*window).viewAsList(); }},
        {"viewAsIcons", [&] { operationsOf<VardeckViewsOperations>(*window).viewAsIcons(); }},
        {"populateIconList", [&] { operationsOf<VardeckViewsOperations>(*window).populateIconList(); }},
        {"showHitsResetInFolderList",
         [&] { operationsOf<VardeckViewsOperations>(*window).showHitsResetInFolderList(); }},
        {"restoreFolderListColumns", [&] { operationsOf<VardeckViewsOperations>(*window).restoreFolderListColumns(); }},
        {"saveFolderListColumns", [&] { operationsOf<VardeckViewsOperations>(*window).saveFolderListColumns(); }},
        {"dropOnList", [&] { operationsOf<ListDropOperations>(*window).dropOnList(&address); }},
    };
    for (const auto &c : cases) {
        c.run();
        EXPECT_TRUE(prompts.messages().empty()) << c.operation;
        EXPECT_EQ(window->currentWID(), "W1") << c.operation;
        EXPECT_EQ(window->editState(), EditState::Viewing) << c.operation;
    }
    EXPECT_EQ(operationsOf<FolderTreeOperations>(*window).folderPathOf("T1"), std::nullopt);
    EXPECT_FALSE(operationsOf<ListDropOperations>(*window).acceptsListDrop(&address));
}

} // namespace
