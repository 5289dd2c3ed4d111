// The stored record: a new Vardeck as every writer makes it.
#include "storage/record.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"

#include <gtest/gtest.h>

#include <memory>

using namespace rr;
using rr::test::folderXml;
using rr::test::vardeckXml;

namespace
{

QStringList childrenOf(const XmlNode &element)
{
    QStringList children;
    for (const XmlNode &child : element.childElements())
        children << child.nodeName() + "=" + child.text();
    return children;
}

// T1 holds W1 "One", W2 "Two" and W3 "Three"; T2 holds nothing and has no VARDECKS.
std::unique_ptr<XMLDatabase> threeVardecks(const test::TempHome &home)
{
    const QString path = test::writeDatabase(
        home.databaseFolder(), "Vardecks.xml",
        "<FOLDERS>" +
            folderXml("T1", "Source", vardeckXml("W1", "One") + vardeckXml("W2", "Two") + vardeckXml("W3", "Three")) +
            "<FOLDER TID=\"T2\"><NAME>Target</NAME><SUBFOLDERS/></FOLDER></FOLDERS>");
    auto db = std::make_unique<XMLDatabase>();
    EXPECT_TRUE(db->openDBValidate(path));
    return db;
}

} // namespace

TEST(Record, aNewVardeckHasEveryChildInTheStoredOrderAndOneVisit)
{
    test::TempHome home;
    const auto db = threeVardecks(home);
    XmlDocument &doc = *db->getTheDOM();
    struct Case {
        const char *name;
        NewVardeckFields fields;
        QStringList children;
    };
    const Case cases[] = {
        {"imported: a name, an address and a date",
         {.name = "Page", .address = "http://x/", .createdDate = "05 Dec 2026"},
         {"NAME=Page", "ADDRESS=http://x/", "CREATED_DATE=05 Dec 2026",
          "DESCRIPTION=", "KEYWORD1=", "NOTES=", "KEYWORD2=", "FILESIZE=", "HITS=1", "FAV=FALSE"}},
        {"saved from the form, a favorite",
         {.name = "Tide & times",
          .address = "http://tides.example/",
          .createdDate = "06 Dec 2026",
          .description = "High and low",
          .keywords = "sea",
          .notes = "check <daily>",
          .fileSize = "12 KB",
          .favorite = true},
         {"NAME=Tide & times", "ADDRESS=http://tides.example/", "CREATED_DATE=06 Dec 2026", "DESCRIPTION=High and low",
          "KEYWORD1=sea", "NOTES=check <daily>", "KEYWORD2=", "FILESIZE=12 KB", "HITS=1", "FAV=TRUE"}},
    };
    for (const Case &c : cases) {
        const XmlNode vardeck = newVardeck(doc, "W9", c.fields);
        EXPECT_EQ(vardeck.nodeName(), "VARDECK") << c.name;
        EXPECT_EQ(vardeck.attribute("WID"), "W9") << c.name;
        EXPECT_FALSE(vardeck.parentNode()) << c.name << ": made whole, not attached";
        EXPECT_EQ(childrenOf(vardeck), c.children) << c.name;
    }
}
