#include "shell/menutable.h"

namespace rr {
namespace {

MenuEntry menu(const char *name, const char *caption, bool hidden = false)
{
    MenuEntry e;
    e.name = QString::fromLatin1(name);
    e.caption = QString::fromLatin1(caption);
    e.level = 0;
    e.hidden = hidden;
    return e;
}

// An item that runs its own handler (name + "_Click"), or the command given.
MenuEntry item(int level, const char *name, const char *caption, const char *shortcut = "",
               const char *command = nullptr)
{
    MenuEntry e;
    e.name = QString::fromLatin1(name);
    e.caption = QString::fromLatin1(caption);
    e.shortcut = QString::fromLatin1(shortcut);
    e.level = level;
    if (e.caption != QLatin1String("-"))
        e.command = command ? QString::fromLatin1(command) : e.name + QStringLiteral("_Click");
    return e;
}

MenuEntry sub(int level, const char *name, const char *caption)
{
    MenuEntry e;
    e.name = QString::fromLatin1(name);
    e.caption = QString::fromLatin1(caption);
    e.level = level;
    return e;
}

MenuEntry sep(int level, const char *name)
{
    return item(level, name, "-");
}

// Element 0 of an item array; its elements all run the array's handler with their index.
MenuEntry arrayItem(const char *array, const char *caption)
{
    MenuEntry e;
    e.name = QString::fromLatin1(array) + QStringLiteral("(0)");
    e.caption = QString::fromLatin1(caption);
    e.level = 1;
    e.command = QString::fromLatin1(array) + QStringLiteral("_Click");
    return e;
}

QList<MenuEntry> buildMenuTable()
{
    QList<MenuEntry> t;
    t << menu("mnuFile", "&File") << sub(1, "mnuFileDatabase", "&Database") << item(2, "mnuFileNew", "&New...")
      << item(2, "mnuFileOpen", "&Open...", "Ctrl+O") << item(2, "mnuFileBackup", "&Backup...")
      << item(2, "mnuFileClose", "&Close") << item(2, "mnuFileDeleteDB", "&Delete...")
      << item(1, "mnuFilePrint", "&Print", "Ctrl+P") << sep(1, "mnuFileSeparator1")
      << item(1, "mnuFileImportExport", "Import/Export...") << sep(1, "mnuFileSeparator2")
      << sub(1, "mnuFileEmail", "&E-mail") << item(2, "mnuEmailVD", "&Current Vardeck...")
      << item(2, "mnuEmailAllFolders", "&All folders and Vardecks...")
      << item(2, "mnuEmailAllVardecks", "All &Vardecks...") << item(2, "mnuEmailFavorites", "&Favorites only...")
      << item(1, "mnuFileExit", "&Exit");

    MenuEntry explorer = item(1, "mnuAspectExplorer", "E&xplorer", "Ctrl+X");
    explorer.checkable = true;
    explorer.checked = true;
    MenuEntry web = item(1, "mnuAspectWeb", "We&b", "Ctrl+B");
    web.checkable = true;
    t << menu("mnuAspect", "&Aspect") << explorer << web;

    t << menu("mnuEdit", "&Edit") << item(1, "mnuAddVardeck", "&New Vardeck", "Ctrl+N")
      << item(1, "mnuEditModify", "&Update Vardeck", "Ctrl+U") << item(1, "mnuEditDelete", "&Delete Vardeck", "Del")
      << sep(1, "mnuEditSeparator") << item(1, "mnuAddTopic", "New &Folder...", "Ctrl+Q")
      << item(1, "mnuEditModifyTopic", "Rena&me Folder...", "Ctrl+M")
      << item(1, "mnuEditDeleteTopic", "D&elete Folder", "Shift+Del") << sep(1, "mnuEditSeparator1")
      << sub(1, "mnuEditClip", "&Copy to clipboard") << item(2, "mnuEditClipVD", "All &current Vardeck data", "Ctrl+C")
      << item(2, "mnuEditClipName", "Current Vardeck &name")
      << item(2, "mnuEditClipURL", "Current Vardeck &address (URL)")
      << item(2, "mnuEditClipDesc", "Current Vardeck &description")
      << item(2, "mnuEditClipNotes", "Current Vardeck n&otes")
      << item(2, "mnuEditClipKeywords", "Current Vardeck &keywords");

    t << menu("mnuNavigate(0)", "&Go") << arrayItem("mnuNav", "");

    t << menu("mnuView(0)", "&View") << item(1, "mnuViewIndex", "&Index view", "Ctrl+I")
      << item(1, "mnuViewSearch", "Search view") << item(1, "mnuViewFavs", "Favo&rite Vardecks view", "Ctrl+R")
      << item(1, "mnuViewPop", "Popular V&ardecks view", "Ctrl+E") << sep(1, "mnuViewSep1")
      << item(1, "mnuViewSearchResults", "Search results")
      << item(1, "mnuViewVardecks", "Vardecks in current fo&lder", "Ctrl+L") << sub(1, "mnuViewVD", "&Vardeck")
      << item(2, "mnuViewDetails", "&Details", "Ctrl+D") << item(2, "mnuViewPreview", "Previe&w", "Ctrl+W")
      << item(2, "mnuViewNotes", "No&tes", "Ctrl+T") << sep(1, "mnuViewSep")
      << item(1, "mnuViewStats", "&Statistics...");

    t << menu("mnuTools", "&Tools") << item(1, "mnuToolsGet", "&Get Vardeck from browser...", "Ctrl+G")
      << item(1, "mnuToolsOpen", "&Open Vardeck in browser", "Ctrl+Ins")
      << item(1, "mnuToolsOpenHome", "Open Vardeck &homepage in browser", "Ctrl+H") << sep(1, "sep00")
      << item(1, "mnuToolsOpenBlank", "Open blan&k browser window", "Ctrl+K")
      << item(1, "mnuToolsCloseAll", "&Close all browser windows") << sep(1, "sep0")
      << sub(1, "mnuWebBrowser", "Web browser") << item(2, "mnuToolsIntegrate", "&Integrate with Internet Explorer")
      << item(2, "mnuUndoIntegration", "&Undo integration with Internet Explorer") << sep(2, "sep13")
      << item(2, "mnuToolsIntegrateFF", "Integration with Firefox...") << sep(1, "sep1")
      << item(1, "mnuToolsDup", "Manage &duplicates...") << item(1, "mnuClearPop", "Clear popular list rankings")
      << sep(1, "sep2") << sub(1, "mnuSynch", "S&ynchronize")
      << item(2, "mnuToolsSynch", "Current &Vardeck with website...", "Ctrl+Y")
      << item(2, "mnuToolsSynchFolder", "All Vardecks in current &folder...")
      << item(2, "mnuToolsSynchAll", "&All Vardecks...") << sub(1, "mnuToolsIcon", "&Load icons")
      << item(2, "mnuToolsIconVD", "Current &Vardeck...")
      << item(2, "mnuToolsIconFolder", "All Vardecks in current &folder...")
      << item(2, "mnuToolsIconAll", "&All Vardecks...") << item(2, "mnuToolsIconFile", "Choose icon from &file...")
      << item(2, "mnuToolsIconRemove", "&Remove icon") << sub(1, "mnuThumb", "Load thumbnails")
      << item(2, "mnuThumbVD", "Current &Vardeck...") << item(2, "mnuThumbFolder", "All Vardecks in current &folder...")
      << item(2, "mnuThumbAll", "&All Vardecks...") << item(2, "mnuThumbRemove", "&Remove thumbnail") << sep(1, "sep5")
      << sub(1, "mnuToolsSearch", "&Search") << item(2, "mnuToolsSearchText", "&Full text", "Ctrl+F")
      << item(2, "mnuToolsSearchKeywords", "&Keywords", "F7") << item(2, "mnuToolsSearchName", "&Name", "F8")
      << item(2, "mnuToolsSearchAddress", "&Address", "F11") << item(2, "mnuToolsSearchNotes", "&Notes", "F12")
      << item(2, "mnuToolsSearchDesc", "&Description", "F9") << sep(1, "sep22")
      << item(1, "mnuToolsOptions", "Options...");

    t << menu("mnuFavs", "&Favorites") << item(1, "mnuFavsAdd", "&Add to Favorite Vardecks", "Ctrl+F1")
      << item(1, "mnuFavsDelete", "&Delete from Favorite Vardecks", "Ctrl+F2") << sep(1, "sep6")
      << arrayItem("first", "first");

    t << menu("mnuRecent", "&Recent") << item(1, "mnuRecentClear", "&Clear recent Vardeck list") << sep(1, "sep7")
      << arrayItem("second", "second");

    t << menu("mnuHelp", "&Help") << item(1, "mnuHelpTopics", "&Help Contents", "F1")
      << item(1, "mnuHelpStart", "Getting started") << item(1, "mnuHelpAdd", "How to add a new Vardeck bookmark")
      << item(1, "mnuHelpShortcuts", "Keyboard shortcuts") << item(1, "mnuHelpTips", "Tips...")
      << sep(1, "mnuHelpSeparator") << item(1, "mnuHelpAbout", "&About Razuzezu Revidod...") << sep(1, "mnuHelpSep")
      << item(1, "mnuHelpWeb", "Vardecks on the &Web") << item(1, "mnuHelpFeedback", "Give feedback")
      << item(1, "mnuHelpEmail", "&E-mail support...");

    // The popup menus. One-line forwarders run the command they forward to.
    t << menu("mnuStartVD", "StartVD", true) << item(1, "mnuNewVD", "New Vardeck", "", "mnuAddVardeck_Click")
      << sep(1, "mnuSep2") << item(1, "mnuOpenN", "Open Vardeck") << item(1, "mnuOpenVD", "Open Vardeck in browser")
      << item(1, "mnuOpenVDHome", "Open Vardeck homepage in browser") << sep(1, "mnuSep4")
      << item(1, "mnuMoveVD", "Move Vardeck...") << item(1, "mnuModVD", "Update Vardeck")
      << item(1, "mnuDeleteVD", "Delete Vardeck") << sep(1, "mnuSep")
      << item(1, "mnuCopyVD", "Copy Vardeck data to clipboard") << item(1, "mnuAddFavsVD", "Add to favorites");

    t << menu("mnuTopicMenu", "TopicMenu", true) << item(1, "mnuNewFolder", "New folder...") << sep(1, "mnuSep3")
      << item(1, "mnuOpenF", "Open folder") << item(1, "mnuMoveFolder", "Move folder...")
      << item(1, "mnuRenameFolder", "Rename folder...") << item(1, "mnuDeleteFolder", "Delete folder");

    t << menu("mnuCopyMenu", "CopyMenu", true) << item(1, "mnuNewVD2", "New Vardeck", "", "mnuAddVardeck_Click")
      << sep(1, "mnuSep7") << item(1, "mnuOpenInBrowser", "Open Vardeck in browser", "", "mnuToolsOpen_Click")
      << item(1, "mnuOpenHome", "Open Vardeck homepage in browser", "", "mnuToolsOpenHome_Click") << sep(1, "mnuSep6")
      << item(1, "mnuModVD2", "Update Vardeck", "", "mnuEditModify_Click")
      << item(1, "mnuDeleteVD2", "Delete Vardeck", "", "mnuEditDelete_Click") << sep(1, "mnuSep5")
      << item(1, "mnuCopy", "Copy") << item(1, "mnuCopyAll2", "Copy Vardeck data to clipboard")
      << item(1, "mnuAddFavsVD2", "Add to favorites");

    t << menu("mnuNoVD", "No VD selected menu", true) << item(1, "mnuNewVD3", "New Vardeck", "", "mnuAddVardeck_Click")
      << item(1, "mnuGet", "&Get Vardeck from browser...", "", "mnuToolsGet_Click") << sep(1, "mnuSep11")
      << item(1, "mnuOpenBlank", "Open &blank browser window", "", "mnuToolsOpenBlank_Click")
      << item(1, "mnuCloseAll", "Close all browser windows", "", "mnuToolsCloseAll_Click") << sep(1, "mnuSep10")
      << item(1, "mnuCreate", "New folder...", "", "mnuNewFolder_Click") << item(1, "mnuModFolder", "Rename folder...")
      << sep(1, "mnuSep12") << item(1, "mnuHelp2", "&Help Contents", "", "mnuHelpTopics_Click");

    t << menu("mnuListVD", "mnuListVD", true) << arrayItem("mnuList", "");
    t << menu("mnuListVDMulti", "mnuListVDMulti", true) << arrayItem("mnuMulti", "");
    return t;
}

} // namespace

const QList<MenuEntry> &mainMenuTable()
{
    static const QList<MenuEntry> table = buildMenuTable();
    return table;
}

const QList<MenuArrayLoad> &dynamicMenuTable()
{
    static const QList<MenuArrayLoad> table = {
        {QStringLiteral("mnuNav"),
         {QStringLiteral("&First           F2"), QStringLiteral("&Previous    F3"), QStringLiteral("&Next          F4"),
          QStringLiteral("&Last           F5")}},
        {QStringLiteral("mnuMulti"),
         {QStringLiteral("Open Vardecks in browser"), QStringLiteral("Move Vardecks..."),
          QStringLiteral("Delete Vardecks")}},
        {QStringLiteral("mnuList"),
         {QStringLiteral("New Vardeck"), QStringLiteral("-"), QStringLiteral("Open Vardeck"),
          QStringLiteral("Open Vardeck in browser"), QStringLiteral("Open Vardeck homepage in browser"),
          QStringLiteral("-"), QStringLiteral("Move Vardeck..."), QStringLiteral("Update Vardeck"),
          QStringLiteral("Delete Vardeck"), QStringLiteral("-"), QStringLiteral("Copy Vardeck data to clipboard"),
          QStringLiteral("Add to favorites")}},
    };
    return table;
}

const QStringList &resetMenuItemNames()
{
    static const QStringList names = {
        QStringLiteral("mnuEditModify"),      QStringLiteral("mnuEmailVD"),
        QStringLiteral("mnuEditClip"),        QStringLiteral("mnuEditDelete"),
        QStringLiteral("mnuNavigate(0)"),     QStringLiteral("mnuEditDeleteTopic"),
        QStringLiteral("mnuToolsIconFolder"), QStringLiteral("mnuToolsOpen"),
        QStringLiteral("mnuToolsSynch"),      QStringLiteral("mnuToolsIconVD"),
        QStringLiteral("mnuToolsIconRemove"), QStringLiteral("mnuToolsIconFile"),
        QStringLiteral("mnuThumbFolder"),     QStringLiteral("mnuToolsSynchFolder"),
        QStringLiteral("mnuThumbVD"),         QStringLiteral("mnuThumbRemove"),
        QStringLiteral("mnuToolsOpenHome"),   QStringLiteral("mnuViewNotes"),
        QStringLiteral("mnuViewPreview"),     QStringLiteral("mnuViewDetails"),
        QStringLiteral("mnuViewVD"),          QStringLiteral("mnuFavsAdd"),
        QStringLiteral("mnuFavsDelete"),
    };
    return names;
}

} // namespace rr
