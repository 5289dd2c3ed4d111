#include "shell/splitter.h"

#include "platform/textutil.h"
#include "shell/twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVariant>

namespace rr
{

Splitter::Splitter(QWidget *parent) : QWidget(parent)
{
    m_bar = new QWidget(this);
    m_bar->setObjectName(QStringLiteral("picSplitter"));
    m_bar->setAutoFillBackground(false);
    m_bar->setFocusPolicy(Qt::ClickFocus);
    m_bar->installEventFilter(this);
    m_bar->setCursor(Qt::SizeHorCursor);
    m_model.onLayout = [this] { placeChildren(); };
}

double Splitter::innerWidthTwips() const
{
    return twips::fromPx(width() - 2 * frameWidth());
}
double Splitter::innerHeightTwips() const
{
    return twips::fromPx(height() - 2 * frameWidth());
}

void Splitter::setBorderStyle(int style)
{
    m_borderStyle = style;
    update();
    syncSize(true);
}

void Splitter::setOrientation(int orientation)
{
    if (orientation == SplitterModel::Vertical)
        m_bar->setCursor(Qt::SizeHorCursor);
    else if (orientation == SplitterModel::Horizontal)
        m_bar->setCursor(Qt::SizeVerCursor);
    m_model.setOrientation(orientation);
    placeBar();
}

void Splitter::setChild1(const QString &name)
{
    m_child1 = name;
    m_model.layoutChildren();
}

void Splitter::setChild2(const QString &name)
{
    m_child2 = name;
    m_model.layoutChildren();
}

void Splitter::setAllowResize(bool allow)
{
    m_model.setAllowResize(allow);
    m_bar->setVisible(allow);
}

void Splitter::beginInitialise()
{
    m_model.setLayoutEnabled(false);
    m_model.setInnerSize(innerWidthTwips(), innerHeightTwips());
}

void Splitter::endInitialise()
{
    m_model.setLayoutEnabled(true);
    m_model.layoutChildren();
}

void Splitter::moveTwips(double left, double top, double width, double height)
{
    twips::move(this, left, top, width, height);
    syncSize();
}

void Splitter::syncSize(bool force)
{
    const double w = innerWidthTwips();
    const double h = innerHeightTwips();
    if (!force && w == m_model.innerWidth() && h == m_model.innerHeight())
        return;
    m_model.setInnerSize(w, h);
    m_model.resizeHandler();
    placeBar();
}

void Splitter::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    syncSize();
}

QWidget *Splitter::findChildNamed(const QString &name) const
{
    if (name.isEmpty())
        return nullptr;
    for (QObject *object : children()) {
        auto *widget = qobject_cast<QWidget *>(object);
        if (widget && widget != m_bar && sameText(widget->objectName(), name))
            return widget;
    }
    return nullptr;
}

void Splitter::placeBar()
{
    const QRect r = m_model.barRect();
    const int f = frameWidth();
    m_bar->setGeometry(twips::toPx(r.left()) + f, twips::toPx(r.top()) + f, twips::sizeToPx(r.width()),
                       twips::sizeToPx(r.height()));
    m_bar->raise();
    m_bar->update();
}

void Splitter::placeChildren()
{
    placeBar();
    setUpdatesEnabled(false);
    QWidget *children[2] = {findChildNamed(m_child1), findChildNamed(m_child2)};
    const int f = frameWidth();
    for (int i = 0; i < 2; ++i) {
        QWidget *child = children[i];
        if (!child) {
            if (i == 0)
                continue;
            break;
        }
        const bool isListView = sameText(child->property("rrTypeName").toString(), QStringLiteral("ListView"));
        const QRect r = m_model.childRect(i + 1, isListView);
        child->setGeometry(twips::toPx(r.left()) + f, twips::toPx(r.top()) + f, twips::sizeToPx(r.width()),
                           twips::sizeToPx(r.height()));
    }
    emit Resize();
    setUpdatesEnabled(true);
}

void Splitter::paintEvent(QPaintEvent *)
{
    if (m_borderStyle != 1)
        return;
    QPainter p(this);
    p.setPen(palette().color(QPalette::Dark));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

bool Splitter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_bar)
        return QWidget::eventFilter(watched, event);
    const bool vertical = m_model.orientation() == SplitterModel::Vertical;
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter p(m_bar);
        const QRect r = m_bar->rect();
        if (m_model.dragLook()) {
            p.fillRect(r, m_dragColor);
            if (m_appearance == 1) {
                p.setPen(palette().color(QPalette::Light));
                p.drawLine(r.topLeft(), vertical ? r.bottomLeft() : r.topRight());
                p.setPen(palette().color(QPalette::Dark));
                p.drawLine(vertical ? r.topRight() : r.bottomLeft(), r.bottomRight());
            }
            if (m_barBorder == 1) {
                p.setPen(palette().color(QPalette::Shadow));
                p.drawRect(r.adjusted(0, 0, -1, -1));
            }
        } else {
            p.fillRect(r, palette().color(QPalette::Button));
        }
        return true;
    }
    case QEvent::MouseButtonPress: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() != Qt::LeftButton)
            return false;
        const double along = twips::fromPx(1) * (vertical ? me->position().x() : me->position().y());
        m_bar->raise();
        m_model.mouseDown(along);
        m_bar->update();
        return true;
    }
    case QEvent::MouseMove: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (!(me->buttons() & Qt::LeftButton) || !m_model.dragging())
            return false;
        const double along = twips::fromPx(1) * (vertical ? me->position().x() : me->position().y());
        m_model.mouseMove(along);
        placeBar();
        return true;
    }
    case QEvent::MouseButtonRelease: {
        auto *me = static_cast<QMouseEvent *>(event);
        if (me->button() != Qt::LeftButton)
            return false;
        m_model.mouseUp();
        placeBar();
        emit barReleased();
        return true;
    }
    case QEvent::KeyPress: {
        auto *ke = static_cast<QKeyEvent *>(event);
        if (ke->key() == Qt::Key_Escape && m_model.dragging()) {
            m_model.cancelDrag();
            placeBar();
            return true;
        }
        return false;
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

} // namespace rr
