#pragma once
// The small window that a print of the Web Aspect shows while it runs: the page being
// printed, a bar over the pieces of the document and a Cancel button. It blocks
// nothing; Cancel, Escape and closing the window all stop the print, which then ends
// the window.
#include "storage/ui/buttondialog.h"

class QProgressBar;

namespace rr
{

class PrintProgress : public ButtonDialog
{
    Q_OBJECT
public:
    explicit PrintProgress(QWidget *owner);

    // "Preparing the pages…" until the first page.
    void showPreparing();
    // "Page " and the page, the bar at piece of pieces.
    void showPage(int page, int piece, int pieces);

    QLabel *lblPage = nullptr;
    QProgressBar *progress1 = nullptr;
    qbButtons_H *cmdCancel = nullptr;

signals:
    void cancelRequested();

protected:
    void reject() override;
    void closeEvent(QCloseEvent *event) override;
};

} // namespace rr
