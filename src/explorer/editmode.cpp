#include "explorer/editmode.h"

#include "controls/qbbuttons_h.h"
#include "explorer/detailsops.h"
#include "explorer/detailspanel.h"
#include "explorer/foldertree.h"
#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "finding/ui/findingops.h"
#include "platform/gui/partoperations.h"
#include "platform/gui/textboxes.h"
#include "shell/frmvardecks.h"
#include "shell/previewoperations.h"

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <functional>

namespace rr
{
namespace
{

constexpr Rule T = Rule::On;
constexpr Rule F = Rule::Off;
constexpr Rule K = Rule::Keep;
constexpr Rule FO = Rule::IfFolder;
constexpr Rule VD = Rule::IfVardeck;

const QString kMarker = QStringLiteral("   *");
const QString kPad = QStringLiteral("    ");

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

void showPreviewBlank(frmVardecks &w)
{
    operationsOf<PreviewOperations>(w).navigatePreview(QStringLiteral("about:blank"));
}

// A label of the table is an element of lbl() on the details panel.
void apply(frmVardecks &w, const EnablingRow &row, Rule rule, const std::function<QWidget *(Lbl)> &panelLabel)
{
    if (rule == Rule::Keep)
        return;
    const bool on = rule == Rule::On || (rule == Rule::IfFolder && w.folderShown()) ||
                    (rule == Rule::IfVardeck && w.vardeckShown());
    for (const EnablingTarget &target : row.targets) {
        QAction *item = target.kind == EnablingTarget::Kind::Toolbar ? w.toolbarButton(target.position)
                        : target.kind == EnablingTarget::Kind::Menu  ? w.menuItem(target.menu)
                                                                     : nullptr;
        QWidget *control = nullptr;
        if (target.kind == EnablingTarget::Kind::PartButton)
            control = target.partButton(w);
        else if (target.kind == EnablingTarget::Kind::Label)
            control = panelLabel(target.index);
        if (target.kind == EnablingTarget::Kind::Operation)
            target.operation(w, on);
        if (item)
            row.visibility ? item->setVisible(on) : item->setEnabled(on);
        if (control)
            row.visibility ? control->setVisible(on) : control->setEnabled(on);
    }
}

} // namespace

const QList<EnablingRow> &enablingTable()
{
    using enum MenuId;
    const auto tb = &EnablingTarget::toolbar;
    // clang-format off
    static const QList<EnablingRow> table = {
        // targets                                                            viewing modifying adding
        {{tb(Tb::CreateVardeck)},                                             T,  F,  F},
        {{tb(Tb::UpdateVardeck), tb(Tb::DeleteVardeck)},                      VD, F,  F},
        {{tb(Tb::FirstVardeck), tb(Tb::PreviousVardeck), tb(Tb::NextVardeck), tb(Tb::LastVardeck)}, FO, FO, FO},
        {{tb(Tb::NewFolder)},                                                 T,  F,  K},
        {{tb(Tb::RenameFolder)},                                              T,  F,  F},
        {{tb(Tb::DeleteFolder)},                                              FO, F,  F},
        {{tb(Tb::OpenInBrowser)},                                             VD, K,  K},
        {{tb(Tb::GetFromBrowser)},                                            T,  K,  K},
        {{tb(Tb::Save)},                                                      K,  T,  K},
        {{tb(Tb::Cancel)},                                                    K,  T,  T},
        {{mnuAddVardeck},                                                     T,  K,  F},
        {{mnuToolsGet, mnuAddTopic},                                          T,  K,  K},
        {{mnuEdit},                                                           T,  F,  K},
        {{mnuEditModifyTopic},                                                T,  K,  F},
        {{mnuFileOpen, mnuFavsAdd, mnuFavsDelete},                            T,  F,  F},
        {{mnuNavigate},                                                       FO, FO, FO},
        {{mnuEditDeleteTopic, mnuToolsIconFolder, mnuThumbFolder, mnuToolsSynchFolder}, FO, K, F},
        {{mnuToolsOpen, mnuToolsSynch, mnuToolsIconVD, mnuToolsIconRemove, mnuToolsIconFile, mnuThumbVD,
          mnuThumbRemove, mnuToolsOpenHome},                                  VD, K,  K},
        {{mnuEditModify, mnuEmailVD, mnuEditClip, mnuEditDelete},             VD, K,  F},
        {{&enableFavoriteButtons},                                            T,  F,  F},
        // The move buttons follow what is shown, as the details panel's captions set them.
        {{&FolderTree::moveButton},                                           FO, F,  F},
        {{&VardeckViews::moveButton},                                         VD, F,  F},
        {{EnablingTarget::label(Lbl::NameCaption), EnablingTarget::label(Lbl::AddressCaption)}, F, T, T, true},
    };
    // clang-format on
    return table;
}

void applyEnablingTable(frmVardecks &w)
{
    const EditState state = w.editState();
    const DetailsPanel &panel = DetailsPanel::of(w);
    const auto panelLabel = [&panel](Lbl index) -> QWidget * { return panel.label(index); };
    for (const EnablingRow &row : enablingTable()) {
        const Rule rule = state == EditState::Viewing     ? row.viewing
                          : state == EditState::Modifying ? row.modifying
                                                          : row.adding;
        apply(w, row, rule, panelLabel);
    }
    if (state == EditState::Viewing)
        return;
    // An edit shows the details: the page preview is left.
    if (w.infoTab() == InfoTab::Preview)
        w.showInfoTab(InfoTab::Details);
    showPreviewBlank(w);
}

void setMode(frmVardecks &w, EditState mode)
{
    if (w.editState() == mode)
        applyEnablingTable(w);
    else
        w.setEditState(mode);
}

void endEdit(frmVardecks &w)
{
    if (w.editState() != EditState::Viewing)
        setMode(w, EditState::Viewing);
}

void leaveEditMode(frmVardecks &w)
{
    setFormEditMode(w, false);
    setMode(w, EditState::Viewing);
}

void setFormEditMode(frmVardecks &w, bool editing)
{
    DetailsPanel &p = DetailsPanel::of(w);
    const QString caption = w.vardeckTabCaption().trimmed();
    if (editing) {
        w.setVardeckTabCaption(kMarker + caption + kPad);
    } else {
        // Only the unsaved marker goes; a caption without one stays whole.
        const QString name = caption.startsWith(QLatin1Char('*')) ? caption.mid(1) : caption;
        w.setVardeckTabCaption(kPad + name + kPad);
    }
    p.txtWName->setVisible(editing);
    p.txtWName->setEnabled(editing);
    p.lblWName->setVisible(w.vardeckShown() && !editing);
    for (qbButtons_H *button : {p.m_updateButton, p.m_keywordsUpdateButton, p.cmdAddFavs, p.m_searchDomain,
                                p.m_searchLastVisited, p.m_searchCreatedDate})
        button->setVisible(!editing);
    w.toolbarButton(Tb::UserOptions)->setEnabled(!editing);
    for (MenuId id :
         {MenuId::mnuToolsOptions, MenuId::mnuWebBrowser, MenuId::mnuToolsDup, MenuId::mnuSynch, MenuId::mnuToolsIcon,
          MenuId::mnuThumb, MenuId::mnuFileDatabase, MenuId::mnuFileImportExport, MenuId::mnuFileEmail})
        w.menuItem(id)->setEnabled(!editing);
    p.txtAddress->setVisible(editing);
    p.txtAddress->setEnabled(editing);
    p.lblAddress->setVisible(!editing);
    w.toolbarButton(Tb::Save)->setVisible(editing);
    w.toolbarButton(Tb::Cancel)->setVisible(editing);
    w.toolbarButton(Tb::Cancel)->setEnabled(editing);
    // Save and Cancel leave the toolbar with the edit: a tool-tip echo of either, left
    // by a pointer that rested on it, would name a button no longer there.
    if (!editing) {
        w.dropToolTipEcho(Tb::Save);
        w.dropToolTipEcho(Tb::Cancel);
    }
    p.txtDescription->setVisible(editing);
    p.txtDescription->setEnabled(true);
    p.txtKeywords->setVisible(editing);
    p.txtKeywords->setEnabled(true);
    p.lblDescription->setVisible(!editing);
    p.chkFav->setEnabled(editing);
    p.lblKeyWords->setVisible(!editing);
    p.txtNotes->setReadOnly(!editing);
}

void clearTextBoxes(frmVardecks &w)
{
    DetailsPanel &p = DetailsPanel::of(w);
    for (EditField field :
         {EditField::Name, EditField::Address, EditField::Description, EditField::Keywords, EditField::Notes})
        p.setFieldText(field, QString());
    w.setVardeckTabCaption(QString());
}

void txtWName_Change(frmVardecks &w)
{
    const QString name = DetailsPanel::of(w).txtWName->text();
    w.toolbarButton(Tb::Save)->setEnabled(!name.trimmed().isEmpty() && w.folderShown());
    // The unsaved marker belongs to an edit; the shown Vardeck's caption is the
    // details panel's.
    if (w.editState() != EditState::Viewing)
        w.setVardeckTabCaption(kMarker + name + kPad);
}

EditModeControls::EditModeControls(frmVardecks &window) : QObject(&window), w(window), p(DetailsPanel::of(window))
{
    setObjectName(QStringLiteral("editModeControls"));
    connect(&w, &frmVardecks::editStateChanged, this, [this] { applyEnablingTable(w); });
    connect(p.txtWName, &QLineEdit::textChanged, this, [this] { txtWName_Change(w); });
    p.txtNotes->installEventFilter(this);
    p.txtNotes->viewport()->installEventFilter(this);
    // The notes' right-click has the window's own menu.
    p.txtNotes->setContextMenuPolicy(Qt::PreventContextMenu);
}

bool EditModeControls::txtNotes_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    Q_UNUSED(key);
    Q_UNUSED(modifiers);
    if (w.editState() != EditState::Viewing)
        return true;
    w.commands.mnuEditModify_Click();
    p.txtNotes->setFocus();
    return true;
}

void EditModeControls::txtNotes_MouseDown(Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    const QString selected =
        p.txtNotes->textCursor().selectedText().replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    w.popup.textRightClicked(selected.isEmpty() ? p.fieldText(EditField::Notes) : selected);
    w.popupMenu(MenuId::mnuCopyMenu);
}

bool EditModeControls::eventFilter(QObject *watched, QEvent *event)
{
    // Only presses matter; the type is looked at first, since the window's own
    // teardown still sends its controls other events.
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress && watched == p.txtNotes) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (!startsModification(key) || w.editState() != EditState::Viewing)
            return false;
        // With a Vardeck shown the modification starts at once and the key goes on
        // to the notes it unlocked; otherwise the command's message waits until the
        // key's delivery is over.
        if (w.vardeckShown())
            return !txtNotes_KeyDown(key->key(), key->modifiers());
        QTimer::singleShot(0, this, [this] { txtNotes_KeyDown(0, {}); });
        return true;
    }
    if (type == QEvent::MouseButtonPress && watched == p.txtNotes->viewport()) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::RightButton) {
            txtNotes_MouseDown(mouse->button());
            return true;
        }
    }
    return false;
}

} // namespace rr
