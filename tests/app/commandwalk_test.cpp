// The main window as the program puts it together: every menu item, popup menu item, toolbar
// button and pane button a user can reach runs a command of its own. The two Internet Explorer
// items are the one exception: there is none on Linux, and they say so plainly.
#include "app/assembly.h"
#include "controls/qbbuttons_h.h"
#include "shell/frmvardecks.h"
#include "support/testenv.h"

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

struct Handler {
    QString control;
    QString command;
};

QList<Handler> reachableHandlers(const frmVardecks &window)
{
    QList<Handler> handlers;
    for (QAction *item : window.allMenuItems()) {
        if (!item->isSeparator() && !item->menu())
            handlers.append({item->objectName(), item->property("rrCommand").toString()});
    }
    for (int position = 1; position <= window.toolbarButtonCount(); ++position) {
        QAction *button = window.toolbarButton(position);
        if (!button->isSeparator())
            handlers.append({button->objectName(), button->property("rrCommand").toString()});
    }
    handlers.append(Handler{"Toolbar2.Buttons(1)", "mnuAspectExplorer_Click"});
    handlers.append(Handler{"Toolbar2.Buttons(2)", "mnuAspectWeb_Click"});
    // What the tab strips and the View menu run themselves.
    for (const char *command : {"showAspectExplorer", "populateFavsList", "populateWMOnTopicNode"})
        handlers.append(Handler{"tab strips", command});
    for (const qbButtons_H *button : window.findChildren<qbButtons_H *>())
        handlers.append({button->objectName(), button->property("rrCommand").toString()});
    return handlers;
}

TEST(CommandWalk, everyItemAndButtonRunsAnAttachedCommandAndTheInternetExplorerItemsSaySo)
{
    test::TempHome home;
    test::ScriptedPrompts prompts;
    frmVardecks window;
    assembleMainWindow(window);
    window.LoadDynamicMenus();

    const QList<Handler> handlers = reachableHandlers(window);
    QStringList missing, controls;
    for (const Handler &handler : handlers) {
        controls << handler.control;
        if (handler.command.isEmpty() || !window.hasCommand(handler.command))
            missing.append(handler.control + " -> " + handler.command);
    }
    EXPECT_TRUE(missing.isEmpty()) << qPrintable(missing.join(", "));
    // The walk met the menus, both toolbars and the panes' buttons.
    EXPECT_GT(handlers.size(), 120);
    EXPECT_TRUE(controls.contains("cmdWeb(0)"));
    EXPECT_TRUE(controls.contains("mnuList(11)"));

    window.menuItem("mnuToolsIntegrate")->trigger();
    window.menuItem("mnuUndoIntegration")->trigger();
    EXPECT_EQ(prompts.texts(),
              QStringList({"There is no Internet Explorer on this system, so Razuzezu Revidod cannot be integrated "
                           "with it.",
                           "There is no Internet Explorer on this system, so there is no integration with it to "
                           "undo."}));
}

} // namespace
