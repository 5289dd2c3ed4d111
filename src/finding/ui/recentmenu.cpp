#include "finding/ui/recentmenu.h"

#include "finding/recentlist.h"
#include "media/urlsupport.h"
#include "platform/gui/textfit.h"
#include "shell/frmvardecks.h"
#include "shell/openaddress.h"
#include "storage/session.h"
#include "storage/xmldatabase.h"
#include "web/visits.h"

#include <QAction>
#include <QMenu>

namespace rr
{
namespace
{

constexpr MenuId kArray = MenuId::second;

void rebuildMenu(frmVardecks &w)
{
    for (int i = w.menuArrayUpperBound(kArray); i >= 1; --i)
        w.unloadMenuArrayElement(kArray, i);
    QAction *first = w.menuItem(kArray, 0);
    if (!first)
        return;
    const QList<RecentMenuItem> items = recentMenuItems(session().recentColl);
    first->setVisible(!items.isEmpty());
    if (QMenu *menu = w.subMenu(MenuId::mnuRecent))
        menu->setToolTipsVisible(true); // a shortened name shows whole there
    for (int i = 0; i < items.size(); ++i) {
        QAction *item = i == 0 ? first : w.loadMenuArrayElement(kArray, i);
        if (!item)
            continue;
        setMenuItemName(item, items[i].name, items[i].position);
        item->setData(items[i].address);
        item->setEnabled(true);
        item->setVisible(true);
    }
}

} // namespace

void refreshRecentMenuList(frmVardecks &w, const QString &wid)
{
    if (!wid.isEmpty())
        recordRecentOpen(w.dbXML.document(), wid, w.dbXML.name(), session().recentColl, session().recentMax);
    rebuildMenu(w);
}

void second_Click(frmVardecks &w, int index)
{
    const RecentItemTarget target = recentItemTarget(w.dbXML.document(), index, session().recentColl);
    if (target.address.isEmpty() && target.widToRecord.isEmpty())
        return;
    // A refused address is no visit.
    if (openInBrowser(target.address) == urlSupport::OpenResult::Refused)
        return;
    if (!target.widToRecord.isEmpty() && w.dbXML.isOpen())
        updateLastAccessed(*w.dbXML, target.widToRecord);
}

void mnuRecentClear_Click(frmVardecks &w)
{
    clearRecentVardecks(session().recentColl);
    refreshRecentMenuList(w, QString());
}

void installRecentMenu(frmVardecks &w)
{
    w.commands.refreshRecentMenuList = [&w](const QString &wid) { refreshRecentMenuList(w, wid); };
    w.commands.second_Click = [&w](int index) { second_Click(w, index); };
    w.commands.mnuRecentClear_Click = [&w](int) { mnuRecentClear_Click(w); };
}

} // namespace rr
