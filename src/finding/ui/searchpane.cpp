#include "finding/ui/searchpane.h"

#include "controls/qbbuttons_h.h"
#include "finding/searchhistory.h"
#include "finding/searchresults.h"
#include "finding/ui/listrows.h"
#include "media/urlsupport.h"
#include "platform/gui/listviews.h"
#include "platform/prompt.h"
#include "platform/textutil.h"
#include "shell/frmvardecks.h"
#include "shell/openaddress.h"
#include "storage/session.h"
#include "storage/useroptions.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QToolTip>
#include <QTreeWidget>

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

} // namespace

SearchPane::SearchPane(frmVardecks &w) : QObject(&w), w(w)
{
    setObjectName(QStringLiteral("SearchPane"));
    wire();
}

void SearchPane::wire()
{
    // A pick from the list, by mouse or with the arrow keys, searches at once. The box
    // would also take leaving it, or Enter, with a remembered text as a pick: Enter
    // is handled below, and leaving the box must search nothing. Typing is not
    // completed from the history either: the text searched is the text typed.
    QComboBox *box = w.cmbSearch;
    box->setCompleter(nullptr);
    if (QLineEdit *edit = box->lineEdit()) {
        disconnect(edit, &QLineEdit::editingFinished, nullptr, nullptr);
        edit->installEventFilter(this);
    }
    connect(box, &QComboBox::activated, this, [this](int) { cmbSearch_Click(); });
    box->installEventFilter(this);

    for (QTreeWidget *list : {w.lstSearch, w.lstSrch}) {
        sortByHand(list);
        selectCurrentOnFocus(list);
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
    showSortIndicator(w.lstSearch, m_detailedSort);
    showSortIndicator(w.lstSrch, m_compactSort);
    connect(w.lstSearch->header(), &QHeaderView::sectionClicked, this, &SearchPane::lstSearch_ColumnClick);
    connect(w.lstSrch->header(), &QHeaderView::sectionClicked, this, &SearchPane::lstSrch_ColumnClick);
    connect(w.lstSrch, &QTreeWidget::itemClicked, this, [this] { lstSrch_Click(); });
    // Every key pressed in the compact list shows the row it reached.
    showRowOnKeyRelease(w.lstSrch, [this] {
        if (windowUsable(this))
            lstSrch_Click();
    });
    connect(w.lstSearch, &QTreeWidget::itemDoubleClicked, this, [this] { lstSearch_DblClick(); });

    // Whatever takes results out of the list (a deletion, an edit, another database),
    // the "Found:" count says what is left.
    // The label is the connection's context: a window being torn down, emptying its
    // list, never writes to a label already gone.
    QAbstractItemModel *results = w.lstSrch->model();
    const auto countLeft = [label = w.lblFound, results] { label->setText(QString::number(results->rowCount())); };
    connect(results, &QAbstractItemModel::rowsRemoved, w.lblFound, countLeft);
    connect(results, &QAbstractItemModel::modelReset, w.lblFound, countLeft);
}

// ----- the field boxes -----

void SearchPane::readBoxes()
{
    for (int i = 0; i < SearchFieldBoxes::kCount; ++i)
        m_boxes.ticked[i] = w.chkSearch(i)->isChecked();
}

// The rules have run on the state already: setting the boxes must not run them again.
void SearchPane::applyBoxes()
{
    for (int i = 0; i < SearchFieldBoxes::kCount; ++i) {
        QCheckBox *box = w.chkSearch(i);
        const QSignalBlocker block(box);
        box->setChecked(m_boxes.ticked[i]);
    }
}

void SearchPane::selectSearchText()
{
    if (QLineEdit *edit = w.cmbSearch->lineEdit())
        edit->setSelection(0, 40);
    w.cmbSearch->setFocus();
}

void SearchPane::chkSearch_Click(int index)
{
    selectSearchText();
    readBoxes();
    m_boxes.clicked(index);
    applyBoxes();
}

void SearchPane::unselectSearch(int index)
{
    readBoxes();
    m_boxes.unselectSearch(index);
    applyBoxes();
}

void SearchPane::chkOpt_Click()
{
    appOptions().setOpenFirst(w.chkOpt(6)->isChecked());
}

void SearchPane::chkOptt_Click()
{
    appOptions().setShowDetailSearch(w.chkOptt(7)->isChecked());
}

void SearchPane::prepareSearch(int box)
{
    w.commands.showAspectExplorer();
    w.showIndexTab(IndexTab::Search);
    w.cmbSearch->setFocus();
    readBoxes();
    m_boxes.selectOnly(box);
    applyBoxes();
}

void SearchPane::cmdSearchHome_Click(int index)
{
    QString text;
    switch (DetailSearch(index)) {
    case DetailSearch::Domain:
        text = urlSupport::calcDomain(w.commands.detailsText(DetailsField::HomePage));
        if (text.isEmpty())
            text = w.commands.detailsText(DetailsField::Address);
        break;
    case DetailSearch::LastVisited:
        text = w.commands.detailsText(DetailsField::LastVisited).left(11);
        break;
    case DetailSearch::CreatedDate:
        text = w.commands.detailsText(DetailsField::CreatedDate);
        break;
    default:
        return;
    }
    w.cmbSearch->setEditText(text);
    w.showIndexTab(IndexTab::Search);
    w.cmbSearch->setFocus();
    readBoxes();
    m_boxes.selectOnly(0);
    applyBoxes();
    cmdSearch_Click();
}

// ----- the search -----

void SearchPane::cmdSearch_Click()
{
    const BusyCursor busy;
    readBoxes();
    const QString text = w.cmbSearch->currentText();
    const QList<SearchResult> results = runSearchCommand(m_search, w.dbXML.document(), text, m_boxes);
    if (results.isEmpty())
        prompt::show(QStringLiteral("No search results were found"));
    applyBoxes();
    if (results.isEmpty())
        clearSearchResults();
    else
        populateSearchResults(results);
    w.lblFound->setText(QString::number(results.size()));
    populateSearchList();
    if (!results.isEmpty() && w.chkOpt(6)->isChecked())
        openFirstResult();
    if (w.chkOptt(7)->isChecked())
        w.showViewTab(ViewTab::SearchResults);
}

void SearchPane::cmbSearch_Click()
{
    cmdSearch_Click();
}

void SearchPane::cmbSearch_GotFocus()
{
    w.setDefaultButton(w.cmdSearch);
}

// The first row after the sort, the one with the most matches. Opening it records no
// visit.
void SearchPane::openFirstResult()
{
    const XmlNode vardeck = w.dbXML.vardeck(tagOf(w.lstSearch->topLevelItem(0)));
    if (!vardeck)
        return;
    openInBrowser(vardeck.childText(QStringLiteral("ADDRESS")));
    w.commands.displayVardeckData(vardeck);
}

void SearchPane::populateSearchResults(const QList<SearchResult> &results)
{
    const QList<SearchRow> rows = buildSearchRows(w.dbXML.document(), results, session().recentColl);
    m_detailedSort = ListSortState{};
    m_compactSort = ListSortState{};
    clearSearchResults();
    for (QTreeWidget *list : {w.lstSearch, w.lstSrch})
        list->setUpdatesEnabled(false);
    for (const SearchRow &row : rows) {
        const QIcon icon = w.vardeckPictures().of(row.wid, false);
        QStringList detailed;
        for (int column = 0; column < SearchRow::kDetailedColumns; ++column)
            detailed << row.detailedCell(column);
        addRow(w.lstSearch, detailed, row.wid, row.bold, icon);
        addRow(w.lstSrch, {row.compactCell(0), row.compactCell(1)}, row.wid, row.bold, icon);
    }
    for (QTreeWidget *list : {w.lstSearch, w.lstSrch})
        list->setUpdatesEnabled(true);
    showSortIndicator(w.lstSearch, m_detailedSort);
    showSortIndicator(w.lstSrch, m_compactSort);
}

void SearchPane::clearSearchResults()
{
    w.lstSearch->clear();
    w.lstSrch->clear();
}

void SearchPane::populateSearchList()
{
    QComboBox *box = w.cmbSearch;
    const QString text = box->currentText();
    const QSignalBlocker block(box);
    box->clear();
    box->addItems(searchListItems());
    box->setCurrentIndex(-1);
    box->setEditText(text);
}

// ----- the result lists -----

bool SearchPane::showRowOf(QTreeWidget *list)
{
    if (!w.confirmLoseChanges())
        return false;
    w.commands.setFormEditMode(false);
    QTreeWidgetItem *row = selectedItemOf(list);
    if (!row)
        return false;
    return showVardeckWithFolder(w, tagOf(row));
}

void SearchPane::lstSrch_Click()
{
    showRowOf(w.lstSrch);
}

void SearchPane::lstSearch_DblClick()
{
    showRowOf(w.lstSearch);
}

void SearchPane::showSortIndicator(QTreeWidget *list, const ListSortState &sort)
{
    list->header()->setSortIndicator(sort.column, sort.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void SearchPane::lstSrch_ColumnClick(int column)
{
    m_compactSort.headerClicked(column);
    sortRows(w.lstSrch, m_compactSort.column, m_compactSort.descending);
    showSortIndicator(w.lstSrch, m_compactSort);
}

void SearchPane::lstSearch_ColumnClick(int column)
{
    m_detailedSort.headerClicked(column);
    sortRows(w.lstSearch, m_detailedSort.column, m_detailedSort.descending);
    showSortIndicator(w.lstSearch, m_detailedSort);
}

void SearchPane::lstSrch_MouseDown(Qt::MouseButton button, const QPoint &pos)
{
    w.popup.listPressed(QStringLiteral("lstSrch"));
    if (button == Qt::RightButton)
        w.listPopup(w.lstSrch, QStringLiteral("lstSrch"), w.lstSrch->itemAt(pos), false);
}

void SearchPane::lstSearch_MouseDown(Qt::MouseButton button, const QPoint &pos)
{
    w.popup.listPressed(QStringLiteral("lstSearch"));
    if (button == Qt::RightButton && w.editState() == EditState::Viewing)
        w.listPopup(w.lstSearch, QStringLiteral("lstSearch"), w.lstSearch->itemAt(pos), true);
}

QString SearchPane::lstSrchToolTip(const QPoint &pos) const
{
    return vardeckAddress(w.dbXML.document(), tagOf(w.lstSrch->itemAt(pos)));
}

bool SearchPane::eventFilter(QObject *watched, QEvent *event)
{
    if (!windowUsable(this))
        return false;
    const QEvent::Type type = event->type();
    const bool searchBox = watched == w.cmbSearch || watched == w.cmbSearch->lineEdit();
    if (searchBox) {
        if (type == QEvent::FocusIn)
            cmbSearch_GotFocus();
        // Enter runs the search once, here, before the box would take it as a pick.
        if (type == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event))) {
            cmdSearch_Click();
            return true;
        }
        return false;
    }
    if (watched == w.lstSearch) {
        if (type == QEvent::FocusIn && w.defaultButton() == w.cmdSearch)
            w.setDefaultButton(nullptr);
        if (type == QEvent::KeyPress && isEnter(static_cast<QKeyEvent *>(event))) {
            lstSearch_DblClick();
            return true;
        }
        return false;
    }
    if (watched == w.lstSrch) {
        if (type == QEvent::FocusIn && w.defaultButton() == w.cmdSearch)
            w.setDefaultButton(nullptr);
        return false;
    }
    const bool detailedView = watched == w.lstSearch->viewport();
    const bool compactView = watched == w.lstSrch->viewport();
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
            QToolTip::showText(help->globalPos(), toolTipText(address), w.lstSrch->viewport());
        return true;
    }
    return false;
}

} // namespace rr
