#pragma once
// What the parts above the Explorer (the web panes, the icon and thumbnail runs, the
// Import/Export window) ask the details panel and the edit it holds: they include this
// header and call these directly, as they link the Explorer. What the frame and the
// finding panes, which sit below the Explorer, ask of the panel, and the parts above
// with them, is the DetailsOperations the panel offers on the window
// (shell/detailsoperations.h: displayVardeckData, detailsText, showHits…).
#include <QString>

class QImage;
class QPixmap;

namespace rr
{

class frmVardecks;

// What a page gives the edit boxes of the Vardeck synchronised with it.
struct PageFields {
    QString name;
    QString address;
    QString description;
    QString keywords;
};

// The shown Vardeck was visited: the day and time of the visit.
void showLastVisit(frmVardecks &w, const QString &stamp);
// A synchronisation fills the edit boxes of the update it began with what the page gave.
void takePageIntoEdit(frmVardecks &w, const PageFields &page);
// The Vardeck being edited takes the size in KB of its page as just read ("12.5"): the
// details show it and Save stores it.
void setEditedPageSize(frmVardecks &w, const QString &size);
// The edit boxes and the notes are emptied, and the Vardeck tab's caption with them.
void clearTextBoxes(frmVardecks &w);
// The shown Vardeck's thumbnail was made or removed (a null picture).
void showThumbnail(frmVardecks &w, const QImage &thumbnail);
// A site icon was fetched or chosen for the shown Vardeck (a null picture: none could be
// read), or its icon was removed.
void showSiteIcon(frmVardecks &w, const QPixmap &icon);
void siteIconRemoved(frmVardecks &w);

} // namespace rr
