#include "shell/openaddress.h"

#include "platform/launcher.h"
#include "platform/prompt.h"

#include <QCoreApplication>
#include <QTimer>

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
    Notice notice;
    urlSupport::openInDefault(address, &notice);
    prompt::tell(notice);
}

void tellOpenerFailures()
{
    // Told from the opener's end, which the event loop delivers: the message waits
    // for the next turn.
    launcher::setOpenerFailureHandler(
        [](const Notice &notice) { QTimer::singleShot(0, qApp, [notice] { prompt::tell(notice); }); });
}

} // namespace rr
