#include "media/ui/frmthumb.h"

#include "controls/qbbuttons_h.h"
#include "explorer/detailsops.h"
#include "explorer/folderops.h"
#include "explorer/nodetags.h"
#include "explorer/shownvardeck.h"
#include "media/gifwriter.h"
#include "media/iconsupport.h"
#include "media/ui/iconcommands.h"
#include "media/ui/pagebrowser.h"
#include "media/urlsupport.h"
#include "platform/gui/commands.h"
#include "platform/gui/partoperations.h"
#include "platform/gui/textfit.h"
#include "platform/paths.h"
#include "platform/prompt.h"
#include "shell/collectionchanges.h"
#include "shell/detailsoperations.h"
#include "shell/findingoperations.h"
#include "shell/foldertreeoperations.h"
#include "shell/fonthelpers.h"
#include "shell/frametabs.h"
#include "shell/imagelists.h"
#include "shell/opendatabase.h"
#include "shell/recentmenuoperations.h"
#include "shell/shownitems.h"
#include "storage/record.h"
#include "storage/session.h"
#include "storage/ui/savereport.h"
#include "storage/useroptions.h"
#include "storage/xmldatabase.h"
#include "web/visits.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QShortcut>

namespace rr
{
namespace
{

constexpr int kTopHeight = 150;
constexpr int kThumbWidth = 200;
constexpr int kThumbHeight = 150;

QLabel *plainLabel(QWidget *parent, const QString &name, const QString &text, int x, int y, int width, int height)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(x, y, width, height);
    return label;
}

qbButtons_H *button(QWidget *parent, const QString &name, const QString &caption, int x, int width)
{
    auto *b = new qbButtons_H(parent);
    b->setObjectName(name);
    b->setCaption(caption);
    b->setGeometry(x, 108, width, 30);
    return b;
}

// An address shown to the user: "%20" read as the blank it stands for.
QString shownAddress(const QUrl &url)
{
    return url.toString().replace(QLatin1String("%20"), QLatin1String(" "));
}

} // namespace

frmThumb::frmThumb(const MediaWindow &window, IconCommands &icons, Job job)
    : QWidget(&window.mainWindow, Qt::Dialog), w(window), m_icons(icons), m_job(job)
{
    setObjectName(QStringLiteral("frmThumb"));
    setAttribute(Qt::WA_DeleteOnClose);
    // A thumbnail run keeps the user out of every other window. A synchronisation
    // disables the main window instead, which leaves its close box working: a close
    // asked during the run is refused with the reason (eventFilter).
    if (isThumbJob())
        setWindowModality(Qt::ApplicationModal);
    else
        w.mainWindow.installEventFilter(this);
    setWindowTitle(QStringLiteral("Update thumbnail"));
    Label1 = plainLabel(this, QStringLiteral("Label1"), QStringLiteral("Loading:"), 10, 10, 70, 20);
    imgIcon = plainLabel(this, QStringLiteral("imgIcon"), QString(), 80, 10, 32, 32);
    lblName = plainLabel(this, QStringLiteral("lblName"), QStringLiteral("Name"), 120, 10, 560, 24);
    lblAddress = plainLabel(this, QStringLiteral("lblAddress"), QStringLiteral("Address"), 120, 38, 560, 24);
    lblProg = plainLabel(this, QStringLiteral("lblProg"), QString(), 690, 10, 120, 24);
    Progress1 = new QProgressBar(this);
    Progress1->setObjectName(QStringLiteral("Progress1"));
    Progress1->setGeometry(10, 72, 800, 16);
    Progress1->setRange(0, 100);
    Progress1->setTextVisible(false);
    cmdSave = button(this, QStringLiteral("cmdSave"), QStringLiteral("Save this thumbnail"), 10, 180);
    cmdContinue =
        button(this, QStringLiteral("cmdContinue"), QStringLiteral("Save and continue to the next Vardeck"), 200, 300);
    cmdCancel = button(this, QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), 710, 100);
    connect(cmdSave, &qbButtons_H::Click, this, &frmThumb::cmdSave_Click);
    connect(cmdContinue, &qbButtons_H::Click, this, &frmThumb::cmdContinue_Click);
    connect(cmdCancel, &qbButtons_H::Click, this, &frmThumb::cmdCancel_Click);
    // Esc is Cancel while a run goes on, and closes the window once it has ended.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, [this] {
        if (cmdCancel->isEnabled())
            cmdCancel_Click();
        else
            close();
    });

    m_browser = new PageBrowser(this);
    if (QWidget *view = m_browser->view())
        view->move(10, kTopHeight);
    connect(m_browser, &PageBrowser::loadProgress, Progress1, &QProgressBar::setValue);
    connect(m_browser, &PageBrowser::pageLoaded, this, &frmThumb::pageLoaded);
    Timer1.setInterval(400);
    connect(&Timer1, &QTimer::timeout, this, &frmThumb::step);

    const int size = appOptions().getFontSize();
    QFont font = lblName->font();
    font.setPointSize(size);
    lblName->setFont(font);
    lblAddress->setFont(font);
    elideLabel(lblName);
    elideLabel(lblAddress, Qt::ElideMiddle);
    applyFontFallback(this);
    setFormBasic();
}

