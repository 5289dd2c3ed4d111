#include "explorer/editing.h"

#include "explorer/deletefolder.h"
#include "explorer/deletevardeck.h"
#include "explorer/editmode.h"
#include "explorer/savevardeck.h"
#include "explorer/vardeckviews.h"
#include "platform/gui/itemtags.h"
#include "shell/frmvardecks.h"

#include <QTreeWidget>

namespace rr
{

void installEditing(frmVardecks &w)
{
    new EditModeControls(w);
    auto *editor = new VardeckEditor(w);
    auto *vardecks = new VardeckDeletion(w);
    auto *folders = new FolderDeletion(w);

    Commands &c = w.commands;
    c.addVardeckSetup = [editor](std::optional<DetectedPage> page) { editor->addVardeckSetup(page); };

    w.commands.mnuAddVardeck_Click = [editor](int) { editor->mnuAddVardeck_Click(); };
    w.commands.mnuEditModify_Click = [editor](int) { editor->mnuEditModify_Click(); };
    // Every button of the cmdEdit array starts an update, whichever it is.
    w.commands.cmdEdit_Click = [editor](int) { editor->mnuEditModify_Click(); };
    w.commands.saveVardeckDetails = [editor](int) { editor->saveVardeckDetails(); };
    w.commands.cancelVardeckEdit = [editor](int) { editor->cancelVardeckEdit(); };
    w.commands.mnuEditDelete_Click = [vardecks](int) { vardecks->mnuEditDelete_Click(); };
    w.commands.mnuEditDeleteTopic_Click = [folders](int) { folders->mnuEditDeleteTopic_Click(); };

    // Whatever ends an edit asks first, and on Yes finds the edit ended: a modified
    // Vardeck shows what is stored again, an add is gone. A folder made or shown while
    // a Vardeck is added is where it can go: that add goes on.
    // Kept, the edit keeps its Vardeck highlighted in the folder's lists.
    w.commands.whenEditKept([&w] { VardeckViews::of(w).highlightVardeck(w.editedWID()); });
    // A list's row of the Vardeck being modified shows what is shown: it asks nothing.
    w.commands.whenModifying([&w] { return w.editedWID(); });
    w.commands.guardEdits([&w, editor](OnEdit effect) {
        const EditState state = w.editState();
        if (state == EditState::Viewing || (state == EditState::Adding && effect == OnEdit::EndsModification))
            return true;
        if (!w.confirmLoseChanges())
            return false;
        editor->dropEdit();
        return true;
    });
}

} // namespace rr
