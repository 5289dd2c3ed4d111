// The panes and controls of the main window, at their design places (twips,
// relative to their container). The layout rules move them from there.
#include "controls/qbbuttons_h.h"
#include "platform/gui/columnfit.h"
#include "platform/gui/textfit.h"
#include "platform/textutil.h"
#include "shell/frmvardecks.h"
#include "shell/panecontrols.h"
#include "shell/pictures.h"
#include "shell/splitter.h"
#include "shell/tabstrip.h"
#include "shell/twips.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

namespace rr
{
namespace
{

const QColor kLinkColor(30, 100, 200);
const QColor kNameColor(64, 64, 64);

void place(QWidget *w, double l, double t, double wd, double h)
{
    twips::move(w, l, t, wd, h);
}

QLabel *pictureBox(QWidget *parent, const QString &name, const QPixmap &picture, double l, double t, double w, double h)
{
    auto *box = new QLabel(parent);
    box->setObjectName(name);
    box->setTextFormat(Qt::PlainText);
    box->setPixmap(picture);
    box->setAlignment(Qt::AlignCenter);
    place(box, l, t, w, h);
    return box;
}

QLineEdit *textBox(QWidget *parent, const QString &name, double l, double t, double w, double h)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    place(box, l, t, w, h);
    return box;
}

QCheckBox *checkBox(QWidget *parent, const QString &name, const QString &caption, double l, double t, double w,
                    double h)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    place(box, l, t, w, h);
    return box;
}

} // namespace

QLabel *frmVardecks::makeLabel(QWidget *parent, Lbl index, const QString &caption, double l, double t, double w,
                               double h)
{
    QLabel *label = makeArrayLabel(parent, index, caption, l, t, w, h);
    m_lbl.insert(int(index), label);
    return label;
}

qbButtons_H *frmVardecks::makeButton(QWidget *parent, const QString &name, const QString &caption, double l, double t,
                                     double w, double h, HandlerRef command, int index)
{
    qbButtons_H *button = makePaneButton(parent, name, caption, l, t, w, h);
    connect(button, &qbButtons_H::Click, this, [this, command, index] { (commands.*command)(index); });
    return button;
}

QTreeWidget *frmVardecks::makeList(QWidget *parent, const QString &name, const QStringList &columns)
{
    return makeReportList(parent, name, columns);
}

QTreeWidget *frmVardecks::makeTree(QWidget *parent, const QString &name)
{
    return makeOneColumnTree(parent, name);
}

void frmVardecks::buildPanes()
{
    Splitter2 = new Splitter(formClient);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    Splitter2->moveTwips(0, 420, 11415, 6495);
    buildLeftPane();
    buildRightPane();

    Splitter2->initialise([this] {
        Splitter2->setBorderStyle(0);
        Splitter2->setSplitterAppearance(0);
        Splitter2->setSplitterBorder(0);
        Splitter2->setSplitterColor(palette().color(QPalette::Button));
        Splitter2->setOrientation(SplitterModel::Vertical);
        Splitter2->setSplitterSize(80);
        Splitter2->setMaintain(SplitterModel::KeepPosition);
        Splitter2->setSplitterPos(3944);
        Splitter2->setRatioFromTop(0.349f);
        Splitter2->setChild1(QStringLiteral("tabIndex"));
        Splitter2->setChild2(QStringLiteral("picture1"));
        Splitter2->setMinSize1(0);
        Splitter2->setMinSize2(0);
        Splitter2->setMinSizeAux(0);
        Splitter2->setLiveUpdate(false);
    });
    Splitter2->setSplitterPos(3944);

    Splitter1->initialise([this] {
        Splitter1->setBorderStyle(0);
        Splitter1->setSplitterAppearance(0);
        Splitter1->setSplitterBorder(0);
        Splitter1->setSplitterColor(QColor(0, 0, 0));
        Splitter1->setOrientation(SplitterModel::Horizontal);
        Splitter1->setSplitterSize(80);
        Splitter1->setMaintain(SplitterModel::KeepPosition);
        Splitter1->setSplitterPos(2640);
        Splitter1->setRatioFromTop(0.512f);
        Splitter1->setChild1(QStringLiteral("tvwTopics"));
        Splitter1->setChild2(QStringLiteral("tvwWM"));
        Splitter1->setMinSize1(0);
        Splitter1->setMinSize2(0);
        Splitter1->setMinSizeAux(0);
        Splitter1->setLiveUpdate(true);
    });
    Splitter1->setSplitterPos(2640);

    connect(Splitter2, &Splitter::Resize, this, &frmVardecks::Splitter2_Resize);
}

