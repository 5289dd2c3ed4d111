// Visits and opening Vardecks in browsers, the Web Aspect's stylesheet files, and the scan of
// open browsers over a test-written Firefox profile and a debugging endpoint on 127.0.0.1.
#include "platform/paths.h"
#include "platform/xmldocument.h"
#include "platform/xslttransform.h"
#include "storage/useroptions.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"
#include "support/devtoolsserver.h"
#include "support/failingdisk.h"
#include "support/fakelauncher.h"
#include "support/firefoxprofile.h"
#include "web/aspectfiles.h"
#include "web/devtoolspages.h"
#include "web/firefoxsession.h"
#include "web/pagecapture.h"
#include "web/visits.h"

#include <QElapsedTimer>
#include <QLocale>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

using namespace rr;

namespace
{

QByteArray bareVardeck(const QByteArray &wid, const QByteArray &children)
{
    return "<VARDECK WID=\"" + wid + "\"><NAME>n</NAME><ADDRESS>http://a.example/</ADDRESS>" + children + "</VARDECK>";
}

// A database of four Vardecks whose visit records differ, opened with listener,
// prompts and launcher in place.
class Visits : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QByteArray vardecks = test::vardeckXml("W1", "one") + bareVardeck("W2", "<KEYWORD2/><HITS></HITS>") +
                                    bareVardeck("W3", "<KEYWORD2>old</KEYWORD2><HITS>9</HITS><FAV>FALSE</FAV>") +
                                    bareVardeck("W4", "<FAV>TRUE</FAV>");
        path = test::writeDatabase(home.databaseFolder(), "Vardecks.xml",
                                   "<FOLDERS>" + test::folderXml("T1", "f", vardecks) + "</FOLDERS>");
        db.setPath(path);
        ASSERT_TRUE(db.openDBValidate(path));
        setVisitListener([this](const VisitRecord &r) { records.push_back(r); });
    }
    void TearDown() override { setVisitListener({}); }

    QString childOnDisk(const QString &wid, const QString &child)
    {
        XMLDatabase reopened;
        EXPECT_TRUE(reopened.openDBValidate(path));
        return reopened.getTheDOM()->nodeFromID(wid).childText(child);
    }

    test::TempHome home;
    test::ScriptedPrompts prompts;
    test::FakeLauncher launcher;
    XMLDatabase db;
    QString path;
    std::vector<VisitRecord> records;
    const QDateTime evening{QDate(2026, 12, 5), QTime(19, 30)};
};

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

} // namespace

