#include "explorer/detailsops.h"

#include "explorer/detailspanel.h"
#include "explorer/savevardeck.h"

namespace rr
{

void showLastVisit(frmVardecks &w, const QString &stamp)
{
    DetailsPanel::of(w).showLastVisit(stamp);
}

void takePageIntoEdit(frmVardecks &w, const PageFields &page)
{
    DetailsPanel::of(w).takePageIntoEdit(page);
}

void setEditedPageSize(frmVardecks &w, const QString &size)
{
    VardeckEditor::of(w).setEditedPageSize(size);
}

void showThumbnail(frmVardecks &w, const QImage &thumbnail)
{
    DetailsPanel::of(w).showThumbnail(thumbnail);
}

void showSiteIcon(frmVardecks &w, const QPixmap &icon)
{
    DetailsPanel::of(w).showSiteIcon(icon);
}

void siteIconRemoved(frmVardecks &w)
{
    DetailsPanel::of(w).siteIconRemoved();
}

} // namespace rr
