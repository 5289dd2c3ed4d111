#pragma once
// What a part tells the frame after it changed the open collection: the rendered Web
// Aspect pages that no longer show it. The window implements it; a part handed narrow
// views of the window gets it as this.
#include "platform/gui/stalepages.h"

namespace rr
{

class CollectionChanges
{
public:
    // What a part or a dialog reports after every change of the document, saved or not
    // (a failed save keeps the change in memory and the window shows what the document
    // holds): the pages are made again before the Web Aspect next shows them, and the
    // Web Aspect, when it is shown and the change asks for it, is shown again at once.
    virtual void collectionChanged(const StalePages &stale) = 0;

    // The rendered Web Aspect pages (folders, all, favourites, hits) that a change of
    // the collection has made stale: marked through collectionChanged, fresh again once
    // the Web Aspect made the page.
    enum AspectPage { FoldersPage = 0, AllPage = 1, FavsPage = 2, HitsPage = 3 };
    virtual bool aspectPageStale(int page) const = 0;
    virtual void aspectPageMade(int page) = 0;

protected:
    ~CollectionChanges() = default;
};

} // namespace rr
