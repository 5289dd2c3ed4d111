#include "web/ui/webaspect.h"

#include "controls/qbbuttons_h.h"
#include "platform/atomicfile.h"
#include "platform/filestamp.h"
#include "platform/gui/commands.h"
#include "platform/gui/partoperations.h"
#include "platform/gui/workers.h"
#include "platform/prompt.h"
#include "platform/textutil.h"
#include "platform/xslttransform.h"
#include "shell/framemenus.h"
#include "shell/frameoptions.h"
#include "shell/framepanes.h"
#include "shell/framesession.h"
#include "shell/framestatus.h"
#include "shell/mainmodule.h"
#include "shell/opendatabase.h"
#include "shell/panecontrols.h"
#include "shell/twips.h"
#include "storage/session.h"
#include "storage/settingsstore.h"
#include "storage/ui/savereport.h"
#include "storage/xmldatabase.h"
#include "web/aspectfiles.h"
#include "web/pagepieces.h"
#include "web/ui/aspectbusy.h"
#include "web/ui/aspects.h"
#include "web/ui/pageprint.h"
#include "web/ui/printprogress.h"
#include "web/ui/webpane.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QTimer>

namespace rr
{
namespace
{

const QLatin1String kSearchStylesheet("VDSearch.xsl");
const QLatin1String kPrintFailed("The Web Aspect could not be printed.");

// A page up to this size prints through the web pane, as it is shown; the pane lays a
// page out whole before its first printed page, which for a larger one takes
// gigabytes and minutes, so a larger page prints from the program's own pages.
constexpr qsizetype kPanePrintLimit = 512 * 1024;
// A page larger than this shows its first screen while the pane draws the whole.
constexpr qint64 kFirstScreenFrom = 1024 * 1024;
constexpr qint64 kFirstScreenBytes = 96 * 1024;
const QLatin1String kStyleFile("VDStyle.css");
// The nodes of a larger page laid out at a time: about ten printed pages.
constexpr int kPrintPieceNodes = 6000;
// A renderer that ends again this soon after the page was drawn again is not asked again.
constexpr qint64 kRedrawAfterEndMs = 30000;

PrinterChooser &printerChooser()
{
    static PrinterChooser chooser;
    return chooser;
}

std::shared_ptr<QPrinter> choosePrinter(QWidget *parent)
{
    if (printerChooser())
        return printerChooser()(parent);
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), parent);
    return dialog.exec() == QDialog::Accepted ? printer : nullptr;
}

QString stampText(const FileStamp &stamp)
{
    return QStringLiteral("%1:%2:%3:%4").arg(stamp.device).arg(stamp.inode).arg(stamp.size).arg(stamp.modifiedNs);
}

// Writes to first the start of page, up to the end of an element within its first
// kFirstScreenBytes: the engine closes what is left open and draws it at once.
bool writeFirstScreen(QByteArray start, const QString &first)
{
    start.truncate(kFirstScreenBytes);
    const qsizetype closing = start.lastIndexOf("</");
    const qsizetype end = closing < 0 ? -1 : start.indexOf('>', closing);
    if (end < 0)
        return false;
    start.truncate(end + 1);
    return writeFileAtomically(first, start);
}

bool isSearchView(const QString &xsl)
{
    return sameText(xsl, kSearchStylesheet);
}

void rememberStyle(const QString &xsl)
{
    session().currentAspectStyle = xsl;
    SettingsStore::setAspectStyle(xsl);
}

void tellFailure(const QString &what, const QString &reason)
{
    prompt::show(what + QStringLiteral("\n\n") + reason, MsgButtons::Ok, MsgIcon::Exclamation);
}

