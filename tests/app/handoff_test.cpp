// Two real copies of the program: the second hands over to the first and ends before it writes
// anything; a socket left by a killed first copy does not stop the next start.
#include "platform/paths.h"
#include "shell/singleinstance.h"
#include "support/testenv.h"

#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

bool startProgram(QProcess &program, const QString &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("RAZUZEZU_HOME", home);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(RR_APP_BINARY), {});
    return program.waitForStarted();
}

bool serverAnswers()
{
    QLocalSocket probe;
    probe.connectToServer(SingleInstance::serverName());
    const bool up = probe.waitForConnected(200);
    probe.abort();
    return up;
}

TEST(HandOff, aSecondLaunchHandsOverOnceAndWritesNothing)
{
    test::TempHome home;
    SingleInstance first;
    ASSERT_EQ(first.start(), SingleInstance::Role::First);
    QSignalSpy received(&first, &SingleInstance::handOffReceived);

    QProcess second;
    ASSERT_TRUE(startProgram(second, home.path()));
    // The first copy answers from its event loop while the second waits.
    QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 15000);
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    QTest::qWait(100);
    ASSERT_EQ(received.count(), 1);
    const int number = received.at(0).at(0).toString().toInt();
    EXPECT_GE(number, 1);
    EXPECT_LE(number, 1000000);

    // Nothing of the second copy's: no settings, no data folder.
    const QStringList written = QDir(paths::configFolder()).entryList(QDir::Files | QDir::NoDotAndDotDot);
    EXPECT_TRUE(written.isEmpty()) << written.join(", ").toStdString();
    EXPECT_FALSE(QDir(paths::programFolder()).exists());
}

TEST(HandOff, aSocketLeftByAKilledCopyDoesNotStopTheNextStart)
{
    test::TempHome home;
    QProcess crashed;
    ASSERT_TRUE(startProgram(crashed, home.path()));
    ASSERT_TRUE(QTest::qWaitFor(serverAnswers, 15000));
    crashed.kill();
    crashed.waitForFinished();

    SingleInstance next;
    EXPECT_EQ(next.start(), SingleInstance::Role::First);
    EXPECT_TRUE(serverAnswers());
}

} // namespace
