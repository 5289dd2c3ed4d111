// The details panel's edit face: the boxes that edit a Vardeck's fields, what they hold
// and show, the switch between the edit face and the view face, and the keys of the
// boxes and of the locked notes.
#include "controls/qbbuttons_h.h"
#include "explorer/detailsops.h"
#include "explorer/detailspanel.h"
#include "platform/gui/singleline.h"
#include "platform/gui/textboxes.h"
#include "platform/textutil.h"
#include "shell/frmvardecks.h"
#include "shell/installedpart.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

namespace rr
{
namespace
{

// Any key pressed in the locked notes of a shown Vardeck starts a modification,
// except the keys that belong to the window (Ctrl+S saves, Esc cancels, F2 to F5
// move, Tab and Shift+Tab move the focus), the copy keys, and a modifier pressed on
// its own, which only prepares such a key.
bool startsModification(const QKeyEvent *key)
{
    // Copying what is selected changes nothing.
    if (key->matches(QKeySequence::Copy))
        return false;
    switch (key->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_F2:
    case Qt::Key_F3:
    case Qt::Key_F4:
    case Qt::Key_F5:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
    case Qt::Key_AltGr:
        return false;
    case Qt::Key_S:
        return !(key->modifiers() & Qt::ControlModifier);
    default:
        return true;
    }
}

} // namespace

void DetailsPanel::prepareForEdits()
{
    keepSingleLine(txtWName);
    keepSingleLine(txtAddress);
    for (QWidget *box : {static_cast<QWidget *>(txtAddress), static_cast<QWidget *>(txtKeywords),
                         static_cast<QWidget *>(txtNotes), txtNotes->viewport()})
        box->installEventFilter(this);
    // The notes' right-click has the window's own menu.
    txtNotes->setContextMenuPolicy(Qt::PreventContextMenu);
}

void DetailsPanel::showEditFace(bool editing)
{
    txtWName->setVisible(editing);
    txtWName->setEnabled(editing);
    lblWName->setVisible(w.vardeckShown() && !editing);
    for (qbButtons_H *button :
         {m_updateButton, m_keywordsUpdateButton, cmdAddFavs, m_searchDomain, m_searchLastVisited, m_searchCreatedDate})
        button->setVisible(!editing);
    txtAddress->setVisible(editing);
    txtAddress->setEnabled(editing);
    lblAddress->setVisible(!editing);
    txtDescription->setVisible(editing);
    txtDescription->setEnabled(true);
    txtKeywords->setVisible(editing);
    txtKeywords->setEnabled(true);
    lblDescription->setVisible(!editing);
    chkFav->setEnabled(editing);
    lblKeyWords->setVisible(!editing);
    txtNotes->setReadOnly(!editing);
}

void DetailsPanel::setNonEditableFields(bool detailsTabsShown)
{
    lblWName->setVisible(detailsTabsShown);
    w.showNoVardeck();
    lblWName->setVisible(false);
    lblAddress->setText(QString());
    w.showInfoTabs(detailsTabsShown);
    lblFileSize->setText(QString());
    label(Lbl::Hits)->setText(QString());
}

void DetailsPanel::showNoVardeckDetails()
{
    chkFav->setChecked(false);
    Picture10->hide();
    lblDescription->clear();
    lblKeyWords->clear();
    for (QLabel *value : {label(Lbl::LastVisited), lblFileSize, label(Lbl::Hits), lblHome})
        value->clear();
    picThumb->setPixmap(QPixmap());
}

void DetailsPanel::showCreatedDate(const QString &date)
{
    lblCreatedDate->setText(date);
}

void DetailsPanel::showPageSize(const QString &size)
{
    lblFileSize->setText(size + QStringLiteral(" KB"));
}

bool DetailsPanel::favoriteTicked() const
{
    return chkFav->isChecked();
}

void DetailsPanel::focusNameBox(bool cursorAtStart)
{
    txtWName->setFocus();
    if (cursorAtStart)
        txtWName->setCursorPosition(0);
}

bool DetailsPanel::isEditBox(const QWidget *widget) const
{
    return widget && (widget == txtWName || widget == txtAddress || widget == txtDescription || widget == txtKeywords ||
                      widget == txtNotes);
}

void DetailsPanel::showEditCaptions(const QObject &window, bool shown)
{
    const DetailsPanel *panel = installedPart<DetailsPanel>(window);
    Q_ASSERT_X(panel, "DetailsPanel::showEditCaptions", "the window has no details panel");
    if (!panel)
        return;
    for (Lbl caption : {Lbl::NameCaption, Lbl::AddressCaption})
        panel->label(caption)->setVisible(shown);
}

// The edit boxes stand on two tabs of the details: the name and the address above them,
// the description and the keywords on "Details", the notes on "Notes". Tab and Shift+Tab
// go from box to box across them, bringing the tab of the next box to the front, so
// that the keyboard reaches the notes and no tab header comes in between.
bool DetailsPanel::editBoxTab(QObject *box, const QKeyEvent *key)
{
    if (w.editState() == EditState::Viewing)
        return false;
    const bool tab = key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier);
    const bool backTab = key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && !tab);
    if ((!tab && !backTab) || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    struct Step {
        QWidget *from;
        bool forward;
        QWidget *to;
        InfoTab page; // the tab of the details that holds the box gone to
    };
    const Step steps[] = {
        {txtAddress, true, txtDescription, InfoTab::Details},
        {txtKeywords, true, txtNotes, InfoTab::Notes},
        {txtNotes, false, txtKeywords, InfoTab::Details},
    };
    for (const Step &step : steps) {
        if (step.from != box || step.forward != tab)
            continue;
        if (w.infoTab() != step.page)
            w.showInfoTab(step.page);
        step.to->setFocus(tab ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

bool DetailsPanel::notesEvent(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched == txtNotes) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (!startsModification(key) || w.editState() != EditState::Viewing)
            return false;
        // With a Vardeck shown the modification starts at once and the key goes on
        // to the notes it unlocked; otherwise the command's message waits until the
        // key's delivery is over.
        if (w.vardeckShown()) {
            txtNotes_KeyDown();
            return false;
        }
        QTimer::singleShot(0, this, [this] { txtNotes_KeyDown(); });
        return true;
    }
    if (event->type() == QEvent::MouseButtonPress && watched == txtNotes->viewport()) {
        const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
        if (button == Qt::RightButton) {
            txtNotes_MouseDown(button);
            return true;
        }
    }
    return false;
}

void DetailsPanel::txtNotes_KeyDown()
{
    if (w.editState() != EditState::Viewing)
        return;
    w.commands.mnuEditModify_Click();
    txtNotes->setFocus();
}

void DetailsPanel::txtNotes_MouseDown(Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    const QString selected =
        txtNotes->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    w.popup.textRightClicked(selected.isEmpty() ? fieldText(EditField::Notes) : selected);
    w.popupMenu(MenuId::mnuCopyMenu);
}

// The name, description and keywords the page gave replace those in the boxes; the
// address is the page's own.
void DetailsPanel::takePageIntoEdit(const PageFields &page)
{
    setFieldText(EditField::Name, page.name);
    setFieldText(EditField::Description, page.description);
    setFieldText(EditField::Keywords, page.keywords);
    setFieldText(EditField::Address, page.address);
}

// ----- the texts of the edit boxes -----

QString DetailsPanel::boxText(EditField field) const
{
    switch (field) {
    case EditField::Name:
        return txtWName->text();
    case EditField::Address:
        return txtAddress->text();
    case EditField::Description:
        return txtDescription->toPlainText();
    case EditField::Keywords:
        return txtKeywords->toPlainText();
    case EditField::Notes:
        return txtNotes->toPlainText();
    }
    return {};
}

void DetailsPanel::setFieldText(EditField field, const QString &text)
{
    HeldText &held = m_held[std::size_t(field)];
    const bool oneLine = field == EditField::Name || field == EditField::Address;
    held.whole = oneLine ? singleLineText(text) : text;
    const qsizetype most = oneLine ? kMostLineLetters : kMostEditedLetters;
    const bool cut = held.whole.size() > most;
    switch (field) {
    case EditField::Name:
    case EditField::Address: {
        QLineEdit *box = field == EditField::Name ? txtWName : txtAddress;
        box->setText(held.whole);
        setLineNotice(box, cut ? QStringLiteral("%1 of %2 letters shown: kept whole unless changed")
                                     .arg(letterCount(most), letterCount(held.whole.size()))
                               : QString());
        break;
    }
    case EditField::Description:
    case EditField::Keywords:
    case EditField::Notes: {
        PlainTextBox *plain = field == EditField::Description ? txtDescription
                              : field == EditField::Keywords  ? txtKeywords
                                                              : nullptr;
        const QString notice =
            cut ? QStringLiteral("This text has %1 letters: the box shows the first %2.  It is kept whole unless you "
                                 "change it here; a change keeps what the box holds.")
                      .arg(letterCount(held.whole.size()), letterCount(most))
                : QString();
        if (plain) {
            plain->setBoxText(held.whole);
            plain->setNotice(notice);
        } else {
            txtNotes->setBoxText(held.whole);
            txtNotes->setNotice(notice);
        }
        break;
    }
    }
    held.shown = boxText(field);
}

QString DetailsPanel::fieldText(EditField field) const
{
    const HeldText &held = m_held[std::size_t(field)];
    const QString shown = boxText(field);
    return shown == held.shown ? held.whole : shown;
}

bool DetailsPanel::fieldShowsStored(EditField field, const QString &stored) const
{
    const bool oneLine = field == EditField::Name || field == EditField::Address;
    return fieldText(field) == (oneLine ? singleLineText(stored) : stored);
}

} // namespace rr
