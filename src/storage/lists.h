#pragma once
// The application-wide recent list and search history with their lengths. The
// start-up sets the lengths from the options (0 there means 15) before the lists are
// loaded from the registry.
#include "storage/vddata.h"

#include <QList>
#include <QStringList>

namespace rr {

// The recent Vardecks, oldest first.
inline QList<VDData> recentColl;
// The past search texts, newest first.
inline QStringList searchColl;

inline int recentMax = 15;
inline int searchMax = 15;

}  // namespace rr
