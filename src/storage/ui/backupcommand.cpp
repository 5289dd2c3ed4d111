#include "storage/ui/backupcommand.h"

#include "platform/prompt.h"
#include "storage/dbfolder.h"

#include <QFileInfo>

namespace rr
{

QString proposedBackupName(const QString &dbName)
{
    const QFileInfo name(dbName);
    const QString stem = name.completeBaseName().isEmpty() ? QStringLiteral("Vardecks") : name.completeBaseName();
    return stem + QStringLiteral("-backup.xml");
}

bool runBackupCommand(const QString &databasePath, const QString &dbName)
{
    FileRequest request;
    request.kind = FileRequest::Kind::Save;
    request.title = QStringLiteral("Choose a folder location to backup your Vardecks database to...");
    request.startFolder = QFileInfo(databasePath).absolutePath();
    // The open database's own name would be refused: the picker offers a name beside it.
    request.defaultName = proposedBackupName(dbName);
    request.filters = {QStringLiteral("XML Files (*.xml)")};
    QString target;
    for (;;) {
        target = prompt::file(request);
        if (target.isEmpty())
            return false;
        if (!DatabaseFolder::isSameFile(databasePath, target))
            break;
        prompt::show(QStringLiteral("The backup cannot be written over the open database itself - please choose a "
                                    "different file"),
                     MsgButtons::Ok, MsgIcon::Exclamation);
        // Back to the picker, in the folder the user was in.
        request.startFolder = QFileInfo(target).absolutePath();
    }
    if (QFileInfo::exists(target) &&
        !prompt::askYesNo(QStringLiteral("The file ") + target +
                              QStringLiteral(" already exists.  Do you wish to overwrite the existing file?"),
                          MsgIcon::None, QStringLiteral("Overwrite file?")))
        return false;
    QString error;
    if (!DatabaseFolder::backupDatabase(databasePath, target, &error)) {
        prompt::show(QStringLiteral("The Vardecks database could not be backed-up to ") + target +
                         QStringLiteral(".\n\n") + error,
                     MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    prompt::show(QStringLiteral("Vardecks database successfully backed-up to ") + target, MsgButtons::Ok, MsgIcon::None,
                 QStringLiteral("Successful Vardecks backup"));
    return true;
}

} // namespace rr
