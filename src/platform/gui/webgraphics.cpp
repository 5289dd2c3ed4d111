#include "platform/gui/webgraphics.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QOpenGLContext>
#include <QSurfaceFormat>

// The setter of the application-wide shared context; Qt exports it for the browser
// engine, which sets it the same way.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
QT_END_NAMESPACE

namespace rr
{
namespace
{

QOpenGLContext *s_deferred = nullptr;
bool s_prepared = false;

// Runs after the engine's own clean-up (registered later, so run earlier) and before
// the display connection goes.
void releaseDeferred()
{
    if (QOpenGLContext::globalShareContext() == s_deferred)
        qt_gl_set_global_share_context(nullptr);
    delete s_deferred;
    s_deferred = nullptr;
}

} // namespace

void deferWebGraphics()
{
    if (QCoreApplication::instance() || QOpenGLContext::globalShareContext())
        return;
    // Both the engine's start-up routine and the application leave an existing shared
    // context alone; this one is never created until prepareWebGraphics.
    s_deferred = new QOpenGLContext;
    qt_gl_set_global_share_context(s_deferred);
    qAddPostRoutine(releaseDeferred);
}

void prepareWebGraphics()
{
    if (s_prepared || !s_deferred || QOpenGLContext::globalShareContext() != s_deferred)
        return;
    s_prepared = true;
    s_deferred->setScreen(QGuiApplication::primaryScreen());
    s_deferred->setFormat(QSurfaceFormat::defaultFormat());
    s_deferred->create(); // without a GL-capable display the engine draws without it, as at start
}

bool hasWebGraphicsContext()
{
    const QOpenGLContext *shared = QOpenGLContext::globalShareContext();
    return shared && shared->isValid();
}

} // namespace rr
