#include "platform/paths.h"
#include "platform/xmldocument.h"
#include "platform/xslttransform.h"
#include "support/failingdisk.h"
#include "support/testenv.h"

#include <gtest/gtest.h>
#include <libxml/HTMLparser.h>
#include <libxml/xpath.h>

using namespace rr;

namespace
{

QString stylesheet(const QString &name)
{
    return paths::installedDataFolder() + "/DeVivozoda/" + name;
}

// The texts that an XPath query finds in an HTML page.
QStringList texts(const QByteArray &html, const char *xpath)
{
    QStringList out;
    xmlDocPtr doc = htmlReadMemory(html.constData(), int(html.size()), nullptr, "UTF-8",
                                   HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING);
    xmlXPathContextPtr ctx = xmlXPathNewContext(doc);
    xmlXPathObjectPtr found = xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>(xpath), ctx);
    for (int i = 0; found && found->nodesetval && i < found->nodesetval->nodeNr; ++i) {
        xmlChar *text = xmlNodeGetContent(found->nodesetval->nodeTab[i]);
        out << QString::fromUtf8(reinterpret_cast<const char *>(text)).trimmed();
        xmlFree(text);
    }
    xmlXPathFreeObject(found);
    xmlXPathFreeContext(ctx);
    xmlFreeDoc(doc);
    return out;
}

class Transforms : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(db.load(test::dataFile("web/collection.xml"))) << db.parseErrorReason().toStdString();
    }

    QByteArray render(const QString &name, const std::optional<xslt::VariableText> &variable = std::nullopt)
    {
        QByteArray html;
        QString error;
        EXPECT_TRUE(xslt::transform(stylesheet(name), db, &html, &error, variable)) << error.toStdString();
        return html;
    }

    XmlDocument db;
};

} // namespace

TEST_F(Transforms, everyViewListsItsVardecksInOrderLinksOnlySafeAddressesAndNamesItsStyleFile)
{
    const QStringList views = {"VD.xsl",       "VDAll.xsl",    "VDFavs.xsl",      "VDHits.xsl",
                               "VDSearch.xsl", "VD_plain.xsl", "VDAll_plain.xsl", "VDFavs_plain.xsl"};
    for (const QString &view : views) {
        SCOPED_TRACE(view.toStdString());
        const QByteArray html = render(view, xslt::VariableText{"search", "quokka"});
        EXPECT_EQ(texts(html, "//title").size(), 1);
        for (const QString &href : texts(html, "//a/@href")) {
            EXPECT_FALSE(href.startsWith("javascript:", Qt::CaseInsensitive)) << href.toStdString();
            EXPECT_FALSE(href.startsWith("data:", Qt::CaseInsensitive)) << href.toStdString();
        }
        EXPECT_FALSE(html.contains("<script")) << "the data: address must stay escaped text";
        EXPECT_EQ(texts(html, "//a[@href='http://www.apple.example']").isEmpty(), view.startsWith("VDHits"))
            << "a www address links over http";
        // Plain pages carry their style; the others link the file named by the first LINK's second attribute.
        EXPECT_EQ(texts(html, "//style").size(), view.contains("_plain") ? 1 : 0);
        if (!view.contains("_plain")) {
            XmlDocument xsl;
            ASSERT_TRUE(xsl.load(stylesheet(view)));
            const QList<XmlNode> links = xsl.getElementsByTagName("LINK");
            ASSERT_FALSE(links.isEmpty());
            const xmlAttr *second = links.first().raw()->properties->next;
            ASSERT_NE(second, nullptr);
            EXPECT_STREQ(reinterpret_cast<const char *>(second->children->content), "VDStyle.css");
        }
    }
    EXPECT_TRUE(QFile::exists(stylesheet("VDStyle.css")));

    // The database keeps its document type, and so its identifiers, after a transform.
    const QByteArray saved = db.toBytes();
    EXPECT_TRUE(saved.contains("<!DOCTYPE FOLDERS SYSTEM \"Vardecks.dtd\">\n<FOLDERS>"))
        << saved.left(200).toStdString();
    XmlDocument reloaded;
    ASSERT_TRUE(reloaded.loadXml(saved, QFileInfo(test::dataFile("web/collection.xml")).absolutePath()));
    EXPECT_TRUE(reloaded.nodeFromID("W3"));

    const QByteArray folders = render("VD.xsl");
    EXPECT_EQ(texts(folders, "//div[@class='folder']/h2/text()"),
              QStringList({"Tools & Tricks <dev>", "Tools & Tricks <dev> / Empty inside", "Reading"}));
    EXPECT_EQ(texts(folders, "//div[@id='T2']/p[@class='empty']"), QStringList{"No Vardecks in this folder."});
    EXPECT_EQ(texts(folders, "//div[@id='T1']//div[@class='name']"), QStringList({"Zebra & Co", "évian Café"}));

    const QByteArray all = render("VDAll.xsl");
    EXPECT_EQ(texts(all, "//td[@class='name']/*[1]"),
              QStringList({"apple pages", "Mail me", "Zebra & Co", "évian Café"}));
    EXPECT_EQ(texts(all, "//span[@class='nolink']"), QStringList({"Mail me", "évian Café"}));

    EXPECT_EQ(texts(render("VDFavs.xsl"), "//td[@class='name']/a"), QStringList({"apple pages", "Zebra & Co"}));

    const QByteArray hits = render("VDHits.xsl");
    EXPECT_EQ(texts(hits, "//td[@class='name']/*[1]"), QStringList({"évian Café", "Zebra & Co", "Mail me"}));
    EXPECT_EQ(texts(hits, "//td[@class='hits']"), QStringList({"10", "9", "2"}));

    EXPECT_EQ(texts(render("VDSearch.xsl", xslt::VariableText{"search", "QUOKKA"}), "//li//div[@class='name']"),
              QStringList({"apple pages", "évian Café"}));
    EXPECT_EQ(texts(render("VDSearch.xsl", xslt::VariableText{"search", "no such words"}), "//p[@class='empty']"),
              QStringList{"No Vardeck holds this text."});
}

