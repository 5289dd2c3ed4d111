#pragma once
#include <QString>

namespace rr {

// The one placeholder for commands whose feature is built later: it tells the user,
// through the prompt seam, that the feature is not available yet.
void notAvailableYet(const QString &feature);

} // namespace rr
