// What a Vardeck takes from its live page: the size text and the element's fields.
#include "media/pagesync.h"

#include <gtest/gtest.h>

using namespace rr;

TEST(PageSync, sizeIsKilobytesWithOneDecimal)
{
    EXPECT_EQ(sizeText(12800), "12.5");
    EXPECT_EQ(sizeText(0), "0.0");
    EXPECT_EQ(sizeText(1024), "1.0");
    EXPECT_EQ(sizeText(1075), "1.0") << "1.0498 KB";
    EXPECT_EQ(sizeText(1536 * 1024), "1536.0");
}

TEST(PageSync, theAnswerOfThePageScriptFallsBackToTheAddress)
{
    PageDetails details;
    ASSERT_TRUE(pageDetailsFromJson(R"({"title":"  ","description":"D","keywords":"a, b","size":12800})",
                                    "http://site.example/x", &details));
    EXPECT_EQ(details.title, "http://site.example/x");
    EXPECT_EQ(details.description, "D");
    EXPECT_EQ(details.keywords, "a, b");
    EXPECT_EQ(details.bodyBytes, 12800);
    EXPECT_FALSE(pageDetailsFromJson("null", "http://site.example/x", &details));
    EXPECT_FALSE(pageDetailsFromJson("", "http://site.example/x", &details));
}

TEST(PageSync, theVardeckGainsWhatItLacksAndCountsAVisit)
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

    applyPageDetails(doc, w2, {"", "http://b/", "", "", 2048});
    EXPECT_EQ(w2.childText("NAME"), "Kept") << "an empty title never empties a name";
    EXPECT_EQ(w2.childText("DESCRIPTION"), "");
    EXPECT_EQ(w2.childText("FILESIZE"), "2.0");
    EXPECT_EQ(w2.childText("HITS"), "8");

    applyPageDetails(doc, w3, {"T", "http://c/", "", "", 0});
    EXPECT_EQ(w3.childText("HITS"), "1");
}
