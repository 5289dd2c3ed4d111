#include "platform/gui/textfit.h"

#include "platform/textutil.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QTextDocumentFragment>
#include <QToolTip>

namespace rr
{
namespace
{

// Draws a one-line label's text shortened when the label shows less than all of it,
// and puts the whole text at the head of its tool tip then.
class LabelElider final : public QObject
{
public:
    LabelElider(QLabel *label, Qt::TextElideMode mode) : QObject(label), m_label(label), m_mode(mode) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_label)
            return false;
        if (event->type() == QEvent::Paint)
            return paintShortened();
        if (event->type() == QEvent::ToolTip)
            return showWholeText(static_cast<QHelpEvent *>(event));
        return false;
    }

private:
    // The part of the label that its parent shows, inside the label's margins.
    QRect room() const
    {
        QRect shown = m_label->contentsRect();
        if (const QWidget *parent = m_label->parentWidget())
            shown &= parent->rect().translated(-m_label->pos());
        return shown;
    }
    QString shortened() const
    {
        if (m_label->wordWrap() || m_label->text().isEmpty())
            return m_label->text();
        return elidedText(m_label->text(), m_label->fontMetrics(), room().width(), m_mode);
    }
    bool paintShortened() const
    {
        const QString text = shortened();
        if (text == m_label->text())
            return false;
        QPainter painter(m_label);
        const Qt::Alignment align = QStyle::visualAlignment(m_label->layoutDirection(), m_label->alignment());
        m_label->style()->drawItemText(&painter, m_label->contentsRect(), int(align), m_label->palette(),
                                       m_label->isEnabled(), text, m_label->foregroundRole());
        return true;
    }
    bool showWholeText(const QHelpEvent *help) const
    {
        if (shortened() == m_label->text())
            return false;
        QString own = m_label->toolTip();
        if (Qt::mightBeRichText(own))
            own = QTextDocumentFragment::fromHtml(own).toPlainText();
        const QString whole =
            own.isEmpty() || own == m_label->text() ? m_label->text() : m_label->text() + QLatin1Char('\n') + own;
        QToolTip::showText(help->globalPos(), toolTipText(whole), m_label);
        return true;
    }

    QLabel *m_label;
    Qt::TextElideMode m_mode;
};

} // namespace

QString elidedText(const QString &text, const QFontMetrics &metrics, int width, Qt::TextElideMode mode)
{
    const int room = std::max(width, 0);
    const QString shown = shownText(text, mode, std::min<qsizetype>(room + 1, kMostShownLetters));
    if (metrics.horizontalAdvance(shown) <= room)
        return shown;
    return metrics.elidedText(shown, mode, room);
}

int menuNameWidth(const QFontMetrics &metrics)
{
    return metrics.averageCharWidth() * 60;
}

void setMenuItemName(QAction *item, const QString &name, const QString &prefix)
{
    const auto *menu = qobject_cast<const QMenu *>(item->parent());
    const QFontMetrics metrics(menu ? menu->font() : QApplication::font("QMenu"));
    const QString shown = elidedText(name, metrics, menuNameWidth(metrics));
    item->setText(prefix + escapeMnemonic(shown));
    item->setToolTip(shown == name ? QString() : toolTipText(name));
}

void elideLabel(QLabel *label, Qt::TextElideMode mode)
{
    label->installEventFilter(new LabelElider(label, mode));
}

} // namespace rr
