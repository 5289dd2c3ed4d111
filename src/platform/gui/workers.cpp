#include "platform/gui/workers.h"

#include "platform/gui/windowevents.h"

#include <QFutureWatcher>
#include <QMutex>
#include <QPointer>
#include <QPromise>
#include <QThreadPool>

namespace rr::workers
{
namespace
{

QMutex g_holdLock;
std::function<void()> g_hold;

} // namespace

void runThen(QObject *context, std::function<void()> work, std::function<void()> done)
{
    auto promise = std::make_shared<QPromise<void>>();
    auto *watcher = new QFutureWatcher<void>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, context,
                     [watcher, guard = QPointer<QObject>(context), done = std::move(done)]() mutable {
                         watcher->deleteLater();
                         windowevents::postpone([guard, done = std::move(done)] {
                             if (guard)
                                 done();
                         });
                     });
    watcher->setFuture(promise->future());
    promise->start();
    QThreadPool::globalInstance()->start([promise, work = std::move(work)]() mutable {
        holdForTest();
        work();
        // What the work held (a document's copy) is let go here, not on the window's thread.
        work = nullptr;
        promise->finish();
    });
}

void setHoldForTest(std::function<void()> hold)
{
    const QMutexLocker locker(&g_holdLock);
    g_hold = std::move(hold);
}

void holdForTest()
{
    std::function<void()> hold;
    {
        const QMutexLocker locker(&g_holdLock);
        hold = g_hold;
    }
    if (hold)
        hold();
}

} // namespace rr::workers