// The busy pointer while one lives.
class BusyPointer
{
public:
    BusyPointer() { QGuiApplication::setOverrideCursor(Qt::BusyCursor); }
    ~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

struct ViewButton {
    const char *stylesheet;
    const char *pageName;
    int staleFlag; // -1: made again every time
};

ViewButton viewButton(WebAspect::Button button)
{
    switch (button) {
    case WebAspect::Button::AllVardecks:
        return {"VDAll.xsl", "AllTemp", CollectionChanges::AllPage};
    case WebAspect::Button::Favorites:
        return {"VDFavs.xsl", "FavsTemp", CollectionChanges::FavsPage};
    case WebAspect::Button::Search:
        return {"VDSearch.xsl", "SearchTemp", -1};
    case WebAspect::Button::Popular:
        return {"VDHits.xsl", "HitsTemp", CollectionChanges::HitsPage};
    default:
        return {"VD.xsl", "FoldersTemp", CollectionChanges::FoldersPage};
    }
}

} // namespace

WebAspect::WebAspect(const WebWindow &w) : QObject(&w.mainWindow), m_window(w)
{
    build(w.panes.pane(Pane::Client));
    m_pane = new WebPane(m_host, WebPane::Kind::Aspect);
    w.panes.addToLayout(Place::WebStrip, m_strip);
    w.panes.addToLayout(Place::WebSearchBox, m_searchText);
    w.panes.addToLayout(Place::WebBrowserCheck, m_browserFormats);
    w.panes.addToLayout(Place::WebView, m_host);
    attachCommands();
    QPointer<WebAspect> self(this);
    w.session.askBeforeClosing([self] { return !self || self->mayClose(); });
}

WebAspect::~WebAspect() = default;

void WebAspect::build(QWidget *client)
{
    m_strip = new QWidget(client);
    m_strip->setObjectName(QStringLiteral("Picture2"));
    twips::move(m_strip, 0, 420, 11955, 720);
    const char *captions[] = {"Folders", "All Vardecks", "Favorites", "Print", "Search", "Popular"};
    qbButtons_H **buttons[] = {&m_folders, &m_allVardecks, &m_favorites, &m_print, &m_search, &m_popular};
    int left = 60;
    for (int i = 0; i < 6; ++i) {
        // The search box stands before its Search button.
        if (Button(i) == Button::Search) {
            m_searchText = makeTextBox(m_strip, QStringLiteral("txtS"), left, 150, 1640, 300);
            left += 1700;
        }
        *buttons[i] =
            makeCommandButton(m_window.commands, m_strip, QStringLiteral("cmdWeb(%1)").arg(i),
                              QString::fromLatin1(captions[i]), left, 120, 1200, 375, &Commands::cmdWeb_Click, i);
        left += 1260;
    }
    m_browserFormats = makeCheckBox(m_strip, QStringLiteral("chkWebAspectBrowser"),
                                    QStringLiteral("Use default browser formatting"), left + 120, 180, 3400, 255);
    Commands &commands = m_window.commands;
    connect(m_browserFormats, &QCheckBox::clicked, m_browserFormats,
            [&commands] { commands.chkWebAspectBrowser_Click(0); });
    // Its caption is never cut short by the designed width.
    m_browserFormats->resize(std::max(m_browserFormats->width(), m_browserFormats->sizeHint().width()),
                             m_browserFormats->height());
    m_strip->hide();

    m_host = new QWidget(client);
    m_host->setObjectName(QStringLiteral("wbWeb"));
    m_host->setAutoFillBackground(true);
    m_host->setBackgroundRole(QPalette::Base);
    twips::move(m_host, 50, 1180, 10215, 6135);
    m_host->hide();
}

void WebAspect::attachCommands()
{
    const WebWindow &w = m_window;
    QPointer<QObject> window(&w.mainWindow);
    // While the pane works towards a new page, the links of the one it still shows are
    // not echoed over the text that says so.
    connect(m_pane, &WebPane::statusTextChanged, this, [this, window](const QString &text) {
        if (window && !aspectBusyShown(m_window.parts))
            m_window.status.showPageStatus(text);
    });
    // The pane is blank once its renderer is gone: the user is told and the page is
    // drawn again, unless it has just been drawn again after the previous end.
    connect(m_pane, &WebPane::rendererEnded, this, [this](const QString &why) {
        const bool again = m_rendererEnded.isValid() && m_rendererEnded.elapsed() < kRedrawAfterEndMs;
        m_rendererEnded.start();
        QTimer::singleShot(0, this, [this, why, again] {
            if (!again)
                m_pane->refresh();
            const QString what =
                QStringLiteral("The Web Aspect's page is no longer shown: the process that drew it %1.").arg(why);
            tellFailure(what, again ? QStringLiteral("Choose a view to show it again.")
                                    : QStringLiteral("The page is drawn again."));
        });
    });
    w.commands.cmdWeb_Click = [this](int index) { press(Button(index)); };
    w.commands.mnuFilePrint_Click = [this](int) { print(); };
    w.commands.chkWebAspectBrowser_Click = [this](int) { session().webAspectHtml = !m_browserFormats->isChecked(); };
    // Enter in the search box shows the search view once the key has been handled.
    connect(m_searchText, &QLineEdit::returnPressed, this,
            [this] { QTimer::singleShot(0, this, [this] { press(Button::Search); }); });
}

