#pragma once
// Long work that runs on a thread of its own while the window's thread goes on with
// its event loop: no nested loop waits for it, so every command, dialog and repaint
// works as ever meanwhile. What the work needs it takes as its own copy before it
// starts (a copy of the document, not the document: libxml2 lets no two threads use
// one document); what it makes comes back to the window's thread, where done runs.
//
// done runs from the window's event loop, never while window events pass in the
// middle of other long work (windowevents.h): it waits until that work has ended.
// It does not run once context is gone; the work still ends on its own thread, and
// the application waits for it as it quits.
#include <QObject>

#include <functional>
#include <memory>

namespace rr::workers
{

// Runs work on a thread of the application's pool, then done on the window's thread.
void runThen(QObject *context, std::function<void()> work, std::function<void()> done);

// The same, handing the work's result to done.
template <typename Result> void run(QObject *context, std::function<Result()> work, std::function<void(Result &)> done)
{
    auto result = std::make_shared<Result>();
    runThen(
        context, [result, work = std::move(work)]() mutable { *result = work(); },
        [result, done = std::move(done)] { done(*result); });
}

// For tests: hold runs on the work's thread before each piece of long work here and
// in windowevents::runAside, so that a test can keep the work going until it has done
// what it does meanwhile. An empty function ends it.
void setHoldForTest(std::function<void()> hold);
// Runs the test's hold, if any (on the work's thread).
void holdForTest();

} // namespace rr::workers