TEST_F(Visits, hitsGrowByOneStartAtTwoAndTheEnglishStampReachesTheListenerButNotForAVanishedVardeck)
{
    const QByteArray before = test::readBytes(path);
    EXPECT_EQ(updateLastAccessed(db, "W99", evening), "");
    EXPECT_EQ(updateLastAccessed(db, "T1", evening), ""); // a folder is no Vardeck
    EXPECT_EQ(updateLastAccessed(db, "", evening), "");
    XMLDatabase closed;
    EXPECT_EQ(updateLastAccessed(closed, "W1", evening), "") << "no database open";
    EXPECT_EQ(test::readBytes(path), before);
    EXPECT_FALSE(db.getTheDOM()->nodeFromID("T1").child("HITS"));
    EXPECT_TRUE(records.empty());

    const std::pair<const char *, const char *> cases[] = {{"W1", "2"}, {"W2", "2"}, {"W3", "10"}, {"W4", "2"}};
    for (const auto &[wid, hits] : cases) {
        EXPECT_EQ(updateLastAccessed(db, wid, evening), "05 Dec 2026 07:30 PM") << wid;
        EXPECT_EQ(childOnDisk(wid, "HITS"), hits) << wid;
        EXPECT_EQ(childOnDisk(wid, "KEYWORD2"), "05 Dec 2026 07:30 PM") << wid;
    }
    EXPECT_EQ(db.getTheDOM()->nodeFromID("W4").childElements().size(), 5) << "W4 gains exactly both children";

    // The stamp is English in any locale, and the listener hears it.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QString stamp = updateLastAccessed(db, "W3", QDateTime(QDate(2026, 2, 7), QTime(9, 5)));
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(stamp, "07 Feb 2026 09:05 AM");
    EXPECT_EQ(childOnDisk("W3", "HITS"), "11");
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records.back().wid, "W3");
    EXPECT_EQ(records.back().stamp, stamp);
    EXPECT_EQ(records.back().hits, "11");
    EXPECT_TRUE(records.back().saved);
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(Visits, failedSaveGivesTheReasonAndKeepsTheChange)
{
    const QByteArray before = test::readBytes(path);
    QString stamp;
    {
        test::FailingDisk disk;
        stamp = updateLastAccessed(db, "W3", evening);
    }
    EXPECT_EQ(stamp, "05 Dec 2026 07:30 PM");
    EXPECT_EQ(test::readBytes(path), before);
    const XmlNode w3 = db.getTheDOM()->nodeFromID("W3");
    EXPECT_EQ(w3.childText("HITS"), "10");
    EXPECT_EQ(w3.childText("KEYWORD2"), stamp);
    // The listener, the main window's, shows why.
    ASSERT_EQ(records.size(), 1u);
    EXPECT_FALSE(records[0].saved);
    ASSERT_EQ(records[0].notices.size(), 1);
    EXPECT_TRUE(records[0].notices[0].text.startsWith(
        "The Vardecks database could not be saved.  The change is kept until the next save.\n\n"));
    EXPECT_EQ(records[0].notices[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(prompts.messages().empty());

    // The next visit saves both changes.
    updateLastAccessed(db, "W3", evening);
    EXPECT_EQ(childOnDisk("W3", "HITS"), "11");
}

TEST_F(Visits, openingAVardeckRecordsTheVisitEvenWhenTheBrowserFailsAndHomeAndBlankPagesDoNot)
{
    appOptions().setDefaultBrowser("Op"); // not installed
    const urlSupport::Opening opening = openVardeckInBrowser(db, "W1", "http://a.example/x");
    EXPECT_EQ(opening.result, urlSupport::OpenResult::FellBackToDefault);
    EXPECT_EQ(opening.address, "http://a.example/x");
    EXPECT_EQ(childOnDisk("W1", "HITS"), "2");
    records.clear();
    prompts.clear();

    launcher.addProgram("firefox", "/usr/bin/firefox");
    appOptions().setDefaultBrowser("FF");
    const QByteArray before = test::readBytes(path);

    EXPECT_EQ(openHome("https://www.a.example/deep/er/page.html?x=1", "Deep").result, urlSupport::OpenResult::Started);
    EXPECT_EQ(openBlankBrowserWindow().result, urlSupport::OpenResult::Started);
    ASSERT_EQ(launcher.starts().size(), 2u);
    EXPECT_EQ(launcher.starts()[0].args, QStringList{"https://www.a.example/"});
    EXPECT_EQ(launcher.starts()[1].args, QStringList{"about:blank"});

    const urlSupport::Opening local = openHome("file:///home/me/page.html", "Local page");
    EXPECT_EQ(local.result, urlSupport::OpenResult::Refused);
    EXPECT_EQ(local.notice.text, "The homepage for Local page could not be loaded");
    EXPECT_EQ(local.notice.icon, MsgIcon::Information);
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(launcher.starts().size(), 2u);
    EXPECT_EQ(test::readBytes(path), before);
    EXPECT_TRUE(records.empty());
}

TEST(AspectFiles, onlyTheFiveViewStylesheetsAreUsedAsStoredStyles)
{
    EXPECT_EQ(aspectfiles::safeViewStylesheet("vdfavs.XSL"), "VDFavs.xsl");
    EXPECT_EQ(aspectfiles::safeViewStylesheet(" VDSearch.xsl "), "VDSearch.xsl");
    for (const char *stored :
         {"", "../../secret.xsl", "VD.xsl' href='http://evil.example/x.xsl", "VD_plain.xsl", "/tmp/VD.xsl"})
        EXPECT_EQ(aspectfiles::safeViewStylesheet(stored), "VD.xsl") << stored;
}

TEST(AspectFiles, theInstructionReplacesEveryXslInstructionWhateverItsQuotesAndCase)
{
    QTemporaryDir dir;
    const QString path = test::writeDatabase(dir.path(), "Vardecks.xml", "<FOLDERS/>");
    ASSERT_TRUE(test::writeBytes(
        path, "<?xml version='1.0'?>\n<?xml-stylesheet type='text/xsl' href='VDAll.xsl'?>\n"
              "<?xml-stylesheet type=\"text/xsl\" href=\"VDHits.xsl\"?>\n<?xml-stylesheet TYPE='Text/XSL' "
              "href='VDFavs.xsl'?>\n<?xml-stylesheet type='text/css' href='print.css'?>\n"
              "<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>\n<FOLDERS/>\n"));
    XmlDocument doc;
    ASSERT_TRUE(doc.load(path)) << doc.parseErrorReason().toStdString();
    aspectfiles::setStylesheetInstruction(doc, "vdsearch.xsl");
    EXPECT_EQ(doc.processingInstructionData("xml-stylesheet"),
              QList<QString>({"type='text/xsl' href='VDSearch.xsl'", "type='text/css' href='print.css'"}));
    const QByteArray saved = doc.toBytes();
    EXPECT_TRUE(saved.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<?xml-stylesheet type='text/xsl' "
                                 "href='VDSearch.xsl'?>\n"))
        << saved.left(200).toStdString();
}

TEST(AspectFiles, missingStylesheetsAndStylesArePutBesideTheDatabaseAndOthersKept)
{
    QTemporaryDir dir;
    ASSERT_TRUE(test::writeBytes(dir.filePath("VDStyle.css"), "body { color: red; }"));
    ASSERT_TRUE(aspectfiles::restoreMissing(dir.path() + "/"));
    for (const char *name :
         {"VD.xsl", "VDAll.xsl", "VDFavs.xsl", "VDHits.xsl", "VDSearch.xsl", "VD_plain.xsl", "VDAll_plain.xsl",
          "VDFavs_plain.xsl", "VD_plain.css", "VD_courier.css", "VD_comic.css", "VD_verdana.css"})
        EXPECT_TRUE(QFileInfo(dir.filePath(name)).isWritable()) << name;
    EXPECT_EQ(test::readBytes(dir.filePath("VDStyle.css")), "body { color: red; }");
    EXPECT_EQ(aspectfiles::pagePath("/d/", "HitsTemp"), "/d/VardecksHitsTemp.htm");
}

TEST(AspectFiles, aStylesheetAnEarlierVersionLeftUnchangedIsBroughtUpToDateAndOneTheUserChangedIsKept)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    const auto earlier = [](const char *name) {
        return test::readBytes(test::dataFile(QString("web/earlier/") + name));
    };
    const auto installed = [](const char *name) {
        return test::readBytes(paths::installedDataFolder() + "/DeVivozoda/" + name);
    };
    QByteArray ownAll = earlier("VDAll.xsl");
    ownAll.replace("<title>Vardecks - all</title>", "<title>My own list</title>");
    ASSERT_TRUE(test::writeBytes(folder + "VD.xsl", earlier("VD.xsl")));
    ASSERT_TRUE(test::writeBytes(folder + "VDSearch.xsl", earlier("VDSearch.xsl")));
    // The pane formatting the search view wrote its search text into the copy.
    ASSERT_TRUE(xslt::writeVariableText(folder + "VDSearch.xsl", {"search", "Quokka & co"}, nullptr));
    ASSERT_TRUE(test::writeBytes(folder + "VDAll.xsl", ownAll));
    ASSERT_TRUE(test::writeBytes(folder + "VDFavs.xsl", "<xsl:stylesheet"));

    ASSERT_TRUE(aspectfiles::restoreMissing(folder));
    const struct {
        const char *name;
        QByteArray kept;
    } expected[] = {
        {"VD.xsl", installed("VD.xsl")},   {"VDSearch.xsl", installed("VDSearch.xsl")}, {"VDAll.xsl", ownAll},
        {"VDFavs.xsl", "<xsl:stylesheet"}, {"VDHits.xsl", installed("VDHits.xsl")},
    };
    for (const auto &file : expected)
        EXPECT_EQ(test::readBytes(folder + file.name), file.kept) << file.name;
}