void WebAspect::loadAspectPage(const QString &style, const QString &pageName, bool stale)
{
    // Before the Web Aspect was ever shown its pane is blank, and entering it makes the
    // page anyway: the start in the Explorer Aspect need not make it now.
    if (!m_pane->hasView() && m_window.options.currentAspect() != QLatin1String("Web"))
        return;
    loadPage(style, pageName, stale, -1);
}

void WebAspect::showWebAspectFormatting()
{
    m_browserFormats->setChecked(!session().webAspectHtml);
}

void WebAspect::setShown(bool shown)
{
    m_host->setVisible(shown);
    if (shown)
        m_host->raise();
    m_strip->setVisible(shown);
}

void WebAspect::focusSearchBox()
{
    m_searchText->setSelection(0, 40);
    m_searchText->setFocus();
}

bool WebAspect::showsNoPage() const
{
    const QString shown = m_pane->address();
    return shown.isEmpty() || shown == QLatin1String("about:blank") || shown == QLatin1String("http:///");
}

// The stylesheets beside the open database; a missing one comes from the installed data.
QString WebAspect::stylesheetFolder() const
{
    const QString base = m_window.db->getBasePath();
    QString error;
    if (!aspectfiles::restoreMissing(base, &error))
        tellFailure(QStringLiteral("The Web Aspect's stylesheets could not be put beside the database."), error);
    return base;
}

void WebAspect::printShownView()
{
    std::shared_ptr<QPrinter> printer = choosePrinter(&m_window.mainWindow);
    if (!printer)
        return;
    const WebWindow &w = m_window;
    m_printing = true;
    if (!w.db.isOpen()) {
        endPrint(kPrintFailed, QStringLiteral("No database is open."));
        return;
    }
    if (!m_shownPage.isEmpty()) {
        QFile page(m_shownPage);
        if (!page.open(QIODevice::ReadOnly)) {
            endPrint(kPrintFailed, QStringLiteral("%1 could not be read: %2").arg(m_shownPage, page.errorString()));
            return;
        }
        printHtml(printer, page.readAll());
        return;
    }
    // The pane formats the database itself: the same stylesheet makes the same page here.
    const QString xsl = aspectfiles::safeViewStylesheet(session().currentAspectStyle);
    const std::optional<xslt::VariableText> search = searchOf(xsl);
    const QString stylesheet = stylesheetFolder() + xsl;
    auto copy = std::make_shared<xslt::DocumentCopy>(*w.db.document());
    // The busy pointer until the page is there, given back on this thread even when the
    // Web Aspect goes first.
    auto busy = std::make_shared<BusyPointer>();
    workers::run<MadeHtml>(
        this,
        [copy, stylesheet, search]() mutable {
            MadeHtml made;
            made.ok = xslt::transform(stylesheet, *copy, &made.html, &made.error, search);
            copy.reset();
            return made;
        },
        [this, printer, busy](MadeHtml &made) mutable {
            busy.reset();
            if (!made.ok) {
                endPrint(kPrintFailed, made.error);
                return;
            }
            printHtml(printer, std::move(made.html));
        });
}

