#include "explorer/detailspanel.h"

#include "controls/qbbuttons_h.h"
#include "explorer/detailsops.h"
#include "explorer/editmode.h"
#include "explorer/foldertree.h"
#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "finding/ui/findingops.h"
#include "media/iconsupport.h"
#include "media/urlsupport.h"
#include "platform/gui/partoperations.h"
#include "platform/gui/textboxes.h"
#include "platform/textutil.h"
#include "shell/frmvardecks.h"
#include "shell/installedpart.h"
#include "shell/pictures.h"
#include "shell/previewoperations.h"
#include "shell/twips.h"
#include "storage/record.h"
#include "storage/session.h"
#include "storage/useroptions.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>
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
    setObjectName(QStringLiteral("detailsPanel"));
    buildNameAndAddress(w.pane(Pane::VardeckPage));
    buildDetailsPage(w.pane(Pane::DetailsPage));
    buildNotes(w.pane(Pane::NotesPage));
    placeInTabOrder();
    handToTheFrame();

    QList<QWidget *> watched = {Frame2,         PictureDetails, lblWName,       lblAddress, lblHome,
                                lblDescription, lblKeyWords,    lblCreatedDate, imgIcon,    picThumb};
    for (QLabel *label : std::as_const(m_labels))
        watched.append(label);
    for (QWidget *widget : watched) {
        widget->installEventFilter(this);
        widget->setMouseTracking(true);
    }
    connect(txtWName, &QLineEdit::textChanged, this, &DetailsPanel::nameBoxChanged);
}

DetailsPanel &DetailsPanel::of(const frmVardecks &w)
{
    auto *panel = installedPart<DetailsPanel>(w);
    Q_ASSERT_X(panel, "DetailsPanel::of", "the window has no details panel");
    return *panel;
}

void DetailsPanel::displayVardeckData(const XmlNode &vardeck)
{
    if (!vardeck)
        return;
    w.holdRightPane(true);
    setNonEditableFields(true);
    const QString wid = vardeck.attribute(tag::Wid);
    bool named = false;

    // Each Vardeck shows only its own fields: a field its element lacks stays empty
    // rather than showing the previous Vardeck's.
    for (EditField field :
         {EditField::Name, EditField::Address, EditField::Description, EditField::Notes, EditField::Keywords})
        setFieldText(field, QString());
    lblCreatedDate->clear();
    lblDescription->clear();
    lblKeyWords->clear();
    label(Lbl::LastVisited)->clear();
    chkFav->setChecked(false);
    Picture10->hide();

    for (const XmlNode &child : vardeck.childElements()) {
        const QString name = child.nodeName().toUpper();
        const QString value = child.text();
        if (name == tag::Name) {
            setFieldText(EditField::Name, value);
            w.showVardeck(wid, value);
            named = true;
        } else if (name == tag::Address) {
            setFieldText(EditField::Address, value);
            lblAddress->setText(value);
            showPreview(QStringLiteral("about:blank"));
        } else if (name == tag::CreatedDate) {
            lblCreatedDate->setText(value);
        } else if (name == tag::Description) {
            setFieldText(EditField::Description, value);
            // The labels show a text cut to what they can show.
            lblDescription->setText(shownText(value));
        } else if (name == tag::Notes) {
            txtNotes->setReadOnly(true);
            setFieldText(EditField::Notes, value);
        } else if (name == tag::Keyword1) {
            setFieldText(EditField::Keywords, value);
            lblKeyWords->setText(shownText(value));
        } else if (name == tag::Keyword2) {
            label(Lbl::LastVisited)->setText(value);
        } else if (name == tag::Fav) {
            const bool favorite = sameText(value, QStringLiteral("TRUE"));
            chkFav->setChecked(favorite);
            w.setVardeckTabPicture(QIcon(favorite ? Picture10->pixmap() : w.plainVardeckPicture()));
            Picture10->setVisible(favorite);
        }
    }
    const QString size = shownFileSize(vardeck);
    if (!size.isEmpty())
        lblFileSize->setText(size + QStringLiteral(" KB"));
    label(Lbl::Hits)->setText(shownHits(vardeck));

    // A Vardeck without a name is shown all the same, so that it can be given one.
    if (!named)
        w.showVardeck(wid, QString());
    const QString address = lblAddress->text();
    lblHome->setText(urlSupport::isValidWWW(address) ? urlSupport::calculateHomeURL(address) : QString());
    w.setDetailsTabPicture(
        QIcon(pictures::draw(urlSupport::isSecure(address) ? pictures::Kind::SecureMark : pictures::Kind::SiteMark)));
    showStoredSiteIcon();
    showStoredThumbnail();
    if (appOptions().getAutoPreview())
        showPreview(fieldText(EditField::Address));
    w.holdRightPane(false);
}

