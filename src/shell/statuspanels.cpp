#include "shell/statuspanels.h"

#include "shell/twips.h"

#include <QMouseEvent>

namespace rr
{

StatusPanels::StatusPanels(int count, QWidget *parent) : QWidget(parent)
{
    for (int i = 0; i < count; ++i) {
        auto *label = new QLabel(this);
        label->setObjectName(QStringLiteral("Panels(%1)").arg(i + 1));
        label->setTextFormat(Qt::PlainText);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setIndent(3);
        label->installEventFilter(this);
        m_panels.append(label);
        m_widths.append(1500);
    }
}

QLabel *StatusPanels::panel(int panel) const
{
    return panel >= 1 && panel <= panelCount() ? m_panels[panel - 1] : nullptr;
}

double StatusPanels::panelWidth(int panel) const
{
    return panel >= 1 && panel <= panelCount() ? m_widths[panel - 1] : 0;
}

void StatusPanels::setPanelWidth(int panel, double widthTwips)
{
    if (panel < 1 || panel > panelCount())
        return;
    m_widths[panel - 1] = qMax(0.0, widthTwips);
    placePanels();
}

QString StatusPanels::panelText(int panel) const
{
    QLabel *label = this->panel(panel);
    return label ? label->text() : QString();
}

void StatusPanels::setPanelText(int panel, const QString &text)
{
    if (QLabel *label = this->panel(panel))
        label->setText(text);
}

void StatusPanels::setFolderPath(const QString &path)
{
    m_folderPath = path;
    showFolderPathAgain();
}

void StatusPanels::placePanels()
{
    int x = 0;
    for (int i = 0; i < panelCount(); ++i) {
        const int w = twips::sizeToPx(m_widths[i]);
        m_panels[i]->setGeometry(x, 1, w, qMax(0, height() - 2));
        x += w;
    }
}

void StatusPanels::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placePanels();
}

// A press on the status bar is the status bar's alone: it goes no further, so the window
// behind it never adds a popup menu of its own to the status bar's.
bool StatusPanels::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        const int index = int(m_panels.indexOf(static_cast<QLabel *>(watched)));
        if (index >= 0) {
            auto *me = static_cast<QMouseEvent *>(event);
            emit MouseDown(me->button(), index + 1, me->position().toPoint());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void StatusPanels::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    emit MouseDown(event->button(), 0, event->position().toPoint());
}

} // namespace rr
