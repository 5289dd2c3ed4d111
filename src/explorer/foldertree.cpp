#include "explorer/foldertree.h"
#include "storage/record.h"
#include "storage/ui/savereport.h"

#include "controls/qbbuttons_h.h"
#include "dialogs/dialogresults.h"
#include "dialogs/frmmodifytopic.h"
#include "dialogs/frmtopicdialog.h"
#include "explorer/dialoghosts.h"
#include "explorer/editmode.h"
#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "platform/gui/caselessitem.h"
#include "platform/gui/partoperations.h"
#include "platform/gui/singleline.h"
#include "platform/prompt.h"
#include "platform/xmldocument.h"
#include "shell/dragsources.h"
#include "shell/fonthelpers.h"
#include "shell/frmvardecks.h"
#include "shell/installedpart.h"
#include "shell/panecontrols.h"
#include "shell/pictures.h"
#include "shell/twips.h"
#include "shell/windowstate.h"
#include "storage/xmldatabase.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <utility>

namespace rr
{
namespace
{

// A typed name goes to the rename handler, which decides what the node shows. No
// editor opens while a Vardeck is being added or modified (the delayed editor of a
// second click would take the typing meant for the details panel). Enter, the user's
// click elsewhere in the window, Tab and Shift+Tab and any command of the window keep
// the name; Esc, and a focus the editor loses to anything else, close it without
// renaming.
class LabelEditDelegate : public QStyledItemDelegate
{
public:
    LabelEditDelegate(QTreeWidget *tree, FolderTree *owner, frmVardecks &w)
        : QStyledItemDelegate(tree), m_tree(tree), m_owner(owner), w(w)
    {
        // However the editor closes, it is no longer the one to end.
        connect(this, &QAbstractItemDelegate::closeEditor, this, [this](QWidget *editor) {
            if (m_editor.data() == editor)
                m_editor.clear();
        });
    }
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (w.editState() != EditState::Viewing)
            return nullptr;
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto *box = qobject_cast<QLineEdit *>(editor))
            keepSingleLine(box);
        m_editor = editor;
        return editor;
    }
    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const override
    {
        auto *edit = qobject_cast<QLineEdit *>(editor);
        QTreeWidgetItem *node = m_tree->itemFromIndex(index);
        // The rename runs commands of its own (the caption of the shown folder), whose
        // prologue must leave the editor to the view's own closing.
        const QScopedValueRollback<bool> committing(m_committing, true);
        if (edit && node)
            m_owner->tvwTopics_AfterLabelEdit(node, edit->text());
    }
    // Closes an open editor, keeping the typed name.
    void commitEditor()
    {
        if (m_committing)
            return;
        if (QWidget *editor = m_editor.data()) {
            m_editor.clear();
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }
    // Closes an open editor without renaming.
    void dropEditor()
    {
        if (QWidget *editor = m_editor.data()) {
            m_editor.clear();
            emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        }
    }

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (object != m_editor.data())
            return QStyledItemDelegate::eventFilter(object, event);
        if (event->type() == QEvent::KeyPress) {
            // The view's own way with Tab would open the next folder's editor with its
            // name selected, for the user's next keys to rename. The name is kept once
            // the key is delivered, as Enter keeps it: the rename may have a question.
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
                QMetaObject::invokeMethod(
                    this, [this] { commitEditor(); }, Qt::QueuedConnection);
                return true;
            }
        }
        if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            const bool clickedElsewhere = reason == Qt::MouseFocusReason && w.editState() == EditState::Viewing;
            if (!clickedElsewhere) {
                // A popup or a question of the window's own leaves the editor open.
                if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
                    return false;
                dropEditor();
                return false;
            }
        }
        return QStyledItemDelegate::eventFilter(object, event);
    }

private:
    QTreeWidget *m_tree;
    FolderTree *m_owner;
    frmVardecks &w;
    mutable QPointer<QWidget> m_editor;
    mutable bool m_committing = false;
};

bool isDescendantOf(const QTreeWidgetItem *node, const QTreeWidgetItem *ancestor)
{
    for (const QTreeWidgetItem *p = node ? node->parent() : nullptr; p; p = p->parent()) {
        if (p == ancestor)
            return true;
    }
    return false;
}

} // namespace

void selectShownFolder(frmVardecks &w)
{
    FolderTree::of(w).selectFolderOrNone(w.currentTID());
}

