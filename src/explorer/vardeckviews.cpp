#include "explorer/vardeckviews.h"

#include "finding/ui/findingops.h"
#include "platform/gui/caselessitem.h"
#include "platform/gui/columnfit.h"
#include "platform/gui/listviews.h"

#include "controls/qbbuttons_h.h"
#include "explorer/detailspanel.h"
#include "explorer/foldertree.h"
#include "explorer/nodetags.h"
#include "finding/listcells.h"
#include "media/iconsupport.h"
#include "platform/paths.h"
#include "shell/columnwidths.h"
#include "shell/frmvardecks.h"
#include "shell/imagelists.h"
#include "shell/installedpart.h"
#include "shell/panecontrols.h"
#include "shell/pictures.h"
#include "shell/twips.h"
#include "storage/record.h"
#include "storage/session.h"
#include "storage/settingsstore.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"

#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPixmap>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>

namespace rr
{
namespace
{

// Loads the pictures of one icon folder under their file names without extension;
// a key already present wins.
void loadIconFolder(QMap<QString, QIcon> &imageList, const QString &folder)
{
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo &file : files) {
        const QString key = file.completeBaseName();
        if (key.isEmpty() || sameText(key, QStringLiteral("favicon")) || sameText(key, QStringLiteral("generic")) ||
            imageList.contains(key))
            continue;
        const QPixmap picture = QPixmap::fromImage(pictureFromFile(file.absoluteFilePath()));
        if (!picture.isNull())
            imageList.insert(key, QIcon(picture));
    }
}

// The column of the list a cell stands in.
int col(FolderListColumn column)
{
    return int(column);
}

// The captions of the list's columns.
QString caption(FolderListColumn column)
{
    switch (column) {
    case FolderListColumn::Name:
        return QStringLiteral("Name");
    case FolderListColumn::Address:
        return QStringLiteral("Address");
    case FolderListColumn::CreatedDate:
        return QStringLiteral("Created date");
    case FolderListColumn::LastVisited:
        return QStringLiteral("Last visited");
    case FolderListColumn::Hits:
        return QStringLiteral("Hits");
    case FolderListColumn::Description:
        return QStringLiteral("Description");
    }
    return {};
}

// The name stands in the one column of the tree's nodes, as in the first of the list's rows.
constexpr int kNodeName = 0;

} // namespace

VardeckViews::VardeckViews(frmVardecks &window) : QObject(&window), w(window)
{
    setObjectName(QStringLiteral("vardeckViews"));
    buildControls();
    QTreeWidget *tree = m_tree;
    // Every node is one line beside its picture: the view places the current one
    // without measuring every node above it.
    tree->setUniformRowHeights(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->viewport()->setMouseTracking(true);
    tree->viewport()->installEventFilter(this);
    tree->installEventFilter(this);
    connect(tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node) { tvwWM_NodeClick(node); });

    QTreeWidget *list = m_list;
    sortByHand(list);
    list->headerItem()->setTextAlignment(col(FolderListColumn::Hits), Qt::AlignRight | Qt::AlignVCenter);
    list->viewport()->installEventFilter(this);
    list->installEventFilter(this);
    connect(list->header(), &QHeaderView::sectionClicked, this, &VardeckViews::listVD_ColumnClick);
    connect(list, &QTreeWidget::itemDoubleClicked, this, [this] { w.commands.listVD_DblClick(); });
    buildIconView();

    const auto changedElsewhere = [this] {
        if (!m_filling)
            m_filledTid.clear();
    };
    for (QAbstractItemModel *model : {tree->model(), list->model()}) {
        connect(model, &QAbstractItemModel::rowsInserted, this, changedElsewhere);
        connect(model, &QAbstractItemModel::rowsRemoved, this, changedElsewhere);
        connect(model, &QAbstractItemModel::rowsMoved, this, changedElsewhere);
        connect(model, &QAbstractItemModel::layoutChanged, this, changedElsewhere);
        connect(model, &QAbstractItemModel::modelReset, this, changedElsewhere);
    }
}

