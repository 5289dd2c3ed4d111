#include "exchange/bookmarkfile.h"
#include "exchange/bookmarkimport.h"
#include "exchange/databasemerge.h"
#include "exchange/firefoxexport.h"
#include "exchange/folderimport.h"
#include "exchangefixture.h"
#include "platform/mozlz4.h"

#include <QElapsedTimer>
#include <QSet>
#include <atomic>

#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace rr;
using namespace rr::test;

namespace
{

// Headings as "#n name@heading", links as "name=address@heading".
QStringList entryTexts(const QList<BookmarkEntry> &entries)
{
    QStringList out;
    int headings = 0;
    for (const BookmarkEntry &e : entries) {
        if (e.kind == BookmarkEntry::Kind::Heading)
            out << QStringLiteral("#%1 %2@%3").arg(headings++).arg(e.text).arg(e.heading);
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

// The other file, alone in its folder with no DTD, reuses the open database's identifiers.
QString writeOther(const QTemporaryDir &dir, const QByteArray &body,
                   const QByteArray &doctype = "<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>")
{
    const QString path = dir.filePath("elsewhere/Other.xml");
    writeBytes(path, "<?xml version='1.0'?>\n" + doctype + "\n" + body);
    return path;
}

const QByteArray kOther = "<FOLDERS>" +
                          folderXml("T1", "Alpha", vardeckXml("W1", "a1"),
                                    folderXml("T2", "Inner", vardeckXml("W2", "i1") + vardeckXml("W3", "i2"))) +
                          folderXml("T3", "Beta", vardeckXml("W4", "b1") + vardeckXml("W5", "b2")) + "</FOLDERS>";

} // namespace

TEST(BookmarkFile, readsHtmlAsBrowsersWriteItAndCompressedJsonBackupsInTreeOrder)
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
                  "#0 AT&T & Co@-1",
                  "Fish <&> Chips=https://a.example/?x=1&y=2@0",
                  "#1 Inner@0",
                  "Bookmarklet=javascript:alert(1)@1",
                  "After inner list=https://after.example/@0",
                  "#2 Empty@0",
                  QString::fromUtf8("Caf\xc3\xa9 \xe6\x97\xa5\xe6\x9c\xac=https://xn--caf-dma.example/@0"),
                  "Outside=https://outside.example/@-1",
              }));
    // LF line ends, no closing tags at all, and the legacy code page.
    EXPECT_EQ(parsedHtml("<DL><p>\n<DT><H3>Old</H3>\n<DL><p>\n<DT><A HREF=\"http://x/\">Caf\xe9</A>\n<DT><A "
                         "HREF=http://y/>Unquoted\n</DL>\n"),
              QStringList({"#0 Old@-1", QString::fromUtf8("Caf\xc3\xa9=http://x/@0"), "Unquoted\n=http://y/@0"}));
    EXPECT_TRUE(parsedHtml("").isEmpty());
    EXPECT_TRUE(parsedHtml("\x00\xff garbage <<<>>> </DL></DL>").isEmpty());

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
    EXPECT_EQ(entryTexts(entries), QStringList({"#0 Bookmarks Menu@-1", "Menu link=https://menu.example/@0", "#1 Sub@0",
                                                "Deep=https://deep.example/@1", "After sub=https://after.example/@0",
                                                "#2 Bookmarks Toolbar@-1", "Tool=https://tool.example/@2"}));

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

TEST(BookmarkImport, findsEachProfilesBookmarkFileOrNewestBackupAndImportsTheirFolderTrees)
{
    // Profiles with a bookmark file, with only dated backups, and with both (the file one level down).
    QTemporaryDir dir;
    const QString r = dir.filePath(".mozilla/firefox");
    writeBytes(r + "/profiles.ini", "[Profile0]\nPath=abc.default\n");
    writeBytes(r + "/abc.default/bookmarks.html", kMenuFile);
    QDir().mkpath(r + "/abc.default/bookmarkbackups");
    writeBytes(r + "/def.current/bookmarkbackups/bookmarks-2026-11-30_5_old.jsonlz4",
               mozlz4::compress(R"({"children":[{"title":"Old","children":[{"title":"x","uri":"http://x/"}]}]})"));
    writeBytes(r + "/def.current/bookmarkbackups/bookmarks-2026-12-06_7_new.jsonlz4",
               mozlz4::compress(R"({"children":[{"guid":"toolbar_____","title":"toolbar","children":[
                                   {"title":"Tool","uri":"https://tool.example/"}]}]})"));
    writeBytes(r + "/ghi.both/sub/BOOKMARKS.HTML", "<DL><DT><A HREF=\"http://g/\">G</A></DL>");
    writeBytes(r + "/ghi.both/bookmarkbackups/bookmarks-2026-12-01_1_x.jsonlz4", mozlz4::compress("{}"));
    QFile::link(r, r + "/ghi.both/loop");
    // Each backup was last written on its day; the file of ghi.both after its backup.
    const auto writtenOn = [&](const QString &path, const char *when) {
        QFile file(r + path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::fromString(when, Qt::ISODate), QFileDevice::FileModificationTime));
    };
    writtenOn("/def.current/bookmarkbackups/bookmarks-2026-11-30_5_old.jsonlz4", "2026-11-30T09:00:00");
    writtenOn("/def.current/bookmarkbackups/bookmarks-2026-12-06_7_new.jsonlz4", "2026-12-06T09:00:00");
    writtenOn("/ghi.both/bookmarkbackups/bookmarks-2026-12-01_1_x.jsonlz4", "2026-12-01T09:00:00");
    writtenOn("/ghi.both/sub/BOOKMARKS.HTML", "2026-12-02T09:00:00");
    const QStringList found = findBookmarksFiles({r, dir.filePath("missing")}, true);
    EXPECT_EQ(found, QStringList({r + "/abc.default/bookmarks.html",
                                  r + "/def.current/bookmarkbackups/bookmarks-2026-12-06_7_new.jsonlz4",
                                  r + "/ghi.both/sub/BOOKMARKS.HTML"}));
    EXPECT_EQ(findBookmarksFiles({r}, false).size(), 2);

    OpenDb open;
    const QString unreadable = dir.filePath("gone/bookmarks.html");
    ImportBuilder builder(open.db);
    BookmarkFileImport import(builder);
    ASSERT_TRUE(import.run(found + QStringList(unreadable), "Imported Firefox bookmarks"));
    ASSERT_TRUE(open.db.save().written());
    EXPECT_EQ(folderText(open.reread()->getTheDOM()->documentElement().childElements().last()),
              "Imported Firefox bookmarks[Loose=http://loose.example/,G=http://g/]{"
              "News & Views[Daily=http://news.example/a%20b,After=http://after.example/]{Empty[]{}} "
              "Bookmarks Toolbar[Tool=https://tool.example/]{}}");
    EXPECT_EQ(builder.importVDCount, 5);
    EXPECT_EQ(builder.importFolderCount, 3);
    ASSERT_EQ(import.skippedItems().size(), 1);
    EXPECT_TRUE(import.skippedItems()[0].startsWith(unreadable + ": "));
}

