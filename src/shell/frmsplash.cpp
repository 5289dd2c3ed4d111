#include "shell/frmsplash.h"

#include "platform/gui/windowevents.h"
#include "platform/prompt.h"
#include "shell/fonthelpers.h"
#include "shell/makerinfo.h"
#include "storage/session.h"
#include "storage/useroptions.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace rr
{
namespace
{

QPixmap splashPicture(const QSize &size)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    QLinearGradient sky(0, 0, size.width(), size.height());
    sky.setColorAt(0, QColor(28, 64, 128));
    sky.setColorAt(1, QColor(90, 150, 210));
    p.fillRect(pixmap.rect(), sky);
    // A row of bookmark ribbons.
    p.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 5; ++i) {
        const int x = 24 + i * 28;
        QPolygon ribbon({QPoint(x, 18), QPoint(x + 18, 18), QPoint(x + 18, 70), QPoint(x + 9, 60), QPoint(x, 70)});
        p.setBrush(QColor::fromHsv((i * 47 + 20) % 360, 140, 250));
        p.setPen(Qt::NoPen);
        p.drawPolygon(ribbon);
    }
    return pixmap;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, const QRect &geometry, int pointSize,
              bool bold = false)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    QFont font(QStringLiteral("Tahoma"), pointSize);
    font.setBold(bold);
    l->setFont(font);
    l->setGeometry(geometry);
    l->setStyleSheet(QStringLiteral("color: white; background: transparent;"));
    return l;
}

} // namespace

bool setTranslucency(QWidget *window, int alpha)
{
    QWidget *top = window ? window->window() : nullptr;
    if (!top)
        return false;
    top->setWindowOpacity(qBound(0, alpha, 255) / 255.0);
    return true;
}

frmSplash::frmSplash(std::function<void()> showMainWindow, std::function<void()> showTips, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_showMainWindow(std::move(showMainWindow)), m_showTips(std::move(showTips))
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(prompt::appTitle());
    setFixedSize(420, 240);
    setAttribute(Qt::WA_DeleteOnClose);

    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(rect());
    Picture1->setPixmap(splashPicture(size()));
    Picture2 = new QLabel(this);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    Picture3 = new QLabel(this);
    Picture3->setObjectName(QStringLiteral("Picture3"));

    label(this, "lblTitle", prompt::appTitle(), QRect(24, 86, 380, 40), 22, true);
    lblVersion = label(this, "lblVersion", QStringLiteral("Version"), QRect(26, 128, 200, 20), 10);
    Label1 = label(this, "Label1", QStringLiteral("Loading ..."), QRect(26, 160, 200, 20), 9);
    Label2 = label(this, "Label2", QLatin1String(maker::kNotice), QRect(26, 192, 380, 18), 8);
    Label3 = label(this, "Label3", QString::fromUtf8(maker::kCopyright), QRect(26, 210, 380, 18), 8);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &frmSplash::Timer1_Timer);
}

void frmSplash::Form_Load()
{
    lblVersion->setText(QStringLiteral("v") + QStringLiteral("3.0"));
    m_unload = false;
    if (!session().sansSerifInstalled)
        setFormFont(this, QStringLiteral("MS Sans Serif"));
    if (QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    for (int alpha = 0; alpha <= 252; alpha += 4) {
        setTranslucency(this, alpha);
        m_lastAlpha = alpha;
        repaint();
        windowevents::runPending();
        windowevents::showWindow(this);
    }
    Timer1->setInterval(200);
    Timer1->start();
}

void frmSplash::Timer1_Timer()
{
    if (!m_unload) {
        Timer1->setInterval(100);
        Timer1->start();
        return;
    }
    if (m_showMainWindow)
        m_showMainWindow();
    hide();
    if (!appOptions().getTipStartup() && m_showTips)
        m_showTips();
    close();
}

} // namespace rr
