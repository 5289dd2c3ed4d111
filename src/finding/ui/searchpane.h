#pragma once
// The Search tab and the two result lists: the search box cmbSearch with its history,
// the six field boxes and the two option boxes in "Search in" (Frame4), the Search
// button cmdSearch, the captions "Search results:" and "Found:" with the count
// lblFound, the compact list lstSrch on the tab, the detailed list lstSearch on the
// right, and the commands that lead into a search (the details panel's three search
// buttons, Tools > Search). The pane makes these controls and is the only one to
// touch them; the frame lays out those it is handed.
#include "finding/listcells.h"
#include "finding/searchresults.h"
#include "finding/ui/findingwindow.h"
#include "finding/wordsearch.h"
#include "platform/gui/entrylist.h"

#include <QObject>
#include <QPoint>

#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMimeData;
class QTimer;
class QTreeWidget;

namespace rr
{

class qbButtons_H;

class SearchPane : public QObject
{
    Q_OBJECT
public:
    explicit SearchPane(const FindingWindow &w);
    // The question before an edit was dropped was answered No: the highlight goes back
    // to the row of the Vardeck being edited, or to none ("": an add).
    void highlightRowOf(const QString &wid);

    // Runs the search with the box's text and the ticked fields, fills both lists
    // (or empties them and says nothing was found), records the text in the history,
    // and opens the first row or shows the detailed list when the options say so.
    void cmdSearch_Click();
    // A pick from the box's list, by mouse or arrow keys: that search runs at once.
    void cmbSearch_Click();
    void cmbSearch_GotFocus();
    void chkSearch_Click(FieldBox box);
    void chkOpt_Click();
    void chkOptt_Click();
    // 0 the shown Vardeck's domain, 1 its last-visited date, 2 its created date.
    void cmdSearchHome_Click(int index);
    // Tools > Search items: the Search tab with only that field box ticked; no search.
    void prepareSearch(FieldBox box);
    void unselectSearch(FieldBox box);
    // The option boxes show the user options.
    void showSearchOptions();

    void populateSearchResults(const QList<SearchResult> &results);
    void clearSearchResults();
    // Refills the box's list from the history, newest first, keeping the typed text.
    void populateSearchList();
    // The rows of Vardecks the document no longer holds leave both lists; nothing
    // stays selected in them.
    void dropRowsOfGoneVardecks();
    // The detailed list's rows of the Vardeck show the count.
    void showHitsOf(const QString &wid, int hits);
    // The keyboard went elsewhere: Enter no longer presses the Search button.
    void releaseSearchButton();
    // Go First (1), Previous (2), Next (3) or Last (4) in the compact list.
    void goToRow(int move);
    void markRecentRows();

    // The WID of the selected row of lstSrch or lstSearch, and of all its selected rows.
    QString selectedRowOf(EntryList list) const;
    QStringList selectedRowsOf(EntryList list) const;

    // The detailed list's column widths from the settings, and to them.
    void restoreColumns();
    void saveColumns();

    void lstSrch_Click();
    void lstSearch_DblClick();
    void lstSrch_ColumnClick(int column);
    void lstSearch_ColumnClick(int column);
    // Right-clicks: the list popups (pos in the list's viewport).
    void lstSrch_MouseDown(Qt::MouseButton button, const QPoint &pos);
    void lstSearch_MouseDown(Qt::MouseButton button, const QPoint &pos);
    // The address of the row's Vardeck under pos, "" over empty space.
    QString lstSrchToolTip(const QPoint &pos) const;

    const SearchFieldBoxes &fieldBoxes() const { return m_boxes; }
    // The search and its kept texts, which are made while the window is idle from the
    // moment it is first drawn.
    const WordSearch &wordSearch() const { return m_search; }
    const ListSortState &detailedSort() const { return m_detailedSort; }
    const ListSortState &compactSort() const { return m_compactSort; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void buildSearchTab();
    void wire();
    // The five rows of boxes inside "Search in", below the line its caption stands on.
    void placeFieldBoxes();
    QCheckBox *fieldBox(FieldBox box) const { return m_fieldBoxes[std::size_t(box)]; }
    QTreeWidget *list(EntryList list) const;
    void readBoxes();
    void applyBoxes();
    void selectSearchText();
    void openFirstResult();
    void showSortIndicator(QTreeWidget *list, const ListSortState &sort);
    bool showRowOf(QTreeWidget *list);
    bool dropEvent(QEvent *event);
    // "Found:" as the rows left of the last fill say: how many match beside how many
    // are listed when the fill listed fewer than matched.
    void showFoundCount();

    const FindingWindow w;
    QComboBox *m_cmbSearch = nullptr;
    QLabel *m_Picture5 = nullptr;
    qbButtons_H *m_cmdSearch = nullptr;
    QGroupBox *m_Frame4 = nullptr;
    // chkSearch(0) to chkSearch(5), by what they search.
    std::array<QCheckBox *, std::size_t(FieldBox::Count)> m_fieldBoxes{};
    QCheckBox *m_openFirstResult = nullptr;     // chkOpt(6)
    QCheckBox *m_showDetailedResults = nullptr; // chkOptt(7)
    QLabel *m_resultsCaption = nullptr;         // lbl(0)
    QLabel *m_foundCaption = nullptr;           // lbl(1)
    QLabel *m_lblFound = nullptr;
    QTreeWidget *m_lstSrch = nullptr;
    QTreeWidget *m_lstSearch = nullptr;

    SearchFieldBoxes m_boxes;
    WordSearch m_search;
    // Makes the kept texts while the window is idle: once it is drawn, whenever the
    // search box is about to be used, and after a search that read the texts as the
    // document holds them.
    KeptTextsBuilder m_keep;
    // The window whose first drawing starts the making.
    QObject *m_drawnWindow = nullptr;
    // The last fill: how many Vardecks matched and how many rows it listed. The count
    // follows rows taken out of the lists from there.
    struct FoundCount {
        qsizetype matching = 0;
        qsizetype listed = 0;
    };
    std::shared_ptr<FoundCount> m_found = std::make_shared<FoundCount>();
    ListSortState m_detailedSort;
    ListSortState m_compactSort;
};

} // namespace rr
