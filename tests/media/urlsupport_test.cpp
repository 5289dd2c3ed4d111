// Addresses and opening them in a browser; site icons and page details against the tests' own
// server on 127.0.0.1: icon addresses, fetch limits and icon runs.
#include "media/iconrun.h"
#include "media/iconsupport.h"
#include "media/pagesync.h"
#include "media/picturebytes.h"
#include "media/urlsupport.h"
#include "platform/webaddress.h"
#include "storage/registryfunctions.h"
#include "storage/session.h"
#include "storage/settingsstore.h"
#include "storage/useroptions.h"
#include "support/fakelauncher.h"
#include "support/httpserver.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QUrl>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace rr;
using rr::test::HttpServer;
using rr::test::waitUntil;
using Result = urlSupport::OpenResult;

namespace
{

struct Case {
    const char *in;
    const char *out;
};

QString writeFile(const QString &path, const QByteArray &content, bool executable = false)
{
    EXPECT_TRUE(test::writeBytes(path, content));
    if (executable)
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return path;
}

void registerAppPath(const QString &exeName, const QString &path)
{
    RegistryFunctions::WriteValue(reg::HKEY_LOCAL_MACHINE,
                                  QLatin1String(SettingsStore::kAppPathsKey) + QLatin1Char('\\') + exeName, QString(),
                                  path);
}

QString failureText(const QString &address, const QString &browser)
{
    return "The address " + address + " could not be opened in " + browser +
           ".  Vardecks will use your default browser instead.";
}

// A temporary home, scripted prompts and a fake launcher, with the browser option set.
class Opening : public ::testing::Test
{
protected:
    void useBrowser(const QString &code) { appOptions().setDefaultBrowser(code); }

    test::TempHome home;
    test::ScriptedPrompts prompts;
    test::FakeLauncher launcher;
};

QByteArray htmlWithLinks(const QByteArray &links)
{
    return "<html><head><title>Site</title>" + links + "</head><body><p>Hello</p></body></html>";
}

urlSupport urlOf(const QString &address)
{
    urlSupport url;
    url.createURL(address);
    return url;
}

QString addressFor(const QString &page, const QByteArray &links)
{
    return IconSupport::iconAddressFromLinks(readPageLinks(htmlWithLinks(links)), urlOf(page));
}

class IconFetchTest : public ::testing::Test
{
protected:
    test::TempHome home;
    QString base = home.path() + "/db/";
    QString icons = base + "icons/Work/";
    HttpServer server{30000};
    HttpFetcher net;
    QObject context;

    // loadIcon for a page of the server; the downloaded file's path or "".
    QString load(const QString &path)
    {
        IconSupport support;
        QString result = "pending";
        support.loadIcon(base, "Work.xml", urlOf(server.url(path)), net, &context,
                         [&](const QString &file) { result = file; });
        EXPECT_TRUE(waitUntil([&] { return result != "pending"; }, 15000));
        return result;
    }
    FetchResult fetch(const QString &path, const FetchLimits &limits)
    {
        FetchResult out;
        bool done = false;
        net.get(QUrl(server.url(path)), limits, &context, [&](const FetchResult &r) {
            out = r;
            done = true;
        });
        EXPECT_TRUE(waitUntil([&] { return done; }, 15000));
        return out;
    }
    // count pages without an icon link, answered after delayMs, on a site with /favicon.ico.
    QList<IconJob> pageJobs(int count, int delayMs)
    {
        QList<IconJob> jobs;
        for (int i = 1; i <= count; ++i) {
            server.route(QString("/p%1.html").arg(i), test::page(htmlWithLinks(""), delayMs));
            jobs.append({QString("W%1").arg(i), QString("Page %1").arg(i), server.url(QString("/p%1.html").arg(i))});
        }
        server.route("/favicon.ico", test::picture(test::pictureBytes(Qt::blue)));
        return jobs;
    }
};

} // namespace

