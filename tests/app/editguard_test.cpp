// An edit under way in the window as the program puts it together: whatever menu item,
// popup entry, toolbar button or key the user reaches for, the edit goes on with what was
// typed, or the user is asked first and a No keeps it.
#include "app/assembly.h"
#include "explorer/databasecommands.h"
#include "explorer/explorerfixture.h"
#include "platform/gui/itemtags.h"
#include "shell/menutable.h"
#include "storage/chosendatabase.h"
#include "support/fakelauncher.h"
#include "support/modaldriver.h"

#include <QAction>
#include <QSet>

using namespace rr;
using namespace rr::test;

namespace
{

const QString kLoseChanges = QStringLiteral("You are about to lose unsaved changes - do you wish to continue?");

// Answers every question with No (Cancel where there is no No) and keeps what it asked.
class AnswersNo final : public PromptHandler
{
public:
    AnswersNo() : m_previous(prompt::installed()) { prompt::install(this); }
    ~AnswersNo() override { prompt::install(m_previous); }
    MsgResult message(const MessageRequest &request) override
    {
        asked << request.text;
        defaults << request.defaultButton;
        switch (request.buttons) {
        case MsgButtons::YesNo:
        case MsgButtons::YesNoCancel:
            return yes ? MsgResult::Yes : MsgResult::No;
        case MsgButtons::Ok:
            return MsgResult::Ok;
        case MsgButtons::AbortRetryIgnore:
            return MsgResult::Abort;
        default:
            return MsgResult::Cancel;
        }
    }
    QString file(const FileRequest &) override { return {}; }
    QString input(const InputRequest &, bool *ok) override
    {
        if (ok)
            *ok = false;
        return {};
    }
    QStringList asked;
    // The button each question had as its default, which Enter presses.
    QList<MsgResult> defaults;
    bool yes = false;

private:
    PromptHandler *m_previous;
};

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

void closePopups()
{
    while (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
}

enum class Edit { Adding, Modifying };

// A menu item the user can choose: it and every menu above it are enabled. A popup menu
// is a hidden menu of the bar that the window opens itself, whatever its item there says.
bool canBeChosen(const QAction *item)
{
    if (!item->isEnabled())
        return false;
    const auto *menu = qobject_cast<const QMenu *>(item->parent());
    if (!menu || !menu->menuAction()->isVisible())
        return true;
    if (!menu->menuAction()->isEnabled())
        return false;
    for (const QObject *above : menu->menuAction()->associatedObjects()) {
        const auto *parentMenu = qobject_cast<const QMenu *>(above);
        if (parentMenu && !canBeChosen(parentMenu->menuAction()))
            return false;
    }
    return true;
}

// The keys that reach a control past the window, which consumes a menu item's key
// whatever the state of the item.
class KeysReaching final : public QObject
{
public:
    explicit KeysReaching(const QList<QLineEdit *> &boxes)
    {
        for (QLineEdit *box : boxes)
            box->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool modifierAlone = key->key() == Qt::Key_Control || key->key() == Qt::Key_Shift ||
                                   key->key() == Qt::Key_Alt || key->key() == Qt::Key_Meta;
        if (event->type() == QEvent::KeyPress && !modifierAlone)
            keys << QKeySequence(key->keyCombination()).toString();
        return false;
    }
    QStringList keys;
};

class EditGuardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<frmVardecks>();
        assembleMainWindow(*window);
        window->LoadDynamicMenus();
        window->resetToolbarButtons();
        window->resetMenuItems();
        window->resize(1000, 700);
        window->show();
        QApplication::setActiveWindow(window.get());
        const QString path = writeDatabase(home.databaseFolder(), "Vardecks.xml", sampleBody());
        openTheDatabase(*window, ChosenDatabase{path, "Vardecks.xml"});
        settle();
    }
    void TearDown() override
    {
        closePopups();
        window.reset();
    }

