// The import progress window's captions and counts as an import sets them through the
// window's own operations.
#include "exchange/ui/frmprogress.h"
#include "support/dialogcontrols.h"

#include <QLabel>
#include <gtest/gtest.h>

using namespace rr;
using rr::test::dialogControl;

namespace
{

QString caption(const frmProgress &progress, const char *name)
{
    return dialogControl<QLabel>(progress, name)->text();
}

bool shown(const frmProgress &progress, const char *name)
{
    return dialogControl<QLabel>(progress, name)->isVisibleTo(&progress);
}

} // namespace

TEST(ProgressWindow, anEmptyPhaseCaptionKeepsTheOneShownAndTheNextImportStartsFromTheLoadCaptions)
{
    frmProgress *progress = frmProgress::instance(nullptr);
    progress->begin();
    struct Step {
        const char *folderCaption;
        const char *vardeckCaption;
        const char *folderShown;
        const char *vardeckShown;
    };
    const Step steps[] = {
        {"Indexing folder:", "", "Indexing folder:", "Loading Vardeck:"},
        {"", "Indexing Vardeck:", "Indexing folder:", "Indexing Vardeck:"},
        {"", "", "Indexing folder:", "Indexing Vardeck:"},
        {"Folder:", "Vardeck:", "Folder:", "Vardeck:"},
    };
    for (const Step &step : steps) {
        progress->setCaptions(QString::fromLatin1(step.folderCaption), QString::fromLatin1(step.vardeckCaption));
        EXPECT_EQ(caption(*progress, "Label1"), step.folderShown) << step.folderCaption << "|" << step.vardeckCaption;
        EXPECT_EQ(caption(*progress, "Label3"), step.vardeckShown) << step.folderCaption << "|" << step.vardeckCaption;
    }
    progress->begin();
    EXPECT_EQ(caption(*progress, "Label1"), "Folder name:");
    EXPECT_EQ(caption(*progress, "Label3"), "Loading Vardeck:");
    delete progress;
}

TEST(ProgressWindow, anImportShowsTheFolderCountOnlyWhenItCountsFoldersAndNeverTheFavsCount)
{
    frmProgress *progress = frmProgress::instance(nullptr);
    for (const bool folders : {true, false, true}) {
        progress->showCounts(folders);
        EXPECT_EQ(shown(*progress, "Label6"), folders);
        EXPECT_EQ(shown(*progress, "lblFolders"), folders);
        EXPECT_FALSE(shown(*progress, "Label2"));
        EXPECT_FALSE(shown(*progress, "lblFavs"));
        EXPECT_TRUE(shown(*progress, "lblVD")) << "the Vardeck count is always shown";
    }
    delete progress;
}
