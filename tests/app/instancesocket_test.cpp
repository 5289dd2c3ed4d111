// Where the running copy listens: a folder only this user can write in, never the
// shared temporary folder where another user could take the name first. How a launch
// finds the running copy, and what it does when that copy does not answer.
#include "platform/filelock.h"
#include "platform/paths.h"
#include "shell/singleinstance.h"
#include "storage/databaseclaim.h"
#include "storage/xmldatabase.h"
#include "support/httpserver.h"
#include "support/testenv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <future>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace rr;
using namespace rr::test;

namespace
{

using HandOver = SingleInstance::HandOver;
using Role = SingleInstance::Role;

// A launch's try made from another thread, while this one runs the events of the copy
// the test plays.
HandOver handOverAside()
{
    auto tried = std::async(std::launch::async, [] { return SingleInstance().handOver(); });
    EXPECT_TRUE(waitUntil([&] { return tried.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 20000));
    return tried.get();
}

// XDG_RUNTIME_DIR set to path (unset for "") while it lives.
struct RuntimeFolder {
    explicit RuntimeFolder(const QString &path)
    {
        path.isEmpty() ? qunsetenv("XDG_RUNTIME_DIR") : qputenv("XDG_RUNTIME_DIR", QFile::encodeName(path));
    }
    ~RuntimeFolder() { had ? qputenv("XDG_RUNTIME_DIR", previous) : qunsetenv("XDG_RUNTIME_DIR"); }
    const bool had = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
    const QByteArray previous = qgetenv("XDG_RUNTIME_DIR");
};

QString folderWithMode(const QString &path, mode_t mode)
{
    EXPECT_TRUE(QDir().mkpath(path));
    EXPECT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
    return path;
}

// Gives the folder at path (made 0700) to another user; false where this user may not.
bool giveToAnotherUser(const QString &path)
{
    folderWithMode(path, 0700);
    return ::geteuid() == 0 && ::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0;
}

// A 0700 folder of another user: one made at path where this user may give it away,
// else the superuser's home when it is such a folder; "" when there is none.
QString anotherUsersFolder(const QString &path)
{
    if (giveToAnotherUser(path))
        return path;
    struct stat st {
    };
    return ::stat("/root", &st) == 0 && st.st_uid != ::getuid() && (st.st_mode & 077) == 0 ? QStringLiteral("/root")
                                                                                           : QString();
}

// The program, started as a user starts it, in the home and runtime folder this test
// process has now.
void startCopy(QProcess &program)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.setStandardOutputFile(QProcess::nullDevice());
    program.setStandardErrorFile(QProcess::nullDevice());
    program.start(QStringLiteral(RR_APP_BINARY), {});
    ASSERT_TRUE(program.waitForStarted());
}

bool listening()
{
    QLocalSocket probe;
    probe.connectToServer(SingleInstance::serverPath());
    const bool up = probe.waitForConnected(200);
    probe.abort();
    return up;
}

// Whether the process holds its lock on the file at path (read from the kernel's list,
// so that looking takes nothing from the holder).
bool holdsLock(qint64 pid, const QString &path)
{
    struct stat st {
    };
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return false;
    QFile locks("/proc/locks");
    if (!locks.open(QIODevice::ReadOnly))
        return false;
    const QByteArray holder = " " + QByteArray::number(pid) + " ";
    const QByteArray inode = ":" + QByteArray::number(qulonglong(st.st_ino)) + " ";
    for (const QByteArray &line : locks.readAll().split('\n'))
        if (line.contains(holder) && line.contains(inode))
            return true;
    return false;
}

bool isStopped(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2, 1) == "T";
}

// Sets how long a launch waits for the running copy while it lives.
struct AnswerWait {
    explicit AnswerWait(int ms) { SingleInstance::answerWaitMs = ms; }
    ~AnswerWait() { SingleInstance::answerWaitMs = saved; }
    const int saved = SingleInstance::answerWaitMs;
};

// Ends a program the test started, stopped or not.
struct Ending {
    ~Ending()
    {
        for (QProcess *program : programs) {
            if (program->state() != QProcess::NotRunning) {
                ::kill(pid_t(program->processId()), SIGKILL);
                program->waitForFinished(10000);
            }
        }
    }
    QList<QProcess *> programs;
};

const QString kUnansweredQuestion =
    "Razuzezu Revidod is already running, but it does not answer.\n\n"
    "Open a window of this copy?  It opens the database read-only: no change is saved while the other copy has the "
    "database open.  No ends this launch; the other copy takes it over when it answers again.";

} // namespace

