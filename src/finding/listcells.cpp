#include "finding/listcells.h"

#include "platform/textutil.h"
#include "storage/record.h"

namespace rr
{

QString padString(const QString &text, int width)
{
    const qsizetype missing = qsizetype(width) - text.size();
    if (missing <= 0)
        return text;
    return QString(missing, QLatin1Char(' ')) + text;
}

QString cellText(const QString &text)
{
    return text.isEmpty() ? QStringLiteral(" ") : text;
}

bool isRecentWid(const QString &wid, const QList<VDData> &recent)
{
    return std::any_of(recent.cbegin(), recent.cend(),
                       [&](const VDData &record) { return sameText(record.getID(), wid); });
}

QString vardeckAddress(const XmlDocument *doc, const QString &wid)
{
    if (!doc)
        return {};
    return doc->nodeFromID(wid).childText(tag::Address);
}

QList<XmlNode> vardecksOf(const XmlNode &folder)
{
    QList<XmlNode> out;
    for (const XmlNode &child : folder.child(tag::Vardecks).childElements()) {
        if (child.nodeName() == tag::Vardeck)
            out.append(child);
    }
    return out;
}

XmlNode folderOfVardeck(const XmlNode &vardeck)
{
    const XmlNode list = vardeck ? vardeck.parentNode() : XmlNode();
    if (!list || list.nodeName() != tag::Vardecks)
        return {};
    const XmlNode folder = list.parentNode();
    return folder && folder.nodeName() == tag::Folder ? folder : XmlNode();
}

} // namespace rr
