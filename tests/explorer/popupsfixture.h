#pragma once
// The Explorer's popups, move launchers and drags on a main window with the finding panes and
// the editor, on a database with four Vardecks in one folder.
#include "explorerfixture.h"

#include "explorer/dragdrop.h"
#include "explorer/editing.h"
#include "explorer/popupsanddrops.h"
#include "finding/ui/findingui.h"
#include "support/mousedrag.h"
#include "support/windowcontrols.h"

#include <QDropEvent>
#include <QMimeData>

#include <memory>
#include <optional>

namespace rr::test
{

class PopupsTest : public ExplorerTest
{
protected:
    void SetUp() override
    {
        ExplorerTest::SetUp();
        installFinding(*window);
        installEditing(*window);
        parts.emplace(installPopupsAndDrops(*window, *explorer));
    }

    // T1 Alpha (W1 One, W2 Two, W3 Three, W4 Four with 3 hits; sub-folder T2 Beta holding T3 Gamma),
    // T4 Delta (W5 Five with 5 hits), T5 Echo (empty).
    void open()
    {
        auto vd = [](const char *wid, const char *name, const char *address, const char *hits = "1") {
            return VD{wid, name, address, "06 Dec 2026", "", "", "", "", "", hits, "FALSE"}.xml();
        };
        const QByteArray alpha =
            folderXml("T1", "Alpha",
                      vd("W1", "One", "http://one.example/") + vd("W2", "Two", "http://two.example/a") +
                          vd("W3", "Three", "https://three.example/x") + vd("W4", "Four", "http://four.example/", "3"),
                      folderXml("T2", "Beta", {}, folderXml("T3", "Gamma")));
        openDatabase("<FOLDERS>" + alpha + folderXml("T4", "Delta", vd("W5", "Five", "http://five.example/", "5")) +
                     folderXml("T5", "Echo") + "</FOLDERS>");
        StatusBar1(*window)->setPanelText(3, "Vardecks");
    }

    InternalDrags &drags() const { return parts->drags; }
    PopupCommands &popups() const { return parts->popups; }
    std::optional<PopupsAndDrops> parts;

    void selectRows(const QStringList &wids)
    {
        listVD(*window)->clearSelection();
        for (const QString &wid : wids) {
            QTreeWidgetItem *r = row(wid);
            ASSERT_NE(r, nullptr) << wid.toStdString();
            listVD(*window)->setCurrentItem(r, 0, QItemSelectionModel::NoUpdate);
            r->setSelected(true);
        }
    }

    // The centre of a folder node in tvwTopics' viewport ("" the root).
    QPoint folderPoint(const QString &tid) { return shownAt(topics(), tid.isEmpty() ? root() : node(tid)); }

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
        // What the drop leads to runs once the drop has been delivered.
        QCoreApplication::processEvents();
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
        return dragOntoFolder(drags().tvwTopics_OLEStartDrag(node(tid)), targetTid);
    }
    bool dragRows(const QStringList &wids, const QString &targetTid)
    {
        selectRows(wids);
        return dragOntoFolder(drags().listVD_OLEStartDrag(), targetTid);
    }
    // The user's drag of the folder tid with the mouse: the button pressed on it, the pointer moved past
    // the drag distance (in small steps or in one move) and the platform's drag loop delivering the drop
    // on targetTid. The loop keeps the button's release: the tree never sees it.
    void mouseDragFolder(const QString &tid, const QString &targetTid, bool smallSteps)
    {
        QWidget *viewport = topics()->viewport();
        const QPoint from = folderPoint(tid);
        const QPoint to = folderPoint(targetTid);
        drags().setDragLoop([to](QWidget *source, QMimeData *data) {
            std::unique_ptr<QMimeData> owned(data);
            dropOn(source, owned.get(), to);
        });
        test::mouseDragFrom(viewport, from, smallSteps);
    }
    static std::unique_ptr<QMimeData> textData(const QString &text)
    {
        auto data = std::make_unique<QMimeData>();
        data->setText(text);
        return data;
    }
};

} // namespace rr::test