TEST(FirefoxSession, brokenSessionsGiveNothingOrTheUsableTabsOnly)
{
    for (const char *broken : {"", "[]", "{", "null", "{\"windows\":5}", "{\"windows\":[[1],{\"tabs\":7}]}"}) {
        const std::optional<firefox::Session> s = firefox::parseSession(broken);
        EXPECT_TRUE(!s || (s->windows.isEmpty() && !s->frontPage())) << broken;
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

    test::DevToolsServer server;
    BrowserCapture debugging(settingsFor(profile.home(), {server.port()}));
    for (const QByteArray &list : {QByteArray(5 * 1024 * 1024, ' ') + kDevToolsList, kDevToolsList.left(60),
                                   QByteArray(R"({"type":"page","url":"https://x.example/"})")}) {
        server.setListBody(list);
        EXPECT_TRUE(debugging.getOpenBrowserPages(false).isEmpty()) << list.right(60).toStdString();
    }
    // An endpoint that names no product is still listed, as "Chromium".
    EXPECT_EQ(devtools::productName("{}"), "");
    EXPECT_EQ(devtools::parsePageList(kDevToolsList, "Chromium").size(), 2);

    // Readable again; without a window list the top-only scan takes every page.
    profile.writeSessionBytes(packed);
    EXPECT_EQ(capture.getOpenBrowserPages(true).size(), 3);
}

TEST(BrowserCapture, pagesComeWithTheTitlesThePagesGiveAndOnlyWebPagesAndFilesAreOffered)
{
    // Firefox keeps titles as they are: an "&amp;" there is the page's own text.
    test::FirefoxProfile profile;
    profile.writeSession(R"js({"windows":[{"tabs":[
        {"entries":[{"url":"about:newtab","title":"New Tab"}]},
        {"entries":[{"url":"https://fish.example/?a=1&amp;b=2","title":"Fish &amp; chips <b>"}]},
        {"entries":[{"url":"javascript:alert(1)","title":"Script"}]},
        {"entries":[{"url":"view-source:https://fish.example/","title":"Source"}]},
        {"entries":[{"url":"file:///home/me/notes.html","title":"Notes"}]}]}]})js");
    // Chromium escapes every title in its list.
    test::DevToolsServer chromium;
    chromium.setTargets({
        {"page", "Hidden capture page & co", "http://127.0.0.1:8766/page.html"},
        {"page", "New Tab", "chrome://newtab/"},
        {"page", "<b>Bold</b> \"quoted\" 'single' &amp; \u00e9\u20ac", "https://a.example/?x=1&y=2"},
        {"browser_ui", "Omnibox Popup", "chrome://omnibox-popup.top-chrome/"},
        {"page", "Data", "data:text/html,<title>x</title>"},
        {"page", "&#39;kept&#39; &amp &copy; & ;", "https://b.example/"},
    });
    BrowserCapture capture(settingsFor(profile.home(), {chromium.port()}));
    QElapsedTimer clock;
    clock.start();
    QStringList seen;
    for (const DetectedPage &page : capture.getOpenBrowserPages(false))
        seen << page.name + " | " + page.address + " | " + page.browser;
    EXPECT_LT(clock.elapsed(), 1000) << "the kept-open connection is read up to its length";
    EXPECT_EQ(seen, QStringList({
                        "Fish &amp; chips <b> | https://fish.example/?a=1&amp;b=2 | Mozilla Firefox",
                        "Notes | file:///home/me/notes.html | Mozilla Firefox",
                        "Hidden capture page & co | http://127.0.0.1:8766/page.html | Chrome",
                        "<b>Bold</b> \"quoted\" 'single' &amp; \u00e9\u20ac | https://a.example/?x=1&y=2 | Chrome",
                        "&#39;kept&#39; &amp &copy; & ; | https://b.example/ | Chrome",
                    }));
    EXPECT_EQ(chromium.http().refused(), 0);
    EXPECT_EQ(chromium.http().hostHeaders().value(0), "127.0.0.1:" + QByteArray::number(chromium.port()));

    // References the list may carry other than its own five are read as a browser reads them.
    const QList<DetectedPage> odd = devtools::parsePageList(
        R"([{"type":"page","url":"https://c.example/","title":"&#x27;x&#X27; &#65;&#0;&#xD800;&#1114112;&copy;&amp"}])",
        "Chrome");
    ASSERT_EQ(odd.size(), 1);
    EXPECT_EQ(odd[0].name, "'x' A\uFFFD\uFFFD\uFFFD\u00A9&");
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

