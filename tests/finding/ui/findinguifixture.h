#pragma once
// A main window with the finding panes installed and a small database open: folder
// T1 "First" holding the first Vardecks, T2 "Second" with the sub-folder T3 "Inner"
// holding the nested ones. The Explorer's refresh operations are stand-ins that
// record what they were asked to show.
#include "controls/qbbuttons_h.h"
#include "finding/findingfixture.h"
#include "finding/ui/findingui.h"
#include "finding/ui/listrows.h"
#include "shell/frmvardecks.h"
#include "shell/statuspanels.h"
#include "shell/tabstrip.h"
#include "storage/useroptions.h"
#include "support/fakelauncher.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTreeWidget>

#include <memory>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace rr::test
{

class FindingUiTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        recentColl.clear();
        searchColl.clear();
        searchMax = 15;
        recentMax = 15;
        appOptions() = UserOptions();
        window = std::make_unique<frmVardecks>();
        window->LoadDynamicMenus();
        window->resetMenuItems();
        ui = &installFinding(*window);
        window->ops.displayVardeckData = [this](XmlNode vardeck) {
            shown << vardeck.attribute("WID");
            window->currentWID = vardeck.attribute("WID");
            window->setWNameCaption(vardeck.childText("NAME"));
        };
        window->ops.populateVDList = [this](XmlNode folder) { listed << folder.attribute("TID"); };
        window->ops.setFormEditMode = [this](bool editing) { editModes << editing; };
        window->ops.refreshRecentMenuList = [this](const QString &wid) { recentMenuCalls << wid; };
        window->show();
        QApplication::setActiveWindow(window.get());
        window->activateWindow();
        (void)QTest::qWaitForWindowActive(window.get(), 1000);
    }

    void TearDown() override
    {
        window.reset();
        recentColl.clear();
        searchColl.clear();
        appOptions() = UserOptions();
    }

    void open(const QList<Vd> &first, const QList<Vd> &nested = {})
    {
        const QByteArray body = "<FOLDERS>" + folderXml("T1", "First", vardecksXml(first)) +
                                folderXml("T2", "Second", {}, folderXml("T3", "Inner", vardecksXml(nested))) +
                                "</FOLDERS>";
        path = writeDatabase(home.databaseFolder(), "Vardecks.xml", body);
        window->dbXML = std::make_unique<XMLDatabase>();
        window->dbXML->setPath(path);
        ASSERT_TRUE(window->dbXML->openDBValidate(path));
        window->m_objDOMVardecks = doc();
        // The folder tree as the Explorer builds it: the root, then each folder
        // tagged with its TID.
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

    static QStringList column(const QTreeWidget *list, int column)
    {
        QStringList texts;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            texts << list->topLevelItem(i)->text(column);
        return texts;
    }
    static QStringList tags(const QTreeWidget *list)
    {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << findingui::tagOf(list->topLevelItem(i));
        return out;
    }
    static QStringList menuCaptions(const frmVardecks &w)
    {
        QStringList captions;
        for (QAction *item : w.subMenu("mnuFavs")->actions())
            if (item->property("rrArray").toString() == "first" && item->isVisible())
                captions << item->text();
        return captions;
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
    static void clickHeader(QTreeWidget *list, int section)
    {
        QHeaderView *header = list->header();
        const int x = header->sectionViewportPosition(section) + header->sectionSize(section) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    }

    TempHome home;
    ScriptedPrompts prompts;
    FakeLauncher launcher;
    std::unique_ptr<frmVardecks> window;
    FindingUi *ui = nullptr;
    QString path;
    QStringList shown;
    QStringList listed;
    QList<bool> editModes;
    QStringList recentMenuCalls;
};

} // namespace rr::test
