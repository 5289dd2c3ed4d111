// The browser scan over a test-written Firefox profile and a debugging endpoint on 127.0.0.1.
#include "support/firefoxprofile.h"
#include "support/httpserver.h"
#include "support/testenv.h"
#include "web/devtoolspages.h"
#include "web/firefoxsession.h"
#include "web/pagecapture.h"

#include <QDir>
#include <gtest/gtest.h>

namespace rr
{
namespace
{

const QByteArray kDevToolsList = R"([
    {"type":"page","id":"A","title":"Mail inbox","url":"https://mail.example/inbox"},
    {"type":"service_worker","title":"sw","url":"https://mail.example/sw.js"},
    {"type":"page","id":"B","title":"","url":"https://blank-title.example/"},
    {"type":"background_page","title":"ext","url":"chrome-extension://x/bg.html"}])";

CaptureSettings settingsFor(const QString &home, QList<quint16> ports)
{
    CaptureSettings s;
    s.home = home;
    s.ports = ports;
    s.display = QStringLiteral(":none"); // no window list: the scans take every page
    s.ownCaption = QStringLiteral("Razuzezu Revidod");
    s.timeoutMs = 1000;
    return s;
}

TEST(FirefoxSession, brokenSessionsGiveNothingOrTheUsableTabsOnly)
{
    for (const char *broken : {"", "[]", "{", "null", "{\"windows\":5}", "{\"windows\":[[1],{\"tabs\":7}]}"}) {
        const std::optional<firefox::Session> s = firefox::parseSession(broken);
        EXPECT_TRUE(!s || s->windows.isEmpty()) << broken;
        if (s) {
            EXPECT_FALSE(s->frontPage()) << broken;
        }
    }
    const QByteArray deep = QByteArray(5000, '[') + QByteArray(5000, ']');
    EXPECT_FALSE(firefox::parseSession(deep));

    // Index past the entries, no entries, no address, an address too long to keep,
    // and a selected window that does not exist.
    const QByteArray odd = R"({"selectedWindow":9,"windows":[{"selected":4,"tabs":[
        {"index":99,"entries":[{"url":"https://a.example/","title":"A"},{"url":"https://b.example/","title":"B"}]},
        {"entries":[]}, {"entries":[{"title":"no address"}]},
        {"entries":[{"url":"data:text/html,)" +
                           QByteArray(9000, 'x') + R"(","title":"huge"}]}]}]})";
    const std::optional<firefox::Session> s = firefox::parseSession(odd);
    ASSERT_TRUE(s);
    ASSERT_EQ(s->windows.size(), 1);
    ASSERT_EQ(s->windows[0].tabs.size(), 1);
    EXPECT_EQ(s->windows[0].tabs[0].address, "https://b.example/");
    EXPECT_EQ(s->windows[0].tabs[0].browser, "Mozilla Firefox");
    EXPECT_EQ(s->frontPage()->name, "B");
}

TEST(FirefoxSession, profilesComeFromEveryKnownPlaceOnce)
{
    // Newer versions keep profiles.ini in the XDG configuration folder.
    test::FirefoxProfile xdg(QStringLiteral(".config/mozilla/firefox"));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(firefox::profileFolders(xdg.home()), QStringList({xdg.profile()}));
    test::FirefoxProfile snap(QStringLiteral("snap/firefox/common/.mozilla/firefox"));
    const QString flatpak = snap.home() + "/.var/app/org.mozilla.firefox/.mozilla/firefox";
    ASSERT_TRUE(
        test::writeBytes(flatpak + "/profiles.ini",
                         "[Profile1]\nIsRelative=0\nPath=" + snap.profile().toUtf8() + "\n[Profile0]\nPath=other.p\n"));
    EXPECT_EQ(firefox::profileFolders(snap.home()), QStringList({snap.profile(), flatpak + "/other.p"}));
}

TEST(BrowserCapture, aQuitFirefoxAndBrokenFilesOrRepliesAddNothing)
{
    test::FirefoxProfile profile;
    const QByteArray packed = mozlz4::compress(test::FirefoxProfile::twoWindows());
    BrowserCapture capture(settingsFor(profile.home(), {}));

    // Firefox has quit: its session file stays, its lock names a process that is gone.
    profile.writeSessionBytes(packed);
    profile.lockBy(0x3ffffff0);
    EXPECT_FALSE(capture.isFFOpen());
    EXPECT_TRUE(capture.getOpenBrowserPages(false).isEmpty());

    profile.lockBy(QCoreApplication::applicationPid());
    for (const QByteArray &broken : {packed.left(packed.size() / 2), QByteArray("mozLz40"),
                                     mozlz4::compress("{\"windows\":[{\"tabs\":[{\"entries\":[{\"url\":")}) {
        profile.writeSessionBytes(broken);
        EXPECT_TRUE(capture.isFFOpen());
        EXPECT_TRUE(capture.getOpenBrowserPages(false).isEmpty());
    }

    test::HttpServer server(60000, false);
    server.route("/json/version", test::json("{}"));
    BrowserCapture debugging(settingsFor(profile.home(), {server.port()}));
    for (const QByteArray &list : {QByteArray(5 * 1024 * 1024, ' ') + kDevToolsList, kDevToolsList.left(60),
                                   QByteArray(R"({"type":"page","url":"https://x.example/"})")}) {
        server.route("/json/list", test::json(list));
        EXPECT_TRUE(debugging.getOpenBrowserPages(false).isEmpty()) << list.right(60).toStdString();
    }
    // An endpoint that names no product is still listed, as "Chromium".
    EXPECT_EQ(devtools::productName("{}"), "");
    EXPECT_EQ(devtools::parsePageList(kDevToolsList, "Chromium").size(), 2);

    // Readable again; without a window list the top-only scan takes every page.
    profile.writeSessionBytes(packed);
    EXPECT_EQ(capture.getOpenBrowserPages(true).size(), 3);
}

TEST(TopBrowserWindow, theFirstBrowserWindowFromTheTopThatIsNotOurs)
{
    using W = x11::TopLevelWindow;
    const QList<W> windows = {
        {1, "", "Navigator", "firefox", 10},
        {2, "razuzezu revidod", "razuzezu-revidod", "firefox", 10},
        {3, "Vardeck detected", "razuzezu-revidod", "Razuzezu-revidod", 77},
        {4, "Netscape notes - Mozilla Firefox", "notes", "Notes", 11},
        {5, "Shop & cart \u2014 Mozilla Firefox", "Navigator", "firefox", 12},
        {6, "Mail inbox - Chromium", "chromium", "Chromium", 13},
    };
    const TopBrowserWindow top = topBrowserWindow(windows, "Razuzezu Revidod", 77);
    EXPECT_EQ(top.kind, BrowserKind::Firefox);
    EXPECT_EQ(top.title, "Shop & cart");
    const TopBrowserWindow chromium = topBrowserWindow(windows.mid(5), "Razuzezu Revidod", 77);
    EXPECT_EQ(chromium.kind, BrowserKind::Chromium);
    EXPECT_EQ(chromium.title, "Mail inbox");
    EXPECT_EQ(topBrowserWindow(windows.mid(0, 4), "Razuzezu Revidod", 77).kind, BrowserKind::None);
    EXPECT_EQ(browserKindOfClass("Navigator", "Firefox-esr"), BrowserKind::Firefox);
    EXPECT_EQ(browserKindOfClass("google-chrome", "Google-chrome"), BrowserKind::Chromium);
    EXPECT_EQ(browserKindOfClass("netscape", "Netscape"), BrowserKind::None);
}

} // namespace
} // namespace rr
