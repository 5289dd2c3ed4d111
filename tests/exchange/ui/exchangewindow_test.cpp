// What the Import/Export window is handed of the main window: the window's own database,
// commands and views, and nothing shown through the view of what is shown.
#include "exchange/ui/installexchange.h"
#include "explorer/explorerfixture.h"

using namespace rr;
using namespace rr::test;

TEST_F(ExplorerTest, theImportExportWindowIsHandedTheMainWindowsOwnDatabaseCommandsAndViews)
{
    const ExchangeWindow handed = exchangeWindowOf(*window);
    const struct {
        const char *what;
        const void *handed;
        const void *own;
    } cases[] = {
        {"main window", &handed.mainWindow, static_cast<QWidget *>(window.get())},
        {"parts", &handed.parts, window.get()},
        {"database", &handed.db, &window->dbXML},
        {"commands", &handed.commands, &window->commands},
        {"shown items", &handed.shown, static_cast<ShownItems *>(window.get())},
        {"status bar", &handed.status, static_cast<FrameStatus *>(window.get())},
        {"collection changes", &handed.changes, static_cast<CollectionChanges *>(window.get())},
        {"options", &handed.options, static_cast<FrameOptions *>(window.get())},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.handed, c.own) << c.what;
}

TEST_F(ExplorerTest, theViewOfWhatIsShownShowsNoFolderAndNoVardeck)
{
    window->showFolder("T1", "News");
    window->showVardeck("W1", "Example");
    ShownItems &shown = *window;

    shown.showNoFolder();
    shown.showNoVardeck();

    EXPECT_EQ(window->currentTID(), "");
    EXPECT_EQ(window->folderCaption(), "No folder selected");
    EXPECT_FALSE(window->vardeckShown());
    EXPECT_EQ(window->vardeckCaption(), "No Vardeck selected");
}