TEST(BookmarkFile, readsTheCodePageTheFileDeclaresElseUtf8ElseWindows1252)
{
    // An old Windows program's export: Windows-1252, no charset, CR LF.
    QList<BookmarkEntry> entries;
    ASSERT_TRUE(readBookmarkFile(dataFile("exchange/bookmarks-cp1252.html"), &entries));
    EXPECT_EQ(entryTexts(entries), QStringList({
                                       "#0 Café € „low“ – — … ™@-1",
                                       "Price € 5 – “quoted” … ‘single’ Tradename™ ŠšŒœŸ="
                                       "http://www.example.com/café?p=€@0",
                                       "#1 Naïve résumés@0",
                                       "École ° £ ½ ß=http://www.example.com/cv@1",
                                       "Dash—and–ellipsis…=http://www.example.org/@-1",
                                   }));

    const auto linkText = [](const QByteArray &head, const QByteArray &text) {
        const QStringList parsed = parsedHtml(head + "<DL><DT><A HREF=\"x\">" + text + "</A></DL>");
        return parsed.isEmpty() ? QString() : parsed[0].section('=', 0, 0);
    };
    const QByteArray utf8Meta = "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">";
    EXPECT_EQ(linkText(utf8Meta, "Caf\xc3\xa9 \xe2\x82\xac"), "Café €");
    // A file that says UTF-8 but is not falls back to the old code page.
    EXPECT_EQ(linkText(utf8Meta, "Caf\xe9 \x80"), "Café €");
    // Latin-1 and ASCII are read as Windows-1252, as browsers do, whatever the bytes.
    EXPECT_EQ(linkText("<meta http-equiv=content-type content='text/html;charset=ISO-8859-1'>", "\x80 \xc3\xa9"),
              "€ Ã©");
    EXPECT_EQ(linkText("<meta charset=\"us-ascii\">", "\x93q\x94"), "“q”");
    // A file that says Windows-1252 is read so even when its bytes would also be UTF-8.
    for (const char *meta : {"<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1252\">",
                             "<meta charset=Windows-1252>"})
        EXPECT_EQ(linkText(meta, "Caf\xc3\xa9"), "Caf\u00c3\u00a9") << meta;
    EXPECT_EQ(linkText("<META CHARSET=windows-1251>", "\xcf\xf0\xe8\xe2\xe5\xf2"), "Привет");
    EXPECT_EQ(linkText("<meta charset=\"utf-16\">", "Caf\xc3\xa9"), "Café");
    EXPECT_EQ(linkText("<meta charset=\"no-such-code\">", "Caf\xe9"), "Café");
    EXPECT_EQ(linkText("\xEF\xBB\xBF<meta charset=\"windows-1252\">", "Caf\xc3\xa9"), "Café");
    const QString utf16 = "<DL><DT><A HREF=\"x\">Caf\u00e9 \u20ac</A></DL>";
    EXPECT_EQ(parsedHtml("\xFF\xFE" + QByteArray(reinterpret_cast<const char *>(utf16.utf16()), utf16.size() * 2)),
              QStringList({"Café €=x@-1"}));
}

