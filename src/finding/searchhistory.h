#pragma once
// The search history behind the search box's drop-down list: past search texts,
// newest first, as typed, with no two equal ignoring letter case.
#include <QString>
#include <QStringList>

namespace rr
{

// Records a search text in history: an empty text changes nothing; otherwise every
// entry equal to it ignoring case goes, the text becomes the first entry, and the
// oldest entries go until at most max remain (also after max was lowered).
void recordSearchText(QStringList &history, const QString &text, int max);

// refreshSearchList without the box: records the text in searchColl with searchMax.
// The window then refills the box's list from searchListItems(), keeping the text
// that stands in the box.
void refreshSearchList(const QString &text);

// The items of the search box's list, in order (newest first).
QStringList searchListItems();

} // namespace rr
