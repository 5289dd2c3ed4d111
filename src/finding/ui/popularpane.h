#pragma once
// The Popular tab: listPop ranks the Vardecks of the open database by their visit
// count, and Tools > Clear popular list rankings resets every count. The pane makes
// the list and is the only one to touch it; the frame lays it out.
//
// The list holds rows only while its tab is the one shown: a rebuild asked for while
// another tab is shown (at start, after each visit) empties it, and showing the tab
// fills it. A large collection then pays for its ranking only when it is looked at.
#include "finding/ui/findingwindow.h"
#include "platform/xmldocument.h"

#include <QObject>
#include <QPoint>
#include <QStringList>

class QTreeWidget;

namespace rr
{

class PopularPane : public QObject
{
    Q_OBJECT
public:
    explicit PopularPane(const FindingWindow &w);
    // The question before an edit was dropped was answered No: the highlight goes back
    // to the row of the Vardeck being edited, or to none ("": an add).
    void highlightRowOf(const QString &wid);

    // One row per visited Vardeck, most visits first, now when the Popular tab is
    // shown, else when it is next shown; null empties the list.
    void populatePopList(XmlDocument *doc);
    // After the question, every count becomes 1 and the file is saved.
    void mnuClearPop_Click();
    // Shows the selected row's Vardeck with its folder.
    void listPop_Click();
    void listPop_MouseDown(Qt::MouseButton button, const QPoint &pos);
    void listPop_MouseMove(const QPoint &pos);

    // The WID of the list's selected row (its current row when selected, else the
    // first selected), and of its current row, which its popup opens ("" none).
    QString selectedRow() const;
    QString currentRow() const;
    // The rows of Vardecks the document no longer holds leave the list; nothing stays
    // selected.
    void dropRowsOfGoneVardecks();
    // The rows of these Vardecks leave the list.
    void removeVardeckRows(const QStringList &wids);
    // The Vardeck's rows show its new name.
    void showNameOf(const QString &wid, const QString &name);
    // Go First (1), Previous (2), Next (3) or Last (4) in the list.
    void goToRow(int move);
    void markRecentRows();
    // Whether the Popular tab is the one shown.
    bool tabShown() const;

signals:
    // The rankings were cleared: every count is 1, these Vardecks' among them.
    void countsReset(const QStringList &wids);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showResetCounts(const QStringList &reset);
    void fill(const XmlDocument *doc);

    const FindingWindow w;
    QTreeWidget *m_listPop = nullptr;
    // Rows are owed to the list: it was emptied while its tab was hidden.
    bool m_stale = false;
};

} // namespace rr
