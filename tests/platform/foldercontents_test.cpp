// The contents list at the head of the folders page, in the Web Aspect and in the exported
// page: every folder has a link to click that leads to its section, a folder without a
// name as well.
#include "platform/paths.h"
#include "platform/xmldocument.h"
#include "platform/xslttransform.h"
#include "support/testenv.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <libxml/HTMLparser.h>
#include <libxml/xpath.h>

using namespace rr;

namespace
{

// The text and the target of each link of the contents list.
QStringList contentsLinks(const QByteArray &html)
{
    QStringList out;
    xmlDocPtr doc = htmlReadMemory(html.constData(), int(html.size()), nullptr, "UTF-8",
                                   HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING);
    xmlXPathContextPtr ctx = xmlXPathNewContext(doc);
    xmlXPathObjectPtr found =
        xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>("//div[@class='contents']//a"), ctx);
    for (int i = 0; found && found->nodesetval && i < found->nodesetval->nodeNr; ++i) {
        xmlNodePtr link = found->nodesetval->nodeTab[i];
        xmlChar *text = xmlNodeGetContent(link);
        xmlChar *href = xmlGetProp(link, reinterpret_cast<const xmlChar *>("href"));
        const QString target = QString::fromUtf8(reinterpret_cast<const char *>(href));
        // The link leads somewhere only when a section of the page carries that identifier.
        const QByteArray section = "//div[@id='" + target.mid(1).toUtf8() + "']";
        xmlXPathObjectPtr sections =
            xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>(section.constData()), ctx);
        const bool leads = sections && sections->nodesetval && sections->nodesetval->nodeNr == 1;
        out << QString::fromUtf8(reinterpret_cast<const char *>(text)) + " -> " + target + (leads ? "" : " (nowhere)");
        xmlXPathFreeObject(sections);
        xmlFree(href);
        xmlFree(text);
    }
    xmlXPathFreeObject(found);
    xmlXPathFreeContext(ctx);
    xmlFreeDoc(doc);
    return out;
}

// The texts of the elements the path finds, blanks around them dropped.
QStringList texts(const QByteArray &html, const char *path)
{
    QStringList out;
    xmlDocPtr doc = htmlReadMemory(html.constData(), int(html.size()), nullptr, "UTF-8",
                                   HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING);
    xmlXPathContextPtr ctx = xmlXPathNewContext(doc);
    xmlXPathObjectPtr found = xmlXPathEvalExpression(reinterpret_cast<const xmlChar *>(path), ctx);
    for (int i = 0; found && found->nodesetval && i < found->nodesetval->nodeNr; ++i) {
        xmlChar *text = xmlNodeGetContent(found->nodesetval->nodeTab[i]);
        out << QString::fromUtf8(reinterpret_cast<const char *>(text)).simplified();
        xmlFree(text);
    }
    xmlXPathFreeObject(found);
    xmlXPathFreeContext(ctx);
    xmlFreeDoc(doc);
    return out;
}

} // namespace

// A folder without a name reads "(no name)" wherever a page names it, as in the contents
// list: the heading of its section, the path in a sub-folder's heading, the folder column.
TEST(FolderContents, aFolderWithoutANameIsNamedSoInTheHeadingsAndTheFolderColumns)
{
    XmlDocument db;
    const QByteArray body = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE FOLDERS SYSTEM "Vardecks.dtd">
<FOLDERS>
  <FOLDER TID="T1"><NAME>Odd</NAME><VARDECKS/><SUBFOLDERS>
    <FOLDER TID="T2"><NAME> </NAME><VARDECKS><VARDECK WID="W1"><NAME>Page</NAME><ADDRESS>http://a.example/</ADDRESS>
      <HITS>3</HITS><FAV>TRUE</FAV></VARDECK></VARDECKS><SUBFOLDERS/></FOLDER>
  </SUBFOLDERS></FOLDER>
</FOLDERS>
)";
    ASSERT_TRUE(db.loadXml(body, QFileInfo(test::dataFile("web/collection.xml")).absolutePath()))
        << db.parseErrorReason().toStdString();
    const std::pair<const char *, QStringList> sheets[] = {
        {"VD.xsl", {"Odd (0)", "Odd / (no name) (1)"}},
        {"VD_plain.xsl", {"Odd (0)", "Odd / (no name) (1)"}},
        {"VDAll.xsl", {"(no name)"}},
        {"VDAll_plain.xsl", {"(no name)"}},
        {"VDFavs.xsl", {"(no name)"}},
        {"VDFavs_plain.xsl", {"(no name)"}},
        {"VDHits.xsl", {"(no name)"}},
    };
    for (const auto &[sheet, named] : sheets) {
        QByteArray html;
        QString error;
        ASSERT_TRUE(xslt::transform(paths::installedDataFolder() + "/DeVivozoda/" + sheet, db, &html, &error))
            << error.toStdString();
        EXPECT_EQ(texts(html, "//div[@class='folder']/h2 | //td[@class='folder']"), named) << sheet;
    }
}

TEST(FolderContents, aFolderWithoutANameHasALinkToItsSectionInTheAspectAndTheExportedPage)
{
    XmlDocument db;
    const QByteArray body = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE FOLDERS SYSTEM "Vardecks.dtd">
<FOLDERS>
  <FOLDER TID="T1"><NAME></NAME><VARDECKS/><SUBFOLDERS>
    <FOLDER TID="T2"><NAME>  </NAME><VARDECKS/><SUBFOLDERS/></FOLDER>
    <FOLDER TID="T3"><NAME>Named</NAME><VARDECKS/><SUBFOLDERS/></FOLDER>
  </SUBFOLDERS></FOLDER>
  <FOLDER TID="T4"><NAME/><VARDECKS/><SUBFOLDERS/></FOLDER>
</FOLDERS>
)";
    ASSERT_TRUE(db.loadXml(body, QFileInfo(test::dataFile("web/collection.xml")).absolutePath()))
        << db.parseErrorReason().toStdString();
    for (const char *sheet : {"VD.xsl", "VD_plain.xsl"}) {
        QByteArray html;
        QString error;
        ASSERT_TRUE(xslt::transform(paths::installedDataFolder() + "/DeVivozoda/" + sheet, db, &html, &error))
            << error.toStdString();
        EXPECT_EQ(contentsLinks(html),
                  QStringList({"(no name) -> #T1", "(no name) -> #T2", "Named -> #T3", "(no name) -> #T4"}))
            << sheet;
    }
}
