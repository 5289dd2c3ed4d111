#include "storage/ui/savereport.h"

#include "platform/prompt.h"
#include "storage/savereport.h"

#include <QCursor>
#include <QGuiApplication>

namespace rr
{

bool askToReplaceChangedFile(const QString &path, XMLDatabase::OnKeep onKeep)
{
    // A long run (an import) asks with the busy pointer up: the question takes the
    // ordinary one.
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    const bool replace =
        prompt::askYesNo(changedFileQuestion(path, onKeep), MsgIcon::Exclamation, QString(), MsgResult::No);
    QGuiApplication::restoreOverrideCursor();
    return replace;
}

bool saveDatabaseReporting(XMLDatabase &db)
{
    Notices notices;
    const bool saved = saveDatabase(db, notices);
    prompt::tell(notices);
    return saved;
}

} // namespace rr