void VardeckViews::buildControls()
{
    QWidget *index = w.pane(Pane::IndexPage);
    m_tree = makeOneColumnTree(w.pane(Pane::FolderSplitter), QStringLiteral("tvwWM"));
    twips::move(m_tree, 0, 2720, 3300, 2515);
    m_moveButton = makePaneButton(index, QStringLiteral("cmdMoveVD"), QStringLiteral("Move"), 120, 5760, 855, 630);
    m_moveButton->setPicture(pictures::draw(pictures::Kind::MoveVardeck));
    m_moveButton->setPictureAlign(4);
    m_moveButton->setToolTip(QStringLiteral("Move the shown Vardeck to another folder"));
    connect(m_moveButton, &qbButtons_H::Click, this, [this] { w.commands.cmdMoveVD_Click(); });
    m_caption = makeArrayLabel(index, Lbl::VardecksCaption, QStringLiteral("Vardecks: "), 1920, 5760, 750, 255);
    m_count = makeArrayLabel(index, Lbl::VardeckCount, QStringLiteral("0"), 2760, 5760, 615, 255);
    // A right-click on the count offers what a click beside every Vardeck offers.
    for (QLabel *label : {m_caption, m_count})
        label->installEventFilter(this);

    QStringList captions;
    for (FolderListColumn column : kFolderListColumns)
        captions << caption(column);
    m_list = makeReportList(w.pane(Pane::FolderListPage), QStringLiteral("listVD"), captions);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    twips::move(m_list, 0, 400, 6700, 5895);
    // The report sizes its columns to what it shows when first seen.
    new ColumnFit(m_list);

    w.addToLayout(Place::VardeckTree, m_tree);
    w.addToLayout(Place::MoveVardeckButton, m_moveButton);
    w.addToLayout(Place::VardecksCaption, m_caption);
    w.addToLayout(Place::VardeckCount, m_count);
    w.addToLayout(Place::FolderList, m_list);
}

VardeckViews &VardeckViews::of(const frmVardecks &w)
{
    auto *part = installedPart<VardeckViews>(w);
    Q_ASSERT_X(part, "VardeckViews::of", "the window has no Vardeck views");
    return *part;
}

QWidget *VardeckViews::moveButton(frmVardecks &w)
{
    // A window put together in part may have no Vardeck views: nothing to enable then.
    const auto *part = installedPart<VardeckViews>(w);
    return part ? part->m_moveButton : nullptr;
}

QString VardeckViews::hitsCell(const QString &hits)
{
    return padString(hits, kCountWidth);
}

void VardeckViews::buildIconView()
{
    m_iconView = new QListView(m_list);
    m_iconView->setObjectName(QStringLiteral("listVDIcons"));
    m_iconView->setModel(m_list->model());
    m_iconView->setSelectionModel(m_list->selectionModel());
    m_iconView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_iconView->setViewMode(QListView::IconMode);
    m_iconView->setFlow(QListView::LeftToRight);
    m_iconView->setMovement(QListView::Static);
    m_iconView->setResizeMode(QListView::Adjust);
    m_iconView->setWrapping(true);
    m_iconView->setWordWrap(true);
    m_iconView->setIconSize(QSize(32, 32));
    m_iconView->setGridSize(QSize(96, 72));
    m_iconView->setUniformItemSizes(true);
    m_iconView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_iconView->setGeometry(m_list->rect());
    m_iconView->hide();
    m_iconView->viewport()->installEventFilter(this);
    m_iconView->installEventFilter(this);
    connect(m_iconView, &QListView::doubleClicked, this, [this] { w.commands.listVD_DblClick(); });
}

