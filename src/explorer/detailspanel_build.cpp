// The details panel's controls at their design places (twips, relative to their
// container), built into the frame's panes; the frame's layout rules move them from there.
#include "controls/qbbuttons_h.h"
#include "explorer/detailspanel.h"
#include "platform/gui/textboxes.h"
#include "platform/gui/textfit.h"
#include "shell/frmvardecks.h"
#include "shell/panecontrols.h"
#include "shell/pictures.h"
#include "shell/tabstrip.h"
#include "shell/twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

namespace rr
{
namespace
{

void place(QWidget *w, double l, double t, double wd, double h)
{
    twips::move(w, l, t, wd, h);
}

QLabel *makeValue(QWidget *parent, const QString &name, double l, double t, double w, double h)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    place(label, l, t, w, h);
    return label;
}

PlainTextBox *makeTextArea(QWidget *parent, const QString &name, double l, double t, double w, double h)
{
    auto *box = new PlainTextBox(parent);
    box->setTabChangesFocus(true);
    box->setObjectName(name);
    place(box, l, t, w, h);
    return box;
}

// The focusable widget that comes before widget in the window's Tab order.
QWidget *tabTakerBefore(QWidget *widget)
{
    QWidget *before = widget->previousInFocusChain();
    while (before != widget && !(before->focusPolicy() & Qt::TabFocus))
        before = before->previousInFocusChain();
    return before;
}

void chainAfter(QWidget *first, std::initializer_list<QWidget *> next)
{
    for (QWidget *widget : next) {
        QWidget::setTabOrder(first, widget);
        first = widget;
    }
}

} // namespace

QLabel *DetailsPanel::makeCaption(QWidget *parent, Lbl index, const QString &caption, double l, double t, double width,
                                  double height)
{
    QLabel *label = makeArrayLabel(parent, index, caption, l, t, width, height);
    m_labels.insert(index, label);
    return label;
}

qbButtons_H *DetailsPanel::makeButton(QWidget *parent, const QString &name, double l, double t, double width,
                                      double height, HandlerRef command, int index)
{
    return makeCommandButton(w.commands, parent, name, QString(), l, t, width, height, command, index);
}

// The name and the address stand above the details tabs; while a Vardeck is edited
// their boxes, with captions, take the labels' places.
void DetailsPanel::buildNameAndAddress(QWidget *page)
{
    Frame2 = new QWidget(page);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    place(Frame2, 0, 410, 7065, 5675);
    // Under the details tabs, which it reaches down to.
    Frame2->lower();
    makeCaption(Frame2, Lbl::NameCaption, QStringLiteral("Name"), 100, 150, 495, 255)->hide();
    lblWName = new QLabel(w.vardeckCaption(), Frame2);
    lblWName->setObjectName(QStringLiteral("lblWName"));
    lblWName->setTextFormat(Qt::PlainText);
    QFont bold = lblWName->font();
    bold.setBold(true);
    lblWName->setFont(bold);
    lblWName->setStyleSheet(QStringLiteral("color: rgb(64,64,64);"));
    lblWName->setToolTip(QStringLiteral("The name of this Vardeck"));
    place(lblWName, 240, 120, 6000, 240);
    lblWName->hide();
    // The shown folder's caption, never shown itself; its change handler fits it to the
    // folder tab.
    lblTName = new QLabel(w.folderCaption(), w.pane(Pane::Client));
    lblTName->setObjectName(QStringLiteral("lblTName"));
    lblTName->setTextFormat(Qt::PlainText);
    lblTName->hide();
    txtWName = makeTextBox(Frame2, QStringLiteral("txtWName"), 720, 100, 6015, 320);
    guardLineBox(txtWName);
    txtWName->hide();
    makeCaption(Frame2, Lbl::AddressCaption, QStringLiteral("Address"), 100, 520, 615, 255)->hide();
    lblAddress = new QLabel(Frame2);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    lblAddress->setTextFormat(Qt::PlainText);
    lblAddress->setCursor(Qt::PointingHandCursor);
    lblAddress->setToolTip(QStringLiteral("The website address (URL) for this Vardeck"));
    place(lblAddress, 240, 480, 6000, 195);
    txtAddress = makeTextBox(Frame2, QStringLiteral("txtAddress"), 720, 480, 6015, 320);
    guardLineBox(txtAddress);
    txtAddress->hide();
    // The captions may be wider in the fonts here than designed: the boxes start after them.
    const int boxLeft =
        qMax(txtWName->x(),
             qMax(label(Lbl::NameCaption)->geometry().right(), label(Lbl::AddressCaption)->geometry().right()) + 4);
    txtWName->move(boxLeft, txtWName->y());
    txtAddress->move(boxLeft, txtAddress->y());
    imgIcon = new QLabel(Frame2);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    place(imgIcon, 0, 0, 250, 250);
    imgIcon->hide();
}

