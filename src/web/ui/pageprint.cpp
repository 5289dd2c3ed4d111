#include "web/ui/pageprint.h"

#include "platform/pendingfiles.h"

#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QTextDocument>
#include <QTimer>

#include <cstdio>

namespace rr
{

PagePrintJob::PagePrintJob(std::shared_ptr<QPrinter> printer, QList<QByteArray> pieces, const QUrl &baseUrl,
                           QObject *parent)
    : QObject(parent), m_printer(std::move(printer)), m_pieces(std::move(pieces)), m_baseUrl(baseUrl)
{
    m_pieceCount = int(m_pieces.size());
}

PagePrintJob::~PagePrintJob()
{
    if (!m_ended && m_painter && m_painter->isActive())
        m_painter->end();
    if (!m_partial.isEmpty())
        QFile::remove(m_partial);
    if (!m_recorded.isEmpty())
        pendingfiles::forget(m_recorded);
}

void PagePrintJob::start()
{
    if (m_printer->outputFormat() == QPrinter::PdfFormat && !m_printer->outputFileName().isEmpty()) {
        m_target = m_printer->outputFileName();
        m_partial = pendingfiles::printingNameFor(m_target);
        // Recorded while it is written, so that the next start removes it should this
        // process be killed before the print ends.
        pendingfiles::remember(m_partial);
        m_recorded = m_partial;
        m_printer->setOutputFileName(m_partial);
    }
    m_painter = std::make_unique<QPainter>();
    if (!m_painter->begin(m_printer.get())) {
        // The caller's printer keeps the file it was given.
        if (!m_target.isEmpty())
            m_printer->setOutputFileName(m_target);
        QTimer::singleShot(0, this, [this] {
            end(false, m_target.isEmpty() ? QStringLiteral("The printer could not be started.")
                                          : QStringLiteral("%1 could not be written.").arg(m_target));
        });
        return;
    }
    QTimer::singleShot(0, this, &PagePrintJob::step);
}

void PagePrintJob::cancel()
{
    m_cancelled = true;
}

bool PagePrintJob::layOutPiece()
{
    m_document = std::make_unique<QTextDocument>();
    m_document->setBaseUrl(m_baseUrl);
    m_document->documentLayout()->setPaintDevice(m_printer.get());
    m_document->setHtml(QString::fromUtf8(m_pieces[m_piece]));
    // The piece's text is in the document now.
    m_pieces[m_piece].clear();
    m_document->setPageSize(m_printer->pageRect(QPrinter::DevicePixel).size());
    m_pagesInPiece = m_document->pageCount();
    m_pageInPiece = 0;
    return m_pagesInPiece > 0;
}

void PagePrintJob::step()
{
    if (m_ended)
        return;
    if (m_cancelled) {
        end(false, QString());
        return;
    }
    while (!m_document || m_pageInPiece >= m_pagesInPiece) {
        m_document.reset();
        if (++m_piece >= m_pieceCount) {
            end(true, QString());
            return;
        }
        layOutPiece();
    }
    if (m_page > 0 && !m_printer->newPage()) {
        end(false, QStringLiteral("The printer did not take page %1.").arg(m_page + 1));
        return;
    }
    ++m_page;
    emit pageStarted(m_page, m_piece);
    const QSizeF size = m_document->pageSize();
    const QRectF shown(0, m_pageInPiece * size.height(), size.width(), size.height());
    m_painter->save();
    m_painter->translate(0, -shown.top());
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = shown;
    context.palette.setColor(QPalette::Text, Qt::black);
    m_document->documentLayout()->draw(m_painter.get(), context);
    m_painter->restore();
    ++m_pageInPiece;
    QTimer::singleShot(0, this, &PagePrintJob::step);
}

void PagePrintJob::end(bool ok, const QString &error)
{
    m_ended = true;
    m_document.reset();
    QString reason = error;
    if (m_painter && m_painter->isActive() && !m_painter->end() && ok) {
        ok = false;
        reason = QStringLiteral("The printer could not finish the document.");
    }
    if (!m_target.isEmpty()) {
        m_printer->setOutputFileName(m_target);
        // The whole document replaces the file in one step.
        if (ok && std::rename(QFile::encodeName(m_partial).constData(), QFile::encodeName(m_target).constData()) != 0) {
            ok = false;
            reason = QStringLiteral("%1 could not be written.").arg(m_target);
        }
        if (ok)
            m_partial.clear();
    }
    if (!m_partial.isEmpty()) {
        QFile::remove(m_partial);
        m_partial.clear();
    }
    if (!m_recorded.isEmpty()) {
        pendingfiles::forget(m_recorded);
        m_recorded.clear();
    }
    emit finished(ok, m_cancelled && !ok, reason);
}

} // namespace rr
