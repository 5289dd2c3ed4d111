#pragma once
// The main window's menus, as a part that fills a menu array with items of its own
// (the Recent menu's Vardecks) sees them. The window implements it; menutable.h names
// the items.
#include "shell/menutable.h"

class QAction;
class QMenu;

namespace rr
{

class FrameMenus
{
public:
    // Element index of an item array.
    virtual QAction *menuItem(MenuId array, int index) const = 0;
    // The drop-down of a menu or sub-menu.
    virtual QMenu *subMenu(MenuId id) const = 0;
    // Element index of an item array made as a copy of element 0, after the array's
    // last element; and taken away again.
    virtual QAction *loadMenuArrayElement(MenuId array, int index) = 0;
    virtual void unloadMenuArrayElement(MenuId array, int index) = 0;
    virtual int menuArrayUpperBound(MenuId array) const = 0;

protected:
    ~FrameMenus() = default;
};

} // namespace rr
