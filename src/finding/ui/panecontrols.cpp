#include "finding/ui/panecontrols.h"

#include <QTabBar>
#include <QWidget>

namespace rr::findingui
{

void followInTabOrder(QWidget *page, const QList<QWidget *> &controls)
{
    // The bar of the tab strip the page belongs to.
    QWidget *stripBar = nullptr;
    for (QWidget *up = page->parentWidget(); up && !stripBar; up = up->parentWidget())
        stripBar = up->findChild<QTabBar *>(QString(), Qt::FindDirectChildrenOnly);
    if (!stripBar)
        return;
    // After the bar's own buttons, which follow it in the chain.
    QWidget *previous = stripBar;
    while (stripBar->isAncestorOf(previous->nextInFocusChain()))
        previous = previous->nextInFocusChain();
    for (QWidget *control : controls) {
        QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

void showWithWindow(const QList<QWidget *> &controls)
{
    for (QWidget *control : controls) {
        if (control->window()->isVisible())
            control->show();
    }
}

} // namespace rr::findingui
