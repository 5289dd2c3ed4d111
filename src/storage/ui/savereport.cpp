#include "storage/ui/savereport.h"

#include "platform/prompt.h"
#include "storage/savereport.h"

namespace rr
{

bool saveDatabaseReporting(const XMLDatabase &db)
{
    Notices notices;
    const bool saved = saveDatabase(db, notices);
    prompt::tell(notices);
    return saved;
}

} // namespace rr
