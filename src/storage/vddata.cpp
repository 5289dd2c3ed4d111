#include "storage/vddata.h"

namespace rr
{

void VDData::loadDataFromReg(const QString &id, const QString &name, const QString &url, const QString &dbName)
{
    m_id = id;
    m_name = name;
    m_url = url;
    m_dbName = dbName;
}

} // namespace rr
