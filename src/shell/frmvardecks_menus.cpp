// The menu bar, the hidden popup menus and the item arrays built at run time.
#include "controls/qbbuttons_h.h"
#include "platform/gui/menuaccesskeys.h"
#include "shell/frmvardecks.h"
#include "shell/menutable.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QRegularExpression>
#include <QTabBar>
#include <QTextEdit>

namespace rr
{
namespace
{

// "mnuNav(3)" -> ("mnuNav", 3); a plain name gives index -1.
std::pair<QString, int> splitArrayName(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^(.+)\\((\\d+)\\)$"));
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return {name, -1};
    return {match.captured(1), match.captured(2).toInt()};
}

// Element index of the item array: "mnuNav(3)".
QString elementName(MenuId array, int index)
{
    return splitArrayName(menuEntry(array).name).first + QStringLiteral("(%1)").arg(index);
}

void collect(const QList<QAction *> &actions, QList<QAction *> &out)
{
    for (QAction *action : actions) {
        out.append(action);
        if (QMenu *menu = action->menu())
            collect(menu->actions(), out);
    }
}

// A menu taller than the screen scrolls, as the Favorites menu does with thousands of
// favorites, instead of spreading over the whole screen in columns.
class ScrollingMenuStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returnData) const override
    {
        if (hint == SH_Menu_Scrollable)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

void frmVardecks::buildMenus()
{
    const QList<MenuEntry> &table = mainMenuTable();
    QMenu *parents[3] = {nullptr, nullptr, nullptr};
    // One style for every menu of the bar, owned by the window; based on the
    // application's style, so only the scrolling differs.
    auto *menuStyle = new ScrollingMenuStyle(QApplication::style()->name());
    menuStyle->setParent(this);
    for (qsizetype i = 0; i < table.size(); ++i) {
        const MenuEntry &entry = table[i];
        const bool opensSubMenu = i + 1 < table.size() && table[i + 1].level > entry.level;
        if (entry.level == 0 || opensSubMenu) {
            auto *menu = new QMenu(entry.caption, this);
            menu->setObjectName(entry.name);
            menu->setStyle(menuStyle);
            QAction *item = entry.level == 0 ? menuBar()->addMenu(menu) : parents[entry.level - 1]->addMenu(menu);
            item->setObjectName(entry.name);
            item->setVisible(!entry.hidden);
            m_menuItems.insert(entry.name, item);
            m_menus.insert(entry.name, menu);
            parents[entry.level] = menu;
            continue;
        }
        addMenuEntry(parents[entry.level - 1], entry);
    }
    menuItem(MenuId::mnuHelpTopics)->setProperty("HelpContextID", 11);
    // File and Favorites share F, Recent and the Favorites tab R: the menu opens every time.
    openFirstMenuOnAccessKey(menuBar());
}

QAction *frmVardecks::addMenuEntry(QMenu *parent, const MenuEntry &entry)
{
    auto *item = new QAction(parent);
    item->setObjectName(entry.name);
    setMenuCaption(item, entry.caption);
    if (!entry.shortcut.isEmpty())
        item->setShortcut(QKeySequence::fromString(entry.shortcut, QKeySequence::PortableText));
    item->setCheckable(entry.checkable);
    item->setChecked(entry.checked);
    const HandlerRef command = entry.command;
    const int index = entry.array ? splitArrayName(entry.name).second : 0;
    connect(item, &QAction::triggered, this, [this, item, command, index](bool checked) {
        // The commands move check marks themselves and look at the state before the click.
        if (item->isCheckable())
            item->setChecked(!checked);
        if (command)
            (commands.*command)(index);
    });
    parent->addAction(item);
    m_menuItems.insert(entry.name, item);
    return item;
}

QAction *frmVardecks::menuItem(MenuId id) const
{
    return m_menuItems.value(menuEntry(id).name);
}

QAction *frmVardecks::menuItem(MenuId array, int index) const
{
    return m_menuItems.value(elementName(array, index));
}

QMenu *frmVardecks::subMenu(MenuId id) const
{
    return m_menus.value(menuEntry(id).name);
}

QList<QAction *> frmVardecks::allMenuItems() const
{
    QList<QAction *> items;
    collect(menuBar()->actions(), items);
    return items;
}

QString frmVardecks::menuCaption(const QAction *item)
{
    return item->isSeparator() ? QStringLiteral("-") : item->text();
}

void frmVardecks::setMenuCaption(QAction *item, const QString &caption)
{
    const bool separator = caption == QLatin1String("-");
    item->setSeparator(separator);
    item->setText(separator ? QString() : caption);
}

int frmVardecks::menuArrayUpperBound(MenuId array) const
{
    const QString arrayName = splitArrayName(menuEntry(array).name).first;
    int upper = -1;
    for (auto it = m_menuItems.constBegin(); it != m_menuItems.constEnd(); ++it) {
        const auto [name, index] = splitArrayName(it.key());
        if (name == arrayName)
            upper = std::max(upper, index);
    }
    return upper;
}

QAction *frmVardecks::loadMenuArrayElement(MenuId array, int index)
{
    QAction *first = menuItem(array, 0);
    if (!first || index <= 0 || menuItem(array, index))
        return menuItem(array, index);
    auto *menu = qobject_cast<QMenu *>(first->parent());
    MenuEntry entry = menuEntry(array);
    entry.name = elementName(array, index);
    entry.caption = menuCaption(first);
    entry.level = 1;
    entry.checkable = first->isCheckable();
    entry.checked = first->isChecked();
    QAction *item = addMenuEntry(menu, entry);
    // A hidden placeholder reads as disabled; its elements start enabled then.
    item->setEnabled(!first->isVisible() || first->isEnabled());
    item->setVisible(first->isVisible());
    item->setShortcut(first->shortcut());

    // The array's elements stay together in index order.
    QAction *after = first;
    for (int i = index - 1; i > 0; --i) {
        if (QAction *previous = menuItem(array, i)) {
            after = previous;
            break;
        }
    }
    const QList<QAction *> actions = menu->actions();
    const qsizetype position = actions.indexOf(after);
    menu->removeAction(item);
    if (position + 1 < actions.size())
        menu->insertAction(actions.at(position + 1), item);
    else
        menu->addAction(item);
    return item;
}

void frmVardecks::unloadMenuArrayElement(MenuId array, int index)
{
    if (index <= 0)
        return;
    QAction *item = m_menuItems.take(elementName(array, index));
    delete item;
}

void frmVardecks::popupMenu(MenuId menuId)
{
    if (QMenu *menu = subMenu(menuId))
        menu->popup(m_popupAt.value_or(QCursor::pos()));
}

bool frmVardecks::keyboardPopup(QWidget *focus)
{
    if (!focus || focus->window() != this)
        return false;
    // The control whose right-click opens the popup, and where on it the click is made.
    QWidget *target = focus;
    QPoint clickAt = focus->rect().center();
    QPoint anchor = clickAt;
    if (auto *view = qobject_cast<QAbstractItemView *>(focus)) {
        target = view->viewport();
        const QModelIndex current = view->currentIndex();
        if (current.isValid()) {
            view->scrollTo(current);
            clickAt = anchor = view->visualRect(current).center();
        } else {
            // No current item: a click beside every item.
            clickAt = QPoint(-1, -1);
            anchor = QPoint(0, 0);
        }
    } else if (focus == at<QTextEdit>(Place::Notes)) {
        target = at<QTextEdit>(Place::Notes)->viewport();
        clickAt = anchor = at<QTextEdit>(Place::Notes)->cursorRect().center();
    } else if (auto *bar = qobject_cast<QTabBar *>(focus)) {
        clickAt = anchor = bar->tabRect(bar->currentIndex()).center();
    } else {
        return false;
    }
    m_popupAt = target->mapToGlobal(anchor);
    const QPointF local(clickAt);
    const QPointF global(target->mapToGlobal(clickAt));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
    m_popupAt.reset();
    return true;
}

void frmVardecks::listPopup(QTreeWidget *list, EntryList which, QTreeWidgetItem *row, bool severalRows)
{
    popup.listPressed(which);
    if (!row) {
        popupMenu(MenuId::mnuNoVD);
        return;
    }
    const bool multi = severalRows && list->selectedItems().size() != 1;
    if (!multi)
        list->clearSelection();
    list->setCurrentItem(row, 0, QItemSelectionModel::NoUpdate);
    row->setSelected(true);
    popupMenu(multi ? MenuId::mnuListVDMulti : MenuId::mnuListVD);
}

void frmVardecks::LoadDynamicMenus()
{
    for (const MenuArrayLoad &load : dynamicMenuTable()) {
        for (int i = 0; i < load.captions.size(); ++i) {
            QAction *item = loadMenuArrayElement(load.array, i + 1);
            setMenuCaption(item, load.captions[i]);
            item->setVisible(true);
        }
        menuItem(load.array, 0)->setVisible(false);
    }
}

void frmVardecks::resetMenuItems()
{
    for (MenuId id : resetMenuItemIds())
        menuItem(id)->setEnabled(false);
    at<qbButtons_H>(Place::MoveFolderButton)->setEnabled(false);
    at<qbButtons_H>(Place::MoveVardeckButton)->setEnabled(false);
}

void frmVardecks::disableAllMenuItems()
{
    for (auto it = m_menuItems.constBegin(); it != m_menuItems.constEnd(); ++it) {
        if (it.key().startsWith(QStringLiteral("mnu"), Qt::CaseInsensitive))
            it.value()->setEnabled(false);
    }
}

} // namespace rr
