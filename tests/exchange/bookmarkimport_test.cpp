#include "exchange/bookmarkimport.h"
#include "exchangefixture.h"
#include "platform/mozlz4.h"

#include <QTemporaryDir>

using namespace rr;
using namespace rr::test;

namespace
{

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
