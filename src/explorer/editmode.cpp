#include "explorer/editmode.h"

#include "explorer/detailspanel.h"
#include "explorer/foldertree.h"
#include "explorer/vardeckviews.h"
#include "finding/ui/findingops.h"
#include "platform/gui/partoperations.h"
#include "shell/frmvardecks.h"
#include "shell/previewoperations.h"

#include <QAction>

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

void showPreviewBlank(frmVardecks &w)
{
    operationsOf<PreviewOperations>(w).navigatePreview(QStringLiteral("about:blank"));
}

void apply(frmVardecks &w, const EnablingRow &row, Rule rule)
{
    if (rule == Rule::Keep)
        return;
    const bool on = rule == Rule::On || (rule == Rule::IfFolder && w.folderShown()) ||
                    (rule == Rule::IfVardeck && w.vardeckShown());
    for (const EnablingTarget &target : row.targets) {
        QAction *item = target.kind == EnablingTarget::Kind::Toolbar ? w.toolbarButton(target.position)
                        : target.kind == EnablingTarget::Kind::Menu  ? w.menuItem(target.menu)
                                                                     : nullptr;
        QWidget *control = target.kind == EnablingTarget::Kind::PartButton ? target.partButton(w) : nullptr;
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
        {{&DetailsPanel::showEditCaptions},                                   F,  T,  T, true},
    };
    // clang-format on
    return table;
}

void applyEnablingTable(frmVardecks &w)
{
    const EditState state = w.editState();
    for (const EnablingRow &row : enablingTable()) {
        const Rule rule = state == EditState::Viewing     ? row.viewing
                          : state == EditState::Modifying ? row.modifying
                                                          : row.adding;
        apply(w, row, rule);
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
    const QString caption = w.vardeckTabCaption().trimmed();
    if (editing) {
        w.setVardeckTabCaption(kMarker + caption + kPad);
    } else {
        // Only the unsaved marker goes; a caption without one stays whole.
        const QString name = caption.startsWith(QLatin1Char('*')) ? caption.mid(1) : caption;
        w.setVardeckTabCaption(kPad + name + kPad);
    }
    DetailsPanel::of(w).showEditFace(editing);
    w.toolbarButton(Tb::UserOptions)->setEnabled(!editing);
    for (MenuId id :
         {MenuId::mnuToolsOptions, MenuId::mnuWebBrowser, MenuId::mnuToolsDup, MenuId::mnuSynch, MenuId::mnuToolsIcon,
          MenuId::mnuThumb, MenuId::mnuFileDatabase, MenuId::mnuFileImportExport, MenuId::mnuFileEmail})
        w.menuItem(id)->setEnabled(!editing);
    w.toolbarButton(Tb::Save)->setVisible(editing);
    w.toolbarButton(Tb::Cancel)->setVisible(editing);
    w.toolbarButton(Tb::Cancel)->setEnabled(editing);
    // Save and Cancel leave the toolbar with the edit: a tool-tip echo of either, left
    // by a pointer that rested on it, would name a button no longer there.
    if (!editing) {
        w.dropToolTipEcho(Tb::Save);
        w.dropToolTipEcho(Tb::Cancel);
    }
}

void txtWName_Change(frmVardecks &w, const QString &name)
{
    w.toolbarButton(Tb::Save)->setEnabled(!name.trimmed().isEmpty() && w.folderShown());
    // The unsaved marker belongs to an edit; the shown Vardeck's caption is the
    // details panel's.
    if (w.editState() != EditState::Viewing)
        w.setVardeckTabCaption(kMarker + name + kPad);
}

EditModeControls::EditModeControls(frmVardecks &window) : QObject(&window), w(window)
{
    setObjectName(QStringLiteral("editModeControls"));
    DetailsPanel &panel = DetailsPanel::of(w);
    panel.prepareForEdits();
    connect(&w, &frmVardecks::editStateChanged, this, [this] { applyEnablingTable(w); });
    connect(&panel, &DetailsPanel::nameBoxChanged, this, [this](const QString &name) { txtWName_Change(w, name); });
}

} // namespace rr
