// Test main for windows: offscreen by default, one QApplication per binary.
#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QTemporaryDir home;
    qputenv("RAZUZEZU_HOME", home.path().toUtf8());
    // Test binaries live outside the program's layout: they read the program's data
    // from the source tree.
    if (!qEnvironmentVariableIsSet("RAZUZEZU_DATA_DIR"))
        qputenv("RAZUZEZU_DATA_DIR", QByteArray(RR_PROGRAM_DATA_DIR));
    // No test reads the user's browsers: their profiles live below HOME, and no
    // remote-debugging port is asked unless a test names its own server.
    qputenv("HOME", home.path().toUtf8());
    qputenv("RAZUZEZU_DEVTOOLS_PORTS", "");
    // Nothing reaches past that HOME, and the runtime folder is the binary's own rather
    // than the default one in /tmp that every test process would create and share.
    for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        qunsetenv(name);
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // Windows closed by the tests (and the browser widgets of deleted web views) are
    // deleted while the application still runs, so their pages are gone before the
    // browser engine shuts down with it.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