void frmVardecks::buildLeftPane()
{
    tabIndex = new TabStrip(Splitter2);
    tabIndex->setObjectName(QStringLiteral("tabIndex"));
    place(tabIndex, 0, 0, 3944, 6495);
    for (const char *caption : {"   &Index   ", "   S&earch   ", "    Favo&rites   ", "   &Popular   "})
        tabIndex->addTab(QString::fromLatin1(caption));

    // Index: the folder tree over the folder's Vardecks.
    QWidget *index = tabIndex->page(0);
    Splitter1 = new Splitter(index);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->moveTwips(0, 400, 3300, 5240);

    buildSearchPage(tabIndex->page(1));

    // Favorites
    QWidget *favorites = tabIndex->page(2);
    tvwFavs = makeTree(favorites, QStringLiteral("tvwFavs"));
    place(tvwFavs, 0, 400, 3375, 5240);
    cmdFAdd = makeButton(favorites, QStringLiteral("cmdFAdd"), QStringLiteral("Add"), 120, 5760, 855, 630,
                         &Commands::cmdFAdd_Click);
    cmdFAdd->setPicture(pictures::draw(pictures::Kind::Add));
    cmdFAdd->setPictureAlign(4);
    cmdFDelete = makeButton(favorites, QStringLiteral("cmdFDelete"), QStringLiteral("Delete"), 960, 5760, 855, 630,
                            &Commands::cmdFDelete_Click);
    cmdFDelete->setPicture(pictures::draw(pictures::Kind::Remove));
    cmdFDelete->setPictureAlign(4);
    makeLabel(favorites, Lbl::FavoritesCount, QStringLiteral("Favorites: "), 1920, 5790, 1095, 255);
    Picture4 = pictureBox(favorites, QStringLiteral("Picture4"), pictures::draw(pictures::Kind::SecureMark), 1845, 5790,
                          240, 240);

    // Popular
    listPop = makeList(tabIndex->page(3), QStringLiteral("listPop"), {QStringLiteral("Name"), QStringLiteral("Hits")});
    place(listPop, 0, 400, 3615, 6015);
}

void frmVardecks::buildSearchPage(QWidget *page)
{
    cmbSearch = new QComboBox(page);
    cmbSearch->setObjectName(QStringLiteral("cmbSearch"));
    cmbSearch->setEditable(true);
    cmbSearch->setInsertPolicy(QComboBox::NoInsert);
    place(cmbSearch, 120, 440, 3444, 315);
    Picture5 =
        pictureBox(page, QStringLiteral("Picture5"), pictures::draw(pictures::Kind::SiteMark), 120, 840, 240, 240);
    cmdSearch = makeButton(page, QStringLiteral("cmdSearch"), QStringLiteral("&Search"), 2644, 800, 855, 330,
                           &Commands::cmdSearch_Click);

    Frame4 = new QGroupBox(QStringLiteral("Search in"), page);
    Frame4->setObjectName(QStringLiteral("Frame4"));
    place(Frame4, 120, 1140, 3694, 1360);
    const char *fields[] = {"All Vardeck data", "Name", "Address", "Notes", "Description", "Keywords"};
    for (int i = 0; i < 6; ++i) {
        const double left = i < 3 ? 120 : 1850;
        const double top = 200 + (i % 3) * 220;
        QCheckBox *box = checkBox(Frame4, QStringLiteral("chkSearch(%1)").arg(i), QString::fromLatin1(fields[i]), left,
                                  top, i == 0 ? 1700 : 1400, 230);
        m_chkSearch.insert(i, box);
        connect(box, &QCheckBox::clicked, this, [this, i] { commands.chkSearch_Click(i); });
    }
    m_chkOpt6 = checkBox(Frame4, QStringLiteral("chkOpt(6)"), QStringLiteral("Open first result"), 120, 880, 3000, 230);
    m_chkOptt7 =
        checkBox(Frame4, QStringLiteral("chkOptt(7)"), QStringLiteral("Show detailed results"), 120, 1100, 3000, 230);
    connect(m_chkOpt6, &QCheckBox::clicked, this, [this] { commands.chkOpt_Click(); });
    connect(m_chkOptt7, &QCheckBox::clicked, this, [this] { commands.chkOptt_Click(); });

    makeLabel(page, Lbl::SearchResultsCaption, QStringLiteral("Search results:"), 120, 2520, 1095, 255);
    makeLabel(page, Lbl::FoundCaption, QStringLiteral("Found:"), 2040, 2520, 495, 255);
    lblFound = new QLabel(QStringLiteral("0"), page);
    lblFound->setObjectName(QStringLiteral("lblFound"));
    lblFound->setTextFormat(Qt::PlainText);
    place(lblFound, 2640, 2520, 615, 255);
    lstSrch = makeList(page, QStringLiteral("lstSrch"), {QStringLiteral("Name"), QStringLiteral("Matches")});
    place(lstSrch, 0, 2760, 3495, 3375);
}

