#pragma once
// Prints a large Web Aspect page from a paginated document of the program's own: the
// page cut into pieces (pagepieces.h), each laid out on its own for the printer and
// printed page by page on the window's thread, a page per turn of the event loop, so
// the windows keep repainting, the progress window shows the page being printed and
// its Cancel stops the print between two pages. Only one piece's layout is held at a
// time, whatever the size of the collection.
//
// A printer that writes a PDF file writes it under a temporary name beside it and
// puts it in place only when the whole document is written: a cancelled or failed
// print leaves the file that was there before; one killed midway leaves a hidden
// ".<name>.printing" that the next start removes (platform/pendingfiles.h).
#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>

class QPainter;
class QPrinter;
class QTextDocument;

namespace rr
{

class PagePrintJob : public QObject
{
    Q_OBJECT
public:
    // baseUrl resolves the pieces' style sheets and pictures (the page's folder).
    PagePrintJob(std::shared_ptr<QPrinter> printer, QList<QByteArray> pieces, const QUrl &baseUrl,
                 QObject *parent = nullptr);
    ~PagePrintJob() override;

    // Starts printing; the work goes on from the event loop.
    void start();
    // Stops before the next page; finished follows with cancelled.
    void cancel();
    int page() const { return m_page; }
    int pieceCount() const { return int(m_pieces.size()); }

signals:
    // Page page (from 1) is being printed, from piece piece (from 0) of pieceCount.
    void pageStarted(int page, int piece);
    // The print ended: ok, or cancelled, or failed with the reason.
    void finished(bool ok, bool cancelled, const QString &error);

private:
    void step();
    bool layOutPiece();
    void end(bool ok, const QString &error);

    std::shared_ptr<QPrinter> m_printer;
    QList<QByteArray> m_pieces;
    QUrl m_baseUrl;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<QTextDocument> m_document;
    QString m_target; // the PDF file asked for, "" for other printers
    QString m_partial;
    QString m_recorded; // the partial file as recorded for the next start's cleanup
    int m_piece = -1;
    int m_pieceCount = 0;
    int m_pageInPiece = 0;
    int m_pagesInPiece = 0;
    int m_page = 0;
    bool m_cancelled = false;
    bool m_ended = false;
};

} // namespace rr
