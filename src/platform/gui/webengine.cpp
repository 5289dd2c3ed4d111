#include "platform/gui/webengine.h"

#include "platform/gui/webgraphics.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QObject>
#include <QWidget>

#include <cstdio>

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

const ModuleApi *module()
{
    static const ModuleApi *api = [] {
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