void frmVardecks::buildRightPane()
{
    Picture1 = new QWidget(Splitter2);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    place(Picture1, 4024, 0, 7391, 6495);

    tabView = new TabStrip(Picture1);
    tabView->setObjectName(QStringLiteral("tabView"));
    place(tabView, 0, 0, 6900, 6480);
    for (const char *caption : {"   Vardeck   ", "   No folder selected   ", "   Search results   "})
        tabView->addTab(QString::fromLatin1(caption));

    // The shown Vardeck: name and address above the details tabs.
    QWidget *vardeck = tabView->page(0);
    Frame2 = new QWidget(vardeck);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    place(Frame2, 0, 410, 7065, 5675);
    makeLabel(Frame2, Lbl::NameCaption, QStringLiteral("Name"), 100, 150, 495, 255)->hide();
    lblWName = new QLabel(kNoVardeckCaption, Frame2);
    lblWName->setObjectName(QStringLiteral("lblWName"));
    lblWName->setTextFormat(Qt::PlainText);
    QFont bold = lblWName->font();
    bold.setBold(true);
    lblWName->setFont(bold);
    lblWName->setStyleSheet(QStringLiteral("color: rgb(64,64,64);"));
    lblWName->setToolTip(QStringLiteral("The name of this Vardeck"));
    place(lblWName, 240, 120, 6000, 240);
    lblWName->hide();
    txtWName = textBox(Frame2, QStringLiteral("txtWName"), 720, 100, 6015, 320);
    txtWName->hide();
    makeLabel(Frame2, Lbl::AddressCaption, QStringLiteral("Address"), 100, 520, 615, 255)->hide();
    lblAddress = new QLabel(Frame2);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    lblAddress->setTextFormat(Qt::PlainText);
    lblAddress->setCursor(Qt::PointingHandCursor);
    lblAddress->setToolTip(QStringLiteral("The website address (URL) for this Vardeck"));
    place(lblAddress, 240, 480, 6000, 195);
    txtAddress = textBox(Frame2, QStringLiteral("txtAddress"), 720, 480, 6015, 320);
    txtAddress->hide();
    // The captions may be wider in the fonts here than designed: the boxes start after them.
    const int boxLeft =
        qMax(txtWName->x(),
             qMax(lbl(Lbl::NameCaption)->geometry().right(), lbl(Lbl::AddressCaption)->geometry().right()) + 4);
    txtWName->move(boxLeft, txtWName->y());
    txtAddress->move(boxLeft, txtAddress->y());
    imgIcon = new QLabel(Frame2);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    place(imgIcon, 0, 0, 250, 250);
    imgIcon->hide();

    tabInfo = new TabStrip(vardeck);
    tabInfo->setObjectName(QStringLiteral("tabInfo"));
    place(tabInfo, 0, 1280, 6795, 5145);
    for (const char *caption : {"   &Details   ", "   Previe&w   ", "   No&tes   "})
        tabInfo->addTab(QString::fromLatin1(caption));
    buildDetailsPage(tabInfo->page(0));
    buildPreviewPage(tabInfo->page(1));
    txtNotes = new QTextEdit(tabInfo->page(2));
    txtNotes->setTabChangesFocus(true); // Tab moves on, as in every box of several lines
    txtNotes->setObjectName(QStringLiteral("txtNotes"));
    txtNotes->setAcceptRichText(false);
    txtNotes->setToolTip(QStringLiteral("Notes for this Vardeck.  Type notes here and click Save (or CTRL-S) to save"));
    place(txtNotes, 0, 400, 6735, 4695);

    lstSearch = makeList(tabView->page(2), QStringLiteral("lstSearch"),
                         {QStringLiteral("Name"), QStringLiteral("Matches"), QStringLiteral("Address"),
                          QStringLiteral("Created date"), QStringLiteral("Last visited"), QStringLiteral("Hits"),
                          QStringLiteral("Description")});
    lstSearch->setSelectionMode(QAbstractItemView::ExtendedSelection);
    place(lstSearch, 0, 400, 6705, 5895);
    // The report sizes its columns to what it shows when first seen.
    new ColumnFit(lstSearch);
}