void VardeckViews::populateVardeckList(QTreeWidgetItem *folderNode)
{
    if (!folderNode || idOf(folderNode).isEmpty())
        return;
    const XmlNode folder = w.dbXML.folder(tagOf(folderNode));
    if (!folder) {
        folderVanished();
        return;
    }
    const QList<XmlNode> vardecks = vardecksOf(folder);
    showCount(vardecks.size());
    m_tree->setUpdatesEnabled(false);
    if (!addAppendedVardeck(tagOf(folderNode), vardecks)) {
        m_filling = true;
        fillVardeckViews(vardecks, folder);
        m_filling = false;
        m_filledTid = tagOf(folderNode);
        m_filledStock[0] = iconKey(QStringLiteral("Vardeck"));
        m_filledStock[1] = iconKey(QStringLiteral("SelVardeck"));
    }
    m_tree->setUpdatesEnabled(true);
    w.showFolder(tagOf(folderNode), folder.childText(tag::Name));
}

bool VardeckViews::addAppendedVardeck(const QString &tid, const QList<XmlNode> &vardecks)
{
    const qsizetype kept = vardecks.size() - 1;
    if (m_filledTid.isEmpty() || m_filledTid != tid || kept < 0 || m_tree->topLevelItemCount() != kept ||
        m_list->topLevelItemCount() != kept || m_filledStock[0] != iconKey(QStringLiteral("Vardeck")) ||
        m_filledStock[1] != iconKey(QStringLiteral("SelVardeck")))
        return false;
    // The views must show every Vardeck but the added one as a fill would: in the
    // fill's order (by name, equal names in document order), with the same texts and
    // site icons. A visit counted in both since the fill is such a text.
    QList<VardeckRowTexts> texts;
    QList<QString> names;
    texts.reserve(kept);
    names.reserve(kept);
    for (qsizetype i = 0; i < kept; ++i) {
        texts.append(readVardeckRow(vardecks.at(i), ListCells::BlankForEmpty));
        names.append(texts.last().name());
    }
    const QList<qsizetype> order = orderByName(names);
    for (qsizetype i = 0; i < kept; ++i) {
        const VardeckRowTexts &shown = texts.at(order.at(i));
        const QTreeWidgetItem *node = m_tree->topLevelItem(int(i));
        const QTreeWidgetItem *row = m_list->topLevelItem(int(i));
        if (tagOf(node) != shown.wid || node->text(kNodeName) != shown.name() || tagOf(row) != shown.wid)
            return false;
        for (FolderListColumn column : kFolderListColumns)
            if (row->text(col(column)) != shown.cell(column))
                return false;
        const qint64 own = iconKey(shown.wid);
        if (row->icon(col(FolderListColumn::Name)).cacheKey() != (own >= 0 ? own : m_filledStock[0]) ||
            (own >= 0 && node->icon(kNodeName).cacheKey() != own))
            return false;
    }
    // The fill makes current the last Vardeck named as the name box: the added one.
    const VardeckRowTexts added = readVardeckRow(vardecks.last(), ListCells::BlankForEmpty);
    if (!sameText(added.name(), DetailsPanel::of(w).detailsText(DetailsField::NameBox)))
        return false;

    m_filling = true;
    // A Vardeck may have left the recent list to make room for the added one.
    for (QTreeWidget *view : {m_tree, m_list}) {
        for (int i = 0; i < view->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = view->topLevelItem(i);
            const bool bold = isRecentWid(tagOf(item), session().recentColl);
            if (item->font(kNodeName).bold() != bold)
                setBold(item, bold);
        }
    }
    const bool bold = isRecentWid(added.wid, session().recentColl);
    QTreeWidgetItem *node = makeTreeNode(added, w.vardeckPictures().of(added.wid, true), bold);
    m_tree->addTopLevelItem(node);
    m_list->addTopLevelItem(makeListRow(added, w.vardeckPictures().of(added.wid, false), bold));
    // Appended and sorted as a fill sorts: the sort keeps the order of equal names, and
    // the added Vardeck comes last in the folder.
    m_tree->sortItems(kNodeName, Qt::AscendingOrder);
    m_tree->setCurrentItem(node);
    node->setSelected(true);
    m_list->setCurrentItem(nullptr);
    m_list->clearSelection();
    m_list->scrollToTop();
    sortByName();
    if (m_iconViewActive)
        arrangeIcons();
    m_filling = false;
    return true;
}

