#include "shell/opendatabase.h"

#include "storage/ui/savereport.h"

namespace rr
{

void OpenDatabase::open(std::unique_ptr<XMLDatabase> loaded, const QString &name)
{
    // The handle open before goes first, with its claim on its file.
    m_db = std::move(loaded);
    if (m_db) {
        m_db->setChangedFileQuestion(askToReplaceChangedFile);
        m_db->claimFile();
    }
    m_name = name;
    m_mostRecentName = name;
}

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
