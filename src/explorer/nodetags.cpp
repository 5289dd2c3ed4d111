#include "explorer/nodetags.h"

#include "explorer/detailspanel.h"
#include "shell/frmvardecks.h"

#include <QLabel>

namespace rr
{

void setNonEditableFields(frmVardecks &w, bool visible)
{
    DetailsPanel &p = DetailsPanel::of(w);
    p.lblWName->setVisible(visible);
    w.showNoVardeck();
    p.lblWName->setVisible(false);
    p.lblAddress->setText(QString());
    w.showInfoTabs(visible);
    p.lblFileSize->setText(QString());
    p.label(Lbl::Hits)->setText(QString());
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
