#include "exchange/csvexport.h"
#include "exchangefixture.h"

using namespace rr;
using namespace rr::test;

TEST(CsvExport, writesEveryVardeckCleanedAsTheGoldenFile)
{
    const OpenDb open = OpenDb::fromDataFile("collection.xml");
    EXPECT_EQ(csvText(open.doc()), readBytes(dataFile("exchange/collection.csv")));

    const OpenDb empty("<FOLDERS>" + folderXml("T1", "Nothing") + "</FOLDERS>");
    EXPECT_EQ(csvText(empty.doc()), "NAME,ADDRESS,DESCRIPTION,CREATED DATE,LAST VISITED,KEYWORDS,FILE SIZE,NOTES\r\n");
}

TEST(CsvExport, noFieldCanSplitALineOrRunAsAFormula)
{
    EXPECT_EQ(csvField("a\r\nb,c"), "a  b c");
    EXPECT_EQ(csvField("=1+1"), "'=1+1");
    EXPECT_EQ(csvField("\t=1"), "'\t=1");
    EXPECT_EQ(csvField("say \"x\""), "\"say \"\"x\"\"\"");
    EXPECT_EQ(csvField("=\"q\""), "\"'=\"\"q\"\"\"");
    EXPECT_EQ(csvField("a=b-c"), "a=b-c");
    EXPECT_EQ(csvField(""), "");
}