TEST(BookmarkFile, decodesCharacterReferencesInNamesAndAddressesAsFirefoxDoes)
{
    // Firefox read this file into these names and addresses (its own address parser
    // then also escapes what an address may not hold).
    QList<BookmarkEntry> entries;
    ASSERT_TRUE(readBookmarkFile(dataFile("exchange/bookmarks-legacy-refs.html"), &entries));
    EXPECT_EQ(entryTexts(entries),
              QStringList({
                  "#0 Café & Bar ¬it; ∉ &hellip ✓ &Amp;@-1",
                  "© 2024 € “quoted” – \ufffd \ufffd \ufffd & <3 &NotANamedRef; &#;&#x; a&b \u0081 A B="
                  "https://legacy.example/?a=1&copy=2&b=3&copyx©&notin=4<>∉\"@0",
                  "x\u00a0y©x fj &copy;=https://two.example/?q=&&ampx&amp=&para=1¶@0",
              }));
    // References split by the blanks between them, and in a heading's inner markup.
    EXPECT_EQ(
        parsedHtml("<DL><DT><H3>&amp; &amp; <b>&copy</b> <i>x</i></H3><DL><DT><A HREF=\"&#104;ttp://a/\">&lt; &gt;</A>"
                   "</DL></DL>"),
        QStringList({"#0 & & © x@-1", "< >=http://a/@0"}));
}

TEST(BookmarkImport, keepsTheFolderTreeOfARealFirefoxExportAndOfThisProgramsOwnExport)
{
    OpenDb open = OpenDb::fromDataFile("collection.xml");
    ImportBuilder builder(open.db);
    BookmarkFileImport import(builder);
    ASSERT_TRUE(import.run({dataFile("exchange/firefox-nested.html")}, "Imported Firefox bookmarks"));
    EXPECT_EQ(folderText(open.doc().documentElement().childElements().last()),
              "Imported Firefox bookmarks[Start page=https://start.example/,End of the menu=https://end.example/]{"
              "Reading & Research[Daily <news> \"now\"=https://news.example/?a=1&b=2,"
              "Back in the first level=https://research.example/]{"
              "Languages[Language list=https://lang.example/,After the third level=https://lang.example/after]{"
              "C++ & Qt[Qt docs=https://qt.example/docs,Café menu=https://xn--caf-dma.example/menu]{}} "
              "Empty folder[]{}} "
              "Bookmarks Toolbar[On the toolbar=https://toolbar.example/]{"
              "Toolbar folder[]{Toolbar sub-folder[Deep on the toolbar=https://deep-toolbar.example/]{}}} "
              "Other Bookmarks[Unsorted=https://unsorted.example/]{}}");
    EXPECT_EQ(builder.importFolderCount, 8);
    EXPECT_EQ(builder.importVDCount, 11);

    // The file this program's Firefox export wrote for the same collection comes back
    // with every folder where it was.
    ImportBuilder again(open.db);
    BookmarkFileImport own(again);
    ASSERT_TRUE(own.run({dataFile("exchange/firefox-export.html")}, "Back"));
    const QList<XmlNode> tops = open.doc().documentElement().childElements();
    const XmlNode back = tops.last().child("SUBFOLDERS").childElements().last();
    ASSERT_EQ(back.childText("NAME"), "Imported Vardecks");
    QStringList imported;
    for (const XmlNode &folder : back.child("SUBFOLDERS").childElements())
        imported << folderText(folder);
    EXPECT_EQ(imported, QStringList({folderText(tops[0]), folderText(tops[1])}));
}

TEST(BookmarkImport, namesAndAddressesHoldOneLineWithNothingAroundAndLinksWithoutAnAddressAreCounted)
{
    // A file Firefox ESR 153 imports with the link's name and address trimmed (not the
    // folder's) and the two links without an address left out; both names keep their
    // line break and tab there.
    const QByteArray html = "<DL><p>\n<DT><H3>  Padded folder\n   name\ttab  </H3>\n<DL><p>\n"
                            "<DT><A HREF=\"  http://127.0.0.1:8791/untitled.html  \">  Padded\tlink\r\n name  </A>\n"
                            "<DT><A HREF=\"\">Empty address</A>\n<DT><A HREF=\" \t \">Blank address</A>\n"
                            "<DT><A HREF=\"\n http://127.0.0.1:8791/caf%C3%A9%20x.html\">Cafe</A>\n"
                            "</DL><p>\n</DL><p>\n";
    QTemporaryDir dir;
    writeBytes(dir.filePath("bookmarks.html"), html);
    writeBytes(dir.filePath("backup.jsonlz4"),
               mozlz4::compress(R"({"children":[{"title":" Menu ","children":[{"title":"No uri","uri":""},
                                   {"title":"\tKept\n","uri":" https://kept.example/ "}]}]})"));
    OpenDb open;
    ImportBuilder builder(open.db);
    BookmarkFileImport import(builder);
    ASSERT_TRUE(import.run({dir.filePath("bookmarks.html"), dir.filePath("backup.jsonlz4")}, "Imported"));
    EXPECT_EQ(folderText(open.doc().documentElement().childElements().last()),
              "Imported[]{Padded folder    name tab[Padded link  name=http://127.0.0.1:8791/untitled.html,"
              "Cafe=http://127.0.0.1:8791/caf%C3%A9%20x.html]{} Menu[Kept=https://kept.example/]{}}");
    EXPECT_EQ(builder.importVDCount, 3);
    EXPECT_EQ(import.withoutAddress(), 3);
    EXPECT_EQ(import.withoutAddressItems(),
              QStringList({dir.filePath("bookmarks.html") + ": 2 links without an address were passed over",
                           dir.filePath("backup.jsonlz4") + ": 1 links without an address were passed over"}));
}

