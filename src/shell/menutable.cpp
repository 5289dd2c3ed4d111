#include "shell/menutable.h"

namespace rr
{
namespace
{

MenuEntry row(MenuId id, int level, const char *name, const char *caption, const char *shortcut = "",
              HandlerRef command = nullptr)
{
    MenuEntry e;
    e.id = id;
    e.name = QString::fromLatin1(name);
    e.caption = QString::fromLatin1(caption);
    e.shortcut = QString::fromLatin1(shortcut);
    e.level = level;
    e.command = command;
    return e;
}

MenuEntry hidden(MenuEntry e)
{
    e.hidden = true;
    return e;
}

MenuEntry checkable(MenuEntry e, bool checked)
{
    e.checkable = true;
    e.checked = checked;
    return e;
}

MenuEntry arrayElement(MenuEntry e)
{
    e.name += QStringLiteral("(0)");
    e.array = true;
    return e;
}

QList<MenuEntry> buildMenuTable()
{
    QList<MenuEntry> t;
#define RR_MENU(level, name, caption) t << row(MenuId::name, level, #name, caption);
#define RR_MENU_ARRAY(level, name, caption) t << arrayElement(row(MenuId::name, level, #name, caption));
#define RR_POPUP(level, name, caption) t << hidden(row(MenuId::name, level, #name, caption));
#define RR_SUB(level, name, caption) t << row(MenuId::name, level, #name, caption);
#define RR_ITEM(level, name, caption, shortcut)                                                                        \
    t << row(MenuId::name, level, #name, caption, shortcut, &Commands::name##_Click);
#define RR_CHECK(level, name, caption, shortcut, checked)                                                              \
    t << checkable(row(MenuId::name, level, #name, caption, shortcut, &Commands::name##_Click), checked);
#define RR_FORWARD(level, name, caption, handler) t << row(MenuId::name, level, #name, caption, "", &Commands::handler);
#define RR_SEP(level, name) t << row(MenuId::name, level, #name, "-");
#define RR_ARRAY(level, name, caption)                                                                                 \
    t << arrayElement(row(MenuId::name, level, #name, caption, "", &Commands::name##_Click));
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
    return t;
}

} // namespace

const QList<MenuEntry> &mainMenuTable()
{
    static const QList<MenuEntry> table = buildMenuTable();
    return table;
}

const MenuEntry &menuEntry(MenuId id)
{
    return mainMenuTable()[int(id)];
}

const QList<MenuArrayLoad> &dynamicMenuTable()
{
    static const QList<MenuArrayLoad> table = {
        {MenuId::mnuNav,
         {QStringLiteral("&First           F2"), QStringLiteral("&Previous    F3"), QStringLiteral("&Next          F4"),
          QStringLiteral("&Last           F5")}},
        {MenuId::mnuMulti,
         {QStringLiteral("Open Vardecks in browser"), QStringLiteral("Move Vardecks..."),
          QStringLiteral("Delete Vardecks")}},
        {MenuId::mnuList,
         {QStringLiteral("New Vardeck"), QStringLiteral("-"), QStringLiteral("Open Vardeck"),
          QStringLiteral("Open Vardeck in browser"), QStringLiteral("Open Vardeck homepage in browser"),
          QStringLiteral("-"), QStringLiteral("Move Vardeck..."), QStringLiteral("Update Vardeck"),
          QStringLiteral("Delete Vardeck"), QStringLiteral("-"), QStringLiteral("Copy Vardeck data to clipboard"),
          QStringLiteral("Add to favorites")}},
    };
    return table;
}

const QList<MenuId> &resetMenuItemIds()
{
    static const QList<MenuId> ids = {
        MenuId::mnuEditModify,    MenuId::mnuEmailVD,          MenuId::mnuEditClip,        MenuId::mnuEditDelete,
        MenuId::mnuNavigate,      MenuId::mnuEditDeleteTopic,  MenuId::mnuToolsIconFolder, MenuId::mnuToolsOpen,
        MenuId::mnuToolsSynch,    MenuId::mnuToolsIconVD,      MenuId::mnuToolsIconRemove, MenuId::mnuToolsIconFile,
        MenuId::mnuThumbFolder,   MenuId::mnuToolsSynchFolder, MenuId::mnuThumbVD,         MenuId::mnuThumbRemove,
        MenuId::mnuToolsOpenHome, MenuId::mnuViewNotes,        MenuId::mnuViewPreview,     MenuId::mnuViewDetails,
        MenuId::mnuViewVD,        MenuId::mnuFavsAdd,          MenuId::mnuFavsDelete,
    };
    return ids;
}

} // namespace rr
