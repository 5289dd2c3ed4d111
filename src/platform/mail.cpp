#include "platform/mail.h"

#include "platform/launcher.h"

#include <QStringList>
#include <QUrl>

namespace rr
{

QString mailtoAddress(const QString &recipient, const QString &subject, const QString &body)
{
    QString address = QStringLiteral("mailto:") + QString::fromLatin1(QUrl::toPercentEncoding(recipient, "@"));
    QStringList fields;
    if (!subject.isEmpty())
        fields << QStringLiteral("subject=") + QString::fromLatin1(QUrl::toPercentEncoding(subject));
    if (!body.isEmpty())
        fields << QStringLiteral("body=") + QString::fromLatin1(QUrl::toPercentEncoding(body));
    if (!fields.isEmpty())
        address += QLatin1Char('?') + fields.join(QLatin1Char('&'));
    return address;
}

namespace
{

QString plainLineBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

bool SendMAPIMail(const QString &recipient, bool, const QString &, const QString &subject, const QString &body,
                  const QString &attachment, const std::function<void()> &whileWaiting, Notice *notice)
{
    Launcher &launch = launcher::installed();
    bool started = false;
    const QString xdgEmail = launch.findExecutable(QStringLiteral("xdg-email"));
    // xdg-email reads any argument that starts with "-" as an option.
    const bool useXdgEmail = !xdgEmail.isEmpty() && !recipient.startsWith(QLatin1Char('-'));
    if (useXdgEmail) {
        QStringList args{QStringLiteral("--utf8")};
        if (!subject.isEmpty())
            args << QStringLiteral("--subject") << subject;
        // xdg-email turns each line break of the body into CR LF itself, so the body
        // goes to it with plain LF breaks; a CR left in front would double the break.
        if (!body.isEmpty())
            args << QStringLiteral("--body") << plainLineBreaks(body);
        if (!attachment.isEmpty())
            args << QStringLiteral("--attach") << attachment;
        // No recipient: the user fills it in the mail program.
        if (!recipient.isEmpty())
            args << recipient;
        const ProgramRun run = launch.startAndWait(xdgEmail, args, kMailProgramWaitMs, whileWaiting);
        started = run.state == ProgramRun::State::StillRunning ||
                  (run.state == ProgramRun::State::Ended && run.exitCode == 0);
    }
    // Without xdg-email a mailto: address carries the text; the attachment is left to
    // the user, who is told where the file is.
    const bool handedOff = started;
    if (!useXdgEmail)
        started = launch.openUrl(mailtoAddress(recipient, subject, body));
    Notice said;
    if (started && !handedOff && !attachment.isEmpty())
        said = Notice(QStringLiteral("Your mail program was started without the attachment.  Please attach the "
                                     "file %1 to the message.")
                          .arg(attachment),
                      MsgIcon::Information);
    if (!started)
        said = Notice(QStringLiteral("There was an error logging in to e-mail messaging program."), MsgIcon::Critical);
    if (notice)
        *notice = said;
    return started;
}

} // namespace rr