TEST(BookmarkImport, headingsNestedDeeperThanTheDatabaseHoldsKeepEveryLinkAndTheFileOpensAgain)
{
    // 510 levels of headings in a bookmarks file and in a backup, a link in each.
    constexpr int kLevels = 510;
    QByteArray html = "<DL><p>\n";
    QByteArray json = R"({"children":[)";
    for (int i = 1; i <= kLevels; ++i) {
        const QByteArray n = QByteArray::number(i);
        html += "<DT><H3>L" + n + "</H3>\n<DL><p>\n<DT><A HREF=\"http://x/" + n + "\">a" + n + "</A>\n";
        json += R"({"title":"L)" + n + R"(","children":[{"title":"a)" + n + R"(","uri":"http://x/)" + n + R"("},)";
    }
    html += QByteArray("</DL><p>\n").repeated(kLevels + 1);
    json.chop(1);
    json += QByteArray("]}").repeated(kLevels) + "]}";
    QTemporaryDir dir;
    writeBytes(dir.filePath("bookmarks.html"), html);
    writeBytes(dir.filePath("backup.jsonlz4"), mozlz4::compress(json));

    OpenDb open;
    ImportBuilder builder(open.db);
    BookmarkFileImport import(builder);
    ASSERT_TRUE(import.run({dir.filePath("bookmarks.html"), dir.filePath("backup.jsonlz4")}, "Deep"));
    ASSERT_TRUE(open.db.save().written());
    const auto disk = open.reread();
    EXPECT_EQ(builder.importVDCount, 2 * kLevels);
    EXPECT_EQ(disk->getTheDOM()->getElementsByTagName("VARDECK").size(), 2 * kLevels + 1);
    // The top folder is level 1: L1 to L499 nest, L500 to L510 stand beside L499.
    const XmlNode top = disk->getTheDOM()->documentElement().childElements().last();
    for (const XmlNode &file : top.child("SUBFOLDERS").childElements()) {
        XmlNode folder = file;
        for (int level = 2; level < kMaxFolderLevels - 1; ++level)
            folder = folder.child("SUBFOLDERS").firstChild();
        ASSERT_EQ(folder.childText("NAME"), "L498");
        QStringList deepest;
        for (const XmlNode &f : folder.child("SUBFOLDERS").childElements())
            deepest << folderText(f);
        EXPECT_EQ(deepest.size(), kLevels - 498);
        EXPECT_EQ(deepest.first(), "L499[a499=http://x/499]{}");
        EXPECT_EQ(deepest.last(), "L510[a510=http://x/510]{}");
    }
    // Nothing was passed over: the folders moved up are told apart.
    EXPECT_EQ(import.skippedItems(), QStringList());
    EXPECT_EQ(import.movedFolders(), 22);
    EXPECT_EQ(import.movedItems(),
              QStringList({dir.filePath("bookmarks.html") + ": 11 folders nested more than 500 levels deep were "
                                                            "put at level 500",
                           dir.filePath("backup.jsonlz4") + ": 11 folders nested more than 500 levels deep were "
                                                            "put at level 500"}));
}

TEST(ImportBuilder, buildsFoldersAndVardecksInTheStoredLayout)
{
    OpenDb open;
    ImportBuilder builder(open.db);
    const auto childNames = [](const XmlNode &node) {
        QStringList names;
        for (const XmlNode &c : node.childElements())
            names << c.nodeName();
        return names;
    };
    builder.setToday(QDate(2026, 12, 5));
    builder.createFolderNode("A <&> \"q\"", "");
    EXPECT_EQ(builder.topTID(), "T2");
    const XmlNode sub = builder.createFolderNode("Sub", "T2");
    EXPECT_EQ(builder.topTID(), "T2");
    const XmlNode vd = builder.createVDNode(sub, "Page", "http://x/a%20b%20c%2F%41%");
    const XmlNode doc = builder.createVDNode(sub, "Doc", "/home/u/my%20file.pdf", QDate(2020, 2, 29));
    builder.setToday(QDate(2027, 1, 1));
    builder.createVDNode(sub, "Later", "http://later/");
    ASSERT_TRUE(open.db.save().written());

    const auto disk = open.reread();
    const XmlNode saved = disk->getTheDOM()->nodeFromID("T2");
    EXPECT_EQ(saved, disk->getTheDOM()->documentElement().childElements().last());
    EXPECT_EQ(folderText(saved), "A <&> \"q\"[]{Sub[Page=http://x/a%20b%20c%2F%41%,Doc=/home/u/my%20file.pdf,"
                                 "Later=http://later/]{}}");
    EXPECT_EQ(childNames(saved), QStringList({"NAME", "VARDECKS", "SUBFOLDERS"}));
    const XmlNode page = disk->getTheDOM()->nodeFromID(vd.attribute("WID"));
    EXPECT_EQ(page.attribute("WID"), "W2");
    EXPECT_EQ(doc.attribute("WID"), "W3");
    EXPECT_EQ(childNames(page), QStringList({"NAME", "ADDRESS", "CREATED_DATE", "DESCRIPTION", "KEYWORD1", "NOTES",
                                             "KEYWORD2", "FILESIZE", "HITS", "FAV"}));
    EXPECT_EQ(page.childText("CREATED_DATE"), "05 Dec 2026");
    EXPECT_EQ(disk->getTheDOM()->nodeFromID("W3").childText("CREATED_DATE"), "29 Feb 2020");
    EXPECT_EQ(disk->getTheDOM()->nodeFromID("W4").childText("CREATED_DATE"), "01 Jan 2027");
    EXPECT_EQ(page.childText("FAV"), "FALSE");
    EXPECT_EQ(page.childText("HITS"), "1");
    for (const char *empty : {"DESCRIPTION", "NOTES", "KEYWORD1", "KEYWORD2", "FILESIZE"})
        EXPECT_EQ(page.child(empty).text(), "") << empty;

    EXPECT_FALSE(builder.createFolderNode("Orphan", "T99"));
    EXPECT_EQ(builder.error(), "The folder T99 to import into no longer exists.");
}

