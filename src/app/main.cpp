#include "platform/gui/qtprompt.h"
#include "platform/paths.h"
#include "platform/prompt.h"
#include "shell/fonthelpers.h"
#include "shell/frmvardecks.h"

#include <QApplication>
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

    rr::sansSerifInstalled = rr::detectSansSerifInstalled();
    rr::frmVardecks window;
    window.LoadDynamicMenus();
    window.firstResize = true;
    window.resetToolbarButtons();
    window.resetMenuItems();
    if (!rr::sansSerifInstalled)
        rr::setFormFont(&window, QStringLiteral("MS Sans Serif"));
    window.show();
    return app.exec();
}
