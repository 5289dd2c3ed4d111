#include "shell/openaddress.h"

#include "platform/prompt.h"

namespace rr
{

urlSupport::OpenResult finishOpening(const urlSupport::Opening &opening)
{
    prompt::tell(opening.notice);
    if (opening.result == urlSupport::OpenResult::FellBackToDefault)
        openInDefaultBrowser(opening.address);
    return opening.result;
}

urlSupport::OpenResult openInBrowser(const QString &address)
{
    return finishOpening(urlSupport::openInNewWindow(address));
}

void openInDefaultBrowser(const QString &address)
{
    Notice refusal;
    if (!urlSupport::openInDefault(address, &refusal))
        prompt::tell(refusal);
}

} // namespace rr