void WebAspect::printHtml(const std::shared_ptr<QPrinter> &printer, QByteArray html)
{
    if (html.size() > kPanePrintLimit || !m_pane->view()) {
        printPieces(printer, std::move(html));
        return;
    }
    QPointer<WebAspect> self(this);
    WebPane *pane = m_pane;
    pane->whenLoaded([self, pane, printer] {
        pane->print(printer, [self](bool ok) {
            if (self)
                self->m_printing = false;
            if (!ok)
                tellFailure(kPrintFailed, QStringLiteral("The web pane did not print the page."));
        });
    });
}

void WebAspect::endPrint(const QString &what, const QString &reason)
{
    m_printing = false;
    if (!reason.isEmpty())
        tellFailure(what, reason);
}

void WebAspect::printPieces(const std::shared_ptr<QPrinter> &printer, QByteArray html)
{
    QPointer<PrintProgress> progress = new PrintProgress(&m_window.mainWindow);
    progress->show();
    progress->raise();
    // Cut into pieces on a thread of its own; a Cancel meanwhile ends the print there.
    auto cancelled = std::make_shared<bool>(false);
    connect(progress, &PrintProgress::cancelRequested, progress, [cancelled] { *cancelled = true; });
    workers::run<Pieces>(
        this,
        [html = std::move(html)]() mutable {
            Pieces pieces;
            pieces.ok = pagepieces::split(html, kPrintPieceNodes, &pieces.pieces, &pieces.error);
            html = QByteArray();
            return pieces;
        },
        [this, printer, progress, cancelled](Pieces &pieces) {
            if (*cancelled || !pieces.ok || !progress) {
                delete progress.data();
                endPrint(kPrintFailed, *cancelled ? QString() : pieces.error);
                return;
            }
            startPrintJob(printer, std::move(pieces.pieces), progress);
        });
}

void WebAspect::startPrintJob(const std::shared_ptr<QPrinter> &printer, QList<QByteArray> pieces,
                              PrintProgress *progress)
{
    const QUrl base = QUrl::fromLocalFile(m_window.db.isOpen() ? m_window.db->getBasePath() : QString());
    auto *job = new PagePrintJob(printer, std::move(pieces), base, this);
    m_printJob = job;
    connect(progress, &PrintProgress::cancelRequested, job, &PagePrintJob::cancel);
    connect(job, &PagePrintJob::pageStarted, progress,
            [progress, job](int page, int piece) { progress->showPage(page, piece, job->pieceCount()); });
    connect(job, &PagePrintJob::finished, this, [this, progress, job](bool ok, bool cancelled, const QString &reason) {
        progress->deleteLater();
        job->deleteLater();
        m_printing = false;
        if (ok || cancelled)
            return;
        // Told once the job's own turn of the event loop is over.
        QTimer::singleShot(0, this, [reason] { tellFailure(kPrintFailed, reason); });
    });
    job->start();
}

bool WebAspect::mayClose()
{
    if (!m_printing)
        return true;
    MessageRequest question;
    question.title = QStringLiteral("Exit Vardecks application?");
    question.text = QStringLiteral("The Web Aspect is still being printed.  Stop printing and exit?");
    question.icon = MsgIcon::Question;
    question.buttons = MsgButtons::OkCancel;
    question.defaultButton = MsgResult::Cancel;
    if (prompt::message(question) != MsgResult::Ok)
        return false;
    if (m_printJob)
        m_printJob->cancel();
    return true;
}

