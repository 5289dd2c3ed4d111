#include "storage/ui/savereport.h"

#include "platform/prompt.h"
#include "storage/savereport.h"

namespace rr
{

bool saveDatabaseReporting(const XMLDatabase &db)
{
    Notices notices;
    bool saved = saveDatabase(db, notices);
    // Another program changed the file, and the save wrote nothing: the user decides
    // whether it is written over. The default keeps the file and the change in memory.
    if (!saved && db.keptChangedFile()) {
        if (!prompt::askYesNo(changedFileQuestion(db.savePath()), MsgIcon::Exclamation, QString(), MsgResult::No))
            return false;
        db.replaceChangedFile();
        notices.clear();
        saved = saveDatabase(db, notices);
    }
    prompt::tell(notices);
    return saved;
}

} // namespace rr
