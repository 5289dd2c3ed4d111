#include "options/ui/frmtips.h"

#include "controls/qbbuttons_h.h"
#include "media/urlsupport.h"
#include "platform/gui/partoperations.h"
#include "platform/gui/textboxes.h"
#include "shell/helpmenu.h"
#include "shell/makerinfo.h"
#include "shell/openaddress.h"
#include "shell/tipsoperations.h"
#include "storage/useroptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QStyle>
#include <QTextEdit>
#include <QTimer>

namespace rr
{
namespace
{

QPointer<frmTips> g_tips;

// The tip window as the frame opens it, over the main window.
class TipWindowOpener final : public QObject, public TipsOperations
{
public:
    explicit TipWindowOpener(QWidget &window) : QObject(&window), m_window(window)
    {
        setObjectName(QStringLiteral("tipWindowOpener"));
    }
    void showTips() override { frmTips::showTips(&m_window); }

private:
    QWidget &m_window;
};

// Twips of the window's design as pixels (15 twips make one pixel).
QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

QLabel *picture(QWidget *parent, const char *name, QStyle::StandardPixmap kind, const QRect &geometry)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setPixmap(parent->style()->standardIcon(kind).pixmap(16, 16));
    label->setGeometry(geometry);
    return label;
}

QLabel *linkLabel(QWidget *parent, const char *name, const QString &caption, const QRect &geometry)
{
    auto *label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    label->setGeometry(geometry);
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setBold(true);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(30, 100, 200));
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

// The captions' fixed widths leave no room for a wider font than the one they were
// laid out for: a caption gets the width it needs and moves left, with its picture,
// when it would pass its parent's right edge.
void fitCaption(QWidget *w, QWidget *picture = nullptr)
{
    const int width = qMax(w->width(), w->sizeHint().width());
    const int right = w->parentWidget()->width() - 8;
    const int shift = qMax(0, w->x() + width - right);
    w->setGeometry(w->x() - shift, w->y(), width, w->height());
    if (picture)
        picture->move(picture->x() - shift, picture->y());
}

} // namespace

frmTips::frmTips(QWidget *parent) : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("frmTips"));
    setWindowTitle(QStringLiteral("Tips"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(5160 / 15, 4635 / 15);

    cmbTips = new QComboBox(this);
    cmbTips->setObjectName(QStringLiteral("cmbTips"));
    cmbTips->setGeometry(twipsRect(120, 240, 4695, 315));

    Frame1 = new QGroupBox(QStringLiteral("Tip"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(twipsRect(120, 720, 4815, 2535));

    lblTipText = new TextBox(Frame1);
    lblTipText->setObjectName(QStringLiteral("lblTipText"));
    lblTipText->setReadOnly(true);
    lblTipText->setAcceptRichText(false);
    lblTipText->setGeometry(twipsRect(150, 360, 4485, 1695));

    Picture1 = picture(Frame1, "Picture1", QStyle::SP_MessageBoxInformation, twipsRect(1630, 2130, 240, 240));
    lblReadMore = linkLabel(Frame1, "lblReadMore", QStringLiteral("Read more about this feature..."),
                            twipsRect(1920, 2160, 2895, 255));
    lblReadMore->setToolTip(QStringLiteral("Read more about the feature described in this tip in Vardecks Help"));

    Picture2 = picture(this, "Picture2", QStyle::SP_DialogHelpButton, twipsRect(180, 3340, 240, 240));
    lblURL = linkLabel(this, "lblURL", QStringLiteral("Online FAQ"), twipsRect(480, 3360, 1095, 255));
    lblURL->setToolTip(QLatin1String(maker::kFaqPage));

    chkShow = new QCheckBox(QStringLiteral("Show tips on startup"), this);
    chkShow->setObjectName(QStringLiteral("chkShow"));
    chkShow->setGeometry(twipsRect(240, 3840, 1935, 255));

    cmdCancel = new qbButtons_H(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setCaption(QStringLiteral("Close"));
    cmdCancel->setPicture(style()->standardIcon(QStyle::SP_DialogCloseButton).pixmap(16, 16), true);
    cmdCancel->setGeometry(twipsRect(4080, 3840, 855, 630));

    for (QLabel *link : {lblReadMore, lblURL})
        link->installEventFilter(this);
    fitCaption(lblReadMore, Picture1);
    fitCaption(lblURL);
    fitCaption(chkShow);

    connect(cmbTips, &QComboBox::activated, this, &frmTips::cmbTips_Click);
    connect(chkShow, &QCheckBox::toggled, this, [](bool ticked) { appOptions().setTipStartup(!ticked); });
    connect(cmdCancel, &qbButtons_H::Click, this, &QWidget::close);

    Form_Load();
}

void frmTips::loadTips()
{
    rr::loadTips(tipList);
}

void frmTips::Form_Load()
{
    loadTips();
    for (const TipSupport &tip : tipList)
        cmbTips->addItem(tip.getTipShortText());

    UserOptions &options = appOptions();
    const int position = nextTipPosition(options.getLastTip(), int(tipList.size()));
    options.setLastTip(QString::number(position));
    currentTip = tipList.at(position - 1);
    cmbTips->setCurrentIndex(position - 1);
    lblTipText->setPlainText(currentTip.getTipLongText());

    chkShow->setChecked(!options.getTipStartup());

    const int size = options.getFontSize();
    for (QWidget *w : {static_cast<QWidget *>(lblTipText), static_cast<QWidget *>(cmbTips)}) {
        QFont font = w->font();
        font.setPointSize(size);
        w->setFont(font);
    }
}

void frmTips::cmbTips_Click(int row)
{
    if (row < 0 || row >= tipList.size())
        return;
    currentTip = tipList.at(row);
    lblTipText->setPlainText(currentTip.getTipLongText());
}

void frmTips::lblReadMore_Click()
{
    setUnderline(lblReadMore, false);
    showTipHelp(currentTip.getTipHelpURL());
}

void frmTips::lblURL_Click()
{
    setUnderline(lblURL, false);
    openInBrowser(QLatin1String(maker::kFaqPage));
}

void frmTips::showTipHelp(const QString &page)
{
    if (page.isEmpty())
        return;
    showHelpTopic(page);
}

void frmTips::setUnderline(QLabel *label, bool on)
{
    QFont font = label->font();
    if (font.underline() == on)
        return;
    font.setUnderline(on);
    label->setFont(font);
}

bool frmTips::eventFilter(QObject *watched, QEvent *event)
{
    auto *link = qobject_cast<QLabel *>(watched);
    if (link != lblReadMore && link != lblURL)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::Enter:
        setUnderline(link, true);
        break;
    case QEvent::Leave:
        setUnderline(link, false);
        break;
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
            link->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
            // The help page may answer with a warning box: run it after this event.
            QTimer::singleShot(0, this, link == lblReadMore ? &frmTips::lblReadMore_Click : &frmTips::lblURL_Click);
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void frmTips::keyPressEvent(QKeyEvent *event)
{
    // Escape closes the window like "Close", so that the next opening shows a new tip.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

frmTips *frmTips::existing()
{
    return g_tips.data();
}

void frmTips::showTips(QWidget *parent)
{
    if (!g_tips)
        g_tips = new frmTips(parent);
    g_tips->show();
    g_tips->raise();
    g_tips->activateWindow();
}

void installTips(QWidget &window)
{
    auto *opener = new TipWindowOpener(window);
    offerOperations<TipsOperations>(window, *opener, *opener);
}

} // namespace rr
