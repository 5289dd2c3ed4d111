// The program as a process: a second launch hands over before it starts anything,
// and closing the window ends the process at once, with everything written first.
#include "platform/registrystore.h"
#include "shell/singleinstance.h"
#include "storage/registryfunctions.h"
#include "support/dbfixture.h"
#include "support/testenv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace rr;
using namespace rr::test;

namespace
{

void startProgram(QProcess &program, const QString &home, const QList<QPair<QString, QString>> &settings)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("RAZUZEZU_HOME", home);
    for (const auto &[name, value] : settings)
        env.insert(name, value);
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(RR_APP_BINARY), {});
}

} // namespace

// A copy whose events do not run at all is told of after a short wait
// (instancesocket_test.cpp); one whose events run takes the launch at once.
TEST(HandOff, aSecondLaunchHandsOverBeforeItNeedsADisplay)
{
    TempHome home;
    SingleInstance first;
    ASSERT_EQ(first.start(), SingleInstance::Role::First);
    QSignalSpy received(&first, &SingleInstance::handOffReceived);

    // No display the second copy could open; the first copy answers from its events.
    QProcess second;
    startProgram(second, home.path(), {{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", ":9999"}});
    ASSERT_TRUE(QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, 15000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return received.count() == 1; }, 5000)) << "the running copy took the launch";
}

// A home in memory where the system has one, so that the disk's pace does not enter
// into the times compared below.
namespace
{
QString memoryHomePattern()
{
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/rr-home-XXXXXX") : QString();
}
} // namespace

TEST(ShutDown, closingTheWindowEndsTheProgramAtOnceWithItsSettingsWrittenAndItsSocketGone)
{
    TempHome home(memoryHomePattern());
    QByteArray folders;
    for (int f = 0, wid = 1; f < 64; ++f) {
        QByteArray vardecks;
        for (int v = 0; v < 512 && wid <= 32767; ++v, ++wid)
            vardecks += vardeckXml(QStringLiteral("W%1").arg(wid), QStringLiteral("site %1 caf\u00e9").arg(wid),
                                   QStringLiteral("http://site%1.example/page").arg(wid));
        folders += folderXml("T" + QByteArray::number(f + 1), "Folder " + QByteArray::number(f + 1), vardecks);
    }
    ASSERT_TRUE(writeBytes(home.databaseFolder() + "Vardecks.xml",
                           "<?xml version='1.0'?>\n<!DOCTYPE FOLDERS SYSTEM 'Vardecks.dtd'>\n<FOLDERS>" + folders +
                               "</FOLDERS>"));
    const QString options = QStringLiteral("Software\\Quorvane\\Vardecks\\UserOptions\\");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("hideSplash"), "True");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, options, QStringLiteral("tipStartup"), "True");
    const QString settings = RegistryStore::instance().fileOf(reg::HKEY_CURRENT_USER);
    ASSERT_FALSE(readBytes(settings).contains("\"frmWidth\""));

    // The program says when its window is shown, then closes it as the user does.
    QProcess program;
    QElapsedTimer clock;
    clock.start();
    startProgram(program, home.path(), {{"QT_QPA_PLATFORM", "offscreen"}, {"RAZUZEZU_REPORT_SHOWN", "1"}});
    QByteArray said;
    while (!said.contains('\n') && program.waitForReadyRead(60000))
        said += program.readAllStandardOutput();
    ASSERT_TRUE(said.startsWith("shown")) << said.constData();
    const qint64 loadMs = clock.restart();
    ASSERT_TRUE(program.waitForFinished(60000));
    const qint64 endMs = clock.elapsed();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_LT(endMs * 4, loadMs) << "opening took " << loadMs << " ms, ending " << endMs
                                 << " ms: taking the collection apart is left to the system";
    EXPECT_TRUE(readBytes(settings).contains("\"frmWidth\"")) << "the window's settings were written first";
    EXPECT_FALSE(QFile::exists(SingleInstance::serverPath())) << "the socket went with the process";
}
