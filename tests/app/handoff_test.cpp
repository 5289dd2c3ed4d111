// Two real copies of the program: the second hands over to the first and ends
// before it writes anything; a socket left by a killed first copy does not stop
// the next start.
#include "platform/paths.h"
#include "shell/singleinstance.h"
#include "support/testenv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace rr;

namespace {

QProcessEnvironment programEnvironment(const QString &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("RAZUZEZU_HOME", home);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    return env;
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
    second.setProcessEnvironment(programEnvironment(home.path()));
    QElapsedTimer clock;
    clock.start();
    second.start(QStringLiteral(RR_APP_BINARY), {});
    ASSERT_TRUE(second.waitForStarted());
    // The first copy answers from its event loop while the second waits.
    while (second.state() != QProcess::NotRunning && clock.elapsed() < 15000)
        QTest::qWait(10);
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
    crashed.setProcessEnvironment(programEnvironment(home.path()));
    crashed.start(QStringLiteral(RR_APP_BINARY), {});
    ASSERT_TRUE(crashed.waitForStarted());
    QElapsedTimer clock;
    clock.start();
    while (!serverAnswers() && clock.elapsed() < 15000)
        QTest::qWait(50);
    ASSERT_TRUE(serverAnswers());
    crashed.kill();
    crashed.waitForFinished();

    SingleInstance next;
    EXPECT_EQ(next.start(), SingleInstance::Role::First);
    EXPECT_TRUE(serverAnswers());
}

}  // namespace