    // Shows Beta site (W1) of the folder zebra, then starts the edit and types into it.
    void begin(Edit edit)
    {
        clickItem(tvwTopics(*window), findByTag(tvwTopics(*window), "T1"));
        clickItem(tvwWM(*window), findByTag(tvwWM(*window), "W1"));
        settle();
        ASSERT_EQ(window->currentWID(), "W1");
        window->menuItem(edit == Edit::Adding ? MenuId::mnuAddVardeck : MenuId::mnuEditModify)->trigger();
        settle();
        ASSERT_EQ(window->editState(), state(edit));
        type(txtWName(*window), "Typed");
        type(txtAddress(*window), "x");
        name = txtWName(*window)->text();
        address = txtAddress(*window)->text();
        prompts.asked.clear();
    }
    static EditState state(Edit edit) { return edit == Edit::Adding ? EditState::Adding : EditState::Modifying; }
    static void type(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->end(false);
        QTest::keyClicks(box, text);
    }
    // The edit is on with everything typed.
    ::testing::AssertionResult goesOn(Edit edit) const
    {
        if (window->editState() != state(edit))
            return ::testing::AssertionFailure() << "the edit ended";
        if (txtWName(*window)->text() != name || txtAddress(*window)->text() != address)
            return ::testing::AssertionFailure() << "the boxes read \"" << txtWName(*window)->text().toStdString()
                                                 << "\" and \"" << txtAddress(*window)->text().toStdString() << '"';
        return ::testing::AssertionSuccess();
    }
    // Back to the Explorer with the name box focused, its caret at the end.
    void backToTheBox()
    {
        closePopups();
        if (window->currentAspect() != QLatin1String("Explorer"))
            window->menuItem(MenuId::mnuAspectExplorer)->trigger();
        QApplication::setActiveWindow(window.get());
        window->activateWindow();
        txtWName(*window)->setFocus();
        txtWName(*window)->end(false);
        settle();
    }
    // The edit goes, answered Yes.
    void drop()
    {
        prompts.yes = true;
        window->commands.cancelVardeckEdit();
        prompts.yes = false;
        ASSERT_EQ(window->editState(), EditState::Viewing);
    }
    void pressInBox(QLineEdit *box, QKeyCombination key)
    {
        box->setFocus();
        box->end(false);
        QTest::keyClick(box, key.key(), key.keyboardModifiers());
        settle();
    }

    TempHome home;
    AnswersNo prompts;
    FakeLauncher launcher;
    // Closes every window a command opens (About, Statistics, New folder…).
    ModalDriver dialogs;
    std::unique_ptr<frmVardecks> window;
    QString name;
    QString address;
};

class EditWalk : public EditGuardTest, public ::testing::WithParamInterface<Edit>
{
};

