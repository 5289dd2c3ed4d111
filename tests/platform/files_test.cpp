// Where the program's files live and how they are written: paths, atomic writes and the settings store.
#include "platform/atomicfile.h"
#include "platform/filelock.h"
#include "platform/launcher.h"
#include "platform/paths.h"
#include "platform/registrystore.h"
#include "platform/xmldocument.h"
#include "support/failingdisk.h"
#include "support/smalldisk.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace rr;
using namespace rr::reg;

namespace
{

Value read(RegistryStore &store, const QString &path, const QString &name, qint32 *status = nullptr)
{
    Key key = 0;
    Value value;
    qint32 s = store.openKey(HKEY_CURRENT_USER, path, &key);
    if (s == ERROR_SUCCESS)
        s = store.queryValue(key, name, &value);
    store.closeKey(key);
    if (status)
        *status = s;
    return value;
}

qint32 write(RegistryStore &store, const QString &path, const QString &name, const Value &value)
{
    Key key = 0;
    qint32 s = store.createKey(HKEY_CURRENT_USER, path, &key);
    if (s == ERROR_SUCCESS)
        s = store.setValue(key, name, value);
    store.closeKey(key);
    return s;
}

mode_t modeOf(const QString &path)
{
    struct stat st {
    };
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

} // namespace

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

TEST(AtomicFile, aChainOfLinksIsWrittenThroughToItsLastFileAndALinkToNothingOrALoopIsRefused)
{
    test::TempHome home;
    const QString root = home.path();
    for (const char *folder : {"/a", "/b", "/c"})
        QDir().mkpath(root + folder);
    const QString real = root + "/c/real.xml";
    test::writeBytes(real, "old");
    QFile::setPermissions(real, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    ASSERT_EQ(::symlink("../c/real.xml", QFile::encodeName(root + "/b/link2.xml").constData()), 0);
    ASSERT_EQ(::symlink("../b/link2.xml", QFile::encodeName(root + "/a/vd.xml").constData()), 0);
    const QString absolute = root + "/a/absolute.xml";
    ASSERT_EQ(::symlink(QFile::encodeName(root + "/a/vd.xml").constData(), QFile::encodeName(absolute).constData()), 0);

    QString error;
    ASSERT_TRUE(writeFileAtomically(root + "/a/vd.xml", "first", &error)) << qPrintable(error);
    EXPECT_EQ(test::readBytes(real), "first");
    XmlDocument doc;
    ASSERT_TRUE(doc.loadXml("<FOLDERS/>", root));
    ASSERT_TRUE(doc.save(absolute, &error)) << qPrintable(error);
    EXPECT_EQ(test::readBytes(real), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<FOLDERS/>\n");
    EXPECT_EQ(QFileInfo(root + "/a/vd.xml").symLinkTarget(), root + "/b/link2.xml");
    EXPECT_EQ(QFileInfo(root + "/b/link2.xml").symLinkTarget(), real);
    EXPECT_EQ(QFileInfo(absolute).symLinkTarget(), root + "/a/vd.xml");
    EXPECT_EQ(modeOf(real), 0640u);
    for (const char *folder : {"/a", "/b", "/c"})
        EXPECT_EQ(QDir(root + folder).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
                  QString(folder) == "/a" ? 2 : 1)
            << folder << ": no temporary file is left";

    // A link to nothing makes no file where it points; a loop is said to be one.
    ASSERT_EQ(::symlink("../c/missing.xml", QFile::encodeName(root + "/a/gone.xml").constData()), 0);
    ASSERT_EQ(::symlink("loop2.xml", QFile::encodeName(root + "/a/loop1.xml").constData()), 0);
    ASSERT_EQ(::symlink("loop1.xml", QFile::encodeName(root + "/a/loop2.xml").constData()), 0);
    EXPECT_FALSE(writeFileAtomically(root + "/a/gone.xml", "x", &error));
    EXPECT_EQ(error, root + "/a/gone.xml could not be written: it is a link to " + root +
                         "/c/missing.xml, which does not exist.");
    EXPECT_FALSE(QFileInfo::exists(root + "/c/missing.xml"));
    EXPECT_FALSE(writeFileAtomically(root + "/a/loop1.xml", "x", &error));
    EXPECT_EQ(error, root + "/a/loop1.xml could not be written: it is a link that leads round in a circle.");
    EXPECT_EQ(QFileInfo(root + "/a/loop1.xml").symLinkTarget(), root + "/a/loop2.xml");

    // The settings store writes through such a chain too.
    RegistryStore elsewhere(root + "/c");
    ASSERT_EQ(write(elsewhere, "K", "v", Value::text("old")), ERROR_SUCCESS);
    const QString realSettings = elsewhere.fileOf(HKEY_CURRENT_USER);
    ASSERT_EQ(::symlink(QFile::encodeName(realSettings).constData(), QFile::encodeName(root + "/b/s.reg").constData()),
              0);
    QDir().mkpath(root + "/config");
    RegistryStore store(root + "/config");
    const QString settings = store.fileOf(HKEY_CURRENT_USER);
    ASSERT_EQ(::symlink("../b/s.reg", QFile::encodeName(settings).constData()), 0);
    ASSERT_EQ(write(store, "K", "v", Value::text("through")), ERROR_SUCCESS);
    EXPECT_EQ(QFileInfo(settings).symLinkTarget(), root + "/b/s.reg");
    EXPECT_EQ(QFileInfo(root + "/b/s.reg").symLinkTarget(), realSettings);
    EXPECT_EQ(read(elsewhere, "K", "v").data.toString(), "through");
}

TEST(AtomicFile, aFileWhoseModeForbidsWritingIsNotReplacedWhoeverRunsTheProgram)
{
    test::TempHome home;
    const QString path = home.path() + "/db.xml";
    test::writeBytes(path, "kept");
    QFile::setPermissions(path, QFile::ReadOwner); // 0400, which root could still write
    QString error;
    EXPECT_FALSE(writeFileAtomically(path, "new", &error));
    EXPECT_EQ(error, path + " could not be written: the file is read-only.");
    EXPECT_EQ(test::readBytes(path), "kept");
    EXPECT_EQ(modeOf(path), 0400u);
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"db.xml"});

    // Through a link, and for the settings store too.
    const QString link = home.path() + "/link.xml";
    ASSERT_TRUE(QFile::link(path, link));
    EXPECT_FALSE(writeFileAtomically(link, "new", &error));
    EXPECT_EQ(error, link + " could not be written: the file is read-only.");
    RegistryStore store(home.path() + "/config");
    ASSERT_EQ(write(store, "K", "v", Value::text("old")), ERROR_SUCCESS);
    const QString settings = store.fileOf(HKEY_CURRENT_USER);
    const QByteArray before = test::readBytes(settings);
    QFile::setPermissions(settings, QFile::ReadOwner);
    testing::internal::CaptureStderr();
    EXPECT_EQ(write(store, "K", "v", Value::text("new")), ERROR_REGISTRY_IO_FAILED);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("could not be written: the file is read-only."), std::string::npos) << said;
    EXPECT_EQ(test::readBytes(settings), before);

