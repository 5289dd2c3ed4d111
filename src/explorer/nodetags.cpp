#include "explorer/nodetags.h"

#include "shell/frmvardecks.h"
#include "shell/tabstrip.h"

#include <QLabel>

namespace rr
{

void setNonEditableFields(frmVardecks &w, bool visible)
{
    w.lblWName->setVisible(visible);
    w.showNoVardeck();
    w.lblWName->setVisible(false);
    w.lblAddress->setText(QString());
    w.tabInfo->setVisible(visible);
    w.lblFileSize->setText(QString());
    w.lbl(Lbl::Hits)->setText(QString());
}

QString shownFileSize(const XmlNode &vardeck)
{
    QString size;
    for (const XmlNode &child : vardeck.childElements()) {
        if (child.nodeName().toUpper() == QLatin1String("FILESIZE") && !child.text().isEmpty())
            size = child.text();
    }
    return size;
}

std::optional<QString> storedHits(const XmlNode &vardeck)
{
    std::optional<QString> hits;
    for (const XmlNode &child : vardeck.childElements()) {
        if (child.nodeName().toUpper() == QLatin1String("HITS"))
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
