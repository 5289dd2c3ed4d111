// Test main for libraries that need no display.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Never touch the real home: every test binary starts in a temporary one.
    QTemporaryDir home;
    qputenv("RAZUZEZU_HOME", home.path().toUtf8());
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
