#include "storage/savereport.h"

#include "platform/prompt.h"

namespace rr
{

QString saveFailedMessage(const QString &reason)
{
    return QStringLiteral("The Vardecks database could not be saved.  The change is kept until the next save.\n\n") +
           reason;
}

bool saveDatabaseReporting(const XMLDatabase &db)
{
    QString error;
    if (db.save(&error))
        return true;
    prompt::show(saveFailedMessage(error), MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

} // namespace rr