TEST(BrowserCapture, aPageWithoutATitleIsNamedByItsFullAddressInEitherBrowser)
{
    // Firefox ESR 153 keeps the address as the title of such a page, with the host of an
    // IDN address in its ASCII form (the address itself in its Unicode form); older ones
    // keep no title.
    test::FirefoxProfile profile;
    profile.writeSession(R"({"windows":[{"tabs":[{"entries":[{"url":"http://127.0.0.1:8766/t06.html"}]},
        {"entries":[{"url":"http://caf\u00e9.example:8791/untitled.html",
                     "title":"http://xn--caf-dma.example:8791/untitled.html"}]}]}]})");
    // Chromium lists the address as its address bar shows it, as captured from Chromium 156.
    test::DevToolsServer chromium;
    chromium.setTargets({
        {"page", "127.0.0.1:8766/t06.html", "http://127.0.0.1:8766/t06.html"},
        {"page", "127.0.0.1:8766/t06.html", "http://user:pw@127.0.0.1:8766/t06.html"},
        {"page", "127.0.0.1:8766", "http://127.0.0.1:8766/"},
        {"page", "127.0.0.1:8766/a b \u00e9.html", "http://127.0.0.1:8766/a%20b%20%C3%A9.html"},
        {"page", "127.0.0.1:8766/t06.html?q=1&r= x#frag", "http://127.0.0.1:8766/t06.html?q=1&r=%20x#frag"},
        {"page", "t06.html", "file:///srv/www/t06.html"},
        {"page", "127.0.0.1:8443", "https://127.0.0.1:8443/"},
        {"page", "b\u00fccher.example/list", "https://xn--bcher-kva.example/list"},
        {"page", "caf\u00e9.example:8791/untitled.html", "http://xn--caf-dma.example:8791/untitled.html"},
        {"page", "[::1]:8791/untitled.html", "http://[::1]:8791/untitled.html"},
        // Titles of the pages' own stay, even when they look like part of the address.
        {"page", "127.0.0.1", "http://127.0.0.1/t06.html"},
        {"page", "t06.html", "http://127.0.0.1:8766/t06.html"},
        {"page", "Titled page", "http://127.0.0.1:8766/t01.html"},
    });
    BrowserCapture capture(settingsFor(profile.home(), {chromium.port()}));
    QStringList names;
    for (const DetectedPage &page : capture.getOpenBrowserPages(false))
        names << page.name;
    const QStringList expected = {
        "http://127.0.0.1:8766/t06.html",
        "http://xn--caf-dma.example:8791/untitled.html",
        "http://127.0.0.1:8766/t06.html",
        "http://user:pw@127.0.0.1:8766/t06.html",
        "http://127.0.0.1:8766/",
        "http://127.0.0.1:8766/a%20b%20%C3%A9.html",
        "http://127.0.0.1:8766/t06.html?q=1&r=%20x#frag",
        "file:///srv/www/t06.html",
        "https://127.0.0.1:8443/",
        "https://xn--bcher-kva.example/list",
        "http://xn--caf-dma.example:8791/untitled.html",
        "http://[::1]:8791/untitled.html",
        "127.0.0.1",
        "t06.html",
        "Titled page",
    };
    EXPECT_EQ(names.join('\n').toStdString(), expected.join('\n').toStdString());
}