// No menu item, popup entry, toolbar button or key drops the edit unasked or changes a
// box: each keeps the edit, or asks and is answered No. Save alone ends it, by saving.
TEST_P(EditWalk, everyItemButtonAndKeyKeepsTheEditOrAsksAndANoKeepsIt)
{
    const Edit edit = GetParam();
    begin(edit);
    const auto check = [&](const QString &what) {
        settle();
        EXPECT_TRUE(goesOn(edit)) << qPrintable(what);
        if (window->editState() != state(edit)) {
            if (window->editState() != EditState::Viewing)
                drop();
            begin(edit);
        }
        backToTheBox();
    };

    int items = 0;
    for (QAction *item : window->allMenuItems()) {
        if (item->menu() || item->isSeparator() || !canBeChosen(item))
            continue;
        ++items;
        item->trigger();
        check(item->objectName());
    }
    EXPECT_GT(items, 40);

    QAction *save = window->toolbarButton(Tb::Save);
    for (QAction *button : window->toolbarButtons()) {
        if (button == save)
            continue;
        button->trigger();
        check("toolbar button " + button->toolTip());
    }
    for (AspectButton button : {AspectButton::Web, AspectButton::Explorer}) {
        window->aspectButton(button)->trigger();
        check("aspect button " + QString::number(int(button)));
    }

    // The window's own keys (Save excepted) go on to the box; the menus' keys stop at
    // the window, but for Del and Shift+Del, which delete what is typed, and the keys
    // that copy, which change nothing, when no enabled item takes them.
    const QList<QKeyCombination> ownKeys = {Qt::Key_Escape, Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5};
    const QList<QKeyCombination> boxKeys = {Qt::Key_Delete, QKeyCombination(Qt::ShiftModifier, Qt::Key_Delete)};
    QList<QKeyCombination> keys = ownKeys;
    QSet<QString> seen;
    for (QAction *item : window->allMenuItems()) {
        const QKeySequence shortcut = item->shortcut();
        if (!shortcut.isEmpty() && !seen.contains(shortcut.toString())) {
            seen.insert(shortcut.toString());
            keys << shortcut[0];
        }
    }
    EXPECT_GT(seen.size(), 30);
    for (QLineEdit *box : {txtWName(*window), txtAddress(*window)}) {
        for (const QKeyCombination key : keys) {
            KeysReaching reaching({box});
            pressInBox(box, key);
            const QString name = QKeySequence(key).toString();
            const bool copies = QKeySequence::keyBindings(QKeySequence::Copy).contains(QKeySequence(key));
            if (copies)
                EXPECT_LE(reaching.keys.size(), 1) << qPrintable(name);
            else
                EXPECT_EQ(reaching.keys,
                          ownKeys.contains(key) || boxKeys.contains(key) ? QStringList{name} : QStringList())
                    << qPrintable(name);
            check(name + " in " + box->objectName());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AddAndModification, EditWalk, ::testing::Values(Edit::Adding, Edit::Modifying),
                         [](const auto &info) { return info.param == Edit::Adding ? "add" : "modification"; });

// Update while the Vardeck is being modified, from wherever it is reached, leaves the
// edit as it is: the tab keeps one marker, and Esc still asks before dropping the text.
TEST_F(EditGuardTest, updateDuringAModificationLeavesItAsItIsAndEscStillAsks)
{
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"the details popup", [&] { window->menuItem(MenuId::mnuModVD2)->trigger(); }},
        {"the Vardeck tree's popup", [&] { window->menuItem(MenuId::mnuModVD)->trigger(); }},
        {"the toolbar",
         [&] {
             window->menuItem(MenuId::mnuAspectWeb)->trigger();
             window->menuItem(MenuId::mnuAspectExplorer)->trigger();
             window->toolbarButton(Tb::UpdateVardeck)->trigger();
         }},
        {"Ctrl+U", [&] { pressInBox(txtWName(*window), QKeyCombination(Qt::ControlModifier, Qt::Key_U)); }},
        {"the command", [&] { window->commands.mnuEditModify_Click(); }},
    };
    for (const auto &[way, run] : ways) {
        begin(Edit::Modifying);
        run();
        settle();
        backToTheBox();
        EXPECT_EQ(window->vardeckTabCaption(), "   *Beta siteTyped    ") << way;
        pressInBox(txtWName(*window), Qt::Key_Escape);
        EXPECT_EQ(prompts.asked.value(prompts.asked.size() - 1), kLoseChanges) << way;
        EXPECT_TRUE(goesOn(Edit::Modifying)) << way;
        drop();
    }
}

// The keys of commands an edit turns off do nothing in its boxes: what is typed is saved.
TEST_F(EditGuardTest, theKeysOfDisabledCommandsLeaveWhatIsTypedInAnAdd)
{
    begin(Edit::Adding);
    KeysReaching reaching({txtWName(*window), txtAddress(*window)});
    for (QLineEdit *box : {txtWName(*window), txtAddress(*window)}) {
        for (Qt::Key key : {Qt::Key_U, Qt::Key_D, Qt::Key_O, Qt::Key_Y, Qt::Key_M}) {
            box->setFocus();
            box->home(false);
            QTest::keyClick(box, key, Qt::ControlModifier);
            settle();
        }
    }
    EXPECT_EQ(reaching.keys, QStringList());
    EXPECT_TRUE(goesOn(Edit::Adding));
    EXPECT_EQ(name, "Typed");
    EXPECT_EQ(address, "x");
    window->commands.saveVardeckDetails();
    const XmlNode added = window->dbXML.vardeck(window->currentWID());
    ASSERT_TRUE(added);
    EXPECT_EQ(added.childText("NAME"), "Typed");
    EXPECT_EQ(added.childText("ADDRESS"), "x");
}

