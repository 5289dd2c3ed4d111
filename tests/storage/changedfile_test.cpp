// A database file that another program changed after it was read: how a save notices
// it, and what it counts as no change.
#include "platform/atomicfile.h"
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

using namespace rr;

namespace
{

struct stat statOf(const QString &path)
{
    struct stat st {
    };
    EXPECT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    return st;
}

// Writes bytes over the start of the file, in place: the file keeps its inode and size.
void rewriteInPlace(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, bytes.constData(), size_t(bytes.size()), 0), bytes.size());
    ::close(fd);
}

// Sets the file's access and modification times to those of st, as touch -r does.
void putTimesBack(const QString &path, const struct stat &st)
{
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

// The kernel stamps files from a clock that moves in ticks of a few milliseconds: a
// change made after this is in a later tick than anything before it.
void nextClockTick()
{
    ::usleep(15 * 1000);
}

class ChangedFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        reset();
        open();
    }
    // The file as every test starts: one folder named First.
    void reset()
    {
        path = test::writeDatabase(home.databaseFolder(), "db.xml",
                                   "<FOLDERS>" + test::folderXml("T1", "First") + "</FOLDERS>");
    }
    void open()
    {
        db = std::make_unique<XMLDatabase>();
        db->setPath(path);
        ASSERT_TRUE(db->openDBValidate(path));
    }
    void rename(const QString &name) { db->getTheDOM()->nodeFromID("T1").setChildText("NAME", name); }
    QString nameOnDisk() const
    {
        XMLDatabase fresh;
        EXPECT_TRUE(fresh.openDBValidate(path));
        return fresh.getTheDOM()->nodeFromID("T1").childText("NAME");
    }

    test::TempHome home;
    QString path;
    std::unique_ptr<XMLDatabase> db;
};

// The bytes of the file with "First" put as "Fifth": the same size.
QByteArray sameSizeEdit(const QString &path)
{
    QByteArray bytes = test::readBytes(path);
    bytes.replace("First", "Fifth");
    return bytes;
}

} // namespace

TEST_F(ChangedFile, anotherProgramsRewriteIsNoticedWhenItKeepsTheSizeTheInodeAndTheModificationTime)
{
    const std::pair<const char *, std::function<void()>> otherPrograms[] = {
        {"rewritten in place within the same second",
         [&] {
             // Within the second the database was read in: only the nanoseconds differ.
             for (int attempt = 0; attempt < 10; ++attempt) {
                 const struct stat before = statOf(path);
                 nextClockTick();
                 rewriteInPlace(path, sameSizeEdit(path));
                 if (statOf(path).st_ctim.tv_sec == before.st_ctim.tv_sec)
                     return;
                 open(); // the second ticked over: read again and try anew
             }
             FAIL() << "no rewrite fell within the second of the read";
         }},
        {"rewritten in place and its times put back (touch -r)",
         [&] {
             const struct stat before = statOf(path);
             nextClockTick();
             rewriteInPlace(path, sameSizeEdit(path));
             putTimesBack(path, before);
             const struct stat after = statOf(path);
             ASSERT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
             ASSERT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
             ASSERT_EQ(after.st_ino, before.st_ino);
             ASSERT_EQ(after.st_size, before.st_size);
         }},
        {"replaced by a rename and its times put back",
         [&] {
             const struct stat before = statOf(path);
             nextClockTick();
             ASSERT_TRUE(writeFileAtomically(path, sameSizeEdit(path)));
             putTimesBack(path, before);
         }},
    };
    for (const auto &[how, otherProgram] : otherPrograms) {
        SCOPED_TRACE(how);
        open();
        otherProgram();
        const QByteArray theirs = test::readBytes(path);
        EXPECT_TRUE(db->fileChangedOnDisk());
        rename("Mine");
        const SaveOutcome saved = db->save();
        EXPECT_FALSE(saved.written());
        EXPECT_EQ(saved.reason,
                  path + " was changed by another program after it was read, so it was not written over.");
        EXPECT_EQ(test::readBytes(path), theirs);
        reset();
    }
}

TEST_F(ChangedFile, aChangeOfModeOrLinksOrAnIdenticalRewriteIsNoChange)
{
    // Each moves the file's change time and leaves its content as it was read.
    const std::pair<const char *, std::function<void()>> others[] = {
        {"made read-only and writable again",
         [&] {
             QFile::setPermissions(path, QFile::ReadOwner);
             QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
         }},
        {"given a second name (a hard link)",
         [&] {
             ASSERT_EQ(::link(QFile::encodeName(path).constData(), QFile::encodeName(path + ".bak").constData()), 0);
         }},
        {"rewritten in place with the same bytes, times put back",
         [&] {
             const struct stat before = statOf(path);
             rewriteInPlace(path, test::readBytes(path));
             putTimesBack(path, before);
         }},
    };
    for (const auto &[how, other] : others) {
        SCOPED_TRACE(how);
        for (const bool afterOurSave : {false, true}) {
            open();
            if (afterOurSave) {
                rename("Ours");
                ASSERT_TRUE(db->save().written());
            }
            const struct stat before = statOf(path);
            nextClockTick();
            other();
            ASSERT_NE(statOf(path).st_ctim.tv_nsec, before.st_ctim.tv_nsec);
            EXPECT_FALSE(db->fileChangedOnDisk()) << (afterOurSave ? "after our save" : "after the read");
            rename("Mine");
            EXPECT_TRUE(db->save().written());
            EXPECT_EQ(nameOnDisk(), "Mine");
            QFile::remove(path + ".bak");
        }
    }
}

TEST_F(ChangedFile, aSaveWhoseRenameFallsInALaterTickOfTheClockIsStillOurOwnFile)
{
    // The rename sets the file's change time; a stamp taken before it would make our
    // own file look changed by someone else.
    atomicfile_testing::setStepHook([](const char *step) {
        if (qstrcmp(step, "linked") == 0)
            nextClockTick();
    });
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed temporary file" : "named temporary file");
        atomicfile_testing::setUnnamedTemporaryFiles(unnamed);
        for (const char *name : {"ours", "ours again"}) {
            rename(name);
            ASSERT_TRUE(db->save().written());
            EXPECT_FALSE(db->fileChangedOnDisk()) << name;
        }
    }
    atomicfile_testing::setStepHook(nullptr);
    atomicfile_testing::setUnnamedTemporaryFiles(true);
}
