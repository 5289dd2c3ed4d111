#pragma once
// Keeps long work going on its own thread until a test has done what it does in the
// meantime: at the work's n-th start (counted from 1, over every piece of long work
// handed to a thread), act runs on the window's thread from its event loop, which may
// be in the middle of the work, and the work goes on once act has returned.
#include "platform/gui/workers.h"

#include <QCoreApplication>
#include <QSemaphore>

#include <atomic>
#include <functional>
#include <memory>

namespace rr::test
{

class WorkHold
{
public:
    WorkHold(int at, std::function<void()> act) : m_at(at), m_act(std::move(act))
    {
        workers::setHoldForTest([this] {
            if (++m_starts != m_at)
                return;
            auto acted = std::make_shared<QSemaphore>();
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [this, acted] {
                    m_act();
                    acted->release();
                },
                Qt::QueuedConnection);
            // A test that never gets there fails rather than hangs.
            m_timedOut = !acted->tryAcquire(1, 120000);
            m_done = true;
        });
    }
    ~WorkHold() { workers::setHoldForTest({}); }
    WorkHold(const WorkHold &) = delete;
    WorkHold &operator=(const WorkHold &) = delete;

    // How often long work started while the hold lived.
    int starts() const { return m_starts; }
    // act has run and the work has gone on.
    bool done() const { return m_done; }
    bool timedOut() const { return m_timedOut; }

private:
    const int m_at;
    std::function<void()> m_act;
    std::atomic<int> m_starts{0};
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_timedOut{false};
};

} // namespace rr::test
