#pragma once
// What the frame, the options dialog and the parts above the finding panes ask of them:
// their lists filled again or emptied, the search options shown, the search results'
// column widths kept. The finding panes (FindingUi, finding/ui/findingui.h) do the work
// and offer these on the window as they are installed; a caller asks
// operationsOf<FindingOperations>(w) (platform/gui/partoperations.h). A window without
// the finding panes runs these as they are here: they do nothing.

namespace rr
{

class XmlDocument;

class FindingOperations
{
public:
    virtual ~FindingOperations() = default;

    // The favourites' list, count, tree and menu are made again from the document, each
    // when it is next needed (the tree at once when its tab is shown); null empties them.
    virtual void populateFavsList(XmlDocument * /*doc*/) {}
    // The popular list: one row per visited Vardeck, most visits first, at once when the
    // Popular tab is shown, else when it is next shown; null empties it.
    virtual void populatePopList(XmlDocument * /*doc*/) {}
    // The search box's list is filled again from the search history, newest first; the
    // typed text stays.
    virtual void populateSearchList() {}
    // The search results go from both lists, and "Found:" counts none.
    virtual void clearSearchResults() {}
    // The favourites tree is out of date: showing its tab fills it again.
    virtual void favoritesOutOfDate() {}
    // "Open first result" and "Show detailed results" show the user options again.
    virtual void showSearchOptions() {}
    // The search results' column widths: read from the settings as the window opens,
    // written as it closes (inside the close's one write of the settings).
    virtual void restoreFindingColumns() {}
    virtual void saveFindingColumns() {}
};

} // namespace rr
