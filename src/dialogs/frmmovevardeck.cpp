#include "dialogs/frmmovevardeck.h"

#include "controls/qbbuttons_h.h"
#include "dialogs/dialogtopictree.h"
#include "platform/prompt.h"
#include "platform/textutil.h"
#include "storage/foldermove.h"
#include "storage/record.h"
#include "storage/xmldatabase.h"

#include <QLabel>

namespace rr
{
namespace
{

XmlNode vardeckElement(const XmlDocument &document, const QString &wid)
{
    const XmlNode node = document.nodeFromID(wid);
    return node && node.nodeName() == tag::Vardeck ? node : XmlNode();
}

// The FOLDER that holds a VARDECK (VARDECK → VARDECKS → FOLDER).
XmlNode folderOf(const XmlNode &vardeck)
{
    return vardeck.parentNode().parentNode();
}

} // namespace

frmMoveVardeck::frmMoveVardeck(XMLDatabase &db, const Request &request, FolderDialogHost &host, Moved onMoved,
                               QWidget *parent)
    : FolderDialog(Kind::MoveVardeck, db, host, parent), m_request(request), m_onMoved(std::move(onMoved))
{
    setObjectName(QStringLiteral("frmMoveVardeck"));
    setWindowTitle(QStringLiteral("Move Vardeck"));
    m_request.wids = existingVardecks(db, request);
    // The names as they were when the dialog opened, to tell which Vardecks had gone.
    for (const QString &wid : std::as_const(m_request.wids))
        m_names.insert(wid, vardeckElement(document(), wid).childText(tag::Name));
    Label3 = makeLabel(QStringLiteral("Label3"), QStringLiteral("Move:"));
    lblWMName = makeLabel(QStringLiteral("lblWMName"), QStringLiteral("Vardeck name"));
    Label1 = makeLabel(QStringLiteral("Label1"), QStringLiteral("from:"));
    lblCurrentTopic = makeLabel(QStringLiteral("lblCurrentTopic"), QStringLiteral("current folder"));
    Label4 = makeLabel(QStringLiteral("Label4"), QStringLiteral("to:"));
    lblNewTopic = makeLabel(QStringLiteral("lblNewTopic"), QStringLiteral("new folder"));
    buildFrame(QStringLiteral("Choose a folder to move the currently selected Vardeck to (you can also do this by "
                              "dragging and dropping a Vardeck into a folder in the Index view):"),
               {{Label3, lblWMName}, {Label1, lblCurrentTopic}, {Label4, lblNewTopic}});

    tvwTopicList->selectNode(tvwTopicList->findByTag(m_request.fromTID));
    lblCurrentTopic->setText(shownText(sourceFolderName()));
    if (m_request.selectedRows || m_request.wids.isEmpty())
        lblWMName->setText(QStringLiteral("Selected Vardecks"));
    else
        lblWMName->setText(vardeckElement(document(), m_request.wids.first()).childText(tag::Name));
    // The dialog opens with no target: Save waits for the user's choice.
    lblNewTopic->clear();
    setAcceptState(cmdSave, cmdCancel, false);
    setTabOrder(tvwTopicList, cmdCancel);
    tvwTopicList->setFocus();
    finishLoad();

    connect(tvwTopicList, &QTreeWidget::currentItemChanged, this, &frmMoveVardeck::showTargetFolder);
    connect(tvwTopicList, &QTreeWidget::itemClicked, this, &frmMoveVardeck::showTargetFolder);
    connect(cmdSave, &qbButtons_H::Click, this, &frmMoveVardeck::saveClicked);
}

QStringList frmMoveVardeck::existingVardecks(const XMLDatabase &db, const Request &request)
{
    QStringList found;
    if (const XmlDocument *document = db.getTheDOM()) {
        for (const QString &wid : request.wids) {
            if (vardeckElement(*document, wid) && !found.contains(wid))
                found << wid;
        }
    }
    return found;
}

QStringList frmMoveVardeck::checkRequest(const XMLDatabase &db, const Request &request)
{
    const QStringList found = existingVardecks(db, request);
    if (found.isEmpty())
        prompt::show(QStringLiteral("No Vardeck has been selected to move"), MsgButtons::Ok, MsgIcon::Exclamation);
    return found;
}

bool frmMoveVardeck::run(XMLDatabase &db, const Request &request, FolderDialogHost &host, Moved onMoved,
                         QWidget *parent)
{
    if (checkRequest(db, request).isEmpty())
        return false;
    frmMoveVardeck dialog(db, request, host, std::move(onMoved), parent);
    return dialog.exec() == QDialog::Accepted;
}

QString frmMoveVardeck::sourceFolderName() const
{
    const QTreeWidgetItem *node = tvwTopicList->findByTag(m_request.fromTID);
    if (node)
        return node->text(0);
    // A source that matches no folder is named after the first Vardeck's folder.
    if (m_request.wids.isEmpty())
        return {};
    return folderOf(vardeckElement(document(), m_request.wids.first())).childText(tag::Name);
}

void frmMoveVardeck::showTargetFolder()
{
    // The target is decided by the node, not by its caption: a folder that happens to
    // be called "FOLDERS" is a folder like any other.
    const QTreeWidgetItem *node = tvwTopicList->currentItem();
    const bool usable = node && !DialogTopicTree::isRoot(node) && !DialogTopicTree::tag(node).isEmpty();
    lblNewTopic->setText(usable ? node->text(0) : QString());
    setAcceptState(cmdSave, cmdCancel, usable);
}

void frmMoveVardeck::saveClicked()
{
    const QTreeWidgetItem *node = tvwTopicList->currentItem();
    if (!node || DialogTopicTree::isRoot(node))
        return;
    const QString targetTID = DialogTopicTree::tag(node);
    XmlNode target = folderElement(targetTID);
    if (!target)
        return;
    // A Vardeck that has gone since the dialog opened is left out; the others move.
    const VardeckMove move =
        moveVardecks(document(), m_request.wids, targetTID, [this](const QString &wid) { return m_names.value(wid); });
    if (!move.movedAny()) {
        if (!move.notice.isEmpty())
            prompt::tell(move.notice);
        reject();
        return;
    }
    StalePages stale;
    stale.all = true;
    stale.folders = true;
    stale.hits = true;
    saveChanges(stale);
    if (m_onMoved)
        m_onMoved({m_request.fromTID, targetTID, target.childText(tag::Name), move.moved});
    accept();
    if (!move.notice.isEmpty())
        prompt::tell(move.notice);
}

} // namespace rr
