// The button between the window system and its host: mouse and keys, the pressed and
// hover looks, check and option modes, option groups and the pressed move of shaped
// buttons.
#include "controls/buttoncolors.h"
#include "controls/buttonsurface.h"
#include "controls/qbbuttons_h.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcutEvent>

namespace rr
{

namespace
{

constexpr int kHoverTimerId = 237;
constexpr int kHoverInterval = 50;

const char *const kOptCount = "qb_OptCount";

QByteArray optEntry(int n)
{
    return QByteArray::number(n) + "qb_Obj";
}

int mouseButtonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int shiftOf(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

// The key code a host sees for a key: letters and digits as their capitals, the
// common control keys by their usual numbers, 0 for keys without one.
int keyCodeOf(const QKeyEvent *event)
{
    const int key = event->key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Space)
        return key;
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    default:
        if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
            return 112 + (key - Qt::Key_F1);
        return 0;
    }
}

bool isArrow(int keyCode)
{
    return keyCode >= 37 && keyCode <= 40;
}

} // namespace

qbButtons_H::qbButtons_H(QWidget *parent) : QAbstractButton(parent), m_surface(std::make_unique<ButtonSurface>())
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setProperty("qb_ClassID", QVariant::fromValue<QObject *>(this));
    m_hoverTimer.setInterval(kHoverInterval);
    connect(&m_hoverTimer, &QTimer::timeout, this, &qbButtons_H::checkHoverExit);
    // The platform's click (QAbstractButton::click, animateClick) is a left click.
    connect(this, &QAbstractButton::clicked, this, [this] {
        m_lastButton = 1;
        userControlClick();
    });
    m_containerWindow = parent;
    m_containerBackColor = buttoncolors::fromQColor(parent ? parent->palette().color(QPalette::Window)
                                                           : palette().color(QPalette::Window));
    applyPropertyChange(QStringLiteral("BackColor"));
}

qbButtons_H::~qbButtons_H()
{
    m_hoverTimer.stop();
    m_hoverActive = false;
    // A destroyed option button leaves its group, so no walk meets it again.
    if (m_mode == 2)
        manageOptionGroup(GroupAction::Unregister);
}

bool qbButtons_H::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut) {
        auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (shortcut->isAmbiguous()) {
            setFocus(Qt::ShortcutFocusReason);
        } else if (isEnabled()) {
            const QString text = shortcut->key().toString();
            AccessKeyPress(text.isEmpty() ? 0 : text.back().unicode());
        }
        return true;
    }
    if (event->type() == QEvent::ParentChange)
        setContainer(parentWidget());
    return QAbstractButton::event(event);
}

void qbButtons_H::setContainer(QWidget *container)
{
    if (container)
        m_containerBackColor = buttoncolors::fromQColor(container->palette().color(QPalette::Window));
    if (container == m_containerWindow)
        return;
    const bool grouped = m_mode == 2;
    if (grouped)
        manageOptionGroup(GroupAction::Unregister);
    m_containerWindow = container;
    if (grouped)
        manageOptionGroup(GroupAction::Register);
}

void qbButtons_H::mouseDown(int button, int shift, QPointF pos)
{
    m_lastButton = button;
    if (button == 1) {
        setFlag(kHeldDown, true);
        m_showPressed = true;
        m_delayDrawing = false;
        redrawButton();
    }
    emit MouseDown(button, shift, float(pos.x()), float(pos.y()));
}

void qbButtons_H::mousePressEvent(QMouseEvent *event)
{
    // The press grabs the mouse for the button until the release.
    mouseDown(mouseButtonOf(event->button()), shiftOf(event->modifiers()), event->position());
    event->accept();
}

void qbButtons_H::mouseMoveEvent(QMouseEvent *event)
{
    const int button = event->buttons() & Qt::LeftButton     ? 1
                       : event->buttons() & Qt::RightButton  ? 2
                       : event->buttons() & Qt::MiddleButton ? 4
                                                             : 0;
    if (!m_hoverActive && pointerOnOwnWindow()) {
        setFlag(kPointerOver, true);
        emit MouseOnButton(true);
        startHover();
        if (button == 1)
            m_showPressed = true;
        redrawButton();
    }
    emit MouseMove(button, shiftOf(event->modifiers()), float(event->position().x()), float(event->position().y()));
    event->accept();
}

void qbButtons_H::startHover()
{
    setProperty("qb_ClassID", QVariant::fromValue<QObject *>(this));
    setProperty("qb_TimerID", kHoverTimerId);
    m_hoverTimer.start();
    m_hoverActive = true;
    m_delayDrawing = false;
}

void qbButtons_H::checkHoverExit()
{
    if (pointerOnOwnWindow())
        return;
    m_hoverTimer.stop();
    setFlag(kPointerOver, false);
    m_hoverActive = false;
    m_delayDrawing = false;
    emit MouseOnButton(false);
    m_showPressed = false;
    redrawButton();
}

