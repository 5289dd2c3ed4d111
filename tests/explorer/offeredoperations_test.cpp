// What the frame, the options dialog and the finding panes ask of the Explorer's folder
// tree, Vardeck views and drops through the window: the parts offer it as they are
// installed (partops_test.cpp: a window without them).
#include "popupsfixture.h"

#include "explorer/externaldrops.h"
#include "platform/gui/partoperations.h"
#include "shell/foldertreeoperations.h"
#include "shell/listdropoperations.h"
#include "shell/vardeckviewsoperations.h"
#include "support/windowcontrols.h"

#include <QMimeData>

using namespace rr;
using namespace rr::test;

namespace
{

TEST_F(PopupsTest, theFolderTreeTheViewsAndTheDropsAreWhatTheWindowOffers)
{
    EXPECT_EQ(&operationsOf<FolderTreeOperations>(*window), static_cast<FolderTreeOperations *>(&explorer->tree));
    EXPECT_EQ(&operationsOf<VardeckViewsOperations>(*window), static_cast<VardeckViewsOperations *>(&explorer->views));
    EXPECT_EQ(&operationsOf<ListDropOperations>(*window), static_cast<ListDropOperations *>(&parts->drops));

    open();
    const FolderTreeOperations &folders = operationsOf<FolderTreeOperations>(*window);
    const struct {
        const char *tid;
        std::optional<QString> path;
    } paths[] = {{"T1", "\\Alpha"}, {"T3", "\\Alpha\\Beta\\Gamma"}, {"T9", std::nullopt}};
    for (const auto &c : paths)
        EXPECT_EQ(folders.folderPathOf(c.tid), c.path) << c.tid;

    QMimeData address;
    address.setText("http://drop.example/");
    QMimeData words;
    words.setText("hello world");
    EXPECT_TRUE(operationsOf<ListDropOperations>(*window).acceptsListDrop(&address));
    EXPECT_FALSE(operationsOf<ListDropOperations>(*window).acceptsListDrop(&words));
}

TEST_F(PopupsTest, clearingTheFolderTreesEmptiesTheFolderTreeAndTheVardeckTree)
{
    open();
    clickFolder("T1");
    ASSERT_EQ(tvwWM(*window)->topLevelItemCount(), 4);
    operationsOf<FolderTreeOperations>(*window).clearFolderTrees();
    EXPECT_EQ(topics()->topLevelItemCount(), 0);
    EXPECT_EQ(tvwWM(*window)->topLevelItemCount(), 0);
}

} // namespace
