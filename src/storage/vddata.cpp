#include "storage/vddata.h"

#include "platform/xmldocument.h"
#include "storage/vardeckmodule.h"

namespace rr
{

bool VDData::loadData(const XmlNode &vardeck, const QString &dbName)
{
    const XmlNode address = vardeck.child(QStringLiteral("ADDRESS"));
    const XmlNode name = vardeck.child(QStringLiteral("NAME"));
    if (!address || !name)
        return false;
    m_url = address.text();
    m_name = name.text();
    m_id = vardeck.attribute(QStringLiteral("WID"));
    m_dbName = dbName;
    return true;
}

void VDData::loadDataFromReg(const QString &id, const QString &name, const QString &url, const QString &dbName)
{
    m_id = id;
    m_name = name;
    m_url = url;
    m_dbName = dbName;
}

} // namespace rr
