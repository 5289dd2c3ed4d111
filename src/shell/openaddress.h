#pragma once
// Opening addresses from the windows. urlSupport opens an address and says what the
// user is to be told; these show it and, when the chosen browser would not start,
// hand the address to the default browser once the user has read why.
#include "media/urlsupport.h"

namespace rr
{

// Shows the opening's notice, then finishes a fallback to the default browser.
urlSupport::OpenResult finishOpening(const urlSupport::Opening &opening);
// urlSupport::openInNewWindow with its notice shown.
urlSupport::OpenResult openInBrowser(const QString &address);
// urlSupport::openInDefault with a refusal shown.
void openInDefaultBrowser(const QString &address);
// From now on a desktop's opener that fails is told in a message, with its reason.
void tellOpenerFailures();

} // namespace rr
