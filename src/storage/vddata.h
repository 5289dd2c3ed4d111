#pragma once
// One opened Vardeck as the recent list remembers it: its address, name, WID and the
// database file it was taken from.
#include <QString>

namespace rr
{

class VDData
{
public:
    QString getURL() const { return m_url; }
    qint16 getHits() const { return m_hits; }
    QString getName() const { return m_name; }
    QString getID() const { return m_id; }
    QString getDBName() const { return m_dbName; }

    // The record as the registry keeps it.
    void loadDataFromReg(const QString &id, const QString &name, const QString &url, const QString &dbName);

    bool operator==(const VDData &) const = default;

private:
    QString m_url;
    QString m_name;
    QString m_id;
    QString m_dbName;
    qint16 m_hits = 0;
};

} // namespace rr
