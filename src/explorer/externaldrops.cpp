#include "explorer/externaldrops.h"

#include "explorer/detailspanel.h"
#include "explorer/dragdrop.h"
#include "explorer/foldertree.h"
#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "media/urlsupport.h"
#include "platform/gui/partoperations.h"
#include "platform/webaddress.h"
#include "shell/captureoperations.h"
#include "shell/frmvardecks.h"
#include "storage/record.h"

#include <QDropEvent>
#include <QListView>
#include <QMimeData>
#include <QRegularExpression>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>

namespace rr
{
namespace
{

// The first line of text that holds more than blanks; lines starting with "#" are
// passed over too when comments is set (they are comments in a text/uri-list).
QString firstLine(const QString &text, bool comments = false)
{
    static const QRegularExpression lineBreak(QStringLiteral("[\r\n]"));
    for (const QString &line : text.split(lineBreak)) {
        const QString kept = cleanAddress(line);
        if (!kept.isEmpty() && !(comments && kept.startsWith(QLatin1Char('#'))))
            return kept;
    }
    return {};
}

// A browser's address of a local file ("file:///home/a/b.html") as a path.
QString localPathOf(const QString &address)
{
    const QUrl url(address.trimmed());
    return url.isLocalFile() ? url.toLocalFile() : address.trimmed();
}

// One form of an address for both a dropped and a browser's address, whichever of
// them has its letters escaped: "café x" and "caf%C3%A9%20x" are the same page.
QString comparableAddress(const QString &address)
{
    return QUrl(address).toString(QUrl::FullyEncoded);
}

} // namespace

DroppedPage droppedPage(const QMimeData *data)
{
    if (!data)
        return {};
    if (data->hasUrls()) {
        const QList<QUrl> urls = data->urls();
        if (!urls.isEmpty()) {
            const QUrl &first = urls.first();
            if (first.isLocalFile())
                return {DroppedPage::Kind::File, first.toLocalFile()};
            // The address as the browser has it, its percent escapes as they are: QUrl
            // would decode those of letters that need none ("%7E" gives "~").
            QString given = firstLine(QString::fromUtf8(data->data(QStringLiteral("text/uri-list"))), true);
            if (given.isEmpty())
                given = cleanAddress(first.toString(QUrl::FullyEncoded));
            return {DroppedPage::Kind::Address, given};
        }
    }
    if (data->hasText()) {
        const QString text = firstLine(data->text());
        if (!text.isEmpty())
            return {DroppedPage::Kind::Address, text};
    }
    return {};
}

DetectedPage findDetectedPage(const QList<DetectedPage> &pages, const QString &address, const QString &source)
{
    const bool file = sameText(source, QStringLiteral("file"));
    const QString wanted = address.trimmed();
    for (const DetectedPage &page : pages) {
        const QString candidate = file ? localPathOf(page.address) : page.address.trimmed();
        if (sameText(candidate, wanted))
            return page;
    }
    if (!file) {
        const QString comparable = comparableAddress(wanted);
        for (const DetectedPage &page : pages)
            if (sameText(comparableAddress(page.address.trimmed()), comparable))
                return page;
    }
    DetectedPage unknown;
    unknown.name = address;
    unknown.address = address;
    return unknown;
}

ExternalDrops::ExternalDrops(frmVardecks &window, VardeckViews &views) : QObject(&window), w(window), m_views(views)
{
    setObjectName(QStringLiteral("externalDrops"));
    QList<QWidget *> targets = {w.pane(Pane::Client), w.pane(Pane::RightPane)};
    targets << DetailsPanel::of(w).dropTargets();
    for (QWidget *target : std::as_const(targets)) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }
    m_views.takeDrops(this);
}

bool ExternalDrops::acceptsDrop(const QMimeData *data) const
{
    const DroppedItems dropped = droppedItems(data, w.drag);
    if (dropped.internal)
        return true;
    if (dropped.kind != DragKind::None)
        return false;
    const DroppedPage page = droppedPage(data);
    return page.kind == DroppedPage::Kind::File ||
           (page.kind == DroppedPage::Kind::Address && urlSupport::isValidWWW(page.text));
}

