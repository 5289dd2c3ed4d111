#include "platform/atomicfile.h"
#include "platform/paths.h"
#include "support/failingdisk.h"
#include "support/smalldisk.h"
#include "support/testenv.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace rr;

TEST(Paths, followTheHomeVariableAndSeedTheDatabaseFolder)
{
    test::TempHome home;
    EXPECT_EQ(paths::databaseFolder(), home.databaseFolder());
    EXPECT_EQ(paths::configFolder(), home.path() + "/config");

    ASSERT_TRUE(paths::prepareProgramFolder());
    for (const char *name : {"Vardecks.dtd", "Vardecks.xml", "Vardeck.gif", "SelVardeck.gif"})
        EXPECT_TRUE(QFileInfo::exists(home.databaseFolder() + name)) << name;

    // Later starts restore missing support files, never a deleted database.
    QFile::remove(home.databaseFolder() + "Vardecks.dtd");
    QFile::remove(home.databaseFolder() + "Vardecks.xml");
    ASSERT_TRUE(paths::prepareProgramFolder());
    EXPECT_TRUE(QFileInfo::exists(home.databaseFolder() + "Vardecks.dtd"));
    EXPECT_FALSE(QFileInfo::exists(home.databaseFolder() + "Vardecks.xml"));
}

TEST(AtomicFile, aWriteToAFailingOrFullDiskKeepsTheOldFileAndSaysWhy)
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
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files), QStringList{"f.txt"}) << "no temporary file is left";

    // A full disk says so.
    const QString folder = home.path() + "/disk";
    test::SmallDisk disk(folder, 0);
    if (!disk.mounted())
        GTEST_SKIP() << "no right to mount a small disk here";
    const QString full = folder + "/db.xml";
    ASSERT_TRUE(writeFileAtomically(full, "old"));
    EXPECT_FALSE(writeFileAtomically(full, QByteArray(256 * 1024, 'x'), &error));
    EXPECT_EQ(error, full + " could not be written: the disk is full.");
    EXPECT_EQ(test::readBytes(full), "old");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList{"db.xml"});
}

// In a child process limited to 4 KB files: exits 0 when the write failed with the right reason.
[[noreturn]] void writePastTheLimit(const QString &path)
{
    rlimit limit{};
    limit.rlim_cur = limit.rlim_max = 4096;
    setrlimit(RLIMIT_FSIZE, &limit);
    QString error;
    const bool written = writeFileAtomically(path, QByteArray(64 * 1024, 'x'), &error);
    _exit(!written && error.contains("larger than this system allows") ? 0 : 1);
}

TEST(AtomicFileDeathTest, aWritePastTheFileSizeLimitFailsInsteadOfEndingTheProgram)
{
    test::TempHome home;
    EXPECT_EXIT(writePastTheLimit(home.path() + "/big.bin"), testing::ExitedWithCode(0), "");
}