void frmVardecks::buildDetailsPage(QWidget *page)
{
    PictureDetails = new QWidget(page);
    PictureDetails->setObjectName(QStringLiteral("PictureDetails"));
    place(PictureDetails, 0, 400, 6735, 4800);
    QWidget *d = PictureDetails;

    picThumb = pictureBox(d, QStringLiteral("picThumb"), QPixmap(), 240, 240, 3000, 2250);
    picThumb->setFrameStyle(QFrame::Box | QFrame::Plain);
    picThumb->setCursor(Qt::PointingHandCursor);

    auto valueLabel = [d](const QString &name, double l, double t, double w, double h) {
        auto *label = new QLabel(d);
        label->setObjectName(name);
        label->setTextFormat(Qt::PlainText);
        place(label, l, t, w, h);
        return label;
    };
    makeLabel(d, Lbl::FavoriteCaption, QStringLiteral("Favorite:"), 3840, 240, 735, 255);
    chkFav = checkBox(d, QStringLiteral("chkFav"), QString(), 4920, 240, 255, 195);
    chkFav->setEnabled(false);
    cmdAddFavs =
        makeButton(d, QStringLiteral("cmdAddFavs"), QString(), 5280, 210, 330, 300, &Commands::cmdAddFavs_Click);
    cmdAddFavs->setPicture(pictures::draw(pictures::Kind::FavoriteMark));
    connect(chkFav, &QCheckBox::clicked, this, [this] { commands.chkFav_Click(); });
    Picture10 =
        pictureBox(d, QStringLiteral("Picture10"), pictures::draw(pictures::Kind::FavoriteMark), 5760, 240, 240, 240);
    Picture10->setToolTip(QStringLiteral("This is a favorite Vardeck"));
    Picture10->hide();

    makeLabel(d, Lbl::HomepageCaption, QStringLiteral("Homepage:"), 3840, 600, 855, 255);
    lblHome = valueLabel(QStringLiteral("lblHome"), 4920, 600, 2175, 255);
    lblHome->setCursor(Qt::PointingHandCursor);
    makeLabel(d, Lbl::LastVisitedCaption, QStringLiteral("Last visited:"), 3840, 960, 855, 255);
    makeLabel(d, Lbl::LastVisited, QString(), 4920, 960, 2175, 255)
        ->setToolTip(QStringLiteral("When this Vardeck was last viewed in a browser"));
    makeLabel(d, Lbl::CreatedDateCaption, QStringLiteral("Created date:"), 3840, 1320, 1095, 255);
    lblCreatedDate = valueLabel(QStringLiteral("lblCreatedDate"), 4920, 1320, 2175, 255);
    lblCreatedDate->setToolTip(QStringLiteral("The date that this Vardeck was created"));
    makeLabel(d, Lbl::HitsCaption, QStringLiteral("Hits:"), 3840, 1680, 375, 255);
    makeLabel(d, Lbl::Hits, QString(), 4920, 1680, 855, 255);
    makeLabel(d, Lbl::SizeCaption, QStringLiteral("Size:"), 3840, 2040, 855, 255);
    lblFileSize = valueLabel(QStringLiteral("lblFileSize"), 4920, 2040, 2175, 255);
    // The values stand in one column after the widest caption.
    int valueLeft = lblHome->x();
    for (Lbl caption :
         {Lbl::HomepageCaption, Lbl::LastVisitedCaption, Lbl::CreatedDateCaption, Lbl::HitsCaption, Lbl::SizeCaption})
        valueLeft = qMax(valueLeft, lbl(caption)->geometry().right() + 6);
    for (QWidget *value : {static_cast<QWidget *>(lblHome), static_cast<QWidget *>(lbl(Lbl::LastVisited)),
                           static_cast<QWidget *>(lblCreatedDate), static_cast<QWidget *>(lbl(Lbl::Hits)),
                           static_cast<QWidget *>(lblFileSize)})
        value->move(valueLeft, value->y());

    // Search from a detail: domain, last visited, created date.
    const char *searchTips[] = {"Search on this domain", "Search on last visited date", "Search on created date"};
    for (int i = 0; i < 3; ++i) {
        qbButtons_H *button = makeButton(d, QStringLiteral("cmdSearchHome(%1)").arg(i), QString(), 3540, 600 + 360 * i,
                                         255, 255, &Commands::cmdSearchHome_Click, i);
        button->setPicture(pictures::draw(pictures::Kind::Search, 12));
        button->setPictureSize(0);
        button->setToolTip(QString::fromLatin1(searchTips[i]));
        m_cmdSearchHome.insert(i, button);
    }
    qbButtons_H *edit3 =
        makeButton(d, QStringLiteral("cmdEdit(3)"), QString(), 3540, 240, 255, 255, &Commands::cmdEdit_Click, 3);
    edit3->setPicture(pictures::draw(pictures::Kind::UpdateVardeck, 12));
    edit3->setToolTip(QStringLiteral("Update Vardeck"));
    m_cmdEdit.insert(3, edit3);

    makeLabel(d, Lbl::DescriptionCaption, QStringLiteral("Description:"), 240, 2740, 855, 240);
    lblDescription = valueLabel(QStringLiteral("lblDescription"), 1300, 2740, 5175, 855);
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDescription->setToolTip(QStringLiteral("Description for this Vardeck"));
    txtDescription = new QPlainTextEdit(d);
    txtDescription->setTabChangesFocus(true);
    txtDescription->setObjectName(QStringLiteral("txtDescription"));
    place(txtDescription, 1300, 2785, 5175, 780);
    txtDescription->hide();
    makeLabel(d, Lbl::KeywordsCaption, QStringLiteral("Keywords:"), 240, 3800, 735, 255);
    // In front of the "Keywords:" caption, clear of the panel's edge.
    qbButtons_H *edit0 =
        makeButton(d, QStringLiteral("cmdEdit(0)"), QString(), 30, 3800, 210, 210, &Commands::cmdEdit_Click, 0);
    edit0->setPicture(pictures::draw(pictures::Kind::UpdateVardeck, 12));
    edit0->setToolTip(QStringLiteral("Update Vardeck"));
    m_cmdEdit.insert(0, edit0);
    lblKeyWords = valueLabel(QStringLiteral("lblKeyWords"), 1300, 3780, 5175, 735);
    lblKeyWords->setWordWrap(true);
    lblKeyWords->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblKeyWords->setToolTip(QStringLiteral("Keywords for this Vardeck"));
    txtKeywords = new QPlainTextEdit(d);
    txtKeywords->setTabChangesFocus(true);
    txtKeywords->setObjectName(QStringLiteral("txtKeywords"));
    place(txtKeywords, 1300, 3780, 5175, 660);
    txtKeywords->hide();

    for (QLabel *link : {lblAddress, lblHome})
        setLinkLook(link, false);
    // Long names and addresses show shortened with "…", whole in the tool tip.
    elideLabel(lblWName);
    elideLabel(lblAddress, Qt::ElideMiddle);
    elideLabel(lblHome, Qt::ElideMiddle);
}