qint64 VardeckViews::iconKey(const QString &key) const
{
    return w.vardeckPictures().cacheKey(key);
}

QTreeWidgetItem *VardeckViews::makeListRow(const VardeckRowTexts &texts, const QIcon &icon, bool bold) const
{
    auto *row = new CaselessItem;
    for (FolderListColumn column : kFolderListColumns)
        row->setText(col(column), texts.cell(column));
    row->setIcon(col(FolderListColumn::Name), icon);
    // The padded counts line up at their right edge as they sort.
    row->setTextAlignment(col(FolderListColumn::Hits), Qt::AlignRight | Qt::AlignVCenter);
    setTag(row, texts.wid);
    if (bold)
        setBold(row, true);
    return row;
}

QTreeWidgetItem *VardeckViews::makeTreeNode(const VardeckRowTexts &texts, const QIcon &icon, bool bold) const
{
    auto *node = new CaselessItem;
    node->setIcon(kNodeName, icon);
    node->setText(kNodeName, texts.name());
    setTag(node, texts.wid);
    if (bold)
        setBold(node, true);
    return node;
}

void VardeckViews::insertByName(QTreeWidget *view, const QList<QTreeWidgetItem *> &items, const QList<qsizetype> &order)
{
    QList<QTreeWidgetItem *> sorted;
    sorted.reserve(order.size());
    for (qsizetype at : order)
        sorted.append(items.at(at));
    view->addTopLevelItems(sorted);
    // What a sort by name leaves besides the order: the header's indicator, which
    // the view's later sorts read as their column.
    view->header()->setSortIndicator(kNodeName, Qt::AscendingOrder);
}

void VardeckViews::fillVardeckViews(const QList<XmlNode> &vardecks, const XmlNode &folder)
{
    Q_UNUSED(folder);
    m_list->clear();
    m_tree->clear();
    const QString nameShown = DetailsPanel::of(w).detailsText(DetailsField::NameBox);
    const VardeckIcons nodeIcons(w.vardeckPictures(), true);
    const VardeckIcons rowIcons(w.vardeckPictures(), false);
    QList<QTreeWidgetItem *> nodes;
    QList<QTreeWidgetItem *> rows;
    QList<QString> names;
    nodes.reserve(vardecks.size());
    rows.reserve(vardecks.size());
    names.reserve(vardecks.size());
    // The tree makes current the last Vardeck named as the name box.
    QTreeWidgetItem *current = nullptr;
    for (const XmlNode &vardeck : vardecks) {
        const VardeckRowTexts texts = readVardeckRow(vardeck, ListCells::BlankForEmpty);
        const bool bold = isRecentWid(texts.wid, session().recentColl);
        nodes.append(makeTreeNode(texts, nodeIcons.of(texts.wid), bold));
        rows.append(makeListRow(texts, rowIcons.of(texts.wid), bold));
        names.append(texts.name());
        if (sameText(texts.name(), nameShown))
            current = nodes.last();
    }
    // The tree shows the folder in the list's order, by name, however the folder came
    // to be shown (a click, a drop, an add, an import).
    const QList<qsizetype> order = orderByName(names);
    insertByName(m_tree, nodes, order);
    insertByName(m_list, rows, order);
    m_descending = false;
    if (current) {
        m_tree->setCurrentItem(current);
        current->setSelected(true);
    }
    if (m_iconViewActive)
        arrangeIcons();
}