void FolderTree::selectFolderOrNone(const QString &tid)
{
    // The tree stays scrolled where the user left it (a drop far from the folder shown).
    const int scrolled = m_tree->verticalScrollBar()->value();
    if (QTreeWidgetItem *shown = findByTag(m_tree, tid)) {
        m_tree->setCurrentItem(shown);
    } else {
        m_tree->clearSelection();
        m_tree->setCurrentItem(nullptr);
    }
    m_tree->verticalScrollBar()->setValue(scrolled);
}

FolderTree::FolderTree(frmVardecks &window) : QObject(&window), w(window)
{
    setObjectName(QStringLiteral("folderTree"));
    m_tree = makeOneColumnTree(w.pane(Pane::FolderSplitter), QStringLiteral("tvwTopics"));
    twips::move(m_tree, 0, 0, 3300, 2640);
    m_moveButton = makePaneButton(w.pane(Pane::IndexPage), QStringLiteral("cmdMoveFolder"), QStringLiteral("Move"), 960,
                                  5760, 855, 630);
    m_moveButton->setPicture(pictures::draw(pictures::Kind::MoveFolder));
    m_moveButton->setPictureAlign(4);
    m_moveButton->setToolTip(QStringLiteral("Move the selected folder to another folder"));
    connect(m_moveButton, &qbButtons_H::Click, this, [this] { w.commands.cmdMoveFolder_Click(); });
    w.addToLayout(Place::FolderTree, m_tree);
    w.addToLayout(Place::MoveFolderButton, m_moveButton);
    connect(&w, &frmVardecks::indexTabShown, this, [this](IndexTab tab) {
        if (tab == IndexTab::Index)
            indexTabShown();
    });

    QTreeWidget *tree = m_tree;
    auto *delegate = new LabelEditDelegate(tree, this, w);
    tree->setItemDelegate(delegate);
    // Adding or modifying a Vardeck takes the keyboard: an open folder editor goes.
    connect(&w, &frmVardecks::editStateChanged, delegate, [this, delegate] {
        if (w.editState() != EditState::Viewing)
            delegate->dropEditor();
    });
    // A command ends a rename first, keeping the name: otherwise the editor would stay
    // open behind the command's questions and take the keyboard back afterwards.
    w.commands.beforeEveryCommand([delegate = QPointer<LabelEditDelegate>(delegate)] {
        if (delegate)
            delegate->commitEditor();
    });
    tree->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->viewport()->setMouseTracking(true);
    tree->viewport()->installEventFilter(this);
    tree->installEventFilter(this);
    connect(tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node) { tvwTopics_NodeClick(node); });
    connect(tree, &QTreeWidget::itemExpanded, this, &FolderTree::tvwTopics_Expand);
    connect(tree, &QTreeWidget::itemCollapsed, this, &FolderTree::tvwTopics_Collapse);
    // A right-click highlights the folder whose popup it opens, for as long as the popup
    // is open: its commands act on the folder right-clicked, not on the selection.
    if (QMenu *menu = w.subMenu(MenuId::mnuTopicMenu))
        connect(menu, &QMenu::aboutToHide, this, [this] { selectShownFolder(w); });
}

FolderTree &FolderTree::of(const frmVardecks &w)
{
    auto *part = installedPart<FolderTree>(w);
    Q_ASSERT_X(part, "FolderTree::of", "the window has no folder tree");
    return *part;
}

QTreeWidgetItem *FolderTree::root() const
{
    return m_tree->topLevelItem(0);
}

QWidget *FolderTree::moveButton(frmVardecks &w)
{
    // A window put together in part may have no folder tree: nothing to enable then.
    const auto *part = installedPart<FolderTree>(w);
    return part ? part->m_moveButton : nullptr;
}

bool FolderTree::isRoot(const QTreeWidgetItem *node) const
{
    return node && node == root();
}

QTreeWidgetItem *FolderTree::nodeOf(const QString &tid) const
{
    return findByTag(m_tree, tid);
}

QTreeWidgetItem *FolderTree::selectedNode() const
{
    return selectedItemOf(m_tree);
}

QTreeWidgetItem *FolderTree::currentNode() const
{
    return m_tree->currentItem();
}

QTreeWidgetItem *FolderTree::nodeAt(const QPoint &pos) const
{
    return m_tree->itemAt(pos);
}

TreeNodeRef FolderTree::selectedNodeRef() const
{
    return TreeNodeRef(m_tree, selectedItemOf(m_tree));
}