bool qbButtons_H::pointerOnOwnWindow() const
{
    // The widget under the pointer honours the mask, so cut-away parts of a shaped
    // button count as its container.
    return QApplication::widgetAt(QCursor::pos()) == this;
}

void qbButtons_H::mouseReleaseEvent(QMouseEvent *event)
{
    const int button = mouseButtonOf(event->button());
    m_showPressed = false;
    const bool wasHeld = (m_stateFlags & kHeldDown) != 0;
    if (button == 1) {
        setFlag(kHeldDown, false);
        m_delayDrawing = false;
        if (m_mode == 0)
            redrawButton();
    }
    emit MouseUp(button, shiftOf(event->modifiers()), float(event->position().x()), float(event->position().y()));
    m_lastButton = button;
    // The click follows a release over the visible button, except the release that
    // ends a double-click: that one was reported as DoubleClick.
    const bool endsDoubleClick = m_doubleClickHeld && button == 1;
    if (button == 1)
        m_doubleClickHeld = false;
    if (wasHeld && button == 1 && !endsDoubleClick && hitButton(event->position().toPoint()))
        userControlClick();
    event->accept();
}

bool qbButtons_H::hitButton(const QPoint &pos) const
{
    return rect().contains(pos) && (m_windowRegion.isEmpty() || m_windowRegion.contains(pos));
}

void qbButtons_H::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QPointF pos = event->position();
    emit DoubleClick(m_lastButton);
    if (m_lastButton == 1) {
        mouseDown(1, 0, pos);
        m_lastButton = -1;
        m_doubleClickHeld = true;
    }
    event->accept();
}

void qbButtons_H::userControlClick()
{
    if (m_lastButton != 1)
        return;
    if (m_mode == 1) {
        setValue(!m_value);
    } else if (m_mode == 2) {
        if (m_value)
            return;
        setValue(true);
    }
    emit Click();
}

void qbButtons_H::keyPressEvent(QKeyEvent *event)
{
    int keyCode = keyCodeOf(event);
    if (isArrow(keyCode)) {
        // The container handles the arrow keys, as for the other controls on it.
        event->ignore();
        return;
    }
    if (keyCode == 32 && !(m_stateFlags & kHeldDown)) {
        setFlag(kPointerOver, true);
        m_showPressed = true;
        setFlag(kHeldDown, true);
        redrawButton();
        if (!m_hoverActive)
            setFlag(kPointerOver, false);
    }
    if (keyCode != 0)
        emit KeyDown(keyCode, shiftOf(event->modifiers()));
    if (!event->text().isEmpty())
        emit KeyPress(event->text().at(0).unicode());
    if (keyCode == 13 && m_mode == 0 && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        // The button with the keyboard focus is the one the window shows as its
        // default: Enter presses it.
        AccessKeyPress(13);
        event->accept();
        return;
    }
    if (keyCode == 32)
        event->accept();
    else
        event->ignore(); // Esc and the host's own keys reach the host window
}

void qbButtons_H::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    const int keyCode = keyCodeOf(event);
    const int shift = shiftOf(event->modifiers());
    m_showPressed = false;
    bool swallowed = false;
    if (keyCode == 32 && (m_stateFlags & kHeldDown)) {
        setFlag(kHeldDown, false);
        m_lastButton = 1;
        if (m_mode == 0) {
            redrawButton();
        } else {
            emit KeyUp(keyCode, shift);
            swallowed = true;
        }
        userControlClick();
    } else if (isArrow(keyCode)) {
        swallowed = true;
        if (m_mode == 2 && !m_value) {
            m_lastButton = 1;
            userControlClick();
        }
    } else if (keyCode == 16) {
        swallowed = true;
    }
    if (!swallowed && keyCode != 0)
        emit KeyUp(keyCode, shift);
    if (keyCode == 32)
        event->accept();
    else
        event->ignore();
}

void qbButtons_H::AccessKeyPress(int keyAscii)
{
    if (!isEnabled())
        return;
    if ((keyAscii == 13 || keyAscii == 27) && m_mode != 0)
        return;
    if (keyAscii != 13 && keyAscii != 27 && !defaultLook())
        redrawButton();
    m_lastButton = 1;
    userControlClick();
}

bool qbButtons_H::deliverHostKey(QWidget *window, int keyAscii)
{
    if (!window || (keyAscii != 13 && keyAscii != 27))
        return false;
    const QList<qbButtons_H *> buttons = window->findChildren<qbButtons_H *>();
    for (qbButtons_H *button : buttons) {
        const bool chosen = keyAscii == 13 ? button->m_displayAsDefault : button->m_cancel;
        // Buttons of the window's own child dialogs belong to those dialogs.
        if (chosen && button->window() == window->window() && button->isVisible() && button->isEnabled()) {
            button->AccessKeyPress(keyAscii);
            return true;
        }
    }
    return false;
}