TEST(ImportProgress, barSlowsAsItFillsAndIsDrawnAtMostEvery50ms)
{
    EXPECT_FLOAT_EQ(progressItemStep(59.5f), 60.5f);
    EXPECT_FLOAT_EQ(progressItemStep(79.9f), 80.4f);
    EXPECT_FLOAT_EQ(progressItemStep(98.95f), 99.05f);
    EXPECT_FLOAT_EQ(progressItemStep(99.05f), 99.05f);
    EXPECT_FLOAT_EQ(progressFillTo98(97.5f), 99.5f);
    EXPECT_FLOAT_EQ(progressFillTo98(98.0f), 98.0f);

    struct Counting : ImportProgress {
        int draws = 0;
        ProgressState last;
        void draw(const ProgressState &state) override
        {
            ++draws;
            last = state;
        }
    } progress;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 20000; ++i)
        progress.setVardeckName(QString::number(i));
    const qint64 elapsed = clock.elapsed();
    EXPECT_LE(progress.draws, 2 + elapsed / ImportProgress::kRedrawIntervalMs);
    progress.flush();
    EXPECT_EQ(progress.last.vardeckName, "19999");
    EXPECT_GE(progress.last.bar, 99.0f);
    EXPECT_LT(progress.last.bar, 99.1f);
}

TEST(ImportBuilder, usedUpIdentifiersStopAnImportOrAMergeAndEverythingIsTakenBack)
{
    // 32766 Vardecks: the import can add exactly one more.
    QByteArray vardecks;
    for (int n = 1; n <= 32766; ++n)
        vardecks += "<VARDECK WID=\"W" + QByteArray::number(n) + "\"><NAME>v</NAME></VARDECK>";
    OpenDb open("<FOLDERS>" + folderXml("T1", "Full", vardecks) + "</FOLDERS>");
    const QByteArray before = open.doc().toBytes();
    QTemporaryDir favorites;
    writeBytes(favorites.filePath("a.url"), "URL=http://a/\r\n");
    writeBytes(favorites.filePath("b.url"), "URL=http://b/\r\n");

    ImportBuilder builder(open.db);
    FolderImport walk(builder);
    EXPECT_FALSE(walk.loadFavsFromFoundColl({favorites.path()}, WalkMode::Shortcuts, "Imported favorites"));
    EXPECT_EQ(walk.error(), "The import holds at least 2 Vardecks, more than the database can still number: it has "
                            "32766 and can number at most 32767.");
    EXPECT_EQ(builder.createdWIDs(), QStringList({"W32767"}));
    builder.rollback();
    EXPECT_EQ(open.doc().toBytes(), before);
    EXPECT_FALSE(open.doc().nodeFromID("W32767"));
    EXPECT_EQ(open.db.getNewWID(), "W32767");

    // A merge fails the same way after attaching its first folder.
    DatabaseMerge merge(open.db);
    EXPECT_FALSE(merge.merge(writeOther(favorites, kOther)));
    EXPECT_FALSE(merge.readFailed());
    EXPECT_EQ(merge.error(), "The import holds 5 Vardecks, more than the database can still number: it has 32766 "
                             "and can number at most 32767.");
    EXPECT_EQ(open.doc().toBytes(), before);
    EXPECT_FALSE(open.doc().nodeFromID("T2"));

    // A database with every number in use is told so, however little comes in.
    ASSERT_TRUE(builder.createVDNode(open.doc().nodeFromID("T1"), "last", "http://last/"));
    ImportBuilder full(open.db);
    FolderImport none(full);
    EXPECT_FALSE(none.loadFavsFromFoundColl({favorites.path()}, WalkMode::Shortcuts, "Imported favorites"));
    EXPECT_EQ(none.error(), "No more Vardecks can be added: every Vardeck number up to 32767 is in use.");
    full.rollback();
    DatabaseMerge nothing(open.db);
    EXPECT_FALSE(nothing.merge(writeOther(favorites, kOther)));
    EXPECT_EQ(nothing.error(), "No more Vardecks can be added: every Vardeck number up to 32767 is in use.");
}

