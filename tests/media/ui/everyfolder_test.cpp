// The runs over all Vardecks, started with one folder shown: they reach the Vardecks of every folder,
// sub-folders included, against the tests' own server on 127.0.0.1.
#include "explorer/editingfixture.h"
#include "media/ui/frmthumb.h"
#include "media/ui/iconcommands.h"
#include "media/ui/thumbcommands.h"
#include "support/dialogcontrols.h"
#include "support/httpserver.h"
#include "support/windowcontrols.h"

#include <QLabel>

namespace rr::test
{
namespace
{

class EveryFolderTest : public EditingTest
{
protected:
    HttpServer site{60000};
    ThumbCommands *thumbs = nullptr;

    // Shown (W1 First), Other (W2 Second) holding Inner (W3 Third); every page titled "Known title".
    void SetUp() override
    {
        EditingTest::SetUp();
        thumbs = &installThumbCommands(*window, installIconCommands(*window));
        site.route("/page.html", page("<html><head><title>Known title</title></head><body>A page</body></html>"));
        const QString address = site.url("/page.html");
        openDb("<FOLDERS>" + folderXml("T1", "Shown", vardeckXml("W1", "First", address)) +
               folderXml("T2", "Other", vardeckXml("W2", "Second", address),
                         folderXml("T3", "Inner", vardeckXml("W3", "Third", address))) +
               "</FOLDERS>");
        clickFolder("T1");
    }
    void TearDown() override
    {
        if (thumbs->window())
            thumbs->window()->close();
        EditingTest::TearDown();
    }
};

} // namespace

TEST_F(EveryFolderTest, synchronisingAllVardecksReachesEveryFolder)
{
    menu(MenuId::mnuToolsSynchAll);
    frmThumb *form = thumbs->window();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(waitUntil([&] { return dialogControl<QLabel>(*form, "lblProg")->text() == "1 of 3"; }, 10000))
        << dialogControl<QLabel>(*form, "lblProg")->text().toStdString();
    ASSERT_TRUE(waitUntil([&] { return dialogControl<QLabel>(*form, "Label1")->text() == "Done"; }, 60000));
    EXPECT_EQ(form->synchronised(), 3);
    for (const char *wid : {"W1", "W2", "W3"})
        EXPECT_EQ(stored(wid).childText("NAME"), "Known title") << wid;
}

TEST_F(EveryFolderTest, loadingThumbnailsForAllVardecksListsTheVardecksOfEveryFolder)
{
    menu(MenuId::mnuThumbAll);
    frmThumb *form = thumbs->window();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(waitUntil([&] { return dialogControl<QLabel>(*form, "lblProg")->text() == "1 of 3"; }, 10000))
        << dialogControl<QLabel>(*form, "lblProg")->text().toStdString();
    EXPECT_EQ(dialogControl<QLabel>(*form, "lblName")->text(), "First");
}

} // namespace rr::test
