// Test main for libraries that need no display.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Never touch the real home: every test binary starts in a temporary one.
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
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
