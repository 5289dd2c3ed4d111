#include "shell/frmhelpabout.h"

#include "controls/qbbuttons_h.h"
#include "media/urlsupport.h"
#include "platform/launcher.h"
#include "platform/prompt.h"
#include "shell/fonthelpers.h"
#include "shell/makerinfo.h"
#include "shell/openaddress.h"
#include "storage/session.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QUrl>

namespace rr
{
namespace
{

QLabel *plainLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setTextFormat(Qt::PlainText);
    l->setGeometry(geometry);
    return l;
}

} // namespace

frmHelpAbout::frmHelpAbout(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmHelpAbout"));
    setWindowTitle(QStringLiteral("About ") + prompt::appTitle());
    setFixedSize(420, 260);
    setMouseTracking(true);

    auto *title = plainLabel(this, "lblTitle", prompt::appTitle(), QRect(20, 16, 380, 30));
    QFont big = title->font();
    big.setPointSize(16);
    big.setBold(true);
    title->setFont(big);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(16, 56, 388, 140);
    Frame1->setMouseTracking(true);

    lblVersionCaption = plainLabel(Frame1, "lblVersionCaption", QStringLiteral("Version:"), QRect(12, 14, 70, 20));
    lblVersion = plainLabel(Frame1, "lblVersion", QStringLiteral("Version"), QRect(84, 14, 200, 20));
    lblVersion->setFont(QFont(QStringLiteral("Verdana"), lblVersion->font().pointSize()));
    plainLabel(Frame1, "lblNotice", QLatin1String(maker::kNotice), QRect(12, 40, 370, 20));
    plainLabel(Frame1, "lblCopyright", QString::fromUtf8(maker::kCopyright), QRect(12, 60, 370, 20));

    lblEMail = plainLabel(Frame1, "lblEMail", QLatin1String(maker::kSupportAddress), QRect(12, 88, 370, 20));
    lblURL = plainLabel(Frame1, "lblURL", QLatin1String(maker::kWebPage), QRect(12, 110, 370, 20));
    for (QLabel *link : {lblEMail, lblURL}) {
        link->setMouseTracking(true);
        link->setCursor(Qt::PointingHandCursor);
        link->setStyleSheet(QStringLiteral("color: #0645ad;"));
        link->installEventFilter(this);
    }
    Frame1->installEventFilter(this);
    installEventFilter(this);

    cmdOK = new qbButtons_H(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setCaption(QStringLiteral("Close"));
    cmdOK->setGeometry(300, 212, 104, 32);
    connect(cmdOK, &qbButtons_H::Click, this, &QDialog::accept);

    // Form_Load
    lblVersion->setText(QStringLiteral("3.0.1"));
    if (!session().sansSerifInstalled)
        setFormFont(this, QStringLiteral("MS Sans Serif"));
}

void frmHelpAbout::setUnderline(QLabel *label, bool on)
{
    QFont f = label->font();
    if (f.underline() != on) {
        f.setUnderline(on);
        label->setFont(f);
    }
}

bool frmHelpAbout::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) {
        if (watched == lblEMail || watched == lblURL) {
            setUnderline(static_cast<QLabel *>(watched), true);
            setUnderline(watched == lblEMail ? lblURL : lblEMail, false);
            // The move stays with the link: passed on to the frame below it, it would
            // take the underline away again at once.
            return event->type() == QEvent::MouseMove;
        } else if (watched == this || watched == Frame1) {
            setUnderline(lblEMail, false);
            setUnderline(lblURL, false);
        }
    } else if (event->type() == QEvent::MouseButtonRelease &&
               static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        if (watched == lblEMail) {
            lblEMail_Click();
            return true;
        }
        if (watched == lblURL) {
            lblURL_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmHelpAbout::lblEMail_Click()
{
    setUnderline(lblEMail, false);
    // The mail program's hand-off; nothing is reported when none opens.
    launcher::installed().openUrl(QStringLiteral("mailto:") + QLatin1String(maker::kSupportAddress) +
                                  QStringLiteral("?Subject=") +
                                  QString::fromLatin1(QUrl::toPercentEncoding(QStringLiteral("Customer query"))));
}

void frmHelpAbout::lblURL_Click()
{
    setUnderline(lblURL, false);
    openInBrowser(QLatin1String(maker::kWebPage));
}

} // namespace rr
