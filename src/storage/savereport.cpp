#include "storage/savereport.h"

namespace rr
{

QString saveFailedMessage(const QString &reason)
{
    return QStringLiteral("The Vardecks database could not be saved.  The change is kept until the next save.\n\n") +
           reason;
}

bool saveDatabase(const XMLDatabase &db, Notices &notices)
{
    QString error;
    if (db.save(&error))
        return true;
    notices.append(Notice(saveFailedMessage(error), MsgIcon::Exclamation));
    return false;
}

} // namespace rr
