#pragma once
// The main window's menu bar as data: every menu, item, separator and hidden popup
// menu in its order, with its caption, shortcut and the command it runs.
#include <QList>
#include <QString>

namespace rr {

struct MenuEntry {
    // The item's name; members of an item array carry their index ("mnuNav(0)").
    QString name;
    QString caption;  // "-" makes a separator
    QString shortcut; // in QKeySequence's portable text form; "" for none
    int level = 0;    // 0 a menu of the bar, 1 its item, 2 an item of a sub-menu
    // The command the item runs; "" for a menu that opens a sub-menu or a separator.
    QString command;
    bool hidden = false; // a popup menu: on the bar, never shown there
    bool checkable = false;
    bool checked = false;
};

// The menu bar in order: File, Aspect, Edit, Go, View, Tools, Favorites, Recent,
// Help, then the six popup menus.
const QList<MenuEntry> &mainMenuTable();

// The items LoadDynamicMenus adds to the arrays mnuNav, mnuMulti and mnuList.
struct MenuArrayLoad {
    QString arrayName;
    QStringList captions; // elements 1, 2, …
};
const QList<MenuArrayLoad> &dynamicMenuTable();

// The items resetMenuItems disables, in its order.
const QStringList &resetMenuItemNames();

} // namespace rr
