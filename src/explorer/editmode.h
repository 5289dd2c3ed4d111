#pragma once
// The main window's mode and the two faces of the details panel.
//
// The mode is the window's edit state (frmVardecks::editState()): viewing, adding a
// new Vardeck, or modifying the shown one. Only setMode writes it. Every write of the
// mode applies the enabling table to the toolbar, menus and pane buttons: a change
// through the window's editStateChanged, a write of the same mode directly. The
// details panel's face (labels and links, or text boxes with Save and Cancel) is
// switched apart from the mode by setFormEditMode.
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

class DetailsPanel;
class frmVardecks;
class qbButtons_H;

// What one mode does to a control of the enabling table.
enum class Rule {
    Keep,      // left as it is
    On,        // enabled (or shown)
    Off,       // disabled (or hidden)
    IfFolder,  // enabled when a folder is shown
    IfVardeck, // enabled when a Vardeck is shown
};

// What a row of the enabling table acts on: a button of Toolbar1 by position, a menu
// item, a pane button of one of the Explorer's parts, an element of
// the label array lbl() on the details panel, or the buttons of another part, which
// enables them through its operation.
struct EnablingTarget {
    enum class Kind { Toolbar, Menu, PartButton, Label, Operation };
    EnablingTarget(MenuId item) : kind(Kind::Menu), menu(item) {}
    EnablingTarget(QWidget *(*control)(frmVardecks &)) : kind(Kind::PartButton), partButton(control) {}
    EnablingTarget(void (*enable)(const QObject &, bool)) : kind(Kind::Operation), operation(enable) {}
    static EnablingTarget toolbar(Tb position) { return EnablingTarget(Kind::Toolbar, position, Lbl()); }
    static EnablingTarget label(Lbl index) { return EnablingTarget(Kind::Label, Tb(), index); }

    Kind kind;
    Tb position = Tb(); // of a toolbar button
    Lbl index = Lbl();  // of a label
    MenuId menu = MenuId::mnuFile;
    QWidget *(*partButton)(frmVardecks &) = nullptr;
    void (*operation)(const QObject &, bool) = nullptr;

private:
    EnablingTarget(Kind k, Tb p, Lbl i) : kind(k), position(p), index(i) {}
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

void setFormEditMode(frmVardecks &w, bool editing);
void txtWName_Change(frmVardecks &w);

// The handlers of the window's controls that belong to the mode: the changes of the
// edit state and of txtWName, typing into the notes of a shown Vardeck (which starts a
// modification and keeps the typed character), and the notes' right-click.
class EditModeControls : public QObject
{
    Q_OBJECT
public:
    explicit EditModeControls(frmVardecks &w);

    // False when the key is to go no further.
    bool txtNotes_KeyDown(int key, Qt::KeyboardModifiers modifiers);
    void txtNotes_MouseDown(Qt::MouseButton button);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    frmVardecks &w;
    DetailsPanel &p;
};

} // namespace rr
