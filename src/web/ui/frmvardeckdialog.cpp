#include "web/ui/frmvardeckdialog.h"

#include "controls/qbbuttons_h.h"
#include "platform/gui/textfit.h"
#include "platform/prompt.h"
#include "shell/fonthelpers.h"
#include "storage/settingsstore.h"
#include "storage/useroptions.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTreeWidget>

namespace rr
{
namespace
{

// The dialog's stored width and height are its outer size, frame included; the frame
// is taken as a fixed nominal border so that every window manager lays out alike.
constexpr int kFrameWidth = 90;
constexpr int kFrameHeight = 450;
constexpr int kTreeLeft = 120;
constexpr int kTreeTop = 480;
constexpr int kFrameBoxHeight = 3400;
constexpr int kCaptionLeft = 120;
constexpr int kValueLeft = 1560;

void place(QWidget *w, double left, double top, double width, double height)
{
    w->setGeometry(ButtonDialog::px(left), ButtonDialog::px(top), ButtonDialog::px(width), ButtonDialog::px(height));
}

// A tooltip that shows text as it is, markup included.
QString plainToolTip(const QString &text)
{
    return text.isEmpty()
               ? QString()
               : QStringLiteral("<p style=\"white-space:pre\">") + text.toHtmlEscaped() + QStringLiteral("</p>");
}

} // namespace

frmVardeckDialog::frmVardeckDialog(const QList<DetectedPage> &pages, const QIcon &nodePicture, QWidget *parent)
    : ButtonDialog(parent), m_pages(pages)
{
    setObjectName(QStringLiteral("frmVardeckDialog"));
    setWindowTitle(QStringLiteral("Vardeck detected"));
    Label1 = makeLabel(QStringLiteral("Label1"),
                       QStringLiteral("Select a web address and click OK to create a new Vardeck:"));
    tvwDetected = new QTreeWidget(this);
    tvwDetected->setObjectName(QStringLiteral("tvwDetected"));
    tvwDetected->setHeaderHidden(true);
    tvwDetected->setRootIsDecorated(false);
    Frame1 = new QGroupBox(QStringLiteral("Website details"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    const auto frameLabel = [this](const char *name, const QString &text) {
        QLabel *label = makeLabel(QLatin1String(name), text);
        label->setParent(Frame1);
        return label;
    };
    Label3 = frameLabel("Label3", QStringLiteral("Location name:"));
    lblName = frameLabel("lblName", QString());
    Label4 = frameLabel("Label4", QStringLiteral("Address:"));
    lblAddress = frameLabel("lblAddress", QString());
    Label2 = frameLabel("Label2", QStringLiteral("Description:"));
    lblDesc = frameLabel("lblDesc", QString());
    lblDesc->setWordWrap(true);
    lblDesc->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label5 = frameLabel("Label5", QStringLiteral("Source:"));
    lblBrowser = frameLabel("lblBrowser", QString());
    // A long name or address shows shortened with "…", whole in the tool tip.
    elideLabel(lblName);
    elideLabel(lblAddress, Qt::ElideMiddle);
    chkAutosave = new QCheckBox(QStringLiteral("Autosave into the current folder"), this);
    chkAutosave->setObjectName(QStringLiteral("chkAutosave"));
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("Cancel"), QStyle::SP_DialogCancelButton);
    cmdCancel->setToolTip(QStringLiteral("Cancel (or press the Escape key)"));
    cmdOK = makeButton(QStringLiteral("cmdOK"), QStringLiteral("OK"), QStyle::SP_DialogOkButton);
    // The two buttons share 1700 twips: their captions alone fit there.
    for (qbButtons_H *button : {cmdCancel, cmdOK})
        button->setPicture(QPixmap(), true);

    restorePlace();
    QFont valueFont = font();
    valueFont.setPointSize(appOptions().getFontSize());
    for (QWidget *w :
         {static_cast<QWidget *>(tvwDetected), static_cast<QWidget *>(lblName), static_cast<QWidget *>(lblAddress),
          static_cast<QWidget *>(lblBrowser), static_cast<QWidget *>(lblDesc)})
        w->setFont(valueFont);
    chkAutosave->setChecked(appOptions().getAutoSave());

    for (const DetectedPage &page : m_pages) {
        auto *node = new QTreeWidgetItem(tvwDetected, {page.name});
        node->setIcon(0, nodePicture);
    }
    if (QTreeWidgetItem *first = tvwDetected->topLevelItem(0)) {
        tvwDetected->setCurrentItem(first);
        tvwDetected_NodeClick();
    }
    setDefaultButton(cmdOK);
    applyFontFallback(this);

    connect(tvwDetected, &QTreeWidget::currentItemChanged, this, &frmVardeckDialog::tvwDetected_NodeClick);
    connect(chkAutosave, &QCheckBox::clicked, this, [](bool checked) { appOptions().setAutoSave(checked); });
    connect(cmdOK, &qbButtons_H::Click, this, &frmVardeckDialog::cmdOK_Click);
    connect(cmdCancel, &qbButtons_H::Click, this, &QDialog::reject);
}

void frmVardeckDialog::showDetectedDetails(const QString &name, const QString &address, const QString &description,
                                           const QString &browser)
{
    lblName->setText(name);
    lblAddress->setText(address);
    lblAddress->setToolTip(plainToolTip(address));
    lblDesc->setText(description);
    lblBrowser->setText(browser);
}

void frmVardeckDialog::tvwDetected_NodeClick()
{
    const int n = tvwDetected->indexOfTopLevelItem(tvwDetected->currentItem());
    if (n < 0 || n >= m_pages.size())
        return;
    const DetectedPage &page = m_pages.at(n);
    showDetectedDetails(page.name, page.address, page.description, page.browser);
}

void frmVardeckDialog::cmdOK_Click()
{
    const int n = tvwDetected->indexOfTopLevelItem(tvwDetected->currentItem());
    if (n < 0 || n >= m_pages.size())
        return;
    m_chosen = m_pages.at(n);
    accept();
}

void frmVardeckDialog::done(int result)
{
    if (result != QDialog::Accepted)
        m_chosen = DetectedPage();
    const QRect stored = storedGeometryTwips();
    SettingsStore::setVDFormValues(stored.width(), stored.height(), stored.left(), stored.top());
    ButtonDialog::done(result);
}

QRect frmVardeckDialog::storedGeometryTwips() const
{
    const QPoint at = isVisible() ? frameGeometry().topLeft() : pos();
    return QRect(at.x() * 15, at.y() * 15, width() * 15 + kFrameWidth, height() * 15 + kFrameHeight);
}

// The stored place, moved onto a screen and made to fit it: a place saved on a
// screen that is gone, or a size larger than the screen, would hide the dialog.
void frmVardeckDialog::restorePlace()
{
    QRect wanted(px(SettingsStore::getFrmVDLeftSetting()), px(SettingsStore::getFrmVDTopSetting()),
                 px(SettingsStore::getFrmVDWidthSetting() - kFrameWidth),
                 px(SettingsStore::getFrmVDHeightSetting() - kFrameHeight));
    prompt::tell(SettingsStore::takeErrorNotices());
    const QScreen *screen = QGuiApplication::screenAt(wanted.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        wanted.setWidth(qBound(px(3000), wanted.width(), area.width()));
        wanted.setHeight(qBound(px(3000), wanted.height(), area.height()));
        if (!area.intersects(wanted) || !area.contains(wanted.center()))
            wanted.moveTopLeft(area.topLeft());
    }
    resize(wanted.size());
    move(wanted.topLeft());
}

void frmVardeckDialog::resizeEvent(QResizeEvent *event)
{
    ButtonDialog::resizeEvent(event);
    layoutControls();
}

// Placements in twips on the outer size; one the size makes impossible is skipped.
void frmVardeckDialog::layoutControls()
{
    const double W = width() * 15.0 + kFrameWidth;
    const double H = height() * 15.0 + kFrameHeight;
    place(Label1, kTreeLeft, 120, qMax(0.0, W - 580), 300);
    const double treeWidth = W - 580;
    const double treeHeight = H - 5600;
    if (treeWidth > 0 && treeHeight > 0)
        place(tvwDetected, kTreeLeft, kTreeTop, treeWidth, treeHeight);
    const double treeBottom = tvwDetected->y() * 15.0 + tvwDetected->height() * 15.0;
    const double frameTop = treeBottom + 200;
    if (treeWidth > 0)
        place(Frame1, kTreeLeft, frameTop, treeWidth, kFrameBoxHeight);
    const double valueWidth = Frame1->width() * 15.0 - 1650;
    if (valueWidth > 0) {
        const int line = lineHeightTwips(appOptions().getFontSize());
        const struct {
            QLabel *caption;
            QLabel *value;
            int top;
            int height;
        } rows[] = {{Label3, lblName, 360, line},
                    {Label4, lblAddress, 840, line},
                    {Label2, lblDesc, 1320, 1200},
                    {Label5, lblBrowser, 2640, line}};
        for (const auto &row : rows) {
            place(row.caption, kCaptionLeft, row.top, kValueLeft - kCaptionLeft - 40, line);
            place(row.value, kValueLeft, row.top, valueWidth, row.height);
        }
    }
    const double treeLeft = tvwDetected->x() * 15.0;
    const double buttonsTop = Frame1->y() * 15.0 + Frame1->height() * 15.0 + 200;
    place(cmdCancel, treeLeft + tvwDetected->width() * 15.0 - 1700, buttonsTop, 810, 375);
    place(cmdOK, treeLeft + tvwDetected->width() * 15.0 - 850, buttonsTop, 810, 375);
    place(chkAutosave, kTreeLeft, tvwDetected->y() * 15.0 + tvwDetected->height() * 15.0 + 3900, 3600, 300);
}

} // namespace rr
