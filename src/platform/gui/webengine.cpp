#include "platform/gui/webengine.h"

#include "platform/gui/webgraphics.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QLoggingCategory>
#include <QObject>
#include <QWidget>

#include <cstdio>
#include <unistd.h>

namespace rr::webengine
{
namespace
{

using Entry = const ModuleApi *(*)();

int s_liveViews = 0;

// Beside the program as installed (bin/ and lib/razuzezu-revidod/; the build folder
// has the same layout), else where this build made it.
QStringList moduleCandidates()
{
    QStringList candidates;
    if (QCoreApplication::instance())
        candidates << QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                      QStringLiteral("/../lib/razuzezu-revidod/librazuzezu-webengine.so"));
#ifdef RR_WEBENGINE_BUILD_MODULE
    candidates << QStringLiteral(RR_WEBENGINE_BUILD_MODULE);
#endif
    return candidates;
}

const ModuleApi *loadModule()
{
    QString problem = QStringLiteral("not found");
    for (const QString &path : moduleCandidates()) {
        if (!QFileInfo::exists(path))
            continue;
        QLibrary library(path);
        // The engine stays loaded until the process ends.
        library.setLoadHints(QLibrary::PreventUnloadHint);
        const auto entry = reinterpret_cast<Entry>(library.resolve("rr_webengine_module"));
        const ModuleApi *api = entry ? entry() : nullptr;
        if (api && api->version == kModuleApiVersion)
            return api;
        problem = library.errorString();
    }
    std::fprintf(stderr, "The web browser module could not be loaded (%s): web pages are not shown.\n",
                 qPrintable(problem));
    return nullptr;
}

// Whether the engine's flags name flag, alone or with a value.
bool hasFlag(const QList<QByteArray> &flags, const QByteArray &flag)
{
    for (const QByteArray &given : flags) {
        if (given == flag || given.startsWith(flag + '='))
            return true;
    }
    return false;
}

// What the engine reads from the environment as it starts.
//
// Its own words on standard error are for whoever debugs the engine, not for the
// user: the report of its graphics set-up (the logging category qt.webenginecontext)
// and its internal log stay quiet. The user turns them on as usual: Qt's logging
// rules in QT_LOGGING_RULES or QT_LOGGING_CONF win over the rule set here, and
// QTWEBENGINE_CHROMIUM_FLAGS that name the log (--enable-logging, --log-level, --v)
// are left to say what is shown. Only the engine's fatal errors always show.
//
// As root the engine refuses to start inside its sandbox, so it runs without; the
// flag says so quietly, where the variable for it would have the engine announce
// that the user disabled it.
void prepareEngineEnvironment()
{
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    const QList<QByteArray> given = flags.simplified().split(' ');
    const auto add = [&flags](const char *flag) {
        if (!flags.trimmed().isEmpty())
            flags += ' ';
        flags += flag;
    };
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX") && !hasFlag(given, "--no-sandbox"))
        add("--no-sandbox");
    if (!hasFlag(given, "--enable-logging") && !hasFlag(given, "--log-level") && !hasFlag(given, "--v") &&
        !hasFlag(given, "--vmodule"))
        add("--log-level=3");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
}

const ModuleApi *module()
{
    static const ModuleApi *api = [] {
        prepareEngineEnvironment();
        // The engine draws with the program's shared OpenGL context: made first.
        prepareWebGraphics();
        return loadModule();
    }();
    return api;
}

bool s_loaded = false;

} // namespace

View *createView(QWidget *parent, Profile profile, const PageSettings &settings, ViewHooks hooks)
{
    const ModuleApi *api = module();
    s_loaded = api != nullptr;
    View *view = api ? api->createView(parent, profile, settings, std::move(hooks)) : nullptr;
    if (view) {
        ++s_liveViews;
        QObject::connect(view->widget(), &QObject::destroyed, [] { --s_liveViews; });
    }
    return view;
}

bool engineLoaded()
{
    return s_loaded;
}

int liveViews()
{
    return s_liveViews;
}

} // namespace rr::webengine
