#pragma once
// What a Vardeck list of another part (the search results) does with a drop: what a
// drop on the window does. The Explorer's drops (explorer/externaldrops.h) decide and do
// it, and offer these on the window as they are installed; the lists ask the window for
// them (platform/gui/partoperations.h). Each function here does nothing and takes no
// drop, for a window put together without the drops.
class QMimeData;

namespace rr
{

class ListDropOperations
{
public:
    virtual ~ListDropOperations() = default;

    // Whether a drop of data on the list would do anything.
    virtual bool acceptsListDrop(const QMimeData * /*data*/) const { return false; }
    // The drop of data on the list.
    virtual void dropOnList(const QMimeData * /*data*/) {}
};

} // namespace rr
