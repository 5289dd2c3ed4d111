#pragma once
// What the main window's frame lays out of the controls its parts make. Each part
// builds its controls into one of the frame's panes and hands the frame, by what they
// are, the ones whose place, size, visibility or font the layout rules set; the frame
// touches nothing else of them, and no other part reaches them through the frame.
namespace rr
{

// The containers the frame makes for the parts to build in.
enum class Pane : int {
    IndexPage,         // tabIndex's Index tab: the folder tree over the folder's Vardecks
    FolderSplitter,    // Splitter1, on the Index tab: its two panes are the two trees
    SearchPage,        // tabIndex's Search tab
    FavoritesPage,     // tabIndex's Favorites tab
    PopularPage,       // tabIndex's Popular tab
    VardeckPage,       // tabView's first tab: the shown Vardeck above tabInfo
    FolderListPage,    // tabView's second tab: the shown folder's list
    SearchResultsPage, // tabView's third tab: the search results
    DetailsPage,       // tabInfo's Details tab
    PreviewPage,       // tabInfo's Preview tab
    NotesPage,         // tabInfo's Notes tab
    Client,            // the client area, where the Web Aspect's strip and pane lie
    RightPane,         // Picture1, the right pane that holds tabView: drops land on it
    Count
};

// The controls the layout rules place, by what they are.
enum class Place : int {
    // The Index tab
    FolderTree,        // tvwTopics
    VardeckTree,       // tvwWM
    MoveVardeckButton, // cmdMoveVD
    MoveFolderButton,  // cmdMoveFolder
    VardecksCaption,   // lbl(11)
    VardeckCount,      // lbl(12)
    // The Search tab
    SearchBox,    // cmbSearch
    SearchMark,   // Picture5
    SearchButton, // cmdSearch
    SearchIn,     // Frame4
    FoundCaption, // lbl(1)
    FoundCount,   // lblFound
    SearchList,   // lstSrch
    // The Favorites and Popular tabs
    FavoritesTree,        // tvwFavs
    AddFavoriteButton,    // cmdFAdd
    DeleteFavoriteButton, // cmdFDelete
    FavoritesCount,       // lbl(2)
    FavoritesMark,        // Picture4
    PopularList,          // listPop
    // The right pane's lists
    FolderList,    // listVD
    SearchResults, // lstSearch
    // The shown Vardeck
    VardeckFields,    // Frame2: the name and address
    NameLabel,        // lblWName
    NameBox,          // txtWName
    AddressLabel,     // lblAddress
    AddressBox,       // txtAddress
    Details,          // PictureDetails
    HomeLabel,        // lblHome
    FileSizeLabel,    // lblFileSize
    HitsLabel,        // lbl(14)
    DescriptionLabel, // lblDescription
    DescriptionBox,   // txtDescription
    KeywordsCaption,  // lbl(9)
    KeywordsLabel,    // lblKeyWords
    KeywordsBox,      // txtKeywords
    KeywordsButton,   // cmdEdit(0)
    Notes,            // txtNotes
    Preview,          // wbPreview
    PreviewButtons,   // the row of the preview's buttons, whose end the window's least width keeps whole
    // The Web Aspect
    WebStrip,        // Picture2
    WebSearchBox,    // txtS
    WebBrowserCheck, // chkWebAspectBrowser
    WebView,         // wbWeb
    Count
};

} // namespace rr
