#include "exchange/bookmarkfile.h"
#include "exchange/bookmarkimport.h"
#include "exchangefixture.h"
#include "platform/mozlz4.h"

#include <QTemporaryDir>

using namespace rr;
using namespace rr::test;

namespace
{

// Headings as "#n name", links as "name=address@heading".
QStringList entryTexts(const QList<BookmarkEntry> &entries)
{
    QStringList out;
    int headings = 0;
    for (const BookmarkEntry &e : entries) {
        if (e.kind == BookmarkEntry::Kind::Heading)
            out << QStringLiteral("#%1 %2").arg(headings++).arg(e.text);
        else
            out << QStringLiteral("%1=%2@%3").arg(e.text, e.address).arg(e.heading);
    }
    return out;
}

QStringList parsedHtml(const QByteArray &html)
{
    QList<BookmarkEntry> entries;
    EXPECT_TRUE(parseBookmarkHtml(html, &entries));
    return entryTexts(entries);
}

const QByteArray kMenuFile = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n"
                             "<DT><A HREF=\"http://loose.example/\">Loose</A>\n"
                             "<DT><H3>News &amp; Views</H3>\n<DL><p>\n"
                             "<DT><A HREF=\"http://news.example/a%20b\">Daily</A>\n"
                             "<DT><H3>Empty</H3>\n<DL><p>\n</DL><p>\n"
                             "<DT><A HREF=\"http://after.example/\">After</A>\n"
                             "</DL><p>\n</DL>\n";

// A Firefox folder of three profiles: one with a bookmark file, one with only dated
// backups, one with a bookmark file one level down and backups as well.
struct Profiles {
    QTemporaryDir dir;
    QString root;
    Profiles()
    {
        root = dir.filePath(".mozilla/firefox");
        writeBytes(root + "/profiles.ini", "[Profile0]\nPath=abc.default\n");
        writeBytes(root + "/abc.default/bookmarks.html", kMenuFile);
        QDir().mkpath(root + "/abc.default/bookmarkbackups");
        writeBytes(root + "/def.current/bookmarkbackups/bookmarks-2026-11-30_5_old.jsonlz4",
                   mozlz4::compress(R"({"children":[{"title":"Old","children":[{"title":"x","uri":"http://x/"}]}]})"));
        writeBytes(root + "/def.current/bookmarkbackups/bookmarks-2026-12-06_7_new.jsonlz4",
                   mozlz4::compress(R"({"children":[{"guid":"toolbar_____","title":"toolbar","children":[
                                       {"title":"Tool","uri":"https://tool.example/"}]}]})"));
        writeBytes(root + "/ghi.both/sub/BOOKMARKS.HTML", "<DL><DT><A HREF=\"http://g/\">G</A></DL>");
        writeBytes(root + "/ghi.both/bookmarkbackups/bookmarks-2026-12-01_1_x.jsonlz4", mozlz4::compress("{}"));
        QFile::link(root, root + "/ghi.both/loop");
    }
};

} // namespace

TEST(BookmarkHtml, readsFilesAsBrowsersWriteThem)
{
    const QByteArray html =
        "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
        "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n"
        "<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks Menu</H1>\r\n\r\n<DL><p>\r\n"
        "    <DT><A HREF=\"https://before.example/\" ADD_DATE=\"1\" ICON=\"data:image/png;base64,AAA=\">Before</A>\r\n"
        "    <DT><H3 ADD_DATE=\"1\" LAST_MODIFIED=\"2\" PERSONAL_TOOLBAR_FOLDER=\"true\">AT&amp;T & Co</H3>\r\n"
        "    <DL><p>\r\n"
        "        <DT><A HREF=\"https://a.example/?x=1&amp;y=2\" TAGS=\"t\">Fish &lt;&amp;&gt; Chips</A>\r\n"
        "        <DD>A description that is no name\r\n"
        "        <DT><H3>Inner</H3>\r\n"
        "        <DL><p>\r\n"
        "            <DT><A HREF=\"javascript:alert(1)\">Bookmarklet</A>\r\n"
        "            <HR>\r\n"
        "        </DL><p>\r\n"
        "        <DT><A HREF=\"https://after.example/\">After inner list</A>\r\n"
        "        <DT><H3>Empty</H3>\r\n"
        "        <DL><p>\r\n        </DL><p>\r\n"
        "        <DT><A HREF=\"https://xn--caf-dma.example/\">Caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac</A>\r\n"
        "    </DL><p>\r\n"
        "    <DT><A HREF=\"https://outside.example/\">Outside</A>\r\n"
        "</DL>";
    EXPECT_EQ(parsedHtml(html),
              QStringList({
                  "Before=https://before.example/@-1",
                  "#0 AT&T & Co",
                  "Fish <&> Chips=https://a.example/?x=1&y=2@0",
                  "#1 Inner",
                  "Bookmarklet=javascript:alert(1)@1",
                  "After inner list=https://after.example/@0",
                  "#2 Empty",
                  QString::fromUtf8("Caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac=https://xn--caf-dma.example/@0"),
                  "Outside=https://outside.example/@-1",
              }));
    // LF line ends, no closing tags at all, and the legacy code page.
    EXPECT_EQ(parsedHtml("<DL><p>\n<DT><H3>Old</H3>\n<DL><p>\n<DT><A HREF=\"http://x/\">Caf\xe9</A>\n<DT><A "
                         "HREF=http://y/>Unquoted\n</DL>\n"),
              QStringList({"#0 Old", QString::fromUtf8("Caf\xc3\xa9=http://x/@0"), "Unquoted\n=http://y/@0"}));
    EXPECT_TRUE(parsedHtml("").isEmpty());
    EXPECT_TRUE(parsedHtml("\x00\xff garbage <<<>>> </DL></DL>").isEmpty());
}

