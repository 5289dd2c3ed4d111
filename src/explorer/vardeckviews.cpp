#include "explorer/vardeckviews.h"

#include "platform/gui/caselessitem.h"
#include "platform/gui/listviews.h"

#include "explorer/detailspanel.h"
#include "explorer/nodetags.h"
#include "finding/listcells.h"
#include "media/iconsupport.h"
#include "platform/paths.h"
#include "shell/frmvardecks.h"
#include "storage/session.h"
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

} // namespace

VardeckViews::VardeckViews(frmVardecks &window) : QObject(&window), w(window)
{
    QTreeWidget *tree = w.tvwWM;
    // Every node is one line beside its picture: the view places the current one
    // without measuring every node above it.
    tree->setUniformRowHeights(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->viewport()->setMouseTracking(true);
    tree->viewport()->installEventFilter(this);
    tree->installEventFilter(this);
    connect(tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *node) { tvwWM_NodeClick(node); });

    QTreeWidget *list = w.listVD;
    sortByHand(list);
    list->headerItem()->setTextAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
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

namespace
{

// The cells of a Vardeck's row in the list: name, address, created, last visited, hits
// (padded to sort as numbers; "1" when empty) and description.
QStringList listCells(const XmlNode &vardeck)
{
    QString hits = vardeck.childText(QStringLiteral("HITS"));
    if (hits.isEmpty())
        hits = QStringLiteral("1");
    return {vardeck.childText(QStringLiteral("NAME")),
            cellText(vardeck.childText(QStringLiteral("ADDRESS"))),
            cellText(vardeck.childText(QStringLiteral("CREATED_DATE"))),
            cellText(vardeck.childText(QStringLiteral("KEYWORD2"))),
            padString(hits, kCountWidth),
            cellText(vardeck.childText(QStringLiteral("DESCRIPTION")))};
}

} // namespace

void VardeckViews::buildIconView()
{
    m_iconView = new QListView(w.listVD);
    m_iconView->setObjectName(QStringLiteral("listVDIcons"));
    m_iconView->setModel(w.listVD->model());
    m_iconView->setSelectionModel(w.listVD->selectionModel());
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
    m_iconView->setGeometry(w.listVD->rect());
    m_iconView->hide();
    m_iconView->viewport()->installEventFilter(this);
    m_iconView->installEventFilter(this);
    connect(m_iconView, &QListView::doubleClicked, this, [this] { w.commands.listVD_DblClick(); });
}

void VardeckViews::populateVardeckList(QTreeWidgetItem *folderNode)
{
    if (!folderNode || tagOf(folderNode).trimmed().isEmpty())
        return;
    const XmlNode folder = w.dbXML.folder(tagOf(folderNode));
    if (!folder) {
        folderVanished();
        return;
    }
    const QList<XmlNode> vardecks = vardecksOf(folder);
    w.lbl(Lbl::VardeckCount)->setText(QString::number(vardecks.size()));
    w.tvwWM->setUpdatesEnabled(false);
    if (!addAppendedVardeck(tagOf(folderNode), vardecks)) {
        m_filling = true;
        fillVardeckViews(vardecks, folder);
        m_filling = false;
        m_filledTid = tagOf(folderNode);
        m_filledStock[0] = iconKey(QStringLiteral("Vardeck"));
        m_filledStock[1] = iconKey(QStringLiteral("SelVardeck"));
    }
    w.tvwWM->setUpdatesEnabled(true);
    w.showFolder(tagOf(folderNode), folder.childText(QStringLiteral("NAME")));
}

bool VardeckViews::addAppendedVardeck(const QString &tid, const QList<XmlNode> &vardecks)
{
    const qsizetype kept = vardecks.size() - 1;
    if (m_filledTid.isEmpty() || m_filledTid != tid || kept < 0 || w.tvwWM->topLevelItemCount() != kept ||
        w.listVD->topLevelItemCount() != kept || m_filledStock[0] != iconKey(QStringLiteral("Vardeck")) ||
        m_filledStock[1] != iconKey(QStringLiteral("SelVardeck")))
        return false;
    // The views must show every Vardeck but the added one as a fill would: in the
    // fill's order (by name, equal names in document order), with the same texts and
    // site icons. A visit counted in both since the fill is such a text.
    QList<qsizetype> order(kept);
    QStringList names(kept);
    for (qsizetype i = 0; i < kept; ++i) {
        order[i] = i;
        names[i] = vardecks.at(i).childText(QStringLiteral("NAME"));
    }
    std::stable_sort(order.begin(), order.end(), [&names](qsizetype a, qsizetype b) {
        const int caseless = caselessCompare(names.at(a), names.at(b));
        return caseless != 0 ? caseless < 0 : names.at(a) < names.at(b);
    });
    for (qsizetype i = 0; i < kept; ++i) {
        const XmlNode &vardeck = vardecks.at(order.at(i));
        const QString wid = vardeck.attribute(QStringLiteral("WID"));
        const QStringList cells = listCells(vardeck);
        const QTreeWidgetItem *node = w.tvwWM->topLevelItem(int(i));
        const QTreeWidgetItem *row = w.listVD->topLevelItem(int(i));
        if (tagOf(node) != wid || node->text(0) != cells.first() || tagOf(row) != wid)
            return false;
        for (int c = 0; c < cells.size(); ++c)
            if (row->text(c) != cells.at(c))
                return false;
        const qint64 own = iconKey(wid);
        if (row->icon(0).cacheKey() != (own >= 0 ? own : m_filledStock[0]) ||
            (own >= 0 && node->icon(0).cacheKey() != own))
            return false;
    }
    // The fill makes current the last Vardeck named as the name box: the added one.
    const XmlNode added = vardecks.last();
    const QString wid = added.attribute(QStringLiteral("WID"));
    const QStringList cells = listCells(added);
    if (!sameText(cells.first(), DetailsPanel::of(w).text(DetailsField::NameBox)))
        return false;

    m_filling = true;
    // A Vardeck may have left the recent list to make room for the added one.
    for (QTreeWidget *view : {w.tvwWM, w.listVD}) {
        for (int i = 0; i < view->topLevelItemCount(); ++i) {
            QTreeWidgetItem *item = view->topLevelItem(i);
            const bool bold = isRecentWid(tagOf(item), session().recentColl);
            if (item->font(0).bold() != bold)
                setBold(item, bold);
        }
    }
    const bool bold = isRecentWid(wid, session().recentColl);
    auto *node = new CaselessItem(w.tvwWM);
    node->setIcon(0, w.vardeckPictures().of(wid, true));
    node->setText(0, cells.first());
    setTag(node, wid);
    if (bold)
        setBold(node, true);
    addListRow(wid, cells, bold);
    // Appended and sorted as a fill sorts: the sort keeps the order of equal names, and
    // the added Vardeck comes last in the folder.
    w.tvwWM->sortItems(0, Qt::AscendingOrder);
    w.tvwWM->setCurrentItem(node);
    node->setSelected(true);
    w.listVD->setCurrentItem(nullptr);
    w.listVD->clearSelection();
    w.listVD->scrollToTop();
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

QTreeWidgetItem *VardeckViews::addListRow(const QString &wid, const QStringList &cells, bool bold)
{
    auto *row = new CaselessItem(w.listVD, cells);
    row->setIcon(0, w.vardeckPictures().of(wid, false));
    // The padded counts line up at their right edge as they sort.
    row->setTextAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
    setTag(row, wid);
    if (bold)
        setBold(row, true);
    return row;
}

void VardeckViews::fillVardeckViews(const QList<XmlNode> &vardecks, const XmlNode &folder)
{
    Q_UNUSED(folder);
    w.listVD->clear();
    w.tvwWM->clear();
    const DetailsPanel &panel = DetailsPanel::of(w);
    for (const XmlNode &vardeck : vardecks) {
        const QString wid = vardeck.attribute(QStringLiteral("WID"));
        const QString name = vardeck.childText(QStringLiteral("NAME"));
        const bool bold = isRecentWid(wid, session().recentColl);

        auto *node = new CaselessItem(w.tvwWM);
        node->setIcon(0, w.vardeckPictures().of(wid, true));
        node->setText(0, name);
        setTag(node, wid);
        if (bold)
            setBold(node, true);

        addListRow(wid, listCells(vardeck), bold);

        if (sameText(name, panel.text(DetailsField::NameBox))) {
            w.tvwWM->setCurrentItem(node);
            node->setSelected(true);
        }
    }
    // The tree shows the folder in the list's order, by name, however the folder came
    // to be shown (a click, a drop, an add, an import).
    w.tvwWM->sortItems(0, Qt::AscendingOrder);
    sortByName();
    if (m_iconViewActive)
        arrangeIcons();
}

void VardeckViews::populateVDList(const XmlNode &folder)
{
    w.listVD->setUpdatesEnabled(false);
    w.listVD->clear();
    if (folder && folder.nodeName() == QLatin1String("FOLDER")) {
        for (const XmlNode &vardeck : vardecksOf(folder)) {
            const QString wid = vardeck.attribute(QStringLiteral("WID"));
            const XmlNode hitsNode = vardeck.child(QStringLiteral("HITS"));
            const QString hits = hitsNode ? hitsNode.text() : QStringLiteral("1");
            addListRow(wid,
                       {vardeck.childText(QStringLiteral("NAME")), vardeck.childText(QStringLiteral("ADDRESS")),
                        vardeck.childText(QStringLiteral("CREATED_DATE")),
                        vardeck.childText(QStringLiteral("KEYWORD2")), padString(hits, kCountWidth),
                        vardeck.childText(QStringLiteral("DESCRIPTION"))},
                       isRecentWid(wid, session().recentColl));
        }
    }
    w.listVD->clearSelection();
    for (int i = 0; i < w.listVD->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = w.listVD->topLevelItem(i);
        if (sameText(tagOf(row), w.currentWID())) {
            w.listVD->setCurrentItem(row);
            row->setSelected(true);
            break;
        }
    }
    if (m_iconViewActive)
        arrangeIcons();
    sortByName();
    w.listVD->setUpdatesEnabled(true);
}

void VardeckViews::sortByName()
{
    w.listVD->sortItems(0, Qt::AscendingOrder);
    m_descending = false;
}

void VardeckViews::arrangeIcons()
{
    m_iconView->setGeometry(w.listVD->rect());
    m_iconView->doItemsLayout();
}

void VardeckViews::displayWM()
{
    QTreeWidgetItem *node = w.tvwWM->currentItem();
    if (!node || tagOf(node).trimmed().isEmpty())
        return;
    const XmlNode vardeck = w.dbXML.vardeck(tagOf(node));
    if (!vardeck) {
        // Deleted elsewhere: show the folder as the document has it now.
        QTimer::singleShot(0, this, [this] {
            if (QTreeWidgetItem *folderNode = findByTag(w.tvwTopics, w.currentTID()))
                populateVardeckList(folderNode);
            else
                folderVanished();
        });
        return;
    }
    w.selectVardeck(tagOf(node).trimmed());
    const XmlNode folder = folderOfVardeck(vardeck);
    if (folder) {
        // The folder commands act on the folder whose Vardeck is shown.
        w.showFolder(folder.attribute(QStringLiteral("TID")), folder.childText(QStringLiteral("NAME")));
    }
    w.commands.setFormEditMode(false);
    w.commands.displayVardeckData(vardeck);
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
    QTreeWidgetItem *hit = w.tvwWM->itemAt(pos);
    if (button == Qt::RightButton) {
        w.popup.nodeRightClicked(w.tvwWM, hit);
        if (!hit) {
            w.popupMenu(MenuId::mnuNoVD);
        } else {
            w.tvwWM->setCurrentItem(hit);
            w.popupMenu(MenuId::mnuStartVD);
        }
        return false;
    }
    if (!hit) {
        w.tvwWM->clearSelection();
        w.tvwWM->setCurrentItem(nullptr);
    }
    return true;
}

void VardeckViews::tvwWM_MouseMove(const QPoint &pos)
{
    if (QTreeWidgetItem *node = w.tvwWM->itemAt(pos)) {
        const XmlNode vardeck = w.dbXML.vardeck(tagOf(node));
        w.setIndexTreesToolTip(vardeck.childText(QStringLiteral("ADDRESS")));
    }
}

void VardeckViews::listVD_DblClick()
{
    w.commands.setFormEditMode(false);
    QTreeWidgetItem *row = selectedItemOf(w.listVD);
    if (!row)
        return;
    const QString wid = tagOf(row).trimmed();
    const XmlNode vardeck = w.dbXML.vardeck(wid);
    if (!vardeck) {
        QTimer::singleShot(0, this, [this] { populateVDList(w.dbXML.folder(w.currentTID())); });
        return;
    }
    w.selectVardeck(wid);
    // The list may show a folder other than the one last clicked in the tree: the
    // folder commands then act on the folder the list shows.
    const XmlNode folder = folderOfVardeck(vardeck);
    if (folder && !sameText(folder.attribute(QStringLiteral("TID")), w.currentTID())) {
        w.showFolder(folder.attribute(QStringLiteral("TID")), folder.childText(QStringLiteral("NAME")));
    }
    w.commands.displayVardeckData(vardeck);
    w.listVD->setFocus();
    w.showViewTab(ViewTab::Vardeck);
}

void VardeckViews::listVD_KeyDown(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        w.commands.listVD_DblClick();
}

void VardeckViews::listVD_GotFocus()
{
    w.commands.releaseSearchButton();
}

bool VardeckViews::listVD_MouseDown(Qt::MouseButton button, QTreeWidgetItem *row)
{
    w.popup.listPressed(EntryList::FolderList);
    if (button != Qt::RightButton)
        return true;
    if (w.editState() == EditState::Viewing)
        w.listPopup(w.listVD, EntryList::FolderList, row, true);
    return false;
}

void VardeckViews::listVD_ColumnClick(int column)
{
    m_descending = !m_descending;
    w.listVD->sortItems(column, m_descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void VardeckViews::viewAsList()
{
    m_iconViewActive = false;
    w.listVD->setAllColumnsShowFocus(true);
    w.listVD->setFocusProxy(nullptr);
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
    w.listVD->setFocusProxy(m_iconView);
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
    w.tvwWM->clear();
    w.listVD->clear();
    w.lbl(Lbl::VardeckCount)->setText(QStringLiteral("0"));
    w.showNoFolder();
    QTimer::singleShot(0, this, [this] { w.commands.populateTopicList(w.dbXML.document()); });
}

bool VardeckViews::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched == w.tvwWM->viewport()) {
        if (type == QEvent::MouseButtonPress) {
            auto *me = static_cast<QMouseEvent *>(event);
            return !tvwWM_MouseDown(me->button(), me->position().toPoint());
        }
        if (type == QEvent::MouseMove)
            tvwWM_MouseMove(static_cast<QMouseEvent *>(event)->position().toPoint());
        return false;
    }
    if (watched == w.tvwWM && type == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            tvwWM_KeyPress(13);
            return true;
        }
        // Typing the start of a name moves to the first Vardeck that has it.
        const bool typeAhead = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
                               !key->text().isEmpty() && key->text().at(0).isPrint();
        if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down || key->key() == Qt::Key_Home ||
            key->key() == Qt::Key_End || key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown || typeAhead) {
            // Moving with the keys shows each Vardeck reached, as a click does.
            m_beforeKey = QPersistentModelIndex(w.tvwWM->currentIndex());
            QTimer::singleShot(0, this, [this] {
                if (w.tvwWM->currentIndex() != QModelIndex(m_beforeKey))
                    tvwWM_NodeClick(w.tvwWM->currentItem());
            });
        }
        return false;
    }
    if (!m_iconView)
        return false;
    const bool onList = watched == w.listVD || watched == m_iconView;
    if (watched == w.listVD && type == QEvent::Resize) {
        m_iconView->setGeometry(w.listVD->rect());
        return false;
    }
    if (watched == w.listVD->viewport() && type == QEvent::MouseButtonPress) {
        auto *me = static_cast<QMouseEvent *>(event);
        return !listVD_MouseDown(me->button(), w.listVD->itemAt(me->position().toPoint()));
    }
    if (watched == m_iconView->viewport() && type == QEvent::MouseButtonPress) {
        auto *me = static_cast<QMouseEvent *>(event);
        const QModelIndex index = m_iconView->indexAt(me->position().toPoint());
        return !listVD_MouseDown(me->button(), index.isValid() ? w.listVD->topLevelItem(index.row()) : nullptr);
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