void WebAspect::applyStyle(const QString &style)
{
    const WebWindow &w = m_window;
    const quint64 request = ++m_request;
    if (!w.db.isOpen()) {
        m_shownPage.clear();
        m_pane->navigate(QUrl(QStringLiteral("about:blank")));
        return;
    }
    const QString xsl = aspectfiles::safeViewStylesheet(style);
    const QString base = stylesheetFolder();
    // A view the pane formatted and that nothing changed since comes back as it was
    // drawn; the search view is formatted again for its search text.
    const QString key = isSearchView(xsl) ? QString() : formattedKey(xsl);
    if (!key.isEmpty() && m_pane->showKept(key)) {
        m_shownPage.clear();
        rememberStyle(xsl);
        return;
    }
    aspectfiles::setStylesheetInstruction(*w.db.document(), xsl);
    m_ownChangeStamp = w.db.document()->changeStamp();
    if (isSearchView(xsl)) {
        QString error;
        if (!xslt::writeVariableText(base + kSearchStylesheet, {QStringLiteral("search"), m_searchText->text()},
                                     &error))
            tellFailure(QStringLiteral("The search text could not be given to the search view."), error);
    }
    if (!saveDatabaseReporting(*w.db))
        return;
    m_shownPage.clear();
    rememberStyle(xsl);
    // A large collection shows the first screen of its view, made by the program, while
    // the pane formats the whole.
    if (QFileInfo(w.db->getPath()).size() <= kFirstScreenFrom) {
        m_pane->navigate(QUrl::fromLocalFile(w.db->getPath()), key);
        return;
    }
    makeAside(PageOrder{.xsl = xsl,
                        .base = base,
                        .page = aspectfiles::pagePath(base, QStringLiteral("FormattedFirst")),
                        .pageName = QString(),
                        .firstScreenOnly = true,
                        .key = key,
                        .search = searchOf(xsl),
                        .request = request});
}

QString WebAspect::pageKey(const QString &page) const
{
    const QString base = m_window.db->getBasePath();
    return QStringLiteral("page %1 %2 %3")
        .arg(page, stampText(FileStamp::ofPath(page)), stampText(FileStamp::ofPath(base + kStyleFile)));
}

QString WebAspect::formattedKey(const QString &xsl)
{
    const XmlDocument &document = *m_window.db.document();
    // The program's own change to the stylesheet instruction leaves what the views show as it was.
    if (document.changeStamp() != m_ownChangeStamp) {
        m_ownChangeStamp = document.changeStamp();
        ++m_collectionState;
    }
    const QString base = m_window.db->getBasePath();
    return QStringLiteral("formatted %1 %2 %3 %4 %5")
        .arg(m_window.db->getPath(), xsl, QString::number(m_collectionState), stampText(FileStamp::ofPath(base + xsl)),
             stampText(FileStamp::ofPath(base + kStyleFile)));
}

std::optional<xslt::VariableText> WebAspect::searchOf(const QString &xsl) const
{
    if (!isSearchView(xsl))
        return std::nullopt;
    return xslt::VariableText{QStringLiteral("search"), m_searchText->text()};
}

void WebAspect::loadPage(const QString &style, const QString &pageName, bool stale, int staleFlag)
{
    const WebWindow &w = m_window;
    const quint64 request = ++m_request;
    if (!w.db.isOpen()) {
        m_shownPage.clear();
        m_pane->navigate(QUrl(QStringLiteral("about:blank")));
        return;
    }
    const QString xsl = aspectfiles::safeViewStylesheet(style);
    const QString base = stylesheetFolder();
    const QString page = aspectfiles::pagePath(base, pageName);
    rememberStyle(xsl);
    // A page not made again since it was drawn comes back as it was drawn.
    if (!stale && QFileInfo::exists(page) && m_pane->showKept(pageKey(page))) {
        m_shownPage = page;
        return;
    }
    if (!stale) {
        showPage(xsl, base, pageName);
        return;
    }
    makeAside(PageOrder{.xsl = xsl,
                        .base = base,
                        .page = page,
                        .pageName = pageName,
                        .firstScreenOnly = false,
                        .key = QString(),
                        .staleFlag = staleFlag,
                        .search = searchOf(xsl),
                        .request = request});
}

void WebAspect::showPage(const QString &xsl, const QString &base, const QString &pageName)
{
    const QString page = aspectfiles::pagePath(base, pageName);
    const bool exists = QFileInfo::exists(page);
    m_shownPage = exists ? page : QString();
    if (!exists) {
        m_pane->navigate(QUrl(QStringLiteral("about:blank")));
        return;
    }
    const QString first = aspectfiles::pagePath(base, pageName + QStringLiteral("First"));
    QFile in(page);
    const bool large = in.size() > kFirstScreenFrom && in.open(QIODevice::ReadOnly) &&
                       writeFirstScreen(in.read(kFirstScreenBytes), first);
    m_pane->navigate(QUrl::fromLocalFile(page), isSearchView(xsl) ? QString() : pageKey(page),
                     large ? QUrl::fromLocalFile(first) : QUrl());
}