    // Writable again, it is written; the owner's bit is what counts for the owner.
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_TRUE(writeFileAtomically(link, "new", &error)) << qPrintable(error);
    EXPECT_EQ(test::readBytes(path), "new");
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

TEST(RegistryStore, namesAreCaseInsensitiveKeepTheirFirstSpellingAndValuesOfEveryTypeSurviveAFreshStore)
{
    test::TempHome home;
    RegistryStore store(home.path() + "/config");
    ASSERT_EQ(write(store, "Software\\Quorvane\\Vardecks\\", "WebAspectHtml", Value::text("true")), ERROR_SUCCESS);
    ASSERT_EQ(write(store, "SOFTWARE\\quorvane\\VARDECKS", "webAspectHtml", Value::text("False")), ERROR_SUCCESS);

    EXPECT_EQ(read(store, "software\\QUORVANE\\vardecks", "WEBASPECTHTML").data.toString(), "False");

    Key key = 0;
    ASSERT_EQ(store.openKey(HKEY_CURRENT_USER, "Software", &key), ERROR_SUCCESS);
    QStringList names;
    store.subKeyNames(key, &names);
    EXPECT_EQ(names, QStringList{"Quorvane"});
    store.closeKey(key);
    ASSERT_EQ(store.openKey(HKEY_CURRENT_USER, "software\\quorvane\\vardecks", &key), ERROR_SUCCESS);
    store.valueNames(key, &names);
    EXPECT_EQ(names, QStringList{"WebAspectHtml"});
    store.closeKey(key);

    // Values of every type survive a fresh store.
    const QList<QPair<QString, Value>> values = {
        {"empty", Value::text("")},         {"text", Value::text("a \"quoted\" \\ line\nand ünïcode")},
        {"n", Value::number(0xFFFFFFFFu)},  {"raw", Value::bytes(REG_BINARY, QByteArray("\x00\x01\xff", 3))},
        {"", Value::text("default value")},
    };
    for (const auto &[name, value] : values)
        write(store, "K", name, value);
    RegistryStore fresh(home.path() + "/config");
    qint32 status = -1;
    for (const auto &[name, value] : values) {
        const Value back = read(fresh, "K", name, &status);
        EXPECT_EQ(back.type, value.type) << qPrintable(name);
        EXPECT_EQ(back.data, value.data) << qPrintable(name);
    }
    read(fresh, "K", "missing", &status);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    read(fresh, "NoSuchKey", "x", &status);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(fresh.queryValue(0, "x", nullptr), ERROR_INVALID_HANDLE);
}

TEST(RegistryStore, keysWithSubKeysCannotBeDeletedDeletedKeysTakeNoValuesAndTheRootsAreSeparate)
{
    test::TempHome home;
    RegistryStore store(home.path() + "/config");
    write(store, "A\\B", "v", Value::text("1"));
    EXPECT_EQ(store.deleteKey(HKEY_CURRENT_USER, "A"), ERROR_ACCESS_DENIED);
    qint32 status = -1;
    read(store, "A\\B", "v", &status);
    EXPECT_EQ(status, ERROR_SUCCESS);

    EXPECT_EQ(store.deleteKey(HKEY_CURRENT_USER, "a\\b"), ERROR_SUCCESS);
    EXPECT_EQ(store.deleteKey(HKEY_CURRENT_USER, "A"), ERROR_SUCCESS);
    EXPECT_EQ(store.deleteKey(HKEY_CURRENT_USER, "A"), ERROR_FILE_NOT_FOUND);
    // A value of a deleted key cannot be written through an old handle.
    Key gone = 0;
    ASSERT_EQ(store.createKey(HKEY_CURRENT_USER, "Gone", &gone), ERROR_SUCCESS);
    ASSERT_EQ(store.deleteKey(HKEY_CURRENT_USER, "Gone"), ERROR_SUCCESS);
    EXPECT_EQ(store.setValue(gone, "v", Value::text("x")), ERROR_KEY_DELETED);
    store.closeKey(gone);
    EXPECT_EQ(store.closeKey(gone), ERROR_INVALID_HANDLE);

    Key machine = 0;
    ASSERT_EQ(store.createKey(HKEY_LOCAL_MACHINE, "A", &machine), ERROR_SUCCESS);
    store.setValue(machine, "v", Value::text("machine"));
    store.closeKey(machine);
    read(store, "A", "v", &status);
    EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(QFile::exists(store.fileOf(HKEY_LOCAL_MACHINE)));
    EXPECT_TRUE(store.fileOf(HKEY_LOCAL_MACHINE).endsWith("/HKEY_LOCAL_MACHINE.reg"));
}

TEST(RegistryStore, aFailedWriteKeepsTheFileAndReportsAnError)
{
    test::TempHome home;
    RegistryStore store(home.path() + "/config");
    ASSERT_EQ(write(store, "K", "v", Value::text("old")), ERROR_SUCCESS);
    {
        test::FailingDisk disk(1024);
        EXPECT_EQ(write(store, "K", "v", Value::text(QString(4096, 'x'))), ERROR_REGISTRY_IO_FAILED);
    }
    RegistryStore fresh(home.path() + "/config");
    EXPECT_EQ(read(fresh, "K", "v").data.toString(), "old");
    EXPECT_EQ(read(store, "K", "v").data.toString(), "old");
}

TEST(RegistryStore, copiesMergeTheirWritesAndABatchReachesTheFileOnce)
{
    test::TempHome home;
    RegistryStore store(home.path() + "/config");
    RegistryStore other(home.path() + "/config");
    // Both have read (and cached) the file before either writes.
    read(store, "K", "x");
    read(other, "K", "x");
    write(other, "K", "fromOther", Value::text("kept"));
    {
        RegistryStore::Batch batch(store);
        write(store, "K", "a", Value::text("1"));
        {
            RegistryStore::Batch inner(store);
            write(store, "K\\Sub", "b", Value::text("2"));
        }
        EXPECT_EQ(store.deleteKey(HKEY_CURRENT_USER, "K"), ERROR_ACCESS_DENIED);
        // This copy sees its changes at once, the other copy only at the end.
        EXPECT_EQ(read(store, "K\\Sub", "b").data.toString(), "2");
        qint32 status = -1;
        read(other, "K", "a", &status);
        EXPECT_EQ(status, ERROR_FILE_NOT_FOUND);
    }
    EXPECT_EQ(read(other, "K", "a").data.toString(), "1");
    EXPECT_EQ(read(other, "K\\Sub", "b").data.toString(), "2");
    EXPECT_EQ(read(store, "K", "fromOther").data.toString(), "kept");
}

// Runs work in a child process; the child ends when work returns.
template <typename Work> pid_t inChild(Work work)
{
    const pid_t child = ::fork();
    if (child == 0) {
        work();
        ::_exit(0);
    }
    return child;
}

TEST(RegistryStore, onlyALiveHolderMakesALockAndTwoProcessesNeverLoseEachOthersWrites)
{
    test::TempHome home;
    const QString config = home.path() + "/config";
    RegistryStore store(config);
    ASSERT_EQ(write(store, "K", "count", Value::number(0)), ERROR_SUCCESS);
    const QString lock = store.fileOf(HKEY_CURRENT_USER) + ".lock";

    // A process killed between making its lock file and writing into it left it empty
    // a moment ago: nobody holds it, so it does not hold the next write up.
    ASSERT_TRUE(test::writeBytes(lock, ""));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(write(store, "K", "v", Value::text("after")), ERROR_SUCCESS);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(QFile::exists(lock)) << "the writer removes the lock file as it lets go";

    // Two live processes each add one to the count, read and written under the lock.
    const auto addOnes = [&config] {
        RegistryStore own(config);
        for (int i = 0; i < 40; ++i) {
            RegistryStore::Batch batch(own);
            write(own, "K", "writer", Value::number(quint32(::getpid())));
            write(own, "K", "count", Value::number(read(own, "K", "count").data.toUInt() + 1));
        }
    };
    const pid_t first = inChild(addOnes);
    const pid_t second = inChild(addOnes);
    int status = 0;
    ASSERT_EQ(::waitpid(first, &status, 0), first);
    EXPECT_TRUE(WIFEXITED(status));
    ASSERT_EQ(::waitpid(second, &status, 0), second);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(read(store, "K", "count").data.toUInt(), 80u);

    // A live holder keeps a write waiting; the moment it is killed the write goes on.
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = inChild([&] {
        RegistryStore own(config);
        RegistryStore::Batch batch(own);
        write(own, "K", "held", Value::text("never written"));
        (void)!::write(ready[1], "x", 1);
        ::pause();
    });
    char said = 0;
    ASSERT_EQ(::read(ready[0], &said, 1), 1);
    std::thread killer([holder] {
        ::usleep(400 * 1000);
        ::kill(holder, SIGKILL);
    });
    clock.restart();
    EXPECT_EQ(write(store, "K", "v", Value::text("after the holder")), ERROR_SUCCESS);
    const qint64 waited = clock.elapsed();
    killer.join();
    ::waitpid(holder, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    EXPECT_GE(waited, 300);
    EXPECT_LT(waited, 2000);
    qint32 held = -1;
    read(store, "K", "held", &held);
    EXPECT_EQ(held, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(read(store, "K", "v").data.toString(), "after the holder");
}

TEST(FileLock, noProgramTheProgramStartsInheritsALockFile)
{
    test::TempHome home;
    FileLock lock(home.path() + "/held.lock");
    ASSERT_TRUE(lock.tryLock(0));
    RegistryStore store(home.path() + "/config");
    RegistryStore::Batch batch(store); // the settings lock, held until the batch ends
    ASSERT_EQ(write(store, "K", "v", Value::text("x")), ERROR_SUCCESS);

    // The started program lists the files it has open.
    const QString listing = home.path() + "/files.txt";
    const ProgramRun run =
        ProcessLauncher().startAndWait("/bin/sh", {"-c", "ls -l /proc/$$/fd > \"$0\"", listing}, 5000, [] {});
    ASSERT_EQ(run.state, ProgramRun::State::Ended);
    const QByteArray files = test::readBytes(listing);
    EXPECT_TRUE(files.contains("files.txt")) << files.constData();
    EXPECT_FALSE(files.contains(".lock")) << files.constData();
}

TEST(RegistryStore, aSettingsFolderThatCannotBeWrittenIsNotCalledLocked)
{
    test::TempHome home;
    const QString folder = home.path() + "/config";
    std::unique_ptr<test::SmallDisk> readOnly;
    if (geteuid() == 0) {
        readOnly = std::make_unique<test::SmallDisk>(folder, MS_RDONLY);
        if (!readOnly->mounted())
            GTEST_SKIP() << "no right to mount a read-only disk here";
    } else {
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    }
    RegistryStore store(folder);
    testing::internal::CaptureStderr();
    EXPECT_EQ(write(store, "K", "v", Value::text("x")), ERROR_ACCESS_DENIED);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said.find("locked by another program"), std::string::npos) << said;
    EXPECT_NE(said.find("cannot be written"), std::string::npos) << said;
}
