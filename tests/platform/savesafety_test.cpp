// What a save leaves behind when it is killed or fails, and who may read what the
// program writes.
#include "platform/atomicfile.h"
#include "platform/filelock.h"
#include "platform/mozlz4.h"
#include "platform/paths.h"
#include "platform/registrystore.h"
#include "platform/xmldocument.h"
#include "support/dbfixture.h"
#include "support/testenv.h"

#include <QRandomGenerator>
#include <QtEndian>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace rr;

namespace
{

// Every name in the folder, hidden ones too.
QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

mode_t modeOf(const QString &path)
{
    struct stat st {
    };
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

const char *g_killAt = "";
void killAtStep(const char *step)
{
    if (std::strcmp(step, g_killAt) == 0)
        ::kill(::getpid(), SIGKILL);
}

// Runs work in a child process and waits for it; true when the child was killed.
template <typename Work> bool killedInChild(Work work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

struct StepHooksOff {
    ~StepHooksOff()
    {
        atomicfile_testing::setStepHook(nullptr);
        atomicfile_testing::setUnnamedTemporaryFiles(true);
    }
};

} // namespace

TEST(SaveKilledPartWay, leavesNoTemporaryFileOrOnlyOneTheNextStartRemovesAndTheOldFileWhole)
{
    test::TempHome home;
    const QString folder = home.path() + "/saves";
    QDir().mkpath(folder);
    const QString path = folder + "/db.xml";
    const QByteArray old(200 * 1024, 'o');
    const QByteArray fresh(300 * 1024, 'n');
    struct Case {
        const char *step;
        bool unnamed;
        bool leftover; // a named temporary file remains until the next start
        bool replaced;
    } cases[] = {
        {"written", true, false, false}, {"synced", true, false, false},  {"linked", true, true, false},
        {"renamed", true, false, true},  {"written", false, true, false}, {"linked", false, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.step) + (c.unnamed ? " unnamed" : " named"));
        ASSERT_TRUE(writeFileAtomically(path, old));
        ASSERT_TRUE(killedInChild([&] {
            g_killAt = c.step;
            atomicfile_testing::setUnnamedTemporaryFiles(c.unnamed);
            atomicfile_testing::setStepHook(killAtStep);
            writeFileAtomically(path, fresh);
        }));
        const QStringList after = namesIn(folder);
        if (c.leftover) {
            ASSERT_EQ(after.size(), 2) << after.join(' ').toStdString();
            EXPECT_TRUE(after[0].startsWith(".db.xml.rrsave-")) << after[0].toStdString();
            EXPECT_TRUE(isSaveTemporaryName(after[0]));
        } else {
            EXPECT_EQ(after, QStringList{"db.xml"});
        }
        // The next start removes what the killed process left; the file is whole.
        EXPECT_EQ(removeSaveLeftovers(home.path()), c.leftover ? 1 : 0);
        EXPECT_EQ(namesIn(folder), QStringList{"db.xml"});
        EXPECT_EQ(test::readBytes(path), c.replaced ? fresh : old);
    }

    // A temporary file of a process that still runs is its save in progress: kept.
    const QString live = folder + QStringLiteral("/.db.xml.rrsave-%1-Ab3dE9").arg(::getpid());
    const QString notOurs = folder + "/.db.xml.rrsave-notes";
    test::writeBytes(live, "x");
    test::writeBytes(notOurs, "x");
    EXPECT_EQ(removeSaveLeftovers(home.path()), 0);
    EXPECT_TRUE(QFile::exists(live));
    EXPECT_TRUE(QFile::exists(notOurs));
}

TEST(SaveKilledPartWay, aKilledSettingsWriteLeavesNeitherItsFileNorItsLockAfterTheNextStart)
{
    test::TempHome home;
    const QString config = home.path() + "/config";
    RegistryStore store(config);
    const auto write = [&store](const QString &text) {
        reg::Key key = 0;
        store.createKey(reg::HKEY_CURRENT_USER, "Software\\Quorvane", &key);
        const qint32 status = store.setValue(key, "v", reg::Value::text(text));
        store.closeKey(key);
        return status;
    };
    ASSERT_EQ(write("old"), reg::ERROR_SUCCESS);
    ASSERT_TRUE(killedInChild([&] {
        g_killAt = "linked";
        atomicfile_testing::setStepHook(killAtStep);
        write("new");
    }));
    EXPECT_EQ(namesIn(config).size(), 3) << namesIn(config).join(' ').toStdString();
    EXPECT_EQ(paths::removeSaveLeftovers(), 2);
    EXPECT_EQ(namesIn(config), QStringList{"HKEY_CURRENT_USER.reg"});
    EXPECT_EQ(write("again"), reg::ERROR_SUCCESS);
}

TEST(SaveKilledPartWay, theStartsCleanUpNeverRemovesALockThatARunningCopyHolds)
{
    test::TempHome home;
    const QString config = home.path() + "/config";
    // A running copy in the middle of its settings writes holds their lock.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t copy = ::fork();
    if (copy == 0) {
        RegistryStore own(config);
        RegistryStore::Batch batch(own);
        reg::Key key = 0;
        own.createKey(reg::HKEY_CURRENT_USER, "Software\\Quorvane", &key);
        own.setValue(key, "v", reg::Value::text("being written"));
        (void)!::write(ready[1], "x", 1);
        ::pause();
        ::_exit(0);
    }
    char said = 0;
    ASSERT_EQ(::read(ready[0], &said, 1), 1);
    const QString lock = config + "/HKEY_CURRENT_USER.reg.lock";
    ASSERT_TRUE(QFile::exists(lock));

    EXPECT_EQ(paths::removeSaveLeftovers(), 0);
    EXPECT_TRUE(QFile::exists(lock));
    FileLock other(lock);
    EXPECT_FALSE(other.tryLock(0)) << "the copy still keeps the others out";
    EXPECT_EQ(other.error(), FileLock::Error::Held);

    // Once the copy is gone, the next start removes what it left.
    ::kill(copy, SIGKILL);
    ::waitpid(copy, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_EQ(paths::removeSaveLeftovers(), 1);
    EXPECT_FALSE(QFile::exists(lock));
}

TEST(SaveKilledPartWay, databaseSavesKilledAtRandomMomentsLeaveAWholeFileAndNoLeftoverAfterTheNextStart)
{
    test::TempHome home;
    QByteArray vardecks;
    for (int i = 1; i <= 5000; ++i)
        vardecks += test::vardeckXml(QStringLiteral("W%1").arg(i), QStringLiteral("name %1").arg(i));
    const QString path = test::writeDatabase(home.databaseFolder(), "db.xml",
                                             "<FOLDERS>" + test::folderXml("T1", "F", vardecks) + "</FOLDERS>");
    XmlDocument doc;
    ASSERT_TRUE(doc.load(path));
    ASSERT_TRUE(doc.save(path));
    for (int kill = 0; kill < 30; ++kill) {
        const int afterMicroseconds = QRandomGenerator::global()->bounded(1000, 30000);
        const pid_t child = ::fork();
        if (child == 0) {
            for (int round = 0;; ++round) {
                doc.nodeFromID("W1").setChildText("NAME", QString::number(round));
                doc.save(path);
            }
        }
        ::usleep(useconds_t(afterMicroseconds));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        XmlDocument reread;
        ASSERT_TRUE(reread.load(path)) << qPrintable(reread.parseErrorReason());
        ASSERT_EQ(reread.countElements("VARDECK"), 5000);
    }
    // Only the moment between naming the finished file and the rename leaves a name.
    removeSaveLeftovers(home.path());
    EXPECT_EQ(namesIn(home.databaseFolder()), QStringList({"Vardecks.dtd", "db.xml"}));
}

TEST(AtomicFile, aRenameThatFailsIsAFailureWithItsReasonAndLeavesNothing)
{
    StepHooksOff restore;
    test::TempHome home;
    for (const bool unnamed : {true, false}) {
        SCOPED_TRACE(unnamed ? "unnamed" : "named");
        atomicfile_testing::setUnnamedTemporaryFiles(unnamed);
        const QString folder = home.path() + (unnamed ? "/a" : "/b");
        QDir().mkpath(folder);
        const QString path = folder + "/f.txt";
        AtomicFileWriter writer(path);
        ASSERT_TRUE(writer.open());
        ASSERT_TRUE(writer.write("new", 3));
        // Something else puts a folder where the file goes: the rename cannot replace it.
        QDir().mkpath(path);
        test::writeBytes(path + "/inside", "kept");
        EXPECT_FALSE(writer.commit());
        EXPECT_EQ(writer.errorString(), path + " could not be written: it is a folder.");
        EXPECT_EQ(namesIn(folder), QStringList{"f.txt"});
        EXPECT_EQ(test::readBytes(path + "/inside"), "kept");
    }
}

TEST(PrivateFiles, theProgramsFoldersAndFilesAreOwnerOnlyWhateverTheUmaskAndASaveKeepsAFilesPermissions)
{
    test::TempHome home;
    const mode_t previous = ::umask(0);
    ASSERT_TRUE(paths::prepareProgramFolder());
    const QString data = home.path() + "/data";
    const QString db = home.databaseFolder();
    for (const QString &folder : {data, db, home.path() + "/config"})
        EXPECT_EQ(modeOf(folder), 0700u) << folder.toStdString();
    for (const char *seeded : {"Vardecks.xml", "Vardecks.dtd", "Vardeck.gif"})
        EXPECT_EQ(modeOf(db + seeded), 0600u) << seeded;
    ASSERT_TRUE(paths::makeFolder(db + "icons/Vardecks/deeper"));
    EXPECT_EQ(modeOf(db + "icons/Vardecks"), 0700u);
    EXPECT_EQ(modeOf(db + "icons/Vardecks/deeper"), 0700u);
    for (const QString &file : {db + "icons/Vardecks/W1.ico", home.path() + "/config/settings.reg"}) {
        ASSERT_TRUE(writeFileAtomically(file, "x"));
        EXPECT_EQ(modeOf(file), 0600u) << file.toStdString();
    }
    // What the user exports elsewhere gets the usual permissions.
    ::umask(022);
    ASSERT_TRUE(paths::makeFolder(home.path() + "/exports/html"));
    EXPECT_EQ(modeOf(home.path() + "/exports/html"), 0755u);
    ASSERT_TRUE(writeFileAtomically(home.path() + "/exports/list.csv", "a,b"));
    EXPECT_EQ(modeOf(home.path() + "/exports/list.csv"), 0644u);

    // A save keeps the permissions the user gave the file, wherever it is.
    XmlDocument doc;
    ASSERT_TRUE(doc.load(db + "Vardecks.xml"));
    for (const QString &file : {db + "Vardecks.xml", home.path() + "/exports/copy.xml"}) {
        ASSERT_TRUE(doc.save(file));
        ::chmod(QFile::encodeName(file).constData(), 0640);
        ASSERT_TRUE(doc.save(file));
        EXPECT_EQ(modeOf(file), 0640u) << file.toStdString();
    }
    ::umask(previous);
}

TEST(PrivateFiles, foldersAnOlderVersionLeftOpenAreTightenedAtStartWithoutFollowingLinks)
{
    test::TempHome home;
    const mode_t previous = ::umask(022);
    const QString db = home.databaseFolder();
    test::writeBytes(db + "Vardecks.xml", "<FOLDERS/>");
    test::writeBytes(db + "icons/Vardecks/W1.ico", "icon");
    test::writeBytes(home.path() + "/config/HKEY_CURRENT_USER.reg", "{}");
    const QString outside = home.path() + "/shared.txt";
    test::writeBytes(outside, "not ours");
    ASSERT_TRUE(QFile::link(outside, db + "link.txt"));
    ::chmod(QFile::encodeName(db + "Vardecks.xml").constData(), 0444);
    ASSERT_EQ(modeOf(home.path() + "/data"), 0755u);

    ASSERT_TRUE(paths::prepareProgramFolder());
    for (const QString &folder :
         {home.path() + "/data", db, db + "icons", db + "icons/Vardecks", home.path() + "/config"})
        EXPECT_EQ(modeOf(folder), 0700u) << folder.toStdString();
    EXPECT_EQ(modeOf(db + "icons/Vardecks/W1.ico"), 0600u);
    EXPECT_EQ(modeOf(home.path() + "/config/HKEY_CURRENT_USER.reg"), 0600u);
    EXPECT_EQ(modeOf(db + "Vardecks.xml"), 0400u) << "a read-only file stays read-only";
    EXPECT_EQ(modeOf(outside), 0644u);
    ::umask(previous);
}

TEST(MozLz4, aBlockThatDecodesToAnotherLengthThanDeclaredIsDamaged)
{
    const QByteArray text = R"({"windows":[{"tabs":[{"entries":[{"url":"https://a.example/","title":"A"}]}]}]})";
    const QByteArray packed = mozlz4::compress(text);
    QByteArray out;
    ASSERT_TRUE(mozlz4::decompress(packed, &out));
    EXPECT_EQ(out, text);
    for (const int declared : {int(text.size()) + 10, int(text.size()) - 10}) {
        QByteArray damaged = packed;
        qToLittleEndian<quint32>(quint32(declared), damaged.data() + 8);
        QString error;
        out = "untouched";
        EXPECT_FALSE(mozlz4::decompress(damaged, &out, &error)) << declared;
        EXPECT_EQ(error, "the compressed content is damaged");
        EXPECT_EQ(out, "untouched");
    }
}