void frmVardecks::buildPreviewPage(QWidget *page)
{
    const char *captions[] = {"Go", "Stop", "Refresh", "Home", "Open home", "Open"};
    const char *tips[] = {"Show this Vardeck's page here",
                          "Stop loading the page",
                          "Refresh the page",
                          "Show this Vardeck's home page here",
                          "Open the home page in the browser",
                          "Open this Vardeck in the browser"};
    // Each button as wide as its caption needs: the captions wrap, and a second line
    // would fall outside the button.
    const int widths[] = {800, 800, 1060, 900, 1400, 900};
    int left = 100;
    for (int i = 0; i < 6; ++i) {
        qbButtons_H *button =
            makeButton(page, QStringLiteral("cmdPreview(%1)").arg(i), QString::fromLatin1(captions[i]), left, 480,
                       widths[i], 330, &Commands::cmdPreview_Click, i);
        left += widths[i] + 30;
        button->setToolTip(QString::fromLatin1(tips[i]));
        m_cmdPreview.insert(i, button);
    }
    chkAutoPreview =
        checkBox(page, QStringLiteral("chkAutoPreview"), QStringLiteral("Preview automatically"), 100, 880, 2400, 255);
    connect(chkAutoPreview, &QCheckBox::clicked, this, [this] { commands.chkAutoPreview_Click(); });
    previewProgress = new QProgressBar(page);
    previewProgress->setObjectName(QStringLiteral("previewProgress"));
    previewProgress->setRange(0, 100);
    previewProgress->setTextVisible(false);
    place(previewProgress, 2700, 900, 2400, 210);
    previewProgress->hide();
    wbPreview = new QWidget(page);
    wbPreview->setObjectName(QStringLiteral("wbPreview"));
    wbPreview->setAutoFillBackground(true);
    wbPreview->setBackgroundRole(QPalette::Base);
    place(wbPreview, 100, 1260, 6435, 3735);
}

