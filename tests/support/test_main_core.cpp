// Test main for libraries that need no display.
#include "support/freshsession.h"
#include "support/isolatedenv.h"
#include "support/memoryceiling.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    rr::test::IsolatedEnvironment environment;
    // A fault that makes a test grow without bound fails it in seconds.
    rr::test::setMemoryCeiling();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    rr::Session programSession;
    ::testing::UnitTest::GetInstance()->listeners().Append(new rr::test::FreshSessionPerTest);
    return RUN_ALL_TESTS();
}