TEST_F(Transforms, aBrokenOrMissingStylesheetOrAFailedWriteKeepsThePreviousPage)
{
    QTemporaryDir dir;
    const QString page = dir.filePath("VardecksFoldersTemp.htm");
    const auto write = [&](const QString &name, const QByteArray &text) {
        EXPECT_TRUE(test::writeBytes(dir.filePath(name), text));
    };
    write("VardecksFoldersTemp.htm", "the page made before");
    write("broken.xsl", "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'><xsl:template");
    write("plain.xsl", "<html><body>not a stylesheet</body></html>");

    QString error;
    EXPECT_FALSE(xslt::transformToFile(dir.filePath("missing.xsl"), db, page, &error));
    EXPECT_TRUE(error.contains("is missing")) << error.toStdString();
    EXPECT_FALSE(xslt::transformToFile(dir.filePath("broken.xsl"), db, page, &error));
    EXPECT_TRUE(error.contains("could not be read")) << error.toStdString();
    EXPECT_FALSE(xslt::transformToFile(dir.filePath("plain.xsl"), db, page, &error));
    EXPECT_TRUE(error.contains("not a valid stylesheet")) << error.toStdString();
    EXPECT_FALSE(xslt::transformToFile(stylesheet("VD.xsl"), db, dir.filePath("no/such/folder/p.htm"), &error));
    EXPECT_TRUE(error.contains("could not be written")) << error.toStdString();
    EXPECT_EQ(test::readBytes(page), "the page made before");

    // A disk that fails part-way through the page keeps the previous one as well.
    int written = 0;
    const auto countWritten = [&] { ++written; };
    {
        test::FailingDisk disk(512);
        EXPECT_FALSE(xslt::transformToFile(stylesheet("VD.xsl"), db, page, &error, std::nullopt, countWritten));
    }
    EXPECT_TRUE(error.contains("VardecksFoldersTemp.htm")) << error.toStdString();
    EXPECT_EQ(test::readBytes(page), "the page made before");
    EXPECT_EQ(written, 0) << "nobody is told of a page that is not there";

    // The page in the file is the page the transform makes, in the stylesheet's
    // encoding, and it is in place when the caller hears of it.
    write("latin1.xsl", "<xsl:stylesheet version='1.0' xmlns:xsl='http://www.w3.org/1999/XSL/Transform'>"
                        "<xsl:output method='html' encoding='ISO-8859-1'/><xsl:template match='/'><p>"
                        "<xsl:value-of select='//VARDECK[@WID=\"W2\"]/NAME'/></p></xsl:template></xsl:stylesheet>");
    for (const QString &sheet : {stylesheet("VD.xsl"), dir.filePath("latin1.xsl")}) {
        SCOPED_TRACE(sheet.toStdString());
        QByteArray html;
        ASSERT_TRUE(xslt::transform(sheet, db, &html, &error));
        QByteArray inPlace;
        EXPECT_TRUE(
            xslt::transformToFile(sheet, db, page, &error, std::nullopt, [&] { inPlace = test::readBytes(page); }));
        EXPECT_EQ(test::readBytes(page), html);
        EXPECT_EQ(inPlace, html);
    }
    EXPECT_EQ(test::readBytes(page), "<p>\xe9vian Caf\xe9</p>\n");
}

// The search view lists at most 500 Vardecks, as the Explorer's search does; when more
// match, its count says how many beside how many are listed.
TEST_F(Transforms, theSearchViewListsAtMost500AndCountsEveryMatch)
{
    struct Row {
        int vardecks;
        const char *summary;
        int listed;
    };
    const Row rows[] = {
        {3, "Vardecks found for \u201Cquokka\u201D: 3", 3},
        {500, "Vardecks found for \u201Cquokka\u201D: 500", 500},
        {501, "Found: 501 (500 listed)", 500},
        {2632, "Found: 2,632 (500 listed)", 500},
    };
    for (const Row &row : rows) {
        QByteArray xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE FOLDERS SYSTEM \"Vardecks.dtd\">\n<FOLDERS><FOLDER "
                         "TID=\"T1\"><NAME>F</NAME><VARDECKS>";
        for (int i = 1; i <= row.vardecks; ++i)
            xml += "<VARDECK WID=\"W" + QByteArray::number(i) + "\"><NAME>Quokka " + QByteArray::number(i) +
                   "</NAME><ADDRESS>http://q.example/</ADDRESS></VARDECK>";
        xml += "</VARDECKS></FOLDER></FOLDERS>";
        ASSERT_TRUE(db.loadXml(xml, QFileInfo(test::dataFile("web/collection.xml")).absolutePath()))
            << db.parseErrorReason().toStdString();
        const QByteArray html = render("VDSearch.xsl", xslt::VariableText{"search", "quokka"});
        EXPECT_EQ(texts(html, "//p[@class='summary']"), QStringList{row.summary}) << row.vardecks;
        const QStringList names = texts(html, "//li//div[@class='name']");
        EXPECT_EQ(names.size(), row.listed) << row.vardecks;
        EXPECT_TRUE(names.contains("Quokka 1") && (row.vardecks <= 500 || !names.contains("Quokka 501")))
            << "the first in the collection's order";
    }
}
