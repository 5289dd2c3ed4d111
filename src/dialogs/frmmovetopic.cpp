#include "dialogs/frmmovetopic.h"

#include "controls/qbbuttons_h.h"
#include "dialogs/dialogtopictree.h"
#include "platform/prompt.h"
#include "storage/foldermove.h"
#include "storage/record.h"
#include "storage/xmldatabase.h"

#include <QLabel>

namespace rr
{
namespace
{

XmlNode folderIn(const XmlDocument &document, const QString &tid)
{
    const XmlNode node = document.nodeFromID(tid);
    return node && node.nodeName() == tag::Folder ? node : XmlNode();
}

} // namespace

frmMoveTopic::frmMoveTopic(XMLDatabase &db, const QString &folderTID, FolderDialogHost &host, Moved onMoved,
                           QWidget *parent)
    : FolderDialog(Kind::MoveFolder, db, host, parent), m_movedTID(folderTID), m_onMoved(std::move(onMoved))
{
    setObjectName(QStringLiteral("frmMoveTopic"));
    setWindowTitle(QStringLiteral("Move folder"));
    Label3 = makeLabel(QStringLiteral("Label3"), QStringLiteral("Move:"));
    lblCurrentFolder = makeLabel(QStringLiteral("lblCurrentFolder"), QStringLiteral("current folder"));
    Label4 = makeLabel(QStringLiteral("Label4"), QStringLiteral("to:"));
    lblNewFolder = makeLabel(QStringLiteral("lblNewFolder"), QStringLiteral("new folder"));
    buildFrame(QStringLiteral("Choose a location to move the currently selected folder to (you can also do this by "
                              "dragging and dropping folders in the Index view):"),
               {{Label3, lblCurrentFolder}, {Label4, lblNewFolder}});

    tvwTopicList->selectNode(tvwTopicList->findByTag(folderTID));
    lblCurrentFolder->setText(folderIn(document(), folderTID).childText(tag::Name));
    lblNewFolder->clear();
    setAcceptState(cmdSave, cmdCancel, false);
    setTabOrder(tvwTopicList, cmdCancel);
    tvwTopicList->setFocus();
    finishLoad();

    connect(tvwTopicList, &QTreeWidget::currentItemChanged, this, &frmMoveTopic::showTargetFolder);
    connect(tvwTopicList, &QTreeWidget::itemClicked, this, &frmMoveTopic::showTargetFolder);
    connect(cmdSave, &qbButtons_H::Click, this, &frmMoveTopic::saveClicked);
}

bool frmMoveTopic::checkRequest(const XMLDatabase &db, const QString &folderTID)
{
    if (db.getTheDOM() && folderIn(*db.getTheDOM(), folderTID))
        return true;
    prompt::show(QStringLiteral("No folder has been selected to move"), MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

bool frmMoveTopic::run(XMLDatabase &db, const QString &folderTID, FolderDialogHost &host, Moved onMoved,
                       QWidget *parent)
{
    if (!checkRequest(db, folderTID))
        return false;
    frmMoveTopic dialog(db, folderTID, host, std::move(onMoved), parent);
    return dialog.exec() == QDialog::Accepted;
}

void frmMoveTopic::showTargetFolder()
{
    const QTreeWidgetItem *node = tvwTopicList->currentItem();
    const bool usable = node && (DialogTopicTree::isRoot(node) || !DialogTopicTree::tag(node).isEmpty());
    lblNewFolder->setText(usable ? node->text(0) : QString());
    setAcceptState(cmdSave, cmdCancel, usable);
}

void frmMoveTopic::saveClicked()
{
    const QTreeWidgetItem *node = tvwTopicList->currentItem();
    if (!node)
        return;
    const bool toTop = DialogTopicTree::isRoot(node);
    const QString targetTID = toTop ? QString() : DialogTopicTree::tag(node);
    // A node that names no folder is no place to move to.
    if (!toTop && targetTID.isEmpty())
        return;
    const FolderMove move = moveFolder(document(), m_movedTID, toTop ? std::nullopt : std::optional(targetTID));
    if (move.outcome == FolderMove::Outcome::NoFolder) {
        prompt::show(QStringLiteral("No folder has been selected to move"), MsgButtons::Ok, MsgIcon::Exclamation);
        reject();
        return;
    }
    // The folder itself, or a target that is gone, is no place to move to either.
    if (!move.moved()) {
        prompt::tell(move.notice);
        return;
    }

    StalePages stale;
    stale.folders = true;
    saveChanges(stale);
    if (m_onMoved)
        m_onMoved({m_movedTID, targetTID});
    accept();
}

} // namespace rr
