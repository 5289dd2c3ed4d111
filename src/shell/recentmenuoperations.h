#pragma once
// What the other parts ask of the Recent menu (finding/ui/recentmenu.h), which offers it
// on the window as it is installed: a caller asks operationsOf<RecentMenuOperations>(w)
// (platform/gui/partoperations.h). A window without the Recent menu runs it as it is
// here: it does nothing.
#include <QString>

namespace rr
{

class RecentMenuOperations
{
public:
    virtual ~RecentMenuOperations() = default;

    // With a WID: records that Vardeck as opened (the newest record), then rebuilds the
    // menu; with "" only rebuilds it.
    virtual void refreshRecentMenuList(const QString & /*wid*/) {}
};

} // namespace rr
