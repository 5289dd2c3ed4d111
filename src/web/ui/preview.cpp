#include "web/ui/preview.h"

#include "controls/qbbuttons_h.h"
#include "explorer/detailsops.h"
#include "explorer/shownvardeck.h"
#include "media/urlsupport.h"
#include "platform/gui/commands.h"
#include "platform/gui/partoperations.h"
#include "platform/prompt.h"
#include "platform/webaddress.h"
#include "shell/framepanes.h"
#include "shell/framestatus.h"
#include "shell/installedpart.h"
#include "shell/openaddress.h"
#include "shell/opendatabase.h"
#include "shell/panecontrols.h"
#include "shell/recentmenuoperations.h"
#include "shell/shownitems.h"
#include "shell/twips.h"
#include "storage/useroptions.h"
#include "web/ui/aspects.h"
#include "web/ui/webpane.h"
#include "web/visits.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>

namespace rr
{
namespace
{

const QLatin1String kBlank("about:blank");

// The addresses the preview may load: web pages and local files. Anything else (a
// script or data address) would run inside the window, so the pane stays empty.
QUrl previewUrl(const QString &address)
{
    const QString text = address.trimmed();
    if (text.isEmpty() || text == kBlank)
        return QUrl(kBlank);
    const QUrl url(withWebScheme(text));
    if (urlSupport::isWebOrFileScheme(url.scheme().toLower()))
        return url;
    return {};
}

} // namespace

PreviewPane::PreviewPane(const WebWindow &w) : QObject(&w.mainWindow), m_window(w)
{
    build(w.panes.pane(Pane::PreviewPage));
    m_pane = new WebPane(m_host, WebPane::Kind::Preview);
    w.panes.addToLayout(Place::Preview, m_host);
    w.panes.addToLayout(Place::PreviewButtons, m_open);
    followThePane();
    attachCommands();
}

PreviewPane *PreviewPane::of(const QObject &window)
{
    return installedPart<PreviewPane>(window);
}

void PreviewPane::build(QWidget *page)
{
    const char *captions[] = {"Go", "Stop", "Refresh", "Home", "Open home", "Open"};
    const char *tips[] = {"Show this Vardeck's page here",
                          "Stop loading the page",
                          "Refresh the page",
                          "Show this Vardeck's home page here",
                          "Open the home page in the browser",
                          "Open this Vardeck in the browser"};
    // Each button as wide as its caption needs: the captions wrap, and a second line
    // would fall outside the button.
    const int widths[] = {800, 800, 1060, 900, 1400, 900};
    qbButtons_H **buttons[] = {&m_go, &m_stop, &m_refresh, &m_home, &m_openHome, &m_open};
    int left = 100;
    for (int i = 0; i < 6; ++i) {
        *buttons[i] = makeCommandButton(m_window.commands, page, QStringLiteral("cmdPreview(%1)").arg(i),
                                        QString::fromLatin1(captions[i]), left, 480, widths[i], 330,
                                        &Commands::cmdPreview_Click, i);
        left += widths[i] + 30;
        (*buttons[i])->setToolTip(QString::fromLatin1(tips[i]));
    }
    m_autoPreview = makeCheckBox(page, QStringLiteral("chkAutoPreview"), QStringLiteral("Preview automatically"), 100,
                                 880, 2400, 255);
    Commands &commands = m_window.commands;
    connect(m_autoPreview, &QCheckBox::clicked, m_autoPreview, [&commands] { commands.chkAutoPreview_Click(0); });
    m_progress = new QProgressBar(page);
    m_progress->setObjectName(QStringLiteral("previewProgress"));
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    twips::move(m_progress, 2700, 900, 2400, 210);
    m_progress->hide();
    m_host = new QWidget(page);
    m_host->setObjectName(QStringLiteral("wbPreview"));
    m_host->setAutoFillBackground(true);
    m_host->setBackgroundRole(QPalette::Base);
    twips::move(m_host, 100, 1260, 6435, 3735);
}

void PreviewPane::followThePane()
{
    QPointer<QObject> window(&m_window.mainWindow);
    // The lambdas live as long as the progress bar they show the load in.
    connect(m_pane, &WebPane::loadStarted, m_progress, [this] {
        m_progress->setValue(0);
        m_progress->show();
    });
    connect(m_pane, &WebPane::loadProgress, m_progress, [this](int percent) {
        if (percent >= 0)
            m_progress->setValue(percent);
    });
    connect(m_pane, &WebPane::loadFinished, m_progress, [this, window](bool) {
        m_progress->setValue(100);
        m_progress->hide();
        if (!window)
            return;
        // The pane's texts are passing: the shown folder's path comes back. Why an
        // address was not shown stays until the pane shows another.
        if (!m_refusal.isEmpty() && m_pane->address() == kBlank)
            m_window.status.showPageStatus(m_refusal);
        else
            m_window.status.pageStatusEnded();
    });
    connect(m_pane, &WebPane::statusTextChanged, m_progress, [this, window](const QString &text) {
        if (!window || m_pane->address() == kBlank)
            return;
        if (text.isEmpty())
            m_window.status.pageStatusEnded();
        else
            m_window.status.showPageStatus(text);
    });
}

void PreviewPane::attachCommands()
{
    Commands &commands = m_window.commands;
    commands.cmdPreview_Click = [this](int index) { press(Button(index)); };
    commands.chkAutoPreview_Click = [this](int) {
        const Qt::CheckState state = m_autoPreview->checkState();
        if (state != Qt::PartiallyChecked)
            appOptions().setAutoPreview(state == Qt::Checked);
    };
}

void PreviewPane::showAutoPreviewOption()
{
    m_autoPreview->setChecked(appOptions().getAutoPreview());
}

void PreviewPane::untickAutoPreview()
{
    m_autoPreview->setChecked(false);
}

bool PreviewPane::showAddress(const QString &address)
{
    const QUrl url = previewUrl(address);
    if (url.isValid()) {
        m_refusal.clear();
        m_pane->navigate(url);
        return true;
    }
    m_refusal = QStringLiteral("The preview shows only web pages and files: ") + address;
    m_pane->navigate(QUrl(kBlank));
    m_window.status.showPageStatus(m_refusal);
    return false;
}

void PreviewPane::recordVisit()
{
    ShownItems &shown = m_window.shown;
    if (shown.editState() != EditState::Viewing || !shown.vardeckShown() || !m_window.db.isOpen())
        return;
    const QString stamp = updateLastAccessed(*m_window.db, shown.currentWID(), visitNow());
    if (!stamp.isEmpty())
        showLastVisit(m_window.parts, stamp);
    operationsOf<RecentMenuOperations>(m_window.mainWindow).refreshRecentMenuList(shown.currentWID());
}

void PreviewPane::showHomePage()
{
    const QString home = urlSupport::calculateHomeURL(shownVardeckAddress(m_window.parts));
    if (!urlSupport::isValidWWW(home)) {
        prompt::show(QStringLiteral("The homepage for ") + shownVardeckName(m_window.parts) +
                         QStringLiteral(" could not be loaded"),
                     MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    showAddress(home);
}

void PreviewPane::press(Button button)
{
    const QString address = shownVardeckAddress(m_window.parts);
    switch (button) {
    case Button::Go:
        // A refused address is no visit.
        if (showAddress(address))
            recordVisit();
        break;
    case Button::Stop:
        m_pane->stop();
        break;
    case Button::Refresh:
        m_pane->refresh();
        break;
    case Button::Home:
        showHomePage();
        break;
    case Button::OpenHome:
        finishOpening(openHome(address, shownVardeckName(m_window.parts)));
        break;
    case Button::Open:
        // A refused address is told and is no visit; any other visit counts even when
        // the browser then fails.
        if (urlSupport::isSafeToOpen(address))
            recordVisit();
        openInBrowser(address);
        break;
    }
}

} // namespace rr
