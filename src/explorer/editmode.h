#pragma once
// The main window's mode and the two faces of the details panel.
//
// The mode is the text of the hidden box txtMode: "" viewing, "add" a new Vardeck is
// being entered, "mod" the shown Vardeck is being modified. Only setMode writes it;
// everyone reads it as frmVardecks::editState(). Every write of the mode applies the
// enabling table to the toolbar, menus and pane buttons. The details panel's face
// (labels and links, or text boxes with Save and Cancel) is switched apart from the
// mode by setFormEditMode.
#include "shell/windowstate.h"

#include <QList>
#include <QObject>
#include <QString>

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

// One row of the enabling table. Targets, separated by blanks: "#n" is button n of
// Toolbar1, a name starting with "mnu" a menu item, any other name a control of the
// window.
struct EnablingRow {
    const char *targets;
    Rule viewing;
    Rule modifying;
    Rule adding;
    bool visibility = false; // the row sets Visible instead of Enabled
};
const QList<EnablingRow> &enablingTable();

// txtMode_Change: applies the table for the mode now in txtMode.
void applyEnablingTable(frmVardecks &w);
// Writes the mode into txtMode, the one source of the edit state;
// the table runs even when the mode does not change.
void setMode(frmVardecks &w, EditState mode);
// Back to viewing when an edit is under way; nothing happens otherwise.
void endEdit(frmVardecks &w);
// Leaves any edit: the view face and the viewing mode.
void leaveEditMode(frmVardecks &w);

void setFormEditMode(frmVardecks &w, bool editing);
void clearTextBoxes(frmVardecks &w);
void txtWName_Change(frmVardecks &w);

// The handlers of the window's controls that belong to the mode: the change events of
// txtMode and txtWName, typing into the notes of a shown Vardeck (which starts a
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
};

} // namespace rr
