// Pages whose first icon links name no picture the program can use (SVG drawings, "data:"
// addresses, missing files): the next usable link is taken, then the home page's favicon.ico,
// read from the page and downloaded from the tests' own server on 127.0.0.1.
#include "media/iconrun.h"
#include "media/iconsupport.h"
#include "media/picturebytes.h"
#include "media/urlsupport.h"
#include "support/httpserver.h"
#include "support/testenv.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace rr;
using rr::test::HttpServer;
using rr::test::waitUntil;

namespace
{

QByteArray pageWith(const QByteArray &links)
{
    return "<html><head><title>Site</title>" + links + "</head><body><p>Hello</p></body></html>";
}

QStringList addressesFor(const QByteArray &links)
{
    urlSupport url;
    url.createURL("http://www.site.example/docs/page.html");
    return IconSupport::iconAddressesFromLinks(readPageLinks(pageWith(links)), url);
}

const char *const kDataPng = R"(<link rel="icon" href="data:image/png;base64,iVBORw0KGgo=">)";
const char *const kSvgByType = R"(<link rel="icon" type="image/svg+xml" href="/drawn">)";
const char *const kSvgByName = R"(<link rel="icon" href="/logo.SVG?v=2">)";

class IconLinksFetch : public ::testing::Test
{
protected:
    test::TempHome home;
    QString base = home.path() + "/db/";
    QString icons = base + "icons/Work/";
    HttpServer server{30000};
    HttpFetcher net;
    QObject context;

    QString load(const QString &path)
    {
        urlSupport url;
        url.createURL(server.url(path));
        IconSupport support;
        QString result = "pending";
        support.loadIcon(base, "Work.xml", url, net, &context, [&](const QString &file) { result = file; });
        EXPECT_TRUE(waitUntil([&] { return result != "pending"; }, 15000));
        return result;
    }
};

} // namespace

