#include "shell/frmvardecks.h"

#include "controls/qbbuttons_h.h"
#include "platform/gui/listviews.h"
#include "platform/gui/partoperations.h"
#include "platform/prompt.h"
#include "platform/textutil.h"
#include "shell/dragsources.h"
#include "shell/foldertreeoperations.h"
#include "shell/splitter.h"
#include "shell/statuspanels.h"
#include "shell/tabstrip.h"
#include "shell/twips.h"
#include "storage/record.h"
#include "storage/xmldatabase.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

namespace rr
{

frmVardecks::frmVardecks(QWidget *parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmVardecks"));
    setWindowTitle(prompt::appTitle());
    // The window is designed for an 8-point font.
    QFont designFont = font();
    designFont.setPointSize(8);
    setFont(designFont);
    formClient = new QWidget(this);
    formClient->setObjectName(QStringLiteral("formClient"));
    setCentralWidget(formClient);
    m_standIns = new QWidget(this);
    m_standIns->hide();

    buildImageLists();
    buildMenus();
    buildToolbars();
    buildStatusBar();
    buildPanes();
    buildHiddenControls();
    wireTabStrips();
    registerOwnCommands();
    m_dragSources = new DragSources(
        drag, [this](const QString &wid) { return m_editState == EditState::Viewing && dbXML.vardeck(wid); }, this);

    formClient->installEventFilter(this);
    // The background and the right pane answer the pointer: see backgroundEvent.
    formClient->setMouseTracking(true);
    Picture1->setMouseTracking(true);
    qApp->installEventFilter(this);
    formClient->setMinimumSize(layoutMinimumSize());
    resize(twips::toPx(10500), twips::toPx(7590));
}

frmVardecks::~frmVardecks()
{
    qApp->removeEventFilter(this);
    // The parts that watch the controls outlive them while the window comes down:
    // they stop watching first, so that no teardown event reaches a part that would
    // look at a control already gone.
    const QList<QWidget *> controls = findChildren<QWidget *>();
    for (QObject *part : children()) {
        if (part->isWidgetType())
            continue;
        for (QWidget *control : controls)
            control->removeEventFilter(part);
    }
}

// ----- control arrays -----

// ----- what the window shows -----

void frmVardecks::showFolder(const QString &tid, const QString &name)
{
    m_currentTID = identifierOf(tid);
    // The caption is only ever shown (labels, tabs, questions): a name of millions of
    // letters is cut to what can be shown.
    m_folderCaption = shownText(name);
    commands.lblTName_Change();
}

void frmVardecks::showNoFolder()
{
    m_currentTID.clear();
    m_folderCaption = kNoFolderCaption;
    commands.lblTName_Change();
}

void frmVardecks::showFolderPath()
{
    if (const std::optional<QString> path = operationsOf<FolderTreeOperations>(*this).folderPathOf(m_currentTID))
        StatusBar1->setFolderPath(*path);
}

void frmVardecks::showVardeck(const QString &wid, const QString &name)
{
    m_currentWID = identifierOf(wid);
    m_vardeckShown = true;
    m_vardeckCaption = shownText(name);
    commands.lblWName_Change();
}

void frmVardecks::showNoVardeck()
{
    m_vardeckShown = false;
    m_vardeckCaption = kNoVardeckCaption;
    commands.lblWName_Change();
}

void frmVardecks::forgetShownItems()
{
    showNoFolder();
    showNoVardeck();
    m_currentWID.clear();
}

// ----- the edit state -----

void frmVardecks::setEditState(EditState state)
{
    if (state == m_editState)
        return;
    m_editState = state;
    emit editStateChanged(state);
}

QMetaObject::Connection frmVardecks::whenEditStateChanges(const QObject *context, std::function<void(EditState)> run)
{
    return connect(this, &frmVardecks::editStateChanged, context, std::move(run));
}

bool frmVardecks::confirmLoseChanges()
{
    if (editState() == EditState::Viewing)
        return true;
    // No is the default: Enter, pressed right after a click that asked, keeps what was typed.
    return prompt::askYesNo(QStringLiteral("You are about to lose unsaved changes - do you wish to continue?"),
                            MsgIcon::None, QStringLiteral("Unsaved changes"), MsgResult::No);
}

// ----- keys -----

bool frmVardecks::Form_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    Q_UNUSED(modifiers);
    switch (key) {
    case Qt::Key_F2:
        commands.mnuNav_Click(1);
        return true;
    case Qt::Key_F3:
        commands.mnuNav_Click(2);
        return true;
    case Qt::Key_F4:
        commands.mnuNav_Click(3);
        return true;
    case Qt::Key_F5:
        commands.mnuNav_Click(4);
        return true;
    default:
        return false;
    }
}

void frmVardecks::Form_KeyPress(int keyAscii)
{
    if (keyAscii == 19)
        commands.saveVardeckDetails();
    else if (keyAscii == 27)
        commands.cancelVardeckEdit();
}

