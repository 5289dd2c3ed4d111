#pragma once
// What the main window's frame shows, by name: the tabs of its three tab strips, the
// panels of its status bar and the two Aspects. The parts ask the frame for a tab or
// a panel by these names; the frame alone knows the strips, the bar and their numbers
// (the settings keep a strip's tab as its number, counted from 0).
namespace rr
{

// The left pane's tabs (tabIndex).
enum class IndexTab : int {
    Index,     // the folder tree over the folder's Vardecks
    Search,    // the search box and the list of results
    Favorites, // the favourites tree
    Popular,   // the most visited Vardecks
};

// The right pane's tabs (tabView).
enum class ViewTab : int {
    Vardeck,       // the shown Vardeck, its name and address above the details tabs
    Folder,        // the shown folder's Vardecks, captioned with the folder's name
    SearchResults, // the detailed search results
};

// The tabs under the shown Vardeck (tabInfo).
enum class InfoTab : int {
    Details,
    Preview,
    Notes,
};

// The status bar's panels (StatusBar1), left to right.
enum class StatusPanel : int {
    Message = 1,    // passing texts and the echo of the toolbar's tool tips
    FolderPath = 2, // the shown folder's path, over which the web panes' status texts pass
    Database = 3,   // the open database's file name
    Spare = 4,
};

// What the window shows: the folder tree and the details, or the rendered pages.
enum class Aspect : int {
    Explorer,
    Web,
};

} // namespace rr
