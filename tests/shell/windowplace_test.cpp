// Where and how large the main window opens from its saved place, and its least width
// as the user moves the main bar.
#include "explorer/explorer.h"
#include "finding/ui/findingui.h"
#include "platform/paths.h"
#include "shell/mainmodule.h"
#include "storage/registryfunctions.h"
#include "storage/session.h"
#include "web/ui/preview.h"
#include "windowfixture.h"

#include <QGuiApplication>
#include <QScreen>

using namespace rr;
using namespace rr::test;
namespace tw = rr::twips;

namespace
{

const QString kApp = QStringLiteral("Software\\Quorvane\\Vardecks\\");

void store(const QString &name, const QString &value)
{
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, kApp, name, value);
}

struct SavedPlace : ::testing::Test {
    void SetUp() override
    {
        paths::prepareProgramFolder();
        store("BasicApp", "ok");
        RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, kApp + "UserOptions\\", "hideSplash", "True");
        RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, kApp + "UserOptions\\", "tipStartup", "False");
    }
    // The frame with the panes whose least sizes the main bar weighs: the Explorer's and
    // the preview's, whose row of buttons sets the right pane's least width. (The Web
    // Aspect's strip alone is wider than the test screen.)
    std::unique_ptr<frmVardecks> start()
    {
        auto window = std::make_unique<frmVardecks>();
        installExplorer(*window);
        installPreview(*window);
        installFinding(*window);
        Main(*window);
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }));
        return window;
    }
    static QRect screen() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    TempHome home;
    ScriptedPrompts prompts;
};

// Drags the main bar with the mouse by dx pixels.
void dragMainBar(frmVardecks &w, int dx)
{
    QWidget *bar = Splitter2(w)->bar();
    const QPoint grip(bar->width() / 2, bar->height() / 2);
    QTest::mousePress(bar, Qt::LeftButton, {}, grip);
    QMouseEvent move(QEvent::MouseMove, QPointF(grip + QPoint(dx, 0)), bar->mapToGlobal(QPointF(grip + QPoint(dx, 0))),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(bar, &move);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(dx, 0));
    QCoreApplication::processEvents();
}

} // namespace

TEST(WindowPlace, aSavedPlaceComesOntoTheScreenWithItsFrameAndKeepsWhatFits)
{
    const QRect screen(0, 30, 1600, 970);
    const QMargins frame(8, 40, 8, 8);
    const struct {
        const char *what;
        QRect saved;
        bool centred;
        QRect expected;
    } cases[] = {
        {"fits: kept", QRect(100, 80, 1000, 700), false, QRect(100, 80, 1000, 700)},
        {"wider than the screen", QRect(160, 140, 2016, 800), false, QRect(0, 140, 1584, 800)},
        {"taller than the screen", QRect(10, 30, 800, 1200), false, QRect(10, 30, 800, 922)},
        {"above the panel", QRect(10, 0, 800, 600), false, QRect(10, 30, 800, 600)},
        {"past the right and bottom edges", QRect(1200, 900, 800, 600), false, QRect(784, 352, 800, 600)},
        {"left of the screen", QRect(-300, 100, 800, 600), false, QRect(0, 100, 800, 600)},
        {"maximised: the middle", QRect(0, 0, 700, 506), true, QRect(442, 238, 700, 506)},
        {"maximised and too large", QRect(0, 0, 2000, 1200), true, QRect(0, 30, 1584, 922)},
    };
    for (const auto &c : cases)
        EXPECT_EQ(frmVardecks::fittedPlace(c.saved, screen, frame, c.centred), c.expected) << c.what;
}

TEST_F(SavedPlace, aLeftPaneSavedFarRightNeitherWidensTheWindowBeyondTheScreenNorHidesTheRightPane)
{
    // The main bar was dragged to the right edge of a maximised window, then the
    // window restored and closed.
    const int screenWidth = screen().width();
    store("frmWidth", QString::number((screenWidth + 416) * 15));
    store("frmLeft", "2400");
    store("splitter2", QString::number((screenWidth - 6) * 15));
    auto window = start();
    const QRect frame = window->frameGeometry();
    EXPECT_LE(frame.right(), screen().right());
    EXPECT_GE(frame.left(), screen().left());
    EXPECT_LE(window->width(), screenWidth - 16);
    EXPECT_LE(formClient(*window)->minimumWidth(), formClient(*window)->width()) << "the window may be narrowed";
    EXPECT_GT(tw::width(Picture1(*window)), 2520) << "the right pane is laid out";
    EXPECT_LE(cmdPreview(*window, 5)->geometry().right(), tabInfo(*window)->width());
}

TEST_F(SavedPlace, aWindowThatStartsMaximisedReturnsToAPlaceThatShowsItsTitleBar)
{
    // A maximised close saves the fixed size at the screen's corner.
    store("frmWidth", "10500");
    store("frmHeight", "7590");
    store("frmLeft", "0");
    store("frmTop", "0");
    store("Maximised", "True");
    auto window = start();
    EXPECT_TRUE(window->isMaximized());
    window->showNormal();
    QCoreApplication::processEvents();
    EXPECT_GE(window->geometry().top(), screen().top() + 40) << "room for a title bar above the client";
    EXPECT_GE(window->geometry().left(), screen().left());
    EXPECT_LE(window->geometry().right(), screen().right());
}

TEST_F(SavedPlace, theLeastWidthFollowsTheMainBarUpToTheWindowsWidth)
{
    store("frmWidth", "11250"); // 750 px
    store("splitter2", "3000");
    auto window = start();
    frmVardecks &w = *window;
    const int width = w.width();
    const int least = formClient(w)->minimumWidth();
    ASSERT_LT(least, formClient(w)->width());

    // Far right: the window does not grow, and no longer goes below its width.
    dragMainBar(w, width);
    EXPECT_GT(Splitter2(w)->SplitterPos(), 3000);
    EXPECT_EQ(w.width(), width);
    EXPECT_EQ(formClient(w)->minimumWidth(), formClient(w)->width());

    // Back left of where it started: the window narrows further than before.
    dragMainBar(w, -tw::toPx(Splitter2(w)->SplitterPos() - 1500));
    EXPECT_LT(formClient(w)->minimumWidth(), least);
    w.resize(formClient(w)->minimumWidth(), w.height());
    QCoreApplication::processEvents();
    EXPECT_LT(formClient(w)->width(), least);
}