// Switching Aspects during an edit leaves what the edit turned off turned off.
TEST_F(EditGuardTest, theWebAspectAndBackLeaveTheCommandsAsTheEditHasThem)
{
    for (Edit edit : {Edit::Adding, Edit::Modifying}) {
        begin(edit);
        window->menuItem(MenuId::mnuAspectWeb)->trigger();
        window->menuItem(MenuId::mnuAspectExplorer)->trigger();
        for (Tb button : {Tb::UpdateVardeck, Tb::DeleteVardeck})
            EXPECT_FALSE(window->toolbarButton(button)->isEnabled()) << int(button);
        for (MenuId item : {MenuId::mnuToolsIcon, MenuId::mnuThumb})
            EXPECT_FALSE(window->menuItem(item)->isEnabled()) << qPrintable(menuEntry(item).name);
        EXPECT_EQ(window->menuItem(MenuId::mnuEdit)->isEnabled(), edit == Edit::Adding);
        EXPECT_TRUE(goesOn(edit));
        drop();
    }
}

// The popup entries and commands that end a modification ask before anything else, and
// a No keeps the edit.
TEST_F(EditGuardTest, whatEndsAModificationAsksFirstAndANoKeepsTheEdit)
{
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"Delete Vardeck of the details popup", [&] { window->menuItem(MenuId::mnuDeleteVD2)->trigger(); }},
        {"Delete Vardeck of the Vardeck tree's popup", [&] { window->menuItem(MenuId::mnuDeleteVD)->trigger(); }},
        {"Delete Vardeck", [&] { window->commands.mnuEditDelete_Click(); }},
        {"Rename folder of the folder popup", [&] { window->menuItem(MenuId::mnuRenameFolder)->trigger(); }},
        {"Rename folder of the background popup", [&] { window->menuItem(MenuId::mnuModFolder)->trigger(); }},
        {"Rename Folder", [&] { window->commands.mnuEditModifyTopic_Click(); }},
        {"Delete folder", [&] { window->menuItem(MenuId::mnuDeleteFolder)->trigger(); }},
        {"New Vardeck of a popup", [&] { window->menuItem(MenuId::mnuNewVD3)->trigger(); }},
        {"Delete Vardeck of the list popup",
         [&] { window->menuItem(MenuId::mnuList, int(ListPopupEntry::DeleteVardeck))->trigger(); }},
        {"File > Close", [&] { window->commands.mnuFileClose_Click(); }},
    };
    for (const auto &[way, run] : ways) {
        begin(Edit::Modifying);
        run();
        settle();
        EXPECT_EQ(prompts.asked, QStringList{kLoseChanges}) << way;
        EXPECT_TRUE(goesOn(Edit::Modifying)) << way;
        EXPECT_TRUE(window->dbXML.vardeck("W1")) << way;
        drop();
    }
    // The folder popup's renames run Rename Folder, which asks in turn; they say
    // themselves that they end an edit, as the popup's other entries do.
    for (HandlerRef rename : {&Commands::mnuRenameFolder_Click, &Commands::mnuModFolder_Click})
        EXPECT_EQ((window->commands.*rename).effectAt(0), OnEdit::Ends);
}

