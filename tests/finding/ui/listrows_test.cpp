// What the finding panes share: a pane knows whether the window it belongs to is still
// whole, as its controls' last events may reach it while the window comes down.
#include "finding/ui/listrows.h"
#include "shell/windowfixture.h"

#include <QMainWindow>
#include <optional>

namespace rr::test
{
namespace
{

// Records, as it goes with the window, whether it still found the window whole.
class TeardownProbe : public QObject
{
public:
    TeardownProbe(QObject *window, std::optional<bool> &usableAtEnd) : QObject(window), m_usableAtEnd(usableAtEnd) {}
    ~TeardownProbe() override { m_usableAtEnd = findingui::windowUsable(this); }

private:
    std::optional<bool> &m_usableAtEnd;
};

using PaneWindow = MainWindowTest;

TEST_F(PaneWindow, aPaneFindsItsWindowWholeUntilTheWindowsOwnDestructorHasRun)
{
    std::optional<bool> usableAtEnd;
    const auto *probe = new TeardownProbe(window.get(), usableAtEnd);
    EXPECT_TRUE(findingui::windowUsable(probe));

    window.reset();
    ASSERT_TRUE(usableAtEnd.has_value());
    EXPECT_FALSE(*usableAtEnd) << "the window's controls may be gone by then";
}

TEST(PaneOfAnotherWindow, findsNoMainWindowToUse)
{
    QMainWindow other;
    const QObject pane(&other);
    EXPECT_FALSE(findingui::windowUsable(&pane));
}

} // namespace
} // namespace rr::test