void frmVardecks::buildWebStrip()
{
    Picture2 = new QWidget(formClient);
    Picture2->setObjectName(QStringLiteral("Picture2"));
    place(Picture2, 0, 420, 11955, 720);
    const char *captions[] = {"Folders", "All Vardecks", "Favorites", "Print", "Search", "Popular"};
    double left = 60;
    for (int i = 0; i < 6; ++i) {
        // The search box stands before its Search button.
        if (i == 4) {
            txtS = textBox(Picture2, QStringLiteral("txtS"), left, 150, 1640, 300);
            left += 1700;
        }
        qbButtons_H *button =
            makeButton(Picture2, QStringLiteral("cmdWeb(%1)").arg(i), QString::fromLatin1(captions[i]), left, 120, 1200,
                       375, &Commands::cmdWeb_Click, i);
        m_cmdWeb.insert(i, button);
        left += 1260;
    }
    chkWebAspectBrowser = checkBox(Picture2, QStringLiteral("chkWebAspectBrowser"),
                                   QStringLiteral("Use default browser formatting"), left + 120, 180, 3400, 255);
    // Its caption is never cut short by the designed width.
    chkWebAspectBrowser->resize(std::max(chkWebAspectBrowser->width(), chkWebAspectBrowser->sizeHint().width()),
                                chkWebAspectBrowser->height());
    connect(chkWebAspectBrowser, &QCheckBox::clicked, this, [this] { commands.chkWebAspectBrowser_Click(); });
    Picture2->hide();

    wbWeb = new QWidget(formClient);
    wbWeb->setObjectName(QStringLiteral("wbWeb"));
    wbWeb->setAutoFillBackground(true);
    wbWeb->setBackgroundRole(QPalette::Base);
    place(wbWeb, 50, 1180, 10215, 6135);
    wbWeb->hide();
}

void frmVardecks::buildHiddenControls()
{
    lblTName = new QLabel(kNoFolderCaption, formClient);
    lblTName->setObjectName(QStringLiteral("lblTName"));
    lblTName->setTextFormat(Qt::PlainText);
    lblTName->hide();
    ThunderTextBox = new QLineEdit(formClient);
    ThunderTextBox->setObjectName(QStringLiteral("ThunderTextBox"));
    ThunderTextBox->hide();
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5);
    timerIcon = new QTimer(this);
    timerIcon->setObjectName(QStringLiteral("timerIcon"));
    timerIcon->setInterval(10);
    timerIcon->setSingleShot(true);
    Picture8 =
        pictureBox(formClient, QStringLiteral("Picture8"), pictures::draw(pictures::Kind::VardeckMark), 0, 0, 240, 240);
    Picture8->hide();
    Picture3 = pictureBox(formClient, QStringLiteral("Picture3"), QPixmap(), 0, 0, 250, 250);
    Picture3->hide();
}

void frmVardecks::buildImageLists()
{
    using pictures::Kind;
    for (int i = 1; i <= 18; ++i)
        ImageListMenu.insert(QString::number(i), QIcon(pictures::toolbarImage(i)));
    ImageList1.insert(QStringLiteral("1"), QIcon(pictures::draw(Kind::ExplorerAspect)));
    ImageList1.insert(QStringLiteral("2"), QIcon(pictures::draw(Kind::WebAspect)));
    ImageListTVW.insert(QStringLiteral("RootClosed"), QIcon(pictures::draw(Kind::RootClosed)));
    ImageListTVW.insert(QStringLiteral("RootOpen"), QIcon(pictures::draw(Kind::RootOpen)));
    ImageListTVW.insert(QStringLiteral("ClosedFolder"), QIcon(pictures::draw(Kind::ClosedFolder)));
    ImageListTVW.insert(QStringLiteral("OpenFolder"), QIcon(pictures::draw(Kind::OpenFolder)));
    ImageListWM.insert(QStringLiteral("Vardeck"), QIcon(pictures::draw(Kind::VardeckMark)));
    ImageListWM.insert(QStringLiteral("SelVardeck"), QIcon(pictures::draw(Kind::SelectedVardeckMark)));
}

