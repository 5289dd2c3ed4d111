#pragma once
// What the duplicates window asks of the main window: the main window's own deletion
// of a Vardeck and its tidy-up, and the refill of its lists when the window closes.
#include "storage/ui/dialoghost.h"

#include <QString>

namespace rr
{

class DuplicatesHost : public DialogHost
{
public:
    // Removes the Vardeck with its icon and thumbnail and saves; false when nothing was deleted.
    virtual bool deleteSelectedVardeck(const QString &wid) { return false; }
    // Tidies the main window after its deletions.
    virtual void resetAfterDelete() {}
    // The duplicates window closed: the search results go, the shown folder is refilled.
    virtual void refreshAfterDuplicates() {}
};

} // namespace rr
