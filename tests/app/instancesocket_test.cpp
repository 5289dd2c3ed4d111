// Where the running copy listens: a folder only this user can write in, never the
// shared temporary folder where another user could take the name first.
#include "platform/paths.h"
#include "shell/singleinstance.h"
#include "support/testenv.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace rr;
using namespace rr::test;

namespace
{

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
        EXPECT_TRUE(SingleInstance::handOver());
        first.stop();
    }

    // A settings folder others may write in is no place either: the copy runs alone.
    TempHome home;
    RuntimeFolder none{QString()};
    folderWithMode(paths::configFolder(), 0777);
    SingleInstance alone;
    EXPECT_EQ(alone.start(), SingleInstance::Role::Failed);
    EXPECT_FALSE(SingleInstance::handOver());
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
    EXPECT_FALSE(SingleInstance::handOver());
    SingleInstance first;
    EXPECT_EQ(first.start(), SingleInstance::Role::First);
    EXPECT_FALSE(squatter.hasPendingConnections());
}
