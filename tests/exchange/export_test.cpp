#include "exchange/bookmarkfile.h"
#include "exchange/csvexport.h"
#include "exchange/exchangenames.h"
#include "exchange/favoritesexport.h"
#include "exchange/firefoxexport.h"
#include "exchange/folderimport.h"
#include "exchange/internetshortcut.h"
#include "exchangefixture.h"

using namespace rr;
using namespace rr::test;

TEST(CsvExport, writesTheGoldenFileAndNoFieldCanSplitALineOrRunAsAFormula)
{
    const OpenDb open = OpenDb::fromDataFile("collection.xml");
    EXPECT_EQ(csvText(open.doc()), readBytes(dataFile("exchange/collection.csv")));

    const OpenDb empty("<FOLDERS>" + folderXml("T1", "Nothing") + "</FOLDERS>");
    EXPECT_EQ(csvText(empty.doc()), "NAME,ADDRESS,DESCRIPTION,CREATED DATE,LAST VISITED,KEYWORDS,FILE SIZE,NOTES\r\n");

    EXPECT_EQ(csvField("a\r\nb,c"), "a  b c");
    EXPECT_EQ(csvField("=1+1"), "'=1+1");
    EXPECT_EQ(csvField("\t=1"), "'\t=1");
    EXPECT_EQ(csvField("say \"x\""), "\"say \"\"x\"\"\"");
    EXPECT_EQ(csvField("=\"q\""), "\"'=\"\"q\"\"\"");
    EXPECT_EQ(csvField("a=b-c"), "a=b-c");
    EXPECT_EQ(csvField(""), "");
}

TEST(FirefoxExport, addsTheCollectionBeforeTheLastListEndKeepingLineEndsAndABackupOrLeavesAFileWithoutAList)
{
    const OpenDb open = OpenDb::fromDataFile("collection.xml");
    QTemporaryDir dir;
    const QString file = dir.filePath("bookmarks.html");
    const QByteArray original = readBytes(dataFile("exchange/bookmarks.html"));
    writeBytes(file, original);
    const FirefoxExportResult result = exportToFirefoxFile(file, open.doc(), "T5", 1765100000);
    EXPECT_EQ(result.error, "");
    EXPECT_EQ(result.backupFile, file + ".bak");
    EXPECT_EQ(readBytes(file), readBytes(dataFile("exchange/firefox-export.html")));
    EXPECT_EQ(readBytes(file + ".bak"), original);

    // Read back, the new folder holds every folder and Vardeck by name and address.
    QList<BookmarkEntry> entries;
    ASSERT_TRUE(readBookmarkFile(file, &entries));
    QStringList back;
    for (const BookmarkEntry &e : entries)
        back << (e.kind == BookmarkEntry::Kind::Heading ? "#" + e.text : e.text + "=" + e.address);
    EXPECT_EQ(back.mid(3),
              QStringList({"#Imported Vardecks", "#Work & Play", "Smith, John=http://smith.example/?a=1&b=2",
                           QString::fromUtf8("Caf\xc3\xa9 <tags>=https://xn--caf-dma.example/"), "#Empty", "#Deep",
                           "-dash=javascript:alert(\"x\")", "#Second", "Plain=http://plain.example/"}));

    // CrLf files stay CrLf.
    const OpenDb small;
    QByteArray text;
    ASSERT_TRUE(firefoxExportText("<DL><p>\r\n<DT><A HREF=\"x\">X</A></dl>\r\n", small.doc(), "T9", 1, &text));
    EXPECT_EQ(text,
              "<DL><p>\r\n<DT><A HREF=\"x\">X</A>\r\n<DT><H3 ADD_DATE=\"1\" ID=\"rdf:#T9\">Imported Vardecks</H3>\r\n"
              "<DL><p>\r\n<DT><H3 ADD_DATE=\"1\" ID=\"rdf:#T1\">Mine</H3>\r\n<DL><p>\r\n"
              "<DT><A HREF=\"http://a.example/\" ADD_DATE=\"1\" ID=\"rdf:#W1\">One</A>\r\n</DL><p>\r\n</DL><p>\r\n"
              "</dl>\r\n");

    writeBytes(file, "<html>no list</html>");
    QFile::remove(file + ".bak");
    EXPECT_EQ(exportToFirefoxFile(file, small.doc(), "T9", 1).error,
              file + " holds no bookmark list (no </DL>), so it was left as it is.");
    EXPECT_EQ(readBytes(file), "<html>no list</html>");
    EXPECT_FALSE(QFile::exists(file + ".bak"));
}

