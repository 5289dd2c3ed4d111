#pragma once
// The lists of Vardecks that share the list popup (mnuListVD, mnuListVDMulti). A press
// in one of them records which; the popup's commands then ask that list's owner about
// its rows by this name.
namespace rr
{

enum class EntryList {
    FolderList,    // listVD: the shown folder's Vardecks
    SearchResults, // lstSearch: the search results beside the details
    SearchList,    // lstSrch: the search results on the Search tab
    PopularList,   // listPop: the Popular tab
};

} // namespace rr