TreeNodeRef FolderTree::nodeRef(QTreeWidgetItem *node) const
{
    return TreeNodeRef(m_tree, node);
}

bool FolderTree::holds(const QTreeWidgetItem *node) const
{
    return node && node->treeWidget() == m_tree;
}

int FolderTree::shownPosition(const QTreeWidgetItem *node) const
{
    int index = 0;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        ++index;
        if (*it == node)
            return index;
    }
    return 0;
}

void FolderTree::selectNode(QTreeWidgetItem *node)
{
    m_tree->setCurrentItem(node);
}

QTreeWidgetItem *FolderTree::selectFolder(const QString &tid)
{
    QTreeWidgetItem *node = findByTag(m_tree, tid);
    if (node)
        m_tree->setCurrentItem(node);
    return node;
}

void FolderTree::removeFolderNode(const QString &tid)
{
    delete findByTag(m_tree, tid);
}

void FolderTree::clearFolders()
{
    m_tree->clear();
}

void FolderTree::setTreeShown(bool shown)
{
    m_tree->setVisible(shown);
}

void FolderTree::holdPainting(bool held)
{
    m_tree->setUpdatesEnabled(!held);
}

void FolderTree::focusTree()
{
    m_tree->setFocus();
}

bool FolderTree::focusTreeIfShown()
{
    if (!m_tree->isVisible() || !m_tree->isEnabled())
        return false;
    m_tree->setFocus(Qt::OtherFocusReason);
    return true;
}

void FolderTree::placeInTabOrder(QWidget *before, QWidget *after)
{
    QWidget::setTabOrder(before, m_tree);
    QWidget::setTabOrder(m_tree, after);
}

void FolderTree::takeDrags(DragSources &sources, std::function<QMimeData *(QTreeWidgetItem *)> start,
                           QObject *dropFilter)
{
    m_tree->setAcceptDrops(true);
    m_tree->viewport()->setAcceptDrops(true);
    m_tree->viewport()->installEventFilter(dropFilter);
    // A drag takes the node pressed on, whatever the tree has selected.
    sources.addSource(
        m_tree, [tree = m_tree, start = std::move(start)](const QPoint &pos) { return start(tree->itemAt(pos)); },
        Qt::MoveAction);
    sources.addTarget(m_tree);
}

bool FolderTree::isDropArea(const QObject *watched) const
{
    return watched == m_tree->viewport();
}

QTreeWidgetItem *FolderTree::dropHighlight() const
{
    return m_highlight.isValid() ? m_tree->itemFromIndex(m_highlight) : nullptr;
}

void FolderTree::setDropHighlight(QTreeWidgetItem *node)
{
    if (node && node == dropHighlight())
        return;
    clearDropHighlight();
    if (!node)
        return;
    const QPalette palette = m_tree->palette();
    node->setBackground(0, palette.brush(QPalette::Highlight));
    node->setForeground(0, palette.brush(QPalette::HighlightedText));
    m_highlight = QPersistentModelIndex(m_tree->indexFromItem(node));
}

void FolderTree::clearDropHighlight()
{
    if (QTreeWidgetItem *node = dropHighlight()) {
        node->setBackground(0, QBrush());
        node->setForeground(0, QBrush());
    }
    m_highlight = QPersistentModelIndex();
}

QIcon FolderTree::folderIcon(bool root) const
{
    return w.folderNodePicture(root);
}

void FolderTree::populateTopicList(XmlDocument *doc)
{
    QTreeWidget *tree = m_tree;
    const QSignalBlocker blocker(tree);
    tree->setUpdatesEnabled(false);
    tree->clear();
    if (doc && doc->isLoaded()) {
        const XmlNode rootElement = doc->documentElement();
        auto *root = new CaselessItem(tree);
        root->setIcon(0, folderIcon(true));
        root->setText(0, rootElement.nodeName());
        // Nothing of the root is stored: its label is not for editing.
        root->setFlags(root->flags() & ~Qt::ItemIsEditable);
        for (const XmlNode &folder : rootElement.childElements())
            populateTreeWithTopic(folder, root, false);
        root->sortChildren(0, Qt::AscendingOrder);
        root->setExpanded(true);
    }
    tree->setUpdatesEnabled(true);
    if (tree->isHidden())
        tree->show();
}

