#include "finding/searchhistory.h"

#include "platform/textutil.h"
#include "storage/session.h"

#include <algorithm>

namespace rr
{

void recordSearchText(QStringList &history, const QString &text, int max)
{
    if (text.isEmpty())
        return;
    history.removeIf([&](const QString &entry) { return sameText(entry, text); });
    history.prepend(text);
    while (history.size() > std::max(max, 1))
        history.removeLast();
}

void refreshSearchList(const QString &text)
{
    recordSearchText(session().searchColl, text, session().searchMax);
}

QStringList searchListItems()
{
    return session().searchColl;
}

} // namespace rr