void WebAspect::makeAside(const PageOrder &order)
{
    // One page is made at a time; of the views asked for meanwhile, the last is made next.
    if (m_making) {
        m_next = order;
        return;
    }
    m_making = true;
    if (!m_busy)
        m_busy = std::make_unique<MakingAspectPage>(m_window.parts);
    const XmlDocument *document = m_window.db.document();
    const Source source{document, document->changeStamp(), m_window.db->getPath()};
    auto copy = std::make_shared<xslt::DocumentCopy>(*document);
    workers::run<MadeHtml>(
        this,
        [copy, order]() mutable {
            MadeHtml made;
            const QString stylesheet = order.base + order.xsl;
            if (order.firstScreenOnly) {
                QByteArray html;
                made.ok = xslt::transform(stylesheet, *copy, &html, &made.error, order.search) &&
                          writeFirstScreen(html, order.page);
            } else {
                made.ok = xslt::transformToFile(stylesheet, *copy, order.page, &made.error, order.search);
            }
            copy.reset();
            return made;
        },
        [this, order, source](MadeHtml &made) { pageMade(order, source, made); });
}

void WebAspect::pageMade(const PageOrder &order, const Source &source, const MadeHtml &made)
{
    m_making = false;
    const std::optional<PageOrder> next = std::exchange(m_next, std::nullopt);
    if (!next)
        m_busy.reset();
    const WebWindow &w = m_window;
    // A page of a database that is no longer open is not shown.
    if (w.db.isOpen() && w.db.document() == source.document && w.db->getPath() == source.path) {
        // Only a page that shows the collection as it is now is fresh.
        if (made.ok && order.staleFlag >= 0 && w.db.document()->changeStamp() == source.stamp)
            w.changes.aspectPageMade(order.staleFlag);
        if (order.request == m_request) {
            if (order.firstScreenOnly) {
                m_pane->navigate(QUrl::fromLocalFile(w.db->getPath()), order.key,
                                 made.ok ? QUrl::fromLocalFile(order.page) : QUrl());
            } else {
                // The page shown before stays when the new one could not be made.
                if (!made.ok)
                    tellFailure(QStringLiteral("The Web Aspect page could not be made."), made.error);
                showPage(order.xsl, order.base, order.pageName);
            }
        }
    }
    // A view asked for in a database that is no longer open is not made.
    if (next && w.db.isOpen() && w.db->getBasePath() == next->base)
        makeAside(*next);
    else if (next)
        m_busy.reset();
}

bool WebAspect::makingPage() const
{
    return m_making;
}

void WebAspect::press(Button button)
{
    if (button == Button::Print) {
        print();
        return;
    }
    const ViewButton view = viewButton(button);
    const QString xsl = QLatin1String(view.stylesheet);
    if (!session().webAspectHtml) {
        applyStyle(xsl);
        return;
    }
    const bool stale = view.staleFlag < 0 || m_window.changes.aspectPageStale(view.staleFlag);
    // A page that could not be made stays stale, so the next view makes it again.
    loadPage(xsl, QLatin1String(view.pageName), stale, view.staleFlag);
}

void WebAspect::print()
{
    const WebWindow &w = m_window;
    if (m_printing) {
        prompt::show(QStringLiteral("The Web Aspect is being printed. Wait until it is printed, or cancel that print, "
                                    "before printing again."),
                     MsgButtons::Ok, MsgIcon::Information, QStringLiteral("Print"));
        return;
    }
    if (!w.menus.menuItem(MenuId::mnuAspectWeb)->isChecked())
        showAspectWeb(w.parts);
    if (prompt::show(QStringLiteral("This will print the current view displayed in your Web aspect.  Do you wish to "
                                    "continue?"),
                     MsgButtons::YesNo, MsgIcon::None, QStringLiteral("Print?")) == MsgResult::No)
        return;
    printShownView();
}

void setPrinterChooser(PrinterChooser chooser)
{
    printerChooser() = std::move(chooser);
}

} // namespace rr
