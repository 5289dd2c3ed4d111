#include "exchange/databasemerge.h"
#include "exchangefixture.h"

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

using namespace rr;
using namespace rr::test;

namespace
{

// The other file, alone in its folder with no DTD, reuses the open database's identifiers.
QString writeOther(const QTemporaryDir &dir, const QByteArray &body,
                   const QByteArray &doctype = "<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>")
{
    const QString path = dir.filePath("elsewhere/Other.xml");
    writeBytes(path, "<?xml version='1.0'?>\n" + doctype + "\n" + body);
    return path;
}

const QByteArray kOther = "<FOLDERS>" +
                          folderXml("T1", "Alpha", vardeckXml("W1", "a1"),
                                    folderXml("T2", "Inner", vardeckXml("W2", "i1") + vardeckXml("W3", "i2"))) +
                          folderXml("T3", "Beta", vardeckXml("W4", "b1") + vardeckXml("W5", "b2")) + "</FOLDERS>";

} // namespace

TEST(DatabaseMerge, copiesEveryFolderWithFreshIdentifiersAndLeavesTheOtherFileAlone)
{
    OpenDb open;
    QTemporaryDir dir;
    const QString other = writeOther(dir, kOther);
    const QByteArray otherBytes = readBytes(other);
    DatabaseMerge merge(open.db);
    ASSERT_TRUE(merge.merge(other)) << merge.error().toStdString();
    EXPECT_EQ(merge.folderCount(), 3);
    EXPECT_EQ(merge.vardeckCount(), 5);
    ASSERT_TRUE(open.db.save());

    const auto disk = open.reread();
    const XmlDocument &saved = *disk->getTheDOM();
    QStringList tops;
    for (const XmlNode &f : saved.documentElement().childElements())
        tops << folderText(f);
    EXPECT_EQ(tops, QStringList({"Mine[One=http://a.example/]{}",
                                 "Alpha[a1=http://a.example/]{Inner[i1=http://a.example/,"
                                 "i2=http://a.example/]{}}",
                                 "Beta[b1=http://a.example/,b2=http://a.example/]{}"}));
    QSet<QString> ids;
    for (const QString &name : {QStringLiteral("FOLDER"), QStringLiteral("VARDECK")}) {
        for (const XmlNode &e : saved.getElementsByTagName(name)) {
            const QString id = e.attribute(name == "FOLDER" ? "TID" : "WID");
            EXPECT_TRUE(QRegularExpression(name == "FOLDER" ? "^T[1-9][0-9]*$" : "^W[1-9][0-9]*$").match(id).hasMatch())
                << id.toStdString();
            EXPECT_EQ(saved.nodeFromID(id), e) << id.toStdString();
            ids.insert(id);
        }
    }
    EXPECT_EQ(ids.size(), 10);
    EXPECT_EQ(treeListing(dir.path()), QStringList({"elsewhere/", "elsewhere/Other.xml"}));
    EXPECT_EQ(readBytes(other), otherBytes);
}

TEST(DatabaseMerge, refusesFilesThatAreNoDatabaseAndChangesNothing)
{
    OpenDb open;
    const QByteArray before = open.doc().toBytes();
    QTemporaryDir dir;
    DatabaseMerge merge(open.db);
    EXPECT_FALSE(merge.merge(writeOther(dir, "<html><FOLDER/></html>", "")));
    EXPECT_EQ(merge.error(), "It is not a Vardecks database: its root element is html.");
    EXPECT_FALSE(merge.merge(writeOther(dir, "<FOLDERS>" + folderXml("T1", "&x;") + "</FOLDERS>",
                                        "<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd' [<!ENTITY x SYSTEM "
                                        "'file:///etc/hostname'>]>")));
    EXPECT_FALSE(merge.merge(writeOther(dir, "<FOLDERS>" + folderXml("T1", "&x;") + "</FOLDERS>",
                                        "<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd' [<!ENTITY x 'inner'>]>")));
    EXPECT_EQ(merge.error(), "The file declares entities, which a Vardecks database never holds.");
    EXPECT_FALSE(merge.merge(writeOther(dir, "<FOLDERS><FOLDER TID='T1'>")));
    EXPECT_TRUE(merge.readFailed());
    EXPECT_EQ(open.doc().toBytes(), before);
}

TEST(DatabaseMerge, aFailureAfterAttachingTakesEverythingBack)
{
    QByteArray vardecks;
    for (int n = 1; n <= 32763; ++n)
        vardecks += "<VARDECK WID=\"W" + QByteArray::number(n) + "\"><NAME>v</NAME></VARDECK>";
    OpenDb open("<FOLDERS>" + folderXml("T1", "Full", vardecks) + "</FOLDERS>");
    const QByteArray before = open.doc().toBytes();
    QTemporaryDir dir;
    DatabaseMerge merge(open.db);
    EXPECT_FALSE(merge.merge(writeOther(dir, kOther)));
    EXPECT_FALSE(merge.readFailed());
    EXPECT_EQ(merge.error(), "No more Vardecks can be added: every Vardeck number up to 32767 is in use.");
    EXPECT_EQ(open.doc().toBytes(), before);
    EXPECT_FALSE(open.doc().nodeFromID("T2"));

    // A merge that cannot be saved is taken back the same way.
    OpenDb small;
    const QByteArray smallBefore = small.doc().toBytes();
    DatabaseMerge merged(small.db);
    ASSERT_TRUE(merged.merge(writeOther(dir, kOther)));
    merged.rollback();
    EXPECT_EQ(small.doc().toBytes(), smallBefore);
}
