#include "shell/opendatabase.h"

namespace rr
{

bool OpenDatabase::isOpen() const
{
    return document() != nullptr;
}

XmlDocument *OpenDatabase::document() const
{
    XmlDocument *doc = m_db ? m_db->getTheDOM() : nullptr;
    return doc && doc->isLoaded() ? doc : nullptr;
}

XmlNode OpenDatabase::element(const QString &id, const QString &elementName) const
{
    const XmlDocument *doc = document();
    const QString trimmed = id.trimmed();
    if (!doc || trimmed.isEmpty())
        return {};
    const XmlNode node = doc->nodeFromID(trimmed);
    return node && node.nodeName() == elementName ? node : XmlNode();
}

} // namespace rr