QTreeWidgetItem *FolderTree::populateTreeWithTopic(const XmlNode &folder, QTreeWidgetItem *parent, bool expand)
{
    auto *node = new CaselessItem(parent);
    node->setIcon(0, folderIcon(false));
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    node->setText(0, folder.childText(tag::Name));
    if (folder.hasAttribute(tag::Tid))
        setTag(node, folder.attribute(tag::Tid));
    for (const XmlNode &sub : folder.child(tag::SubFolders).childElements()) {
        populateTreeWithTopic(sub, node, expand);
        node->setExpanded(expand);
    }
    return node;
}

void FolderTree::populateWMOnTopicNode()
{
    QTreeWidgetItem *node = m_tree->currentItem();
    if (!node)
        return;
    if (isRoot(node)) {
        w.showNoFolder();
        VardeckViews::of(w).clearVardeckTree();
        return;
    }
    if (w.editState() != EditState::Viewing)
        w.showFolder(tagOf(node), node->text(0));
    else
        setNonEditableFields(w, false);
    // The list fill shows the folder, or no folder when it vanished meanwhile.
    VardeckViews::of(w).populateVardeckList(node);
}

void FolderTree::tvwTopics_NodeClick(QTreeWidgetItem *node)
{
    if (!node || isRoot(m_tree->currentItem()))
        return;
    // During an edit the folder shown is where the Vardeck is edited: showing it again
    // would change nothing the user asked for.
    if (w.editState() != EditState::Viewing && isShownFolder(node))
        return;
    if (!node->isSelected())
        node->setSelected(true);
    populateWMOnTopicNode();
    VardeckViews::of(w).unselectTreeNodes();
}

void FolderTree::tvwTopics_Collapse(QTreeWidgetItem *node)
{
    if (!node)
        return;
    VardeckViews &vardecks = VardeckViews::of(w);
    if (isRoot(node)) {
        vardecks.clearVardeckTree();
        return;
    }
    // A selected sub-folder that disappears into the collapsed branch hands the
    // selection to the collapsed folder.
    QTreeWidgetItem *selected = m_tree->currentItem();
    if (isDescendantOf(selected, node)) {
        const QSignalBlocker blocker(m_tree);
        m_tree->setCurrentItem(node);
        selected = node;
    }
    // The collapsed folder is shown again unless its Vardecks are listed already (a
    // collapsed root empties the list).
    const bool listed = sameText(tagOf(node), w.currentTID()) && vardecks.treeHasNodes();
    if (selected && selected->text(0) == node->text(0) && !listed)
        populateWMOnTopicNode();
}

void FolderTree::tvwTopics_Expand(QTreeWidgetItem *node)
{
    if (node && node->childCount() > 1)
        node->sortChildren(0, Qt::AscendingOrder);
}

void FolderTree::tvwTopics_AfterLabelEdit(QTreeWidgetItem *node, const QString &typed)
{
    if (!node || isRoot(node))
        return;
    XmlNode folder = w.dbXML.folder(tagOf(node));
    if (!folder) {
        scheduleRebuild();
        return;
    }
    // Characters a file cannot hold (pasted control characters) are not stored: a
    // name of nothing else is no name.
    QString newName = sanitizeXmlText(typed);
    if (newName.isEmpty()) {
        prompt::show(QStringLiteral("The folder must have a name."), MsgButtons::Ok, MsgIcon::Exclamation);
        newName = folder.childText(tag::Name);
    }
    folder.setChildText(tag::Name, newName);
    saveDatabaseReporting(*w.dbXML);
    w.collectionChanged(StalePages{.folders = true});
    // The tree and the caption show the name as the file holds it.
    newName = folder.childText(tag::Name);
    node->setText(0, newName);
    // The caption follows only when the renamed folder is the one shown.
    if (sameText(tagOf(node), w.currentTID()))
        w.showFolder(tagOf(node), newName);
}

bool FolderTree::isShownFolder(const QTreeWidgetItem *node) const
{
    return node && w.folderShown() && !idOf(node).isEmpty() && sameText(idOf(node), w.currentTID());
}

bool FolderTree::endModification(QTreeWidgetItem *target)
{
    if (w.editState() != EditState::Modifying)
        return true;
    // The folder shown holds the Vardeck being modified: nothing is left, nothing asked.
    if (isShownFolder(target))
        return false;
    if (!w.commands.mayEndEdit(OnEdit::EndsModification)) {
        // Kept, the edit keeps its folder highlighted, not the one a key moved to.
        selectShownFolder(w);
        return false;
    }
    if (target)
        m_tree->setCurrentItem(target);
    setNonEditableFields(w, false);
    return true;
}