void frmThumb::setFormBasic()
{
    // The page browser lies below the visible part of the window.
    setFixedSize(PageBrowser::kWidth + 20, kTopHeight);
}

void frmThumb::setFormLarge()
{
    setFixedSize(PageBrowser::kWidth + 20, kTopHeight + PageBrowser::kHeight + 10);
}

bool frmThumb::isBatchSync() const
{
    return m_job.kind == Job::Kind::Synchronisation && m_job.of != Job::Of::ShownVardeck;
}

bool frmThumb::isSingleSync() const
{
    return m_job.kind == Job::Kind::Synchronisation && m_job.of == Job::Of::ShownVardeck;
}

bool frmThumb::isThumbJob() const
{
    return m_job.kind == Job::Kind::Thumbnails;
}

void frmThumb::setIcon(const QString &wid)
{
    const QString base = w.db.isOpen() ? w.db->getBasePath() : QString();
    const QImage icon = pictureFromFile(iconFilePath(base, w.db.name(), wid));
    imgIcon->setPixmap(icon.isNull() ? w.plainPicture : QPixmap::fromImage(icon.scaled(32, 32, Qt::KeepAspectRatio)));
}

void frmThumb::start()
{
    m_stop = false;
    cmdSave->setEnabled(false);
    cmdContinue->setEnabled(false);
    const bool single = m_job.of == Job::Of::ShownVardeck;
    if (isThumbJob()) {
        setFormLarge();
        if (single) {
            cmdSave->setEnabled(true);
            cmdSave->setFocus();
            startSingle(true);
            return;
        }
        cmdContinue->setEnabled(true);
    } else if (single) {
        setWindowTitle(QStringLiteral("Synchronizing Vardeck with website"));
        startSingle(false);
        return;
    } else {
        setWindowTitle(QStringLiteral("Synchronizing Vardecks with website"));
    }
    m_job.of == Job::Of::Everything ? loadThumbsAll() : loadThumbsFolder();
}

void frmThumb::startSingle(bool thumbnail)
{
    // A thumbnail is taken of the address the details show, typed in an edit too; a
    // synchronisation reads the page of the Vardeck as stored.
    const QString address =
        thumbnail ? shownVardeckAddress(w.parts) : w.db.vardeck(w.shown.currentWID()).childText(tag::Address);
    if (isPDF(address)) {
        lblName->setText(w.shown.vardeckCaption() + QStringLiteral(" not loaded"));
        lblAddress->setText(thumbnail ? QStringLiteral("PDF thumbnails cannot be loaded.")
                                      : QStringLiteral("PDF thumbnails and synchronization is not supported."));
        cmdSave->setEnabled(false);
        return;
    }
    m_wid = w.shown.currentWID();
    setIcon(m_wid);
    lblName->setText(thumbnail ? shownVardeckName(w.parts) : w.shown.vardeckCaption());
    lblAddress->setText(address);
    lblProg->setText(QStringLiteral("1 of 1"));
    m_pageHandled = false;
    const QUrl url = HttpFetcher::fetchableUrl(address);
    if (url.isValid()) {
        m_browser->load(url);
    } else {
        // Only web pages are loaded: nothing is fetched for other addresses.
        QTimer::singleShot(0, this, [this] { pageLoaded(false, QStringLiteral("This is not a web address.")); });
    }
}

void frmThumb::loadThumbs(const QList<XmlNode> &vardecks)
{
    m_jobs.clear();
    for (const XmlNode &vardeck : vardecks)
        m_jobs.append({vardeck.attribute(tag::Wid), vardeck.childText(tag::Name), vardeck.childText(tag::Address)});
    m_index = 0;
    Timer1.start();
}

void frmThumb::loadThumbsFolder()
{
    if (identifierOf(w.shown.currentTID()).isEmpty())
        return;
    const XmlNode folder = w.db.folder(w.shown.currentTID());
    if (folder)
        loadThumbs(folder.child(tag::Vardecks).getElementsByTagName(tag::Vardeck));
}

void frmThumb::loadThumbsAll()
{
    if (XmlDocument *doc = w.db.document())
        loadThumbs(doc->getElementsByTagName(tag::Vardeck));
}

