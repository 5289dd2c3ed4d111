#pragma once
// Recording a Vardeck's visits, and the commands that open Vardecks, home pages and
// a blank page in the browser. The main window shows what a visit changed (the
// popular list, the details panel, the folder list row) through the visit listener.
#include "media/urlsupport.h"

#include <QDateTime>
#include <QString>
#include <functional>

namespace rr
{

class XMLDatabase;

struct VisitRecord {
    QString wid;
    QString stamp;      // the new KEYWORD2 text
    QString hits;       // the new HITS text
    bool saved = false; // false: the file keeps the earlier state, the document has the change
};

using VisitListener = std::function<void(const VisitRecord &)>;

// The one listener told of every recorded visit, after the save; an empty function
// removes it.
void setVisitListener(VisitListener listener);

// Records one visit of the Vardeck wid: the last-visited stamp of now into KEYWORD2,
// HITS one more (2 when empty or missing; missing children are created), then the
// file is saved. A failed save is shown with its reason and the change stays in the
// document. Returns the stamp; "" and nothing changed when no Vardeck has that WID.
QString updateLastAccessed(XMLDatabase &db, const QString &wid, const QDateTime &now = QDateTime::currentDateTime());

// updateLastAccessed in two halves, for a command that writes its own change and the
// visit in one save: recordVisit changes the document only (wid "" in the record when
// no Vardeck has that WID), announceVisit tells the listener once the caller has
// saved and set the record's saved.
VisitRecord recordVisit(XMLDatabase &db, const QString &wid, const QDateTime &now);
void announceVisit(const VisitRecord &visit);

// Records the visit, then opens the address (the visit counts even when the browser
// then fails; an address refused as unsafe is no visit).
urlSupport::OpenResult openVardeckInBrowser(XMLDatabase &db, const QString &wid, const QString &address);

// Opens the home page of address; homePageName names the Vardeck in the message when
// the home page is no web address. Records no visit.
urlSupport::OpenResult openHome(const QString &address, const QString &homePageName);

// Opens an empty browser window. Records no visit.
urlSupport::OpenResult openBlankBrowserWindow();

} // namespace rr
