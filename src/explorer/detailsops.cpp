#include "explorer/detailsops.h"

#include "explorer/detailspanel.h"
#include "explorer/savevardeck.h"
#include "shell/frmvardecks.h"
#include "shell/installedpart.h"

namespace rr
{

void showLastVisit(frmVardecks &w, const QString &stamp)
{
    if (DetailsPanel *panel = installedPart<DetailsPanel>(w))
        panel->showLastVisit(stamp);
}

void takePageIntoEdit(frmVardecks &w, const PageFields &page)
{
    if (DetailsPanel *panel = installedPart<DetailsPanel>(w))
        panel->takePageIntoEdit(page);
}

void setEditedPageSize(frmVardecks &w, const QString &size)
{
    if (VardeckEditor *editor = installedPart<VardeckEditor>(w))
        editor->setEditedPageSize(size);
}

void clearTextBoxes(frmVardecks &w)
{
    DetailsPanel &panel = DetailsPanel::of(w);
    for (EditField field :
         {EditField::Name, EditField::Address, EditField::Description, EditField::Keywords, EditField::Notes})
        panel.setFieldText(field, QString());
    w.setVardeckTabCaption(QString());
}

void showThumbnail(frmVardecks &w, const QImage &thumbnail)
{
    if (DetailsPanel *panel = installedPart<DetailsPanel>(w))
        panel->showThumbnail(thumbnail);
}

void showSiteIcon(frmVardecks &w, const QPixmap &icon)
{
    if (DetailsPanel *panel = installedPart<DetailsPanel>(w))
        panel->showSiteIcon(icon);
}

void siteIconRemoved(frmVardecks &w)
{
    if (DetailsPanel *panel = installedPart<DetailsPanel>(w))
        panel->siteIconRemoved();
}

} // namespace rr
