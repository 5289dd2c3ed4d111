#pragma once
// The Search tab and the two result lists: the search box with its history, the six
// field boxes and the two option boxes, the Search button and the commands that lead
// into a search (the details panel's three search buttons, Tools > Search), the
// compact list lstSrch on the tab and the detailed list lstSearch on the right.
#include "finding/listcells.h"
#include "finding/wordsearch.h"

#include <QObject>
#include <QPoint>

class QTreeWidget;

namespace rr
{

class frmVardecks;

class SearchPane : public QObject
{
    Q_OBJECT
public:
    explicit SearchPane(frmVardecks &w);

    // Runs the search with the box's text and the ticked fields, fills both lists
    // (or empties them and says nothing was found), records the text in the history,
    // and opens the first row or shows the detailed list when the options say so.
    void cmdSearch_Click();
    // A pick from the box's list, by mouse or arrow keys: that search runs at once.
    void cmbSearch_Click();
    void cmbSearch_GotFocus();
    void chkSearch_Click(int index);
    void chkOpt_Click();
    void chkOptt_Click();
    // 0 the shown Vardeck's domain, 1 its last-visited date, 2 its created date.
    void cmdSearchHome_Click(int index);
    // Tools > Search items: the Search tab with only field box `box` ticked; no search.
    void prepareSearch(int box);
    void unselectSearch(int index);

    void populateSearchResults(const QList<SearchResult> &results);
    void clearSearchResults();
    // Refills the box's list from the history, newest first, keeping the typed text.
    void populateSearchList();

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
    const ListSortState &detailedSort() const { return m_detailedSort; }
    const ListSortState &compactSort() const { return m_compactSort; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void wire();
    void readBoxes();
    void applyBoxes();
    void selectSearchText();
    void openFirstResult();
    void showSortIndicator(QTreeWidget *list, const ListSortState &sort);
    bool showRowOf(QTreeWidget *list);

    frmVardecks &w;
    SearchFieldBoxes m_boxes;
    WordSearch m_search;
    ListSortState m_detailedSort;
    ListSortState m_compactSort;
};

} // namespace rr
