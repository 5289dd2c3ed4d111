#pragma once
// The main window's mode and the two faces of the details panel.
//
// The mode is the window's edit state (frmVardecks::editState()): viewing, adding a
// new Vardeck, or modifying the shown one. Only setMode writes it. Every write of the
// mode applies the enabling table to the toolbar, menus and pane buttons: a change
// through the window's editStateChanged, a write of the same mode directly. The
// details panel's face (labels and links, or text boxes with Save and Cancel) is
// switched apart from the mode by setFormEditMode, which asks the panel to switch its
// own controls (DetailsPanel::showEditFace).
#include "platform/gui/commands.h"
#include "shell/controlarrays.h"
#include "shell/menutable.h"
#include "shell/windowstate.h"

#include <QList>
#include <QObject>
#include <QString>

class QWidget;

namespace rr
{

class frmVardecks;

// What one mode does to a control of the enabling table.
enum class Rule {
    Keep,      // left as it is
    On,        // enabled (or shown)
    Off,       // disabled (or hidden)
    IfFolder,  // enabled when a folder is shown
    IfVardeck, // enabled when a Vardeck is shown
};

// What a row of the enabling table acts on: a button of Toolbar1 by position, a menu
// item, a pane button of one of the Explorer's parts, or the controls of another part
// (the favourites' buttons, the details panel's edit captions), which that part enables
// or shows through its operation.
struct EnablingTarget {
    enum class Kind { Toolbar, Menu, PartButton, Operation };
    EnablingTarget(MenuId item) : kind(Kind::Menu), menu(item) {}
    EnablingTarget(QWidget *(*control)(frmVardecks &)) : kind(Kind::PartButton), partButton(control) {}
    EnablingTarget(void (*enable)(const QObject &, bool)) : kind(Kind::Operation), operation(enable) {}
    static EnablingTarget toolbar(Tb position) { return EnablingTarget(Kind::Toolbar, position); }

    Kind kind;
    Tb position = Tb(); // of a toolbar button
    MenuId menu = MenuId::mnuFile;
    QWidget *(*partButton)(frmVardecks &) = nullptr;
    void (*operation)(const QObject &, bool) = nullptr;

private:
    EnablingTarget(Kind k, Tb p) : kind(k), position(p) {}
};

struct EnablingRow {
    QList<EnablingTarget> targets;
    Rule viewing;
    Rule modifying;
    Rule adding;
    bool visibility = false; // the row sets Visible instead of Enabled
};
const QList<EnablingRow> &enablingTable();

// Applies the table for the window's edit state.
void applyEnablingTable(frmVardecks &w);
// Sets the window's edit state; the table runs even when the mode does not change.
void setMode(frmVardecks &w, EditState mode);
// Back to viewing when an edit is under way; nothing happens otherwise.
void endEdit(frmVardecks &w);
// Leaves any edit: the view face and the viewing mode.
void leaveEditMode(frmVardecks &w);

// The edit face (the panel's text boxes, Save and Cancel, the unsaved marker on the
// Vardeck tab, the commands an edit leaves off) or the view face.
void setFormEditMode(frmVardecks &w, bool editing);
// The name box's text changed: Save follows it, and so does the caption of an edit.
void txtWName_Change(frmVardecks &w, const QString &name);

// The mode's handlers: a change of the edit state applies the enabling table, a change
// of the name box's text enables Save and marks an edit's caption. As it is made it asks
// the details panel for what edits need of its boxes (DetailsPanel::prepareForEdits).
class EditModeControls : public QObject
{
    Q_OBJECT
public:
    explicit EditModeControls(frmVardecks &w);

private:
    frmVardecks &w;
};

} // namespace rr
