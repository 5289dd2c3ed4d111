// The panes and controls of the main window, at their design places (twips,
// relative to their container). The layout rules move them from there.
#include "controls/qbbuttons_h.h"
#include "platform/gui/columnfit.h"
#include "platform/textutil.h"
#include "shell/frmvardecks.h"
#include "shell/panecontrols.h"
#include "shell/pictures.h"
#include "shell/splitter.h"
#include "shell/tabstrip.h"
#include "shell/twips.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>

namespace rr
{

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
    connect(Splitter2, &Splitter::barReleased, this, &frmVardecks::leastSizeFollowsLeftPane);
}

void frmVardecks::buildLeftPane()
{
    tabIndex = new TabStrip(Splitter2);
    tabIndex->setObjectName(QStringLiteral("tabIndex"));
    twips::move(tabIndex, 0, 0, 3944, 6495);
    for (const char *caption : {"   &Index   ", "   S&earch   ", "    Favo&rites   ", "   &Popular   "})
        tabIndex->addTab(QString::fromLatin1(caption));

    // Index: the folder tree over the folder's Vardecks.
    QWidget *index = tabIndex->page(0);
    Splitter1 = new Splitter(index);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->moveTwips(0, 400, 3300, 5240);
}

void frmVardecks::buildRightPane()
{
    Picture1 = new QWidget(Splitter2);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    twips::move(Picture1, 4024, 0, 7391, 6495);

    tabView = new TabStrip(Picture1);
    tabView->setObjectName(QStringLiteral("tabView"));
    twips::move(tabView, 0, 0, 6900, 6480);
    for (const char *caption : {"   Vardeck   ", "   No folder selected   ", "   Search results   "})
        tabView->addTab(QString::fromLatin1(caption));

    // The shown Vardeck's details tabs, below its name and address.
    QWidget *vardeck = tabView->page(0);
    tabInfo = new TabStrip(vardeck);
    tabInfo->setObjectName(QStringLiteral("tabInfo"));
    twips::move(tabInfo, 0, 1280, 6795, 5145);
    for (const char *caption : {"   &Details   ", "   Previe&w   ", "   No&tes   "})
        tabInfo->addTab(QString::fromLatin1(caption));
}

void frmVardecks::buildHiddenControls()
{
    ThunderTextBox = new QLineEdit(formClient);
    ThunderTextBox->setObjectName(QStringLiteral("ThunderTextBox"));
    ThunderTextBox->hide();
    // The hand-off timer fires once for each hand-off (receiveHandOff).
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(5);
    Timer1->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &frmVardecks::Timer1_Timer);
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
    m_plainVardeckPicture = pictures::draw(Kind::VardeckMark);
    m_vardeckPictures.replaceAll({{QStringLiteral("Vardeck"), QIcon(m_plainVardeckPicture)},
                                  {QStringLiteral("SelVardeck"), QIcon(pictures::draw(Kind::SelectedVardeckMark))}},
                                 QIcon(m_plainVardeckPicture));
}

QIcon frmVardecks::folderNodePicture(bool root) const
{
    return root ? pairedIcon(ImageListTVW, QStringLiteral("RootClosed"), QStringLiteral("RootOpen"))
                : pairedIcon(ImageListTVW, QStringLiteral("ClosedFolder"), QStringLiteral("OpenFolder"));
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
    case Pane::RightPane:
        return Picture1;
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

} // namespace rr
