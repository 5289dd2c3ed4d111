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

} // namespace rr