QWidget *frmVardecks::pane(Pane pane) const
{
    switch (pane) {
    case Pane::IndexPage:
        return tabIndex->page(0);
    case Pane::FolderSplitter:
        return Splitter1;
    case Pane::SearchPage:
        return tabIndex->page(1);
    case Pane::FavoritesPage:
        return tabIndex->page(2);
    case Pane::PopularPage:
        return tabIndex->page(3);
    case Pane::VardeckPage:
        return tabView->page(0);
    case Pane::FolderListPage:
        return tabView->page(1);
    case Pane::SearchResultsPage:
        return tabView->page(2);
    case Pane::DetailsPage:
        return tabInfo->page(0);
    case Pane::PreviewPage:
        return tabInfo->page(1);
    case Pane::NotesPage:
        return tabInfo->page(2);
    case Pane::Client:
    case Pane::Count:
        break;
    }
    return formClient;
}

void frmVardecks::addToLayout(Place role, QWidget *control)
{
    QPointer<QWidget> &held = m_places[std::size_t(role)];
    Q_ASSERT_X(!held || held->property("rrStandIn").toBool(), "frmVardecks::addToLayout",
               "a place is handed over twice");
    if (held && held->property("rrStandIn").toBool())
        delete held.data();
    held = control;
    // The window's least size keeps the Web Aspect's strip and the preview's buttons whole.
    if (role == Place::WebBrowserCheck || role == Place::PreviewButtons)
        formClient->setMinimumSize(layoutMinimumSize());
}

QList<Place> frmVardecks::emptyPlaces() const
{
    QList<Place> empty;
    for (std::size_t i = 0; i < m_places.size(); ++i) {
        if (!m_places[i] || m_places[i]->property("rrStandIn").toBool())
            empty.append(Place(i));
    }
    return empty;
}

void frmVardecks::placeOwnControls()
{
    const std::pair<Place, QWidget *> own[] = {
        {Place::SearchBox, cmbSearch},
        {Place::SearchMark, Picture5},
        {Place::SearchButton, cmdSearch},
        {Place::SearchIn, Frame4},
        {Place::FoundCaption, lbl(Lbl::FoundCaption)},
        {Place::FoundCount, lblFound},
        {Place::SearchList, lstSrch},
        {Place::FavoritesTree, tvwFavs},
        {Place::AddFavoriteButton, cmdFAdd},
        {Place::DeleteFavoriteButton, cmdFDelete},
        {Place::FavoritesCount, lbl(Lbl::FavoritesCount)},
        {Place::FavoritesMark, Picture4},
        {Place::PopularList, listPop},
        {Place::SearchResults, lstSearch},
        {Place::VardeckFields, Frame2},
        {Place::NameLabel, lblWName},
        {Place::NameBox, txtWName},
        {Place::AddressLabel, lblAddress},
        {Place::AddressBox, txtAddress},
        {Place::Details, PictureDetails},
        {Place::HomeLabel, lblHome},
        {Place::FileSizeLabel, lblFileSize},
        {Place::HitsLabel, lbl(Lbl::Hits)},
        {Place::DescriptionLabel, lblDescription},
        {Place::DescriptionBox, txtDescription},
        {Place::KeywordsCaption, lbl(Lbl::KeywordsCaption)},
        {Place::KeywordsLabel, lblKeyWords},
        {Place::KeywordsBox, txtKeywords},
        {Place::KeywordsButton, cmdEdit(0)},
        {Place::Notes, txtNotes},
        {Place::Preview, wbPreview},
        {Place::PreviewButtons, cmdPreview(5)},
        {Place::WebStrip, Picture2},
        {Place::WebSearchBox, txtS},
        {Place::WebBrowserCheck, chkWebAspectBrowser},
        {Place::WebView, wbWeb},
    };
    for (const auto &[role, control] : own)
        addToLayout(role, control);
}

} // namespace rr
