#include "platform/gui/menuaccesskeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>

namespace rr
{
namespace
{

class MenuAccessKeys final : public QObject
{
public:
    explicit MenuAccessKeys(QMenuBar *bar) : QObject(bar), m_bar(bar) { qApp->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if ((type != QEvent::ShortcutOverride && type != QEvent::KeyPress) || !watched->isWidgetType())
            return false;
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->window() != m_bar->window() || QApplication::activePopupWidget())
            return false;
        const auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        // Alt and the letter anywhere in the window; the letter alone while the bar
        // itself has the keyboard.
        if (modifiers != Qt::AltModifier && !(modifiers == Qt::NoModifier && widget == m_bar))
            return false;
        QAction *first = firstWithAccessKey(key->key());
        if (!first)
            return false;
        // Taken as the window's own key, so that no shortcut of the bar runs; the
        // menu opens once the key's delivery is over.
        event->accept();
        if (type == QEvent::KeyPress && !key->isAutoRepeat())
            QTimer::singleShot(0, m_bar, [this, menu = QPointer<QAction>(first)] { open(menu); });
        return true;
    }

private:
    // The first visible menu of the bar with the access key.
    QAction *firstWithAccessKey(int key) const
    {
        if (!(key >= Qt::Key_A && key <= Qt::Key_Z) && !(key >= Qt::Key_0 && key <= Qt::Key_9))
            return nullptr;
        const QKeySequence accessKey(QKeyCombination(Qt::AltModifier, Qt::Key(key)));
        for (QAction *menu : m_bar->actions()) {
            if (menu->isVisible() && QKeySequence::mnemonic(menu->text()) == accessKey)
                return menu;
        }
        return nullptr;
    }

    void open(QAction *menu) const
    {
        if (!menu || !menu->isEnabled() || QApplication::activePopupWidget())
            return;
        m_bar->setActiveAction(menu);
        // Its first item ready, as the arrow down makes it: a sub-menu stays closed.
        if (QMenu *popup = menu->menu(); popup && popup->isVisible()) {
            QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
            QCoreApplication::sendEvent(popup, &down);
        }
    }

    QMenuBar *m_bar; // the parent
};

} // namespace

void openFirstMenuOnAccessKey(QMenuBar *bar)
{
    static const char kWatched[] = "rrMenuAccessKeys";
    if (!bar || bar->property(kWatched).toBool())
        return;
    bar->setProperty(kWatched, true);
    new MenuAccessKeys(bar);
}

} // namespace rr