// A click on another Vardeck answered No leaves the highlight on the one being edited.
TEST_F(EditGuardTest, afterANoTheHighlightGoesBackToTheVardeckBeingEdited)
{
    window->menuItem(MenuId::mnuViewPop)->trigger();
    settle();
    window->menuItem(MenuId::mnuViewIndex)->trigger();
    struct Row {
        const char *where;
        std::function<QTreeWidget *()> show;
        bool byKey; // Home, else a click on the other row
    };
    const Row lists[] = {
        {"a click in the folder's Vardecks", [&] { return tvwWM(*window); }, false},
        {"Home in the folder's Vardecks", [&] { return tvwWM(*window); }, true},
        {"a click in the popular list",
         [&] {
             window->menuItem(MenuId::mnuViewPop)->trigger();
             settle();
             return listPop(*window);
         },
         false},
    };
    for (const auto &[where, show, byKey] : lists) {
        begin(Edit::Modifying);
        QTreeWidget *list = show();
        QTreeWidgetItem *other = findByTag(list, "W3") ? findByTag(list, "W3") : findByTag(list, "W2");
        ASSERT_NE(other, nullptr) << where;
        if (byKey) {
            list->setFocus();
            QTest::keyClick(list, Qt::Key_Home);
        } else {
            clickItem(list, other);
        }
        settle();
        EXPECT_EQ(prompts.asked, QStringList{kLoseChanges}) << where;
        EXPECT_TRUE(goesOn(Edit::Modifying)) << where;
        EXPECT_EQ(tagOf(selectedItemOf(list)), findByTag(list, "W1") ? "W1" : "") << where;
        EXPECT_FALSE(other->isSelected()) << where;
        drop();
        window->menuItem(MenuId::mnuViewIndex)->trigger();
    }
}

// A Yes ends the edit for good: the Vardeck reached is shown, the stored one is
// unchanged, and the next click asks nothing.
TEST_F(EditGuardTest, afterAYesTheEditHasEndedAndTheNextClickAsksNothing)
{
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"another Vardeck of the folder", [&] { clickItem(tvwWM(*window), findByTag(tvwWM(*window), "W2")); }},
        {"a search result",
         [&] {
             if (!findByTag(lstSrch(*window), "W3")) {
                 window->menuItem(MenuId::mnuViewSearch)->trigger();
                 cmbSearch(*window)->setEditText("bank");
                 window->commands.cmdSearch_Click();
                 settle();
             }
             clickItem(lstSrch(*window), findByTag(lstSrch(*window), "W3"));
         }},
    };
    for (const auto &[way, run] : ways) {
        window->menuItem(MenuId::mnuViewIndex)->trigger();
        begin(Edit::Modifying);
        prompts.yes = true;
        run();
        settle();
        prompts.yes = false;
        EXPECT_EQ(prompts.asked, QStringList{kLoseChanges}) << way;
        EXPECT_EQ(window->editState(), EditState::Viewing) << way;
        EXPECT_NE(window->currentWID(), "W1") << way;
        EXPECT_EQ(window->dbXML.vardeck("W1").childText("NAME"), "Beta site") << way;
        prompts.asked.clear();
        run();
        settle();
        EXPECT_EQ(prompts.asked, QStringList()) << way;
    }
}

