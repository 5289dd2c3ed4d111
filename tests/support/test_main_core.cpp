// Test main for libraries that need no display.
#include "support/freshsession.h"
#include "support/isolatedenv.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    rr::test::IsolatedEnvironment environment;
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    rr::Session programSession;
    ::testing::UnitTest::GetInstance()->listeners().Append(new rr::test::FreshSessionPerTest);
    return RUN_ALL_TESTS();
}