void DetailsPanel::showStoredSiteIcon()
{
    const QString base = w.dbXML.isOpen() ? w.dbXML->getBasePath() : QString();
    const QString path = iconFilePath(base, w.dbXML.name(), w.currentWID());
    const QPixmap plain = w.plainVardeckPicture();
    const QPixmap icon =
        !path.isEmpty() && QFileInfo::exists(path) ? QPixmap::fromImage(pictureFromFile(path)) : QPixmap();
    if (icon.isNull()) {
        // No icon file, or one that is no picture: the plain Vardeck mark.
        w.setVardeckTabPicture(QIcon());
        imgIcon->setPixmap(plain);
        w.setVardeckTabPicture(QIcon(plain));
        return;
    }
    imgIcon->hide();
    imgIcon->setPixmap(icon);
    const QPixmap fitted = icon.width() > kTabIconPx || icon.height() > kTabIconPx
                               ? icon.scaled(kTabIconPx, kTabIconPx, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                               : icon;
    w.setVardeckTabPicture(QIcon(fitted));
}

void DetailsPanel::showStoredThumbnail()
{
    const QString base = w.dbXML.isOpen() ? w.dbXML->getBasePath() : QString();
    const QString path = thumbFilePath(base, w.dbXML.name(), w.currentWID());
    QPixmap thumb = QPixmap::fromImage(pictureFromFile(path));
    if (thumb.isNull()) {
        picThumb->setPixmap(QPixmap());
        return;
    }
    if (thumb.width() > picThumb->width() || thumb.height() > picThumb->height())
        thumb = thumb.scaled(picThumb->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picThumb->setPixmap(thumb);
}

// The preview pane shows the address, or nothing when it may not load it.
void DetailsPanel::showPreview(const QString &address)
{
    operationsOf<PreviewOperations>(w).navigatePreview(address);
}

QString DetailsPanel::fittedVardeckCaption(const QString &caption) const
{
    const QString pad(4, QLatin1Char(' '));
    const QString trimmed = caption.trimmed();
    if (textWidthTwips(lblWName, caption) - 100 > w.viewTabsWidth() / 2)
        return pad + trimmed.left(20) + QStringLiteral("...") + pad;
    return pad + trimmed + pad;
}

QString DetailsPanel::fittedFolderCaption(const QString &caption) const
{
    const QString pad(3, QLatin1Char(' '));
    if (textWidthTwips(lblTName, caption) - 50 > w.viewTabsWidth() / 2)
        return pad + caption.left(10) + QStringLiteral("...") + pad;
    return pad + caption + pad;
}

void DetailsPanel::lblWName_Change()
{
    lblWName->setText(w.vardeckCaption());
    const bool shown = w.vardeckShown();
    lblWName->setVisible(shown);
    lblWName->adjustSize();
    enableVardeckCommands(shown);
    if (w.editState() == EditState::Viewing)
        w.setVardeckTabCaption(fittedVardeckCaption(lblWName->text()));
}

void DetailsPanel::enableVardeckCommands(bool shown)
{
    for (Tb position : {Tb::OpenInBrowser, Tb::UpdateVardeck, Tb::DeleteVardeck})
        w.toolbarButton(position)->setEnabled(shown);
    for (MenuId id : kVardeckMenuItems)
        w.menuItem(id)->setEnabled(shown);
    enableFavoriteButtons(w, shown);
    if (shown)
        endEdit(w);
    if (QWidget *move = VardeckViews::moveButton(w))
        move->setEnabled(shown);
    if (!shown) {
        imgIcon->setPixmap(QPixmap());
        w.setVardeckTabPicture(QIcon(w.plainVardeckPicture()));
    }
}

void DetailsPanel::lblTName_Change()
{
    const QString caption = w.folderCaption();
    lblTName->setText(caption);
    w.setFolderTabCaption(fittedFolderCaption(caption));
    const bool shown = w.folderShown();
    if (shown && w.indexTab() == IndexTab::Index) {
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
    if (shown && !viewing && !txtWName->text().isEmpty())
        w.toolbarButton(Tb::Save)->setEnabled(true);
}

void DetailsPanel::linkClicked(QLabel *link)
{
    if (!link->text().isEmpty())
        link == lblAddress ? w.commands.mnuToolsOpen_Click() : w.commands.mnuToolsOpenHome_Click();
    frmVardecks::setLinkLook(link, false);
}

void DetailsPanel::linkHovered(QLabel *link)
{
    if (link->text().isEmpty()) {
        link->setToolTip(QString());
        return;
    }
    frmVardecks::setLinkLook(link, true);
    const QString what = link == lblAddress ? QStringLiteral(" in a new browser window")
                                            : QStringLiteral(" homepage in a new browser window");
    link->setToolTip(toolTipText(QStringLiteral("Open ") + lblWName->text() + what));
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
    auto *clicked = qobject_cast<QLabel *>(control);
    if (control == lblTName) {
        w.popupMenu(noVD);
    } else if (control == Frame2) {
        if (panelIdle())
            w.popupMenu(bothShown() ? copyMenu : noVD);
    } else if (control == PictureDetails) {
        w.popupMenu(panelIdle() && bothShown() ? copyMenu : noVD);
    } else if (control == lblWName) {
        if (w.vardeckShown()) {
            w.popup.textRightClicked(lblWName->text());
            w.popupMenu(copyMenu);
        }
    } else if (control == lblAddress || control == lblHome) {
        if (panelIdle() && bothShown()) {
            w.popup.textRightClicked(clicked->text());
            w.popupMenu(copyMenu);
        }
    } else if (control == lblDescription || control == lblKeyWords) {
        w.popup.textRightClicked(clicked->text());
        w.popupMenu(copyMenu);
    } else {
        const bool detailCaption =
            control == lblCreatedDate || (clicked && [&] {
                for (Lbl caption :
                     {Lbl::CreatedDateCaption, Lbl::LastVisitedCaption, Lbl::FavoriteCaption, Lbl::HomepageCaption,
                      Lbl::DescriptionCaption, Lbl::KeywordsCaption, Lbl::SizeCaption}) {
                    if (control == label(caption))
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
    if (label == lblWName) {
        lblWName->adjustSize();
        if (w.editState() == EditState::Viewing)
            w.setVardeckTabCaption(fittedVardeckCaption(lblWName->text()));
    } else {
        label->resize(label->width(), std::max(twips::sizeToPx(195), label->sizeHint().height()));
    }
}

bool DetailsPanel::eventFilter(QObject *watched, QEvent *event)
{
    // The edit boxes and the notes take only their own handlers. Only presses matter to
    // them, and the type is looked at first: the window's teardown still sends the
    // controls watched here other events once the boxes are gone.
    const QEvent::Type type = event->type();
    if ((type == QEvent::KeyPress || type == QEvent::MouseButtonPress) &&
        (isEditBox(qobject_cast<QWidget *>(watched)) || watched == txtNotes->viewport())) {
        if (type == QEvent::KeyPress && editBoxTab(watched, static_cast<QKeyEvent *>(event)))
            return true;
        return notesEvent(watched, event);
    }
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return false;
    if (widget == picThumb && thumbnailEvent(event))
        return true;
    if (type == QEvent::FontChange && (widget == lblWName || widget == lblAddress)) {
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
        if (widget == imgIcon || widget == picThumb)
            return false;
        rightClicked(widget);
        return true;
    }
    auto *link = widget == lblAddress || widget == lblHome ? static_cast<QLabel *>(widget) : nullptr;
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
        if (widget == Frame2 || widget == lblWName)
            frmVardecks::setLinkLook(lblAddress, false);
        if (widget == PictureDetails)
            frmVardecks::setLinkLook(lblHome, false);
    }
    if (link && type == QEvent::Leave)
        frmVardecks::setLinkLook(link, false);
    return false;
}

bool DetailsPanel::thumbnailEvent(QEvent *event)
{
    const auto button = [event] { return static_cast<QMouseEvent *>(event)->button(); };
    switch (event->type()) {
    case QEvent::MouseMove:
        picThumb->setToolTip(QStringLiteral("Open ") + lblWName->text() + QStringLiteral(" in a new browser window"));
        return false;
    case QEvent::MouseButtonPress:
        if (button() != Qt::RightButton)
            return false;
        // Menus and browsers are opened from the event loop, never inside the click.
        QTimer::singleShot(0, this, [this] {
            if (w.vardeckShown() && w.folderShown())
                w.popupMenu(MenuId::mnuCopyMenu);
        });
        return true;
    case QEvent::MouseButtonRelease:
        if (button() == Qt::LeftButton && w.vardeckShown())
            QTimer::singleShot(0, this, [this] {
                if (w.vardeckShown())
                    w.commands.mnuToolsOpen_Click();
            });
        return false;
    default:
        return false;
    }
}

// ----- what the other parts ask of the panel -----

void DetailsPanel::setFormEditMode(bool editing)
{
    rr::setFormEditMode(w, editing);
}

void DetailsPanel::setNonEditableFields()
{
    setNonEditableFields(false);
}

QString DetailsPanel::detailsText(DetailsField field) const
{
    switch (field) {
    case DetailsField::NameBox:
        return fieldText(EditField::Name);
    case DetailsField::AddressBox:
        return fieldText(EditField::Address);
    case DetailsField::DescriptionBox:
        return fieldText(EditField::Description);
    case DetailsField::KeywordsBox:
        return fieldText(EditField::Keywords);
    case DetailsField::Name:
        return lblWName->text();
    case DetailsField::Address:
        return lblAddress->text();
    case DetailsField::HomePage:
        return lblHome->text();
    case DetailsField::LastVisited:
        return label(Lbl::LastVisited)->text();
    case DetailsField::CreatedDate:
        return lblCreatedDate->text();
    }
    return QString();
}

void DetailsPanel::showHits(const QString &hits)
{
    label(Lbl::Hits)->setText(hits);
}

void DetailsPanel::showLastVisit(const QString &stamp)
{
    label(Lbl::LastVisited)->setText(stamp);
}

void DetailsPanel::showFavoriteMark(bool favorite)
{
    chkFav->setChecked(favorite);
    Picture10->setVisible(favorite);
    w.setVardeckTabPicture(QIcon(favorite ? Picture10->pixmap() : w.plainVardeckPicture()));
}

void DetailsPanel::chkFav_Click()
{
    Picture10->setVisible(chkFav->isChecked());
}

void DetailsPanel::cmdAddFavs_Click()
{
    if (chkFav->isChecked())
        w.commands.cmdFDelete_Click();
    else
        w.commands.cmdFAdd_Click();
}

void DetailsPanel::showThumbnail(const QImage &thumbnail)
{
    picThumb->setPixmap(QPixmap::fromImage(thumbnail));
}

void DetailsPanel::showSiteIcon(const QPixmap &icon)
{
    imgIcon->setPixmap(icon);
    const QPixmap shown = icon.isNull() ? w.plainVardeckPicture() : icon;
    w.setVardeckTabPicture(
        QIcon(shown.width() > kTabIconPx || shown.height() > kTabIconPx
                  ? shown.scaled(kTabIconPx, kTabIconPx, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                  : shown));
}

void DetailsPanel::siteIconRemoved()
{
    imgIcon->setPixmap(QPixmap());
}

QList<QWidget *> DetailsPanel::dropTargets() const
{
    return {Frame2, lblWName, lblAddress, lblHome, lblTName};
}

DetailsPanel &installDetailsPanel(frmVardecks &w)
{
    // Once per window: a test may have made the panel before the rest of the Explorer.
    if (auto *made = installedPart<DetailsPanel>(w))
        return *made;
    auto *panel = new DetailsPanel(w);
    offerOperations<DetailsOperations>(w, *panel, *panel);
    Commands &c = w.commands;
    c.lblWName_Change = [panel](int) { panel->lblWName_Change(); };
    c.lblTName_Change = [panel](int) { panel->lblTName_Change(); };
    c.chkFav_Click = [panel](int) { panel->chkFav_Click(); };
    c.cmdAddFavs_Click = [panel](int) { panel->cmdAddFavs_Click(); };
    return *panel;
}

} // namespace rr