void ExternalDrops::doFormDrop(const QMimeData *data)
{
    if (!data)
        return;
    // The window's own drags end here too; they never start a new Vardeck.
    const DroppedItems dropped = droppedItems(data, w.drag);
    if (dropped.internal || dropped.kind != DragKind::None) {
        finishInternalDrop(data);
        return;
    }
    const DroppedPage page = droppedPage(data);
    if (page.kind == DroppedPage::Kind::None)
        return;
    if (page.kind == DroppedPage::Kind::Address && !urlSupport::isValidWWW(page.text))
        return;
    // What the drop leads to may ask before it drops an edit: that comes once the drop
    // has been delivered, so the program the drag came from is not kept waiting.
    QTimer::singleShot(0, this, [this, page] { startNewVardeck(page); });
}

void ExternalDrops::startNewVardeck(const DroppedPage &page)
{
    // A new Vardeck replaces what the panel holds: an edit under way is dropped only
    // when the user agrees.
    if (!w.commands.mayEndEdit(OnEdit::Ends))
        return;
    const bool file = page.kind == DroppedPage::Kind::File;
    operationsOf<CaptureOperations>(w).getOpenBrowserPages(false);
    const QList<DetectedPage> pages = m_pages ? m_pages() : w.detectedPages();
    w.commands.addVardeckSetup(findDetectedPage(pages, page.text, file ? QStringLiteral("file") : QString()));
}

void ExternalDrops::finishInternalDrop(const QMimeData *data)
{
    // Showing a Vardeck of another folder may ask before it drops an edit: after the drop.
    const DroppedItems dropped = droppedItems(data, w.drag);
    if (dropped.kind == DragKind::Vardeck) {
        if (!dropped.wids.isEmpty())
            QTimer::singleShot(0, this, [this, wid = dropped.wids.first()] { showDraggedVardeck(wid); });
    } else if (dropped.kind == DragKind::Folder) {
        QTimer::singleShot(0, this, [this, tid = dropped.folderTID] { showDraggedFolder(tid); });
    }
}

void ExternalDrops::showDraggedVardeck(const QString &wid)
{
    const XmlNode vardeck = w.dbXML.vardeck(wid);
    if (!vardeck)
        return;
    FolderTree &folders = FolderTree::of(w);
    QTreeWidgetItem *node = m_views.treeNodeOf(wid);
    if (!node) {
        // Dragged from the favourites: its folder is shown first.
        const XmlNode folder = folderOfVardeck(vardeck);
        QTreeWidgetItem *folderNode = folders.nodeOf(folder.attribute(tag::Tid));
        if (!folderNode || !w.commands.mayEndEdit(OnEdit::Ends))
            return;
        folders.selectNode(folderNode);
        VardeckViews::of(w).populateVardeckList(folderNode);
        node = m_views.treeNodeOf(wid);
        if (!node)
            return;
    }
    m_views.selectTreeNode(node);
    w.commands.displayWM();
}

void ExternalDrops::showDraggedFolder(const QString &tid)
{
    FolderTree &folders = FolderTree::of(w);
    QTreeWidgetItem *node = folders.nodeOf(tid);
    if (!node || !w.dbXML.folder(tid))
        return;
    folders.selectNode(node);
    folders.populateWMOnTopicNode();
}

bool ExternalDrops::isListTarget(const QObject *watched) const
{
    return m_views.isListDropArea(watched);
}

bool ExternalDrops::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (acceptsDrop(drag->mimeData()))
            drag->acceptProposedAction();
        else
            drag->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!acceptsDrop(drop->mimeData())) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        if (isListTarget(watched))
            dropOnList(drop->mimeData());
        else
            doFormDrop(drop->mimeData());
        return true;
    }
    default:
        return false;
    }
}

} // namespace rr
