#include "finding/searchhistory.h"

#include "storage/lists.h"

#include <algorithm>

namespace rr {

void recordSearchText(QStringList &history, const QString &text, int max)
{
    if (text.isEmpty())
        return;
    history.removeIf([&](const QString &entry) { return entry.compare(text, Qt::CaseInsensitive) == 0; });
    history.prepend(text);
    while (history.size() > std::max(max, 1))
        history.removeLast();
}

void refreshSearchList(const QString &text) { recordSearchText(searchColl, text, searchMax); }

QStringList searchListItems() { return searchColl; }

}  // namespace rr
