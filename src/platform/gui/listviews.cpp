#include "platform/gui/listviews.h"

#include "platform/gui/itemtags.h"
#include "platform/textutil.h"

#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTreeWidget>

namespace rr
{
namespace
{

enum Move { First = 1, Previous = 2, Next = 3, Last = 4 };

void selectAndReveal(QTreeWidget *view, QTreeWidgetItem *item)
{
    view->clearSelection();
    view->setCurrentItem(item);
    item->setSelected(true);
    view->scrollToItem(item);
}

bool moveInTree(QTreeWidget *tree, int move)
{
    const int count = tree->topLevelItemCount();
    if (count == 0)
        return false;
    if (move == First || move == Last) {
        selectAndReveal(tree, tree->topLevelItem(move == First ? 0 : count - 1));
        return true;
    }
    QTreeWidgetItem *current = tree->currentItem();
    if (!current || !current->isSelected())
        return false;
    QTreeWidgetItem *parent = current->parent();
    const int at = parent ? parent->indexOfChild(current) : tree->indexOfTopLevelItem(current);
    const int to = move == Previous ? at - 1 : at + 1;
    const int siblings = parent ? parent->childCount() : count;
    if (to < 0 || to >= siblings)
        return false;
    selectAndReveal(tree, parent ? parent->child(to) : tree->topLevelItem(to));
    return true;
}

bool moveInList(QTreeWidget *list, int move)
{
    const int count = list->topLevelItemCount();
    if (count == 0)
        return false;
    if (move == First || move == Last) {
        selectAndReveal(list, list->topLevelItem(move == First ? 0 : count - 1));
        return true;
    }
    QTreeWidgetItem *current = list->currentItem();
    if (!current || !current->isSelected())
        return false;
    const int to = list->indexOfTopLevelItem(current) + (move == Previous ? -1 : 1);
    if (to >= 0 && to < count)
        selectAndReveal(list, list->topLevelItem(to));
    return true;
}

class SelectOnFocus final : public QObject
{
public:
    explicit SelectOnFocus(QAbstractItemView *view) : QObject(view), m_view(view) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_view || event->type() != QEvent::FocusIn)
            return false;
        // A click chooses its own row; a window or a popup handing the focus back
        // leaves the selection as the user left it.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::TabFocusReason && reason != Qt::BacktabFocusReason && reason != Qt::ShortcutFocusReason &&
            reason != Qt::OtherFocusReason)
            return false;
        QItemSelectionModel *selection = m_view->selectionModel();
        QAbstractItemModel *model = m_view->model();
        if (!selection || !model || selection->hasSelection() || model->rowCount() == 0)
            return false;
        QModelIndex row = m_view->currentIndex();
        if (!row.isValid())
            row = model->index(0, 0);
        selection->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        return false;
    }

private:
    QAbstractItemView *m_view;
};

class KeyReleaseShows final : public QObject
{
public:
    KeyReleaseShows(QAbstractItemView *view, std::function<void()> shown)
        : QObject(view), m_view(view), m_shown(std::move(shown))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_view)
            return false;
        const QEvent::Type type = event->type();
        if (type == QEvent::FocusOut)
            m_pressed = false;
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
            return false;
        if (static_cast<QKeyEvent *>(event)->isAutoRepeat())
            return false;
        if (type == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            const bool modifierAlone = key->key() == Qt::Key_Control || key->key() == Qt::Key_Shift ||
                                       key->key() == Qt::Key_Alt || key->key() == Qt::Key_Meta;
            m_pressed = !command && !modifierAlone;
        } else if (m_pressed) {
            m_pressed = false;
            m_shown();
        }
        return false;
    }

private:
    QAbstractItemView *m_view;
    std::function<void()> m_shown;
    bool m_pressed = false;
};

int rowTagged(const QAbstractItemModel *model, const QString &tag)
{
    if (!model || tag.isEmpty())
        return -1;
    for (int row = 0; row < model->rowCount(); ++row) {
        if (sameText(model->index(row, 0).data(kTagRole).toString(), tag))
            return row;
    }
    return -1;
}

} // namespace

void sortByHand(QTreeWidget *list)
{
    list->setSortingEnabled(false);
    list->header()->setSectionsClickable(true);
    list->header()->setSortIndicatorShown(true);
}

void selectCurrentOnFocus(QAbstractItemView *view)
{
    view->installEventFilter(new SelectOnFocus(view));
}

void showRowOnKeyRelease(QAbstractItemView *view, std::function<void()> shown)
{
    view->installEventFilter(new KeyReleaseShows(view, std::move(shown)));
}

void chooseKeyboardRow(QAbstractItemView *view)
{
    QItemSelectionModel *selection = view->selectionModel();
    const QModelIndex row = view->currentIndex();
    if (selection && row.isValid() && !selection->hasSelection())
        selection->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void focusRowTagged(QAbstractItemView *view, const QString &tag)
{
    if (!view)
        return;
    const int row = rowTagged(view->model(), tag);
    if (row >= 0 && view->selectionModel())
        view->selectionModel()->setCurrentIndex(view->model()->index(row, 0), QItemSelectionModel::NoUpdate);
    // Handed back as a closing question hands it back: the row is not chosen by it.
    view->setFocus(Qt::ActiveWindowFocusReason);
}

void goToRow(QTreeWidget *view, bool tree, int move, const std::function<bool()> &editing,
             const std::function<void()> &shown)
{
    if (move < First || move > Last)
        return;
    const QPersistentModelIndex before(view->currentIndex());
    const bool wasEditing = editing();
    if (!(tree ? moveInTree(view, move) : moveInList(view, move)))
        return;
    shown();
    if (wasEditing && editing()) {
        if (QTreeWidgetItem *edited = before.isValid() ? view->itemFromIndex(before) : nullptr)
            selectAndReveal(view, edited);
        else
            view->clearSelection();
        return;
    }
    view->setFocus();
}

} // namespace rr
