// A synchronisation run started from the Web Aspect, against the tests' own server on
// 127.0.0.1, the page browser offscreen.
#include "explorer/editingfixture.h"
#include "media/ui/frmthumb.h"
#include "media/ui/iconcommands.h"
#include "media/ui/thumbcommands.h"
#include "shell/statuspanels.h"
#include "support/dialogcontrols.h"
#include "support/httpserver.h"
#include "support/windowcontrols.h"
#include "web/ui/webaspect.h"

#include <QLabel>

namespace rr::test
{
namespace
{

class WebSyncTest : public EditingTest
{
protected:
    HttpServer site{60000};
    ThumbCommands *thumbs = nullptr;

    void SetUp() override
    {
        EditingTest::SetUp();
        installWebAspect(*window);
        thumbs = &installThumbCommands(*window, installIconCommands(*window));
        site.route("/titled.html", page("<html><head><title>Page title</title></head><body></body></html>"));
        openDb(
            "<FOLDERS>" +
            folderXml("T1", "Pages",
                      VD{"W1", "Old name", site.url("/titled.html"), "06 Dec 2026", "", "", "", "", "1", "1", "FALSE"}
                          .xml()) +
            "</FOLDERS>");
    }
    void TearDown() override
    {
        if (thumbs->window())
            thumbs->window()->close();
        EditingTest::TearDown();
    }
};

} // namespace

TEST_F(WebSyncTest, aFolderRunFromTheWebAspectLeavesTheExplorersCommandsOffThere)
{
    showVardeck("T1", "W1");
    menu(MenuId::mnuAspectWeb);
    ASSERT_EQ(window->currentAspect(), "Web");
    menu(MenuId::mnuToolsSynchFolder);
    frmThumb *form = thumbs->window();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(waitUntil([&] { return dialogControl<QLabel>(*form, "Label1")->text() == "Done"; }, 45000));
    ASSERT_EQ(form->synchronised(), 1);
    EXPECT_EQ(stored("W1").childText("NAME"), "Page title");

    EXPECT_EQ(window->currentAspect(), "Web");
    // What the Web Aspect turns off stays off, as it was before the run.
    struct Off {
        const char *name;
        bool enabled;
    };
    const Off off[] = {
        {"Update", window->toolbarButton(Tb::UpdateVardeck)->isEnabled()},
        {"Delete", window->toolbarButton(Tb::DeleteVardeck)->isEnabled()},
        {"First", window->toolbarButton(Tb::FirstVardeck)->isEnabled()},
        {"Next", window->toolbarButton(Tb::NextVardeck)->isEnabled()},
        {"Open in browser", window->toolbarButton(Tb::OpenInBrowser)->isEnabled()},
        {"Edit menu", window->menuItem(MenuId::mnuEdit)->isEnabled()},
    };
    for (const Off &item : off)
        EXPECT_FALSE(item.enabled) << item.name;
    EXPECT_NE(StatusBar1(*window)->panelText(2), "\\Pages") << "the Web Aspect shows no folder path";
}

} // namespace rr::test
