#pragma once
// A main window with the finding panes and database; the Explorer's operations only record their calls.
#include "finding/findingfixture.h"
#include "finding/ui/findingui.h"
#include "finding/ui/listrows.h"
#include "platform/gui/partoperations.h"
#include "shell/detailsoperations.h"
#include "shell/foldertreeoperations.h"
#include "shell/vardeckviewsoperations.h"
#include "shell/windowfixture.h"
#include "storage/useroptions.h"
#include "support/fakelauncher.h"
#include "support/findingstandins.h"
#include "support/windowcontrols.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>

namespace rr::test
{

// The Explorer's Vardeck views: each folder the folder list is filled with is recorded.
class ListedFolders : public QObject, public VardeckViewsOperations
{
public:
    explicit ListedFolders(QStringList &listed) : m_listed(listed) {}
    void populateVDList(const XmlNode &folder) override { m_listed << folder.attribute("TID"); }

private:
    QStringList &m_listed;
};

// The Explorer's folder tree: the folders' paths as it shows them.
class FolderPaths : public QObject, public FolderTreeOperations
{
public:
    std::optional<QString> folderPathOf(const QString &tid) const override
    {
        const QMap<QString, QString> paths = {{"T1", "\\First"}, {"T2", "\\Second"}, {"T3", "\\Second\\Inner"}};
        if (!paths.contains(tid))
            return std::nullopt;
        return paths.value(tid);
    }
};

class FindingUiTest : public MainWindowTest
{
protected:
    // The details panel records the Vardecks shown and the faces asked for; its texts,
    // hit count and favourite mark are the real panel's.
    class RecordingDetails : public QObject, public DetailsOperations
    {
    public:
        RecordingDetails(FindingUiTest &test, DetailsOperations &panel)
            : QObject(test.window.get()), test(test), panel(panel)
        {
        }
        void displayVardeckData(const XmlNode &vardeck) override
        {
            test.shown << vardeck.attribute("WID");
            test.window->showVardeck(vardeck.attribute("WID"), vardeck.childText("NAME"));
        }
        void setFormEditMode(bool editing) override { test.editModes << editing; }
        QString detailsText(DetailsField field) const override { return panel.detailsText(field); }
        void showHits(const QString &hits) override { panel.showHits(hits); }
        void showFavoriteMark(bool favorite) override { panel.showFavoriteMark(favorite); }

    private:
        FindingUiTest &test;
        DetailsOperations &panel;
    };

    void SetUp() override
    {
        MainWindowTest::SetUp();
        auto *details = new RecordingDetails(*this, operationsOf<DetailsOperations>(*window));
        offerOperations<DetailsOperations>(*window, *details, *details);
        offerOperations<VardeckViewsOperations>(*window, listedFolders, listedFolders);
        recentMenu = std::make_unique<RecentMenuStandIn>(*window);
        recentMenu->onRefreshRecentMenuList = [this](const QString &wid) { recentMenuCalls << wid; };
        // The Vardeck editor's question before an edit is dropped: on Yes the edit ends.
        window->commands.guardEdits([this](OnEdit) {
            if (!window->confirmLoseChanges())
                return false;
            window->setEditState(EditState::Viewing);
            return true;
        });
    }

    void installParts() override { ui = &installFinding(*window); }

    void open(const QList<Vd> &first, const QList<Vd> &nested = {})
    {
        path = writeDatabase(home.databaseFolder(), "Vardecks.xml", foldersXml(first, nested));
        auto db = std::make_unique<XMLDatabase>();
        db->setPath(path);
        ASSERT_TRUE(db->openDBValidate(path));
        window->dbXML.open(std::move(db), "Vardecks.xml");
        // The folders' paths as the Explorer's folder tree shows them.
        offerOperations<FolderTreeOperations>(*window, folderPaths, folderPaths);
    }

    // Nine, twelve and one "q" in the notes: W2 has the most matches.
    void openCounted()
    {
        auto qs = [](int n) { return QStringList(n, "q").join(' '); };
        open({Vd("W1").name("nine").notes(qs(9)), Vd("W2").name("twelve").notes(qs(12))},
             {Vd("W3").name("one").notes("q").address("http://inner.example/x")});
    }
    XmlDocument *doc() const { return window->dbXML->getTheDOM(); }

    // Each row's text in a column, or its tag (WID) with column -1.
    static QStringList column(const QTreeWidget *list, int column)
    {
        QStringList out;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            out << (column < 0 ? tagOf(list->topLevelItem(i)) : list->topLevelItem(i)->text(column));
        return out;
    }
    // The visible items of a run-time menu array (first the favourites, second the recent list) as its menu
    // shows them when it opens.
    QStringList menuTexts(MenuId array) const
    {
        openMenuOf(array);
        QStringList out;
        for (int i = 0; i <= window->menuArrayUpperBound(array); ++i)
            if (const QAction *item = window->menuItem(array, i); item && item->isVisible())
                out << item->text();
        return out;
    }

    // What opening the menu of a run-time menu array does before it shows.
    void openMenuOf(MenuId array) const
    {
        if (auto *menu = qobject_cast<QMenu *>(window->menuItem(array, 0)->parent()))
            emit menu->aboutToShow();
    }

    // Types into the search box and presses the Search button.
    void search(const QString &text)
    {
        tabIndex(*window)->setTab(1);
        cmbSearch(*window)->setEditText(QString());
        QTest::keyClicks(cmbSearch(*window)->lineEdit(), text);
        QTest::mouseClick(cmdSearch(*window), Qt::LeftButton);
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
    ListedFolders listedFolders{listed};
    FolderPaths folderPaths;
    QList<bool> editModes;
    QStringList recentMenuCalls;
    std::unique_ptr<RecentMenuStandIn> recentMenu;
};

} // namespace rr::test
