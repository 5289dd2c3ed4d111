#include "dialogs/frmtopicdialog.h"

#include "controls/qbbuttons_h.h"
#include "dialogs/dialogtopictree.h"
#include "platform/gui/singleline.h"
#include "platform/prompt.h"
#include "storage/record.h"
#include "storage/xmldatabase.h"

#include <QLabel>
#include <QLineEdit>

namespace rr
{
namespace
{

QString noFreeFolderMessage()
{
    return QStringLiteral("No more folders can be created: this database already holds as many folders as it can.");
}

} // namespace

frmTopicDialog::frmTopicDialog(XMLDatabase &db, const QString &parentTID, FolderDialogHost &host, Created onCreated,
                               QWidget *parent)
    : FolderDialog(Kind::NameBox, db, host, parent), m_onCreated(std::move(onCreated))
{
    setObjectName(QStringLiteral("frmTopicDialog"));
    setWindowTitle(QStringLiteral("New folder"));
    lblTopicName = makeLabel(QStringLiteral("lblTopicName"), QString());
    lblTopicName->setProperty("namesFolder", true);
    Label1 = makeLabel(QStringLiteral("Label1"), QString());
    txtTName = new QLineEdit(this);
    txtTName->setObjectName(QStringLiteral("txtTName"));
    keepSingleLine(txtTName);
    buildFrame(QStringLiteral("Select a folder where the new folder will be created and enter a new folder name:"),
               {{nullptr, lblTopicName}, {nullptr, Label1}, {nullptr, txtTName}});

    tvwTopicList->selectNode(tvwTopicList->root());
    tvwTopicList->selectNode(tvwTopicList->findByTag(parentTID));
    showSelectedFolder();
    setTabOrder(txtTName, tvwTopicList);
    txtTName->setFocus();
    setAcceptState(cmdSave, cmdCancel, false);
    finishLoad();

    connect(tvwTopicList, &QTreeWidget::currentItemChanged, this, &frmTopicDialog::showSelectedFolder);
    connect(txtTName, &QLineEdit::textChanged, this, &frmTopicDialog::nameChanged);
    connect(cmdSave, &qbButtons_H::Click, this, &frmTopicDialog::saveClicked);
}

bool frmTopicDialog::run(XMLDatabase &db, const QString &parentTID, FolderDialogHost &host, Created onCreated,
                         QWidget *parent)
{
    if (!db.getTheDOM())
        return false;
    // A full database says so before a name is typed.
    if (db.getNewTID().isEmpty()) {
        prompt::show(noFreeFolderMessage(), MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    frmTopicDialog dialog(db, parentTID, host, std::move(onCreated), parent);
    return dialog.exec() == QDialog::Accepted;
}

void frmTopicDialog::showSelectedFolder()
{
    const QTreeWidgetItem *node = tvwTopicList->selectedNode();
    const bool atRoot = DialogTopicTree::isRoot(node);
    lblTopicName->setText(atRoot ? QStringLiteral("Base folder") : node->text(0));
    Label1->setText(atRoot ? QStringLiteral("New base folder name:") : QStringLiteral("New sub-folder name:"));
}

void frmTopicDialog::nameChanged(const QString &text)
{
    setAcceptState(cmdSave, cmdCancel, !text.isEmpty());
}

void frmTopicDialog::saveClicked()
{
    const QString name = txtTName->text();
    if (name.isEmpty())
        return;
    const QString tid = database().getNewTID();
    if (tid.isEmpty()) {
        prompt::show(noFreeFolderMessage(), MsgButtons::Ok, MsgIcon::Exclamation);
        txtTName->setFocus();
        return;
    }
    // The parent is looked up again now; a folder that is gone means the top level.
    const QTreeWidgetItem *node = tvwTopicList->selectedNode();
    QString parentTID = DialogTopicTree::isRoot(node) ? QString() : DialogTopicTree::tag(node);
    XmlNode parentFolder = folderElement(parentTID);
    // A tree deeper than a database may be would not be saved: refuse it now.
    if (folderLevel(parentFolder) + 1 > kMaxFolderLevels) {
        prompt::show(folderNestingMessage(), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    XmlNode container;
    if (parentFolder) {
        container = childOrNew(document(), parentFolder, tag::SubFolders);
    } else {
        parentTID.clear();
        container = document().documentElement();
    }
    XmlNode folder = document().createElement(tag::Folder);
    folder.setAttribute(tag::Tid, tid);
    container.appendChild(folder);
    folder.appendChild(document().createTextElement(tag::Name, name));
    folder.appendChild(document().createElement(tag::Vardecks));
    folder.appendChild(document().createElement(tag::SubFolders));

    StalePages stale;
    stale.folders = true;
    stale.reshowWebAspect = true;
    saveChanges(stale);
    if (m_onCreated)
        m_onCreated({parentTID, tid, folder.childText(tag::Name)});
    accept();
}

} // namespace rr
