#pragma once
// A user's drag as the window's views receive it: the left button pressed at from in a view's
// viewport, the pointer moved past the drag distance (in small steps first, or in one move), and
// the button then let go where the platform's drag loop keeps it: the view never sees the release.
// The window's drag loop, replaced by the test, runs inside the last move.
#include <QApplication>
#include <QPoint>
#include <QTest>
#include <QWidget>

namespace rr::test
{

inline void mouseDragFrom(QWidget *viewport, const QPoint &from, bool smallSteps)
{
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    if (smallSteps) {
        QTest::mouseMove(viewport, from + QPoint(2, 0));
        QTest::mouseMove(viewport, from + QPoint(4, 1));
    }
    QTest::mouseMove(viewport, from + QPoint(QApplication::startDragDistance() + 10, 1));
    QTestPrivate::qtestMouseButtons = Qt::NoButton;
    QCoreApplication::processEvents();
}

} // namespace rr::test
