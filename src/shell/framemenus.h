#pragma once
// The main window's menus, as a part that fills a menu array with items of its own
// (the Recent menu's Vardecks) or opens a popup menu sees them. The window implements
// it; menutable.h names the items.
#include "platform/gui/entrylist.h"
#include "shell/menutable.h"

class QAction;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace rr
{

class FrameMenus
{
public:
    // A menu item (an item array's id gives its element 0); element index of an item
    // array.
    virtual QAction *menuItem(MenuId id) const = 0;
    virtual QAction *menuItem(MenuId array, int index) const = 0;
    // The drop-down of a menu or sub-menu.
    virtual QMenu *subMenu(MenuId id) const = 0;
    // Element index of an item array made as a copy of element 0, after the array's
    // last element; and taken away again.
    virtual QAction *loadMenuArrayElement(MenuId array, int index) = 0;
    virtual void unloadMenuArrayElement(MenuId array, int index) = 0;
    virtual int menuArrayUpperBound(MenuId array) const = 0;
    // Opens a popup menu at the mouse pointer, or at the item a key asked about.
    virtual void popupMenu(MenuId menu) = 0;
    // The right-click popup of a Vardeck list (which), opened on row or off the rows
    // (null); severalRows for a list that takes several rows.
    virtual void listPopup(QTreeWidget *list, EntryList which, QTreeWidgetItem *row, bool severalRows) = 0;

protected:
    ~FrameMenus() = default;
};

} // namespace rr