namespace
{

// A browser started with remote debugging that accepts and never answers.
std::unique_ptr<test::DevToolsServer> silentBrowser()
{
    auto server = std::make_unique<test::DevToolsServer>();
    server->http().route(QStringLiteral("/json/list"), {.hang = true});
    return server;
}

} // namespace

TEST(BrowserScan, asksEveryPortAtOnceReturnsAtOnceAndGivesThePagesOfTheWaitingScan)
{
    test::FirefoxProfile profile;
    profile.writeSession(test::FirefoxProfile::twoWindows());
    test::DevToolsServer first;
    first.setTargets({{"page", "Mail", "https://mail.example/"}, {"page", "New Tab", "chrome://newtab/"}});
    test::DevToolsServer second("Brave/1.2");
    second.setTargets({{"page", "Maps", "https://maps.example/"}});
    std::vector<std::unique_ptr<test::DevToolsServer>> silent;
    for (int i = 0; i < 5; ++i)
        silent.push_back(silentBrowser());
    const quint16 closed = test::HttpServer().port();
    CaptureSettings settings =
        settingsFor(profile.home(), {silent[0]->port(), first.port(), silent[1]->port(), closed, silent[2]->port(),
                                     second.port(), silent[3]->port(), silent[4]->port()});
    settings.timeoutMs = 1000;

    QElapsedTimer clock;
    clock.start();
    std::optional<QList<DetectedPage>> found;
    BrowserScan scan(settings, [&](const QList<DetectedPage> &pages) { found = pages; });
    EXPECT_LT(clock.elapsed(), 200) << "nothing waits for the browsers";
    EXPECT_FALSE(found);
    ASSERT_TRUE(test::waitUntil([&] { return found.has_value(); }, 10000));
    // The silent ports are waited for side by side, not one after another.
    EXPECT_GE(clock.elapsed(), 950);
    EXPECT_LT(clock.elapsed(), 3000);
    QStringList seen;
    for (const DetectedPage &page : *found)
        seen << page.name + " | " + page.address + " | " + page.browser;
    const QStringList expected = {
        "News <b>today</b> | https://news.example/today | Mozilla Firefox",
        "https://docs.example/guide | https://docs.example/guide | Mozilla Firefox",
        "Shop & cart | https://shop.example/cart | Mozilla Firefox",
        "Mail | https://mail.example/ | Chrome",
        "Maps | https://maps.example/ | Brave",
    };
    EXPECT_EQ(seen, expected);
    settings.timeoutMs = 300;
    seen.clear();
    for (const DetectedPage &page : BrowserCapture(settings).getOpenBrowserPages(false))
        seen << page.name + " | " + page.address + " | " + page.browser;
    EXPECT_EQ(seen, expected) << "the same pages as the scan that waits";

    // A scan let go of before it ends answers nothing; one without ports answers from the event loop.
    bool answered = false;
    auto abandoned = std::make_unique<BrowserScan>(settings, [&](const QList<DetectedPage> &) { answered = true; });
    test::waitUntil([] { return false; }, 50);
    abandoned.reset();
    test::waitUntil([] { return false; }, 400);
    EXPECT_FALSE(answered);
    found.reset();
    BrowserScan firefoxOnly(settingsFor(profile.home(), {}), [&](const QList<DetectedPage> &pages) { found = pages; });
    EXPECT_FALSE(found);
    ASSERT_TRUE(test::waitUntil([&] { return found.has_value(); }, 1000));
    EXPECT_EQ(found->size(), 3);
}

