#pragma once
// The main window's menu bar as data: every menu, item, separator and hidden popup
// menu in its order, with its caption, shortcut and the command it runs. The rows are
// in menutable.inc; every row has a MenuId, which is how the program names a menu
// item, so that a misspelt item is a compile error.
#include "platform/gui/commands.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace rr
{

// One per row of the menu table, in its order; an item array's id names its element 0.
enum class MenuId : int {
#define RR_MENU_ROW(level, name, ...) name,
#define RR_MENU RR_MENU_ROW
#define RR_MENU_ARRAY RR_MENU_ROW
#define RR_POPUP RR_MENU_ROW
#define RR_SUB RR_MENU_ROW
#define RR_ITEM RR_MENU_ROW
#define RR_CHECK RR_MENU_ROW
#define RR_FORWARD RR_MENU_ROW
#define RR_SEP RR_MENU_ROW
#define RR_ARRAY RR_MENU_ROW
#include "shell/menutable.inc"
#undef RR_MENU
#undef RR_MENU_ARRAY
#undef RR_POPUP
#undef RR_SUB
#undef RR_ITEM
#undef RR_CHECK
#undef RR_FORWARD
#undef RR_SEP
#undef RR_ARRAY
#undef RR_MENU_ROW
};

struct MenuEntry {
    MenuId id;
    // The item's name; element 0 of an item array carries its index ("mnuNav(0)").
    QString name;
    QString caption;  // "-" makes a separator
    QString shortcut; // in QKeySequence's portable text form; "" for none
    int level = 0;    // 0 a menu of the bar, 1 its item, 2 an item of a sub-menu
    // The command the item runs; none for a menu that opens a sub-menu or a separator.
    HandlerRef command = nullptr;
    bool hidden = false; // a popup menu: on the bar, never shown there
    bool checkable = false;
    bool checked = false;
    bool array = false; // element 0 of an item array
};

// The menu bar in order; entry i is the row of MenuId i.
const QList<MenuEntry> &mainMenuTable();
const MenuEntry &menuEntry(MenuId id);

// The items LoadDynamicMenus adds to the arrays mnuNav, mnuMulti and mnuList.
struct MenuArrayLoad {
    MenuId array;
    QStringList captions; // elements 1, 2, …
};
const QList<MenuArrayLoad> &dynamicMenuTable();

// The items resetMenuItems disables, in its order.
const QList<MenuId> &resetMenuItemIds();

} // namespace rr
