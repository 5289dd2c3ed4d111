#include "finding/ui/recentmenu.h"

#include "finding/recentlist.h"
#include "media/urlsupport.h"
#include "platform/gui/commands.h"
#include "platform/gui/partoperations.h"
#include "platform/gui/textfit.h"
#include "shell/framemenus.h"
#include "shell/openaddress.h"
#include "shell/opendatabase.h"
#include "shell/recentmenuoperations.h"
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

void rebuildMenu(FrameMenus &menus)
{
    for (int i = menus.menuArrayUpperBound(kArray); i >= 1; --i)
        menus.unloadMenuArrayElement(kArray, i);
    QAction *first = menus.menuItem(kArray, 0);
    if (!first)
        return;
    const QList<RecentMenuItem> items = recentMenuItems(session().recentColl);
    first->setVisible(!items.isEmpty());
    if (QMenu *menu = menus.subMenu(MenuId::mnuRecent))
        menu->setToolTipsVisible(true); // a shortened name shows whole there
    for (int i = 0; i < items.size(); ++i) {
        QAction *item = i == 0 ? first : menus.loadMenuArrayElement(kArray, i);
        if (!item)
            continue;
        setMenuItemName(item, items[i].name, items[i].position);
        item->setData(items[i].address);
        item->setEnabled(true);
        item->setVisible(true);
    }
}

// The window's Recent menu as the other parts reach it.
class RecentMenu : public QObject, public RecentMenuOperations
{
public:
    RecentMenu(QObject &window, const OpenDatabase &db, FrameMenus &menus) : QObject(&window), m_db(db), m_menus(menus)
    {
        setObjectName(QStringLiteral("RecentMenu"));
    }

    void refreshRecentMenuList(const QString &wid) override { rr::refreshRecentMenuList(m_db, m_menus, wid); }

private:
    const OpenDatabase &m_db;
    FrameMenus &m_menus;
};

} // namespace

void refreshRecentMenuList(const OpenDatabase &db, FrameMenus &menus, const QString &wid)
{
    if (!wid.isEmpty())
        recordRecentOpen(db.document(), wid, db.name(), session().recentColl, session().recentMax);
    rebuildMenu(menus);
}

void second_Click(const OpenDatabase &db, int index)
{
    const RecentItemTarget target = recentItemTarget(db.document(), index, session().recentColl);
    if (target.address.isEmpty() && target.widToRecord.isEmpty())
        return;
    // A refused address is no visit.
    if (openInBrowser(target.address) == urlSupport::OpenResult::Refused)
        return;
    if (!target.widToRecord.isEmpty() && db.isOpen())
        updateLastAccessed(*db, target.widToRecord);
}

void mnuRecentClear_Click(const OpenDatabase &db, FrameMenus &menus)
{
    clearRecentVardecks(session().recentColl);
    refreshRecentMenuList(db, menus, QString());
}

void installRecentMenu(QObject &window, Commands &commands, const OpenDatabase &db, FrameMenus &menus)
{
    auto *recentMenu = new RecentMenu(window, db, menus);
    offerOperations<RecentMenuOperations>(window, *recentMenu, *recentMenu);
    commands.second_Click = [&db](int index) { second_Click(db, index); };
    commands.mnuRecentClear_Click = [&db, &menus](int) { mnuRecentClear_Click(db, menus); };
}

} // namespace rr