void DetailsPanel::buildDetailsPage(QWidget *page)
{
    PictureDetails = new QWidget(page);
    PictureDetails->setObjectName(QStringLiteral("PictureDetails"));
    place(PictureDetails, 0, 400, 6735, 4800);
    QWidget *d = PictureDetails;

    picThumb = makePictureBox(d, QStringLiteral("picThumb"), QPixmap(), 240, 240, 3000, 2250);
    picThumb->setFrameStyle(QFrame::Box | QFrame::Plain);
    picThumb->setCursor(Qt::PointingHandCursor);

    makeCaption(d, Lbl::FavoriteCaption, QStringLiteral("Favorite:"), 3840, 240, 735, 255);
    chkFav = new QCheckBox(QString(), d);
    chkFav->setObjectName(QStringLiteral("chkFav"));
    place(chkFav, 4920, 240, 255, 195);
    chkFav->setEnabled(false);
    cmdAddFavs = makeButton(d, QStringLiteral("cmdAddFavs"), 5280, 210, 330, 300, &Commands::cmdAddFavs_Click);
    cmdAddFavs->setPicture(pictures::draw(pictures::Kind::FavoriteMark));
    connect(chkFav, &QCheckBox::clicked, this, [this] { w.commands.chkFav_Click(); });
    Picture10 = makePictureBox(d, QStringLiteral("Picture10"), pictures::draw(pictures::Kind::FavoriteMark), 5760, 240,
                               240, 240);
    Picture10->setToolTip(QStringLiteral("This is a favorite Vardeck"));
    Picture10->hide();

    makeCaption(d, Lbl::HomepageCaption, QStringLiteral("Homepage:"), 3840, 600, 855, 255);
    lblHome = makeValue(d, QStringLiteral("lblHome"), 4920, 600, 2175, 255);
    lblHome->setCursor(Qt::PointingHandCursor);
    makeCaption(d, Lbl::LastVisitedCaption, QStringLiteral("Last visited:"), 3840, 960, 855, 255);
    makeCaption(d, Lbl::LastVisited, QString(), 4920, 960, 2175, 255)
        ->setToolTip(QStringLiteral("When this Vardeck was last viewed in a browser"));
    makeCaption(d, Lbl::CreatedDateCaption, QStringLiteral("Created date:"), 3840, 1320, 1095, 255);
    lblCreatedDate = makeValue(d, QStringLiteral("lblCreatedDate"), 4920, 1320, 2175, 255);
    lblCreatedDate->setToolTip(QStringLiteral("The date that this Vardeck was created"));
    makeCaption(d, Lbl::HitsCaption, QStringLiteral("Hits:"), 3840, 1680, 375, 255);
    makeCaption(d, Lbl::Hits, QString(), 4920, 1680, 855, 255);
    makeCaption(d, Lbl::SizeCaption, QStringLiteral("Size:"), 3840, 2040, 855, 255);
    lblFileSize = makeValue(d, QStringLiteral("lblFileSize"), 4920, 2040, 2175, 255);
    // The values stand in one column after the widest caption.
    int valueLeft = lblHome->x();
    for (Lbl caption :
         {Lbl::HomepageCaption, Lbl::LastVisitedCaption, Lbl::CreatedDateCaption, Lbl::HitsCaption, Lbl::SizeCaption})
        valueLeft = qMax(valueLeft, label(caption)->geometry().right() + 6);
    for (QWidget *value : {static_cast<QWidget *>(lblHome), static_cast<QWidget *>(label(Lbl::LastVisited)),
                           static_cast<QWidget *>(lblCreatedDate), static_cast<QWidget *>(label(Lbl::Hits)),
                           static_cast<QWidget *>(lblFileSize)})
        value->move(valueLeft, value->y());

    // Search from a detail: the domain, the last visit's day, the created date.
    const std::pair<qbButtons_H **, DetailSearch> searches[] = {
        {&m_searchDomain, DetailSearch::Domain},
        {&m_searchLastVisited, DetailSearch::LastVisited},
        {&m_searchCreatedDate, DetailSearch::CreatedDate},
    };
    const char *searchTips[] = {"Search on this domain", "Search on last visited date", "Search on created date"};
    for (const auto &[button, detail] : searches) {
        const int i = int(detail);
        *button = makeButton(d, QStringLiteral("cmdSearchHome(%1)").arg(i), 3540, 600 + 360 * i, 255, 255,
                             &Commands::cmdSearchHome_Click, i);
        (*button)->setPicture(pictures::draw(pictures::Kind::Search, 12));
        (*button)->setPictureSize(0);
        (*button)->setToolTip(QString::fromLatin1(searchTips[i]));
    }
    // The Update buttons keep the numbers their names have always carried.
    m_updateButton = makeButton(d, QStringLiteral("cmdEdit(3)"), 3540, 240, 255, 255, &Commands::cmdEdit_Click, 3);
    m_updateButton->setPicture(pictures::draw(pictures::Kind::UpdateVardeck, 12));
    m_updateButton->setToolTip(QStringLiteral("Update Vardeck"));

    makeCaption(d, Lbl::DescriptionCaption, QStringLiteral("Description:"), 240, 2740, 855, 240);
    lblDescription = makeValue(d, QStringLiteral("lblDescription"), 1300, 2740, 5175, 855);
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDescription->setToolTip(QStringLiteral("Description for this Vardeck"));
    txtDescription = makeTextArea(d, QStringLiteral("txtDescription"), 1300, 2785, 5175, 780);
    txtDescription->hide();
    makeCaption(d, Lbl::KeywordsCaption, QStringLiteral("Keywords:"), 240, 3800, 735, 255);
    // In front of the "Keywords:" caption, clear of the panel's edge.
    m_keywordsUpdateButton =
        makeButton(d, QStringLiteral("cmdEdit(0)"), 30, 3800, 210, 210, &Commands::cmdEdit_Click, 0);
    m_keywordsUpdateButton->setPicture(pictures::draw(pictures::Kind::UpdateVardeck, 12));
    m_keywordsUpdateButton->setToolTip(QStringLiteral("Update Vardeck"));
    lblKeyWords = makeValue(d, QStringLiteral("lblKeyWords"), 1300, 3780, 5175, 735);
    lblKeyWords->setWordWrap(true);
    lblKeyWords->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblKeyWords->setToolTip(QStringLiteral("Keywords for this Vardeck"));
    txtKeywords = makeTextArea(d, QStringLiteral("txtKeywords"), 1300, 3780, 5175, 660);
    txtKeywords->hide();

    for (QLabel *link : {lblAddress, lblHome})
        frmVardecks::setLinkLook(link, false);
    // Long names and addresses show shortened with "…", whole in the tool tip.
    elideLabel(lblWName);
    elideLabel(lblAddress, Qt::ElideMiddle);
    elideLabel(lblHome, Qt::ElideMiddle);
}

