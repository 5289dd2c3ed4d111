#include "explorer/detailspanel.h"

#include "controls/qbbuttons_h.h"
#include "explorer/editmode.h"
#include "explorer/foldertree.h"
#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "media/iconsupport.h"
#include "media/urlsupport.h"
#include "platform/textutil.h"
#include "shell/frmvardecks.h"
#include "shell/statuspanels.h"
#include "shell/tabstrip.h"
#include "shell/twips.h"
#include "storage/session.h"
#include "storage/useroptions.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <QTreeWidget>

namespace rr
{
namespace
{

const MenuId kVardeckMenuItems[] = {
    MenuId::mnuToolsOpen,     MenuId::mnuToolsSynch,  MenuId::mnuToolsIconVD, MenuId::mnuToolsIconRemove,
    MenuId::mnuToolsIconFile, MenuId::mnuThumbVD,     MenuId::mnuThumbRemove, MenuId::mnuToolsOpenHome,
    MenuId::mnuEditModify,    MenuId::mnuEmailVD,     MenuId::mnuEditClip,    MenuId::mnuEditDelete,
    MenuId::mnuViewNotes,     MenuId::mnuViewPreview, MenuId::mnuViewDetails, MenuId::mnuViewVD,
    MenuId::mnuFavsAdd,       MenuId::mnuFavsDelete,
};

// The site icon on the Vardeck tab is drawn at most 250 twips square.
constexpr int kTabIconPx = 250 / twips::kPerPixel;

double textWidthTwips(const QLabel *label, const QString &text)
{
    return twips::fromPx(label->fontMetrics().horizontalAdvance(text));
}

} // namespace

DetailsPanel::DetailsPanel(frmVardecks &window) : QObject(&window), w(window)
{
    QList<QWidget *> watched = {w.formClient,  w.Picture1,       w.Frame2,  w.PictureDetails,
                                w.lblWName,    w.lblAddress,     w.lblHome, w.lblDescription,
                                w.lblKeyWords, w.lblCreatedDate, w.imgIcon, w.picThumb};
    for (QLabel *label : w.lblElements())
        watched.append(label);
    for (QWidget *widget : watched) {
        widget->installEventFilter(this);
        widget->setMouseTracking(true);
    }
    connect(w.StatusBar1, &StatusPanels::MouseDown, this, [this](Qt::MouseButton button, int, const QPoint &) {
        if (button == Qt::RightButton)
            rightClicked(w.StatusBar1);
    });
}

void DetailsPanel::displayVardeckData(const XmlNode &vardeck)
{
    if (!vardeck)
        return;
    w.Picture1->setUpdatesEnabled(false);
    setNonEditableFields(w, true);
    const QString wid = vardeck.attribute(QStringLiteral("WID"));
    bool named = false;

    // Each Vardeck shows only its own fields: a field its element lacks stays empty
    // rather than showing the previous Vardeck's.
    w.txtWName->clear();
    w.txtAddress->clear();
    w.lblCreatedDate->clear();
    w.txtDescription->clear();
    w.lblDescription->clear();
    w.txtNotes->clear();
    w.txtKeywords->clear();
    w.lblKeyWords->clear();
    w.lbl(Lbl::LastVisited)->clear();
    w.chkFav->setChecked(false);
    w.Picture10->hide();

    for (const XmlNode &child : vardeck.childElements()) {
        const QString name = child.nodeName().toUpper();
        const QString value = child.text();
        if (name == QLatin1String("NAME")) {
            w.txtWName->setText(value);
            w.showVardeck(wid, value);
            named = true;
        } else if (name == QLatin1String("ADDRESS")) {
            w.txtAddress->setText(value);
            w.lblAddress->setText(value);
            showPreview(QStringLiteral("about:blank"));
        } else if (name == QLatin1String("CREATED_DATE")) {
            w.lblCreatedDate->setText(value);
        } else if (name == QLatin1String("DESCRIPTION")) {
            w.txtDescription->setPlainText(value);
            w.lblDescription->setText(value);
        } else if (name == QLatin1String("NOTES")) {
            w.txtNotes->setReadOnly(true);
            w.txtNotes->setPlainText(value);
        } else if (name == QLatin1String("KEYWORD1")) {
            w.txtKeywords->setPlainText(value);
            w.lblKeyWords->setText(value);
        } else if (name == QLatin1String("KEYWORD2")) {
            w.lbl(Lbl::LastVisited)->setText(value);
        } else if (name == QLatin1String("FAV")) {
            const bool favorite = sameText(value, QStringLiteral("TRUE"));
            w.chkFav->setChecked(favorite);
            w.tabView->setTabPicture(0, QIcon((favorite ? w.Picture10 : w.Picture8)->pixmap()));
            w.Picture10->setVisible(favorite);
        }
    }
    const QString size = shownFileSize(vardeck);
    if (!size.isEmpty())
        w.lblFileSize->setText(size + QStringLiteral(" KB"));
    w.lbl(Lbl::Hits)->setText(shownHits(vardeck));

    // A Vardeck without a name is shown all the same, so that it can be given one.
    if (!named)
        w.showVardeck(wid, QString());
    const QString address = w.lblAddress->text();
    w.lblHome->setText(urlSupport::isValidWWW(address) ? urlSupport::calculateHomeURL(address) : QString());
    w.tabInfo->setTabPicture(0, QIcon((urlSupport::isSecure(address) ? w.Picture4 : w.Picture5)->pixmap()));
    showSiteIcon();
    showThumbnail();
    if (appOptions().getAutoPreview())
        showPreview(w.txtAddress->text());
    w.Picture1->setUpdatesEnabled(true);
}

void DetailsPanel::showSiteIcon()
{
    const QString base = w.dbXML.isOpen() ? w.dbXML->getBasePath() : QString();
    const QString path = iconFilePath(base, w.dbXML.name(), w.currentWID());
    const QPixmap plain = w.Picture8->pixmap();
    const QPixmap icon =
        !path.isEmpty() && QFileInfo::exists(path) ? QPixmap::fromImage(pictureFromFile(path)) : QPixmap();
    if (icon.isNull()) {
        // No icon file, or one that is no picture: the plain Vardeck mark.
        w.tabView->setTabPicture(0, QIcon());
        w.imgIcon->setPixmap(plain);
        w.tabView->setTabPicture(0, QIcon(plain));
        return;
    }
    w.imgIcon->hide();
    w.imgIcon->setPixmap(icon);
    const QPixmap fitted = icon.width() > kTabIconPx || icon.height() > kTabIconPx
                               ? icon.scaled(kTabIconPx, kTabIconPx, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                               : icon;
    w.tabView->setTabPicture(0, QIcon(fitted));
}

void DetailsPanel::showThumbnail()
{
    const QString base = w.dbXML.isOpen() ? w.dbXML->getBasePath() : QString();
    const QString path = thumbFilePath(base, w.dbXML.name(), w.currentWID());
    QPixmap thumb = QPixmap::fromImage(pictureFromFile(path));
    if (thumb.isNull()) {
        w.picThumb->setPixmap(QPixmap());
        return;
    }
    if (thumb.width() > w.picThumb->width() || thumb.height() > w.picThumb->height())
        thumb = thumb.scaled(w.picThumb->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    w.picThumb->setPixmap(thumb);
}

// The preview pane remembers the address it shows; the Web Aspect subsystem loads it.
void DetailsPanel::showPreview(const QString &address)
{
    w.wbPreview->setProperty("rrAddress", address);
    w.commands.navigatePreview(address);
}

QString DetailsPanel::fittedVardeckCaption(const QString &caption) const
{
    const QString pad(4, QLatin1Char(' '));
    const QString trimmed = caption.trimmed();
    if (textWidthTwips(w.lblWName, caption) - 100 > twips::width(w.tabView) / 2)
        return pad + trimmed.left(20) + QStringLiteral("...") + pad;
    return pad + trimmed + pad;
}

QString DetailsPanel::fittedFolderCaption(const QString &caption) const
{
    const QString pad(3, QLatin1Char(' '));
    if (textWidthTwips(w.lblTName, caption) - 50 > twips::width(w.tabView) / 2)
        return pad + caption.left(10) + QStringLiteral("...") + pad;
    return pad + caption + pad;
}

void DetailsPanel::lblWName_Change()
{
    const bool shown = w.vardeckShown();
    w.lblWName->setVisible(shown);
    w.lblWName->adjustSize();
    enableVardeckCommands(shown);
    if (w.editState() == EditState::Viewing)
        w.tabView->setTabText(0, fittedVardeckCaption(w.lblWName->text()));
}

void DetailsPanel::enableVardeckCommands(bool shown)
{
    for (Tb position : {Tb::OpenInBrowser, Tb::UpdateVardeck, Tb::DeleteVardeck})
        w.toolbarButton(position)->setEnabled(shown);
    for (MenuId id : kVardeckMenuItems)
        w.menuItem(id)->setEnabled(shown);
    w.cmdFAdd->setEnabled(shown);
    w.cmdFDelete->setEnabled(shown);
    if (shown)
        endEdit(w);
    if (QWidget *move = VardeckViews::moveButton(w))
        move->setEnabled(shown);
    if (!shown) {
        w.imgIcon->setPixmap(QPixmap());
        w.tabView->setTabPicture(0, QIcon(w.Picture8->pixmap()));
    }
}

void DetailsPanel::lblTName_Change()
{
    const QString caption = w.lblTName->text();
    w.tabView->setTabText(1, fittedFolderCaption(caption));
    const bool shown = w.folderShown();
    if (shown && w.tabIndex->Tab() == 0) {
        // The path of the folder shown, which a list may have chosen apart from the tree.
        w.showFolderPath();
    }
    enableFolderCommands(shown);
}

void DetailsPanel::enableFolderCommands(bool shown)
{
    for (Tb position : {Tb::FirstVardeck, Tb::PreviousVardeck, Tb::NextVardeck, Tb::LastVardeck})
        w.toolbarButton(position)->setEnabled(shown);
    w.menuItem(MenuId::mnuNavigate)->setEnabled(shown);
    if (QWidget *move = FolderTree::moveButton(w))
        move->setEnabled(shown);
    const bool viewing = w.editState() == EditState::Viewing;
    if (!shown || viewing) {
        w.toolbarButton(Tb::DeleteFolder)->setEnabled(shown);
        for (MenuId id : {MenuId::mnuEditDeleteTopic, MenuId::mnuToolsIconFolder, MenuId::mnuThumbFolder,
                          MenuId::mnuToolsSynchFolder})
            w.menuItem(id)->setEnabled(shown);
    }
    if (shown && !viewing && !w.txtWName->text().isEmpty())
        w.toolbarButton(Tb::Save)->setEnabled(true);
}

void DetailsPanel::linkClicked(QLabel *link)
{
    if (!link->text().isEmpty())
        link == w.lblAddress ? w.commands.mnuToolsOpen_Click() : w.commands.mnuToolsOpenHome_Click();
    frmVardecks::setLinkLook(link, false);
}

void DetailsPanel::linkHovered(QLabel *link)
{
    if (link->text().isEmpty()) {
        link->setToolTip(QString());
        return;
    }
    frmVardecks::setLinkLook(link, true);
    const QString what = link == w.lblAddress ? QStringLiteral(" in a new browser window")
                                              : QStringLiteral(" homepage in a new browser window");
    link->setToolTip(toolTipText(QStringLiteral("Open ") + w.lblWName->text() + what));
}

bool DetailsPanel::panelIdle() const
{
    return w.editState() == EditState::Viewing;
}

bool DetailsPanel::bothShown() const
{
    return w.folderShown() && w.vardeckShown();
}

void DetailsPanel::rightClicked(QWidget *control)
{
    const MenuId copyMenu = MenuId::mnuCopyMenu;
    const MenuId noVD = MenuId::mnuNoVD;
    auto *label = qobject_cast<QLabel *>(control);
    if (control == w.formClient || control == w.Picture1 || control == w.lblTName) {
        w.popupMenu(noVD);
    } else if (control == w.Frame2) {
        if (panelIdle())
            w.popupMenu(bothShown() ? copyMenu : noVD);
    } else if (control == w.PictureDetails) {
        w.popupMenu(panelIdle() && bothShown() ? copyMenu : noVD);
    } else if (control == w.lblWName) {
        if (w.vardeckShown()) {
            w.popup.textRightClicked(w.lblWName->text());
            w.popupMenu(copyMenu);
        }
    } else if (control == w.lblAddress || control == w.lblHome) {
        if (panelIdle() && bothShown()) {
            w.popup.textRightClicked(label->text());
            w.popupMenu(copyMenu);
        }
    } else if (control == w.lblDescription || control == w.lblKeyWords) {
        w.popup.textRightClicked(label->text());
        w.popupMenu(copyMenu);
    } else if (control == w.StatusBar1) {
        if (bothShown()) {
            w.popup.textRightClicked(w.StatusBar1->panelText(2));
            w.popupMenu(copyMenu);
        }
    } else {
        const bool detailCaption =
            control == w.lblCreatedDate || control == w.lbl(Lbl::FoundCaption) || (label && [&] {
                for (Lbl caption :
                     {Lbl::CreatedDateCaption, Lbl::LastVisitedCaption, Lbl::FavoriteCaption, Lbl::HomepageCaption,
                      Lbl::DescriptionCaption, Lbl::KeywordsCaption, Lbl::SizeCaption}) {
                    if (control == w.lbl(caption))
                        return true;
                }
                return false;
            }());
        if (detailCaption && panelIdle() && bothShown())
            w.popupMenu(copyMenu);
    }
}

// A new font size (the options' Apply) fits the name and the address to their text
// again, as showing a Vardeck does: the heading is not cut short and the address keeps
// its descenders. The tab caption is fitted to the new name width as well.
void DetailsPanel::fitToFont(QLabel *label)
{
    if (label == w.lblWName) {
        w.lblWName->adjustSize();
        if (w.editState() == EditState::Viewing)
            w.tabView->setTabText(0, fittedVardeckCaption(w.lblWName->text()));
    } else {
        label->resize(label->width(), std::max(twips::sizeToPx(195), label->sizeHint().height()));
    }
}

bool DetailsPanel::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return false;
    const QEvent::Type type = event->type();
    if (type == QEvent::FontChange && (widget == w.lblWName || widget == w.lblAddress)) {
        // Once the label itself has taken the new font in.
        QMetaObject::invokeMethod(
            this,
            [this, label = QPointer<QLabel>(static_cast<QLabel *>(widget))] {
                if (label)
                    fitToFont(label);
            },
            Qt::QueuedConnection);
    }
    if (type == QEvent::MouseButtonPress && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
        // Image boxes on the panel pass their clicks on to the panel below them.
        if (widget == w.imgIcon || widget == w.picThumb)
            return false;
        rightClicked(widget);
        return true;
    }
    auto *link = widget == w.lblAddress || widget == w.lblHome ? static_cast<QLabel *>(widget) : nullptr;
    if (link && type == QEvent::MouseButtonRelease && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton &&
        link->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint())) {
        linkClicked(link);
        return true;
    }
    if (type == QEvent::MouseMove) {
        // The move stays with the link: passed on to the panel below it, it would take
        // the hover look away again at once.
        if (link) {
            linkHovered(link);
            return true;
        }
        if (widget == w.formClient || widget == w.Frame2 || widget == w.lblWName)
            frmVardecks::setLinkLook(w.lblAddress, false);
        if (widget == w.formClient || widget == w.PictureDetails)
            frmVardecks::setLinkLook(w.lblHome, false);
        if (widget == w.Picture1)
            w.StatusBar1->setPanelText(1, QString());
    }
    if (link && type == QEvent::Leave)
        frmVardecks::setLinkLook(link, false);
    return false;
}

} // namespace rr
