#include "exchange/bookmarkfile.h"
#include "exchange/firefoxexport.h"
#include "exchangefixture.h"

#include <QTemporaryDir>

using namespace rr;
using namespace rr::test;

TEST(FirefoxExport, addsTheCollectionBeforeTheLastListEndAndKeepsABackup)
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
}

TEST(FirefoxExport, keepsCrLfFilesCrLfAndLeavesFilesWithoutAListAlone)
{
    const OpenDb open;
    QByteArray text;
    ASSERT_TRUE(firefoxExportText("<DL><p>\r\n<DT><A HREF=\"x\">X</A></dl>\r\n", open.doc(), "T9", 1, &text));
    EXPECT_EQ(text,
              "<DL><p>\r\n<DT><A HREF=\"x\">X</A>\r\n<DT><H3 ADD_DATE=\"1\" ID=\"rdf:#T9\">Imported Vardecks</H3>\r\n"
              "<DL><p>\r\n<DT><H3 ADD_DATE=\"1\" ID=\"rdf:#T1\">Mine</H3>\r\n<DL><p>\r\n"
              "<DT><A HREF=\"http://a.example/\" ADD_DATE=\"1\" ID=\"rdf:#W1\">One</A>\r\n</DL><p>\r\n</DL><p>\r\n"
              "</dl>\r\n");

    QTemporaryDir dir;
    const QString file = dir.filePath("bookmarks.html");
    writeBytes(file, "<html>no list</html>");
    const FirefoxExportResult result = exportToFirefoxFile(file, open.doc(), "T9", 1);
    EXPECT_EQ(result.error, file + " holds no bookmark list (no </DL>), so it was left as it is.");
    EXPECT_EQ(readBytes(file), "<html>no list</html>");
    EXPECT_FALSE(QFile::exists(file + ".bak"));
}