void VardeckViews::populateVDList(const XmlNode &folder)
{
    m_list->setUpdatesEnabled(false);
    m_list->clear();
    m_list->clearSelection();
    QList<QTreeWidgetItem *> rows;
    QList<QString> names;
    // The row of the shown Vardeck, the first in the folder's order, becomes the selected one.
    QTreeWidgetItem *shown = nullptr;
    if (folder && folder.nodeName() == tag::Folder) {
        const VardeckIcons icons(w.vardeckPictures(), false);
        const QString shownWid = w.currentWID();
        for (const XmlNode &vardeck : vardecksOf(folder)) {
            const VardeckRowTexts texts = readVardeckRow(vardeck, ListCells::AsStored);
            rows.append(makeListRow(texts, icons.of(texts.wid), isRecentWid(texts.wid, session().recentColl)));
            names.append(texts.name());
            if (!shown && sameText(texts.wid, shownWid))
                shown = rows.last();
        }
    }
    insertByName(m_list, rows, orderByName(names));
    m_descending = false;
    if (shown) {
        m_list->setCurrentItem(shown);
        shown->setSelected(true);
    }
    if (m_iconViewActive)
        arrangeIcons();
    m_list->setUpdatesEnabled(true);
}

void VardeckViews::sortByName()
{
    m_list->sortItems(col(FolderListColumn::Name), Qt::AscendingOrder);
    m_descending = false;
}

void VardeckViews::showCount(qsizetype count)
{
    m_count->setText(QString::number(count));
}

void VardeckViews::showNoVardecks(View views)
{
    if (views != View::List)
        m_tree->clear();
    if (views != View::Tree)
        m_list->clear();
    showCount(0);
}

void VardeckViews::countShownFolder()
{
    if (const XmlNode folder = w.dbXML.folder(w.currentTID()))
        showCount(vardecksOf(folder).size());
}

void VardeckViews::showVisit(const QString &wid, const QString &stamp, const QString &hits)
{
    if (QTreeWidgetItem *row = findByTag(m_list, wid)) {
        row->setText(col(FolderListColumn::LastVisited), stamp);
        row->setText(col(FolderListColumn::Hits), hitsCell(hits));
    }
}

void VardeckViews::showHitsResetInFolderList()
{
    const QString one = hitsCell(QStringLiteral("1"));
    for (int i = 0; i < m_list->topLevelItemCount(); ++i)
        m_list->topLevelItem(i)->setText(col(FolderListColumn::Hits), one);
}

void VardeckViews::showTreeIcon(const QString &wid)
{
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *node = m_tree->topLevelItem(i);
        if (sameText(tagOf(node), wid))
            node->setIcon(kNodeName, w.vardeckPictures().of(wid, true));
    }
}

void VardeckViews::restoreFolderListColumns()
{
    for (FolderListColumn column : kFolderListColumns)
        columnwidths::restore(m_list, col(column), SettingsStore::getColWidth(column),
                              int(std::size(kFolderListColumns)));
}

void VardeckViews::saveFolderListColumns() const
{
    for (FolderListColumn column : kFolderListColumns)
        SettingsStore::setColWidth(column,
                                   columnwidths::toSave(m_list, col(column), SettingsStore::getColWidth(column)));
}

void VardeckViews::arrangeIcons()
{
    m_iconView->setGeometry(m_list->rect());
    m_iconView->doItemsLayout();
}

void VardeckViews::displayWM()
{
    QTreeWidgetItem *node = m_tree->currentItem();
    if (!node || idOf(node).isEmpty())
        return;
    const XmlNode vardeck = w.dbXML.vardeck(tagOf(node));
    if (!vardeck) {
        // Deleted elsewhere: show the folder as the document has it now.
        QTimer::singleShot(0, this, [this] {
            if (QTreeWidgetItem *folderNode = FolderTree::of(w).nodeOf(w.currentTID()))
                populateVardeckList(folderNode);
            else
                folderVanished();
        });
        return;
    }
    w.selectVardeck(idOf(node));
    const XmlNode folder = folderOfVardeck(vardeck);
    if (folder) {
        // The folder commands act on the folder whose Vardeck is shown.
        w.showFolder(folder.attribute(tag::Tid), folder.childText(tag::Name));
    }
    DetailsPanel &panel = DetailsPanel::of(w);
    panel.setFormEditMode(false);
    panel.displayVardeckData(vardeck);
    w.showViewTab(ViewTab::Vardeck);
}

