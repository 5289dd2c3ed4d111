#include "shell/tabstrip.h"

#include "platform/textutil.h"

#include <QDropEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>

namespace rr
{

namespace
{

// Tabs of a fixed width keep only a little padding beside their captions.
class TabStripStyle : public QProxyStyle
{
public:
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_TabBarTabHSpace)
            return 8;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

// What a tab that takes drops does with the drags over its page and its row of tabs.
class TabDrops : public QObject
{
public:
    TabDrops(QObject *owner, QWidget *page, QTabBar *bar, int tab, std::function<bool(const QMimeData *)> accepts,
             std::function<void(const QMimeData *)> drop)
        : QObject(owner), m_page(page), m_bar(bar), m_tab(tab), m_accepts(std::move(accepts)), m_drop(std::move(drop))
    {
        for (QWidget *target : {page, static_cast<QWidget *>(bar)}) {
            target->setAcceptDrops(true);
            target->installEventFilter(this);
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return false;
        auto *drag = static_cast<QDropEvent *>(event);
        if (!m_accepts(drag->mimeData())) {
            drag->ignore();
            return watched != m_bar;
        }
        const bool here = watched == m_page || m_bar->tabAt(drag->position().toPoint()) == m_tab;
        if (here || type == QEvent::DragEnter)
            drag->acceptProposedAction();
        else
            drag->ignore();
        if (here && type == QEvent::Drop)
            m_drop(drag->mimeData());
        return true;
    }

private:
    QWidget *m_page;
    QTabBar *m_bar;
    int m_tab;
    std::function<bool(const QMimeData *)> m_accepts;
    std::function<void(const QMimeData *)> m_drop;
};

} // namespace

// Equal tab widths across the strip.
class StripTabBar : public QTabBar
{
public:
    explicit StripTabBar(QWidget *parent) : QTabBar(parent)
    {
        auto *style = new TabStripStyle;
        style->setParent(this);
        setStyle(style);
        setExpanding(true);
        setUsesScrollButtons(false);
        setElideMode(Qt::ElideRight);
        setDrawBase(false);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    QSize tabSizeHint(int index) const override
    {
        const int n = qMax(1, count());
        return QSize(qMax(1, width() / n), height());
    }
    QSize minimumTabSizeHint(int index) const override { return tabSizeHint(index); }

    // The blanks around a caption only pad it; where the tab is too narrow for them
    // the caption is shown without them before it would be shortened.
    void initStyleOption(QStyleOptionTab *option, int tabIndex) const override
    {
        QTabBar::initStyleOption(option, tabIndex);
        const QString full = shownText(tabText(tabIndex));
        const int room = style()->subElementRect(QStyle::SE_TabBarTabText, option, this).width() - 4;
        if (fontMetrics().size(Qt::TextShowMnemonic, full).width() > room)
            option->text = fontMetrics().elidedText(full.trimmed(), elideMode(), room, Qt::TextShowMnemonic);
    }
};

TabStrip::TabStrip(QWidget *parent) : QWidget(parent)
{
    m_bar = new StripTabBar(this);
    m_bar->installEventFilter(this);
    m_bar->setMouseTracking(true);
    connect(m_bar, &QTabBar::currentChanged, this, &TabStrip::onCurrentChanged);
    setMouseTracking(true);
}

int TabStrip::addTab(const QString &caption)
{
    auto *page = new QWidget(this);
    page->setMouseTracking(true);
    page->installEventFilter(this);
    page->setVisible(m_tabs.isEmpty());
    m_tabs.append({caption, page});
    const int index = m_bar->addTab(caption);
    placeParts();
    return index;
}

int TabStrip::Tabs() const
{
    return int(m_tabs.size());
}

void TabStrip::setTab(int tab)
{
    if (tab < 0 || tab >= Tabs())
        return;
    m_bar->setCurrentIndex(tab);
}

QString TabStrip::TabCaption(int tab) const
{
    return tab >= 0 && tab < Tabs() ? m_tabs[tab].caption : QString();
}

void TabStrip::setTabText(int tab, const QString &text)
{
    if (tab < 0 || tab >= Tabs())
        return;
    m_tabs[tab].caption = text;
    m_bar->setTabText(tab, escapeMnemonic(text));
}

QString TabStrip::shownCaption(int tab) const
{
    return m_bar->tabText(tab);
}

void TabStrip::setTabPicture(int tab, const QIcon &picture)
{
    m_bar->setTabIcon(tab, picture);
}

QWidget *TabStrip::page(int tab) const
{
    return tab >= 0 && tab < Tabs() ? m_tabs[tab].page : nullptr;
}

QTabBar *TabStrip::tabBar() const
{
    return m_bar;
}

void TabStrip::onCurrentChanged(int index)
{
    if (index < 0 || index == m_current)
        return;
    const int previous = m_current;
    m_current = index;
    for (int i = 0; i < Tabs(); ++i)
        m_tabs[i].page->setVisible(i == index);
    m_bar->raise();
    emit Click(previous);
}

void TabStrip::placeParts()
{
    m_bar->setGeometry(0, 0, width(), m_rowHeight);
    for (const TabInfo &tab : m_tabs)
        tab.page->setGeometry(rect());
    m_bar->raise();
}

void TabStrip::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    placeParts();
}

void TabStrip::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = rect().adjusted(0, m_rowHeight - 1, 0, 0);
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = QSize(width(), m_rowHeight);
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &p, this);
}

// A press on the strip is the strip's own: the window around it does not see it too.
void TabStrip::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

bool TabStrip::eventFilter(QObject *watched, QEvent *event)
{
    const bool ours = watched == m_bar || watched->parent() == this;
    if (ours) {
        auto *w = static_cast<QWidget *>(watched);
        switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto *me = static_cast<QMouseEvent *>(event);
            emit MouseDown(me->button(), me->modifiers(), w->mapTo(this, me->position().toPoint()));
            break;
        }
        case QEvent::MouseMove: {
            auto *me = static_cast<QMouseEvent *>(event);
            emit MouseMove(me->buttons(), me->modifiers(), w->mapTo(this, me->position().toPoint()));
            break;
        }
        case QEvent::FocusIn:
            if (watched == m_bar)
                emit GotFocus();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TabStrip::takeDrops(int tab, QObject *owner, std::function<bool(const QMimeData *)> accepts,
                         std::function<void(const QMimeData *)> drop)
{
    if (QWidget *target = page(tab))
        new TabDrops(owner, target, m_bar, tab, std::move(accepts), std::move(drop));
}

} // namespace rr