// A window shows one button as its default, the one Enter and Space press: the button
// with the window's keyboard focus, or, while no button has it, the host's default.
void qbButtons_H::showWindowDefault(QWidget *window, const QWidget *focus)
{
    const bool buttonFocused = qobject_cast<const qbButtons_H *>(focus) != nullptr;
    const QList<qbButtons_H *> buttons = window->findChildren<qbButtons_H *>();
    for (qbButtons_H *button : buttons) {
        if (button->window() != window)
            continue; // a child dialog's buttons are that dialog's
        const bool asDefault = button == focus || (button->m_displayAsDefault && !buttonFocused);
        if (asDefault != button->defaultLook())
            button->showAsDefault(asDefault);
    }
}

void qbButtons_H::focusInEvent(QFocusEvent *event)
{
    QAbstractButton::focusInEvent(event);
    showWindowDefault(window(), this);
    if (m_mode == 2 && !m_value && !manageOptionGroup(GroupAction::Query)) {
        m_lastButton = 1;
        userControlClick();
    }
}

void qbButtons_H::focusOutEvent(QFocusEvent *event)
{
    QAbstractButton::focusOutEvent(event);
    // Another window taking the keyboard leaves this window's looks as they are.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason)
        return;
    const QWidget *focus = QApplication::focusWidget();
    showWindowDefault(window(), focus && focus->window() == window() ? focus : nullptr);
}

bool qbButtons_H::manageOptionGroup(GroupAction action)
{
    QWidget *container = m_containerWindow;
    if (!container)
        return false;
    const int count = container->property(kOptCount).toInt();
    auto entry = [container](int n) {
        return qobject_cast<qbButtons_H *>(container->property(optEntry(n)).value<QObject *>());
    };
    if (m_value) {
        for (int n = 1; n <= count; ++n) {
            qbButtons_H *other = entry(n);
            if (other && other != this)
                other->setValue(false);
        }
    }
    switch (action) {
    case GroupAction::Register:
        container->setProperty(kOptCount, count + 1);
        container->setProperty(optEntry(count + 1), QVariant::fromValue<QObject *>(this));
        return false;
    case GroupAction::Unregister: {
        int at = 0;
        for (int n = 1; n <= count && at == 0; ++n)
            if (container->property(optEntry(n)).value<QObject *>() == this)
                at = n;
        if (at == 0)
            return false;
        for (int n = at; n < count; ++n)
            container->setProperty(optEntry(n), container->property(optEntry(n + 1)));
        container->setProperty(optEntry(count), QVariant());
        container->setProperty(kOptCount, count == 1 ? QVariant() : QVariant(count - 1));
        return false;
    }
    case GroupAction::Query:
        for (int n = 1; n <= count; ++n) {
            qbButtons_H *button = entry(n);
            if (button && button->m_value)
                return true;
        }
        return false;
    case GroupAction::Select:
        return false;
    }
    return false;
}

bool qbButtons_H::applyCustomClickOffset()
{
    if (m_customClick == 0 || m_mode != 0)
        return false;
    static constexpr int steps[9][2] = {{0, 0}, {0, -1}, {1, -1}, {-1, -1}, {1, 1}, {-1, 1}, {1, 0}, {0, 1}, {-1, 0}};
    const int dx = steps[m_customClick][0], dy = steps[m_customClick][1];
    const bool pressed = pressedLook();
    const bool shifted = (m_stateFlags & kPressShifted) != 0;
    if (pressed && !shifted) {
        move(pos() + QPoint(dx, dy));
        setFlag(kPressShifted, true);
        prepareDrawBuffer(false);
        // The moved window is drawn again once the event loop runs.
        QMetaObject::invokeMethod(this, &qbButtons_H::redrawButton, Qt::QueuedConnection);
        return true;
    }
    if (shifted && !pressed) {
        move(pos() - QPoint(dx, dy));
        setFlag(kPressShifted, false);
    }
    return false;
}

void qbButtons_H::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        onEnabledChanged();
        break;
    case QEvent::FontChange:
        applyPropertyChange(QStringLiteral("Font"));
        updateGeometry();
        layoutCaptionAndPicture();
        redrawButton();
        break;
    case QEvent::PaletteChange:
        // The container's colour shows around shaped and flat buttons.
        if (parentWidget())
            m_containerBackColor = buttoncolors::fromQColor(parentWidget()->palette().color(QPalette::Window));
        applyPropertyChange(QStringLiteral("BackColor"));
        redrawButton();
        break;
    default:
        break;
    }
    QAbstractButton::changeEvent(event);
}

} // namespace rr
