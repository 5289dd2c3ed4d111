#include "web/visits.h"

#include "storage/datetext.h"
#include "storage/record.h"
#include "storage/savereport.h"
#include "storage/xmldatabase.h"

#include <limits>

namespace rr
{
namespace
{

VisitListener &listener()
{
    static VisitListener instance;
    return instance;
}

// An empty count stands for the visit of the Vardeck's creation, so the first counted
// visit makes 2; an unreadable count is treated the same way.
QString nextHits(const QString &hitsText)
{
    bool ok = false;
    const qlonglong hits = hitsText.trimmed().toLongLong(&ok);
    if (!ok)
        return QStringLiteral("2");
    return QString::number(hits == std::numeric_limits<qlonglong>::max() ? hits : hits + 1);
}

} // namespace

void setVisitListener(VisitListener newListener)
{
    listener() = std::move(newListener);
}

VisitRecord recordVisit(XMLDatabase &db, const QString &wid, const QDateTime &now)
{
    XmlDocument *doc = db.getTheDOM();
    XmlNode vardeck = doc ? doc->nodeFromID(wid) : XmlNode();
    if (!vardeck || vardeck.nodeName() != tag::Vardeck)
        return {};

    VisitRecord record;
    record.wid = wid;
    record.stamp = visitStampText(now);
    record.hits = nextHits(vardeck.childText(tag::Hits));
    vardeck.setChildText(tag::Keyword2, record.stamp);
    vardeck.setChildText(tag::Hits, record.hits);
    return record;
}

void announceVisit(const VisitRecord &visit)
{
    if (listener())
        listener()(visit);
}

QString updateLastAccessed(XMLDatabase &db, const QString &wid, const QDateTime &now)
{
    VisitRecord record = recordVisit(db, wid, now);
    if (record.wid.isEmpty())
        return {};
    record.saved = saveDatabase(db, record.notices);
    announceVisit(record);
    return record.stamp;
}

urlSupport::Opening openVardeckInBrowser(XMLDatabase &db, const QString &wid, const QString &address)
{
    // A refused address is no visit.
    if (urlSupport::isSafeToOpen(address))
        updateLastAccessed(db, wid);
    return urlSupport::openInNewWindow(address);
}

urlSupport::Opening openHome(const QString &address, const QString &homePageName)
{
    const QString home = urlSupport::calculateHomeURL(address);
    if (!urlSupport::isValidWWW(home))
        return {urlSupport::OpenResult::Refused,
                home,
                {QStringLiteral("The homepage for ") + homePageName + QStringLiteral(" could not be loaded"),
                 MsgIcon::Information}};
    return urlSupport::openInNewWindow(home);
}

urlSupport::Opening openBlankBrowserWindow()
{
    return urlSupport::openInNewWindow(QStringLiteral("about:blank"));
}

} // namespace rr