void VardeckViews::tvwWM_NodeClick(QTreeWidgetItem *node)
{
    if (node && !node->isSelected())
        node->setSelected(true);
    w.commands.displayWM();
    w.showViewTab(ViewTab::Vardeck);
}

void VardeckViews::tvwWM_KeyPress(int keyAscii)
{
    if (keyAscii == 13)
        w.commands.displayWM();
}

bool VardeckViews::tvwWM_MouseDown(Qt::MouseButton button, const QPoint &pos)
{
    QTreeWidgetItem *hit = m_tree->itemAt(pos);
    if (button == Qt::RightButton) {
        w.popup.nodeRightClicked(m_tree, hit);
        if (!hit) {
            w.popupMenu(MenuId::mnuNoVD);
        } else {
            m_tree->setCurrentItem(hit);
            w.popupMenu(MenuId::mnuStartVD);
        }
        return false;
    }
    if (!hit) {
        m_tree->clearSelection();
        m_tree->setCurrentItem(nullptr);
    }
    return true;
}

void VardeckViews::tvwWM_MouseMove(const QPoint &pos)
{
    if (QTreeWidgetItem *node = m_tree->itemAt(pos)) {
        const XmlNode vardeck = w.dbXML.vardeck(tagOf(node));
        w.setIndexTreesToolTip(vardeck.childText(tag::Address));
    }
}

void VardeckViews::listVD_DblClick()
{
    DetailsPanel &panel = DetailsPanel::of(w);
    panel.setFormEditMode(false);
    QTreeWidgetItem *row = selectedItemOf(m_list);
    if (!row)
        return;
    const QString wid = idOf(row);
    const XmlNode vardeck = w.dbXML.vardeck(wid);
    if (!vardeck) {
        QTimer::singleShot(0, this, [this] { populateVDList(w.dbXML.folder(w.currentTID())); });
        return;
    }
    w.selectVardeck(wid);
    // The list may show a folder other than the one last clicked in the tree: the
    // folder commands then act on the folder the list shows.
    const XmlNode folder = folderOfVardeck(vardeck);
    if (folder && !sameText(folder.attribute(tag::Tid), w.currentTID())) {
        w.showFolder(folder.attribute(tag::Tid), folder.childText(tag::Name));
    }
    panel.displayVardeckData(vardeck);
    m_list->setFocus();
    w.showViewTab(ViewTab::Vardeck);
}

void VardeckViews::listVD_KeyDown(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        w.commands.listVD_DblClick();
}

void VardeckViews::listVD_GotFocus()
{
    releaseSearchButton(w);
}

bool VardeckViews::listVD_MouseDown(Qt::MouseButton button, QTreeWidgetItem *row)
{
    w.popup.listPressed(EntryList::FolderList);
    if (button != Qt::RightButton)
        return true;
    if (w.editState() == EditState::Viewing)
        w.listPopup(m_list, EntryList::FolderList, row, true);
    return false;
}