TEST(FavoritesExport, writesOneSafeEntryPerFolderAndVardeckInsideANewTargetAndGoesOnPastAFailedFolder)
{
    QTemporaryDir favorites;
    // Names that would lead elsewhere or clash: "a/b", "..", two Vardecks "Same" and one
    // "same", two sub-folders "Sub", two top-level folders "Work", a folder "../evil".
    const QByteArray work = folderXml("T1", "Work",
                                      vardeckXml("W1", "a/b", "http://a.example/%20x") + vardeckXml("W2", "..") +
                                          vardeckXml("W3", "Same", "http://first/") +
                                          vardeckXml("W4", "Same", "http://second/") + vardeckXml("W5", "same"),
                                      folderXml("T2", "Sub", vardeckXml("W6", "x")) + folderXml("T3", "Sub"));
    OpenDb open("<FOLDERS>" + work + folderXml("T4", "../evil", vardeckXml("W7", "e")) + folderXml("T5", "Work") +
                "</FOLDERS>");
    const QString gone = favorites.filePath("Gone");
    EXPECT_EQ(exportToFavorites(open.doc(), gone).error,
              "The Favorites folder " + gone + " does not exist, so nothing was exported.");
    EXPECT_TRUE(treeListing(favorites.path()).isEmpty()) << "a missing folder gets nothing";

    const FavoritesExportResult first = exportToFavorites(open.doc(), favorites.path());
    EXPECT_EQ(first.error, "");
    EXPECT_EQ(first.targetDir, favorites.path() + "/Imported Vardecks");
    EXPECT_EQ(first.folders, 5);
    EXPECT_EQ(first.vardecks, 7);
    EXPECT_TRUE(first.failures.isEmpty());
    EXPECT_EQ(treeListing(favorites.path()), QStringList({
                                                 "Imported Vardecks/",
                                                 "Imported Vardecks/.._evil/",
                                                 "Imported Vardecks/.._evil/e.url",
                                                 "Imported Vardecks/Work (2)/",
                                                 "Imported Vardecks/Work/",
                                                 "Imported Vardecks/Work/Same (2).url",
                                                 "Imported Vardecks/Work/Same.url",
                                                 "Imported Vardecks/Work/Sub (2)/",
                                                 "Imported Vardecks/Work/Sub/",
                                                 "Imported Vardecks/Work/Sub/x.url",
                                                 "Imported Vardecks/Work/_.url",
                                                 "Imported Vardecks/Work/a_b.url",
                                                 "Imported Vardecks/Work/same (3).url",
                                             }));
    EXPECT_EQ(readBytes(first.targetDir + "/Work/Same (2).url"), "[InternetShortcut]\r\nURL=http://second/\r\n");

    EXPECT_EQ(exportToFavorites(open.doc(), favorites.path()).targetDir, favorites.path() + "/Imported Vardecks 1");

    // Folders nested past the path limit cannot be made.
    QByteArray deep = folderXml("T9", QByteArray(240, 'z'), vardeckXml("W9", "last"));
    for (int i = 0; i < 20; ++i)
        deep = folderXml("T" + QByteArray::number(10 + i), QByteArray(240, 'y'), {}, deep);
    OpenDb deepDb("<FOLDERS>" + deep + folderXml("T40", "After", vardeckXml("W40", "ok")) + "</FOLDERS>");
    const FavoritesExportResult result = exportToFavorites(deepDb.doc(), favorites.path());
    ASSERT_FALSE(result.failures.isEmpty());
    EXPECT_TRUE(result.failures[0].startsWith("Folder \"yyy")) << result.failures[0].toStdString();
    EXPECT_TRUE(result.failures[0].endsWith(": File name too long")) << result.failures[0].toStdString();
    EXPECT_TRUE(QFile::exists(result.targetDir + "/After/ok.url"));
}

