// Views scrolled away from what the user acts on: a drag resting at the folder tree's top edge, and
// the Menu key on a current row out of sight.
#include "editingfixture.h"
#include "popupsfixture.h"

#include "support/mousedrag.h"
#include "support/windowcontrols.h"
#include "support/xmlids.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>

using namespace rr;
using namespace rr::test;

namespace
{

// Forty folders, Folder 10 to Folder 49, the last holding Inner (T60); and forty Vardecks in Folder 10.
QByteArray manyFolders()
{
    QByteArray vardecks;
    for (int i = 10; i < 50; ++i)
        vardecks += vardeckXml("W" + QString::number(i), "Page " + QString::number(i));
    QByteArray folders = folderXml("T10", "Folder 10", vardecks);
    for (int i = 11; i < 49; ++i)
        folders += folderXml("T" + QByteArray::number(i), "Folder " + QByteArray::number(i));
    folders += folderXml("T49", "Folder 49", {}, folderXml("T60", "Inner"));
    return "<FOLDERS>" + folders + "</FOLDERS>";
}

using ScrolledViewsTest = PopupsTest;

// The drag rests at the top edge of the tree scrolled to its end: the tree scrolls up to its root,
// the highlight marks the node under the resting pointer as it comes, and the drop lands there.
TEST_F(ScrolledViewsTest, aDragRestingAtTheFolderTreesTopEdgeScrollsItUpAndTheHighlightFollows)
{
    openDatabase(manyFolders());
    QScrollBar *bar = topics()->verticalScrollBar();
    const QPoint inner = folderPoint("T60");
    ASSERT_GT(bar->value(), 0) << "the tree is scrolled to its end";
    QStringList highlighted;
    drags().setDragLoop([&](QWidget *viewport, QMimeData *data) {
        std::unique_ptr<QMimeData> owned(data);
        QCoreApplication::processEvents();
        const QPoint top(30, 2);
        QDragEnterEvent enter(top, Qt::MoveAction, owned.get(), Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(top, Qt::MoveAction, owned.get(), Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &move);
        highlighted << tag(drags().dropHighlight());
        EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() == 0; }, 5000));
        highlighted << tag(drags().dropHighlight());
        EXPECT_EQ(drags().dropHighlight(), topics()->itemAt(top)) << "the node now under the pointer";
        EXPECT_EQ(drags().dropHighlight(), root());
        dropOn(viewport, owned.get(), top);
    });
    test::mouseDragFrom(topics()->viewport(), inner, true);
    ASSERT_EQ(highlighted.size(), 2);
    EXPECT_NE(highlighted.front(), "") << "a folder far down was marked first";
    EXPECT_EQ(highlighted.back(), "");
    EXPECT_EQ(childIdsOnDisk(path, "", "").last(), "T60") << "dropped on the root reached";
    EXPECT_EQ(childIdsOnDisk(path, "T49", "SUBFOLDERS"), QStringList());
}

// The Menu key on a tree or a list whose current item is scrolled out of sight brings the item into
// view and opens its popup there, as a right-click on it does.
TEST_F(ScrolledViewsTest, theMenuKeyOnAnItemScrolledOutOfSightOpensItsPopupOnTheView)
{
    openDatabase(manyFolders());
    clickFolder("T10");
    tabView(*window)->setTab(int(ViewTab::Folder));
    const std::tuple<QTreeWidget *, QTreeWidgetItem *, QString, QString> cases[] = {
        {topics(), node("T11"), "mnuTopicMenu", "T11"},
        {listVD(*window), row("W10"), "mnuListVD", "W10"},
    };
    for (const auto &[view, item, popup, id] : cases) {
        SCOPED_TRACE(popup.toStdString());
        ASSERT_NE(item, nullptr);
        view->setCurrentItem(item);
        view->scrollToBottom();
        settle();
        ASSERT_FALSE(view->viewport()->rect().contains(view->visualItemRect(item).center())) << "out of sight";
        view->setFocus();
        QContextMenuEvent request(QContextMenuEvent::Keyboard, {}, view->mapToGlobal(QPoint()));
        QApplication::sendEvent(view, &request);
        settle();
        EXPECT_EQ(openPopup(), popup);
        const QRect shown = view->visualItemRect(item);
        EXPECT_TRUE(view->viewport()->rect().contains(shown.center())) << "brought into view";
        EXPECT_EQ(tag(view->currentItem()), id);
        // At the height of the item; the screen's edge may push it to the left.
        if (QWidget *open = QApplication::activePopupWidget()) {
            EXPECT_EQ(open->pos().y(), view->viewport()->mapToGlobal(shown.center()).y());
        }
        closePopups();
    }
}

} // namespace
