// The browser engine as the program starts it, in a process of its own: what reaches
// standard error from the engine and from the program.
#include "platform/gui/webengine.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <unistd.h>

namespace
{

const char kChildVariable[] = "RR_ENGINE_OUTPUT_CHILD";
const char kOwnWarning[] = "Razuzezu Revidod: a warning of the program's own";

// Runs EngineOutputChild in a new process of this test program with the given
// engine variables; returns its standard error.
QString engineRunOutput(const QList<QPair<QString, QString>> &variables)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_LOGGING_RULES", "QT_LOGGING_CONF", "QTWEBENGINE_CHROMIUM_FLAGS"})
        env.remove(QLatin1String(name));
    // As root the program keeps the engine out of its sandbox by itself.
    if (geteuid() == 0)
        env.remove("QTWEBENGINE_DISABLE_SANDBOX");
    env.insert(kChildVariable, "1");
    for (const auto &[name, value] : variables)
        env.insert(name, value);
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=EngineOutputChild.*"});
    if (!child.waitForFinished(90000)) {
        child.kill();
        child.waitForFinished();
    }
    const QString out = QString::fromUtf8(child.readAllStandardOutput());
    EXPECT_TRUE(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 && out.contains("[  PASSED  ] 1"))
        << out.toStdString();
    return QString::fromUtf8(child.readAllStandardError());
}

// A line of the engine's own log: "[pid:tid:date/time:LEVEL:file(line)] text".
const QRegularExpression kEngineLogLine(QStringLiteral("^\\[\\d+:\\d+:\\d+/[\\d.]+:[A-Z0-9]+:"),
                                        QRegularExpression::MultilineOption);

} // namespace

// The child's part: a web view loads a page, then the program warns of something.
TEST(EngineOutputChild, aViewLoadsAPageAndTheProgramWarns)
{
    if (!qEnvironmentVariableIsSet(kChildVariable))
        GTEST_SKIP() << "runs in the process EngineOutput starts";
    // The tests' main keeps the engine out of its sandbox as root; the program leaves
    // that to the engine's loader.
    if (geteuid() == 0)
        qunsetenv("QTWEBENGINE_DISABLE_SANDBOX");
    QTemporaryDir dir;
    QFile page(dir.filePath("page.htm"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><p>A page</p></body></html>");
    page.close();
    QWidget host;
    host.resize(400, 300);
    host.show();
    bool loaded = false;
    bool ok = false;
    rr::webengine::ViewHooks hooks;
    hooks.loadFinished = [&](bool success) {
        loaded = true;
        ok = success;
    };
    rr::webengine::View *view = rr::webengine::createView(&host, rr::webengine::Profile::Panes, {}, std::move(hooks));
    ASSERT_NE(view, nullptr);
    view->widget()->resize(400, 300);
    view->widget()->show();
    view->load(QUrl::fromLocalFile(page.fileName()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded; }, 60000));
    EXPECT_TRUE(ok);
    qWarning("%s", kOwnWarning);
}

TEST(EngineOutput, theEngineSaysNothingOnStandardErrorUnlessTheUserAsksAndTheProgramsOwnWarningsShow)
{
    // A flag the engine cannot read makes it log an error as it starts.
    const QPair<QString, QString> badFlag{"QTWEBENGINE_CHROMIUM_FLAGS", "--force-device-scale-factor=abc"};
    const QString quiet = engineRunOutput({badFlag});
    EXPECT_TRUE(quiet.contains(kOwnWarning)) << quiet.toStdString();
    QStringList engineWords = {"qt.webenginecontext", "GL Type:", "Init Parameters:", "scale factor"};
    // Only a user who set the variable for it disabled the sandbox.
    if (geteuid() == 0)
        engineWords << "Sandboxing disabled by user.";
    for (const QString &words : engineWords)
        EXPECT_FALSE(quiet.contains(words)) << words.toStdString() << " in:\n" << quiet.toStdString();
    EXPECT_FALSE(kEngineLogLine.match(quiet).hasMatch()) << quiet.toStdString();

    // Qt's logging rules bring the engine's report back.
    const QString report = engineRunOutput({badFlag, {"QT_LOGGING_RULES", "qt.webenginecontext.info=true"}});
    EXPECT_TRUE(report.contains("qt.webenginecontext:")) << report.toStdString();
    EXPECT_TRUE(report.contains("Init Parameters:")) << report.toStdString();
    EXPECT_TRUE(report.contains(kOwnWarning));

    // The engine's own flags bring its log back.
    const QString logged = engineRunOutput(
        {{"QTWEBENGINE_CHROMIUM_FLAGS", "--force-device-scale-factor=abc --enable-logging --log-level=0"}});
    EXPECT_TRUE(kEngineLogLine.match(logged).hasMatch()) << logged.toStdString();
    EXPECT_TRUE(logged.contains("Failed to parse the default device scale factor:abc")) << logged.toStdString();
    EXPECT_TRUE(logged.contains(kOwnWarning));
}
