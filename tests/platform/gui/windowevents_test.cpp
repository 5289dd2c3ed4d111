// Window events let through in the middle of long work: what runs, what waits and
// what is dropped.
#include "platform/gui/windowevents.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QtTest/qtestspontaneevent.h>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

// Counts how often the pending events ran: it asks to be called again each time.
class EventCounter : public QObject
{
public:
    EventCounter() { QCoreApplication::postEvent(this, new QEvent(QEvent::User)); }
    int count = 0;

protected:
    bool event(QEvent *event) override
    {
        if (event->type() != QEvent::User)
            return QObject::event(event);
        ++count;
        QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        return true;
    }
};

void postClick(QWidget *widget)
{
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(
            widget, new QMouseEvent(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier));
}

} // namespace

TEST(WindowEvents, queuedWorkRunsTimersWaitAndOnlyTheOwnWindowTakesTheMouse)
{
    QWidget own;
    auto *ownButton = new QPushButton(QStringLiteral("Cancel"), &own);
    (new QVBoxLayout(&own))->addWidget(ownButton);
    QPushButton other(QStringLiteral("Other"));
    own.show();
    other.show();
    QTest::qWait(20);
    QSignalSpy ownClicks(ownButton, &QPushButton::clicked);
    QSignalSpy otherClicks(&other, &QPushButton::clicked);

    bool queuedRan = false;
    QMetaObject::invokeMethod(
        qApp, [&] { queuedRan = true; }, Qt::QueuedConnection);
    bool timerFired = false;
    QTimer::singleShot(1, qApp, [&] { timerFired = true; });
    QThread::msleep(10);
    postClick(ownButton);
    postClick(&other);
    ownButton->setFocus();
    QCoreApplication::postEvent(ownButton, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " "));
    QCoreApplication::postEvent(ownButton, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " "));
    auto *close = new QCloseEvent;
    QSpontaneKeyEvent::setSpontaneous(close);
    QCoreApplication::postEvent(other.windowHandle(), close);

    windowevents::runPending(&own);
    EXPECT_TRUE(queuedRan);
    EXPECT_FALSE(timerFired) << "a timer waits until the work is done";
    EXPECT_EQ(ownClicks.count(), 1) << "the work's own window takes the mouse, not the keys";
    EXPECT_EQ(otherClicks.count(), 0);
    EXPECT_TRUE(other.isVisible()) << "the window manager cannot close a window meanwhile";

    // Afterwards the timer runs, and the dropped input is not delivered late.
    QTest::qWait(20);
    EXPECT_TRUE(timerFired);
    EXPECT_EQ(otherClicks.count(), 0);
    EXPECT_EQ(ownClicks.count(), 1);
    other.close();
    EXPECT_FALSE(other.isVisible()) << "the program itself still closes windows";
}

TEST(WindowEvents, longWorkRunsOnItsOwnThreadWhileTheEventsKeepRunning)
{
    EventCounter counter;
    const QThread *workThread = nullptr;
    windowevents::runAside([&] {
        workThread = QThread::currentThread();
        QThread::msleep(300);
    });
    EXPECT_NE(workThread, QThread::currentThread());
    EXPECT_GE(counter.count, 3) << "events ran while the work went on";
}

TEST(WindowEvents, showingASplashScreenBeforeTheLoopRunsLetsNoTimerOrInputThrough)
{
    QPushButton other(QStringLiteral("Other"));
    other.show();
    QTest::qWait(20);
    QSignalSpy otherClicks(&other, &QPushButton::clicked);
    int timerFired = 0;
    QTimer due;
    due.setSingleShot(true);
    QObject::connect(&due, &QTimer::timeout, [&] { ++timerFired; });
    due.start(0);
    bool queuedRan = false;
    QMetaObject::invokeMethod(
        qApp, [&] { queuedRan = true; }, Qt::QueuedConnection);
    postClick(&other);

    QWidget splash(nullptr, Qt::SplashScreen);
    windowevents::showWindow(&splash);
    EXPECT_TRUE(splash.isVisible());
    EXPECT_TRUE(queuedRan) << "Qt let the pending events run as it showed the splash";
    EXPECT_EQ(timerFired, 0);
    EXPECT_EQ(otherClicks.count(), 0);

    QTest::qWait(20);
    EXPECT_EQ(timerFired, 1) << "the timer comes again, once";
    EXPECT_EQ(otherClicks.count(), 0);
}
