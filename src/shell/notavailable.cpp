#include "shell/notavailable.h"

#include "platform/prompt.h"

namespace rr {

void notAvailableYet(const QString &feature)
{
    prompt::show(feature + QStringLiteral(" is not available yet."), MsgButtons::Ok, MsgIcon::Information);
}

} // namespace rr