// Whether an address is a web page's is one rule, whoever asks: blanks around it are
// dropped, and a host name without a scheme counts only when its first label is "www".
TEST(UrlSupport, aWebAddressIsOneRuleWithBlanksAroundDroppedAndOnlyAWwwLabelForABareHost)
{
    const struct {
        const char *address;
        bool web;
    } cases[] = {
        {" www.a.example", true},
        {"\twww.a.example/x \n", true},
        {"WwW.a.example", true},
        {" HTTPS://a.example/", true},
        {"wwwx.example", false},
        {"www2.a.example", false},
        {"www", false},
        {"a.example", false},
        {" ftp://a.example", false},
        {"", false},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(isWebAddress(c.address), c.web) << c.address;
        EXPECT_EQ(urlSupport::isValidWWW(c.address), c.web) << c.address;
    }
    // The home page of such an address is that of the address without the blanks.
    EXPECT_EQ(urlSupport::calculateHomeURL(" http://www.a.example/x/y "), "http://www.a.example/");
    EXPECT_EQ(urlSupport::calculateHomeURL("\t https://a.example/x"), "https://a.example/");
    EXPECT_EQ(urlSupport::calculateHomeURL(" www.a.example"), "www.a.example/");
}

TEST(UrlSupport, homeUrlDomainWebSecureAndPdfTestsReadTheAddressText)
{
    const Case cases[] = {
        {"http://www.example.com", "http://www.example.com/"},
        {"HTTPS://a.example/x/y?z=1", "HTTPS://a.example/"},
        {"http://www.example.com/dir/page.html?q=a/b", "http://www.example.com/"},
        {"www.example.com/deep/page", "www.example.com/"},
        {"", "/"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(urlSupport::calculateHomeURL(c.in), QString(c.out)) << c.in;
    // The domain counts dots in the host only: not in the path or the query.
    const Case domains[] = {
        {"http://www.example.com/path/page", "example.com"},
        {"www.Example.com", "Example.com"},
        {"localhost", ""},
        {"http://www.a.com/x.y.html", "a.com"},
        {"http://a.com?v=1.2", "a.com"},
        {"http://localhost/x.html", ""},
    };
    for (const Case &c : domains)
        EXPECT_EQ(urlSupport::calcDomain(c.in), QString(c.out)) << c.in;
    urlSupport url;
    url.createURL("https://www.example.com/a/b");
    EXPECT_EQ(url.getFullURL(), "https://www.example.com/a/b");
    EXPECT_EQ(url.getHomeURL(), "https://www.example.com/");
    EXPECT_EQ(urlSupport::getVersion(), "Failed");

    for (const char *valid : {"www.a.com", "WwW.a.com", "hTTp://a.com", "HttpS://a.com"})
        EXPECT_TRUE(urlSupport::isValidWWW(valid)) << valid;
    for (const char *invalid : {"ftp://a.com", "file:///home/x.html", "a.com", "ww", ""})
        EXPECT_FALSE(urlSupport::isValidWWW(invalid)) << invalid;

    EXPECT_TRUE(urlSupport::isSecure("http://a.com/?via=hTtPs"));
    EXPECT_FALSE(urlSupport::isSecure("http://a.com/http"));

    EXPECT_TRUE(isPDF("http://a.com/doc.PDF"));
    EXPECT_FALSE(isPDF("http://a.com/doc.pdfx"));
    EXPECT_FALSE(isPDF(""));
}

TEST_F(Opening, chosenBrowserGetsTheAddressAsItsOneArgumentAndARegisteredOneComesFirst)
{
    const QString address = "http://a.example/x y;touch /tmp/owned&z=$(id)";
    launcher.addProgram("firefox-esr", "/opt/ff/firefox-esr");
    launcher.addProgram("seamonkey", "/opt/sm/seamonkey");

    const std::pair<const char *, const char *> choices[] = {{"FF", "/opt/ff/firefox-esr"},
                                                             {"Moz", "/opt/sm/seamonkey"}};
    for (const auto &[code, program] : choices) {
        useBrowser(code);
        EXPECT_EQ(urlSupport::openInNewWindow(address).result, Result::Started) << code;
        ASSERT_FALSE(launcher.starts().empty());
        EXPECT_EQ(launcher.starts().back().program, program);
        EXPECT_EQ(launcher.starts().back().args, QStringList{address});
    }
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_TRUE(launcher.openedUrls().isEmpty());

    // A registered executable comes before the path.
    useBrowser("FF");
    const QString registered = writeFile(home.path() + "/myfirefox", "#!/bin/sh\n", true);
    registerAppPath("firefox.exe", registered);
    EXPECT_EQ(urlSupport::openInNewWindow("http://a.example/").result, Result::Started);
    EXPECT_EQ(launcher.starts().back().program, registered);

    // An entry that names no executable file is passed over.
    registerAppPath("firefox.exe", writeFile(home.path() + "/notes.txt", "x"));
    EXPECT_EQ(urlSupport::openInNewWindow("http://a.example/").result, Result::Started);
    EXPECT_EQ(launcher.starts().back().program, "/opt/ff/firefox-esr");
}

TEST_F(Opening, missingOrFailingBrowserSaysSoAndLeavesTheDefaultBrowserToTheWindow)
{
    const QString address = "http://a.example/page";
    // IE and Netscape have no build here; Firefox is not installed in this test.
    const std::pair<const char *, const char *> choices[] = {
        {"IE", "Internet Explorer"}, {"FF", "Firefox"}, {"N6", "Netscape v6 or later"}};
    for (const auto &[code, name] : choices) {
        useBrowser(code);
        const urlSupport::Opening opening = urlSupport::openInNewWindow(address);
        EXPECT_EQ(opening.result, Result::FellBackToDefault) << code;
        EXPECT_EQ(opening.address, address);
        EXPECT_EQ(opening.notice.text, failureText(address, name));
        EXPECT_EQ(opening.notice.icon, MsgIcon::Information);
        EXPECT_TRUE(opening.notice.title.isEmpty()) << "the program's title";
    }
    EXPECT_TRUE(launcher.starts().empty());
    EXPECT_TRUE(launcher.openedUrls().isEmpty()) << "the window opens the default browser after the notice";

    // Found but unable to start.
    launcher.addProgram("opera", "/opt/opera/opera");
    launcher.failStarts();
    useBrowser("Op");
    const urlSupport::Opening opera = urlSupport::openInNewWindow(address);
    EXPECT_EQ(opera.result, Result::FellBackToDefault);
    EXPECT_EQ(opera.notice.text, failureText(address, "Opera"));
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(Opening, defaultBrowserCodesNeverAskAndUnknownCodesOpenNothing)
{
    for (const char *code : {"Win", "", "0"}) {
        useBrowser(code);
        EXPECT_EQ(urlSupport::openInNewWindow("http://a.example/").result, Result::DefaultBrowser) << code;
    }
    // A bare "www." host would be taken for a file name by the desktop's opener.
    EXPECT_EQ(urlSupport::openInNewWindow("www.a.example/x").result, Result::DefaultBrowser);
    EXPECT_EQ(launcher.openedUrls(),
              QStringList({"http://a.example/", "http://a.example/", "http://a.example/", "http://www.a.example/x"}));

    for (const char *code : {"ff", "Chrome", "win"}) {
        useBrowser(code);
        EXPECT_EQ(urlSupport::openInNewWindow("http://a.example/").result, Result::UnknownBrowser) << code;
    }
    EXPECT_EQ(launcher.openedUrls().size(), 4);
    EXPECT_TRUE(launcher.starts().empty());
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(Opening, aWwwHostIsAWebPageAlikeWhetherItIsFetchedOrOpenedInAnyCaseAndWithBlanksAround)
{
    struct WwwCase {
        const char *address;
        const char *opened;  // what the desktop's opener is given
        const char *fetched; // what is fetched, "" for nothing
    };
    const WwwCase cases[] = {
        {"www.a.example/x", "http://www.a.example/x", "http://www.a.example/x"},
        {"WwW.A.example/x", "http://WwW.A.example/x", "http://www.a.example/x"},
        // Blanks around the address: dropped before it is opened, as before it is fetched.
        {"  www.a.example/x\t", "http://www.a.example/x", "http://www.a.example/x"},
        {"\tWWW.a.example ", "http://WWW.a.example", "http://www.a.example"},
        // A padded address stored before addresses were cleaned as they came in.
        {" https://a.example/x\r\n", "https://a.example/x", "https://a.example/x"},
        {"http://www.a.example/", "http://www.a.example/", "http://www.a.example/"},
        {"wwwa.example/x", "wwwa.example/x", ""},
        {"www", "www", ""},
    };
    for (const WwwCase &c : cases) {
        EXPECT_TRUE(urlSupport::openInDefault(c.address)) << c.address;
        EXPECT_EQ(launcher.openedUrls().last(), c.opened);
        EXPECT_EQ(HttpFetcher::fetchableUrl(c.address).toString(), c.fetched);
    }
    EXPECT_TRUE(urlSupport::isWebOrFileAddress(" WWW.a.example "));
    EXPECT_FALSE(urlSupport::isWebOrFileAddress("wwwa.example"));
}

TEST_F(Opening, addressesThatCouldStartAProgramAreRefusedAndLocalDocumentsOpen)
{
    launcher.addProgram("firefox", "/usr/bin/firefox");
    const QString script = writeFile(home.path() + "/run me.sh", "#!/bin/sh\necho hi\n", true);
    const QString launcherFile = writeFile(home.path() + "/app.desktop", "[Desktop Entry]\nExec=xterm\n");
    // Executables whose type nothing names: commands without a "#!" line, and bytes.
    const QString commands = writeFile(home.path() + "/tool", "echo hi\n", true);
    const QString bytes = writeFile(home.path() + "/blob", QByteArray("\x01\x02\x03\xfe\xff", 5), true);
    const QString hostile[] = {
        QUrl::fromLocalFile(commands).toString(),
        bytes,
        "-P evil",
        "  --new-instance",
        "file://" + script,
        QUrl::fromLocalFile(script).toString(QUrl::FullyEncoded),
        script,
        QUrl::fromLocalFile(launcherFile).toString(),
        QUrl::fromLocalFile(QCoreApplication::applicationFilePath()).toString(),
        // The desktop's opener takes "localhost" for this computer.
        "file://localhost" + QUrl::fromLocalFile(script).path(QUrl::FullyEncoded),
        "FILE://LocalHost" + commands,
    };
    for (const char *code : {"FF", "Win"}) {
        useBrowser(code);
        for (const QString &address : hostile) {
            const urlSupport::Opening opening = urlSupport::openInNewWindow(address);
            EXPECT_EQ(opening.result, Result::Refused) << code << " " << address.toStdString();
            EXPECT_TRUE(opening.notice.text.startsWith("The address " + address.trimmed() + " was not opened: "));
            EXPECT_EQ(opening.notice.icon, MsgIcon::Exclamation);
        }
    }
    Notice refusal;
    EXPECT_FALSE(urlSupport::openInDefault("-x", &refusal));
    EXPECT_EQ(refusal.text, "The address -x was not opened: it begins with \"-\", which a browser would read as an "
                            "option.");
    EXPECT_FALSE(urlSupport::openInDefault(commands, &refusal));
    EXPECT_EQ(refusal.text, "The address " + commands +
                                " was not opened: it names a program, not a page or a "
                                "document.");
    EXPECT_TRUE(launcher.starts().empty());
    EXPECT_TRUE(launcher.openedUrls().isEmpty());

    // Scripts, data and schemes other programs handle are no page; browsers drop tabs and
    // line breaks from an address, so those hide nothing either.
    const char *notPages[] = {"javascript:alert(1)",
                              " JavaScript:alert(document.cookie)",
                              "vbscript:msgbox(1)",
                              "data:text/html,<script>alert(1)</script>",
                              "java\tscript:alert(1)",
                              "jav\nascript:alert(1)",
                              "chrome://settings",
                              "ms-settings:display",
                              "c:\\x.exe"};
    for (const char *code : {"FF", "Win"}) {
        useBrowser(code);
        for (const char *address : notPages) {
            const urlSupport::Opening opening = urlSupport::openInNewWindow(address);
            EXPECT_EQ(opening.result, Result::Refused) << code << " " << address;
            EXPECT_TRUE(
                opening.notice.text.startsWith("The address " + QString(address).trimmed() + " was not opened: "));
        }
    }
    EXPECT_EQ(urlSupport::openInNewWindow("c:\\x.exe").notice.text,
              "The address c:\\x.exe was not opened: it is not the address of a web page or a file.");
    EXPECT_FALSE(urlSupport::openInDefault("javascript:alert(1)"));
    EXPECT_TRUE(launcher.starts().empty());
    EXPECT_TRUE(launcher.openedUrls().isEmpty());
    for (const char *page : {"HTTPS://a.example/", "ftp://files.example/x", "www.a.example:8080/x", "file:///x.html"}) {
        EXPECT_TRUE(urlSupport::isSafeToOpen(page)) << page;
        EXPECT_TRUE(urlSupport::isWebOrFileAddress(page)) << page;
    }
    // A mail address and an empty window open, but are no page to capture.
    for (const char *other : {"mailto:a@b.example", "about:blank"}) {
        EXPECT_TRUE(urlSupport::isSafeToOpen(other)) << other;
        EXPECT_FALSE(urlSupport::isWebOrFileAddress(other)) << other;
    }
    EXPECT_FALSE(urlSupport::isWebOrFileAddress("a.example/x"));

    // Local documents still open, also with the execute bit.
    useBrowser("FF");
    prompts.clear();
    const QString pdf = writeFile(home.path() + "/paper.pdf", "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n");
    // Files on some mounted disks all carry it.
    const QString pdfOnDisk = writeFile(home.path() + "/scan.pdf", "%PDF-1.4\n", true);
    const QString page = writeFile(home.path() + "/page.html", "<html><body>x</body></html>");
    for (const QString &address :
         QStringList{QUrl::fromLocalFile(pdf).toString(), QUrl::fromLocalFile(pdfOnDisk).toString(), page,
                     QUrl::fromLocalFile(home.path()).toString()}) {
        EXPECT_EQ(urlSupport::openInNewWindow(address).result, Result::Started) << address.toStdString();
        EXPECT_EQ(launcher.starts().back().args, QStringList{address});
    }
    EXPECT_TRUE(prompts.messages().empty());
}

TEST(IconAddress, followsTheFirstIconLinkOfThePageAlsoInBrokenMarkup)
{
    const QString page = "http://www.site.example/docs/page.html";
    const struct {
        const char *links, *expected;
    } cases[] = {
        {R"(<link rel="shortcut icon" href="/x.ico">)", "http://www.site.example/x.ico"},
        {R"(<link rel="stylesheet" href="/s.css">)", "http://www.site.example/favicon.ico"},
        {R"(<LINK REL="Shortcut Icon" HREF="/first.ico"><link rel="icon" href="/second.ico">)",
         "http://www.site.example/first.ico"},
        {R"(<link rel="apple-touch-icon" href="/big.png"><link rel=icon href="/small.ico">)",
         "http://www.site.example/small.ico"},
        {R"(<link rel="icon" href="fav.ico">)", "http://www.site.example/docs/fav.ico"}, // beside the page
        {R"(<link rel="icon" href="../up/a b.ico">)", "http://www.site.example/up/a%20b.ico"},
        {R"(<link rel="icon" href="./img/x.ico?v=2">)", "http://www.site.example/docs/img/x.ico?v=2"},
        {R"(<link rel="icon" href="?v=3">)", "http://www.site.example/docs/page.html?v=3"},
        {R"(<link rel="icon" href="https://cdn.example/i/a.ico">)", "https://cdn.example/i/a.ico"},
        {R"(<link rel="icon" href="/a.ico?v=1&amp;w=2">)", "http://www.site.example/a.ico?v=1&w=2"},
        {R"(<link rel="icon" href="  ">)", "http://www.site.example/favicon.ico"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(addressFor(page, c.links), c.expected) << c.links;
    EXPECT_EQ(addressFor("https://www.site.example/a", R"(<link rel="icon" href="//cdn.example/b.ico">)"),
              "https://cdn.example/b.ico")
        << "\"//\" takes the page's scheme";
    EXPECT_EQ(addressFor("www.site.example/relative/page.html", R"(<link rel="icon" href="rel.gif">)"),
              "http://www.site.example/relative/rel.gif");
    EXPECT_EQ(addressFor("http://www.site.example/dir/", R"(<link rel="icon" href="rel.gif">)"),
              "http://www.site.example/dir/rel.gif");

    // Broken markup still gives its links in order.
    const QList<PageLink> links = readPageLinks("<html><head><link rel=icon href=/a.ico><div><link rel=x href='b'>"
                                                "<p><link rel=\"icon\" href=\"c\"></body>");
    ASSERT_EQ(links.size(), 3);
    EXPECT_EQ(links[0].href, "/a.ico");
    EXPECT_EQ(links[1].rel, "x");
    EXPECT_EQ(links[2].href, "c");
    EXPECT_TRUE(readPageLinks("").isEmpty());
    EXPECT_TRUE(readPageLinks(QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)).isEmpty());
}

TEST_F(IconFetchTest, findsDownloadsAndFilesTheIconOfAPage)
{
    const QByteArray png = test::pictureBytes(Qt::red, "PNG");
    server.route("/a/page.html", test::page(htmlWithLinks(R"(<link rel="shortcut icon" href="/x.ico">)")));
    server.route("/x.ico", test::picture(png, "image/png"));
    const QString file = load("/a/page.html");
    ASSERT_EQ(file, icons + "favicon.ico");
    IconSupport support;
    ASSERT_EQ(support.saveAsVDIfFavExists(base, "W12", "Work.xml"), icons + "W12.ico");
    EXPECT_EQ(test::readBytes(icons + "W12.ico"), png) << "stored byte for byte";
    EXPECT_FALSE(QFile::exists(icons + "favicon.ico"));

    // No link and a site with /favicon.ico; the page's own folder is not asked.
    server.route("/plain.html", test::page(htmlWithLinks("")));
    server.route("/favicon.ico", test::picture(test::pictureBytes(Qt::blue)));
    EXPECT_EQ(load("/plain.html"), icons + "favicon.ico");
    EXPECT_EQ(server.hits("/favicon.ico"), 1);
}

TEST_F(IconFetchTest, aDownloadedIconInTheDatabaseFolderIsTheOwnersAloneWhateverTheUmask)
{
    base = home.databaseFolder();
    icons = base + "icons/Work/";
    const auto modeOf = [](const QString &file) {
        struct stat info {
        };
        return ::stat(QFile::encodeName(file).constData(), &info) == 0 ? info.st_mode & 07777 : 0u;
    };
    const mode_t previous = ::umask(022);
    server.route("/p.html", test::page(htmlWithLinks(R"(<link rel="icon" href="/i.png">)")));
    server.route("/i.png", test::picture(test::pictureBytes(Qt::red, "PNG"), "image/png"));
    const QString file = load("/p.html");
    ::umask(previous);
    ASSERT_EQ(file, icons + "favicon.ico");
    EXPECT_EQ(modeOf(file), 0600u);
    IconSupport support;
    ASSERT_EQ(support.saveAsVDIfFavExists(base, "W3", "Work.xml"), icons + "W3.ico");
    EXPECT_EQ(modeOf(icons + "W3.ico"), 0600u);
}

TEST_F(IconFetchTest, relativeIconLinksPointWhereABrowserFindsThem)
{
    const QByteArray png = test::pictureBytes(Qt::red, "PNG");
    server.route("/relative/page.html", test::page(htmlWithLinks(R"(<link rel="icon" href="rel.gif">)")));
    server.route("/relative/rel.gif", test::picture(png, "image/gif"));
    EXPECT_EQ(load("/relative/page.html"), icons + "favicon.ico");
    EXPECT_EQ(server.hits("/relative/rel.gif"), 1);

    // A page that moved: its links are read against the address that answered.
    server.route("/old/start.html", test::redirect("/relative/page.html"));
    EXPECT_EQ(load("/old/start.html"), icons + "favicon.ico");
    EXPECT_EQ(server.hits("/relative/rel.gif"), 2);

    // A BASE element names the folder relative links start from.
    server.route("/based/page.html",
                 test::page(R"(<html><head><base href="/assets/"><link rel="icon" href="i.ico"></head></html>)"));
    server.route("/assets/i.ico", test::picture(png, "image/png"));
    EXPECT_EQ(load("/based/page.html"), icons + "favicon.ico");
    EXPECT_EQ(server.hits("/assets/i.ico"), 1);
    EXPECT_EQ(server.hits("/relative/page.html/rel.gif") + server.hits("/based/page.html/i.ico"), 0);
}

TEST_F(IconFetchTest, refusesWhatIsNoUsablePictureAndLeavesNoFile)
{
    server.route("/p.html", test::page(htmlWithLinks(R"(<link rel="icon" href="/i.ico">)")));
    const auto expectNoIcon = [&](const char *what) {
        EXPECT_EQ(load("/p.html"), "") << what;
        EXPECT_FALSE(QFile::exists(icons + "favicon.ico")) << what;
    };
    expectNoIcon("no icon on the site: a 404 page");
    server.route("/i.ico", test::page("<html><body>Welcome!</body></html>"));
    expectNoIcon("an HTML page served as the icon");
    server.route("/i.ico", test::picture(""));
    expectNoIcon("an empty body");
    server.route("/i.ico", test::picture(test::pictureBytes(Qt::blue) + QByteArray(1024 * 1024, 'x')));
    expectNoIcon("a body over the icon cap");
    server.route("/i.ico", test::picture(test::pictureBytes(Qt::green, "PNG", {4000, 10}), "image/png"));
    expectNoIcon("a picture wider than the decoding limit");

    // A page that cannot be read falls back to the home page's favicon.
    server.route("/favicon.ico", test::picture(test::pictureBytes(Qt::blue)));
    EXPECT_EQ(load("/missing.html"), icons + "favicon.ico");
}

TEST_F(IconFetchTest, fetchesHaveLimits)
{
    server.route("/hang", {.hang = true});
    EXPECT_EQ(fetch("/hang", {.idleTimeoutMs = 300, .totalTimeoutMs = 600}).outcome, FetchResult::Outcome::TimedOut);

    // A body that keeps the connection busy longer than the whole request may take.
    server.route("/slow", test::page("late", 2000));
    EXPECT_EQ(fetch("/slow", {.idleTimeoutMs = 5000, .totalTimeoutMs = 600}).outcome, FetchResult::Outcome::TimedOut);

    for (int i = 1; i <= 6; ++i)
        server.route(QString("/r%1").arg(i), test::redirect(QString("/r%1").arg(i + 1)));
    server.route("/r7", test::page("arrived"));
    const FetchResult five = fetch("/r2", FetchLimits());
    EXPECT_TRUE(five.ok());
    EXPECT_EQ(five.body, "arrived");
    EXPECT_EQ(five.finalUrl.path(), "/r7");
    EXPECT_EQ(fetch("/r1", FetchLimits()).outcome, FetchResult::Outcome::TooManyRedirects);
    EXPECT_EQ(server.hits("/r7"), 1) << "the sixth redirect is not followed";

    server.route("/to-file", test::redirect("file:///etc/passwd"));
    EXPECT_EQ(fetch("/to-file", FetchLimits()).outcome, FetchResult::Outcome::Refused);
    server.route("/big", test::page("0123456789A"));
    EXPECT_EQ(fetch("/big", {.maxBody = 10}).outcome, FetchResult::Outcome::TooLarge);
    EXPECT_EQ(fetch("/nothing-here", FetchLimits()).outcome, FetchResult::Outcome::HttpError);

    EXPECT_FALSE(HttpFetcher::fetchableUrl("ftp://files.example/x").isValid());
    EXPECT_FALSE(HttpFetcher::fetchableUrl("javascript:alert(1)").isValid());
    EXPECT_EQ(HttpFetcher::fetchableUrl("www.site.example/a").toString(), "http://www.site.example/a");
}

TEST_F(IconFetchTest, aRunCountsLoadedAndFailedAndKeepsToItsLimits)
{
    QList<IconJob> jobs = pageJobs(8, 60);
    jobs.append({"W20", "Not the web", "ftp://files.example/x"});
    jobs.append({"W21", "Nothing there", "http://127.0.0.1:1/"});

    IconRun run(base, "Work.xml", jobs, net);
    QStringList filed;
    QObject::connect(&run, &IconRun::iconLoaded, [&](const QString &wid, const QString &) { filed << wid; });
    run.start();
    ASSERT_TRUE(waitUntil([&] { return run.isFinished(); }, 15000));
    EXPECT_EQ(run.loaded(), 8);
    EXPECT_EQ(run.failed(), 2);
    EXPECT_EQ(run.remaining(), 0);
    EXPECT_EQ(run.total(), 10);
    EXPECT_EQ(filed.size(), 8);
    for (int i = 1; i <= 8; ++i)
        EXPECT_TRUE(IconSupport::checkValidIcon(icons + QString("W%1.ico").arg(i))) << i;
    EXPECT_FALSE(QFile::exists(icons + "favicon.ico"));
    EXPECT_LE(server.maxOpen(), 2) << "at most two requests at once on one site";
    EXPECT_EQ(server.hits("/favicon.ico"), 1) << "a shared icon is downloaded once per run";
}

TEST_F(IconFetchTest, cancelStartsNothingNewAndAbortsWhatWasInFlight)
{
    // Pages far slower than the run may take to end once cancelled.
    IconRun run(base, "Work.xml", pageJobs(6, 5000), net);
    bool cancelledEnd = false;
    QObject::connect(&run, &IconRun::finished, [&](bool cancelled) { cancelledEnd = cancelled; });
    run.start();
    ASSERT_TRUE(waitUntil([&] { return server.totalHits() >= 1; }));
    run.cancel();
    EXPECT_EQ(net.inFlight(), 0) << "the requests are aborted, not left to run out";
    ASSERT_TRUE(waitUntil([&] { return run.isFinished(); }, 1000));
    EXPECT_TRUE(cancelledEnd);
    EXPECT_EQ(run.loaded() + run.failed(), 0);
    EXPECT_LE(server.totalHits(), 2) << "only the pages already asked for";
    EXPECT_TRUE(QDir(icons).entryList(QDir::Files).isEmpty());

    // Any request whose context goes is aborted at once, and never calls back.
    server.route("/never.html", {.hang = true});
    auto *job = new QObject;
    bool called = false;
    net.get(QUrl(server.url("/never.html")), IconSupport::pageLimits, job, [&](const FetchResult &) { called = true; });
    ASSERT_TRUE(waitUntil([&] { return server.hits("/never.html") == 1; }));
    delete job;
    EXPECT_EQ(net.inFlight(), 0);
    EXPECT_FALSE(waitUntil([&] { return called; }, 100));
}

TEST(PageSync, theAnswerOfThePageScriptLeavesEmptyWhatThePageLacks)
{
    PageDetails details;
    ASSERT_TRUE(pageDetailsFromJson(R"({"title":"  ","description":"D","keywords":"a, b","size":12800})",
                                    "http://site.example/x", &details));
    EXPECT_EQ(details.title, "");
    EXPECT_EQ(details.address, "http://site.example/x");
    EXPECT_EQ(details.description, "D");
    EXPECT_EQ(details.keywords, "a, b");
    EXPECT_EQ(details.bodyBytes, 12800);
    EXPECT_FALSE(pageDetailsFromJson("null", "http://site.example/x", &details));
    EXPECT_FALSE(pageDetailsFromJson("", "http://site.example/x", &details));
}

TEST(PageSync, theVardeckGainsWhatItLacksItsSizeInKilobytesAndCountsAVisit)
{
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXml("<FOLDERS><FOLDER TID=\"T1\"><NAME>F</NAME><VARDECKS>"
                            "<VARDECK WID=\"W1\"><NAME>Old</NAME><ADDRESS>http://a/</ADDRESS></VARDECK>"
                            "<VARDECK WID=\"W2\"><NAME>Kept</NAME><DESCRIPTION>old</DESCRIPTION><FILESIZE>3</FILESIZE>"
                            "<HITS>7</HITS></VARDECK>"
                            "<VARDECK WID=\"W3\"><NAME>N</NAME><HITS>many</HITS></VARDECK>"
                            "</VARDECKS><SUBFOLDERS/></FOLDER></FOLDERS>"));
    const XmlNode root = doc.documentElement();
    XmlNode w1 = root.selectSingleNode("//VARDECK[@WID='W1']");
    XmlNode w2 = root.selectSingleNode("//VARDECK[@WID='W2']");
    XmlNode w3 = root.selectSingleNode("//VARDECK[@WID='W3']");
    applyPageDetails(doc, w1, {"Title", "http://a/", "Desc & more", "k1", 12800});
    EXPECT_EQ(w1.childText("NAME"), "Title");
    EXPECT_EQ(w1.childText("DESCRIPTION"), "Desc & more");
    EXPECT_EQ(w1.childText("KEYWORD1"), "k1");
    EXPECT_EQ(w1.childText("FILESIZE"), "12.5");
    EXPECT_EQ(w1.childText("HITS"), "1");

    // A page without title and META keeps what the Vardeck holds.
    w2.setChildText("KEYWORD1", "old words");
    applyPageDetails(doc, w2, {"", "http://b/", " ", "", 2048});
    EXPECT_EQ(w2.childText("NAME"), "Kept");
    EXPECT_EQ(w2.childText("DESCRIPTION"), "old");
    EXPECT_EQ(w2.childText("KEYWORD1"), "old words");
    EXPECT_EQ(w2.childText("FILESIZE"), "2.0");
    EXPECT_EQ(w2.childText("HITS"), "8");

    applyPageDetails(doc, w3, {"T", "http://c/", "", "", 0});
    EXPECT_EQ(w3.childText("HITS"), "1");
    // Only a Vardeck without a name takes the address for one.
    w3.setChildText("NAME", "");
    applyPageDetails(doc, w3, {"", "http://c/", "", "", 0});
    EXPECT_EQ(w3.childText("NAME"), "http://c/");

    // The size is in kilobytes with one decimal (12.5 and 2.0 above).
    EXPECT_EQ(sizeText(0), "0.0");
    EXPECT_EQ(sizeText(1075), "1.0") << "1.0498 KB";
    EXPECT_EQ(sizeText(1536 * 1024), "1536.0");
}