void frmThumb::step()
{
    if (stopped())
        return;
    if (m_index >= m_jobs.size()) {
        endOfRun();
        return;
    }
    m_pageHandled = false;
    const IconJob job = m_jobs.at(m_index++);
    m_wid = job.wid;
    if (isPDF(job.address)) {
        // Never requested; the next Vardeck follows at the next tick.
        lblName->setText(job.name + QStringLiteral(" not loaded"));
        lblAddress->setText(QStringLiteral("PDF thumbnails and synchronization is not supported."));
        return;
    }
    setIcon(m_wid);
    lblName->setText(job.name);
    lblAddress->setText(job.address);
    lblProg->setText(QStringLiteral("%1 of %2").arg(m_index).arg(m_jobs.size()));
    Timer1.stop();
    const QUrl url = HttpFetcher::fetchableUrl(job.address);
    if (url.isValid())
        m_browser->load(url);
    else
        QTimer::singleShot(0, this, [this] { pageLoaded(false, QStringLiteral("This is not a web address.")); });
}

void frmThumb::pageLoaded(bool ok, const QString &failure)
{
    if (stopped() || m_pageHandled)
        return;
    if (isThumbJob()) {
        // Captured when the user presses Save or Continue; a failed page is said so.
        if (!ok)
            lblAddress->setText(failure);
        return;
    }
    m_pageHandled = true;
    if (!ok) {
        ++m_skipped;
        if (isSingleSync()) {
            const QString name = w.shown.vardeckCaption();
            QTimer::singleShot(0, this, [this, name, failure] {
                prompt::show(
                    QStringLiteral("%1 could not be synchronized: %2  The Vardeck was not changed.").arg(name, failure),
                    MsgButtons::Ok, MsgIcon::Exclamation);
                close();
            });
            return;
        }
        lblAddress->setText(failure);
        Timer1.start();
        return;
    }
    QPointer<frmThumb> self(this);
    m_browser->readDetails([self](bool read, const PageDetails &details) {
        if (!self || self->stopped())
            return;
        if (self->isSingleSync()) {
            if (read)
                self->synchSingleVardeck(details);
            self->close();
            return;
        }
        if (read)
            self->synchBatchVardeck(details);
        else
            ++self->m_skipped;
        self->Timer1.start();
    });
}

void frmThumb::synchSingleVardeck(const PageDetails &details)
{
    w.mainWindow.setEnabled(true);
    const QString wid = w.shown.currentWID();
    const QString address = shownAddress(m_browser->url());
    // The visit is recorded first: its refresh of the details panel must not undo
    // what the page gave the edit boxes.
    const QString stamp = updateLastAccessed(*w.db, wid);
    operationsOf<RecentMenuOperations>(w.mainWindow).refreshRecentMenuList(wid);
    w.commands.mnuEditModify_Click();
    setEditedPageSize(w.parts, sizeText(details.bodyBytes));
    // The boxes show what is stored (Update filled them): the page replaces only what
    // it offers.
    DetailsOperations &panel = operationsOf<DetailsOperations>(w.mainWindow);
    takePageIntoEdit(w.parts, {synchronisedName(details, panel.detailsText(DetailsField::NameBox)), address,
                               synchronisedText(details.description, panel.detailsText(DetailsField::DescriptionBox)),
                               synchronisedText(details.keywords, panel.detailsText(DetailsField::KeywordsBox))});
    w.tabs.showViewTab(ViewTab::Vardeck);
    w.tabs.showInfoTab(InfoTab::Details);
    if (const XmlNode vardeck = w.db.vardeck(wid))
        panel.showHits(vardeck.childText(tag::Hits));
    ++m_synchronised;
    if (appOptions().getAutoIcon())
        m_icons.loadSingleIcon({false, false, false, true, true}, address, wid);
}

void frmThumb::synchBatchVardeck(const PageDetails &details)
{
    XmlDocument *doc = w.db.document();
    const XmlNode vardeck = doc ? doc->nodeFromID(m_wid) : XmlNode();
    if (!vardeck)
        return;
    applyPageDetails(*doc, vardeck, details);
    ++m_synchronised;
    if (appOptions().getAutoIcon())
        m_icons.loadSingleIcon({}, vardeck.childText(tag::Address), m_wid);
}