TEST(BrowserCapture, theScanThatWaitsAsksEveryPortAtOnceSoSilentBrowsersCostOneTimeOutInAll)
{
    test::FirefoxProfile profile; // Firefox runs with no session written yet: no pages from it
    test::DevToolsServer chrome;
    chrome.setTargets({{"page", "Mail", "https://mail.example/"}, {"page", "New Tab", "chrome://newtab/"}});
    test::DevToolsServer brave("Brave/1.2");
    brave.setTargets({{"page", "Maps", "https://maps.example/"}, {"page", "Docs", "https://docs.example/"}});
    std::vector<std::unique_ptr<test::DevToolsServer>> silent;
    for (int i = 0; i < 8; ++i)
        silent.push_back(silentBrowser());
    QList<quint16> ports;
    for (const std::unique_ptr<test::DevToolsServer> &server : silent)
        ports << server->port();
    ports.insert(5, chrome.port());
    CaptureSettings settings = settingsFor(profile.home(), ports);
    settings.timeoutMs = 700;

    QElapsedTimer clock;
    clock.start();
    QStringList seen;
    for (const DetectedPage &page : BrowserCapture(settings).getOpenBrowserPages(false))
        seen << page.name + " | " + page.address + " | " + page.browser;
    const qint64 took = clock.elapsed();
    EXPECT_EQ(seen, QStringList({"Mail | https://mail.example/ | Chrome"}));
    EXPECT_GE(took, 650) << "the silent browsers are given their time";
    EXPECT_LT(took, 1300) << "eight silent browsers cost one time-out, not eight";
    for (const std::unique_ptr<test::DevToolsServer> &server : silent)
        EXPECT_EQ(server->http().hits("/json/list"), 1);

    // Each browser keeps its own name and its place in the order of the ports, also when one
    // of them does not tell its name in time (it is then listed as "Chromium").
    chrome.http().route(QStringLiteral("/json/version"), {.hang = true});
    settings.ports = {brave.port(), silent[0]->port(), chrome.port(), silent[1]->port()};
    settings.timeoutMs = 400;
    clock.restart();
    seen.clear();
    for (const DetectedPage &page : BrowserCapture(settings).getOpenBrowserPages(false))
        seen << page.name + " | " + page.address + " | " + page.browser;
    EXPECT_EQ(seen, QStringList({"Maps | https://maps.example/ | Brave", "Docs | https://docs.example/ | Brave",
                                 "Mail | https://mail.example/ | Chromium"}));
    EXPECT_LT(clock.elapsed(), 1100) << "the lists, then the names: two time-outs at most";
}
