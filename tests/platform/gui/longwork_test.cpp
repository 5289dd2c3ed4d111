// What may start while long work runs: in the middle of work that lets window events
// through, a command a queued call brings waits until the work has ended and no
// message box opens; work handed to a thread of its own gives its result back on the
// window's thread, after any such work, and not to a window that is gone.
#include "platform/gui/commands.h"
#include "platform/gui/windowevents.h"
#include "platform/gui/workers.h"
#include "platform/prompt.h"

#include <QApplication>
#include <QCloseEvent>
#include <QTest>
#include <QThread>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

using namespace rr;

namespace
{

// Runs call from the event loop in the middle of long work: it is queued before the
// pending events run.
void duringWork(const std::function<void()> &call)
{
    QMetaObject::invokeMethod(qApp, call, Qt::QueuedConnection);
    windowevents::runPending();
}

// Records what reaches the user; answers Yes, OK or a path.
class Recorded final : public PromptHandler
{
public:
    Recorded() : m_previous(prompt::installed()) { prompt::install(this); }
    ~Recorded() override { prompt::install(m_previous); }
    MsgResult message(const MessageRequest &request) override
    {
        shown << request.text;
        return request.buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Yes;
    }
    QString file(const FileRequest &request) override
    {
        shown << request.title;
        return QStringLiteral("/chosen");
    }
    QString input(const InputRequest &request, bool *ok) override
    {
        shown << request.title;
        *ok = true;
        return QStringLiteral("typed");
    }
    QStringList shown;

private:
    PromptHandler *m_previous;
};

class CloseCounter final : public QWidget
{
public:
    int closes = 0;

protected:
    void closeEvent(QCloseEvent *event) override
    {
        ++closes;
        event->ignore();
    }
};

} // namespace

TEST(LongWork, aCommandQueuedInTheMiddleOfTheWorkRunsOnceAfterItAndNotOnceTheWindowIsGone)
{
    auto commands = std::make_unique<Commands>();
    int runs = 0;
    int prologues = 0;
    commands->beforeEveryCommand([&] { ++prologues; });
    commands->mnuToolsOptions_Click = [&](int) { ++runs; };

    duringWork([&] { commands->mnuToolsOptions_Click(); });
    EXPECT_EQ(runs, 0) << "the command ran in the middle of the work";
    EXPECT_EQ(prologues, 0);
    windowevents::runPending();
    EXPECT_EQ(runs, 0) << "still mid-work";
    ASSERT_TRUE(QTest::qWaitFor([&] { return runs > 0; }, 5000));
    QTest::qWait(20);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(prologues, 1);

    // A command left waiting when the window's commands go does not run.
    duringWork([&] { commands->mnuToolsOptions_Click(); });
    commands.reset();
    QTest::qWait(50);
    EXPECT_EQ(runs, 1);
}

TEST(LongWork, noEditIsEndedUnaskedInTheMiddleOfTheWork)
{
    Commands commands;
    int asked = 0;
    commands.guardEdits([&](OnEdit) {
        ++asked;
        return true;
    });
    std::optional<bool> mayEnd;
    duringWork([&] { mayEnd = commands.mayEndEdit(OnEdit::Ends); });
    ASSERT_TRUE(mayEnd.has_value());
    EXPECT_FALSE(*mayEnd);
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(commands.mayEndEdit(OnEdit::Ends)) << "outside the work the question is asked";
    EXPECT_EQ(asked, 1);
}

TEST(LongWork, aNoticeInTheMiddleOfTheWorkIsShownAfterItInOrderAndNoQuestionOrDialogIsAsked)
{
    Recorded recorded;
    const struct {
        const char *what;
        std::function<QString()> ask;
        QString answer;
    } cases[] = {
        {"a Yes/No question", [] { return prompt::askYesNo("Go on?") ? "Yes" : "No"; }, "No"},
        {"an OK/Cancel question",
         [] { return prompt::show("Stop?", MsgButtons::OkCancel) == MsgResult::Ok ? "Ok" : "Cancel"; }, "Cancel"},
        {"a file",
         [] {
             FileRequest request;
             request.title = "Which file?";
             return prompt::file(request);
         },
         ""},
        {"a text",
         [] {
             bool ok = true;
             InputRequest request;
             request.title = "Which name?";
             const QString text = prompt::input(request, &ok);
             return ok ? text : QStringLiteral("cancelled");
         },
         "cancelled"},
    };
    QStringList answers;
    duringWork([&] {
        prompt::show("First notice");
        for (const auto &c : cases)
            answers << c.ask();
        prompt::tell(Notice("Second notice"));
    });
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(answers.value(int(i)), cases[i].answer) << cases[i].what;
    EXPECT_TRUE(recorded.shown.isEmpty()) << recorded.shown.join(" | ").toStdString();
    windowevents::runPending();
    EXPECT_TRUE(recorded.shown.isEmpty()) << "still mid-work";
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorded.shown.size() == 2; }, 5000));
    EXPECT_EQ(recorded.shown, QStringList({"First notice", "Second notice"}));
    QTest::qWait(20);
    EXPECT_EQ(recorded.shown.size(), 2);
}

TEST(LongWork, theWorksOwnWindowDecidesOnItsCloseBoxWhileOtherWindowsStayOpen)
{
    CloseCounter own;
    QWidget other;
    own.show();
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&own));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));
    for (QWidget *window : {static_cast<QWidget *>(&own), &other}) {
        auto *close = new QCloseEvent;
        QSpontaneKeyEvent::setSpontaneous(close);
        QCoreApplication::postEvent(window->windowHandle(), close);
    }
    windowevents::runPending(&own);
    EXPECT_EQ(own.closes, 1);
    EXPECT_TRUE(other.isVisible());
}

TEST(LongWork, workOnAThreadOfItsOwnGivesItsResultBackOnTheWindowsThreadOnlyAfterWorkThatLetsEventsThrough)
{
    QObject context;
    const QThread *workThread = nullptr;
    const QThread *doneThread = nullptr;
    std::atomic<bool> release{false};
    int result = 0;
    workers::run<int>(
        &context,
        [&] {
            workThread = QThread::currentThread();
            while (!release)
                QThread::msleep(1);
            return 42;
        },
        [&](int &made) {
            doneThread = QThread::currentThread();
            result = made;
        });
    // The work ends while the window's thread is in the middle of other long work.
    windowevents::runAside([&] {
        release = true;
        QThread::msleep(150);
    });
    EXPECT_EQ(result, 0) << "the result came in the middle of the other work";
    ASSERT_TRUE(QTest::qWaitFor([&] { return result == 42; }, 5000));
    EXPECT_NE(workThread, QThread::currentThread());
    EXPECT_EQ(doneThread, QThread::currentThread());
}

TEST(LongWork, noResultComesBackOnceItsWindowIsGone)
{
    auto context = std::make_unique<QObject>();
    std::atomic<bool> release{false};
    std::atomic<bool> worked{false};
    bool done = false;
    workers::runThen(
        context.get(),
        [&] {
            while (!release)
                QThread::msleep(1);
            worked = true;
        },
        [&] { done = true; });
    context.reset();
    release = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return worked.load(); }, 5000));
    QTest::qWait(50);
    EXPECT_FALSE(done);
}
