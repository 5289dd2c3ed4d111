#include "storage/dbfolder.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

struct Folder {
    test::TempHome home;
    QString path = home.databaseFolder();
    DatabaseFolder folder{path};
    Folder() { paths::prepareProgramFolder(); }
};

} // namespace

TEST(DatabaseFolder, listsOnlyXmlFilesWithAStem)
{
    test::TempHome home;
    const QString path = home.path() + "/dbs/";
    for (const char *name : {"b.xml", "A.XML", "notes.txt", ".xml", "fooXML", "c.Xml"})
        EXPECT_TRUE(test::writeBytes(path + name, "x"));
    QDir().mkpath(path + "folder.xml");
    EXPECT_EQ(DatabaseFolder(path).databaseFiles(), QStringList({"A.XML", "b.xml", "c.Xml"}));
    EXPECT_TRUE(DatabaseFolder(path + "missing").databaseFiles().isEmpty());
}

TEST(DatabaseFolder, typedNamesAreTrimmedCheckedAndLoseOneExtension)
{
    Folder f;
    struct Case {
        QString typed;
        DatabaseFolder::NameProblem problem;
        QString stem;
    };
    using P = DatabaseFolder::NameProblem;
    const QList<Case> cases = {
        {"  Work  ", P::None, "Work"},
        {"Work.XML.xml", P::None, "Work.XML"},
        {" VARDECKS.xml", P::Exists, "VARDECKS"},
        {"a/b", P::Unsafe, "a/b"},
        {"a\\b", P::Unsafe, "a\\b"},
        {".hidden", P::Unsafe, ".hidden"},
        {"tab\there", P::Unsafe, "tab\there"},
        {"", P::Empty, ""},
        {".xml", P::Empty, ""},
        {QString(300, 'w'), P::TooLong, QString(300, 'w')},
    };
    for (const Case &c : cases) {
        QString stem;
        EXPECT_EQ(f.folder.checkNewName(c.typed, &stem), c.problem) << c.typed.toStdString();
        EXPECT_EQ(stem, c.stem) << c.typed.toStdString();
    }
}

TEST(DatabaseFolder, createWritesTheFileFoldersAndPicturesKeepsExistingFoldersAndLeavesNothingWhenItFails)
{
    Folder f;
    QDir().mkpath(f.path + "thumbs/Work");
    EXPECT_TRUE(test::writeBytes(f.path + "thumbs/Work/W1.gif", "x"));
    QString error;
    ASSERT_TRUE(f.folder.createDatabase("Work", &error)) << error.toStdString();
    EXPECT_EQ(test::readBytes(f.path + "Work.xml"), XMLDatabase::newDatabaseText());
    EXPECT_EQ(test::readBytes(f.path + "icons/Work/Vardeck.gif"), test::readBytes(f.path + "Vardeck.gif"));
    EXPECT_EQ(test::readBytes(f.path + "icons/Work/SelVardeck.gif"), test::readBytes(f.path + "SelVardeck.gif"));
    EXPECT_TRUE(QFile::exists(f.path + "thumbs/Work/W1.gif"));

    // A stock picture removed from the database folder comes from the installed data.
    QFile::remove(f.path + "Vardeck.gif");
    EXPECT_TRUE(f.folder.createDatabase("Second", &error)) << error.toStdString();
    EXPECT_TRUE(QFile::exists(f.path + "icons/Second/Vardeck.gif"));

    // A failed create leaves no database file.
    QDir(f.path + "thumbs").removeRecursively();
    EXPECT_TRUE(test::writeBytes(f.path + "thumbs", "x")); // a file where the folder must go
    EXPECT_FALSE(f.folder.createDatabase("Third", &error));
    EXPECT_TRUE(error.contains("thumbs/Third")) << error.toStdString();
    EXPECT_FALSE(QFile::exists(f.path + "Third.xml"));
    EXPECT_FALSE(f.folder.createDatabase("../Escape", &error));
}

TEST(DatabaseFolder, deleteRemovesFileAndFoldersButNeverSharedOrLinkedTargets)
{
    Folder f;
    ASSERT_TRUE(f.folder.createDatabase("Work"));
    EXPECT_TRUE(test::writeBytes(f.path + "icons/Work/W1.ico", "x"));
    QDir(f.path + "thumbs/Work").removeRecursively();

    // An empty stem never reaches the folders every database shares.
    EXPECT_TRUE(test::writeBytes(f.path + ".xml", "x"));
    EXPECT_TRUE(f.folder.deleteDatabase(".xml"));
    EXPECT_FALSE(QFile::exists(f.path + ".xml"));
    EXPECT_TRUE(QFile::exists(f.path + "icons/Work/W1.ico"));

    QString error;
    ASSERT_TRUE(f.folder.deleteDatabase("Work.xml", &error)) << error.toStdString();
    EXPECT_FALSE(QFile::exists(f.path + "Work.xml"));
    EXPECT_FALSE(QFileInfo::exists(f.path + "icons/Work"));
    EXPECT_TRUE(QFile::exists(f.path + "Vardecks.xml"));
    EXPECT_FALSE(f.folder.deleteDatabase("../Vardecks.xml", &error));

    // A linked side folder goes, its target's files stay.
    EXPECT_TRUE(test::writeBytes(f.path + "Work.xml", "x"));
    const QString elsewhere = f.home.path() + "/precious";
    EXPECT_TRUE(test::writeBytes(elsewhere + "/keep.gif", "x"));
    ASSERT_TRUE(QFile::link(elsewhere, f.path + "icons/Work"));
    EXPECT_TRUE(f.folder.deleteDatabase("Work.xml"));
    EXPECT_TRUE(QFile::exists(elsewhere + "/keep.gif"));
    EXPECT_FALSE(QFileInfo(f.path + "icons/Work").isSymLink());
}

TEST(DatabaseFolder, backupRefusesTheSourceItselfAndCopiesOtherwise)
{
    Folder f;
    const QString source = f.path + "Vardecks.xml";
    QString error;
    EXPECT_FALSE(DatabaseFolder::backupDatabase(source, source, &error));
    EXPECT_FALSE(error.isEmpty());
    const QString link = f.home.path() + "/link.xml";
    ASSERT_TRUE(QFile::link(source, link));
    EXPECT_FALSE(DatabaseFolder::backupDatabase(source, link));
    EXPECT_FALSE(test::readBytes(source).isEmpty());

    const QString target = f.home.path() + "/backup.xml";
    EXPECT_TRUE(test::writeBytes(target, "old"));
    EXPECT_FALSE(DatabaseFolder::backupDatabase(f.path + "missing.xml", target, &error));
    ASSERT_TRUE(DatabaseFolder::backupDatabase(source, target, &error)) << error.toStdString();
    EXPECT_EQ(test::readBytes(target), test::readBytes(source));
}
