// Test main for windows: offscreen by default, one QApplication per binary.
#include "platform/gui/webgraphics.h"
#include "support/freshsession.h"
#include "support/isolatedenv.h"
#include "support/memoryceiling.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    rr::test::IsolatedEnvironment environment;
    // A fault that makes a test grow without bound fails it in seconds.
    rr::test::setMemoryCeiling();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // As the program starts: the browser engine's OpenGL context waits for the first web view.
    rr::deferWebGraphics();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    rr::Session programSession;
    ::testing::UnitTest::GetInstance()->listeners().Append(new rr::test::FreshSessionPerTest);
    const int result = RUN_ALL_TESTS();
    // Closed windows and deleted web views go while the application runs, before the browser engine shuts down.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return result;
}