TEST(ImportBuilder, anImportLargerThanADatabaseCanNumberSaysHowManyItHolds)
{
    // Into an empty database: two bookmark files, 40000 links in all, and a database
    // file of as many Vardecks.
    const auto links = [](int count) {
        QByteArray html = "<DL><p>\n";
        for (int i = 0; i < count; ++i)
            html += "<DT><A HREF=\"http://x/" + QByteArray::number(i) + "\">a</A>\n";
        return html + "</DL>\n";
    };
    QTemporaryDir dir;
    writeBytes(dir.filePath("one/bookmarks.html"), links(30000));
    writeBytes(dir.filePath("two/bookmarks.html"), links(10000));
    OpenDb open("<FOLDERS/>");
    const QByteArray before = open.doc().toBytes();
    ImportBuilder builder(open.db);
    BookmarkFileImport import(builder);
    EXPECT_FALSE(import.run({dir.filePath("one/bookmarks.html"), dir.filePath("two/bookmarks.html")}, "Big"));
    EXPECT_EQ(import.error(), "The import holds 40000 Vardecks, more than a database can number: at most 32767.");
    builder.rollback();
    EXPECT_EQ(open.doc().toBytes(), before);

    QByteArray vardecks;
    for (int n = 1; n <= 40000; ++n)
        vardecks += "<VARDECK WID=\"W" + QByteArray::number(n) + "\"><NAME>v</NAME></VARDECK>";
    DatabaseMerge merge(open.db);
    EXPECT_FALSE(merge.merge(writeOther(dir, "<FOLDERS>" + folderXml("T1", "Big", vardecks) + "</FOLDERS>")));
    EXPECT_EQ(merge.error(), "The import holds 40000 Vardecks, more than a database can number: at most 32767.");
    EXPECT_EQ(open.doc().toBytes(), before);

    // Folders the same way: the top folder and 33000 headings.
    QByteArray headings = "<DL><p>\n";
    for (int i = 0; i < 33000; ++i)
        headings += "<DT><H3>h</H3>\n";
    writeBytes(dir.filePath("three/bookmarks.html"), headings + "</DL>\n");
    ImportBuilder folders(open.db);
    BookmarkFileImport deep(folders);
    EXPECT_FALSE(deep.run({dir.filePath("three/bookmarks.html")}, "Many"));
    EXPECT_EQ(deep.error(), "The import holds 33001 folders, more than a database can number: at most 32767.");
    folders.rollback();
    EXPECT_EQ(open.doc().toBytes(), before);
}

TEST(FavoritesImport, importsTheTreeAsSavedCountsWhatItPassesOverAndASecondRunIntoASecondTopFolder)
{
    // Nested folders; shortcuts with sections, BASEURL and IconFile lines; empty, UTF-16,
    // garbage and unreadable files; a picture, an empty folder and a link up the tree.
    // Names that are not UTF-8: a shortcut and a folder, which are passed over and
    // counted, and a picture and a link to a folder, which the walk never takes.
    QTemporaryDir dir;
    const QString root = dir.filePath("Favorites");
    writeBytes(root + "/Example.url", "[DEFAULT]\r\nBASEURL=http://a.example/\r\n[InternetShortcut]\r\n"
                                      "URL=http://b.example/x%20y\r\nIconFile=http://b.example/favicon.ico\r\n");
    writeBytes(root + "/empty.url", "");
    writeBytes(root + "/Utf16.url", QByteArray("\xFF\xFEU\0R\0L\0=\0h\0\r\0\n\0", 16));
    writeBytes(root + "/Garbage.url", QByteArray("\x00\x13\xff\x80 no key", 11));
    writeBytes(root + "/picture.png", "\x89PNG");
    writeBytes(root + "/Notes.URL", "[InternetShortcut]\nURL=http://notes.example/\n");
    writeBytes(root + "/Blank.url", "[InternetShortcut]\r\nURL= \t\r\n");
    QFile::link(root + "/Broken.url", root + "/Broken.url");
    writeBytes(root + "/News/Daily.url", "[InternetShortcut]\r\nURL=http://news.example/\r\n");
    writeBytes(root + "/News/Tech/Caf\xc3\xa9.url", "[InternetShortcut]\r\nURL=http://caf\xe9.example/\r\n");
    QDir().mkpath(root + "/Empty");
    QFile::link(root, root + "/News/Back");
    const QByteArray raw = QFile::encodeName(root);
    std::fclose(std::fopen(raw + "/Bad\xff.url", "w"));
    std::fclose(std::fopen(raw + "/News/picture\xff.png", "w"));
    ::mkdir(raw + "/News/Dir\xfe", 0700);
    std::fclose(std::fopen(raw + "/News/Dir\xfe/Inside.url", "w"));
    ::symlink(raw.constData(), raw + "/News/Up\xfd");
    OpenDb open;
    ImportBuilder builder(open.db);
    builder.setToday(QDate(2026, 12, 7));
    FolderImport walk(builder);
    ASSERT_TRUE(walk.loadFavsFromFoundColl({root}, WalkMode::Shortcuts, "Imported favorites"));
    ASSERT_TRUE(open.db.save().written());

    const auto disk = open.reread();
    const XmlNode top = disk->getTheDOM()->documentElement().childElements().last();
    EXPECT_EQ(folderText(top),
              QString::fromUtf8("Imported favorites[]{Favorites 1[Example=http://b.example/x%20y,"
                                "Notes=http://notes.example/]{Empty[]{} News[Daily=http://news.example/]{"
                                "Tech[Caf\xc3\xa9=http://caf\xc3\xa9.example/]{}}}}"));
    EXPECT_EQ(top.attribute("TID"), builder.topTID());
    EXPECT_EQ(disk->getTheDOM()->nodeFromID("W2").childText("CREATED_DATE"), "07 Dec 2026");
    EXPECT_EQ(builder.importVDCount, 4);
    EXPECT_EQ(builder.importFolderCount, 3);
    ASSERT_EQ(walk.skipped(), 3);
    EXPECT_EQ(walk.skippedItems()[0], root + "/Bad\ufffd.url: the name is not valid UTF-8");
    EXPECT_TRUE(walk.skippedItems()[1].startsWith(root + "/Broken.url: "));
    EXPECT_EQ(walk.skippedItems()[2], root + "/News/Dir\ufffd: the name is not valid UTF-8");
    // Shortcuts without an address, or with a blank one, make no Vardeck and are counted apart.
    EXPECT_EQ(walk.withoutAddressItems(),
              QStringList({root + "/Blank.url: it holds no address", root + "/empty.url: it holds no address",
                           root + "/Garbage.url: it holds no address", root + "/Utf16.url: it holds no address"}));
    EXPECT_TRUE(builder.parentTIDStack().isEmpty());

    // A second run adds a second top folder of the same name, nothing merged.
    ImportBuilder again(open.db);
    FolderImport second(again);
    ASSERT_TRUE(second.loadFavsFromFoundColl({root}, WalkMode::Shortcuts, "Imported favorites"));
    const QList<XmlNode> tops = open.doc().documentElement().childElements();
    ASSERT_EQ(tops.size(), 3);
    EXPECT_EQ(folderText(tops[2]), folderText(tops[1]));
    EXPECT_NE(tops[2].attribute("TID"), tops[1].attribute("TID"));
}

