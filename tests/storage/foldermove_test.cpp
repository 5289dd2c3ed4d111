// Moving a folder: the one rule the Move folder dialog and a drop on the folder tree follow.
#include "storage/foldermove.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"

#include <gtest/gtest.h>

using namespace rr;
using rr::test::folderXml;

namespace
{

// The TID of the folder holding the folder tid, "" at the top level.
QString parentOf(const XmlDocument &doc, const QString &tid)
{
    const XmlNode folder = doc.nodeFromID(tid);
    const XmlNode parent = folder.parentNode().parentNode();
    return parent.nodeName() == QLatin1String("FOLDER") ? parent.attribute("TID") : QString();
}

} // namespace

TEST(FolderMove, aFolderGoesToTheEndOfItsTargetAndARefusalChangesNothing)
{
    test::TempHome home;
    // T1 .. T<deepest level> each inside the one before; T900 with its sub-folder T901; T950.
    QByteArray chain;
    for (int level = kMaxFolderLevels; level >= 1; --level)
        chain = folderXml("T" + QByteArray::number(level), "L", {}, chain);
    const QString path =
        test::writeDatabase(home.databaseFolder(), "Vardecks.xml",
                            "<FOLDERS>" + chain + folderXml("T900", "Two levels", {}, folderXml("T901", "Inner")) +
                                folderXml("T950", "Plain") + "</FOLDERS>");
    XMLDatabase db;
    ASSERT_TRUE(db.openDBValidate(path));
    XmlDocument &doc = *db.getTheDOM();
    using Outcome = FolderMove::Outcome;
    const QString deep = QStringLiteral("T%1").arg(kMaxFolderLevels - 1);
    const QString fits = QStringLiteral("T%1").arg(kMaxFolderLevels - 2);
    struct Case {
        QString moved;
        std::optional<QString> target;
        Outcome outcome;
        QString told;
        MsgIcon icon;
        QString parentAfter;
    };
    const Case cases[] = {
        {"T999", QString("T1"), Outcome::NoFolder, "", MsgIcon::None, ""},
        {"T950", QString("T999"), Outcome::NoTarget, "", MsgIcon::None, ""},
        {"T950", QString(" T950 "), Outcome::OntoItself, "", MsgIcon::None, ""},
        {"T1", QString("T3"), Outcome::IntoOwnSubFolder, "A folder cannot be moved to its own sub-folder",
         MsgIcon::None, ""},
        {"T900", deep, Outcome::TooDeep,
         QStringLiteral("A folder cannot go there: folders may be nested at most %1 levels deep.")
             .arg(kMaxFolderLevels),
         MsgIcon::Exclamation, ""},
        {"T900", fits, Outcome::Moved, "", MsgIcon::None, fits},
        {"T900", std::nullopt, Outcome::Moved, "", MsgIcon::None, ""},
        {"T3", QString("T950"), Outcome::Moved, "", MsgIcon::None, "T950"},
    };
    for (const Case &c : cases) {
        const FolderMove move = moveFolder(doc, c.moved, c.target);
        const QString name = c.moved + " to " + c.target.value_or("the top");
        EXPECT_EQ(move.outcome, c.outcome) << qPrintable(name);
        EXPECT_EQ(move.notice.text, c.told) << qPrintable(name);
        EXPECT_EQ(move.notice.icon, c.icon) << qPrintable(name);
        if (doc.nodeFromID(c.moved)) {
            EXPECT_EQ(parentOf(doc, c.moved), c.parentAfter) << qPrintable(name);
        }
    }
    // Moved to the top level, a folder comes last.
    EXPECT_EQ(doc.documentElement().childElements().last().attribute("TID"), "T900");
}