void frmVardecks::setDefaultButton(qbButtons_H *button)
{
    if (m_defaultButton == button)
        return;
    if (m_defaultButton)
        m_defaultButton->setDefaultLook(false);
    m_defaultButton = button;
    if (button)
        button->setDefaultLook(true);
}

// Enter presses the focused button, or else the default button, except in a text
// box of several lines, which keeps the key for its line breaks, and in a list or tree.
bool frmVardecks::handleEnterKey(QWidget *focus)
{
    // The press, like the window's other keys, runs once the key's delivery is over.
    auto pressLater = [this](qbButtons_H *target) {
        QTimer::singleShot(0, this, [button = QPointer<qbButtons_H>(target)] {
            if (button && button->isVisible() && button->isEnabled())
                button->click();
        });
    };
    if (auto *button = qobject_cast<qbButtons_H *>(focus)) {
        pressLater(button);
        return true;
    }
    if (qobject_cast<QTextEdit *>(focus) || qobject_cast<QPlainTextEdit *>(focus))
        return false;
    // A list or a tree takes Enter for the row it is on, never the search or the
    // button that was the default before the focus came to it.
    if (auto *view = qobject_cast<QAbstractItemView *>(focus)) {
        chooseKeyboardRow(view);
        return false;
    }
    if (m_defaultButton && m_defaultButton->isVisible() && m_defaultButton->isEnabled()) {
        pressLater(m_defaultButton);
        return true;
    }
    return false;
}

// A right-click on the window's background or on the right pane between its controls
// opens the popup of no Vardeck. A move there ends what the pointer left: over the
// background the link labels rest, over the right pane the message goes.
bool frmVardecks::backgroundEvent(QWidget *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
        popupMenu(MenuId::mnuNoVD);
        return true;
    }
    if (event->type() == QEvent::MouseMove) {
        if (watched == formClient)
            restLinkLabels();
        else
            showMessage(QString());
    }
    return false;
}