TEST(PdfImport, takesDocumentsOfTheFolderOrOfTheWholeTreeIntoOneFolder)
{
    QTemporaryDir dir;
    const QString pdfs = dir.filePath("My%20Papers");
    for (const char *name : {"a.PDF", "b.pdf", "c.Pdf", "notes.txt", "xpdf", "Report.pdf.bak"})
        writeBytes(pdfs + "/" + name, "%PDF-1.4");
    writeBytes(pdfs + "/one/two/three/deep.pdf", "%PDF-1.4");
    writeBytes(pdfs + "/one/b.pdf", "%PDF-1.4");
    QFile::link(pdfs, pdfs + "/one/up");

    OpenDb open;
    for (bool withSubfolders : {false, true}) {
        ImportBuilder builder(open.db);
        FolderImport walk(builder);
        ASSERT_TRUE(walk.loadFavsFromFoundColl({pdfs}, WalkMode::Documents, "Imported PDF documents", withSubfolders));
        EXPECT_EQ(builder.importFolderCount, 0);
    }
    const QList<XmlNode> tops = open.doc().documentElement().childElements();
    ASSERT_EQ(tops.size(), 3);
    const QString p = pdfs + "/";
    EXPECT_EQ(folderText(tops[1]),
              "Imported PDF documents[a=" + p + "a.PDF,b=" + p + "b.pdf,c=" + p + "c.Pdf,=" + p + "xpdf]{}");
    EXPECT_EQ(folderText(tops[2]), "Imported PDF documents[a=" + p + "a.PDF,b=" + p + "b.pdf,c=" + p + "c.Pdf,=" + p +
                                       "xpdf,b=" + p + "one/b.pdf,deep=" + p + "one/two/three/deep.pdf]{}");
    EXPECT_NE(tops[1].attribute("TID"), tops[2].attribute("TID"));
}

TEST(DatabaseMerge, copiesEveryFolderWithFreshIdentifiersAndLeavesTheOtherFileAlone)
{
    OpenDb open;
    QTemporaryDir dir;
    const QString other = writeOther(dir, kOther);
    const QByteArray otherBytes = readBytes(other);
    DatabaseMerge merge(open.db);
    ASSERT_TRUE(merge.merge(other)) << merge.error().toStdString();
    EXPECT_EQ(merge.folderCount(), 3);
    EXPECT_EQ(merge.vardeckCount(), 5);
    ASSERT_TRUE(open.db.save().written());

    const auto disk = open.reread();
    const XmlDocument &saved = *disk->getTheDOM();
    QStringList tops;
    for (const XmlNode &f : saved.documentElement().childElements())
        tops << folderText(f);
    EXPECT_EQ(tops, QStringList({"Mine[One=http://a.example/]{}",
                                 "Alpha[a1=http://a.example/]{Inner[i1=http://a.example/,"
                                 "i2=http://a.example/]{}}",
                                 "Beta[b1=http://a.example/,b2=http://a.example/]{}"}));
    QStringList ids;
    for (const XmlNode &e : saved.getElementsByTagName("FOLDER"))
        ids << e.attribute("TID");
    for (const XmlNode &e : saved.getElementsByTagName("VARDECK"))
        ids << e.attribute("WID");
    EXPECT_EQ(ids, QStringList({"T1", "T2", "T3", "T4", "W1", "W2", "W3", "W4", "W5", "W6"}));
    EXPECT_EQ(treeListing(dir.path()), QStringList({"elsewhere/", "elsewhere/Other.xml"}));
    EXPECT_EQ(readBytes(other), otherBytes);

    // A named pipe chosen as the other database is refused at once, not waited on.
    const QString pipe = dir.filePath("pipe.xml");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    DatabaseMerge fromPipe(open.db);
    EXPECT_FALSE(fromPipe.merge(pipe));
    EXPECT_EQ(fromPipe.error(), "The file " + pipe + " could not be read: it is a named pipe, not a file.");
}