void DetailsPanel::buildNotes(QWidget *page)
{
    txtNotes = new TextBox(page);
    txtNotes->setTabChangesFocus(true); // Tab moves on, as in every box of several lines
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setAcceptRichText(false);
    txtNotes->setToolTip(QStringLiteral("Notes for this Vardeck.  Type notes here and click Save (or CTRL-S) to save"));
    place(txtNotes, 0, 400, 6735, 4695);
}

// Tab reaches the controls of a page where the page stands in the window's Tab order,
// after the tabs of its strip: the edit boxes where the Vardeck tab's page stands, and
// the Details page's check box and buttons where that page does.
void DetailsPanel::placeInTabOrder()
{
    chainAfter(tabTakerBefore(w.pane(Pane::VardeckPage)),
               {txtWName, txtAddress, txtDescription, txtKeywords, txtNotes});
    chainAfter(tabTakerBefore(w.pane(Pane::DetailsPage)),
               {chkFav, cmdAddFavs, m_searchDomain, m_searchLastVisited, m_searchCreatedDate, m_updateButton,
                m_keywordsUpdateButton});
}

void DetailsPanel::handToTheFrame()
{
    const std::pair<Place, QWidget *> placed[] = {
        {Place::VardeckFields, Frame2},
        {Place::NameLabel, lblWName},
        {Place::NameBox, txtWName},
        {Place::AddressLabel, lblAddress},
        {Place::AddressBox, txtAddress},
        {Place::Details, PictureDetails},
        {Place::HomeLabel, lblHome},
        {Place::FileSizeLabel, lblFileSize},
        {Place::HitsLabel, label(Lbl::Hits)},
        {Place::DescriptionLabel, lblDescription},
        {Place::DescriptionBox, txtDescription},
        {Place::KeywordsCaption, label(Lbl::KeywordsCaption)},
        {Place::KeywordsLabel, lblKeyWords},
        {Place::KeywordsBox, txtKeywords},
        {Place::KeywordsButton, m_keywordsUpdateButton},
        {Place::Notes, txtNotes},
    };
    for (const auto &[role, control] : placed)
        w.addToLayout(role, control);
}

} // namespace rr
