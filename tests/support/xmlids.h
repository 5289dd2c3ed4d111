#pragma once
// The identifiers of an element's VARDECKS or SUBFOLDERS children ("" the top level),
// in a document or read back from a database file.
#include "storage/xmldatabase.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace rr::test
{

inline QStringList childIds(const XmlDocument &d, const QString &id, const QString &childName)
{
    const XmlNode container = id.isEmpty() ? d.documentElement() : d.nodeFromID(id).child(childName);
    QStringList out;
    for (const XmlNode &c : container.childElements())
        out << c.attribute(c.nodeName() == "VARDECK" ? "WID" : "TID");
    return out;
}

inline QStringList childIdsOnDisk(const QString &path, const QString &id, const QString &childName)
{
    XMLDatabase fresh;
    EXPECT_TRUE(fresh.openDBValidate(path));
    return childIds(*fresh.getTheDOM(), id, childName);
}

} // namespace rr::test
