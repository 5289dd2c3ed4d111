// The narrow views of the main window a part is handed instead of the window: what they
// read and write is the window's own.
#include "shell/windowfixture.h"

#include <memory>

namespace rr::test
{
namespace
{

using FrameViews = MainWindowTest;

TEST_F(FrameViews, theLeftPanesTabShownIsToldToEachFollowerForAsLongAsItLives)
{
    FrameTabs &tabs = *window;
    QList<IndexTab> told;
    auto follower = std::make_unique<QObject>();
    tabs.whenIndexTabShown(follower.get(), [&told](IndexTab tab) { told << tab; });

    tabs.showIndexTab(IndexTab::Search);
    tabs.showIndexTab(IndexTab::Favorites);
    EXPECT_EQ(told, (QList<IndexTab>{IndexTab::Search, IndexTab::Favorites}));
    EXPECT_EQ(tabs.indexTab(), IndexTab::Favorites);

    follower.reset();
    tabs.showIndexTab(IndexTab::Popular);
    EXPECT_EQ(told.size(), 2) << "a follower gone is told nothing";
    EXPECT_EQ(tabs.indexTab(), IndexTab::Popular);
}

TEST_F(FrameViews, theVardeckBeingEditedIsTheShownOneOnlyWhileItIsModified)
{
    const ShownItems &shown = *window;
    window->showVardeck("W7", "Seventh");
    const struct {
        EditState state;
        QString edited;
    } cases[] = {{EditState::Modifying, "W7"}, {EditState::Adding, ""}, {EditState::Viewing, ""}};
    for (const auto &c : cases) {
        window->setEditState(c.state);
        EXPECT_EQ(shown.editedWID(), c.edited) << "edit state " << int(c.state);
    }
}

TEST_F(FrameViews, aFolderShownAndAVardeckChosenThroughTheViewAreTheWindows)
{
    ShownItems &shown = *window;
    EXPECT_FALSE(shown.folderShown());

    shown.showFolder("T3", "Inner");
    shown.selectVardeck("W2");

    EXPECT_TRUE(shown.folderShown());
    EXPECT_EQ(shown.currentTID(), "T3");
    EXPECT_EQ(window->folderCaption(), "Inner");
    EXPECT_EQ(window->selectedWID(), "W2");
    EXPECT_EQ(shown.selectedWID(), "W2");
}

} // namespace
} // namespace rr::test
