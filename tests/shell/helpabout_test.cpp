// The About box's links as the pointer moves over them.
#include "shell/frmhelpabout.h"
#include "support/testenv.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

namespace
{

using rr::frmHelpAbout;

// A link resting under the pointer is underlined, the other one not; moving on to the frame
// around them or to the window takes the underline away from both.
TEST(AboutBox, aLinkUnderThePointerStaysUnderlinedUntilThePointerMovesOntoTheFrameOrTheWindow)
{
    rr::test::TempHome home;
    frmHelpAbout about;
    about.show();
    QApplication::setActiveWindow(&about);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    QWindow *screen = about.windowHandle();
    const auto moveOnto = [&](QWidget *widget, QPoint at) {
        QTest::mouseMove(screen, screen->mapFromGlobal(widget->mapToGlobal(at)));
    };
    // A point of widget where nothing else lies over it.
    const auto bare = [&](QWidget *widget) {
        for (int y = 2; y < widget->height(); y += 3) {
            for (int x = 2; x < widget->width(); x += 3) {
                QWidget *top = about.childAt(widget->mapTo(&about, QPoint(x, y)));
                if (top == widget || (!top && widget == &about))
                    return QPoint(x, y);
            }
        }
        ADD_FAILURE() << "no bare point";
        return QPoint();
    };
    const auto underlined = [](const QLabel *link) { return link->font().underline(); };

    const std::pair<QLabel *, QLabel *> links[] = {{about.lblEMail, about.lblURL}, {about.lblURL, about.lblEMail}};
    for (const auto &[link, other] : links) {
        for (QWidget *away : {static_cast<QWidget *>(about.Frame1), static_cast<QWidget *>(&about)}) {
            SCOPED_TRACE(link->objectName().toStdString() + " then " + away->objectName().toStdString());
            moveOnto(link, QPoint(3, link->height() / 2));
            moveOnto(link, QPoint(5, link->height() / 2));
            EXPECT_TRUE(underlined(link));
            EXPECT_FALSE(underlined(other));
            moveOnto(away, bare(away));
            EXPECT_FALSE(underlined(link));
            EXPECT_FALSE(underlined(other));
        }
    }
}

} // namespace
