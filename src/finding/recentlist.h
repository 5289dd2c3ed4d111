#pragma once
// The recent list: the Vardecks opened in a browser, oldest first in recentColl, and
// the Recent menu's items built from it, newest first.
#include "platform/xmldocument.h"
#include "storage/vardeckmodule.h"
#include "storage/vddata.h"

#include <QList>
#include <QString>

namespace rr
{

// The record of a Vardeck element as the recent list keeps it: its ADDRESS, NAME and
// WID, and the database file it was taken from.
VDData recentRecordOf(const XmlNode &vardeck, const QString &dbName);

// Drops the oldest records until fewer than max remain, so that after each recorded
// open the list holds at most max - 1 (14 for 15), also after max was lowered.
void trimRecentList(QList<VDData> &list, int max);

// The recording part of refreshRecentMenuList(wid): drops the oldest record with the
// same identifier and the same address as the element now has (both ignoring case),
// appends a new record of the element and trims the list. False, and nothing
// changed, when the document has no Vardeck with that WID. dbName is the file name of
// the database the document is ("Vardecks.xml").
bool recordRecentOpen(const XmlDocument *doc, const QString &wid, const QString &dbName, QList<VDData> &list, int max);

// One item of the Recent menu: "1  " and the name for the newest record, with "&"
// doubled so the name shows literally; the record's address as its tag; index is
// the record's position in the list (0 = oldest).
struct RecentMenuItem {
    QString caption;
    QString address;
    int record = 0;
    // The caption's two parts: the position with its two blanks, and the name as stored.
    QString position;
    QString name;
};
QList<RecentMenuItem> recentMenuItems(const QList<VDData> &list);

// What a Recent menu item opens: the recorded address always, and the WID whose
// visit is recorded when the open database still has that Vardeck at that address
// (ignoring letter case, as a reopen compares them); "" otherwise. itemIndex counts
// from the top (0 = newest).
struct RecentItemTarget {
    QString address;
    QString widToRecord;
};
RecentItemTarget recentItemTarget(const XmlDocument *doc, int itemIndex, const QList<VDData> &list);

// Clear recent Vardeck list: empties the list; the window then rebuilds the menu.
void clearRecentVardecks(QList<VDData> &list);

} // namespace rr
