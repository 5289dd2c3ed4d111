// The main window as the host of the folder and move dialogs: what a dialog reports
// reaches the frame, and a dialog takes the fallback font only when the designed font
// is missing.
#include "explorer/dialoghosts.h"
#include "explorerfixture.h"

#include <QDialog>
#include <QLabel>

using namespace rr;
using namespace rr::test;

namespace
{

class WindowFolderDialogHostTest : public ExplorerTest
{
};

TEST_F(WindowFolderDialogHostTest, theChangesADialogReportsMarkThoseWebAspectPagesStaleAndNoOthers)
{
    WindowFolderDialogHost host(*window);
    const struct {
        StalePages stale;
        bool folders, all, hits, favorites;
    } cases[] = {
        {StalePages{.folders = true}, true, false, false, false},
        {StalePages{.all = true, .hits = true}, false, true, true, false},
        {StalePages{.favorites = true, .reshowWebAspect = true}, false, false, false, true},
        {StalePages::everyPage(), true, true, true, true},
    };
    for (const auto &c : cases) {
        for (int page : {frmVardecks::FoldersPage, frmVardecks::AllPage, frmVardecks::HitsPage, frmVardecks::FavsPage})
            window->aspectPageMade(page);
        host.collectionChanged(c.stale);
        EXPECT_EQ(window->aspectPageStale(frmVardecks::FoldersPage), c.folders);
        EXPECT_EQ(window->aspectPageStale(frmVardecks::AllPage), c.all);
        EXPECT_EQ(window->aspectPageStale(frmVardecks::HitsPage), c.hits);
        EXPECT_EQ(window->aspectPageStale(frmVardecks::FavsPage), c.favorites);
    }
}

TEST_F(WindowFolderDialogHostTest, aDialogTakesTheFallbackFontOnlyWhenTheDesignedFontIsMissing)
{
    WindowFolderDialogHost host(*window);
    const bool wasInstalled = session().sansSerifInstalled;
    for (const bool installed : {false, true}) {
        session().sansSerifInstalled = installed;
        QDialog dialog;
        auto *label = new QLabel(QStringLiteral("Folder"), &dialog);
        label->setFont(QFont(QStringLiteral("Tahoma")));
        host.applyFontFallback(&dialog);
        EXPECT_EQ(label->font().family(), installed ? "Tahoma" : "MS Sans Serif") << installed;
    }
    session().sansSerifInstalled = wasInstalled;
}

} // namespace