TEST(IconLinks, linksNoPictureCanComeFromArePassedOverAndTheHomeFaviconComesLast)
{
    const QString home = "http://www.site.example/favicon.ico";
    const struct {
        QByteArray links;
        QStringList expected;
    } cases[] = {
        {QByteArray(kSvgByType) + R"(<link rel="icon" href="/a.png">)", {"http://www.site.example/a.png", home}},
        {QByteArray(kDataPng) + R"(<link rel="shortcut icon" href="b.ico">)",
         {"http://www.site.example/docs/b.ico", home}},
        {QByteArray(kSvgByName) + kDataPng, {home}},
        {R"(<link rel="icon" href="/icon.svgz">)", {home}},
        {R"x(<link rel="icon" href="javascript:void(0)"><link rel="icon" href="ftp://x.example/i.ico">)x", {home}},
        {R"(<link rel="icon" href="/a.png"><link rel="icon" href="/b.ico">)",
         {"http://www.site.example/a.png", "http://www.site.example/b.ico", home}},
        {R"(<link rel="icon" href="/favicon.ico"><link rel="icon" href="/a.png">)",
         {home, "http://www.site.example/a.png"}},
        {R"(<link rel="icon" href="/a.png"><link rel="icon" href="/a.png">)", {"http://www.site.example/a.png", home}},
        {R"(<link rel="icon" href="/1.ico"><link rel="icon" href="/2.ico"><link rel="icon" href="/3.ico">)"
         R"(<link rel="icon" href="/4.ico">)",
         {"http://www.site.example/1.ico", "http://www.site.example/2.ico", "http://www.site.example/3.ico", home}},
        {R"(<link rel="icon" href="/svg/icon.png">)", {"http://www.site.example/svg/icon.png", home}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(addressesFor(c.links), c.expected) << c.links.constData();
}

TEST(IconLinks, anIconLinkIsReadWhateverTheCaseOfItsRel)
{
    for (const QByteArray links : {R"(<link rel="Icon" href="/a.png">)", R"(<link rel="ICON" href="/a.png">)",
                                   R"(<link rel="Shortcut Icon" href="/a.png">)", R"(<LINK REL="iCoN" HREF="/a.png">)",
                                   R"(<link rel=" SHORTCUT  ICON " href="/a.png">)"})
        EXPECT_EQ(addressesFor(links),
                  QStringList({"http://www.site.example/a.png", "http://www.site.example/favicon.ico"}))
            << links.constData();
}

TEST_F(IconLinksFetch, aPageWhoseFirstIconLinksAreNoUsablePictureGetsTheNextOneOrTheFavicon)
{
    const QByteArray png = test::pictureBytes(Qt::red, "PNG");
    const QByteArray ico = test::pictureBytes(Qt::blue);
    server.route("/drawn", test::picture("<svg xmlns='http://www.w3.org/2000/svg'/>", "image/svg+xml"));
    server.route("/logo.SVG", test::picture("<svg xmlns='http://www.w3.org/2000/svg'/>", "image/svg+xml"));
    server.route("/a.png", test::picture(png, "image/png"));
    server.route("/favicon.ico", test::picture(ico));

    const struct {
        const char *what;
        QByteArray links;
        QByteArray picture;
    } cases[] = {
        {"an SVG and a data: link before a PNG",
         QByteArray(kSvgByType) + kDataPng + R"(<link rel="icon" href="/a.png">)", png},
        {"only drawings and data", QByteArray(kSvgByName) + kDataPng, ico},
        {"a missing file before a PNG", R"(<link rel="icon" href="/gone.ico"><link rel="icon" href="/a.png">)", png},
        {"a page served as the icon", R"(<link rel="icon" href="/p0.html">)", ico},
    };
    int page = 0;
    for (const auto &c : cases) {
        const QString path = QString("/p%1.html").arg(page++);
        server.route(path, test::page(pageWith(c.links)));
        ASSERT_EQ(load(path), icons + "favicon.ico") << c.what;
        EXPECT_EQ(test::readBytes(icons + "favicon.ico"), c.picture) << c.what;
    }
    EXPECT_EQ(server.hits("/drawn") + server.hits("/logo.SVG?v=2"), 0) << "a drawing is never downloaded";
    EXPECT_EQ(server.hits("/gone.ico"), 1);

    // Nothing usable anywhere: no file is left.
    server.route("/favicon.ico", test::picture("", "image/x-icon"));
    server.route("/none.html", test::page(pageWith(kSvgByName)));
    EXPECT_EQ(load("/none.html"), "");
    EXPECT_FALSE(QFile::exists(icons + "favicon.ico"));
}

TEST_F(IconLinksFetch, aRunFilesTheNextUsableIconOfEachPageAndDownloadsASharedOneOnce)
{
    const QByteArray png = test::pictureBytes(Qt::red, "PNG");
    const QByteArray ico = test::pictureBytes(Qt::blue);
    server.route("/a.png", test::picture(png, "image/png"));
    server.route("/favicon.ico", test::picture(ico));
    server.route("/svg-first.html",
                 test::page(pageWith(QByteArray(kSvgByType) + R"(<link rel="icon" href="/a.png">)")));
    server.route("/missing-first.html",
                 test::page(pageWith(R"(<link rel="icon" href="/gone.ico"><link rel="icon" href="/a.png">)")));
    server.route("/data-only.html", test::page(pageWith(kDataPng)));
    const QList<IconJob> jobs = {{"W1", "Drawn", server.url("/svg-first.html")},
                                 {"W2", "Missing", server.url("/missing-first.html")},
                                 {"W3", "Data", server.url("/data-only.html")}};
    IconRun run(base, "Work.xml", jobs, net, {.maxInFlight = 1, .maxPerHost = 1, .shareDownloads = true});
    run.start();
    ASSERT_TRUE(waitUntil([&] { return run.isFinished(); }, 15000));
    EXPECT_EQ(run.loaded(), 3);
    EXPECT_EQ(run.failed(), 0);
    EXPECT_EQ(test::readBytes(icons + "W1.ico"), png);
    EXPECT_EQ(test::readBytes(icons + "W2.ico"), png);
    EXPECT_EQ(test::readBytes(icons + "W3.ico"), ico);
    EXPECT_EQ(server.hits("/a.png"), 1);
    EXPECT_EQ(server.hits("/gone.ico"), 1);
    EXPECT_EQ(server.hits("/drawn"), 0);
}