TEST(InstanceSocket, listensInTheRuntimeFolderOnlyWhenItIsTheUsersAloneElseInTheSettingsFolder)
{
    QTemporaryDir scratch;
    const QString own = folderWithMode(scratch.path() + "/run", 0700);
    ASSERT_TRUE(QFile::link(own, scratch.path() + "/linked"));
    const struct {
        QString runtime;
        bool usesRuntime;
    } cases[] = {
        {own, true},
        {"", false},
        {folderWithMode(scratch.path() + "/open", 0755), false},
        {folderWithMode(scratch.path() + "/shared", 01777), false},
        {scratch.path() + "/linked", false},
        {"run", false},
        {scratch.path() + "/gone", false},
        {anotherUsersFolder(scratch.path() + "/theirs"), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.runtime.toStdString());
        TempHome home;
        ASSERT_TRUE(paths::makeFolder(paths::configFolder()));
        RuntimeFolder runtime(c.runtime);
        const QString folder = c.usesRuntime ? c.runtime : QDir::cleanPath(paths::configFolder());
        EXPECT_EQ(SingleInstance::socketFolder(), folder);
        SingleInstance first;
        ASSERT_EQ(first.start(), SingleInstance::Role::First);
        EXPECT_EQ(SingleInstance::serverPath(), folder + "/" + SingleInstance::serverName());
        EXPECT_FALSE(QFile::exists(QDir::tempPath() + "/" + SingleInstance::serverName()));
        EXPECT_EQ(handOverAside(), HandOver::Taken);
        first.stop();
    }

    // A settings folder others may write in is no place either: the copy runs alone.
    TempHome home;
    RuntimeFolder none{QString()};
    folderWithMode(paths::configFolder(), 0777);
    SingleInstance alone;
    EXPECT_EQ(alone.start(), Role::Alone);
    EXPECT_EQ(SingleInstance().handOver(), HandOver::NobodyThere);
}

TEST(InstanceSocket, aListenerUnderTheNameInTheSharedTemporaryFolderIsNotTakenForTheRunningCopy)
{
    TempHome home;
    RuntimeFolder none{QString()};
    // Another user's program listening where the name used to be.
    QLocalServer squatter;
    const QString taken = QDir::tempPath() + "/" + SingleInstance::serverName();
    QLocalServer::removeServer(taken);
    ASSERT_TRUE(squatter.listen(taken));
    EXPECT_EQ(SingleInstance().handOver(), HandOver::NobodyThere);
    SingleInstance first;
    EXPECT_EQ(first.start(), Role::First);
    EXPECT_FALSE(squatter.hasPendingConnections());
}