bool FolderTree::tvwTopics_MouseDown(Qt::MouseButton button, const QPoint &pos)
{
    QTreeWidget *tree = m_tree;
    QTreeWidgetItem *hit = tree->itemAt(pos);
    if (button == Qt::LeftButton) {
        if (w.editState() != EditState::Modifying)
            return true;
        // Leaving a modification asks first, once the press has been delivered; the
        // press goes no further, and a Yes shows the folder pressed on.
        const QPersistentModelIndex pressed(tree->indexAt(pos));
        QTimer::singleShot(0, this, [this, pressed] {
            if (w.editState() != EditState::Modifying)
                return;
            QTreeWidget *tree = m_tree;
            if (endModification(pressed.isValid() ? tree->itemFromIndex(pressed) : nullptr))
                tvwTopics_NodeClick(tree->currentItem());
        });
        return false;
    }
    if (button == Qt::RightButton) {
        if (!hit) {
            w.popup.nodeRightClicked(tree, nullptr);
            w.popupMenu(MenuId::mnuNoVD);
            return false;
        }
        w.popup.folderRightClicked(tree, hit, tree->currentItem(), isRoot(hit) ? QString() : tagOf(hit));
        tree->setCurrentItem(hit);
        w.popupMenu(MenuId::mnuTopicMenu);
        return false;
    }
    return true;
}

// A press on one folder released on another is no click: the view moved its highlight
// with the pointer, and it goes back to the folder shown, where the next Save puts a new
// Vardeck. A modification's press is the window's own, and decides by itself.
void FolderTree::leftButtonReleased(const QMouseEvent *release)
{
    if (release->button() != Qt::LeftButton || w.editState() == EditState::Modifying)
        return;
    const QModelIndex releasedOn = m_tree->indexAt(release->position().toPoint());
    const bool click = m_pressed.isValid() && releasedOn == QModelIndex(m_pressed);
    m_pressed = QPersistentModelIndex();
    if (click)
        return;
    QTimer::singleShot(0, this, [this] {
        if (!isShownFolder(m_tree->currentItem()) && !(isRoot(m_tree->currentItem()) && !w.folderShown()))
            selectShownFolder(w);
    });
}

void FolderTree::tvwTopics_MouseMove()
{
    w.setIndexTreesToolTip(QString());
}

void FolderTree::mnuAddTopic_Click()
{
    const QString tid = w.dbXML.folder(w.currentTID()) ? w.currentTID() : QString();
    w.popup.folderChosen(tid);
    showNewFolderDialog(tid);
}

void FolderTree::mnuEditModifyTopic_Click()
{
    QString tid = w.currentTID();
    if (!w.dbXML.folder(tid))
        tid = tagOf(m_tree->currentItem());
    showRenameFolderDialog(tid);
}

void FolderTree::renameChosenFolder(const QString &tid, QTreeWidgetItem *selectBack)
{
    if (selectBack)
        m_tree->setCurrentItem(selectBack);
    showRenameFolderDialog(tid);
}

void FolderTree::showNewFolderDialog(const QString &parentTID)
{
    if (!w.dbXML.document())
        return;
    WindowFolderDialogHost host(w);
    frmTopicDialog::run(
        *w.dbXML, parentTID, host, [this](const FolderCreated &created) { folderCreated(created); }, &w);
}

void FolderTree::showRenameFolderDialog(const QString &folderTID)
{
    if (!w.dbXML.document())
        return;
    WindowFolderDialogHost host(w);
    frmModifyTopic::run(
        *w.dbXML, folderTID, host, [this](const FolderRenamed &renamed) { folderRenamed(renamed); }, &w);
}

void FolderTree::folderCreated(const FolderCreated &created)
{
    QTreeWidgetItem *parent = created.parentTID.isEmpty() ? root() : findByTag(m_tree, created.parentTID);
    if (!parent) {
        scheduleRebuild();
        return;
    }
    auto *node = new CaselessItem(parent);
    node->setIcon(0, folderIcon(false));
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    node->setText(0, created.name);
    setTag(node, created.tid);
    // Expanding again sorts the new folder into its place among its siblings.
    parent->setExpanded(false);
    parent->setExpanded(true);
    tvwTopics_Expand(parent);
}

