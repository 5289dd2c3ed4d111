#include "dialogs/frmmodifytopic.h"

#include "controls/qbbuttons_h.h"
#include "dialogs/dialogtopictree.h"
#include "platform/gui/singleline.h"
#include "storage/record.h"
#include "storage/xmldatabase.h"

#include <QLabel>
#include <QLineEdit>
#include <QTreeWidgetItemIterator>

namespace rr
{

frmModifyTopic::frmModifyTopic(XMLDatabase &db, const QString &folderTID, FolderDialogHost &host, Renamed onRenamed,
                               QWidget *parent)
    : FolderDialog(Kind::NameBox, db, host, parent), m_onRenamed(std::move(onRenamed))
{
    setObjectName(QStringLiteral("frmModifyTopic"));
    setWindowTitle(QStringLiteral("Rename folder"));
    lblTopicName = makeLabel(QStringLiteral("lblTopicName"), QString());
    lblTopicName->setProperty("namesFolder", true);
    Label1 = makeLabel(QStringLiteral("Label1"), QStringLiteral("Change folder name to:"));
    txtTName = new QLineEdit(this);
    txtTName->setObjectName(QStringLiteral("txtTName"));
    txtTName->setMaxLength(32767);
    keepSingleLine(txtTName);
    buildFrame(QStringLiteral("Rename the current folder, or select another folder name to change:"),
               {{nullptr, lblTopicName}, {nullptr, Label1}, {nullptr, txtTName}});

    QTreeWidgetItem *start = tvwTopicList->findByTag(folderTID);
    tvwTopicList->selectNode(start ? start : tvwTopicList->root());
    nodeChosen();
    setTabOrder(txtTName, tvwTopicList);
    txtTName->setFocus();
    txtTName->setSelection(0, 100);
    finishLoad();

    connect(tvwTopicList, &QTreeWidget::currentItemChanged, this, &frmModifyTopic::nodeChosen);
    connect(txtTName, &QLineEdit::textChanged, this, &frmModifyTopic::nameChanged);
    connect(cmdSave, &qbButtons_H::Click, this, &frmModifyTopic::saveClicked);
}

bool frmModifyTopic::run(XMLDatabase &db, const QString &folderTID, FolderDialogHost &host, Renamed onRenamed,
                         QWidget *parent)
{
    if (!db.getTheDOM())
        return false;
    frmModifyTopic dialog(db, folderTID, host, std::move(onRenamed), parent);
    return dialog.exec() == QDialog::Accepted;
}

void frmModifyTopic::nodeChosen()
{
    // The chosen folder stays marked while the name box has the focus.
    const QTreeWidgetItem *selected = tvwTopicList->selectedNode();
    for (QTreeWidgetItemIterator it(tvwTopicList); *it; ++it)
        (*it)->setBackground(0, *it == selected ? QColor(0xEE, 0xEE, 0xEE) : QColor(Qt::white));
    showSelectedFolder();
}

void frmModifyTopic::showSelectedFolder()
{
    const QTreeWidgetItem *node = tvwTopicList->selectedNode();
    Label1->setText(QStringLiteral("Change folder name to:"));
    if (DialogTopicTree::isRoot(node)) {
        lblTopicName->setText(QStringLiteral("No folder selected"));
        txtTName->clear();
        txtTName->setEnabled(false);
        setAcceptState(cmdSave, cmdCancel, false);
        return;
    }
    txtTName->setEnabled(true);
    // The box edits the name as the file holds it; the tree shows it cut to what it can show.
    txtTName->setText(node->data(0, Qt::EditRole).toString());
    lblTopicName->setText(node->text(0));
    setAcceptState(cmdSave, cmdCancel, !txtTName->text().isEmpty());
}

void frmModifyTopic::nameChanged(const QString &text)
{
    const bool atRoot = DialogTopicTree::isRoot(tvwTopicList->selectedNode());
    setAcceptState(cmdSave, cmdCancel, !atRoot && !text.isEmpty());
}

void frmModifyTopic::saveClicked()
{
    const QTreeWidgetItem *node = tvwTopicList->selectedNode();
    if (DialogTopicTree::isRoot(node) || txtTName->text().isEmpty())
        return;
    const QString tid = DialogTopicTree::tag(node);
    XmlNode folder = folderElement(tid);
    if (!folder) {
        reject();
        return;
    }
    folder.setChildText(tag::Name, txtTName->text());
    StalePages stale;
    stale.folders = true;
    stale.reshowWebAspect = true;
    saveChanges(stale);
    if (m_onRenamed)
        m_onRenamed({tid, folder.childText(tag::Name)});
    accept();
}

} // namespace rr
