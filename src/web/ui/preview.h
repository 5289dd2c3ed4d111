#pragma once
// The details panel's preview pane: the shown Vardeck's page or home page inside the
// window, its six buttons, the progress bar and the status text, and the
// automatic-preview check box.
#include "shell/previewoperations.h"
#include "web/ui/webwindow.h"

#include <QObject>

class QCheckBox;
class QProgressBar;
class QWidget;

namespace rr
{

class qbButtons_H;
class WebPane;

// The preview owns the Preview tab's controls: the pane wbPreview, the buttons
// cmdPreview(0) to cmdPreview(5), previewProgress and chkAutoPreview. The parts below
// it reach it through the operations it offers on the window
// (shell/previewoperations.h); the frame lays out the pane and the row of buttons.
class PreviewPane : public QObject, public PreviewOperations
{
    Q_OBJECT
public:
    // The buttons in their order on the page; the value is the index in the button's
    // object name ("cmdPreview(5)") and the one cmdPreview_Click runs with.
    enum class Button { Go, Stop, Refresh, Home, OpenHome, Open };

    explicit PreviewPane(const WebWindow &w);
    // The window's preview; nullptr before installPreview.
    static PreviewPane *of(const QObject &window);

    void navigatePreview(const QString &address) override { showAddress(address); }
    void showAutoPreviewOption() override;
    void untickAutoPreview() override;

private:
    void build(QWidget *page);
    void followThePane();
    void attachCommands();
    // Go shows the Vardeck's page here and Open in the browser, each a visit outside an
    // edit; Stop and Refresh act on the page shown; Home shows the home page here and
    // OpenHome in the browser.
    void press(Button button);
    // Shows an address in the pane; one it may not load leaves the pane empty.
    // Shows the address in the pane; false when it is refused (the pane goes blank and
    // the status bar says why).
    bool showAddress(const QString &address);
    void showHomePage();
    void recordVisit();

    WebWindow m_window;
    qbButtons_H *m_go = nullptr;
    qbButtons_H *m_stop = nullptr;
    qbButtons_H *m_refresh = nullptr;
    qbButtons_H *m_home = nullptr;
    qbButtons_H *m_openHome = nullptr;
    qbButtons_H *m_open = nullptr;
    QCheckBox *m_autoPreview = nullptr;
    QProgressBar *m_progress = nullptr;
    QWidget *m_host = nullptr; // wbPreview: holds the browser once it exists
    WebPane *m_pane = nullptr;
    // Why the last address given was not shown, while the pane stays blank for it.
    QString m_refusal;
};

class frmVardecks;

// Makes the preview (once), attaches cmdPreview_Click and chkAutoPreview_Click, and
// offers the preview's operations on the window (installweb.cpp).
void installPreview(frmVardecks &w);

} // namespace rr
