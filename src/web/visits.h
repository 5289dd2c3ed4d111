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
    Notices notices;    // why the save failed
};

using VisitListener = std::function<void(const VisitRecord &)>;

// The one listener told of every recorded visit, after the save: the main window's
// shows a failed save's notices, then what the visit changed. An empty function
// removes it.
void setVisitListener(VisitListener listener);

// Records one visit of the Vardeck wid: the last-visited stamp of now into KEYWORD2,
// HITS one more (2 when empty or missing; missing children are created), then the
// file is saved. A failed save keeps the change in the document, and the record the
// listener gets says why. Returns the stamp; "" and nothing changed when no Vardeck
// has that WID.
QString updateLastAccessed(XMLDatabase &db, const QString &wid, const QDateTime &now = QDateTime::currentDateTime());

// updateLastAccessed in two halves, for a command that writes its own change and the
// visit in one save: recordVisit changes the document only (wid "" in the record when
// no Vardeck has that WID), announceVisit tells the listener once the caller has
// saved and set the record's saved (and, when it reports the save itself, left the
// record's notices empty).
VisitRecord recordVisit(XMLDatabase &db, const QString &wid, const QDateTime &now);
void announceVisit(const VisitRecord &visit);

// The openings below go through urlSupport::openInNewWindow; the window finishes
// them with finishOpening (shell/openaddress.h).

// Records the visit, then opens the address (the visit counts even when the browser
// then fails; an address refused as unsafe is no visit).
urlSupport::Opening openVardeckInBrowser(XMLDatabase &db, const QString &wid, const QString &address);

// Opens the home page of address; homePageName names the Vardeck in the notice when
// the home page is no web address. Records no visit.
urlSupport::Opening openHome(const QString &address, const QString &homePageName);

// Opens an empty browser window. Records no visit.
urlSupport::Opening openBlankBrowserWindow();

} // namespace rr
