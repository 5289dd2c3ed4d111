#pragma once
// Drops on the main window's background, details panel, labels and Vardeck lists.
// A web address (dropped as text or as a link) or a local file brought from another
// program starts a new Vardeck for it in add mode; the page is first looked up among
// the pages open in the running browsers, so that an open page brings its title,
// description, keywords and size. The window's own Vardeck and folder drags that end
// here show what was dragged.
//
// A dropped text is data, never markup or a command: it goes only into the plain
// text boxes of the details panel.
#include "shell/listdropoperations.h"
#include "shell/windowstate.h"

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

class QMimeData;

namespace rr
{

class frmVardecks;
class VardeckViews;

// What a drop from another program brings.
struct DroppedPage {
    enum class Kind { None, Address, File };
    Kind kind = Kind::None;
    // The address (first line of a text, or the first link as the dragging program
    // wrote it, percent escapes kept), on one line with nothing around it; or the
    // local file's path.
    QString text;
};
// Local files come first: a file window's drag offers the file as text as well.
DroppedPage droppedPage(const QMimeData *data);

// The detected page whose address is address (trimmed, ignoring case; else the same
// address with other letters escaped), or a page named by the address with nothing
// else known. source "file" compares a page's file address with a local path.
DetectedPage findDetectedPage(const QList<DetectedPage> &pages, const QString &address, const QString &source);

// The pages found open in the running browsers after the last scan.
using DetectedPagesSource = std::function<QList<DetectedPage>()>;

class ExternalDrops : public QObject, public ListDropOperations
{
    Q_OBJECT
public:
    // The folder list and its icons are drop targets too.
    ExternalDrops(frmVardecks &w, VardeckViews &views);

    // Where the pages found open come from; by default the window's detectedPages,
    // which the browser scan fills.
    void setDetectedPagesSource(DetectedPagesSource source) { m_pages = std::move(source); }

    // Whether a drop of data would do anything here.
    bool acceptsDrop(const QMimeData *data) const;
    // The drop on the window, its panels and labels; dropOnList for the lists.
    void doFormDrop(const QMimeData *data);

    // A Vardeck list (the Explorer's, or another part's) takes a drop as the window does.
    bool acceptsListDrop(const QMimeData *data) const override { return acceptsDrop(data); }
    void dropOnList(const QMimeData *data) override { doFormDrop(data); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void finishInternalDrop(const QMimeData *data);
    bool isListTarget(const QObject *watched) const;
    void showDraggedVardeck(const QString &wid);
    void showDraggedFolder(const QString &tid);
    void startNewVardeck(const DroppedPage &page);

    frmVardecks &w;
    VardeckViews &m_views;
    DetectedPagesSource m_pages;
};

} // namespace rr
