// The program: hands a second launch over to the running copy, then puts the main
// window together from the subsystems and starts it; it ends without taking them
// apart again.
#include "app/assembly.h"
#include "platform/gui/qtprompt.h"
#include "platform/gui/webengine.h"
#include "platform/gui/webgraphics.h"
#include "platform/paths.h"
#include "platform/prompt.h"
#include "shell/frmvardecks.h"
#include "shell/mainmodule.h"
#include "shell/singleinstance.h"
#include "storage/session.h"
#include "storage/xmldatabase.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char **argv)
{
    // A copy already running takes the launch over before this one connects to the
    // display or loads anything.
    rr::SingleInstance instance;
    if (instance.handOver() == rr::SingleInstance::HandOver::Taken)
        return 0;
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // No OpenGL context until a web view is first shown.
    rr::deferWebGraphics();
    QApplication app(argc, argv);
    QApplication::setApplicationName(rr::prompt::appTitle());
    QApplication::setQuitOnLastWindowClosed(true);
    QApplication::setDesktopFileName(QStringLiteral("razuzezu-revidod"));
    QApplication::setWindowIcon(QIcon(rr::paths::installedDataFolder() + QStringLiteral("/razuzezu-revidod.png")));
    rr::installQtPromptHandler();
    // The state this run keeps apart from its windows; every part reaches it through
    // rr::session().
    rr::Session session;

    // Before any window exists or anything is written: a copy already running takes
    // over and this one ends; when it does not answer, the user says whether this one
    // opens a window (with the database read-only while the other has it).
    const rr::SingleInstance::Role role = instance.start();
    if (role == rr::SingleInstance::Role::HandedOver)
        return 0;
    if (role == rr::SingleInstance::Role::Unanswered && !instance.askForOwnWindow())
        return 0;

    QString error;
    if (!rr::paths::prepareProgramFolder(&error)) {
        rr::prompt::show(error, rr::MsgButtons::Ok, rr::MsgIcon::Exclamation);
        return 1;
    }
    // A settings folder others could write in was no place for the socket; now that it
    // is private, later launches find this copy there.
    if (role == rr::SingleInstance::Role::Alone && instance.start() == rr::SingleInstance::Role::HandedOver)
        return 0;
    // This copy now keeps the folders: what a killed copy left of its saves goes,
    // beside the start (a walk of every icon folder must not delay the window).
    std::thread([] { rr::paths::removeSaveLeftovers(); }).detach();

    rr::frmVardecks window;
    rr::assembleMainWindow(window);
    rr::Main(window, &instance);
    // For the start-up benchmark: once the window's first events have been handled,
    // say "shown", how many web views the start made (the first costs ~100 ms and
    // should wait until a pane shows it), whether it loaded the browser engine and
    // made an OpenGL context (each tens of megabytes), then close the window as the
    // user does.
    if (qEnvironmentVariableIsSet("RAZUZEZU_REPORT_SHOWN")) {
        QTimer::singleShot(0, &app, [&window] {
            std::printf("shown %d web views, browser engine %s, OpenGL context %s\n", rr::webengine::liveViews(),
                        rr::webengine::engineLoaded() ? "loaded" : "not loaded",
                        rr::hasWebGraphicsContext() ? "made" : "none");
            std::fflush(stdout);
            window.close();
        });
    }
    const int code = app.exec();
    // Everything the program keeps is on the disk by now: the database is saved at
    // each change and the settings when the main window closed. Taking the windows
    // and the documents apart would only hand memory back to a process that is
    // ending (seconds for a large collection), so the listening socket is closed and
    // the process ends here.
    instance.stop();
    // Another copy may write the database from now on.
    if (rr::XMLDatabase *db = window.dbXML.get())
        db->releaseFile();
    std::fflush(nullptr);
    std::_Exit(code);
}