TEST(FavoritesExport, exportedTreeImportsBackWithTheSameNamesAndAddresses)
{
    QTemporaryDir favorites;
    const QByteArray body = "<FOLDERS>" +
                            folderXml("T1", "Links",
                                      vardeckXml("W2", "Caf\xc3\xa9", "http://caf\xc3\xa9.example/") +
                                          vardeckXml("W1", "Home", "http://home.example/a?b=c&amp;d=e"),
                                      folderXml("T2", "Inner", vardeckXml("W3", "Deep", "ftp://deep.example/"))) +
                            "</FOLDERS>";
    OpenDb source(body);
    const FavoritesExportResult result = exportToFavorites(source.doc(), favorites.path());
    ASSERT_EQ(result.error, "");

    OpenDb target;
    ImportBuilder builder(target.db);
    FolderImport walk(builder);
    ASSERT_TRUE(walk.loadFavsFromFoundColl({result.targetDir}, WalkMode::Shortcuts, "Back"));
    const XmlNode back = target.doc().documentElement().childElements().last();
    const XmlNode links = back.child("SUBFOLDERS").firstChild().child("SUBFOLDERS").firstChild();
    EXPECT_EQ(folderText(links), folderText(source.doc().nodeFromID("T1")));
}

TEST(InternetShortcut, readsTheLastUrlLineThatIsNoBaseUrlWithAnyLineEndAndEncodingAndWritesTwoCrLfLines)
{
    const auto addressOf = [](const QByteArray &bytes) {
        QString address;
        return shortcutAddress(bytes, &address) ? address : QStringLiteral("<none>");
    };
    EXPECT_EQ(addressOf("[DEFAULT]\r\nBASEURL=http://a/\r\n[InternetShortcut]\r\nURL=http://b/\r\n"), "http://b/");
    // A BASEURL line is never the address, wherever it stands.
    EXPECT_EQ(addressOf("[InternetShortcut]\r\nURL=http://b/\r\n[DEFAULT]\r\nBASEURL=http://a/\r\n"), "http://b/");
    EXPECT_EQ(addressOf("[InternetShortcut]\r\nBASEURL=http://a/\r\nURL=http://b/\r\nBASEURL=http://c/\r\n"),
              "http://b/");
    EXPECT_EQ(addressOf("[DEFAULT]\r\nBASEURL=http://a/\r\n"), "<none>");
    EXPECT_EQ(addressOf("[InternetShortcut]\r\nURL=http://first/\r\n[Other]\r\nURL=http://second/\r\n"),
              "http://second/");
    EXPECT_EQ(addressOf("[InternetShortcut]\r\nurl=http://lower/\r\n"), "<none>");
    // The key is looked for anywhere in the line.
    EXPECT_EQ(addressOf("[InternetShortcut]\r\nURL=http://b/\r\nIconURL=http://x/i.ico\r\n"), "http://x/i.ico");
    EXPECT_EQ(addressOf("[InternetShortcut]\r\nURL=http://b/\r\nIconFile=http://b/favicon.ico\r\nIconIndex=1\r\n"),
              "http://b/");
    EXPECT_EQ(addressOf("[InternetShortcut]\r\nURL=\r\n"), "");
    EXPECT_EQ(addressOf("URL=http://a/?q=URL=x\r\n"), "http://a/?q=URL=x");
    // The Unicode section repeats the address in UTF-7.
    EXPECT_EQ(addressOf("[InternetShortcut]\r\nURL=http://?.example/\r\n[InternetShortcut.W]\r\n"
                        "URL=http://+ZeVnLA-.example/a+-b+AOk\r\n"),
              QString::fromUtf8("http://\xe6\x97\xa5\xe6\x9c\xac.example/a+b\xc3\xa9"));
    // Every line end, a byte-order mark, UTF-8 or the legacy code page.
    EXPECT_EQ(addressOf("[InternetShortcut]\nURL=http://lf/\n"), "http://lf/");
    EXPECT_EQ(addressOf("[InternetShortcut]\rURL=http://cr/\rIconIndex=0"), "http://cr/");
    EXPECT_EQ(addressOf("URL=http://no-line-end/"), "http://no-line-end/");
    EXPECT_EQ(addressOf("URL=http://caf\xc3\xa9.example/\r\n"), QString::fromUtf8("http://caf\xc3\xa9.example/"));
    EXPECT_EQ(addressOf("\xEF\xBB\xBFURL=http://bom/\r\n"), "http://bom/");
    // Not UTF-8: the legacy code page, where 0xE9 is é and 0x80 the euro sign.
    EXPECT_EQ(addressOf("URL=http://caf\xe9.example/\x80\r\n"),
              QString::fromUtf8("http://caf\xc3\xa9.example/\xe2\x82\xac"));
    const QByteArray utf16("\xFF\xFE[\0I\0]\0\r\0\n\0U\0R\0L\0=\0h\0\r\0\n\0", 26);
    EXPECT_EQ(addressOf(utf16), "<none>");
    EXPECT_EQ(addressOf(""), "<none>");
    EXPECT_EQ(addressOf(QByteArray("\x00\x01\xff\xfe\x80garbage\x00", 12)), "<none>");

    // Written: two CrLf lines that read back the same.
    EXPECT_EQ(shortcutFileBytes("http://www.example.co/"), "[InternetShortcut]\r\nURL=http://www.example.co/\r\n");
    // A line break in the address cannot add a key of its own.
    EXPECT_EQ(shortcutFileBytes("http://a/\r\nIconFile=C:\\evil\nx"),
              "[InternetShortcut]\r\nURL=http://a/IconFile=C:\\evilx\r\n");
    EXPECT_EQ(shortcutFileBytes(QString::fromUtf8("http://caf\xc3\xa9/")),
              "[InternetShortcut]\r\nURL=http://caf\xe9/\r\n");
    EXPECT_EQ(shortcutFileBytes(QString::fromUtf8("http://\xce\xa9/")),
              "[InternetShortcut]\r\nURL=http://\xce\xa9/\r\n");

    QTemporaryDir dir;
    for (const QString &address : {QStringLiteral("http://a.example/x%20y?z=1&w=2"),
                                   QString::fromUtf8("http://caf\xc3\xa9.example/\xe2\x82\xac"),
                                   QString::fromUtf8("http://\xe6\x97\xa5\xe6\x9c\xac.example/")}) {
        const QString path = dir.filePath("x.url");
        ASSERT_TRUE(writeShortcutFile(path, address));
        QString back;
        EXPECT_EQ(readShortcutFile(path, &back), ShortcutRead::Address);
        EXPECT_EQ(back, address);
    }
}

TEST(SafeNames, everyNameBecomesOneHarmlessPathComponent)
{
    EXPECT_EQ(safePathComponent("a/b"), "a_b");
    EXPECT_EQ(safePathComponent("../x"), ".._x");
    EXPECT_EQ(safePathComponent(".."), "_");
    EXPECT_EQ(safePathComponent("."), "_");
    EXPECT_EQ(safePathComponent(""), "_");
    EXPECT_EQ(safePathComponent("a\\b:c*d?e\"f<g>h|i"), "a_b_c_d_e_f_g_h_i");
    EXPECT_EQ(safePathComponent(QString("tab\tline\nnul") + QChar(0) + "end"), "tab_line_nul_end");
    EXPECT_EQ(safePathComponent(QString::fromUtf8("Caf\xc3\xa9 & Co. ...")),
              QString::fromUtf8("Caf\xc3\xa9 & Co. ..."));
    // Cut at 240 bytes of UTF-8, never inside a character.
    const QString long2 = QString(300, QChar(0xE9));
    EXPECT_EQ(safePathComponent(long2), QString(120, QChar(0xE9)));
    const QString odd = "a" + QString(300, QChar(0xE9));
    EXPECT_EQ(safePathComponent(odd).toUtf8().size(), 239);
}
