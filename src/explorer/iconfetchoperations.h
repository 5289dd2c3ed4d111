#pragma once
// What the Vardeck editor asks of the icon fetch (media/ui), whose library sits above
// the Explorer's: the site icon of a page being added. The icon commands offer it on
// the window (partoperations.h); the editor's icon timer asks for it by this class.
#include <QString>

namespace rr
{

class IconFetchOperations
{
public:
    virtual ~IconFetchOperations() = default;

    // The icon timer of an add ran: the site icon of the page the new Vardeck is made
    // from is fetched for the details.
    virtual void timerIcon_Timer(const QString &address) {}
};

} // namespace rr