// A click on the row of the Vardeck being modified, in any list, or on the folder shown,
// is a click on what is shown: it asks nothing and the edit goes on as it was.
TEST_F(EditGuardTest, aClickOnTheVardeckBeingModifiedOrItsFolderAsksNothingAndChangesNothing)
{
    window->dbXML.vardeck("W1").setChildText("HITS", "5"); // so that it is popular
    const auto showTab = [&](MenuId view) {
        window->menuItem(view)->trigger();
        settle();
    };
    const auto click = [&](QTreeWidget *list, const QString &tag) { clickItem(list, findByTag(list, tag)); };
    const auto doubleClick = [&](QTreeWidget *list, const QString &tag) {
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, shownAt(list, findByTag(list, tag)));
    };
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"the folder's Vardecks", [&] { click(tvwWM(*window), "W1"); }},
        {"Go > Last Vardeck", [&] { window->menuItem(MenuId::mnuNav, 4)->trigger(); }},
        {"the folder shown", [&] { click(tvwTopics(*window), "T1"); }},
        {"the folder list",
         [&] {
             window->showViewTab(ViewTab::Folder);
             doubleClick(listVD(*window), "W1");
         }},
        {"the search results",
         [&] {
             showTab(MenuId::mnuViewSearch);
             cmbSearch(*window)->setEditText("Beta");
             window->commands.cmdSearch_Click();
             settle();
             click(lstSrch(*window), "W1");
             window->showViewTab(ViewTab::SearchResults);
             doubleClick(lstSearch(*window), "W1");
         }},
        {"the popular list",
         [&] {
             showTab(MenuId::mnuViewPop);
             click(listPop(*window), "W1");
         }},
        {"the favorites",
         [&] {
             showTab(MenuId::mnuViewFavs);
             click(tvwFavs(*window), "W1");
         }},
    };
    for (const auto &[way, run] : ways) {
        SCOPED_TRACE(way);
        showTab(MenuId::mnuViewIndex);
        begin(Edit::Modifying);
        run();
        settle();
        EXPECT_EQ(prompts.asked, QStringList()) << way;
        EXPECT_TRUE(goesOn(Edit::Modifying)) << way;
        EXPECT_EQ(window->currentWID(), "W1") << way;
        drop();
    }
}

// A click in the favourites during a modification ends it only when the user agrees:
// the question comes, its default is No, and a No puts the highlight back on the
// Vardeck being edited.
TEST_F(EditGuardTest, aClickInTheFavoritesDuringAModificationAsksAndANoPutsTheirHighlightBack)
{
    window->dbXML.vardeck("W3").setChildText("FAV", "TRUE");
    begin(Edit::Modifying);
    window->menuItem(MenuId::mnuViewFavs)->trigger();
    settle();
    QTreeWidgetItem *other = findByTag(tvwFavs(*window), "W3");
    ASSERT_NE(other, nullptr);
    clickItem(tvwFavs(*window), other);
    settle();
    EXPECT_EQ(prompts.asked, QStringList{kLoseChanges});
    EXPECT_EQ(prompts.defaults, QList<MsgResult>{MsgResult::No});
    EXPECT_TRUE(goesOn(Edit::Modifying));
    EXPECT_EQ(window->currentWID(), "W1");
    EXPECT_EQ(tagOf(selectedItemOf(tvwFavs(*window))), "W1");
    EXPECT_FALSE(other->isSelected());
}

// During an add, a press on one folder let go on another is no click: the tree's
// highlight goes back to the folder shown, and Save puts the new Vardeck there.
TEST_F(EditGuardTest, aPressOnAFolderLetGoOnAnotherDuringAnAddLeavesTheNewVardeckWhereTheWindowShowsIt)
{
    begin(Edit::Adding);
    QTreeWidget *tree = tvwTopics(*window);
    const QPoint from = shownAt(tree, findByTag(tree, "T5"));
    const QPoint to = shownAt(tree, findByTag(tree, "T6"));
    QTest::mousePress(tree->viewport(), Qt::LeftButton, {}, from);
    QTest::mouseMove(tree->viewport(), (from + to) / 2);
    QTest::mouseMove(tree->viewport(), to);
    QTest::mouseRelease(tree->viewport(), Qt::LeftButton, {}, to);
    settle();
    EXPECT_EQ(tagOf(tree->currentItem()), "T1");
    EXPECT_EQ(tagOf(selectedItemOf(tree)), "T1");
    EXPECT_EQ(window->folderCaption(), "zebra");
    window->commands.saveVardeckDetails();
    const XmlNode added = window->dbXML.vardeck(window->currentWID());
    ASSERT_TRUE(added);
    EXPECT_EQ(added.childText("NAME"), "Typed");
    EXPECT_EQ(added.parentNode().parentNode().attribute("TID"), "T1");
}

} // namespace
