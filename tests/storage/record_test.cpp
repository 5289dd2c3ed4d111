// The stored record: a new Vardeck as every writer makes it, and moving Vardecks.
#include "storage/foldermove.h"
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

namespace
{

// The WIDs a folder holds, in order.
QStringList widsIn(const XmlDocument &doc, const QString &tid)
{
    QStringList wids;
    for (const XmlNode &vardeck : doc.nodeFromID(tid).child("VARDECKS").childElements())
        wids << vardeck.attribute("WID");
    return wids;
}

} // namespace

TEST(Record, movingVardecksMovesThoseStillThereAndNamesThoseGone)
{
    using Outcome = VardeckMove::Outcome;
    const auto shownName = [](const QString &wid) { return wid == "W7" ? QStringLiteral("Seven") : QString(); };
    struct Case {
        const char *name;
        QStringList wids;
        QString target;
        Outcome outcome;
        QStringList moved;
        QStringList gone;
        QString told;
        QStringList sourceAfter;
        QStringList targetAfter;
    };
    const QStringList all{"W1", "W2", "W3"};
    const Case cases[] = {
        {"all, in the order asked", {"W3", " W1 "}, "T2", Outcome::Moved, {"W3", "W1"}, {}, "", {"W2"}, {"W3", "W1"}},
        {"named twice, moved once", {"W2", "W2"}, "T2", Outcome::Moved, {"W2"}, {}, "", {"W1", "W3"}, {"W2"}},
        {"into the folder they are in", {"W1"}, "T1", Outcome::Moved, {"W1"}, {}, "", {"W2", "W3", "W1"}, {}},
        {"nothing asked", {}, "T2", Outcome::NothingAsked, {}, {}, "", all, {}},
        {"a target that has gone", {"W1"}, "T9", Outcome::NoTarget, {}, {}, "", all, {}},
        {"a Vardeck is no folder", {"W1"}, "W2", Outcome::NoTarget, {}, {}, "", all, {}},
        {"one gone, the rest move",
         {"W1", "W7", "W2"},
         "T2",
         Outcome::Moved,
         {"W1", "W2"},
         {"W7"},
         "This Vardeck no longer exists and was not moved: \"Seven\".  The others were moved.",
         {"W3"},
         {"W1", "W2"}},
        {"two gone, one without a known name",
         {"W7", "T1", "W3"},
         "T2",
         Outcome::Moved,
         {"W3"},
         {"W7", "T1"},
         "These Vardecks no longer exist and were not moved: \"Seven\", T1.  The others were moved.",
         {"W1", "W2"},
         {"W3"}},
        {"the only one gone",
         {"W7"},
         "T2",
         Outcome::AllGone,
         {},
         {"W7"},
         "The Vardeck to move no longer exists - nothing was moved",
         all,
         {}},
        {"every one gone",
         {"W7", "W8"},
         "T2",
         Outcome::AllGone,
         {},
         {"W7", "W8"},
         "The Vardecks to move no longer exist - nothing was moved",
         all,
         {}},
    };
    for (const Case &c : cases) {
        test::TempHome home;
        const auto db = threeVardecks(home);
        XmlDocument &doc = *db->getTheDOM();
        const VardeckMove move = moveVardecks(doc, c.wids, c.target, shownName);
        EXPECT_EQ(move.outcome, c.outcome) << c.name;
        EXPECT_EQ(move.moved, c.moved) << c.name;
        EXPECT_EQ(move.gone, c.gone) << c.name;
        EXPECT_EQ(move.notice.text, c.told) << c.name;
        EXPECT_EQ(move.notice.icon, c.told.isEmpty() ? MsgIcon::None : MsgIcon::Exclamation) << c.name;
        EXPECT_EQ(widsIn(doc, "T1"), c.sourceAfter) << c.name;
        EXPECT_EQ(widsIn(doc, "T2"), c.targetAfter) << c.name;
    }
}

TEST(Record, anIdentifierIsReadWithoutTheBlanksAroundIt)
{
    test::TempHome home;
    const auto db = threeVardecks(home);
    XmlDocument &doc = *db->getTheDOM();
    XmlNode folder = doc.createElement("FOLDER");
    XmlNode vardeck = doc.createElement("VARDECK");
    const struct {
        QString stored;
        QString read;
    } cases[] = {{"T7", "T7"}, {" T7\t", "T7"}, {"\n W 7 ", "W 7"}, {"  ", ""}, {"", ""}};
    for (const auto &c : cases) {
        folder.setAttribute("TID", c.stored);
        vardeck.setAttribute("WID", c.stored);
        EXPECT_EQ(identifierOf(c.stored), c.read) << qPrintable(c.stored);
        EXPECT_EQ(tidOf(folder), c.read) << qPrintable(c.stored);
        EXPECT_EQ(widOf(vardeck), c.read) << qPrintable(c.stored);
    }
    // A child is found when there is one and made at the end when there is none.
    XmlNode t2 = doc.nodeFromID("T2");
    const XmlNode made = childOrNew(doc, t2, tag::Vardecks);
    EXPECT_EQ(t2.childElements().last(), made);
    EXPECT_EQ(childOrNew(doc, t2, tag::Vardecks), made);
    EXPECT_EQ(t2.childElements().size(), 3);
}
