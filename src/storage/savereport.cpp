#include "storage/savereport.h"

namespace rr
{

QString saveFailedMessage(const QString &reason)
{
    return QStringLiteral("The Vardecks database could not be saved.  The change is kept until the next save.\n\n") +
           reason;
}

QString changedFileQuestion(const QString &path, XMLDatabase::OnKeep onKeep)
{
    return QStringLiteral("The Vardecks database file %1 was changed by another program after it was read.\n\n"
                          "Replace it with the database as it is here?  No keeps the file as it is on disk, and %2")
        .arg(path, onKeep == XMLDatabase::OnKeep::ChangeStays ? QStringLiteral("the change here until the next save.")
                                                              : QStringLiteral("nothing is added."));
}

bool saveDatabase(const XMLDatabase &db, Notices &notices)
{
    QString error;
    if (db.save(&error))
        return true;
    if (db.userKeptChangedFile())
        return false;
    notices.append(Notice(saveFailedMessage(error), MsgIcon::Exclamation));
    return false;
}

} // namespace rr
