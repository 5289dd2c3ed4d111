#include "options/ui/frmhelp.h"

#include "media/urlsupport.h"
#include "platform/gui/textboxes.h"
#include "platform/prompt.h"
#include "platform/textutil.h"
#include "shell/openaddress.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>
#include <QShortcut>
#include <QSplitter>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace rr
{
namespace
{

QPointer<frmHelp> g_window;
HelpWindowViewer g_viewer;

QString windowTitleFor(const QString &pageTitle)
{
    const QString base = prompt::appTitle() + QStringLiteral(" Help");
    return pageTitle.isEmpty() || pageTitle == base ? base : base + QStringLiteral(" - ") + pageTitle;
}

} // namespace

frmHelp::frmHelp(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(windowTitleFor(QString()));
    resize(900, 620);

    auto *toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("tbHelp"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    cmdBack = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"));
    cmdForward = toolbar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Forward"));
    cmdContents = toolbar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Contents"));
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdForward->setObjectName(QStringLiteral("cmdForward"));
    cmdContents->setObjectName(QStringLiteral("cmdContents"));
    cmdBack->setShortcut(QKeySequence::Back);
    cmdForward->setShortcut(QKeySequence::Forward);
    cmdBack->setEnabled(false);
    cmdForward->setEnabled(false);

    auto *splitter = new QSplitter(this);
    lstContents = new QListWidget(splitter);
    lstContents->setObjectName(QStringLiteral("lstContents"));
    txtPage = new TextBrowserBox(splitter);
    txtPage->setObjectName(QStringLiteral("txtPage"));
    // Every link passes through followLink, which keeps help pages here and sends the
    // rest to the desktop's browser.
    txtPage->setOpenLinks(false);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({280, 620});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(splitter);

    connect(cmdBack, &QAction::triggered, txtPage, &QTextBrowser::backward);
    connect(cmdForward, &QAction::triggered, txtPage, &QTextBrowser::forward);
    connect(cmdContents, &QAction::triggered, this, [this] { showPage(m_folder, HTMLHelp::contentsPage()); });
    connect(txtPage, &QTextBrowser::backwardAvailable, cmdBack, &QAction::setEnabled);
    connect(txtPage, &QTextBrowser::forwardAvailable, cmdForward, &QAction::setEnabled);
    connect(txtPage, &QTextBrowser::anchorClicked, this, &frmHelp::followLink);
    connect(txtPage, &QTextBrowser::sourceChanged, this, &frmHelp::pageChanged);
    connect(lstContents, &QListWidget::itemActivated, this,
            [this](QListWidgetItem *item) { showPage(m_folder, item->data(Qt::UserRole).toString()); });
    connect(lstContents, &QListWidget::itemClicked, this,
            [this](QListWidgetItem *item) { showPage(m_folder, item->data(Qt::UserRole).toString()); });
    // Esc puts the help away, as it closes the program's other windows.
    auto *escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

frmHelp *frmHelp::existing()
{
    return g_window.data();
}

frmHelp *frmHelp::instance()
{
    if (!g_window) {
        g_window = new frmHelp;
        g_window->setAttribute(Qt::WA_DeleteOnClose);
    }
    return g_window.data();
}

bool frmHelp::showPage(const QString &helpFolder, const QString &page)
{
    const QString folder = QDir::cleanPath(helpFolder);
    const QString path = folder + QLatin1Char('/') + QFileInfo(page).fileName();
    if (!QFileInfo(path).isFile())
        return false;
    if (folder != m_folder) {
        m_folder = folder;
        txtPage->setSearchPaths({m_folder});
        txtPage->clearHistory();
        fillContents();
    }
    const QUrl url = QUrl::fromLocalFile(path);
    if (txtPage->source() != url)
        txtPage->setSource(url, QTextDocument::HtmlResource);
    return true;
}

QString frmHelp::currentPage() const
{
    return QFileInfo(txtPage->source().toLocalFile()).fileName();
}

// The contents list is the contents page itself followed by the pages it links to, in
// its order, each once.
void frmHelp::fillContents()
{
    lstContents->clear();
    auto add = [this](const QString &title, const QString &page) {
        auto *item = new QListWidgetItem(title, lstContents);
        item->setData(Qt::UserRole, page);
    };
    add(QStringLiteral("Contents"), HTMLHelp::contentsPage());
    QFile index(m_folder + QLatin1Char('/') + HTMLHelp::contentsPage());
    if (!index.open(QIODevice::ReadOnly))
        return;
    const QString html = QString::fromUtf8(index.read(1 << 20));
    static const QRegularExpression link(QStringLiteral("<a\\s+href=\"([^\"#:/]+\\.htm)\"[^>]*>(.*?)</a>"),
                                         QRegularExpression::CaseInsensitiveOption |
                                             QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QStringList seen{HTMLHelp::contentsPage()};
    for (auto it = link.globalMatch(html); it.hasNext();) {
        const auto match = it.next();
        const QString page = match.captured(1);
        if (std::any_of(seen.cbegin(), seen.cend(), [&page](const QString &other) { return sameText(other, page); }))
            continue;
        seen << page;
        QTextDocument text;
        text.setHtml(match.captured(2).remove(tag));
        add(text.toPlainText().simplified(), page);
    }
}

bool frmHelp::insideHelpFolder(const QString &path) const
{
    const QString clean = QDir::cleanPath(path);
    return !m_folder.isEmpty() && clean.startsWith(m_folder + QLatin1Char('/'));
}

void frmHelp::followLink(const QUrl &url)
{
    const QUrl target = txtPage->source().resolved(url);
    if (target.isLocalFile() && insideHelpFolder(target.toLocalFile())) {
        if (QFileInfo(target.toLocalFile()).isFile())
            txtPage->setSource(target, QTextDocument::HtmlResource);
        return;
    }
    openInDefaultBrowser(target.toString());
}

void frmHelp::pageChanged(const QUrl &url)
{
    setWindowTitle(windowTitleFor(txtPage->documentTitle()));
    const QString page = QFileInfo(url.toLocalFile()).fileName();
    for (int row = 0; row < lstContents->count(); ++row) {
        if (sameText(lstContents->item(row)->data(Qt::UserRole).toString(), page)) {
            lstContents->setCurrentRow(row);
            return;
        }
    }
    lstContents->setCurrentRow(-1);
}

bool HelpWindowViewer::showHelpPage(const QString &helpFolder, const QString &page)
{
    frmHelp *window = frmHelp::instance();
    if (!window->showPage(helpFolder, page))
        return false;
    if (window->isMinimized())
        window->showNormal();
    window->show();
    window->raise();
    window->activateWindow();
    return true;
}

void installHelpWindow()
{
    helpviewer::install(&g_viewer);
}

} // namespace rr
