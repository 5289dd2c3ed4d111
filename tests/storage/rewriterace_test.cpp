// Another program rewriting the database file in place, keeping its size, right after
// our save put the file in place or right after our open: each such rewrite, whatever
// tick of the kernel's file clock it falls in, is noticed before the next save, which
// then writes nothing over it.
#include "storage/xmldatabase.h"
#include "support/dbfixture.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace rr;

namespace
{

constexpr int kRounds = 200;

// When the other program writes: the moment our save renames the file into place,
// or the moment our open returns (of a file written long before, or just before).
enum class Cue { OurSave, OurOpenOfAnOldFile, OurOpenOfANewFile };

struct Race {
    Cue cue;
    int delayMs;
};

std::string nameOf(const ::testing::TestParamInfo<Race> &info)
{
    const char *cues[] = {"AfterOurSave", "AfterOurOpenOfAnOldFile", "AfterOurOpenOfANewFile"};
    return std::string(cues[int(info.param.cue)]) + "At" + std::to_string(info.param.delayMs) + "ms";
}

// The other program's edit: one name swapped for another of the same length, in place.
// False when the file held neither.
bool rewriteInPlace(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return false;
    QByteArray bytes(4096, Qt::Uninitialized);
    const ssize_t n = ::pread(fd, bytes.data(), size_t(bytes.size()), 0);
    bytes.truncate(qMax<ssize_t>(n, 0));
    qsizetype at = bytes.indexOf("Ours");
    const char *theirs = "Them";
    if (at < 0) {
        at = bytes.indexOf("Them");
        theirs = "Ours";
    }
    const bool written = at >= 0 && ::pwrite(fd, theirs, 4, at) == 4;
    ::close(fd);
    return written;
}

// Waits until the file named name is renamed into the folder watched by the inotify
// descriptor; false after ten seconds without it.
bool waitForRenameInto(int watch, const QByteArray &name)
{
    alignas(inotify_event) char events[4096];
    for (;;) {
        pollfd ready{watch, POLLIN, 0};
        if (::poll(&ready, 1, 10000) != 1)
            return false;
        const ssize_t n = ::read(watch, events, sizeof events);
        for (ssize_t at = 0; at < n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(events + at);
            if ((event->mask & IN_MOVED_TO) && event->len && name == event->name)
                return true;
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
}

class RewriteRace : public ::testing::TestWithParam<Race>
{
protected:
    void SetUp() override
    {
        path = test::writeDatabase(home.databaseFolder(), "db.xml",
                                   "<FOLDERS>" + test::folderXml("T1", "Ours") + "</FOLDERS>");
    }
    void open()
    {
        db = std::make_unique<XMLDatabase>();
        db->setPath(path);
        ASSERT_TRUE(db->openDBValidate(path));
    }
    // The file's modification time set an hour back, as for a file written long ago.
    void age()
    {
        const struct timespec times[2] = {{0, UTIME_OMIT}, {::time(nullptr) - 3600, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
    }
    // Starts the other program: when the cue comes, it waits the race's delay (the
    // time between our step and its write, not a wait for anything), then rewrites.
    std::thread otherProgram(int watch)
    {
        return std::thread([this, watch] {
            if (watch >= 0 && !waitForRenameInto(watch, "db.xml"))
                return;
            std::this_thread::sleep_for(std::chrono::milliseconds(GetParam().delayMs));
            rewrote = rewriteInPlace(path);
        });
    }
    // Whether the next save notices the rewrite: it refuses and leaves the file as the
    // other program left it.
    bool nextSaveNotices()
    {
        const QByteArray theirs = test::readBytes(path);
        db->getTheDOM()->nodeFromID("T1").setChildText("NAME", "Ours");
        const SaveOutcome saved = db->save();
        const bool refused = !saved.written();
        EXPECT_EQ(saved.reason, refused ? path + " was changed by another program after it was read, so it was not "
                                                 "written over."
                                        : QString());
        return refused && test::readBytes(path) == theirs;
    }

    test::TempHome home;
    QString path;
    std::unique_ptr<XMLDatabase> db;
    bool rewrote = false;
};

} // namespace

TEST_P(RewriteRace, everySameSizeRewriteInPlaceIsNoticedBeforeTheNextSave)
{
    const Race race = GetParam();
    int noticed = 0;
    if (race.cue == Cue::OurSave)
        open();
    for (int round = 0; round < kRounds; ++round) {
        rewrote = false;
        std::thread other;
        if (race.cue == Cue::OurSave) {
            const int watch = ::inotify_init1(IN_CLOEXEC);
            ASSERT_GE(watch, 0);
            ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(home.databaseFolder()).constData(), IN_MOVED_TO), 0);
            other = otherProgram(watch);
            db->getTheDOM()->nodeFromID("T1").setChildText("NAME", QStringLiteral("Ours"));
            const bool saved = db->save().written();
            other.join();
            ::close(watch);
            ASSERT_TRUE(saved);
        } else {
            if (race.cue == Cue::OurOpenOfAnOldFile)
                age();
            open();
            other = otherProgram(-1);
            other.join();
        }
        ASSERT_TRUE(rewrote) << "round " << round;
        noticed += nextSaveNotices() ? 1 : 0;
        // The user's answer for the next round: write over the file as it is now.
        db->replaceChangedFile();
    }
    EXPECT_EQ(noticed, kRounds);
}

INSTANTIATE_TEST_SUITE_P(Races, RewriteRace,
                         ::testing::Values(Race{Cue::OurSave, 0}, Race{Cue::OurSave, 1}, Race{Cue::OurSave, 5},
                                           Race{Cue::OurOpenOfAnOldFile, 0}, Race{Cue::OurOpenOfAnOldFile, 1},
                                           Race{Cue::OurOpenOfAnOldFile, 5}, Race{Cue::OurOpenOfANewFile, 0},
                                           Race{Cue::OurOpenOfANewFile, 1}, Race{Cue::OurOpenOfANewFile, 5}),
                         nameOf);