TEST(DatabaseMerge, intoADatabaseWithHolesTheMergeAndTheRecordBuildersNeverGiveAnIdentifierTwice)
{
    // T2, W2 and W5 were deleted: the count plus one is in use for folders (T4) and
    // right after the first free number for Vardecks (W6).
    const QByteArray holes =
        "<FOLDERS>" +
        folderXml("T1", "Mine", vardeckXml("W1", "One") + vardeckXml("W3", "Three") + vardeckXml("W4", "Four")) +
        folderXml("T3", "Three") + folderXml("T4", "Four", vardeckXml("W6", "Six")) + "</FOLDERS>";
    const auto identifiers = [](const XmlDocument &doc) {
        QStringList ids;
        for (const XmlNode &e : doc.getElementsByTagName("FOLDER"))
            ids << e.attribute("TID");
        for (const XmlNode &e : doc.getElementsByTagName("VARDECK"))
            ids << e.attribute("WID");
        return ids;
    };

    OpenDb merged(holes);
    QTemporaryDir dir;
    DatabaseMerge merge(merged.db);
    ASSERT_TRUE(merge.merge(writeOther(dir, kOther))) << merge.error().toStdString();
    EXPECT_EQ(identifiers(merged.doc()),
              QStringList({"T1", "T3", "T4", "T5", "T6", "T7", "W1", "W3", "W4", "W6", "W5", "W7", "W8", "W9", "W10"}));

    OpenDb imported(holes);
    ImportBuilder builder(imported.db);
    const XmlNode folder = builder.createFolderNode("Imported", "");
    for (const char *name : {"a", "b", "c"})
        builder.createVDNode(folder, name, "http://a.example/");
    EXPECT_EQ(folder.attribute("TID"), "T5");
    EXPECT_EQ(builder.createdWIDs(), QStringList({"W5", "W7", "W8"}));
    const QStringList ids = identifiers(imported.doc());
    EXPECT_EQ(QSet<QString>(ids.begin(), ids.end()).size(), ids.size()) << ids.join(' ').toStdString();
}

TEST(DatabaseMerge, refusedOrFailedMergesChangeNothing)
{
    OpenDb open;
    const QByteArray before = open.doc().toBytes();
    QTemporaryDir dir;
    DatabaseMerge merge(open.db);
    EXPECT_FALSE(merge.merge(writeOther(dir, "<html><FOLDER/></html>", "")));
    EXPECT_EQ(merge.error(), "It is not a Vardecks database: its root element is html.");
    EXPECT_FALSE(merge.merge(writeOther(dir, "<FOLDERS>" + folderXml("T1", "&x;") + "</FOLDERS>",
                                        "<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd' [<!ENTITY x SYSTEM "
                                        "'file:///etc/hostname'>]>")));
    EXPECT_FALSE(merge.merge(writeOther(dir, "<FOLDERS>" + folderXml("T1", "&x;") + "</FOLDERS>",
                                        "<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd' [<!ENTITY x 'inner'>]>")));
    EXPECT_EQ(merge.error(), "The file declares entities, which a Vardecks database never holds.");
    EXPECT_FALSE(merge.merge(writeOther(dir, "<FOLDERS><FOLDER TID='T1'>")));
    EXPECT_TRUE(merge.readFailed());
    EXPECT_EQ(open.doc().toBytes(), before);

    // A merge that cannot be saved is taken back.
    DatabaseMerge merged(open.db);
    ASSERT_TRUE(merged.merge(writeOther(dir, kOther)));
    merged.rollback();
    EXPECT_EQ(open.doc().toBytes(), before);
}

// A bookmark file, a compressed backup, or the file an export reads back, chosen by the
// user or found in a profile, is read only when it is a plain file: a named pipe in its
// place is refused at once with its reason instead of holding the window up for ever.
TEST(BookmarkFile, aNamedPipeInPlaceOfAFileTheProgramReadsIsRefusedAtOnce)
{
    QTemporaryDir dir;
    const QString html = dir.filePath("bookmarks.html");
    const QString backup = dir.filePath("bookmarks-2026-12-06_12_abc.jsonlz4");
    for (const QString &pipe : {html, backup})
        ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // Were a pipe opened, a writer coming by would end the wait (and the test) soon.
    std::atomic<bool> done{false};
    std::thread writer([&] {
        for (int round = 0; !done && round < 500; ++round) {
            ::usleep(20 * 1000);
            if (round < 100)
                continue;
            for (const QString &pipe : {html, backup}) {
                const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
            }
        }
    });
    QElapsedTimer clock;
    clock.start();
    const QString why = "it is a named pipe, not a file.";
    QList<BookmarkEntry> entries;
    QString error;
    EXPECT_FALSE(readBookmarkFile(html, &entries, &error));
    EXPECT_EQ(error, why);
    EXPECT_FALSE(readBookmarkFile(backup, &entries, &error));
    EXPECT_EQ(error, why);
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXml("<FOLDERS/>", {}));
    EXPECT_EQ(exportToFirefoxFile(html, doc, "T1", 1).error, html + " could not be read: " + why);
    EXPECT_LT(clock.elapsed(), 1000);
    done = true;
    writer.join();
}
