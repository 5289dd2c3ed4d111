// What the web panes are handed of the main window: the window's own database, commands
// and views; and the window's session, which keeps the pages the last browser scan found.
#include "shell/frmvardecks.h"
#include "support/testenv.h"
#include "web/ui/installweb.h"

#include <gtest/gtest.h>

using namespace rr;
using namespace rr::test;

namespace
{

class WebWindowTest : public ::testing::Test
{
protected:
    TempHome home;
    frmVardecks window;
};

DetectedPage page(const char *address, const char *name)
{
    DetectedPage found;
    found.address = QString::fromLatin1(address);
    found.name = QString::fromLatin1(name);
    return found;
}

QString addresses(const QList<DetectedPage> &pages)
{
    QStringList texts;
    for (const DetectedPage &found : pages)
        texts << found.name + QStringLiteral(" ") + found.address;
    return texts.join(QStringLiteral(", "));
}

// The Web Aspect pages the window holds stale, in the order folders, all, favourites,
// hits.
QString stalePages(const CollectionChanges &changes)
{
    const struct {
        CollectionChanges::AspectPage page;
        const char *name;
    } pages[] = {{CollectionChanges::FoldersPage, "folders"},
                 {CollectionChanges::AllPage, "all"},
                 {CollectionChanges::FavsPage, "favourites"},
                 {CollectionChanges::HitsPage, "hits"}};
    QStringList stale;
    for (const auto &p : pages)
        if (changes.aspectPageStale(p.page))
            stale << QString::fromLatin1(p.name);
    return stale.join(QStringLiteral(" "));
}

} // namespace

TEST_F(WebWindowTest, theWebPanesAreHandedTheMainWindowsOwnDatabaseCommandsAndViews)
{
    const WebWindow handed = webWindowOf(window);
    const struct {
        const char *what;
        const void *handed;
        const void *own;
    } cases[] = {
        {"main window", &handed.mainWindow, static_cast<QWidget *>(&window)},
        {"parts", &handed.parts, &window},
        {"commands", &handed.commands, &window.commands},
        {"database", &handed.db, &window.dbXML},
        {"shown items", &handed.shown, static_cast<ShownItems *>(&window)},
        {"panes", &handed.panes, static_cast<FramePanes *>(&window)},
        {"status bar", &handed.status, static_cast<FrameStatus *>(&window)},
        {"menus", &handed.menus, static_cast<FrameMenus *>(&window)},
        {"collection changes", &handed.changes, static_cast<CollectionChanges *>(&window)},
        {"options", &handed.options, static_cast<FrameOptions *>(&window)},
        {"session", &handed.session, static_cast<FrameSession *>(&window)},
        {"pictures", &handed.pictures, &window.vardeckPictures()},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.handed, c.own) << c.what;
}

TEST_F(WebWindowTest, theSessionKeepsThePagesTheLastScanFound)
{
    FrameSession &session = window;
    EXPECT_FALSE(session.isUnloaded());
    EXPECT_EQ(session.splashWindow(), nullptr);
    EXPECT_EQ(addresses(session.detectedPages()), "");

    session.browserPagesFound({page("http://a.example/", "A"), page("http://b.example/", "B")});
    EXPECT_EQ(addresses(session.detectedPages()), "A http://a.example/, B http://b.example/");
    EXPECT_EQ(addresses(window.detectedPages()), "A http://a.example/, B http://b.example/");

    session.browserPagesFound({page("http://c.example/", "C")});
    EXPECT_EQ(addresses(session.detectedPages()), "C http://c.example/");
}

TEST_F(WebWindowTest, anAspectPageIsStaleFromTheChangeThatMarksItUntilItIsMade)
{
    CollectionChanges &changes = window;
    EXPECT_EQ(stalePages(changes), "folders all favourites hits") << "none made yet";

    const struct {
        StalePages change;
        const char *stale;
    } cases[] = {
        {StalePages{}, ""},
        {StalePages{.folders = true}, "folders"},
        {StalePages{.all = true, .hits = true}, "all hits"},
        {StalePages{.favorites = true}, "favourites"},
        {StalePages::everyPage(), "folders all favourites hits"},
    };
    for (const auto &c : cases) {
        for (int page = CollectionChanges::FoldersPage; page <= CollectionChanges::HitsPage; ++page)
            changes.aspectPageMade(page);
        changes.collectionChanged(c.change);
        EXPECT_EQ(stalePages(changes), c.stale);
    }

    changes.aspectPageMade(CollectionChanges::AllPage);
    EXPECT_EQ(stalePages(changes), "folders favourites hits");
}

TEST_F(WebWindowTest, theMenusGiveAnItemByItsId)
{
    const FrameMenus &menus = window;
    const MenuId items[] = {MenuId::mnuAspectWeb, MenuId::mnuAspectExplorer};
    for (const MenuId id : items) {
        ASSERT_NE(menus.menuItem(id), nullptr);
        EXPECT_EQ(menus.menuItem(id), window.menuItem(id));
    }
    EXPECT_EQ(menus.menuItem(MenuId::mnuAspectWeb)->objectName(), "mnuAspectWeb");
}
