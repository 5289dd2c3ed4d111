#include "dialogs/frmstats.h"

#include "controls/qbbuttons_h.h"
#include "dialogs/duplicatesets.h"
#include "storage/useroptions.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace rr
{

frmStats::frmStats(const XmlDocument *doc, const Figures &figures, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmStats"));
    setWindowTitle(QStringLiteral("Statistics"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *grid = new QGridLayout;
    const int size = appOptions().getFontSize();
    // The value labels' widths, by font size.
    const int width = size == 11 ? 320 : size == 10 ? 280 : 220;
    const auto addRow = [&](int row, const QString &caption, const char *name) {
        grid->addWidget(new QLabel(caption, this), row, 0);
        auto *value = new QLabel(this);
        value->setObjectName(QLatin1String(name));
        value->setTextFormat(Qt::PlainText);
        value->setMinimumWidth(width);
        if (size > 0) {
            QFont font = value->font();
            font.setPointSize(size);
            value->setFont(font);
        }
        grid->addWidget(value, row, 1);
        return value;
    };
    lblDB = addRow(0, QStringLiteral("Database:"), "lblDB");
    lblFol = addRow(1, QStringLiteral("Total folders:"), "lblFol");
    lblVD = addRow(2, QStringLiteral("Total Vardecks:"), "lblVD");
    lblFavs = addRow(3, QStringLiteral("Favorites:"), "lblFavs");
    lblHits = addRow(4, QStringLiteral("Total hits:"), "lblHits");
    layout->addLayout(grid);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    cmdCopy = new qbButtons_H(this);
    cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    cmdCopy->setCaption(QStringLiteral("Copy"));
    cmdCopy->setMinimumSize(75, 25);
    cmdOK = new qbButtons_H(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setCaption(QStringLiteral("Close"));
    cmdOK->setMinimumSize(75, 25);
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdOK);
    layout->addLayout(buttons);
    connect(cmdCopy, &qbButtons_H::Click, this, &frmStats::cmdCopy_Click);
    connect(cmdOK, &qbButtons_H::Click, this, &QDialog::accept, Qt::QueuedConnection);

    const CollectionFigures counted = doc ? collectionFigures(*doc) : CollectionFigures();
    lblDB->setText(figures.database);
    lblFol->setText(QString::number(figures.folderNodes));
    lblVD->setText(QString::number(counted.vardecks));
    lblFavs->setText(QString::number(counted.favorites));
    lblHits->setText(QString::number(counted.totalHits));
}

void frmStats::cmdCopy_Click()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(statisticsText(lblDB->text(), lblFol->text(), lblVD->text(), lblFavs->text(), lblHits->text()));
}

} // namespace rr