TEST(InstanceSocket, theSettingsFolderHoldsTheSocketOnlyWhileItIsTheUsersAndNobodyElseMayWriteInIt)
{
    RuntimeFolder none{QString()};
    const struct {
        const char *what;
        mode_t mode;
        bool anotherUsers;
        bool holds;
    } cases[] = {
        {"private", 0700, false, true},
        {"readable by all", 0755, false, true},
        {"readable by the group", 0750, false, true},
        {"writable by the group", 0770, false, false},
        {"writable by others", 0703, false, false},
        {"writable by all", 0777, false, false},
        {"another user's", 0700, true, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TempHome home;
        const QString config = folderWithMode(paths::configFolder(), c.mode);
        if (c.anotherUsers && !giveToAnotherUser(config))
            continue; // only the superuser can make one
        EXPECT_EQ(SingleInstance::socketFolder(), c.holds ? QDir::cleanPath(config) : QString());
        SingleInstance first;
        EXPECT_EQ(first.start(), c.holds ? Role::First : Role::Alone);
        first.stop();
    }
}

TEST(InstanceSocket, aFolderWhosePathIsTooLongForASocketIsPassedOverAndWithNoneLeftTheCopyRunsAlone)
{
    QTemporaryDir scratch;
    const QString longRuntime = folderWithMode(scratch.path() + "/" + QString(110, 'r'), 0700);
    const struct {
        const char *what;
        QString homePattern;
        bool inSettingsFolder;
    } cases[] = {
        {"a long runtime folder", QString(), true},
        {"a long runtime folder and a long home", scratch.path() + "/" + QString(100, 'h') + "-XXXXXX", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TempHome home(c.homePattern);
        RuntimeFolder runtime(longRuntime);
        ASSERT_TRUE(paths::makeFolder(paths::configFolder()));
        const QString folder = c.inSettingsFolder ? QDir::cleanPath(paths::configFolder()) : QString();
        EXPECT_EQ(SingleInstance::socketFolder(), folder);
        SingleInstance first;
        EXPECT_EQ(first.start(), c.inSettingsFolder ? Role::First : Role::Alone);
        if (c.inSettingsFolder) {
            EXPECT_EQ(handOverAside(), HandOver::Taken);
        }
        first.stop();
    }
}

TEST(InstanceSocket, aCopyBusyForLessThanTheWaitStillTakesTheLaunch)
{
    TempHome home;
    SingleInstance first;
    ASSERT_EQ(first.start(), Role::First);
    QSignalSpy received(&first, &SingleInstance::handOffReceived);
    auto tried = std::async(std::launch::async, [] { return SingleInstance().handOver(); });
    // The copy's events do not run for a third of the wait, as while it opens a large database.
    std::this_thread::sleep_for(std::chrono::milliseconds(SingleInstance::answerWaitMs / 3));
    ASSERT_TRUE(waitUntil([&] { return tried.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 20000));
    EXPECT_EQ(tried.get(), HandOver::Taken);
    EXPECT_TRUE(waitUntil([&] { return received.count() == 1; }));
}

TEST(InstanceSocket, aLaunchToACopyThatDoesNotAnswerAsksAndTheAnswerDecidesWhatThatCopyGetsLater)
{
    AnswerWait wait(500);
    const struct {
        MsgResult answer;
        bool ownWindow;
        int handOffs;
    } cases[] = {
        {MsgResult::No, false, 1},
        {MsgResult::Yes, true, 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.ownWindow ? "Yes" : "No");
        TempHome home;
        ScriptedPrompts prompts;
        prompts.answer(c.answer);
        SingleInstance first;
        ASSERT_EQ(first.start(), Role::First);
        QSignalSpy received(&first, &SingleInstance::handOffReceived);
        auto *server = first.findChild<QLocalServer *>();
        ASSERT_NE(server, nullptr);
        QSignalSpy connections(server, &QLocalServer::newConnection);
        // This thread runs none of the copy's events until the launch has decided, as
        // if the copy were stopped.
        const auto [role, ownWindow] = std::async(std::launch::async, [] {
                                           SingleInstance launch;
                                           const Role role = launch.start();
                                           return std::pair{role, role == Role::Unanswered && launch.askForOwnWindow()};
                                       }).get();
        EXPECT_EQ(role, Role::Unanswered);
        EXPECT_EQ(ownWindow, c.ownWindow);
        EXPECT_EQ(prompts.texts(), QStringList{kUnansweredQuestion});
        EXPECT_EQ(prompts.messages().front().defaultButton, MsgResult::No);
        // The copy runs again and takes in what the launch left before it went.
        ASSERT_TRUE(waitUntil(
            [&] { return connections.count() == 1 && server->findChildren<QLocalSocket *>().isEmpty(); }, 20000));
        EXPECT_EQ(received.count(), c.handOffs);
        first.stop();
    }
}

TEST(InstanceSocket, aStoppedCopyIsToldOfAfterTheWaitAndKeepsItsDatabaseFromThisCopyUntilItEnds)
{
    AnswerWait wait(1000);
    TempHome home;
    QProcess copy;
    Ending ending{{&copy}};
    startCopy(copy);
    const QString database = paths::databaseFolder() + "Vardecks.xml";
    ASSERT_TRUE(waitUntil([&] { return holdsLock(copy.processId(), DatabaseClaim::lockPathFor(database)); }, 60000))
        << "the copy opens its database";
    ASSERT_EQ(::kill(pid_t(copy.processId()), SIGSTOP), 0);
    ASSERT_TRUE(waitUntil([&] { return isStopped(copy.processId()); }));

    QElapsedTimer clock;
    clock.start();
    SingleInstance launch;
    EXPECT_EQ(launch.start(), Role::Unanswered);
    EXPECT_GE(clock.elapsed(), 1000) << "the launch waits before it says so";
    ScriptedPrompts prompts;
    prompts.answer(MsgResult::Yes);
    EXPECT_TRUE(launch.askForOwnWindow());
    EXPECT_EQ(prompts.lastText(), kUnansweredQuestion);

    // This copy's window opens the database read-only while the stopped copy has it.
    XMLDatabase db;
    ASSERT_TRUE(db.openDBValidate(database));
    EXPECT_EQ(db.claimFile(), DatabaseClaim::State::HeldElsewhere);
    const QByteArray before = readBytes(database);
    const SaveOutcome refused = db.save();
    EXPECT_FALSE(refused.written());
    EXPECT_EQ(refused.reason,
              database + " is open in another copy of Razuzezu Revidod, so this copy does not write it.");
    EXPECT_EQ(readBytes(database), before);

    // Once the stopped copy is ended, the next save writes.
    ::kill(pid_t(copy.processId()), SIGKILL);
    ASSERT_TRUE(copy.waitForFinished(10000));
    const SaveOutcome saved = db.save();
    EXPECT_TRUE(saved.written()) << saved.reason.toStdString();
    EXPECT_FALSE(db.isReadOnlyHere());
}

TEST(InstanceSocket, aSecondLaunchFindsTheFirstWhereverItsSocketHadToGo)
{
    QTemporaryDir scratch;
    const QString longRuntime = folderWithMode(scratch.path() + "/" + QString(110, 'r'), 0700);
    const struct {
        const char *what;
        mode_t settingsMode;
        QString runtime;
    } cases[] = {
        {"a settings folder others may write in", 0777, QString()},
        {"a runtime folder whose path is too long for a socket", 0700, longRuntime},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        TempHome home;
        RuntimeFolder runtime(c.runtime);
        folderWithMode(paths::configFolder(), c.settingsMode);
        QProcess first;
        QProcess second;
        Ending ending{{&first, &second}};
        startCopy(first);
        ASSERT_TRUE(waitUntil(listening, 60000)) << "the first copy listens";
        startCopy(second);
        ASSERT_TRUE(waitUntil([&] { return second.state() == QProcess::NotRunning; }, 30000))
            << "the second launch hands over and ends";
        EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(second.exitCode(), 0);
        EXPECT_EQ(first.state(), QProcess::Running);
    }
}