bool frmThumb::saveThumb(QString *reason)
{
    if (stopped())
        return false;
    const auto refuse = [this, reason](const QString &why) {
        lblAddress->setText(why);
        if (reason)
            *reason = why;
        return false;
    };
    m_browser->stop();
    if (!m_browser->lastLoadOk())
        return refuse(QStringLiteral("The page did not load: its thumbnail was not saved."));
    if (!w.db.isOpen())
        return refuse(QStringLiteral("No database is open: the thumbnail was not saved."));
    const QString path = thumbFilePath(w.db->getBasePath(), w.db.name(), m_wid);
    if (path.isEmpty() || !m_wid.startsWith(QLatin1Char('W')))
        return refuse(QStringLiteral("No Vardeck is being shown: no thumbnail was saved."));
    const QImage page = m_browser->capture();
    if (page.isNull())
        return refuse(QStringLiteral("The page could not be captured: its thumbnail was not saved."));
    const QImage thumb = page.scaled(kThumbWidth, kThumbHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QString error;
    // The database's own thumbnails folder, with its parents, made before writing.
    if (!paths::makeFolder(QFileInfo(path).absolutePath()) || !SaveGIF(thumb, path, false, 0, &error))
        return refuse(error.isEmpty() ? QStringLiteral("The thumbnail could not be written.")
                                      : QStringLiteral("The thumbnail ") + error);
    if (m_wid == w.shown.currentWID())
        showThumbnail(w.parts, thumb);
    return true;
}

void frmThumb::loadCurrentVardeck()
{
    if (stopped())
        return;
    saveThumb();
    m_browser->load(QUrl(QStringLiteral("about:blank")));
    cmdContinue->setEnabled(true);
    cmdContinue->setFocus();
    Timer1.start();
}

void frmThumb::endOfRun()
{
    Timer1.stop();
    m_finished = true;
    cmdContinue->setCaption(QStringLiteral("OK"));
    cmdContinue->setEnabled(true);
    cmdContinue->setFocus();
    cmdCancel->setEnabled(false);
    lblName->clear();
    lblAddress->clear();
    Label1->setText(QStringLiteral("Done"));
    imgIcon->setPixmap(QPixmap());
    if (isBatchSync())
        finishSynchronisation();
}

void frmThumb::finishSynchronisation()
{
    // Refilling the folder resets the details panel: the shown Vardeck comes back.
    const QString shown = w.shown.vardeckShown() ? w.shown.currentWID() : QString();
    m_browser->stop();
    if (m_synchronised > 0 && w.db.isOpen()) {
        saveDatabaseReporting(*w.db);
        w.changes.collectionChanged(StalePages::everyPage());
    }
    w.mainWindow.setEnabled(true);
    XmlDocument *doc = w.db.document();
    if (!doc)
        return;
    FindingOperations &finding = operationsOf<FindingOperations>(w.mainWindow);
    finding.populatePopList(doc);
    finding.populateFavsList(doc);
    finding.clearSearchResults();
    operationsOf<FolderTreeOperations>(w.mainWindow).populateWMOnTopicNode();
    relistSelectedFolder(w.parts);
    if (const XmlNode vardeck = w.db.vardeck(shown))
        operationsOf<DetailsOperations>(w.mainWindow).displayVardeckData(vardeck);
    // The refill turns the Explorer's folder and Vardeck commands back on; a run started
    // from the Web Aspect leaves them off there, and the page shows the new texts.
    w.changes.collectionChanged(StalePages{.reshowWebAspect = true});
}

void frmThumb::cmdSave_Click()
{
    cmdSave->setEnabled(false);
    QString reason;
    if (!saveThumb(&reason) && !reason.isEmpty()) {
        // Said after the click has been handled, never from inside it.
        QTimer::singleShot(0, &w.mainWindow, [reason] { prompt::show(reason, MsgButtons::Ok, MsgIcon::Exclamation); });
    }
    close();
}

void frmThumb::cmdContinue_Click()
{
    if (cmdContinue->Caption() == QLatin1String("OK")) {
        close();
        return;
    }
    if (!isThumbJob())
        return;
    cmdContinue->setEnabled(false);
    loadCurrentVardeck();
}

void frmThumb::cmdCancel_Click()
{
    m_stop = true;
    close();
}

bool frmThumb::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &w.mainWindow || event->type() != QEvent::Close || m_finished || stopped())
        return QWidget::eventFilter(watched, event);
    event->ignore();
    // Said once the close has been refused, never from inside its handling; a close
    // asked again meanwhile is told once.
    if (!m_closeRefusalQueued) {
        m_closeRefusalQueued = true;
        QTimer::singleShot(0, this, [this] {
            prompt::show(QStringLiteral("Vardecks are being synchronized with their websites, so the window stays open "
                                        "until the synchronization ends.  Press Cancel in the synchronization window "
                                        "to stop it now; what was synchronized so far is saved."),
                         MsgButtons::Ok, MsgIcon::Information);
            m_closeRefusalQueued = false;
        });
    }
    return true;
}

void frmThumb::closeEvent(QCloseEvent *event)
{
    Timer1.stop();
    m_browser->stop();
    // A synchronisation run left early keeps what it did: saved and shown now, not
    // by some later unrelated save.
    if (isBatchSync() && !m_finished) {
        m_stop = true;
        finishSynchronisation();
    }
    w.mainWindow.setEnabled(true);
    emit closed();
    // A page or its details that still arrive change nothing once the window is closed.
    m_stop = true;
    event->accept();
}

} // namespace rr
