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

// The captions of an item array's elements 1 to count, each given with the entry it
// belongs to; the entries are given in order and none is left out.
template <typename Entry, int count> QStringList byEntry(std::initializer_list<std::pair<Entry, QString>> captions)
{
    Q_ASSERT(captions.size() == count);
    QStringList out;
    for (const auto &[entry, caption] : captions) {
        Q_ASSERT(int(entry) == out.size() + 1);
        out << caption;
    }
    return out;
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
        {MenuId::mnuMulti, byEntry<MultiPopupEntry, kMultiPopupEntries>({
                               {MultiPopupEntry::OpenInBrowser, QStringLiteral("Open Vardecks in browser")},
                               {MultiPopupEntry::MoveVardecks, QStringLiteral("Move Vardecks...")},
                               {MultiPopupEntry::DeleteVardecks, QStringLiteral("Delete Vardecks")},
                           })},
        {MenuId::mnuList, byEntry<ListPopupEntry, kListPopupEntries>({
                              {ListPopupEntry::NewVardeck, QStringLiteral("New Vardeck")},
                              {ListPopupEntry::FirstSeparator, QStringLiteral("-")},
                              {ListPopupEntry::OpenVardeck, QStringLiteral("Open Vardeck")},
                              {ListPopupEntry::OpenInBrowser, QStringLiteral("Open Vardeck in browser")},
                              {ListPopupEntry::OpenHomePage, QStringLiteral("Open Vardeck homepage in browser")},
                              {ListPopupEntry::SecondSeparator, QStringLiteral("-")},
                              {ListPopupEntry::MoveVardeck, QStringLiteral("Move Vardeck...")},
                              {ListPopupEntry::UpdateVardeck, QStringLiteral("Update Vardeck")},
                              {ListPopupEntry::DeleteVardeck, QStringLiteral("Delete Vardeck")},
                              {ListPopupEntry::ThirdSeparator, QStringLiteral("-")},
                              {ListPopupEntry::CopyVardeck, QStringLiteral("Copy Vardeck data to clipboard")},
                              {ListPopupEntry::AddToFavorites, QStringLiteral("Add to favorites")},
                          })},
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
