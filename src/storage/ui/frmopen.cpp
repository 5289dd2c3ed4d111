#include "storage/ui/frmopen.h"

#include "controls/qbbuttons_h.h"
#include "platform/paths.h"
#include "storage/ui/databaselist.h"
#include "storage/useroptions.h"
#include "storage/vardeckmodule.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace rr
{

frmOpen::frmOpen(QWidget *parent, const QString &databaseFolder) : ButtonDialog(parent)
{
    setObjectName(QStringLiteral("frmOpen"));
    setWindowTitle(QStringLiteral("Open database"));
    Label2 = makeLabel(QStringLiteral("Label2"), QStringLiteral("Choose a Vardecks database to open:"));
    tvwDB = new DatabaseList(this);
    lblDBName = makeLabel(QStringLiteral("lblDBName"), QStringLiteral("No database selected"));
    cmdOK = makeButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), QStyle::SP_DialogOkButton);
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), QStyle::SP_DialogCancelButton);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label2);
    layout->addWidget(tvwDB, 1);
    layout->addWidget(lblDBName);
    layout->addLayout(buttons);
    resize(px(5000), px(4200));

    const int fontSize = appOptions().getFontSize();
    applyUserFontSize({tvwDB, lblDBName}, fontSize);
    lblDBName->setFixedHeight(px(lineHeightTwips(fontSize)));

    setAcceptState(cmdOK, cmdCancel, false);
    const QString folder = databaseFolder.isEmpty() ? paths::databaseFolder() : databaseFolder;
    if (tvwDB->fill(folder) > 0) {
        tvwDB->setCurrentItem(tvwDB->topLevelItem(0));
        setDBName(tvwDB->topLevelItem(0)->text(0));
    }
    connect(tvwDB, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) {
        if (current)
            setDBName(current->text(0));
    });
    connect(cmdOK, &qbButtons_H::Click, this, &frmOpen::okClicked);
    connect(cmdCancel, &qbButtons_H::Click, this, &frmOpen::reject);
}

std::optional<ChosenDatabase> frmOpen::chooseDatabase(QWidget *parent)
{
    frmOpen dialog(parent);
    dialog.exec();
    return dialog.choice();
}

void frmOpen::setDBName(const QString &text)
{
    lblDBName->setText(text);
    setAcceptState(cmdOK, cmdCancel, !text.isEmpty());
}

void frmOpen::okClicked()
{
    const QTreeWidgetItem *item = tvwDB->currentItem();
    if (!item)
        return;
    const QString path = DatabaseList::tag(item);
    // The name comes from the path, so that the two always name the same file.
    m_choice = ChosenDatabase{path, QFileInfo(path).fileName()};
    accept();
}

void frmOpen::reject()
{
    m_choice.reset();
    ButtonDialog::reject();
}

} // namespace rr