bool frmVardecks::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == formClient && event->type() == QEvent::Resize) {
        placeAlignedControls();
        Form_Resize();
        return false;
    }
    if ((watched == formClient || watched == Picture1) && backgroundEvent(static_cast<QWidget *>(watched), event))
        return true;
    // A new description, font or face of the details asks the panel for a new layout.
    // The details are looked for as handed over: a stand-in made from here would send
    // events of its own to this filter while it is made.
    if ((event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show) &&
        watched == m_places[std::size_t(Place::Details)]) {
        placeKeywordRow();
        return false;
    }
    // A new count beside "Found:" asks its page for a new layout.
    if ((event->type() == QEvent::LayoutRequest || event->type() == QEvent::Show) &&
        m_places[std::size_t(Place::FoundCount)] &&
        watched == m_places[std::size_t(Place::FoundCount)]->parentWidget()) {
        placeSearchCaptions();
        return false;
    }
    if (Toolbar1 && (watched == Toolbar1 || watched->parent() == Toolbar1)) {
        if (event->type() == QEvent::MouseMove) {
            auto *me = static_cast<QMouseEvent *>(event);
            Toolbar1_MouseMove(static_cast<QWidget *>(watched)->mapTo(Toolbar1, me->position().toPoint()).x());
        } else if (event->type() == QEvent::MouseButtonPress) {
            if (static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
                popupMenu(MenuId::mnuNoVD);
                return true;
            }
        }
    }
    // The Menu key (and Shift+F10, below) asks the control with the focus for its popup.
    if (event->type() == QEvent::ContextMenu && watched->isWidgetType() &&
        static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Keyboard &&
        keyboardPopup(static_cast<QWidget *>(watched)))
        return true;
    // Ctrl+Ins goes to the box it is pressed in, a read-only one too, which would not
    // claim it for itself.
    if (event->type() == QEvent::ShortcutOverride && keepsCopyKey(watched, static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride && ownShortcutComesFirst(watched, static_cast<QKeyEvent *>(event))) {
        // Refusing the box's claim is all: the key then goes to the window's shortcuts,
        // which run the menu item once; a key no enabled item takes reaches the box.
        event->ignore();
        return true;
    }
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return QMainWindow::eventFilter(watched, event);
    // A menu item's key that reaches a control found its item (or a menu above it)
    // disabled: the key does nothing then, wherever the focus is. A list would otherwise
    // take Ctrl+C as its own copy of a row, and a text box Ctrl+U and Ctrl+D as its keys
    // for deleting what is typed.
    if (static_cast<QWidget *>(watched)->window() == this && isMenuShortcut(static_cast<QKeyEvent *>(event)) &&
        !keepsKeyOfDisabledItem(watched, static_cast<QKeyEvent *>(event)))
        return true;
    // A key goes first to the focus widget and then up its parents; the window looks
    // at it once, on its first delivery, as the window would see it before its controls.
    auto *widget = static_cast<QWidget *>(watched);
    QWidget *focus = QApplication::focusWidget();
    const bool firstDelivery = focus ? widget == focus : widget == this;
    if (!firstDelivery || widget->window() != this)
        return QMainWindow::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    // The window's own keys run their command once the key's delivery is over: a
    // command may ask a question or rebuild the controls, and the control the key is
    // still on its way to (an in-place editor, a text box) must outlive the delivery.
    // The key itself goes on to the control unchanged.
    const int code = key->key();
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    if (code >= Qt::Key_F2 && code <= Qt::Key_F5)
        QTimer::singleShot(0, this, [this, code, modifiers] { Form_KeyDown(code, modifiers); });
    else if (code == Qt::Key_Escape)
        QTimer::singleShot(0, this, [this] { Form_KeyPress(27); });
    else if (code == Qt::Key_S && (modifiers & Qt::ControlModifier))
        QTimer::singleShot(0, this, [this] { Form_KeyPress(19); });
    // Shift+F10 is the Menu key's twin, as on other desktops: the control with the
    // focus gets the same request, a text box for its own menu.
    if (code == Qt::Key_F10 && (modifiers & ~Qt::KeypadModifier) == Qt::ShiftModifier) {
        QTimer::singleShot(0, this, [target = QPointer<QWidget>(focus ? focus : this)] {
            if (!target)
                return;
            const QPoint at = target->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
            QContextMenuEvent request(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
            QApplication::sendEvent(target, &request);
        });
        return true;
    }
    if ((code == Qt::Key_Return || code == Qt::Key_Enter) && !(modifiers & (Qt::ControlModifier | Qt::AltModifier)))
        return handleEnterKey(focus);
    return QMainWindow::eventFilter(watched, event);
}

namespace
{

// A control that types and edits text, where Del deletes a character. The web panes
// take their keys in an item of their own, which is no widget: they count as such.
bool editsText(const QObject *receiver)
{
    if (!receiver->isWidgetType())
        return true;
    // The web panes' pages get their keys through a quick widget, which hands them on
    // to that item.
    if (receiver->inherits("QQuickWidget"))
        return true;
    if (const auto *combo = qobject_cast<const QComboBox *>(receiver))
        receiver = combo->lineEdit();
    if (const auto *line = qobject_cast<const QLineEdit *>(receiver))
        return !line->isReadOnly();
    if (const auto *text = qobject_cast<const QTextEdit *>(receiver))
        return !text->isReadOnly();
    if (const auto *plain = qobject_cast<const QPlainTextEdit *>(receiver))
        return !plain->isReadOnly();
    return false;
}

// A box that shows text the user may select, editable or not.
bool showsText(const QObject *receiver)
{
    if (const auto *combo = qobject_cast<const QComboBox *>(receiver))
        receiver = combo->lineEdit();
    return qobject_cast<const QLineEdit *>(receiver) || qobject_cast<const QTextEdit *>(receiver) ||
           qobject_cast<const QPlainTextEdit *>(receiver);
}

} // namespace

// The menus' shortcuts reach their command wherever the focus is in the window: a text
// box or a web page otherwise keeps Ctrl+C and Ctrl+X as its own copy and cut keys.
// Del and Shift+Del, a box's keys for deleting what is typed, and Ctrl+Ins, its key for
// copying what is selected, stay with it; elsewhere Ctrl+Ins opens the Vardeck.
bool frmVardecks::ownShortcutComesFirst(const QObject *receiver, const QKeyEvent *key) const
{
    if (!isActiveWindow() || QApplication::activePopupWidget())
        return false;
    const QWidget *target =
        receiver->isWidgetType() ? static_cast<const QWidget *>(receiver) : QApplication::focusWidget();
    if (!target || target->window() != this)
        return false;
    return !keepsDeleteKey(receiver, key) && !keepsCopyKey(receiver, key) && isMenuShortcut(key);
}

bool frmVardecks::keepsCopyKey(const QObject *receiver, const QKeyEvent *key)
{
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() != Qt::Key_Insert || modifiers != Qt::ControlModifier)
        return false;
    // A key from the window system asks the window first whether it is a shortcut: the
    // box it goes to is the one with the focus.
    return showsText(receiver->isWidgetType() ? receiver : QApplication::focusWidget());
}

bool frmVardecks::keepsDeleteKey(const QObject *receiver, const QKeyEvent *key)
{
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    return key->key() == Qt::Key_Delete && (modifiers & ~Qt::ShiftModifier) == Qt::NoModifier && editsText(receiver);
}

bool frmVardecks::keepsKeyOfDisabledItem(const QObject *receiver, const QKeyEvent *key)
{
    return keepsDeleteKey(receiver, key) || keepsCopyKey(receiver, key) ||
           (key->matches(QKeySequence::Copy) && editsText(receiver));
}

bool frmVardecks::isMenuShortcut(const QKeyEvent *key) const
{
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const QKeySequence pressed(QKeyCombination(modifiers, Qt::Key(key->key())));
    for (const QAction *item : m_menuItems) {
        if (!item->shortcut().isEmpty() && item->shortcut() == pressed)
            return true;
    }
    return false;
}

void frmVardecks::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        Form_Resize();
    else if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
}

} // namespace rr
