#include "storage/ui/frmnew.h"

#include "controls/qbbuttons_h.h"
#include "platform/paths.h"
#include "platform/prompt.h"
#include "platform/runtimeerror.h"
#include "storage/chosendatabase.h"
#include "storage/dbfolder.h"
#include "storage/ui/databaselist.h"
#include "storage/useroptions.h"
#include "storage/vardeckmodule.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace rr
{

frmNew::frmNew(Mode mode, DatabaseHost &host, QWidget *parent, const QString &databaseFolder)
    : ButtonDialog(parent), m_mode(mode), m_host(host),
      m_folder(databaseFolder.isEmpty() ? paths::databaseFolder() : databaseFolder)
{
    setObjectName(QStringLiteral("frmNew"));
    Label1 = makeLabel(QStringLiteral("Label1"), QString());
    tvwDB = new DatabaseList(this);
    Label2 = makeLabel(QStringLiteral("Label2"), QString());
    txtName = new QLineEdit(this);
    txtName->setObjectName(QStringLiteral("txtName"));
    lblName = makeLabel(QStringLiteral("lblName"), QString());
    cmdOK = makeButton(QStringLiteral("cmdOK"), QString(), QStyle::SP_DialogOkButton);
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), QStyle::SP_DialogCancelButton);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(tvwDB, 1);
    layout->addWidget(Label2);
    layout->addWidget(txtName);
    layout->addWidget(lblName);
    layout->addLayout(buttons);
    resize(px(5200), px(4800));

    const int fontSize = appOptions().getFontSize();
    applyUserFontSize({tvwDB, txtName, lblName}, fontSize);
    txtName->setFixedHeight(px(lineHeightTwips(fontSize)));

    setAcceptState(cmdOK, cmdCancel, false);
    tvwDB->fill(m_folder);
    applyMode();
    txtName->setCursorPosition(0);
    txtName->setFocus();

    connect(tvwDB, &QTreeWidget::itemClicked, this, &frmNew::nodeChosen);
    connect(tvwDB, &QTreeWidget::currentItemChanged, this, &frmNew::nodeChosen);
    connect(txtName, &QLineEdit::textChanged, this, &frmNew::nameChanged);
    connect(cmdOK, &qbButtons_H::Click, this, &frmNew::okClicked);
    connect(cmdCancel, &qbButtons_H::Click, this, &frmNew::reject);
    m_host.applyFontFallback(this);
}

void frmNew::run(Mode mode, DatabaseHost &host, QWidget *parent)
{
    frmNew dialog(mode, host, parent);
    dialog.exec();
}

void frmNew::applyMode()
{
    const bool deleting = isDeleteMode();
    setWindowTitle(deleting ? QStringLiteral("Delete database") : QStringLiteral("New database"));
    Label1->setText(deleting ? QStringLiteral("Choose a database to delete:") : QStringLiteral("Existing databases:"));
    Label2->setText(deleting ? QString() : QStringLiteral("Choose a new Vardecks database name:"));
    Label2->setVisible(!deleting);
    txtName->setVisible(!deleting);
    lblName->setVisible(deleting);
    cmdOK->setCaption(deleting ? QStringLiteral("Delete the database") : QStringLiteral("Save the new database"));
}

void frmNew::nodeChosen()
{
    if (!isDeleteMode())
        return;
    const QTreeWidgetItem *item = tvwDB->currentItem();
    lblName->setText(item ? item->text(0) : QString());
    setAcceptState(cmdOK, cmdCancel, !lblName->text().isEmpty());
}

void frmNew::nameChanged(const QString &text)
{
    if (!isDeleteMode())
        setAcceptState(cmdOK, cmdCancel, !text.trimmed().isEmpty());
}

void frmNew::okClicked()
{
    if (isDeleteMode())
        deleteDatabase();
    else
        createDatabase();
}

// The error's number and its description, with nothing between them, and on a line
// of its own what exactly failed.
void frmNew::showError(const QString &reason)
{
    const int number = rterr::PathFileAccessError;
    prompt::show(QStringLiteral("There was an error: ") + QString::number(number) + runtimeErrorText(number) +
                     QStringLiteral("\n\n") + reason,
                 MsgButtons::Ok, MsgIcon::Exclamation);
}

void frmNew::deleteDatabase()
{
    const QString name = lblName->text();
    if (name.isEmpty())
        return;
    if (!prompt::askYesNo(QStringLiteral("Are you sure you wish to permanently delete the database ") + name +
                              QLatin1Char('?'),
                          MsgIcon::None, QStringLiteral("Delete Vardecks database?"), MsgResult::No))
        return;
    // The open database is closed first, so no window goes on showing or saving it.
    if (m_host.isOpenDatabase(name))
        m_host.closeDB();
    QString error;
    if (!DatabaseFolder(m_folder).deleteDatabase(name, &error)) {
        showError(error);
        tvwDB->fill(m_folder);
        nodeChosen();
        return;
    }
    prompt::show(QStringLiteral("The database ") + name + QStringLiteral(" was successfully deleted."), MsgButtons::Ok,
                 MsgIcon::Information);
    accept();
}

void frmNew::refuseName(const QString &message)
{
    prompt::show(message, MsgButtons::Ok, MsgIcon::Exclamation);
    txtName->selectAll();
    txtName->setFocus();
}

void frmNew::createDatabase()
{
    const DatabaseFolder folder(m_folder);
    QString name;
    const auto problem = folder.checkNewName(txtName->text(), &name);
    if (problem != DatabaseFolder::NameProblem::None) {
        refuseName(DatabaseFolder::nameProblemText(problem));
        return;
    }
    QString error;
    if (!folder.createDatabase(name, &error)) {
        showError(error);
        return;
    }
    const bool openNow = prompt::askYesNo(QStringLiteral("The database ") + name +
                                              QStringLiteral(" was successfully created.  Do you wish to open it now?"),
                                          MsgIcon::None, QStringLiteral("Open database ") + name + QLatin1Char('?'));
    if (openNow) {
        const QString fileName = name + QLatin1String(".xml");
        m_host.openTheDatabase(ChosenDatabase{folder.filePath(fileName), fileName});
    }
    accept();
}

} // namespace rr
