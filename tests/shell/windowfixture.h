#pragma once
// A main window as start-up leaves it (run-time menus built, toolbar and menus reset), with scripted prompts.
#include "controls/qbbuttons_h.h"
#include "shell/frmvardecks.h"
#include "shell/splitter.h"
#include "shell/statuspanels.h"
#include "shell/tabstrip.h"
#include "shell/twips.h"
#include "support/testenv.h"
#include "support/windowcontrols.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>
#include <QToolBar>
#include <gtest/gtest.h>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace rr::test
{

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<frmVardecks>();
        installParts();
        window->LoadDynamicMenus();
        window->resetToolbarButtons();
        window->resetMenuItems();
        window->show();
        QApplication::setActiveWindow(window.get());
        window->activateWindow();
        (void)QTest::qWaitForWindowActive(window.get(), 1000);
    }
    void TearDown() override { window.reset(); }
    // The parts whose controls the test reads, made before the window shows.
    virtual void installParts() {}

    // Resizes the window so that its client area is width × height pixels.
    void setClientSize(int width, int height)
    {
        const QSize extra = window->size() - formClient(*window)->size();
        window->resize(QSize(width, height) + extra);
        QCoreApplication::processEvents();
    }

    // Records each run of a command with its index (0 for the operations).
    template <typename S> void record(S Commands::*slot)
    {
        S &target = window->commands.*slot;
        const QString name = QString::fromLatin1(target.name());
        if constexpr (std::is_same_v<S, Handler>)
            target = [this, name](int index) { runs.append({name, index}); };
        else
            target = [this, name](auto...) { runs.append({name, 0}); };
    }

    ScriptedPrompts prompts;
    TempHome home;
    std::unique_ptr<frmVardecks> window;
    QList<std::pair<QString, int>> runs;
};

} // namespace rr::test