TEST(BookmarkJson, readsACompressedBackupInTreeOrder)
{
    const QByteArray json = R"({"guid":"root________","title":"","children":[
        {"guid":"menu________","title":"menu","type":"text/x-moz-place-container","children":[
            {"title":"Menu link","uri":"https://menu.example/","type":"text/x-moz-place"},
            {"title":"Sub","type":"text/x-moz-place-container","children":[
                {"title":"Deep","uri":"https://deep.example/"}]},
            {"type":"text/x-moz-place-separator"},
            {"title":"After sub","uri":"https://after.example/"}]},
        {"guid":"toolbar_____","title":"toolbar","children":[
            {"title":"Most visited","uri":"place:sort=8&maxResults=10"},
            {"title":"Tool","uri":"https://tool.example/"}]},
        {"guid":"mobile______","title":"mobile","children":[]}]})";
    QTemporaryDir dir;
    const QString path = dir.filePath("bookmarks-2026-12-06_12_abc.jsonlz4");
    writeBytes(path, mozlz4::compress(json));
    QList<BookmarkEntry> entries;
    ASSERT_TRUE(readBookmarkFile(path, &entries));
    EXPECT_EQ(entryTexts(entries), QStringList({"#0 Bookmarks Menu", "Menu link=https://menu.example/@0", "#1 Sub",
                                                "Deep=https://deep.example/@1", "After sub=https://after.example/@0",
                                                "#2 Bookmarks Toolbar", "Tool=https://tool.example/@2"}));

    QString error;
    QByteArray damaged = mozlz4::compress(json);
    damaged.truncate(damaged.size() / 2);
    writeBytes(path, damaged);
    EXPECT_FALSE(readBookmarkFile(path, &entries, &error));
    EXPECT_EQ(error, "the compressed content is damaged");
    writeBytes(path, QByteArray("mozLz40\0\xff\xff\xff\xff", 12) + QByteArray(20, 'x'));
    EXPECT_FALSE(readBookmarkFile(path, &entries, &error));
    EXPECT_EQ(error, "the content is too large");
}

TEST(BookmarkImport, findsEveryBookmarkFileAndTheNewestBackupOfProfilesWithout)
{
    Profiles profiles;
    const QString r = profiles.root;
    EXPECT_EQ(findBookmarksFiles({r, profiles.dir.filePath("missing")}, true),
              QStringList({r + "/abc.default/bookmarks.html",
                           r + "/def.current/bookmarkbackups/bookmarks-2026-12-06_7_new.jsonlz4",
                           r + "/ghi.both/sub/BOOKMARKS.HTML"}));
    EXPECT_EQ(findBookmarksFiles({r}, false).size(), 2);
}

TEST(BookmarkImport, headingsBecomeFlatFoldersAndLinksFindTheirHeading)
{
    Profiles profiles;
    OpenDb open;
    const QString unreadable = profiles.dir.filePath("gone/bookmarks.html");
    ImportBuilder builder(open.db);
    BookmarkFileImport import(builder);
    ASSERT_TRUE(import.run(findBookmarksFiles({profiles.root}, true) << unreadable, "Imported Firefox bookmarks"));
    ASSERT_TRUE(open.db.save());
    const auto disk = open.reread();
    EXPECT_EQ(folderText(disk->getTheDOM()->documentElement().childElements().last()),
              "Imported Firefox bookmarks[Loose=http://loose.example/,G=http://g/]{"
              "News & Views[Daily=http://news.example/a b,After=http://after.example/]{} Empty[]{} "
              "Bookmarks Toolbar[Tool=https://tool.example/]{}}");
    EXPECT_EQ(builder.importVDCount, 5);
    EXPECT_EQ(builder.importFolderCount, 3);
    ASSERT_EQ(import.skippedItems().size(), 1);
    EXPECT_TRUE(import.skippedItems()[0].startsWith(unreadable + ": "));
}
