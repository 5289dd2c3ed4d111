// What the web panes are handed of the main window: the window's own database, commands
// and views; and the window's session, which keeps the pages the last browser scan found.
#include "shell/frmvardecks.h"
#include "support/testenv.h"
#include "web/ui/installweb.h"

#include <gtest/gtest.h>

using namespace rr;
using namespace rr::test;

namespace
{

class WebWindowTest : public ::testing::Test
{
protected:
    TempHome home;
    frmVardecks window;
};

DetectedPage page(const char *address, const char *name)
{
    DetectedPage found;
    found.address = QString::fromLatin1(address);
    found.name = QString::fromLatin1(name);
    return found;
}

QString addresses(const QList<DetectedPage> &pages)
{
    QStringList texts;
    for (const DetectedPage &found : pages)
        texts << found.name + QStringLiteral(" ") + found.address;
    return texts.join(QStringLiteral(", "));
}

} // namespace

TEST_F(WebWindowTest, theWebPanesAreHandedTheMainWindowsOwnDatabaseCommandsAndViews)
{
    const WebWindow handed = webWindowOf(window);
    const struct {
        const char *what;
        const void *handed;
        const void *own;
    } cases[] = {
        {"main window", &handed.mainWindow, static_cast<QWidget *>(&window)},
        {"parts", &handed.parts, &window},
        {"commands", &handed.commands, &window.commands},
        {"database", &handed.db, &window.dbXML},
        {"shown items", &handed.shown, static_cast<ShownItems *>(&window)},
        {"panes", &handed.panes, static_cast<FramePanes *>(&window)},
        {"status bar", &handed.status, static_cast<FrameStatus *>(&window)},
        {"options", &handed.options, static_cast<FrameOptions *>(&window)},
        {"session", &handed.session, static_cast<FrameSession *>(&window)},
        {"pictures", &handed.pictures, &window.vardeckPictures()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.handed, c.own) << c.what;
}

TEST_F(WebWindowTest, theSessionKeepsThePagesTheLastScanFound)
{
    FrameSession &session = window;
    EXPECT_FALSE(session.isUnloaded());
    EXPECT_EQ(session.splashWindow(), nullptr);
    EXPECT_EQ(addresses(session.detectedPages()), "");

    session.browserPagesFound({page("http://a.example/", "A"), page("http://b.example/", "B")});
    EXPECT_EQ(addresses(session.detectedPages()), "A http://a.example/, B http://b.example/");
    EXPECT_EQ(addresses(window.detectedPages()), "A http://a.example/, B http://b.example/");

    session.browserPagesFound({page("http://c.example/", "C")});
    EXPECT_EQ(addresses(session.detectedPages()), "C http://c.example/");
}
