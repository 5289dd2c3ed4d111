#include "finding/ui/searchpane.h"

#include "controls/qbbuttons_h.h"
#include "finding/searchhistory.h"
#include "finding/ui/listrows.h"
#include "finding/ui/panecontrols.h"
#include "media/urlsupport.h"
#include "platform/gui/columnfit.h"
#include "platform/gui/commands.h"
#include "platform/gui/itemtags.h"
#include "platform/gui/listviews.h"
#include "platform/gui/partoperations.h"
#include "platform/prompt.h"
#include "platform/textutil.h"
#include "shell/aspectoperations.h"
#include "shell/columnwidths.h"
#include "shell/detailsoperations.h"
#include "shell/framemenus.h"
#include "shell/framepanes.h"
#include "shell/frametabs.h"
#include "shell/imagelists.h"
#include "shell/listdropoperations.h"
#include "shell/openaddress.h"
#include "shell/opendatabase.h"
#include "shell/panecontrols.h"
#include "shell/pictures.h"
#include "shell/shownitems.h"
#include "shell/twips.h"
#include "storage/record.h"
#include "storage/session.h"
#include "storage/settingsstore.h"
#include "storage/useroptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>
#include <QWindow>

namespace rr
{

using namespace findingui;

namespace
{

// The hourglass over the window while a search scans the collection.
class BusyCursor
{
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;
};

bool isEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// The detailed list's columns, in the order of DetailedColumn.
const QStringList kDetailedCaptions = {QStringLiteral("Name"),         QStringLiteral("Matches"),
                                       QStringLiteral("Address"),      QStringLiteral("Created date"),
                                       QStringLiteral("Last visited"), QStringLiteral("Hits"),
                                       QStringLiteral("Description")};
constexpr int kDetailedCount = int(DetailedColumn::Count);

} // namespace

SearchPane::SearchPane(const FindingWindow &w)
    : QObject(&w.window), w(w), m_keep(
                                    m_search, [this] { return this->w.db.document(); },
                                    [this] {
                                        SearchFieldBoxes boxes = m_boxes;
                                        boxes.ensureOneTicked();
                                        return boxes.mask();
                                    })
{
    setObjectName(QStringLiteral("SearchPane"));
    build();
    wire();
}

// ----- the controls -----

void SearchPane::build()
{
    buildSearchTab();
    m_lstSearch = makeReportList(w.panes.pane(Pane::SearchResultsPage), QStringLiteral("lstSearch"), kDetailedCaptions);
    m_lstSearch->setSelectionMode(QAbstractItemView::ExtendedSelection);
    twips::move(m_lstSearch, 0, 400, 6705, 5895);
    // The report sizes its columns to what it shows when first seen.
    new ColumnFit(m_lstSearch);

    const std::pair<Place, QWidget *> places[] = {
        {Place::SearchBox, m_cmbSearch}, {Place::SearchMark, m_Picture5},       {Place::SearchButton, m_cmdSearch},
        {Place::SearchIn, m_Frame4},     {Place::FoundCaption, m_foundCaption}, {Place::FoundCount, m_lblFound},
        {Place::SearchList, m_lstSrch},  {Place::SearchResults, m_lstSearch},
    };
    for (const auto &[place, control] : places)
        w.panes.addToLayout(place, control);
    QList<QWidget *> tabOrder = {m_cmbSearch, m_cmdSearch};
    for (QCheckBox *box : m_fieldBoxes)
        tabOrder << box;
    tabOrder << m_openFirstResult << m_showDetailedResults << m_lstSrch;
    followInTabOrder(w.panes.pane(Pane::SearchPage), tabOrder);
    followInTabOrder(w.panes.pane(Pane::SearchResultsPage), {m_lstSearch});
    showWithWindow({m_cmbSearch, m_Picture5, m_cmdSearch, m_Frame4, m_resultsCaption, m_foundCaption, m_lblFound,
                    m_lstSrch, m_lstSearch});
}

void SearchPane::buildSearchTab()
{
    QWidget *page = w.panes.pane(Pane::SearchPage);
    m_cmbSearch = new QComboBox(page);
    m_cmbSearch->setObjectName(QStringLiteral("cmbSearch"));
    m_cmbSearch->setEditable(true);
    m_cmbSearch->setInsertPolicy(QComboBox::NoInsert);
    twips::move(m_cmbSearch, 120, 440, 3444, 315);
    m_Picture5 =
        makePictureBox(page, QStringLiteral("Picture5"), pictures::draw(pictures::Kind::SiteMark), 120, 840, 240, 240);
    m_cmdSearch = makeCommandButton(w.commands, page, QStringLiteral("cmdSearch"), QStringLiteral("&Search"), 2644, 800,
                                    855, 330, &Commands::cmdSearch_Click);

    m_Frame4 = new QGroupBox(QStringLiteral("Search in"), page);
    m_Frame4->setObjectName(QStringLiteral("Frame4"));
    twips::move(m_Frame4, 120, 1140, 3694, 1360);
    const char *fields[] = {"All Vardeck data", "Name", "Address", "Notes", "Description", "Keywords"};
    for (int i = 0; i < int(FieldBox::Count); ++i) {
        const double left = i < 3 ? 120 : 1850;
        const double top = 200 + (i % 3) * 220;
        QCheckBox *box = makeCheckBox(m_Frame4, QStringLiteral("chkSearch(%1)").arg(i), QString::fromLatin1(fields[i]),
                                      left, top, i == 0 ? 1700 : 1400, 230);
        m_fieldBoxes[std::size_t(i)] = box;
        connect(box, &QCheckBox::clicked, this, [this, i] { w.commands.chkSearch_Click(i); });
    }
    // Every search starts with "All Vardeck data", as the field state does.
    fieldBox(FieldBox::AllData)->setChecked(true);
    m_openFirstResult =
        makeCheckBox(m_Frame4, QStringLiteral("chkOpt(6)"), QStringLiteral("Open first result"), 120, 880, 3000, 230);
    m_showDetailedResults = makeCheckBox(m_Frame4, QStringLiteral("chkOptt(7)"),
                                         QStringLiteral("Show detailed results"), 120, 1100, 3000, 230);
    connect(m_openFirstResult, &QCheckBox::clicked, this, [this] { w.commands.chkOpt_Click(); });
    connect(m_showDetailedResults, &QCheckBox::clicked, this, [this] { w.commands.chkOptt_Click(); });
    placeFieldBoxes();

    m_resultsCaption =
        makeArrayLabel(page, Lbl::SearchResultsCaption, QStringLiteral("Search results:"), 120, 2520, 1095, 255);
    m_foundCaption = makeArrayLabel(page, Lbl::FoundCaption, QStringLiteral("Found:"), 2040, 2520, 495, 255);
    m_lblFound = new QLabel(QStringLiteral("0"), page);
    m_lblFound->setObjectName(QStringLiteral("lblFound"));
    m_lblFound->setTextFormat(Qt::PlainText);
    twips::move(m_lblFound, 2640, 2520, 615, 255);
    m_lstSrch = makeReportList(page, QStringLiteral("lstSrch"), {QStringLiteral("Name"), QStringLiteral("Matches")});
    twips::move(m_lstSrch, 0, 2760, 3495, 3375);
}

// The frame "Search in" draws its caption above its top line; the five rows of boxes
// start below that line and, when the caption takes more than the 200 twips the rows
// leave above them, stand closer together so that the last still ends inside the
// frame. The line moves with the frame's font and style, which its contents show.
void SearchPane::placeFieldBoxes()
{
    const QList<QCheckBox *> rows[] = {{fieldBox(FieldBox::AllData), fieldBox(FieldBox::Notes)},
                                       {fieldBox(FieldBox::Name), fieldBox(FieldBox::Description)},
                                       {fieldBox(FieldBox::Address), fieldBox(FieldBox::Keywords)},
                                       {m_openFirstResult},
                                       {m_showDetailedResults}};
    const int boxHeight = twips::toPx(230);
    const int firstTop = std::max(twips::toPx(200), m_Frame4->contentsRect().top() + 1);
    const int lastTop = m_Frame4->height() - 2 - boxHeight;
    // The design's rows: 220 twips apart, with 240 before the two option boxes.
    const double designed[] = {0, 220, 440, 680, 900};
    const double scale = std::min(1.0, (lastTop - firstTop) / double(twips::toPx(900)));
    for (int row = 0; row < 5; ++row) {
        for (QCheckBox *box : rows[row])
            box->move(box->x(), firstTop + int(twips::toPx(designed[row]) * scale));
    }
}

void SearchPane::wire()
{
    // A pick from the list, by mouse or with the arrow keys, searches at once. The box
    // would also take leaving it, or Enter, with a remembered text as a pick: Enter
    // is handled below, and leaving the box must search nothing. Typing is not
    // completed from the history either: the text searched is the text typed.
    QComboBox *box = m_cmbSearch;
    box->setCompleter(nullptr);
    if (QLineEdit *edit = box->lineEdit()) {
        disconnect(edit, &QLineEdit::editingFinished, nullptr, nullptr);
        edit->installEventFilter(this);
    }
    connect(box, &QComboBox::activated, this, [this](int) { cmbSearch_Click(); });
    box->installEventFilter(this);
    // The kept texts are made before the search that needs them: once the window is
    // drawn, and again for a changed collection as soon as the search box is about to
    // be used.
    w.window.installEventFilter(this);
    if (QLineEdit *edit = box->lineEdit())
        connect(edit, &QLineEdit::textEdited, this, [this] { m_keep.follow(); });
    w.tabs.whenIndexTabShown(this, [this](IndexTab tab) {
        if (tab == IndexTab::Search)
            m_keep.follow();
    });
    m_Frame4->installEventFilter(this);
    // The captions take their right-clicks as the details panel's captions do.
    for (QLabel *caption : {m_resultsCaption, m_foundCaption}) {
        caption->installEventFilter(this);
        caption->setMouseTracking(true);
    }

    for (QTreeWidget *list : {m_lstSearch, m_lstSrch}) {
        sortByHand(list);
        selectCurrentOnFocus(list);
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
    // What is dropped on the detailed list is dropped on the window.
    m_lstSearch->setAcceptDrops(true);
    m_lstSearch->viewport()->setAcceptDrops(true);
    showSortIndicator(m_lstSearch, m_detailedSort);
    showSortIndicator(m_lstSrch, m_compactSort);
    connect(m_lstSearch->header(), &QHeaderView::sectionClicked, this, &SearchPane::lstSearch_ColumnClick);
    connect(m_lstSrch->header(), &QHeaderView::sectionClicked, this, &SearchPane::lstSrch_ColumnClick);
    // A click, a key and a double-click run the rows' commands, which ask before they
    // end an edit.
    connect(m_lstSrch, &QTreeWidget::itemClicked, this, [this] { w.commands.lstSrch_Click(); });
    // Every key pressed in the compact list shows the row it reached; during an edit,
    // whose question is never asked inside the key's delivery, once the delivery is over.
    showRowOnKeyRelease(m_lstSrch, [this] {
        if (!windowUsable(this))
            return;
        if (w.shown.editState() == EditState::Viewing)
            w.commands.lstSrch_Click();
        else
            QTimer::singleShot(0, this, [this] { w.commands.lstSrch_Click(); });
    });
    connect(m_lstSearch, &QTreeWidget::itemDoubleClicked, this, [this] { w.commands.lstSearch_DblClick(); });

    // Whatever takes results out of the list (a deletion, an edit, another database),
    // the "Found:" count says what is left; a header click, which takes the rows out and
    // puts them back in their new order, leaves it as it was.
    // The label is the connection's context: a window being torn down, emptying its
    // list, never writes to a label already gone.
    QAbstractItemModel *results = m_lstSrch->model();
    const auto countLeft = [label = m_lblFound, results, found = m_found] {
        const qsizetype rows = results->rowCount();
        label->setText(foundCountText(found->matching - (found->listed - rows), rows));
    };
    connect(results, &QAbstractItemModel::rowsRemoved, m_lblFound, countLeft);
    connect(results, &QAbstractItemModel::rowsInserted, m_lblFound, countLeft);
    connect(results, &QAbstractItemModel::modelReset, m_lblFound, countLeft);
}

QTreeWidget *SearchPane::list(EntryList list) const
{
    return list == EntryList::SearchList ? m_lstSrch : m_lstSearch;
}

// ----- the field boxes -----

void SearchPane::readBoxes()
{
    for (int i = 0; i < SearchFieldBoxes::kCount; ++i)
        m_boxes.ticked[std::size_t(i)] = m_fieldBoxes[std::size_t(i)]->isChecked();
}

// The rules have run on the state already: setting the boxes must not run them again.
void SearchPane::applyBoxes()
{
    for (int i = 0; i < SearchFieldBoxes::kCount; ++i) {
        QCheckBox *box = m_fieldBoxes[std::size_t(i)];
        const QSignalBlocker block(box);
        box->setChecked(m_boxes.ticked[std::size_t(i)]);
    }
}

void SearchPane::selectSearchText()
{
    if (QLineEdit *edit = m_cmbSearch->lineEdit())
        edit->setSelection(0, 40);
    m_cmbSearch->setFocus();
}

void SearchPane::chkSearch_Click(FieldBox box)
{
    selectSearchText();
    readBoxes();
    m_boxes.clicked(int(box));
    applyBoxes();
}

void SearchPane::unselectSearch(FieldBox box)
{
    readBoxes();
    m_boxes.unselectSearch(int(box));
    applyBoxes();
}

void SearchPane::chkOpt_Click()
{
    appOptions().setOpenFirst(m_openFirstResult->isChecked());
}

void SearchPane::chkOptt_Click()
{
    appOptions().setShowDetailSearch(m_showDetailedResults->isChecked());
}

void SearchPane::showSearchOptions()
{
    m_openFirstResult->setChecked(appOptions().getOpenFirst());
    m_showDetailedResults->setChecked(appOptions().getShowDetailSearch());
}

void SearchPane::prepareSearch(FieldBox box)
{
    operationsOf<AspectOperations>(w.window).showAspectExplorer();
    w.tabs.showIndexTab(IndexTab::Search);
    m_cmbSearch->setFocus();
    readBoxes();
    m_boxes.selectOnly(int(box));
    applyBoxes();
}

void SearchPane::cmdSearchHome_Click(int index)
{
    const DetailsOperations &details = operationsOf<DetailsOperations>(w.window);
    QString text;
    switch (DetailSearch(index)) {
    case DetailSearch::Domain:
        text = urlSupport::calcDomain(details.detailsText(DetailsField::HomePage));
        if (text.isEmpty())
            text = details.detailsText(DetailsField::Address);
        break;
    case DetailSearch::LastVisited:
        text = details.detailsText(DetailsField::LastVisited).left(11);
        break;
    case DetailSearch::CreatedDate:
        text = details.detailsText(DetailsField::CreatedDate);
        break;
    default:
        return;
    }
    m_cmbSearch->setEditText(text);
    w.tabs.showIndexTab(IndexTab::Search);
    m_cmbSearch->setFocus();
    readBoxes();
    m_boxes.selectOnly(int(FieldBox::AllData));
    applyBoxes();
    cmdSearch_Click();
}

// ----- the search -----

void SearchPane::cmdSearch_Click()
{
    const BusyCursor busy;
    readBoxes();
    const QString text = m_cmbSearch->currentText();
    qsizetype matching = 0;
    const QList<SearchResult> results = runSearchCommand(m_search, w.db.document(), text, m_boxes, &matching);
    m_keep.follow();
    if (results.isEmpty())
        prompt::show(QStringLiteral("No search results were found"));
    applyBoxes();
    if (results.isEmpty())
        clearSearchResults();
    else
        populateSearchResults(results);
    *m_found = FoundCount{matching, results.size()};
    showFoundCount();
    populateSearchList();
    if (!results.isEmpty() && m_openFirstResult->isChecked())
        openFirstResult();
    if (m_showDetailedResults->isChecked())
        w.tabs.showViewTab(ViewTab::SearchResults);
}

void SearchPane::cmbSearch_Click()
{
    cmdSearch_Click();
}

void SearchPane::cmbSearch_GotFocus()
{
    w.panes.setDefaultButton(m_cmdSearch);
}

void SearchPane::releaseSearchButton()
{
    if (w.panes.defaultButton() == m_cmdSearch)
        w.panes.setDefaultButton(nullptr);
}

// The first row after the sort, the one with the most matches. Opening it records no
// visit.
void SearchPane::openFirstResult()
{
    const XmlNode vardeck = w.db.vardeck(tagOf(m_lstSearch->topLevelItem(0)));
    if (!vardeck)
        return;
    openInBrowser(vardeck.childText(tag::Address));
    operationsOf<DetailsOperations>(w.window).displayVardeckData(vardeck);
}

void SearchPane::populateSearchResults(const QList<SearchResult> &results)
{
    const QList<SearchRow> rows = buildSearchRows(w.db.document(), results, session().recentColl);
    m_detailedSort = ListSortState{};
    m_compactSort = ListSortState{};
    clearSearchResults();
    for (QTreeWidget *list : {m_lstSearch, m_lstSrch})
        list->setUpdatesEnabled(false);
    for (const SearchRow &row : rows) {
        const QIcon icon = w.pictures.of(row.wid, false);
        QStringList detailed;
        for (int column = 0; column < kDetailedCount; ++column)
            detailed << row.detailedCell(DetailedColumn(column));
        addRow(m_lstSearch, detailed, row.wid, row.bold, icon);
        addRow(m_lstSrch, {row.compactCell(CompactColumn::Name), row.compactCell(CompactColumn::Matches)}, row.wid,
               row.bold, icon);
    }
    for (QTreeWidget *list : {m_lstSearch, m_lstSrch})
        list->setUpdatesEnabled(true);
    showSortIndicator(m_lstSearch, m_detailedSort);
    showSortIndicator(m_lstSrch, m_compactSort);
}

void SearchPane::clearSearchResults()
{
    *m_found = FoundCount{};
    m_lstSearch->clear();
    m_lstSrch->clear();
}

void SearchPane::showFoundCount()
{
    const qsizetype rows = m_lstSrch->topLevelItemCount();
    m_lblFound->setText(foundCountText(m_found->matching - (m_found->listed - rows), rows));
}

void SearchPane::populateSearchList()
{
    QComboBox *box = m_cmbSearch;
    const QString text = box->currentText();
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(searchListItems());
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

// ----- the result lists -----

void SearchPane::dropRowsOfGoneVardecks()
{
    for (QTreeWidget *list : {m_lstSrch, m_lstSearch})
        dropRowsOfGone(w.db, list);
}

void SearchPane::markRecentRows()
{
    for (QTreeWidget *list : {m_lstSearch, m_lstSrch})
        findingui::markRecentRows(list);
}

void SearchPane::showHitsOf(const QString &wid, int hits)
{
    const QString count = padString(QString::number(hits), kCountWidth);
    for (int i = 0; i < m_lstSearch->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = m_lstSearch->topLevelItem(i);
        if (sameText(identifierOf(tagOf(row)), identifierOf(wid)))
            row->setText(int(DetailedColumn::Hits), count);
    }
}

QString SearchPane::selectedRowOf(EntryList which) const
{
    return tagOf(selectedItemOf(list(which))).trimmed();
}

QStringList SearchPane::selectedRowsOf(EntryList which) const
{
    return selectedRowIds(list(which));
}

void SearchPane::goToRow(int move)
{
    rr::goToRow(
        m_lstSrch, false, move, [this] { return w.shown.editState() != EditState::Viewing; },
        [this] { w.commands.lstSrch_Click(); });
}

// A stored width of 0 gives the column an equal share of the list; the compact list's
// columns take the tab's width.
void SearchPane::restoreColumns()
{
    for (int i = 1; i <= kDetailedCount; ++i)
        columnwidths::restore(m_lstSearch, i - 1, SettingsStore::getColWidthSearch(i), kDetailedCount);
    columnwidths::set(m_lstSrch, int(CompactColumn::Matches), 1000);
    columnwidths::set(m_lstSrch, int(CompactColumn::Name), w.tabs.indexTabsWidth() - 980);
}

void SearchPane::saveColumns()
{
    std::array<int, kDetailedCount> stored{};
    for (int i = 0; i < kDetailedCount; ++i)
        stored[std::size_t(i)] = SettingsStore::getColWidthSearch(i + 1);
    for (int i = 0; i < kDetailedCount; ++i)
        SettingsStore::setColWidthSearch(i + 1, columnwidths::toSave(m_lstSearch, i, stored[std::size_t(i)]));
}

bool SearchPane::showRowOf(QTreeWidget *list)
{
    operationsOf<DetailsOperations>(w.window).setFormEditMode(false);
    QTreeWidgetItem *row = selectedItemOf(list);
    if (!row)
        return false;
    return showVardeckWithFolder(w, tagOf(row));
}

void SearchPane::highlightRowOf(const QString &wid)
{
    for (QTreeWidget *rows : {m_lstSrch, m_lstSearch})
        highlightTagged(rows, wid);
}

void SearchPane::lstSrch_Click()
{
    showRowOf(m_lstSrch);
}

void SearchPane::lstSearch_DblClick()
{
    showRowOf(m_lstSearch);
}

void SearchPane::showSortIndicator(QTreeWidget *list, const ListSortState &sort)
{
    list->header()->setSortIndicator(sort.column, sort.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void SearchPane::lstSrch_ColumnClick(int column)
{
    m_compactSort.headerClicked(column);
    sortRows(m_lstSrch, m_compactSort.column, m_compactSort.descending);
    showSortIndicator(m_lstSrch, m_compactSort);
}

void SearchPane::lstSearch_ColumnClick(int column)
{
    m_detailedSort.headerClicked(column);
    sortRows(m_lstSearch, m_detailedSort.column, m_detailedSort.descending);
    showSortIndicator(m_lstSearch, m_detailedSort);
}

void SearchPane::lstSrch_MouseDown(Qt::MouseButton button, const QPoint &pos)
{
    w.popup.listPressed(EntryList::SearchList);
    if (button == Qt::RightButton)
        w.menus.listPopup(m_lstSrch, EntryList::SearchList, m_lstSrch->itemAt(pos), false);
}

void SearchPane::lstSearch_MouseDown(Qt::MouseButton button, const QPoint &pos)
{
    w.popup.listPressed(EntryList::SearchResults);
    if (button == Qt::RightButton && w.shown.editState() == EditState::Viewing)
        w.menus.listPopup(m_lstSearch, EntryList::SearchResults, m_lstSearch->itemAt(pos), true);
}

QString SearchPane::lstSrchToolTip(const QPoint &pos) const
{
    return vardeckAddress(w.db.document(), tagOf(m_lstSrch->itemAt(pos)));
}

// A drop on the detailed list: what the window does with it, which the explorer's
// drops decide.
bool SearchPane::dropEvent(QEvent *event)
{
    auto *drop = static_cast<QDropEvent *>(event);
    ListDropOperations &drops = operationsOf<ListDropOperations>(w.window);
    const bool accepted = drops.acceptsListDrop(drop->mimeData());
    if (!accepted) {
        drop->ignore();
        return true;
    }
    drop->acceptProposedAction();
    if (event->type() == QEvent::Drop)
        drops.dropOnList(drop->mimeData());
    return true;
}

bool SearchPane::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    // The window is drawn as it is shown (exposed): the kept texts are made from the
    // next turn of the event loop on, after that drawing.
    if (watched == &w.window) {
        const auto *top = qobject_cast<QWidget *>(watched);
        QWindow *handle = top ? top->windowHandle() : nullptr;
        if (type == QEvent::Show && handle && m_drawnWindow != handle) {
            m_drawnWindow = handle;
            handle->installEventFilter(this);
        }
        return false;
    }
    if (watched == m_drawnWindow) {
        if (type == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed())
            QTimer::singleShot(0, this, [this] { m_keep.follow(); });
        return false;
    }
    if (!windowUsable(this))
        return false;
    if (watched == m_Frame4) {
        if (type == QEvent::ContentsRectChange || type == QEvent::Resize)
            placeFieldBoxes();
        return false;
    }
    if (watched == m_resultsCaption || watched == m_foundCaption) {
        if (type != QEvent::MouseButtonPress || static_cast<QMouseEvent *>(event)->button() != Qt::RightButton)
            return false;
        // "Found:" offers to copy the shown Vardeck, as the details panel's captions do.
        if (watched == m_foundCaption && w.shown.editState() == EditState::Viewing && w.shown.folderShown() &&
            w.shown.vardeckShown())
            w.menus.popupMenu(MenuId::mnuCopyMenu);
        return true;
    }
    const bool searchBox = watched == m_cmbSearch || watched == m_cmbSearch->lineEdit();
    if (searchBox) {
        if (type == QEvent::FocusIn) {
            cmbSearch_GotFocus();
            m_keep.follow();
        }
        // Enter runs the search once, here, before the box would take it as a pick.
        if (type == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event))) {
            cmdSearch_Click();
            return true;
        }
        return false;
    }
    if (watched == m_lstSearch) {
        if (type == QEvent::FocusIn)
            releaseSearchButton();
        if (type == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event))) {
            // Its question comes once the key's delivery is over.
            QTimer::singleShot(0, this, [this] { w.commands.lstSearch_DblClick(); });
            return true;
        }
        return false;
    }
    if (watched == m_lstSrch) {
        if (type == QEvent::FocusIn)
            releaseSearchButton();
        return false;
    }
    const bool detailedView = watched == m_lstSearch->viewport();
    const bool compactView = watched == m_lstSrch->viewport();
    if (detailedView && (type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop))
        return dropEvent(event);
    if ((detailedView || compactView) && type == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint pos = mouse->position().toPoint();
        if (detailedView)
            lstSearch_MouseDown(mouse->button(), pos);
        else
            lstSrch_MouseDown(mouse->button(), pos);
        // A right-click has chosen its rows and menu; the list must not change them.
        return mouse->button() == Qt::RightButton;
    }
    if (compactView && type == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString address = lstSrchToolTip(help->pos());
        if (address.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), toolTipText(address), m_lstSrch->viewport());
        return true;
    }
    return false;
}

} // namespace rr
