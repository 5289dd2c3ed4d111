#include "explorer/movelaunchers.h"

#include "dialogs/dialogresults.h"
#include "dialogs/frmmovetopic.h"
#include "dialogs/frmmovevardeck.h"
#include "explorer/dialoghosts.h"
#include "explorer/foldertree.h"
#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "platform/prompt.h"
#include "platform/textutil.h"
#include "shell/fonthelpers.h"
#include "shell/frmvardecks.h"
#include "storage/record.h"
#include "storage/xmldatabase.h"

#include <QLabel>
#include <QTreeWidget>

#include <algorithm>

namespace rr
{
namespace
{

const QString kNoVardeckToMove = QStringLiteral("No Vardeck has been selected to move");
const QString kNoFolderToMove = QStringLiteral("No folder has been selected to move");

} // namespace

MoveLaunchers::MoveLaunchers(frmVardecks &window) : QObject(&window), w(window)
{
    setObjectName(QStringLiteral("moveLaunchers"));
}

bool MoveLaunchers::moveOneVardeck(const QString &wid)
{
    const XmlNode vardeck = w.dbXML.vardeck(wid);
    if (!vardeck) {
        // Removed since it was clicked: nothing to move.
        prompt::show(kNoVardeckToMove);
        return false;
    }
    const QString fromTID = folderOfVardeck(vardeck).attribute(tag::Tid);
    w.popup.vardeckMoveChosen(fromTID);
    const QString caption = vardeck.childText(tag::Name);
    const frmMoveVardeck::Request request{fromTID, {vardeck.attribute(tag::Wid)}, false};
    WindowFolderDialogHost host(w);
    return frmMoveVardeck::run(
        *w.dbXML, request, host, [this, caption](const VardecksMoved &moved) { vardecksMoved(moved, caption); }, &w);
}

bool MoveLaunchers::moveSelectedRows(const QStringList &wids, const QString &fromTID)
{
    if (!w.dbXML.isOpen())
        return false;
    const frmMoveVardeck::Request request{fromTID, wids, true};
    WindowFolderDialogHost host(w);
    return frmMoveVardeck::run(
        *w.dbXML, request, host,
        [this](const VardecksMoved &moved) { vardecksMoved(moved, QStringLiteral("Selected Vardecks")); }, &w);
}

bool MoveLaunchers::moveFolder(const QString &tid)
{
    const XmlNode folder = w.dbXML.folder(tid);
    if (!folder) {
        prompt::show(kNoFolderToMove);
        return false;
    }
    w.popup.folderChosen(tid);
    WindowFolderDialogHost host(w);
    return frmMoveTopic::run(
        *w.dbXML, tid, host, [this](const FolderMoved &moved) { folderMoved(moved); }, &w);
}

void MoveLaunchers::cmdMoveVD_Click()
{
    if (!w.vardeckShown()) {
        prompt::show(kNoVardeckToMove);
        return;
    }
    moveOneVardeck(w.currentWID());
}

void MoveLaunchers::cmdMoveFolder_Click()
{
    if (w.indexTab() != IndexTab::Index)
        return;
    if (!FolderTree::of(w).selectedNode() || !w.folderShown()) {
        prompt::show(kNoFolderToMove);
        return;
    }
    moveFolder(w.currentTID());
}

void MoveLaunchers::vardecksMoved(const VardecksMoved &moved, const QString &movedCaption)
{
    // The folder shown stays shown, without the Vardecks that left it.
    FolderTree &folders = FolderTree::of(w);
    QTreeWidgetItem *shown = folders.selectFolder(w.currentTID());
    folders.setTreeShown(true);
    if (shown)
        VardeckViews::of(w).populateVardeckList(shown);

    const bool onIndexTab = w.indexTab() == IndexTab::Index;
    const QString current = identifierOf(w.currentWID());
    if (std::any_of(moved.wids.cbegin(), moved.wids.cend(),
                    [&](const QString &wid) { return sameText(wid, current); })) {
        if (onIndexTab) {
            setNonEditableFields(w, false);
        } else {
            // Away from the Index tab the details keep the Vardeck, now in the target.
            w.showFolder(moved.targetTID, moved.targetName);
        }
    }
    if (onIndexTab && shown && !sameText(w.vardeckCaption(), movedCaption))
        folders.populateWMOnTopicNode();
}

void MoveLaunchers::folderMoved(const FolderMoved &)
{
    FolderTree &folders = FolderTree::of(w);
    folders.clearFolders();
    folders.setTreeShown(false);
    folders.populateTopicList(w.dbXML.document());
    folders.setTreeShown(true);
    // The shown folder's path may have changed with the move.
    w.forgetFolderPath();
}

} // namespace rr
