#include "finding/recentlist.h"

#include "platform/textutil.h"
#include "storage/record.h"

namespace rr
{

VDData recentRecordOf(const XmlNode &vardeck, const QString &dbName)
{
    VDData record;
    record.loadDataFromReg(vardeck.attribute(tag::Wid), vardeck.childText(tag::Name), vardeck.childText(tag::Address),
                           dbName);
    return record;
}

void trimRecentList(QList<VDData> &list, int max)
{
    while (!list.isEmpty() && list.size() >= max)
        list.removeFirst();
}

bool recordRecentOpen(const XmlDocument *doc, const QString &wid, const QString &dbName, QList<VDData> &list, int max)
{
    const XmlNode vardeck = doc ? doc->nodeFromID(wid) : XmlNode();
    if (!vardeck)
        return false;
    const QString address = vardeck.childText(tag::Address);
    for (qsizetype i = 0; i < list.size(); ++i) {
        const VDData &record = list.at(i);
        if (sameText(record.getID(), wid) && sameText(record.getURL(), address)) {
            list.removeAt(i);
            break;
        }
    }
    list.append(recentRecordOf(vardeck, dbName));
    trimRecentList(list, max);
    return true;
}

QList<RecentMenuItem> recentMenuItems(const QList<VDData> &list)
{
    QList<RecentMenuItem> items;
    const int n = int(list.size());
    for (int p = 1; p <= n; ++p) {
        const VDData &record = list.at(n - p);
        const QString position = QString::number(p) + QLatin1String("  ");
        items.append({position + escapeMnemonic(record.getName()), record.getURL(), n - p, position, record.getName()});
    }
    return items;
}

RecentItemTarget recentItemTarget(const XmlDocument *doc, int itemIndex, const QList<VDData> &list)
{
    const qsizetype record = list.size() - 1 - itemIndex;
    if (itemIndex < 0 || record < 0)
        return {};
    const VDData &data = list.at(record);
    RecentItemTarget target{data.getURL(), QString()};
    const XmlNode vardeck = doc ? doc->nodeFromID(data.getID()) : XmlNode();
    if (vardeck && sameText(vardeck.childText(tag::Address), data.getURL()))
        target.widToRecord = vardeck.attribute(tag::Wid);
    return target;
}

void clearRecentVardecks(QList<VDData> &list)
{
    list.clear();
}

} // namespace rr
