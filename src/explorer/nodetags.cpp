#include "explorer/nodetags.h"

#include "shell/frmvardecks.h"

#include <QLabel>

namespace rr
{

void setNonEditableFields(frmVardecks &w, bool visible)
{
    w.lblWName->setVisible(visible);
    w.showNoVardeck();
    w.lblWName->setVisible(false);
    w.lblAddress->setText(QString());
    w.showInfoTabs(visible);
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

QString shownHits(const XmlNode &vardeck)
{
    QString hits;
    for (const XmlNode &child : vardeck.childElements()) {
        if (child.nodeName().toUpper() == QLatin1String("HITS"))
            hits = child.text();
    }
    return hits.isEmpty() ? QStringLiteral("1") : hits;
}

} // namespace rr
