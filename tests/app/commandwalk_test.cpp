// The command walk: the main window put together as the program does it has a command
// behind every slot, so every menu item, toolbar button, pane button and key runs one.
#include "app/assembly.h"
#include "explorer/duplicatesoperations.h"
#include "explorer/iconfetchoperations.h"
#include "options/ui/frmtips.h"
#include "platform/gui/partoperations.h"
#include "shell/frmvardecks.h"
#include "shell/menutable.h"
#include "shell/tipsoperations.h"
#include "support/testenv.h"

#include <QAction>
#include <gtest/gtest.h>

using namespace rr;
using namespace rr::test;

namespace
{

TEST(CommandWalk, everySlotIsAttachedEveryItemRunsOneAndTheInternetExplorerItemsSaySo)
{
    TempHome home;
    ScriptedPrompts prompts;
    frmVardecks window;
    assembleMainWindow(window);
    window.LoadDynamicMenus();

    // A slot nobody attached (a subsystem that no longer registers its part) is named here.
    const QStringList missing = window.commands.missing();
    EXPECT_TRUE(missing.isEmpty()) << "no command attached to " << qPrintable(missing.join(", "));
    // The registry holds what menus, toolbars, buttons and keys run (126 handlers) and the
    // start of an add, which every way in shares.
    EXPECT_GT(window.commands.names().size(), 120);
    // Every control the frame lays out was made by its part and handed to the frame.
    EXPECT_EQ(window.emptyPlaces().size(), 0);

    // The rows of the menu table: a menu, a sub-menu or a separator runs nothing, any
    // other item its handler.
    int items = 0;
    const QList<MenuEntry> &table = mainMenuTable();
    for (qsizetype i = 0; i < table.size(); ++i) {
        const MenuEntry &entry = table[i];
        const bool opensMenu = entry.level == 0 || (i + 1 < table.size() && table[i + 1].level > entry.level);
        const bool separator = entry.caption == QLatin1String("-");
        EXPECT_EQ(entry.command == nullptr, opensMenu || separator) << qPrintable(entry.name);
        EXPECT_EQ(window.menuItem(entry.id)->objectName(), entry.name);
        items += entry.command != nullptr;
    }
    EXPECT_EQ(items, 111);

    window.menuItem(MenuId::mnuToolsIntegrate)->trigger();
    window.menuItem(MenuId::mnuUndoIntegration)->trigger();
    EXPECT_EQ(prompts.texts(),
              QStringList({"There is no Internet Explorer on this system, so Razuzezu Revidod cannot be integrated "
                           "with it.",
                           "There is no Internet Explorer on this system, so there is no integration with it to "
                           "undo."}));
}

// The operations the frame and the Explorer ask of parts whose libraries sit above
// theirs are offered once the program is put together, and reach those parts.
TEST(CommandWalk, theOperationsAskedThroughTheWindowAreOfferedAndHelpTipsOpensTheTipWindow)
{
    TempHome home;
    ScriptedPrompts prompts;
    frmVardecks window;
    assembleMainWindow(window);

    const struct {
        const char *operations;
        bool offered;
    } cases[] = {
        {"TipsOperations", operationsOffered<TipsOperations>(window)},
        {"DuplicatesOperations", operationsOffered<DuplicatesOperations>(window)},
        {"IconFetchOperations", operationsOffered<IconFetchOperations>(window)},
    };
    for (const auto &c : cases)
        EXPECT_TRUE(c.offered) << c.operations;

    ASSERT_EQ(frmTips::existing(), nullptr);
    window.commands.mnuHelpTips_Click();
    ASSERT_NE(frmTips::existing(), nullptr);
    EXPECT_EQ(frmTips::existing()->parentWidget(), &window);
}

} // namespace
