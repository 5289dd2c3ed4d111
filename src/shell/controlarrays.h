#pragma once
// Names for the elements of the main window's label array lbl() and for the buttons of
// its toolbars, by what each shows or does, as MenuId names the menu items. The values
// are the elements' own indices and positions, which their object names keep:
// Lbl::VardeckCount is the element 12 of lbl(), and Tb::NewFolder is Toolbar1's
// position 12, "Toolbar1.Buttons(12)".
namespace rr
{

// The elements of the label array lbl().
enum class Lbl : int {
    SearchResultsCaption = 0, // "Search results:"
    FoundCaption = 1,         // "Found:", before the search's count
    FavoritesCount = 2,       // "Favorites: " and how many there are
    LastVisited = 3,          // the shown Vardeck's last visit
    CreatedDateCaption = 4,
    LastVisitedCaption = 5,
    FavoriteCaption = 6,
    HomepageCaption = 7,
    DescriptionCaption = 8,
    KeywordsCaption = 9,
    SizeCaption = 10,
    VardecksCaption = 11, // "Vardecks: ", before the shown folder's count
    VardeckCount = 12,    // how many Vardecks the shown folder holds
    HitsCaption = 13,
    Hits = 14,           // the shown Vardeck's visits
    NameCaption = 25,    // "Name", beside the name box while a Vardeck is edited
    AddressCaption = 26, // "Address", beside the address box while a Vardeck is edited
};

// Toolbar1's positions 1 to 24, separators included.
enum class Tb : int {
    CreateVardeck = 1,
    UpdateVardeck = 2,
    DeleteVardeck = 3,
    AfterVardeckCommands = 4, // a separator
    FirstVardeck = 5,
    PreviousVardeck = 6,
    NextVardeck = 7,
    LastVardeck = 8,
    AfterNavigation = 9, // a separator
    Search = 10,
    AfterSearch = 11, // a separator
    NewFolder = 12,
    RenameFolder = 13,
    DeleteFolder = 14,
    AfterFolderCommands = 15, // a separator
    OpenInBrowser = 16,
    GetFromBrowser = 17,
    OpenBlankBrowser = 18,
    AfterBrowserCommands = 19, // a separator
    UserOptions = 20,
    HelpContents = 21,
    AfterHelp = 22, // a separator
    Save = 23,
    Cancel = 24,
};

// Toolbar2's buttons, the Aspects.
enum class AspectButton : int {
    Explorer = 1,
    Web = 2,
};

// The details panel's buttons that search the collection for a detail of the shown
// Vardeck, cmdSearchHome(0) to cmdSearchHome(2).
enum class DetailSearch : int {
    Domain = 0,      // its home page's domain
    LastVisited = 1, // the day it was last visited
    CreatedDate = 2, // the day it was created
};

} // namespace rr
