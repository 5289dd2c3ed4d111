#include "platform/xmldocument.h"
#include "support/dbfixture.h"
#include "support/testenv.h"
#include "web/aspectfiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace rr;

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
