#include "options/tipsupport.h"

namespace rr
{
namespace
{

struct TipRow {
    const char *id;
    const char *shortText;
    const char *helpPage;
    const char *longText;
};

// The bodies are shown exactly as written here: two spaces between sentences, menu
// paths with "->", shortcuts as "CTRL-" and the key.
constexpr TipRow kTips[] = {
    {"1", "Saving a new Vardeck", "Creating_Vardecks.htm",
     "When creating a Vardeck bookmark, or retrieving one from a browser, the information about it remains editable "
     "until the Vardeck is saved.  To save the Vardeck click on the Save button on the toolbar, or use the keyboard "
     "shortcut CTRL-S."},
    {"2", "Integrate with your web browser", "Browser_Integration.htm",
     "Razuzezu Revidod works beside the browsers you already use.  Tools->Get Vardeck from browser reads the pages "
     "open in Firefox, and in Chromium-family browsers started with remote debugging, and makes a new Vardeck of "
     "them.  You can also drag a link from any browser onto the window, or start Razuzezu Revidod again while it runs "
     "to take the top page."},
    {"3", "Getting websites from open browser windows", "Getting_from_browser.htm",
     "Use Tools->Get Vardeck from browser to turn a page open in your browser into a new Vardeck.  With one page open "
     "its address and title go straight into a new Vardeck; with several open the 'Vardeck detected' window lets you "
     "pick one.  Firefox saves its open tabs every few seconds, so a page opened a moment ago may need a moment."},
    {"4", "How folder contents are displayed", "Folder_Pane.htm",
     "Click a folder in the folder pane to see its Vardecks beneath it, and in the list on the tab named after the "
     "folder.  The list shows each Vardeck's name, address, dates, hits and description; click a column heading to "
     "sort by it."},
    {"5", "Using the system tool tray", "Options_system_tray.htm",
     "Razuzezu Revidod can put an icon in your desktop's notification area.  Tick 'Use system tool tray' in "
     "Tools->Options and choose whether a right-click on the icon pops up your Favorites or your Recent Vardecks, so "
     "you can open a bookmark without bringing up the window.  Desktops without a notification area show no icon, "
     "and the window then always stays on the taskbar."},
    {"6", "The Web aspect", "Web_Aspect.htm",
     "The Web Aspect (Aspect->Web) shows your collection as web pages inside the window: the folder tree with its "
     "Vardecks, all Vardecks by name, your favorites, the most visited Vardecks and the results of a search.  Click a "
     "link to open the site in your browser.  Choose the look of the pages under Tools->Options, where five styles "
     "are offered."},
    {"7", "The Explorer aspect", "Explorer_Aspect.htm",
     "The Explorer Aspect (Aspect->Explorer) is where you organise your bookmarks: folders on the left, the Vardecks "
     "of "
     "the selected folder beneath them, and on the right the details, a live preview and the notes of the chosen "
     "Vardeck."},
    {"8", "Accessing recent Vardecks", "Recent.htm",
     "The Recent menu lists the Vardecks you opened last, the newest at the bottom.  Choose one to open it in your "
     "browser again, or use Recent->Clear recent Vardeck list."},
    {"9", "Your favorite Vardecks", "Adding_a_Vardeck_to_your_favorites.htm",
     "Mark the Vardecks you use most as favorites with Favorites->Add to Favorite Vardecks (CTRL-F1).  They are listed "
     "in the Favorites menu and on the Favorites tab (CTRL-R), and CTRL-F2 takes the shown Vardeck off the list."},
    {"10", "Autosaving new bookmarks", "Options_autosave.htm",
     "Normally a page taken from your browser waits in the details panel until you press Save, so you can change its "
     "name, add keywords or pick another folder first.  Tick 'Autosave Vardecks' in Tools->Options to save such pages "
     "at once into the selected folder.  Pages you start by hand with Edit->New Vardeck are never saved for you."},
    {"11", "Working with multiple databases", "Working_with_databases.htm",
     "Keep separate collections in separate databases.  File->Database->New creates one and File->Database->Open "
     "switches to another; "
     "File->Database->Backup keeps a copy."},
    {"12", "Drag and drop from a browser", "Browser_drag_drop.htm",
     "Drag a link, or the address from your browser's address bar, and drop it on the Razuzezu Revidod window.  A new "
     "Vardeck starts with that address, and with the page's title when the page is open in your browser.  Press "
     "CTRL-S to save it."},
    {"13", "Finding keyboard shortcuts", "Shortcut_Keys.htm",
     "Vardecks supports many shortcut keys to make managing your bookmarks easier.  Use the menu option "
     "Help->Keyboard shortcuts, or look at the tooltip text for the control you are using (hover over the control)."},
    {"14", "How search results are displayed", "Search_view.htm",
     "Search results appear in the list on the Search tab, best match first.  Tick 'Show detailed results' to see "
     "them with their address, description and the number of matches in the large list on the right; click a result "
     "to show its details."},
    {"15", "Editing and updating bookmarks", "Modifying_Vardecks.htm",
     "To change a Vardeck, show it and choose Edit->Update Vardeck (CTRL-U).  Change any field, then press Save "
     "(CTRL-S) to write the change to the database, or Cancel (ESC) to leave it as it was."},
    {"16", "Firefox integration", "Firefox_integration.htm",
     "Razuzezu Revidod reads the tabs a running Firefox keeps in its profile, so Tools->Get Vardeck from browser "
     "(CTRL-G) picks up the pages open in Firefox without any add-on.  Tools->Web browser->Integration with "
     "Firefox... opens the page of the Firefox extension in Firefox.  To open your Vardecks in Firefox rather than in "
     "the desktop's default browser, choose Firefox in Tools->Options.  File->Import/Export brings your Firefox "
     "bookmarks in, or writes your Vardecks out to them."},
    {"17", "Save keyboard shortcut", "Shortcut_Keys.htm", "Use the keyboard shortcut CTRL-S to Save a new Vardeck."},
    {"18", "Find keyboard shortcut", "Shortcut_Keys.htm",
     "Use the keyboard shortcut CTRL-F to Find a bookmark within your bookmark collection."},
    {"19", "Get from browser keyboard shortcut", "Getting_from_browser.htm",
     "Use the keyboard shortcut CTRL-G to Get new Vardecks from any open browser window."},
    {"20", "How to check for duplicates when saving a new Vardeck", "Options_duplicates_save.htm",
     "Tick 'Check for duplicates when saving a new Vardeck' in Tools->Options and every new Vardeck you save is "
     "compared with the "
     "rest of the collection.  When other Vardecks have the same address, the duplicates manager opens with them, "
     "so you can keep one and delete the others."},
    {"21", "Internet Explorer integration", "Internet_Explorer_Integration.htm",
     "Internet Explorer does not exist on Linux, so Razuzezu Revidod cannot add a button or menu entries to it; the "
     "two Internet Explorer items under Tools->Web browser say so and change nothing.  Use Tools->Get Vardeck from "
     "browser (CTRL-G) with Firefox or a Chromium-family browser, drag links onto the window, or start Razuzezu "
     "Revidod again to take the top page."},
    {"22", "Managing duplicate bookmarks", "Managing_duplicates.htm",
     "Over time the same site is often bookmarked twice.  Tools->Manage duplicates lists every address that more "
     "than one Vardeck shares, with the Vardecks that share it.  Delete the copies you don't need, and the list is "
     "checked again."},
    {"23", "Index view keyboard shortcut", "Index_view.htm",
     "Use the keyboard shortcut CTRL-I to display the Index view."},
    {"24", "Search view keyboard shortcut", "Search_view.htm",
     "Use the keyboard shortcut CTRL-F to display the Search view or to start a new search."},
    {"25", "Favorites view keyboard shortcut", "Favorites_view.htm",
     "Use the keyboard shortcut CTRL-R to display the Favorites view."},
    {"26", "Popular view keyboard shortcut", "Popular_view.htm",
     "Use the keyboard shortcut CTRL-E to display the Popular view."},
    {"27", "Folder view keyboard shortcut", "Folder_Pane.htm",
     "Use the keyboard shortcut CTRL-L to display all the Vardecks in the currently selected folder (on the folder "
     "pane)."},
    {"28", "Print keyboard shortcut", "Printing.htm",
     "Use the keyboard shortcut CTRL-P to print.  This option allows you to print the view that is currently "
     "displayed on the Web Aspect."},
    {"29", "Emailling Vardecks", "Email.htm",
     "Use File->E-mail to send the shown Vardeck, all folders, all Vardecks or your favorites.  A message opens in "
     "your desktop's mail program with the Vardecks attached as a web page."},
    {"30", "Dragging and dropping", "Browser_drag_drop.htm",
     "Drag a Vardeck from the list, or a folder from the folder pane, and drop it on a folder in the folder pane to "
     "move it there."},
    {"31", "Importing PDFs", "Import_PDF.htm",
     "Bookmark your PDF documents too.  In File->Import/Export choose the PDF import, pick a folder and whether to "
     "include its sub-folders.  Every PDF found becomes a Vardeck that opens the document, in a new top-level "
     "folder."},
    {"32", "Copying data", "Copy_clipboard.htm",
     "Use Edit->Copy to clipboard to copy all the data of the shown Vardeck (CTRL-C), or just its name, address, "
     "description, notes or keywords, and paste it into any other program."},
    {"33", "Opening multiple websites at once", "Folder_Pane.htm",
     "Select several Vardecks in the list with CTRL or SHIFT and a click, then right-click and choose 'Open Vardecks "
     "in browser' to open each of them in a browser window."},
    {"34", "Explorer aspect keyboard shortcut", "Explorer_Aspect.htm",
     "Use the keyboard shortcut CTRL-X to display the Explorer Aspect."},
    {"35", "Using keyboard shortcut to search", "Searching.htm",
     "CTRL-F takes you to the search box for a search of all Vardeck data.  Other keys search one field only: F7 "
     "the keywords, F8 the names, F9 the descriptions, F11 the addresses and F12 the notes.  Type your words and "
     "press Enter; the results appear in the list below the search box."},
    {"36", "Aspects", "Aspects.htm",
     "There are two ways to view your Vardecks, called Aspects. The Explorer Aspect (Aspect->Explorer) is a "
     "Windows-style user interface for managing and editing your Vardeck bookmarks, while the Web Aspect "
     "(Aspect->Web) offers web-style screens for viewing your Vardecks."},
    {"37", "About the Explorer Aspect", "Explorer_Aspect.htm",
     "The Explorer Aspect shows your folders in a tree on the Index tab, and the Vardecks of the selected folder in "
     "the pane beneath and in the list on the right.  Click a Vardeck to see its name, address, description, "
     "keywords, visits and thumbnail on the Details tab, the site itself on the Preview tab and your own notes on the "
     "Notes tab.  Right-click anything for the commands that apply to it."},
    {"38", "How to see all your Vardecks and folders", "Index_view.htm",
     "The Index view (CTRL-I) shows the tree of all your folders.  Click the plus sign beside a folder to see its "
     "sub-folders and click a folder to list its Vardecks.  To see every Vardeck at once, switch to the Web Aspect "
     "and choose the page of all Vardecks."},
    {"39", "How to search for a Vardeck", "Searching.htm",
     "Open the Search tab (CTRL-F), type one or more words in the search box and press Enter or click Search.  Tick "
     "the boxes under 'Search in' to look in all Vardeck data or only in names, addresses, notes, descriptions or "
     "keywords.  Earlier searches stay in the box's list."},
    {"40", "How to open a Vardeck in a browser window", "Open_in_browser.htm",
     "Show a Vardeck and press CTRL-Insert, click the browser button on the toolbar or click the address on the "
     "Details tab to open the site in a new browser window.  Which browser opens is set in Tools->Options: Firefox, "
     "Mozilla, Opera or Netscape when they "
     "are installed, or your desktop's default browser.  Every opening counts as a visit in the Popular view."},
    {"41", "Edit mode for updating", "Modifying_Vardecks.htm",
     "While a Vardeck is being added or updated the window is in edit mode: the fields can be changed, the Save and "
     "Cancel buttons are enabled and commands that would lose your typing are disabled.  Save (CTRL-S) writes the "
     "change to the database at once; Cancel (ESC) leaves the Vardeck as it was."},
    {"42", "Actions on multiple Vardecks", "Folder_Pane.htm",
     "Select several Vardecks in the list with CTRL-click or SHIFT-click, then right-click them to open them all in "
     "your browser, move them to another folder or delete them together."},
    {"43", "Detect Windows Explorer folders", "Options_detect_windows.htm",
     "On Linux file manager windows hold no web pages, so 'Detect Windows folders as well as web browsers' finds "
     "nothing more."},
    {"44", "Web aspect keyboard shortcut", "Web_Aspect.htm",
     "Use the keyboard shortcut CTRL-B to display the Web Aspect."},
    {"45", "Open in browser keyboard shortcut", "Open_in_browser.htm",
     "Use the keyboard shortcut CTRL-Insert to open the current Vardeck in a browser window."},
    {"46", "How to auto-save Vardecks", "Options_autosave.htm",
     "Open Tools->Options and tick 'Autosave Vardecks'.  From then on a page taken from your browser with Tools->Get "
     "Vardeck "
     "from browser is saved straight into the selected folder, without waiting for Save."},
    {"47", "How to change the size of the font", "Options_font_size.htm",
     "Choose a font size from 8 to 11 points in Tools->Options and press Apply.  The main window's lists, trees and "
     "details use the new size at once, and so do the tips and the dialogs you open afterwards."},
    {"48", "How to start Razuzezu Revidod when Windows starts up", "Options_windows_startup.htm",
     "There is no Windows here: tick 'Start Razuzezu Revidod when I log in' in Tools->Options to start it when "
     "you log in."},
    {"49", "How to hide the Splash screen on startup", "Options_hide_splash.htm",
     "The splash screen shows while Razuzezu Revidod opens your database.  To start without it, open Tools->Options "
     "and tick 'Hide splash screen on startup'; the main window then appears as soon as it is ready."},
    {"50", "Use the Go menu to navigate around lists quickly", "Navigating_around_Vardecks.htm",
     "The Go menu moves through the list you are working in: the Vardecks of a folder, the search results, the "
     "favorites or the popular list.  Use F2 for the first Vardeck, F3 for the previous, F4 for the next and F5 for "
     "the last one; the details follow."},
    {"51", "Accurately tracking your popular bookmarks", "Popular_view.htm",
     "The Popular view ranks your Vardecks by visits.  A visit is counted each time you open a Vardeck from Razuzezu "
     "Revidod, so open your sites from here rather than from the browser.  Tools->Clear popular list rankings starts "
     "the count again."},
    {"52", "Opening the first search result", "Options_open_first.htm",
     "When searching, check the 'Open first result' checkbox to instantly open in a browser the search result that "
     "best matched your search text."},
};

} // namespace

void loadTips(QList<TipSupport> &tipList)
{
    tipList.clear();
    tipList.reserve(std::size(kTips));
    for (const TipRow &row : kTips) {
        TipSupport tip;
        tip.setTipId(QString::fromLatin1(row.id));
        tip.setTipShortText(QString::fromLatin1(row.shortText));
        tip.setTipLongText(QString::fromLatin1(row.longText));
        tip.setTipHelpURL(QString::fromLatin1(row.helpPage));
        tipList.append(tip);
    }
}

int nextTipPosition(const QString &lastTip, int count)
{
    if (lastTip.isEmpty())
        return 1;
    bool ok = false;
    const int last = lastTip.trimmed().toInt(&ok);
    if (!ok || last < 0 || last >= count)
        return 1;
    return last + 1;
}

} // namespace rr