void VardeckViews::listVD_ColumnClick(int column)
{
    m_descending = !m_descending;
    m_list->sortItems(column, m_descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void VardeckViews::viewAsList()
{
    m_iconViewActive = false;
    m_list->setAllColumnsShowFocus(true);
    m_list->setFocusProxy(nullptr);
    m_iconView->hide();
    if (w.viewTabsVisible())
        w.showViewTab(ViewTab::Folder);
}

void VardeckViews::viewAsIcons()
{
    m_iconViewActive = true;
    arrangeIcons();
    m_iconView->show();
    m_iconView->raise();
    // The keyboard given to the list goes to the icons shown over it.
    m_list->setFocusProxy(m_iconView);
    if (w.viewTabsVisible())
        w.showViewTab(ViewTab::Folder);
}

void VardeckViews::populateIconList()
{
    QMap<QString, QIcon> pictures;
    const QString base = w.dbXML.isOpen() ? w.dbXML->getBasePath() : paths::databaseFolder();
    loadIconFolder(pictures, base + QStringLiteral("icons/"));
    const QString stem = databaseStem(w.dbXML.name());
    if (isSafeStem(stem))
        loadIconFolder(pictures, base + QStringLiteral("icons/") + stem + QLatin1Char('/'));
    // The generic pictures stay available even when their files are missing.
    w.vardeckPictures().replaceAll(std::move(pictures), QIcon(w.plainVardeckPicture()));
}

void VardeckViews::folderVanished()
{
    showNoVardecks(View::Both);
    w.showNoFolder();
    QTimer::singleShot(0, this, [this] { FolderTree::of(w).populateTopicList(w.dbXML.document()); });
}

bool VardeckViews::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == m_tree->viewport()) {
        if (type == QEvent::MouseButtonPress) {
            auto *me = static_cast<QMouseEvent *>(event);
            return !tvwWM_MouseDown(me->button(), me->position().toPoint());
        }
        if (type == QEvent::MouseMove)
            tvwWM_MouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
        return false;
    }
    if (watched == m_tree && type == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            tvwWM_KeyPress(13);
            return true;
        }
        // Typing the start of a name moves to the first Vardeck that has it.
        const bool typeAhead = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
                               !key->text().isEmpty() && key->text().at(0).isPrint();
        const bool moves = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down || key->key() == Qt::Key_Home ||
                           key->key() == Qt::Key_End || key->key() == Qt::Key_PageUp ||
                           key->key() == Qt::Key_PageDown || typeAhead;
        // Moving with the keys shows the Vardeck reached, as a click does, once the tree
        // has handled the key. Keys that arrive together (a name typed quickly, keys
        // queued while the window was busy) are handled one after the other before any
        // of them is shown: the node the last one reached is shown if it is not the one
        // current before the first.
        if (moves && !m_keyMoveQueued) {
            m_keyMoveQueued = true;
            m_beforeKey = QPersistentModelIndex(m_tree->currentIndex());
            QTimer::singleShot(0, this, [this] {
                m_keyMoveQueued = false;
                if (m_tree->currentIndex() != QModelIndex(m_beforeKey))
                    tvwWM_NodeClick(m_tree->currentItem());
            });
        }
        return false;
    }
    if ((watched == m_caption || watched == m_count) && type == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
        w.popupMenu(MenuId::mnuNoVD);
        return true;
    }
    if (!m_iconView)
        return false;
    const bool onList = watched == m_list || watched == m_iconView;
    if (watched == m_list && type == QEvent::Resize) {
        m_iconView->setGeometry(m_list->rect());
        return false;
    }
    if (watched == m_list->viewport() && type == QEvent::MouseButtonPress) {
        auto *me = static_cast<QMouseEvent *>(event);
        return !listVD_MouseDown(me->button(), m_list->itemAt(me->position().toPoint()));
    }
    if (watched == m_iconView->viewport() && type == QEvent::MouseButtonPress) {
        auto *me = static_cast<QMouseEvent *>(event);
        const QModelIndex index = m_iconView->indexAt(me->position().toPoint());
        return !listVD_MouseDown(me->button(), index.isValid() ? m_list->topLevelItem(index.row()) : nullptr);
    }
    if (onList && type == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            listVD_KeyDown(key->key());
            return true;
        }
    }
    if (onList && type == QEvent::FocusIn)
        listVD_GotFocus();
    return false;
}

} // namespace rr
