#include "exchange/ui/frmdirselect.h"

#include "controls/qbbuttons_h.h"
#include "shell/fonthelpers.h"
#include "storage/ui/databaselist.h"
#include "storage/useroptions.h"

#include <QCheckBox>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

namespace rr
{

frmDirSelect::frmDirSelect(QWidget *parent, const QString &startFolder) : ButtonDialog(parent)
{
    setObjectName(QStringLiteral("frmDirSelect"));
    setWindowTitle(QStringLiteral("Select a folder"));
    Label2 = makeLabel(QStringLiteral("Label2"), QStringLiteral("Select a folder to import:"));
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_model->setRootPath(QDir::rootPath());
    Dir1 = new QTreeView(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setModel(m_model);
    Dir1->setHeaderHidden(true);
    for (int column = 1; column < m_model->columnCount(); ++column)
        Dir1->hideColumn(column);
    lblTopicName = makeLabel(QStringLiteral("lblTopicName"), QStringLiteral("No folder selected"));
    QFont bold = lblTopicName->font();
    bold.setBold(true);
    lblTopicName->setFont(bold);
    Check1 = new QCheckBox(QStringLiteral("Import all sub-folders"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), QStyle::SP_DialogCancelButton);
    cmdSave = makeButton(QStringLiteral("cmdSave"), QStringLiteral("OK"), QStyle::SP_DialogOkButton);
    setDefaultButton(cmdSave);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Check1);
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    buttons->addWidget(cmdSave);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(px(240), px(240), px(240), px(240));
    layout->addWidget(Label2);
    layout->addWidget(Dir1, 1);
    layout->addWidget(lblTopicName);
    layout->addSpacing(px(300));
    layout->addLayout(buttons);
    for (qbButtons_H *button : {cmdCancel, cmdSave})
        button->setMinimumSize(px(1100), px(630));

    // The Load.
    applyFontFallback(this);
    const int fontSize = appOptions().getFontSize();
    applyUserFontSize({Dir1, lblTopicName}, fontSize);
    lblTopicName->setFixedHeight(px(lineHeightTwips(fontSize)));
    setCurrentFolder(startFolder.isEmpty() ? QDir::homePath() : startFolder);

    connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &index) { setCurrentFolder(m_model->filePath(index)); });
    connect(cmdSave, &qbButtons_H::Click, this, &frmDirSelect::cmdSave_Click);
    connect(cmdCancel, &qbButtons_H::Click, this, &frmDirSelect::cmdCancel_Click);
    connect(this, &QDialog::rejected, this, [this] { m_choice.reset(); });
    // The folder list fills in the background: show the chosen folder once its
    // branch is there.
    connect(m_model, &QFileSystemModel::directoryLoaded, this, [this] { revealCurrent(); });
    resize(px(5775), px(6000));
}

std::optional<FolderChoice> frmDirSelect::run(QWidget *parent)
{
    frmDirSelect picker(parent);
    picker.exec();
    return picker.choice();
}

void frmDirSelect::setCurrentFolder(const QString &path)
{
    if (path.isEmpty() || path == m_current)
        return;
    m_current = QDir::cleanPath(path);
    lblTopicName->setText(QDir::toNativeSeparators(m_current));
    revealCurrent();
}

void frmDirSelect::revealCurrent()
{
    const QModelIndex index = m_model->index(m_current);
    if (!index.isValid())
        return;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        Dir1->expand(parent);
    if (Dir1->currentIndex() != index)
        Dir1->setCurrentIndex(index);
    Dir1->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void frmDirSelect::cmdSave_Click()
{
    m_choice = FolderChoice{m_current, Check1->isChecked()};
    done(QDialog::Accepted);
}

void frmDirSelect::cmdCancel_Click()
{
    reject();
}

} // namespace rr
