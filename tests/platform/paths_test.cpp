#include "platform/atomicfile.h"
#include "platform/paths.h"
#include "support/failingdisk.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace rr;

TEST(Paths, followTheHomeVariableAndSeedTheDatabaseFolder)
{
    test::TempHome home;
    EXPECT_EQ(paths::databaseFolder(), home.databaseFolder());
    EXPECT_EQ(paths::configFolder(), home.path() + "/config");

    ASSERT_TRUE(paths::prepareProgramFolder());
    EXPECT_TRUE(QFileInfo::exists(home.databaseFolder() + "Vardecks.dtd"));
    EXPECT_TRUE(QFileInfo::exists(home.databaseFolder() + "Vardecks.xml"));
    EXPECT_TRUE(QFileInfo::exists(home.databaseFolder() + "Vardeck.gif"));
    EXPECT_TRUE(QFileInfo::exists(home.databaseFolder() + "SelVardeck.gif"));

    // Later starts restore missing support files, never a deleted database.
    QFile::remove(home.databaseFolder() + "Vardecks.dtd");
    QFile::remove(home.databaseFolder() + "Vardecks.xml");
    ASSERT_TRUE(paths::prepareProgramFolder());
    EXPECT_TRUE(QFileInfo::exists(home.databaseFolder() + "Vardecks.dtd"));
    EXPECT_FALSE(QFileInfo::exists(home.databaseFolder() + "Vardecks.xml"));
}

TEST(AtomicFile, failedWriteKeepsTheOldFileAndSaysWhy)
{
    test::TempHome home;
    const QString path = home.path() + "/f.txt";
    ASSERT_TRUE(writeFileAtomically(path, "old"));
    QString error;
    {
        test::FailingDisk disk(8);
        EXPECT_FALSE(writeFileAtomically(path, QByteArray(4096, 'x'), &error));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(test::readBytes(path), QByteArray("old"));
    // No temporary file is left behind.
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files).size(), 1);
}
