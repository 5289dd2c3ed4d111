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

bool saveDatabase(XMLDatabase &db, Notices &notices)
{
    const SaveOutcome outcome = db.save();
    if (outcome.kind == SaveOutcome::Kind::Failed)
        notices.append(Notice(saveFailedMessage(outcome.reason), MsgIcon::Exclamation));
    return outcome.written();
}

} // namespace rr
