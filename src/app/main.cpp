#include "platform/gui/qtprompt.h"
#include "platform/paths.h"
#include "platform/prompt.h"

#include <QApplication>
#include <QMainWindow>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Razuzezu Revidod"));
    rr::installQtPromptHandler();

    QString error;
    if (!rr::paths::prepareProgramFolder(&error)) {
        rr::prompt::show(error, rr::MsgButtons::Ok, rr::MsgIcon::Exclamation);
        return 1;
    }

    QMainWindow window;
    window.setWindowTitle(rr::prompt::appTitle());
    window.resize(13000 / 15, 8500 / 15);
    window.show();
    return app.exec();
}
