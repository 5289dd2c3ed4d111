#include "web/ui/emailcommands.h"

#include "platform/gui/commands.h"
#include "platform/gui/windowevents.h"
#include "platform/mail.h"
#include "platform/paths.h"
#include "platform/prompt.h"
#include "platform/xslttransform.h"
#include "shell/opendatabase.h"
#include "shell/shownitems.h"
#include "storage/xmldatabase.h"
#include "web/aspectfiles.h"

#include <QApplication>
#include <QCursor>

#include <memory>

namespace rr
{
namespace
{

// The busy pointer for as long as the hand-off takes.
class BusyPointer
{
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

// While the mail program is being started, the windows keep repainting.
void keepWindowsAlive()
{
    windowevents::keepAlive();
}

// Hands the message to the mail program and shows what the hand-off has to say.
bool sendMail(const QString &subject, const QString &body, const QString &attachment)
{
    Notice said;
    const bool sent = SendMAPIMail(QString(), true, QString(), subject, body, attachment, keepWindowsAlive, &said);
    prompt::tell(said);
    return sent;
}

void tellNotMailed(const QString &reason)
{
    prompt::show(QStringLiteral("Nothing was sent: the page to attach could not be made.\n\n") + reason, MsgButtons::Ok,
                 MsgIcon::Exclamation);
}

} // namespace

void mnuEmailVD_Click(const OpenDatabase &db, const ShownItems &shown)
{
    if (!shown.vardeckShown() || !db.isOpen()) {
        prompt::show(QStringLiteral("A Vardeck must be selected to send it by e-mail"), MsgButtons::Ok,
                     MsgIcon::Information);
        return;
    }
    const QString body = db->getVDAsFormattedString(shown.currentWID());
    if (body.isEmpty()) {
        prompt::show(QStringLiteral("A Vardeck must be selected to send it by e-mail"), MsgButtons::Ok,
                     MsgIcon::Information);
        return;
    }
    BusyPointer busy;
    sendMail(QStringLiteral("Vardeck"), body, QString());
}

bool emailTransformedDB(const OpenDatabase &db, const QString &xsl, const QString &subject)
{
    if (!db.isOpen()) {
        tellNotMailed(QStringLiteral("No database is open."));
        return false;
    }
    BusyPointer busy;
    QString error;
    const QString base = db->getBasePath();
    const QString page = paths::programFolder() + QStringLiteral("/Vardecks.htm");
    if (!aspectfiles::restoreMissing(base, &error)) {
        tellNotMailed(error);
        return false;
    }
    // The page is made on a thread of its own from a copy, while the windows repaint.
    auto copy = std::make_unique<xslt::DocumentCopy>(*db.document());
    bool made = false;
    windowevents::runAside([&] {
        made = xslt::transformToFile(base + xsl, *copy, page, &error);
        copy.reset();
    });
    if (!made) {
        tellNotMailed(error);
        return false;
    }
    return sendMail(subject, QString(), page);
}

void installEmailCommands(Commands &commands, const OpenDatabase &db, const ShownItems &shown)
{
    commands.mnuEmailVD_Click = [&db, &shown](int) { mnuEmailVD_Click(db, shown); };
    commands.mnuEmailAllFolders_Click = [&db](int) {
        emailTransformedDB(db, QStringLiteral("VD_plain.xsl"), QStringLiteral("Vardecks - all folders"));
    };
    commands.mnuEmailAllVardecks_Click = [&db](int) {
        emailTransformedDB(db, QStringLiteral("VDAll_plain.xsl"), QStringLiteral("Vardecks - all"));
    };
    commands.mnuEmailFavorites_Click = [&db](int) {
        emailTransformedDB(db, QStringLiteral("VDFavs_plain.xsl"), QStringLiteral("Favorite Vardecks"));
    };
}

} // namespace rr
