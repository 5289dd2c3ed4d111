#pragma once
// The Explorer window with the popups, move launchers, drags, finding panes and editing
// installed; a database with four Vardecks in one folder; helpers for drags and dialogs.
#include "explorerfixture.h"

#include "controls/qbbuttons_h.h"
#include "dialogs/dialogtopictree.h"
#include "explorer/dragdrop.h"
#include "explorer/editing.h"
#include "explorer/externaldrops.h"
#include "explorer/popupcommands.h"
#include "explorer/popupsanddrops.h"
#include "finding/ui/findingui.h"
#include "shell/statuspanels.h"
#include "support/modaldriver.h"
#include "support/xmlids.h"

#include <QDialog>
#include <QDropEvent>
#include <QMimeData>

namespace rr::test
{

// FOLDERS
//   T1 Alpha   W1 One, W2 Two, W3 Three, W4 Four (HITS 3)
//     T2 Beta
//       T3 Gamma
//   T4 Delta   W5 Five (HITS 5)
//   T5 Echo    (empty)
inline QByteArray popupsBody()
{
    auto vd = [](const char *wid, const char *name, const char *address, const char *hits = "1") {
        return VD{wid, name, address, "06 Dec 2026", "", "", "", "", "", hits, "FALSE"}.xml();
    };
    const QByteArray alpha =
        folderXml("T1", "Alpha",
                  vd("W1", "One", "http://one.example/") + vd("W2", "Two", "http://two.example/a") +
                      vd("W3", "Three", "https://three.example/x") + vd("W4", "Four", "http://four.example/", "3"),
                  folderXml("T2", "Beta", {}, folderXml("T3", "Gamma")));
    return "<FOLDERS>" + alpha + folderXml("T4", "Delta", vd("W5", "Five", "http://five.example/", "5")) +
           folderXml("T5", "Echo") + "</FOLDERS>";
}

// Picks the folder tid ("" for the root) in a folder dialog's tree and clicks Save.
inline void chooseAndSave(QDialog *dialog, const QString &tid)
{
    auto *tree = dialog->findChild<DialogTopicTree *>(QStringLiteral("tvwTopicList"));
    ASSERT_NE(tree, nullptr);
    QTreeWidgetItem *item = tid.isEmpty() ? tree->root() : tree->findByTag(tid);
    ASSERT_NE(item, nullptr) << tid.toStdString();
    tree->selectNode(item);
    emit tree->itemClicked(item, 0);
    auto *save = dialog->findChild<qbButtons_H *>(QStringLiteral("cmdSave"));
    ASSERT_NE(save, nullptr);
    save->click();
}

class PopupsTest : public ExplorerTest
{
protected:
    void SetUp() override
    {
        ExplorerTest::SetUp();
        appOptions().setAutoSave(false);
        appOptions().setCheckDup(false);
        installFinding(*window);
        installEditing(*window);
        installPopupsAndDrops(*window);
    }

    void open()
    {
        openDatabase(popupsBody());
        window->StatusBar1->setPanelText(3, "Vardecks");
    }

    InternalDrags &drags() const { return *internalDragsOf(*window); }
    PopupCommands &popups() const { return *popupCommandsOf(*window); }

    QStringList idsInDoc(const QString &id, const QString &childName) const { return childIds(*doc(), id, childName); }
    QStringList idsOnDisk(const QString &id, const QString &childName) const
    {
        return childIdsOnDisk(path, id, childName);
    }
    // Removes an element from the document only, as a change elsewhere would.
    void removeElement(const QString &id) const
    {
        XmlNode n = doc()->nodeFromID(id);
        ASSERT_FALSE(n.isNull()) << id.toStdString();
        n.parentNode().removeChild(n);
    }

    void selectRows(const QStringList &wids)
    {
        window->listVD->clearSelection();
        for (const QString &wid : wids) {
            QTreeWidgetItem *r = row(wid);
            ASSERT_NE(r, nullptr) << wid.toStdString();
            window->listVD->setCurrentItem(r, 0, QItemSelectionModel::NoUpdate);
            r->setSelected(true);
        }
    }
    QStringList rowIds() const
    {
        QStringList out;
        for (int i = 0; i < window->listVD->topLevelItemCount(); ++i)
            out << tag(window->listVD->topLevelItem(i));
        return out;
    }

    // The centre of a folder node in tvwTopics' viewport ("" the root).
    QPoint folderPoint(const QString &tid)
    {
        QTreeWidgetItem *item = tid.isEmpty() ? root() : node(tid);
        EXPECT_NE(item, nullptr) << tid.toStdString();
        for (QTreeWidgetItem *p = item ? item->parent() : nullptr; p; p = p->parent())
            p->setExpanded(true);
        topics()->scrollToItem(item);
        return topics()->visualItemRect(item).center();
    }

    // A drag entering target at pos, moving and dropping; true when the drop was taken.
    static bool dropOn(QWidget *target, const QMimeData *data, const QPoint &pos)
    {
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(pos, actions, data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDragMoveEvent move(pos, actions, data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &move);
        if (!move.isAccepted())
            return false;
        QDropEvent drop(QPointF(pos), actions, data, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        return drop.isAccepted();
    }
    // A drag of the window's own from start to end, dropped on the folder tid.
    bool dragOntoFolder(QMimeData *started, const QString &tid)
    {
        std::unique_ptr<QMimeData> data(started);
        EXPECT_NE(data, nullptr);
        if (!data)
            return false;
        const bool taken = dropOn(topics()->viewport(), data.get(), folderPoint(tid));
        drags().OLECompleteDrag();
        QCoreApplication::processEvents(); // what the drop left for after its delivery
        return taken;
    }
    bool dragFolder(const QString &tid, const QString &targetTid)
    {
        topics()->setCurrentItem(node(tid));
        return dragOntoFolder(drags().tvwTopics_OLEStartDrag(), targetTid);
    }
    bool dragRows(const QStringList &wids, const QString &targetTid)
    {
        selectRows(wids);
        return dragOntoFolder(drags().listVD_OLEStartDrag(), targetTid);
    }
    static std::unique_ptr<QMimeData> textData(const QString &text)
    {
        auto data = std::make_unique<QMimeData>();
        data->setText(text);
        return data;
    }
};

} // namespace rr::test
