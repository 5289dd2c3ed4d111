#include "explorer/nodetags.h"

#include "explorer/detailspanel.h"
#include "storage/record.h"

namespace rr
{

void setNonEditableFields(frmVardecks &w, bool visible)
{
    DetailsPanel::of(w).setNonEditableFields(visible);
}

QString idOf(const QTreeWidgetItem *item)
{
    return identifierOf(tagOf(item));
}

QString shownFileSize(const XmlNode &vardeck)
{
    QString size;
    for (const XmlNode &child : vardeck.childElements()) {
        if (child.nodeName().toUpper() == tag::FileSize && !child.text().isEmpty())
            size = child.text();
    }
    return size;
}

std::optional<QString> storedHits(const XmlNode &vardeck)
{
    std::optional<QString> hits;
    for (const XmlNode &child : vardeck.childElements()) {
        if (child.nodeName().toUpper() == tag::Hits)
            hits = child.text();
    }
    return hits;
}

QString shownHits(const XmlNode &vardeck)
{
    const QString hits = storedHits(vardeck).value_or(QString());
    return hits.isEmpty() ? QStringLiteral("1") : hits;
}

} // namespace rr