void FolderTree::folderRenamed(const FolderRenamed &renamed)
{
    QTreeWidgetItem *node = findByTag(m_tree, renamed.tid);
    if (!node) {
        scheduleRebuild();
        return;
    }
    node->setText(0, renamed.name);
    if (sameText(renamed.tid, w.currentTID()))
        w.showFolder(renamed.tid, renamed.name);
    if (node->parent())
        node->parent()->setExpanded(true);
}

void FolderTree::scheduleRebuild()
{
    if (m_rebuildPending)
        return;
    m_rebuildPending = true;
    QTimer::singleShot(0, this, [this] {
        m_rebuildPending = false;
        populateTopicList(w.dbXML.document());
    });
}

void FolderTree::selectRootFolder()
{
    if (QTreeWidgetItem *first = root())
        m_tree->setCurrentItem(first);
}

std::optional<QString> FolderTree::folderPathOf(const QString &tid) const
{
    if (const QTreeWidgetItem *node = findByTag(m_tree, tid))
        return folderPath(node);
    return std::nullopt;
}

void FolderTree::clearFolderTrees()
{
    clearFolders();
    VardeckViews::of(w).clearVardeckTree();
}

int FolderTree::nodeCount() const
{
    int count = 0;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        ++count;
    return count;
}

void FolderTree::relistSelectedFolder()
{
    if (QTreeWidgetItem *node = selectedItemOf(m_tree))
        VardeckViews::of(w).populateVardeckList(node);
}

void FolderTree::showImportedFolder(const QString &tid)
{
    const XmlNode top = w.dbXML.document() ? w.dbXML.document()->nodeFromID(tid) : XmlNode();
    if (root() && top) {
        populateTreeWithTopic(top, root(), true);
        root()->sortChildren(0, Qt::AscendingOrder);
    } else {
        populateTopicList(w.dbXML.document());
    }
    if (QTreeWidgetItem *node = findByTag(m_tree, tid)) {
        m_tree->setCurrentItem(node);
        VardeckViews::of(w).populateVardeckList(node);
    }
}

void FolderTree::hold(bool held)
{
    if (held) {
        if (!m_shownBeforeHold)
            m_shownBeforeHold = !m_tree->isHidden();
        m_tree->hide();
        return;
    }
    if (m_shownBeforeHold.value_or(false))
        m_tree->show();
    m_shownBeforeHold.reset();
}

void FolderTree::indexTabShown()
{
    if (VardeckViews::of(w).treeHasNodes())
        return;
    QTreeWidgetItem *selected = m_tree->currentItem();
    // Asked of the window, so that a stand-in offered in the tree's place sees the refill.
    if (selected && selected->isSelected() && !isRoot(selected) && !sameText(tagOf(selected), w.currentTID()))
        operationsOf<FolderTreeOperations>(w).populateWMOnTopicNode();
}

bool FolderTree::eventFilter(QObject *watched, QEvent *event)
{
    QTreeWidget *tree = m_tree;
    if (watched == tree->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            auto *me = static_cast<QMouseEvent *>(event);
            if (me->button() == Qt::LeftButton)
                m_pressed = QPersistentModelIndex(tree->indexAt(me->position().toPoint()));
            return !tvwTopics_MouseDown(me->button(), me->position().toPoint());
        }
        if (event->type() == QEvent::MouseButtonRelease)
            leftButtonReleased(static_cast<QMouseEvent *>(event));
        if (event->type() == QEvent::MouseMove)
            tvwTopics_MouseMove();
        return false;
    }
    // A keyboard selection is a click: the arrows, paging and type-ahead show the
    // folder they reach, Enter and Space the folder that has the selection. The
    // click runs once the tree has handled the key. Keys that arrive together (a name
    // typed quickly, keys queued while the window was busy) are handled one after the
    // other first: the folder the last one reached is shown if it is not the one
    // current before the first, or if any of them was Enter or Space.
    if (watched == tree && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        m_keyShowsCurrent = m_keyShowsCurrent || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
        if (m_keyCheckQueued)
            return false;
        m_keyCheckQueued = true;
        m_beforeKey = QPersistentModelIndex(tree->currentIndex());
        QTimer::singleShot(0, this, [this, tree] {
            m_keyCheckQueued = false;
            const bool showsCurrent = std::exchange(m_keyShowsCurrent, false);
            if (!showsCurrent && tree->currentIndex() == QModelIndex(m_beforeKey))
                return;
            if (!endModification(tree->currentItem()))
                return;
            tvwTopics_NodeClick(tree->currentItem());
        });
    }
    return false;
}

} // namespace rr
