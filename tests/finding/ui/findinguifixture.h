#pragma once
// A main window with the finding panes installed and the finding database open. The
// Explorer's refresh operations are stand-ins that record what they were asked to show.
#include "finding/findingfixture.h"
#include "finding/ui/findingui.h"
#include "finding/ui/listrows.h"
#include "shell/windowfixture.h"
#include "storage/useroptions.h"
#include "support/fakelauncher.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>

namespace rr::test
{

class FindingUiTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        resetFindingLists();
        appOptions() = UserOptions();
        MainWindowTest::SetUp();
        ui = &installFinding(*window);
        window->ops.displayVardeckData = [this](XmlNode vardeck) {
            shown << vardeck.attribute("WID");
            window->currentWID = vardeck.attribute("WID");
            window->setWNameCaption(vardeck.childText("NAME"));
        };
        window->ops.populateVDList = [this](XmlNode folder) { listed << folder.attribute("TID"); };
        window->ops.setFormEditMode = [this](bool editing) { editModes << editing; };
        window->ops.refreshRecentMenuList = [this](const QString &wid) { recentMenuCalls << wid; };
    }

    void open(const QList<Vd> &first, const QList<Vd> &nested = {})
    {
        path = writeDatabase(home.databaseFolder(), "Vardecks.xml", foldersXml(first, nested));
        window->dbXML = std::make_unique<XMLDatabase>();
        window->dbXML->setPath(path);
        ASSERT_TRUE(window->dbXML->openDBValidate(path));
        window->m_objDOMVardecks = doc();
        // The folder tree as the Explorer builds it: the root, then each folder tagged with its TID.
        auto *root = new QTreeWidgetItem(window->tvwTopics, {"FOLDERS"});
        auto folderNode = [](QTreeWidgetItem *parent, const QString &name, const QString &tid) {
            auto *node = new QTreeWidgetItem(parent, {name});
            findingui::setTag(node, tid);
            return node;
        };
        folderNode(root, "First", "T1");
        folderNode(folderNode(root, "Second", "T2"), "Inner", "T3");
    }

    XmlDocument *doc() const { return window->dbXML->getTheDOM(); }
    QByteArray fileBytes() const { return readBytes(path); }
    // A field of a Vardeck as the file on disk holds it.
    QString onDisk(const QString &wid, const QString &field) const
    {
        XmlDocument disk;
        EXPECT_TRUE(disk.load(path));
        return disk.nodeFromID(wid).childText(field);
    }

    static QList<QTreeWidgetItem *> rows(const QTreeWidget *list)
    {
        QList<QTreeWidgetItem *> out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << list->topLevelItem(i);
        return out;
    }
    static QStringList column(const QTreeWidget *list, int column)
    {
        return texts(rows(list), [column](QTreeWidgetItem *row) { return row->text(column); });
    }
    static QStringList tags(const QTreeWidget *list) { return texts(rows(list), &findingui::tagOf); }
    // The visible items of a run-time menu array ("first" the favourites, "second" the recent list).
    QStringList menuTexts(const QString &array) const
    {
        QStringList out;
        for (int i = 0; i <= window->menuArrayUpperBound(array); ++i)
            if (const QAction *item = window->menuItem(array, i); item && item->isVisible())
                out << item->text();
        return out;
    }

    // Types into the search box and presses the Search button.
    void search(const QString &text)
    {
        window->tabIndex->setTab(1);
        window->cmbSearch->setEditText(QString());
        QTest::keyClicks(window->cmbSearch->lineEdit(), text);
        QTest::mouseClick(window->cmdSearch, Qt::LeftButton);
    }
    static void clickRow(QTreeWidget *list, int row, Qt::MouseButton button = Qt::LeftButton)
    {
        const QRect rect = list->visualItemRect(list->topLevelItem(row));
        QTest::mouseClick(list->viewport(), button, {}, rect.center());
    }

    FakeLauncher launcher;
    FindingUi *ui = nullptr;
    QString path;
    QStringList shown;
    QStringList listed;
    QList<bool> editModes;
    QStringList recentMenuCalls;
};

} // namespace rr::test
