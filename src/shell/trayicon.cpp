#include "shell/trayicon.h"

#include "platform/prompt.h"
#include "shell/frmvardecks.h"

#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

namespace rr
{
namespace
{

// Minimise goes to the tray instead of the task bar.
class MinimiseToTray : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::WindowStateChange && window && window->isMinimized() &&
            QSystemTrayIcon::isSystemTrayAvailable()) {
            // Hide after the state change has finished.
            QTimer::singleShot(0, window, [window] {
                if (window->isMinimized())
                    window->hide();
            });
        }
        return QObject::eventFilter(watched, event);
    }
};

struct TrayState {
    QPointer<frmVardecks> form;
    QPointer<QMenu> menu;
    QSystemTrayIcon *icon = nullptr;
    MinimiseToTray *filter = nullptr;
    QString tip;
};

TrayState &tray()
{
    static TrayState state;
    return state;
}

} // namespace

void addTrayIcon(frmVardecks *form, QMenu *menu)
{
    TrayState &t = tray();
    if (t.icon || !form)
        return; // one icon per process
    t.form = form;
    t.menu = menu;
    t.icon = new QSystemTrayIcon(form->windowIcon(), form);
    t.icon->setObjectName(QStringLiteral("trayIcon"));
    if (!t.tip.isEmpty())
        t.icon->setToolTip(t.tip);
    QObject::connect(t.icon, &QSystemTrayIcon::activated, form, [](QSystemTrayIcon::ActivationReason reason) {
        TrayState &s = tray();
        if (reason == QSystemTrayIcon::Trigger)
            trayIconLeftClick();
        else if (reason == QSystemTrayIcon::Context && s.menu)
            s.menu->popup(QCursor::pos());
    });
    t.filter = new MinimiseToTray(form);
    form->installEventFilter(t.filter);
    t.icon->show();
}

void removeTrayIcon()
{
    TrayState &t = tray();
    if (t.filter && t.form)
        t.form->removeEventFilter(t.filter);
    delete t.filter;
    t.filter = nullptr;
    delete t.icon;
    t.icon = nullptr;
}

void setTrayTip(const QString &text)
{
    TrayState &t = tray();
    t.tip = text.left(63);
    if (t.icon)
        t.icon->setToolTip(t.tip);
}

QSystemTrayIcon *trayIcon()
{
    return tray().icon;
}

void trayIconLeftClick()
{
    frmVardecks *form = tray().form;
    if (!form)
        return;
    if (form->isMinimized() || !form->isVisible()) {
        if (form->LastState() == 2)
            form->showMaximized();
        else
            form->showNormal();
    } else {
        form->show();
    }
    form->raise();
    form->activateWindow();
}

} // namespace rr
