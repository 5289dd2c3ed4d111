#include "web/ui/printprogress.h"

#include "controls/qbbuttons_h.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>

namespace rr
{

PrintProgress::PrintProgress(QWidget *owner) : ButtonDialog(owner)
{
    setObjectName(QStringLiteral("frmPrintProgress"));
    setModal(false);
    setWindowTitle(QStringLiteral("Printing..."));
    setFixedSize(px(5850), px(2400));
    progress1 = new QProgressBar(this);
    progress1->setObjectName(QStringLiteral("progress1"));
    progress1->setTextVisible(false);
    progress1->setGeometry(px(240), px(240), px(5295), px(220));
    progress1->setRange(0, 1);
    progress1->setValue(0);
    lblPage = makeLabel(QStringLiteral("lblPage"), QString());
    lblPage->setGeometry(px(240), px(720), px(5295), px(300));
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), QStyle::SP_DialogCancelButton);
    cmdCancel->setGeometry(px(4560), px(1560), px(1095), px(630));
    connect(cmdCancel, &qbButtons_H::Click, this, &PrintProgress::reject);
    setDefaultButton(cmdCancel);
    showPreparing();
}

void PrintProgress::showPreparing()
{
    lblPage->setText(QStringLiteral("Preparing the pages\u2026"));
}

void PrintProgress::showPage(int page, int piece, int pieces)
{
    lblPage->setText(QStringLiteral("Page ") + QString::number(page));
    progress1->setRange(0, std::max(1, pieces));
    progress1->setValue(std::min(piece, pieces));
}

void PrintProgress::reject()
{
    lblPage->setText(QStringLiteral("Cancelling\u2026"));
    cmdCancel->setEnabled(false);
    emit cancelRequested();
}

void PrintProgress::closeEvent(QCloseEvent *event)
{
    // The window goes when the print has stopped.
    event->ignore();
    reject();
}

} // namespace rr
