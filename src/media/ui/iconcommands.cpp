#include "media/ui/iconcommands.h"

#include "explorer/detailsops.h"
#include "explorer/folderops.h"
#include "explorer/nodetags.h"
#include "explorer/shownvardeck.h"
#include "finding/ui/findingops.h"
#include "media/ui/frmiconprogress.h"
#include "media/urlsupport.h"
#include "platform/gui/commands.h"
#include "platform/gui/partoperations.h"
#include "platform/net/connection.h"
#include "platform/prompt.h"
#include "shell/detailsoperations.h"
#include "shell/findingoperations.h"
#include "shell/imagelists.h"
#include "shell/opendatabase.h"
#include "shell/shownitems.h"
#include "shell/vardeckviewsoperations.h"
#include "storage/record.h"
#include "storage/session.h"
#include "storage/xmldatabase.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>
#include <QTreeWidget>

namespace rr
{
namespace
{

QString vardeckRequired(const QString &what)
{
    return QStringLiteral("No Vardeck is shown.  Select the Vardeck whose icon you wish to %1 first.").arg(what);
}

} // namespace

IconCommands::IconCommands(const MediaWindow &window)
    : QObject(&window.mainWindow), w(window), m_net(new HttpFetcher(this))
{
    setObjectName(QStringLiteral("iconCommands"));
    // The icon of a page being added is wanted only while that add goes on: once it
    // is saved or dropped, its fetch is aborted and writes nothing.
    w.shown.whenEditStateChanges(this, [this](EditState) {
        if (w.shown.editState() != EditState::Adding)
            delete m_addFetch.data();
    });
}

bool IconCommands::connectionQuestion()
{
    if (CheckConnectionIGCS())
        return true;
    return prompt::askYesNo(
        QStringLiteral("Razuzezu Revidod has detected that you are not connected to the internet to "
                       "load icons.  Do you wish to continue?"),
        MsgIcon::None, QStringLiteral("Internet connection?"));
}

frmIconProgress *IconCommands::openProgress()
{
    if (m_progress)
        m_progress->close();
    m_progress = new frmIconProgress(&w.mainWindow);
    connect(&w.mainWindow, &QObject::destroyed, m_progress.data(), &QWidget::close);
    m_progress->show();
    m_progress->raise();
    m_progress->activateWindow();
    m_progress->repaint();
    return m_progress;
}

QList<IconJob> IconCommands::jobsOf(const QList<XmlNode> &vardecks) const
{
    QList<IconJob> jobs;
    jobs.reserve(vardecks.size());
    for (const XmlNode &vardeck : vardecks) {
        if (vardeck.nodeName() == tag::Vardeck)
            jobs.append({vardeck.attribute(tag::Wid), vardeck.childText(tag::Name), vardeck.childText(tag::Address)});
    }
    return jobs;
}

void IconCommands::loadIconsForList(const QList<IconJob> &jobs, std::function<void()> done)
{
    if (!w.db.isOpen())
        return;
    if (m_run && !m_run->isFinished()) {
        if (!m_run->isCancelled())
            return;
        // A cancelled run has aborted its fetches; only its end is still on its way.
        // This run's end refills the lists instead.
        m_run->disconnect(this);
        m_run->deleteLater();
        m_run = nullptr;
    }
    if (!connectionQuestion())
        return;
    const QString base = w.db->getBasePath();
    w.mainWindow.setEnabled(false);
    // Each run speaks only to its own window, never to a later run's.
    const QPointer<frmIconProgress> progress = openProgress();
    progress->setRemaining(int(jobs.size()));
    session().cancelIcons = false;

    auto *run = new IconRun(base, w.db.name(), jobs, *m_net, runOptions, this);
    m_run = run;
    connect(progress, &frmIconProgress::buttonPressed, run, &IconRun::cancel);
    connect(run, &IconRun::waitingOn, this, [progress](const QString &name, const QString &home) {
        if (progress)
            progress->setCurrent(name, home);
    });
    connect(run, &IconRun::iconLoaded, this, [this, progress](const QString &wid, const QString &file) {
        if (progress)
            progress->showIcon(file);
        addToImageList(wid, file);
    });
    connect(run, &IconRun::counted, this, [progress, run] {
        if (!progress)
            return;
        progress->setLoaded(run->loaded());
        progress->setFailed(run->failed());
        progress->setRemaining(run->remaining());
        if (run->total() > 0)
            progress->setProgress(100.0 * (run->loaded() + run->failed()) / run->total());
    });
    connect(run, &IconRun::finished, this, [this, run, progress, done = std::move(done)](bool cancelled) {
        if (progress)
            progress->showEnd(run->loaded());
        if (!cancelled)
            QApplication::beep();
        refillAfterRun();
        run->deleteLater();
        if (done)
            done();
    });
    run->start();
}

void IconCommands::refillAfterRun()
{
    XmlDocument *doc = w.db.document();
    if (doc) {
        FindingOperations &finding = operationsOf<FindingOperations>(w.mainWindow);
        finding.populateFavsList(doc);
        finding.clearSearchResults();
        finding.populatePopList(doc);
        if (const XmlNode folder = w.db.folder(w.shown.currentTID()))
            operationsOf<VardeckViewsOperations>(w.mainWindow).populateVDList(folder);
        relistSelectedFolder(w.parts);
    }
    w.mainWindow.setEnabled(true);
}

void IconCommands::addToImageList(const QString &wid, const QString &file)
{
    const QPixmap picture = QPixmap::fromImage(pictureFromFile(file));
    if (picture.isNull())
        return;
    // An older icon of the Vardeck is replaced in place: reading the whole icons folder
    // again for each one would make a run over thousands of Vardecks crawl.
    w.pictures.setSiteIcon(wid, QIcon(picture));
}

void IconCommands::showInDetails(const QString &file)
{
    showSiteIcon(w.parts, QPixmap::fromImage(pictureFromFile(file)));
}

void IconCommands::loadSingleIcon(const SingleIcon &flags, const QString &givenAddress, const QString &givenWid,
                                  std::function<void()> done)
{
    if (!w.db.isOpen())
        return;
    if (flags.askConnection && !connectionQuestion())
        return;
    session().cancelIcons = false;
    const QString address = flags.useCurrent ? shownVardeckAddress(w.parts) : givenAddress;
    const QString wid = flags.useCurrent ? w.shown.currentWID() : givenWid;
    urlSupport url;
    url.createURL(address);
    // The icon is filed in the folders of the database open when the fetch began.
    const QString base = w.db->getBasePath();
    const QString dbName = w.db.name();
    const QString home = url.getHomeURL();
    if (!urlSupport::isValidWWW(home)) {
        if (flags.notify)
            prompt::show(QStringLiteral("This web address is not suitable for finding an icon."), MsgButtons::Ok,
                         MsgIcon::Exclamation);
        if (done)
            done();
        return;
    }
    QPointer<frmIconProgress> progress;
    if (flags.showProgress) {
        progress = openProgress();
        progress->setRemaining(1);
        progress->setCurrent(w.shown.vardeckCaption(), home);
        w.mainWindow.setEnabled(false);
    }
    // The fetch's requests hang on an object of its own: Cancel deletes it, which
    // aborts whatever is in flight, and the fetch ends at once.
    const QPointer<QObject> fetch = new QObject(this);
    auto ended = std::make_shared<bool>(false);
    auto icons = std::make_shared<IconSupport>();
    const auto end = [=, this](const QString &result) {
        if (*ended)
            return;
        *ended = true;
        if (fetch)
            fetch->deleteLater();
        int loaded = 0;
        w.shown.forgetFetchedIcon();
        if (!result.isEmpty() && session().cancelIcons)
            icons->clearIconFile();
        if (!result.isEmpty() && !session().cancelIcons) {
            loaded = 1;
            showInDetails(result);
            if (progress)
                progress->showIcon(result);
            w.shown.fetchedIconShown();
            const QString target = icons->saveAsVDIfFavExists(base, wid, dbName);
            if (!target.isEmpty()) {
                addToImageList(wid, target);
                if (flags.refreshLists) {
                    operationsOf<FindingOperations>(w.mainWindow).populateFavsList(w.db.document());
                    operationsOf<FindingOperations>(w.mainWindow).populatePopList(w.db.document());
                }
            }
            icons->clearIconFile();
            if (flags.refreshLists)
                relistSelectedFolder(w.parts);
        } else if (!session().cancelIcons && progress) {
            progress->setFailed(1);
        }
        if (progress) {
            progress->showEnd(loaded);
            progress->setRemaining(0);
            progress->setLoaded(loaded);
        }
        if (flags.notify && !session().cancelIcons)
            QApplication::beep();
        // Only what this fetch disabled: a synchronisation run keeps the window off.
        if (flags.showProgress)
            w.mainWindow.setEnabled(true);
        if (done)
            done();
    };
    if (progress)
        connect(progress, &frmIconProgress::buttonPressed, this, [this, fetch, end] {
            delete fetch.data();
            // The end runs after the button's own click has been handled.
            QTimer::singleShot(0, this, [end] { end(QString()); });
        });
    icons->loadIcon(base, dbName, url, *m_net, fetch, end);
}

void IconCommands::timerIcon_Timer(const QString &address)
{
    session().cancelIcons = false;
    w.shown.forgetFetchedIcon();
    if (!w.db.isOpen())
        return;
    urlSupport url;
    url.createURL(address);
    // One fetch per add: a newer one, or the end of the add, aborts it.
    delete m_addFetch.data();
    m_addFetch = new QObject(this);
    auto icons = std::make_shared<IconSupport>();
    icons->loadIcon(w.db->getBasePath(), w.db.name(), url, *m_net, m_addFetch, [this, icons](const QString &result) {
        if (result.isEmpty())
            return;
        // The new Vardeck was saved or dropped meanwhile: its icon is not wanted.
        if (session().cancelIcons || w.shown.editState() != EditState::Adding) {
            icons->clearIconFile();
            return;
        }
        showInDetails(result);
        w.shown.fetchedIconShown();
    });
}

bool IconCommands::requireShownVardeck(const QString &what)
{
    if (w.shown.vardeckShown() && isValidIdentifier(w.shown.currentWID()) &&
        w.shown.currentWID().startsWith(QLatin1Char('W')))
        return true;
    prompt::show(vardeckRequired(what), MsgButtons::Ok, MsgIcon::Exclamation);
    return false;
}

void IconCommands::mnuToolsIconVD_Click()
{
    if (!requireShownVardeck(QStringLiteral("load")))
        return;
    SingleIcon flags{true, true, true, true, true};
    loadSingleIcon(flags, QString(), QString(), [this] {
        operationsOf<FindingOperations>(w.mainWindow).clearSearchResults();
        operationsOf<FindingOperations>(w.mainWindow).populatePopList(w.db.document());
        if (const XmlNode folder = w.db.folder(w.shown.currentTID()))
            operationsOf<VardeckViewsOperations>(w.mainWindow).populateVDList(folder);
        if (const XmlNode vardeck = w.db.vardeck(w.shown.currentWID()))
            operationsOf<DetailsOperations>(w.mainWindow).displayVardeckData(vardeck);
    });
}

void IconCommands::mnuToolsIconFolder_Click()
{
    if (identifierOf(w.shown.currentTID()).isEmpty())
        return;
    const XmlNode folder = w.db.folder(w.shown.currentTID());
    if (!folder)
        return;
    loadIconsForList(jobsOf(folder.child(tag::Vardecks).childElements()));
}

void IconCommands::mnuToolsIconAll_Click()
{
    if (XmlDocument *doc = w.db.document())
        loadIconsForList(jobsOf(doc->getElementsByTagName(tag::Vardeck)));
}

void IconCommands::mnuToolsIconFile_Click()
{
    if (!w.db.isOpen() || !requireShownVardeck(QStringLiteral("choose")))
        return;
    const QString base = w.db->getBasePath();
    FileRequest request;
    request.kind = FileRequest::Kind::Open;
    request.title = QStringLiteral("Open image file for Vardeck icon");
    request.startFolder = base + QStringLiteral("icons/");
    request.filters = {QStringLiteral("Icon Files (*.ico)"), QStringLiteral("Gif Files (*.gif)"),
                       QStringLiteral("JPEG Files (*.jpg)"), QStringLiteral("Bitmap files (*.bmp)")};
    const QString chosen = prompt::file(request);
    if (chosen.isEmpty())
        return;
    const QString wid = w.shown.currentWID();
    IconSupport icons;
    const QString target = icons.saveAsVDIfFileOK(chosen, wid, QFileInfo(chosen).fileName(), base, w.db.name());
    if (target.isEmpty())
        prompt::show(QStringLiteral("Invalid picture selected..."), MsgButtons::Ok, MsgIcon::None);
    else
        addToImageList(wid, target);
    showInDetails(target);
    relistSelectedFolder(w.parts);
    operationsOf<FindingOperations>(w.mainWindow).populateFavsList(w.db.document());
}

void IconCommands::mnuToolsIconRemove_Click()
{
    if (!w.db.isOpen() || !requireShownVardeck(QStringLiteral("remove")))
        return;
    if (!prompt::askYesNo(QStringLiteral("Are you sure you wish to remove the icon from ") + w.shown.vardeckCaption() +
                              QLatin1Char('?'),
                          MsgIcon::None, QStringLiteral("Remove Vardeck icon?")))
        return;
    const QString wid = w.shown.currentWID();
    IconSupport icons;
    icons.setIconPath(w.db->getBasePath(), w.db.name());
    icons.deleteIcon(wid);
    siteIconRemoved(w.parts);
    VardeckViewsOperations &views = operationsOf<VardeckViewsOperations>(w.mainWindow);
    views.populateIconList();
    // The trees keep their rows: only the picture of this Vardeck changes in them.
    showVardeckTreeIcon(w.parts, wid);
    showIconOf(w.mainWindow, wid);
    if (const XmlNode vardeck = w.db.vardeck(wid))
        operationsOf<DetailsOperations>(w.mainWindow).displayVardeckData(vardeck);
    if (const XmlNode folder = w.db.folder(w.shown.currentTID()))
        views.populateVDList(folder);
    operationsOf<FindingOperations>(w.mainWindow).populatePopList(w.db.document());
    operationsOf<FindingOperations>(w.mainWindow).clearSearchResults();
}

} // namespace rr
