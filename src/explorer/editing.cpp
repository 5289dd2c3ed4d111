#include "explorer/editing.h"

#include "explorer/deletefolder.h"
#include "explorer/deletevardeck.h"
#include "explorer/editmode.h"
#include "explorer/savevardeck.h"
#include "shell/frmvardecks.h"

#include <QTimer>

namespace rr
{

VardeckEditor *vardeckEditorOf(const frmVardecks &w)
{
    return w.findChild<VardeckEditor *>(QString(), Qt::FindDirectChildrenOnly);
}

VardeckDeletion *vardeckDeletionOf(const frmVardecks &w)
{
    return w.findChild<VardeckDeletion *>(QString(), Qt::FindDirectChildrenOnly);
}

FolderDeletion *folderDeletionOf(const frmVardecks &w)
{
    return w.findChild<FolderDeletion *>(QString(), Qt::FindDirectChildrenOnly);
}

void installEditing(frmVardecks &w)
{
    if (vardeckEditorOf(w))
        return;
    new EditModeControls(w);
    auto *editor = new VardeckEditor(w);
    auto *vardecks = new VardeckDeletion(w);
    auto *folders = new FolderDeletion(w);

    WindowOps &ops = w.ops;
    ops.setFormEditMode = [&w](bool editing) { setFormEditMode(w, editing); };
    ops.clearTextBoxes = [&w] { clearTextBoxes(w); };
    ops.addVardeckSetup = [editor](const QString &source) { editor->addVardeckSetup(source); };
    ops.resetAfterDelete = [vardecks] { vardecks->resetAfterDelete(); };

    w.setCommand(QStringLiteral("mnuAddVardeck_Click"), [editor](int) { editor->mnuAddVardeck_Click(); });
    w.setCommand(QStringLiteral("mnuEditModify_Click"), [editor](int) { editor->mnuEditModify_Click(); });
    // Every button of the cmdEdit array starts an update, whichever it is.
    w.setCommand(QStringLiteral("cmdEdit_Click"), [editor](int) { editor->mnuEditModify_Click(); });
    w.setCommand(QStringLiteral("saveVardeckDetails"), [editor](int) { editor->saveVardeckDetails(); });
    w.setCommand(QStringLiteral("cancelVardeckEdit"), [editor](int) { editor->cancelVardeckEdit(); });
    w.setCommand(QStringLiteral("mnuEditDelete_Click"), [vardecks](int) { vardecks->mnuEditDelete_Click(); });
    w.setCommand(QStringLiteral("mnuEditDeleteTopic_Click"), [folders](int) { folders->mnuEditDeleteTopic_Click(); });

    // The icon fetch of a new Vardeck belongs to the icon subsystem; the timer hands
    // over to it once it is attached.
    QObject::connect(w.timerIcon, &QTimer::timeout, editor, [&w] {
        w.timerIcon->stop();
        if (w.hasCommand(QStringLiteral("timerIcon_Timer")))
            w.runCommand(QStringLiteral("timerIcon_Timer"));
    });
}

} // namespace rr
