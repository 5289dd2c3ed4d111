#include "shell/helpmenu.h"

#include "media/urlsupport.h"
#include "options/htmlhelp.h"
#include "platform/gui/partoperations.h"
#include "platform/gui/windowevents.h"
#include "platform/mail.h"
#include "platform/prompt.h"
#include "shell/frmhelpabout.h"
#include "shell/frmvardecks.h"
#include "shell/makerinfo.h"
#include "shell/openaddress.h"
#include "shell/tipsoperations.h"

namespace rr
{

void showHelpTopic(const QString &topic)
{
    HTMLHelp help;
    help.CHMFile = HTMLHelp::defaultHelpFile();
    help.HHTopicURL = topic;
    if (!(topic.isEmpty() ? help.HHDisplayContents() : help.HHDisplayTopicURL()))
        prompt::tell(help.problem());
}

void installHelpMenu(frmVardecks &window)
{
    window.commands.mnuHelpTopics_Click = [](int) { showHelpTopic(QString()); };
    window.commands.mnuHelpStart_Click = [](int) { showHelpTopic(QStringLiteral("Getting_started.htm")); };
    window.commands.mnuHelpAdd_Click = [](int) { showHelpTopic(QStringLiteral("Creating_Vardecks.htm")); };
    window.commands.mnuHelpShortcuts_Click = [](int) { showHelpTopic(QStringLiteral("Shortcut_Keys.htm")); };
    window.commands.mnuHelpTips_Click = [&window](int) { operationsOf<TipsOperations>(window).showTips(); };
    window.commands.mnuHelpAbout_Click = [&window](int) {
        frmHelpAbout about(&window);
        about.exec();
    };
    window.commands.mnuHelpWeb_Click = [](int) { openInBrowser(QLatin1String(maker::kWebPage)); };
    window.commands.mnuHelpFeedback_Click = [](int) { openInBrowser(QLatin1String(maker::kFeedbackPage)); };
    window.commands.mnuHelpEmail_Click = [](int) {
        Notice said;
        SendMAPIMail(
            QLatin1String(maker::kSupportAddress), false, QString(),
            prompt::appTitle() + QStringLiteral(" support request"), QString(), QString(),
            [] { windowevents::keepAlive(); }, &said);
        prompt::tell(said);
    };
}

} // namespace rr
