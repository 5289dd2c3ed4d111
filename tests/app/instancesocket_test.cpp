// Where the running copy listens: a folder only this user can write in, never the
// shared temporary folder where another user could take the name first.
#include "platform/paths.h"
#include "shell/singleinstance.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace rr;
using namespace rr::test;

namespace
{

// Sets XDG_RUNTIME_DIR (or unsets it for an empty value) while it lives.
class RuntimeFolder
{
public:
    explicit RuntimeFolder(const QString &path)
        : m_had(qEnvironmentVariableIsSet("XDG_RUNTIME_DIR")), m_previous(qgetenv("XDG_RUNTIME_DIR"))
    {
        if (path.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(path));
    }
    ~RuntimeFolder()
    {
        if (m_had)
            qputenv("XDG_RUNTIME_DIR", m_previous);
        else
            qunsetenv("XDG_RUNTIME_DIR");
    }

private:
    bool m_had;
    QByteArray m_previous;
};

QString makeFolder(const QString &path, mode_t mode)
{
    EXPECT_TRUE(QDir().mkpath(path));
    EXPECT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0);
    return path;
}

bool answers(const QString &path)
{
    QLocalSocket probe;
    probe.connectToServer(path);
    const bool up = probe.waitForConnected(200);
    probe.abort();
    return up;
}

} // namespace

TEST(InstanceSocket, listensInTheRuntimeFolderOnlyWhenItIsTheUsersAloneElseInTheSettingsFolder)
{
    QTemporaryDir scratch;
    const QString privateRun = makeFolder(scratch.path() + "/run", 0700);
    const QString openRun = makeFolder(scratch.path() + "/open", 0755);
    const QString writableRun = makeFolder(scratch.path() + "/shared", 01777);
    ASSERT_TRUE(QFile::link(privateRun, scratch.path() + "/linked"));
    const struct {
        const char *what;
        QString runtime;
        bool usesRuntime;
    } cases[] = {
        {"a private runtime folder", privateRun, true},
        {"none set", QString(), false},
        {"one others may read", openRun, false},
        {"one anybody may write in", writableRun, false},
        {"a link to a private folder", scratch.path() + "/linked", false},
        {"a relative path", "run", false},
        {"one that is missing", scratch.path() + "/gone", false},
    };
    for (const auto &c : cases) {
        TempHome home;
        ASSERT_TRUE(paths::makeFolder(paths::configFolder()));
        RuntimeFolder runtime(c.runtime);
        const QString folder = c.usesRuntime ? c.runtime : QDir::cleanPath(paths::configFolder());
        EXPECT_EQ(SingleInstance::socketFolder(), folder) << c.what;
        SingleInstance first;
        ASSERT_EQ(first.start(), SingleInstance::Role::First) << c.what;
        EXPECT_EQ(SingleInstance::serverPath(), folder + "/" + SingleInstance::serverName()) << c.what;
        EXPECT_TRUE(answers(SingleInstance::serverPath())) << c.what;
        EXPECT_FALSE(QFile::exists(QDir::tempPath() + "/" + SingleInstance::serverName())) << c.what;
        EXPECT_TRUE(SingleInstance::handOver()) << c.what;
        first.stop();
    }
}

TEST(InstanceSocket, aListenerUnderTheNameInTheSharedTemporaryFolderIsNotTakenForTheRunningCopy)
{
    TempHome home;
    RuntimeFolder runtime{QString()};
    // Another user's program listening where the name used to be.
    QLocalServer squatter;
    const QString taken = QDir::tempPath() + "/" + SingleInstance::serverName();
    QLocalServer::removeServer(taken);
    ASSERT_TRUE(squatter.listen(taken));
    EXPECT_FALSE(SingleInstance::handOver());
    SingleInstance first;
    EXPECT_EQ(first.start(), SingleInstance::Role::First);
    EXPECT_FALSE(squatter.hasPendingConnections());
    squatter.close();
}

TEST(InstanceSocket, withoutAFolderOnlyThisUserCanWriteInTheCopyRunsAloneAndHandsNothingOver)
{
    TempHome home;
    RuntimeFolder runtime{QString()};
    ASSERT_TRUE(paths::makeFolder(paths::configFolder()));
    ASSERT_EQ(::chmod(QFile::encodeName(paths::configFolder()).constData(), 0777), 0);
    EXPECT_EQ(SingleInstance::socketFolder(), QString());
    EXPECT_EQ(SingleInstance::serverPath(), QString());
    SingleInstance first;
    EXPECT_EQ(first.start(), SingleInstance::Role::Failed);
    EXPECT_FALSE(SingleInstance::handOver());
    EXPECT_FALSE(QFile::exists(paths::configFolder() + "/" + SingleInstance::serverName()));
    EXPECT_FALSE(QFile::exists(QDir::tempPath() + "/" + SingleInstance::serverName()));
}
