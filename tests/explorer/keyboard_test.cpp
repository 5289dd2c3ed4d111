// The window driven by real key and mouse events, questions answered in a real modal dialog so that focus
// and nested event loops behave as on screen, and a new user's first minutes in the assembled program.
#include "editingfixture.h"

#include "app/assembly.h"
#include "dialogs/frmtopicdialog.h"
#include "options/ui/frmprefs.h"
#include "shell/fonthelpers.h"
#include "shell/mainmodule.h"
#include "storage/registryfunctions.h"
#include "storage/session.h"
#include "storage/settingsstore.h"
#include "storage/ui/databaselist.h"
#include "storage/ui/frmnew.h"
#include "storage/ui/frmopen.h"
#include "support/dialogcontrols.h"
#include "support/renderingstandin.h"
#include "support/windowcontrols.h"
#include "web/ui/webaspect.h"

#include <QClipboard>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

using namespace rr;
using namespace rr::test;

namespace
{

// Answers Yes to every question through a modal dialog of its own, as a message box would,
// and notes whether the question came while a key was still being delivered.
class ModalPrompts final : public PromptHandler
{
public:
    ModalPrompts() : m_previous(prompt::installed()) { prompt::install(this); }
    ~ModalPrompts() override { prompt::install(m_previous); }

    MsgResult message(const MessageRequest &request) override
    {
        texts << request.text;
        askedDuringKey = askedDuringKey || keyInFlight;
        QDialog dialog(QApplication::activeWindow());
        auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
        dialog.setModal(true);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        ok->setFocus();
        QTimer::singleShot(30, &dialog, &QDialog::accept);
        dialog.exec();
        return MsgResult::Yes;
    }
    QString file(const FileRequest &) override { return {}; }
    QString input(const InputRequest &, bool *ok) override
    {
        *ok = false;
        return {};
    }

    QStringList texts;
    bool askedDuringKey = false;
    static inline bool keyInFlight = false;

private:
    PromptHandler *m_previous;
};

class KeyboardTest : public EditingTest
{
protected:
    // A key sent to whatever has the focus, then the events it queued.
    void key(Qt::Key code, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        ModalPrompts::keyInFlight = true;
        QTest::keyClick(target, code, modifiers);
        ModalPrompts::keyInFlight = false;
        settle();
    }
    void keys(const QString &text)
    {
        QWidget *target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClicks(target, text);
        settle();
    }
    // A second click on the selected folder, then the wait before a tree opens its in-place editor.
    void clickSelectedFolderAgainAndWait(const QString &tid)
    {
        clickFolder(tid);
        QTest::qWait(QApplication::doubleClickInterval() + 150);
        settle();
    }
    bool folderEditorOpen() const
    {
        const auto editors = topics()->viewport()->findChildren<QLineEdit *>();
        return std::any_of(editors.begin(), editors.end(), [](QLineEdit *e) { return e->isVisible(); });
    }
};

TEST_F(KeyboardTest, folderTreeKeysShowTheFolderReachedAndASecondClickRenamesInPlaceOnlyOnEnterAndNotInAnAdd)
{
    openDb();
    topics()->setCurrentItem(root());
    topics()->setFocus();
    key(Qt::Key_Down); // Apple, the first by name
    EXPECT_EQ(lblTName(*window)->text(), "Apple");
    keys("z");
    EXPECT_EQ(lblTName(*window)->text(), "zebra");

    // Enter and Space show the folder that has the keyboard's selection.
    topics()->setCurrentItem(node("T6"));
    window->showNoFolder();
    key(Qt::Key_Return);
    EXPECT_EQ(lblTName(*window)->text(), "banana");
    topics()->setCurrentItem(node("T5"));
    window->showNoFolder();
    key(Qt::Key_Space);
    EXPECT_EQ(lblTName(*window)->text(), "Apple");

    // A second click on the selected folder opens its in-place editor.
    clickFolder("T6");
    clickSelectedFolderAgainAndWait("T6");
    ASSERT_TRUE(folderEditorOpen()) << "viewing: the second click renames in place";
    keys("Blackberry");
    key(Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(window->editState(), EditState::Adding);
    EXPECT_FALSE(folderEditorOpen());
    keys("Harbour");
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(stored("T6").childText("NAME"), "Blackberry") << "the command ended the rename first";
    EXPECT_EQ(stored("W4").childText("NAME"), "Harbour");

    // Esc in a new Vardeck after a second folder click cancels once and renames nothing.
    key(Qt::Key_N, Qt::ControlModifier);
    keys("typed for the Vardeck");
    clickSelectedFolderAgainAndWait("T6");
    EXPECT_FALSE(folderEditorOpen()) << "no folder editor while a Vardeck is being added";
    QTest::mouseClick(txtWName(*window), Qt::LeftButton, {}, QPoint(txtWName(*window)->width() - 2, 5));
    keys(" more");
    EXPECT_EQ(txtWName(*window)->text(), "typed for the Vardeck more");
    {
        ModalPrompts modal;
        key(Qt::Key_Escape);
        EXPECT_EQ(modal.texts, QStringList{"You are about to lose unsaved changes - do you wish to continue?"});
        EXPECT_FALSE(modal.askedDuringKey) << "the question waits until the key is delivered";
    }
    QApplication::setActiveWindow(window.get());
    EXPECT_EQ(window->editState(), EditState::Viewing);
    EXPECT_EQ(stored("T6").childText("NAME"), "Blackberry");
    EXPECT_EQ(node("T6")->text(0), "Blackberry");

    clickSelectedFolderAgainAndWait("T6");
    ASSERT_TRUE(folderEditorOpen());
    keys("Cherry");
    key(Qt::Key_Escape);
    EXPECT_FALSE(folderEditorOpen());
    EXPECT_EQ(stored("T6").childText("NAME"), "Blackberry") << "Esc";

    clickSelectedFolderAgainAndWait("T6");
    ASSERT_TRUE(folderEditorOpen());
    keys("Cherry");
    key(Qt::Key_Return);
    EXPECT_EQ(stored("T6").childText("NAME"), "Cherry") << "Enter";
    EXPECT_EQ(lblTName(*window)->text(), "Cherry");
}

TEST_F(KeyboardTest, tabAndShiftTabInAFolderRenameBoxKeepTheNameAndOpenNoOtherFoldersBox)
{
    openDb();
    clickFolder("T5");
    clickSelectedFolderAgainAndWait("T5");
    ASSERT_TRUE(folderEditorOpen());
    keys("Apricot");
    key(Qt::Key_Tab);
    EXPECT_EQ(stored("T5").childText("NAME"), "Apricot");
    EXPECT_FALSE(folderEditorOpen()) << "no rename box on the next folder";
    EXPECT_EQ(QApplication::focusWidget(), topics());
    keys("q");
    key(Qt::Key_Return);
    EXPECT_EQ(stored("T6").childText("NAME"), "banana");
    EXPECT_EQ(node("T6")->text(0), "banana");
    EXPECT_EQ(lblTName(*window)->text(), "Apricot");

    clickFolder("T6");
    clickSelectedFolderAgainAndWait("T6");
    ASSERT_TRUE(folderEditorOpen());
    keys("Blueberry");
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(stored("T6").childText("NAME"), "Blueberry");
    EXPECT_FALSE(folderEditorOpen()) << "no rename box on the folder before";
    keys("q");
    key(Qt::Key_Return);
    EXPECT_EQ(stored("T5").childText("NAME"), "Apricot");
    EXPECT_EQ(lblTName(*window)->text(), "Blueberry");

    // A name emptied and left with Tab is refused as Enter refuses it: the message waits
    // until the key is delivered, and the folder keeps its name.
    clickFolder("T5");
    clickSelectedFolderAgainAndWait("T5");
    ASSERT_TRUE(folderEditorOpen());
    key(Qt::Key_Backspace);
    {
        ModalPrompts modal;
        key(Qt::Key_Tab);
        EXPECT_EQ(modal.texts, QStringList{"The folder must have a name."});
        EXPECT_FALSE(modal.askedDuringKey) << "the message waits until the key is delivered";
    }
    QApplication::setActiveWindow(window.get());
    EXPECT_EQ(stored("T5").childText("NAME"), "Apricot");
    EXPECT_FALSE(folderEditorOpen());
}

// In a full database an add is refused with a question box, which the rename box would outlive.
TEST_F(KeyboardTest, aKeyAToolbarButtonOrAMenuItemRunWhileAFolderIsRenamedEndTheRenameFirst)
{
    QByteArray vardecks;
    for (int i = 1; i <= 32767; ++i)
        vardecks += "<VARDECK WID=\"W" + QByteArray::number(i) + "\"><NAME>v</NAME></VARDECK>";
    openDb("<FOLDERS>" + folderXml("T1", "Empty") + folderXml("T2", "Full", vardecks) + "</FOLDERS>");
    const QString full = "No Vardeck can be added: this database already holds as many Vardecks as it can number "
                         "(32767).  Delete Vardecks you no longer need, or keep new ones in another database.";
    const auto renameThenRun = [&](const QString &name, const std::function<void()> &command) {
        clickSelectedFolderAgainAndWait("T1");
        ASSERT_TRUE(folderEditorOpen());
        keys(name);
        ModalPrompts modal;
        command();
        EXPECT_EQ(modal.texts, QStringList{full});
    };
    clickFolder("T1");
    renameThenRun("Spare", [&] { key(Qt::Key_N, Qt::ControlModifier); });
    QApplication::setActiveWindow(window.get());
    settle();
    EXPECT_FALSE(folderEditorOpen());
    EXPECT_EQ(stored("T1").childText("NAME"), "Spare");
    EXPECT_EQ(lblTName(*window)->text(), "Spare");
    keys("typed after the message");
    key(Qt::Key_Return);
    EXPECT_EQ(stored("T1").childText("NAME"), "Spare") << "the keyboard is not back in a rename box";

    renameThenRun("Reserve", [&] { window->toolbarButton(Tb::CreateVardeck)->trigger(); });
    QApplication::setActiveWindow(window.get());
    settle();
    EXPECT_FALSE(folderEditorOpen());
    EXPECT_EQ(stored("T1").childText("NAME"), "Reserve");

    renameThenRun("Extra", [&] { menu(MenuId::mnuAddVardeck); });
    QApplication::setActiveWindow(window.get());
    settle();
    EXPECT_FALSE(folderEditorOpen());
    EXPECT_EQ(stored("T1").childText("NAME"), "Extra");
}

// The start-up gives every control the fallback face one by one where the designed face is missing, the
// tree's viewport (where the rename box opens) included.
TEST_F(KeyboardTest, theLargeFontReachesTheFolderRenameBoxAndKeepsTheSelectedFolderWhollyInSight)
{
    QByteArray folders;
    for (int i = 1; i <= 30; ++i)
        folders += folderXml("T" + QByteArray::number(i), "Folder " + QByteArray::number(i).rightJustified(2, '0'));
    openDb("<FOLDERS>" + folders + "</FOLDERS>");
    setFormFont(window.get(), "MS Sans Serif");
    settle();
    // The lowest folder seen whole.
    QTreeWidgetItem *low = nullptr;
    for (int i = 0; i < root()->childCount(); ++i) {
        if (topics()->viewport()->rect().contains(topics()->visualItemRect(root()->child(i))))
            low = root()->child(i);
    }
    ASSERT_NE(low, nullptr);
    ASSERT_NE(low, root()->child(29)) << "the tree must scroll";
    clickFolder(tag(low));

    frmPrefs prefs(window->commands, window->dbXML, *window, *window);
    arrayControl<QRadioButton>(prefs, "optFont", 0)->setChecked(true);
    prefs.cmdApply_Click();
    settle();
    ASSERT_EQ(topics()->font().pointSize(), 11);
    const QRect row = topics()->visualItemRect(low);
    EXPECT_GE(row.height(), QFontMetrics(topics()->font()).height()) << "rows laid out for the new size";
    EXPECT_TRUE(topics()->viewport()->rect().contains(row)) << "the selected folder is seen whole";

    clickSelectedFolderAgainAndWait(tag(low));
    ASSERT_TRUE(folderEditorOpen());
    auto *box = qobject_cast<QLineEdit *>(QApplication::focusWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->font().pointSize(), 11);
    EXPECT_EQ(box->font().family(), topics()->font().family());
    key(Qt::Key_Escape);
}

// A database file made read-only in a writable folder: a rename in place and a saved Vardeck each say
// why they were not saved, once the key is delivered; the file stays as it was and the edits are kept.
TEST_F(KeyboardTest, editsOfAReadOnlyDatabaseSayWhyTheyWereNotSavedAndStayInMemory)
{
    openDb();
    const QByteArray before = fileBytes();
    QFile::setPermissions(path, QFile::ReadOwner);
    const QString told = "The Vardecks database could not be saved.  The change is kept until the next save.\n\n" +
                         path + " could not be written: the file is read-only.";
    clickFolder("T6");
    clickSelectedFolderAgainAndWait("T6");
    ASSERT_TRUE(folderEditorOpen());
    keys("Cherry");
    {
        ModalPrompts modal;
        key(Qt::Key_Return);
        EXPECT_EQ(modal.texts, QStringList{told});
        EXPECT_FALSE(modal.askedDuringKey) << "the message waits until the key is delivered";
    }
    QApplication::setActiveWindow(window.get());
    EXPECT_EQ(doc()->nodeFromID("T6").childText("NAME"), "Cherry");
    EXPECT_EQ(node("T6")->text(0), "Cherry");
    EXPECT_EQ(lblTName(*window)->text(), "Cherry");

    showVardeck("T1", "W1");
    menu(MenuId::mnuEditModify);
    txtWName(*window)->selectAll();
    keys("Kept");
    {
        ModalPrompts modal;
        key(Qt::Key_S, Qt::ControlModifier);
        EXPECT_EQ(modal.texts, QStringList{told});
    }
    QApplication::setActiveWindow(window.get());
    EXPECT_EQ(doc()->nodeFromID("W1").childText("NAME"), "Kept");
    EXPECT_EQ(lblWName(*window)->text(), "Kept");
    EXPECT_EQ(window->editState(), EditState::Viewing);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(QFile::permissions(path) & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther), 0);
}

TEST_F(KeyboardTest, anyKeyButCtrlSInTheLockedNotesStartsAModificationAndOneF4InItAsksOnceAndMovesOnce)
{
    openDb();
    showVardeck("T1", "W1");
    for (Qt::Key code : {Qt::Key_Right, Qt::Key_Home, Qt::Key_X}) {
        tabInfo(*window)->setTab(2);
        txtNotes(*window)->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), txtNotes(*window));
        key(code);
        EXPECT_EQ(window->editState(), EditState::Modifying) << code;
        EXPECT_EQ(QApplication::focusWidget(), txtNotes(*window));
        prompts.answer(MsgResult::Yes);
        window->commands.cancelVardeckEdit();
        ASSERT_EQ(window->editState(), EditState::Viewing);
    }
    tabInfo(*window)->setTab(2);
    txtNotes(*window)->setFocus();
    key(Qt::Key_Control);
    EXPECT_EQ(window->editState(), EditState::Viewing) << "Ctrl alone";
    key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window->editState(), EditState::Viewing);
    EXPECT_EQ(stored("W1").childText("NOTES"), "Notes\nline 2");

    // One F4 during a modification of the first Vardeck (by name) asks once and moves to the second.
    clickVardeck("W2");
    menu(MenuId::mnuEditModify);
    ASSERT_EQ(QApplication::focusWidget(), txtWName(*window));
    ModalPrompts modal;
    key(Qt::Key_F4);
    EXPECT_EQ(modal.texts.size(), 1);
    EXPECT_FALSE(modal.askedDuringKey);
    EXPECT_EQ(window->currentWID(), "W1");
    EXPECT_EQ(window->editState(), EditState::Viewing);
}

// Typing the start of a name in the folder's Vardeck list shows the Vardeck it reaches, as the
// arrows do; a key that reaches no other Vardeck leaves the shown one as it is.
TEST_F(KeyboardTest, typingInTheVardeckListShowsTheVardeckItReaches)
{
    openDb();
    showVardeck("T1", "W2"); // alpha & co, the first by name
    tvwWM(*window)->setFocus();
    keys("b");
    EXPECT_EQ(tvwWM(*window)->currentItem(), wmNode("W1"));
    EXPECT_EQ(window->currentWID(), "W1");
    EXPECT_EQ(lblWName(*window)->text(), "Beta site");
    keys("q");
    EXPECT_EQ(window->currentWID(), "W1");
    EXPECT_EQ(window->editState(), EditState::Viewing);
}

// Esc on a new Vardeck gives the keyboard back to the control the add was started from, and
// with "No Vardeck selected" in the panel no row stays highlighted; Down then goes on from the
// row the user was on. A cancelled update goes back the same way, its Vardeck still shown.
TEST_F(KeyboardTest, escOnAnEditGivesTheKeyboardBackToTheListItCameFromAndTheHighlightFollowsThePanel)
{
    openDb();
    const auto focusName = [] {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString("no focus");
    };
    showVardeck("T1", "W2"); // alpha & co, the first by name
    tvwWM(*window)->setFocus();
    menu(MenuId::mnuAddVardeck);
    ASSERT_EQ(QApplication::focusWidget(), txtWName(*window));
    key(Qt::Key_Escape);
    EXPECT_EQ(lblWName(*window)->text(), "No Vardeck selected");
    EXPECT_EQ(focusName(), "tvwWM");
    EXPECT_TRUE(tvwWM(*window)->selectedItems().isEmpty());
    EXPECT_TRUE(listVD(*window)->selectedItems().isEmpty());
    key(Qt::Key_Down);
    EXPECT_EQ(window->currentWID(), "W1");
    EXPECT_EQ(lblWName(*window)->text(), "Beta site");

    menu(MenuId::mnuEditModify);
    ASSERT_EQ(QApplication::focusWidget(), txtWName(*window));
    key(Qt::Key_Escape);
    EXPECT_EQ(focusName(), "tvwWM");
    EXPECT_EQ(tvwWM(*window)->selectedItems(), QList<QTreeWidgetItem *>({wmNode("W1")}));

    // An add from the Favorites tab empties the Vardeck list: the folder tree takes the keyboard.
    tabIndex(*window)->setTab(2);
    tvwFavs(*window)->setFocus();
    menu(MenuId::mnuAddVardeck);
    key(Qt::Key_Escape);
    EXPECT_EQ(focusName(), "tvwTopics");
}

// F4 during an edit answered No: the edit stays, and so does the highlight, in the folder's tree
// and in the search results alike; Yes moves on.
TEST_F(KeyboardTest, f4AnsweredNoKeepsTheEditAndTheHighlightOnTheVardeckBeingEdited)
{
    openDb();
    const auto only = [](QTreeWidget *view, QTreeWidgetItem *item) {
        EXPECT_EQ(view->currentItem(), item);
        EXPECT_EQ(view->selectedItems(), QList<QTreeWidgetItem *>({item}));
    };
    showVardeck("T1", "W2"); // alpha & co, the first by name
    menu(MenuId::mnuEditModify);
    keys("x");
    prompts.answer(MsgResult::No);
    key(Qt::Key_F4);
    EXPECT_EQ(prompts.lastText(), "You are about to lose unsaved changes - do you wish to continue?");
    EXPECT_EQ(window->editState(), EditState::Modifying);
    EXPECT_EQ(window->currentWID(), "W2");
    only(tvwWM(*window), wmNode("W2"));
    EXPECT_EQ(QApplication::focusWidget(), txtWName(*window)) << "the typing goes on";
    EXPECT_EQ(txtWName(*window)->text(), "xalpha & co");

    prompts.answer(MsgResult::Yes);
    key(Qt::Key_F4);
    EXPECT_EQ(window->editState(), EditState::Viewing);
    EXPECT_EQ(window->currentWID(), "W1");
    only(tvwWM(*window), wmNode("W1"));

    // The compact search results.
    tabIndex(*window)->setTab(1);
    cmbSearch(*window)->setEditText("e");
    window->commands.cmdSearch_Click();
    ASSERT_GE(lstSrch(*window)->topLevelItemCount(), 2);
    QTreeWidgetItem *first = lstSrch(*window)->topLevelItem(0);
    clickItem(lstSrch(*window), first);
    ASSERT_EQ(window->currentWID(), tag(first));
    menu(MenuId::mnuEditModify);
    keys("y");
    prompts.answer(MsgResult::No);
    key(Qt::Key_F4);
    EXPECT_EQ(window->editState(), EditState::Modifying);
    EXPECT_EQ(window->currentWID(), tag(first));
    only(lstSrch(*window), first);
}

TEST_F(KeyboardTest, theMenusShortcutsComeBeforeTheSearchBoxesCutKeyButCtrlInsCopiesAndDelStaysInTheBox)
{
    openDb();
    showVardeck("T1", "W1");
    // A search: Ctrl+F, a word, Enter; the search box keeps the keyboard.
    key(Qt::Key_F, Qt::ControlModifier);
    ASSERT_EQ(QApplication::focusWidget(), cmbSearch(*window));
    keys("page");
    key(Qt::Key_Return);
    ASSERT_EQ(QApplication::focusWidget(), cmbSearch(*window));
    cmbSearch(*window)->lineEdit()->selectAll();
    // Ctrl+Ins is the box's copy key: it copies the word and opens nothing.
    QGuiApplication::clipboard()->setText("before");
    key(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "page");
    EXPECT_EQ(launcher.openedUrls(), QStringList());

    // Del is the box's own: it deletes the selected word and asks nothing.
    key(Qt::Key_Delete);
    EXPECT_EQ(cmbSearch(*window)->currentText(), "");
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(stored("W1").childText("NAME"), "Beta site");

    // Right after the Web aspect button, Ctrl+X goes back to the Explorer Aspect and cuts nothing.
    // The Web Aspect's search box takes the keyboard; its pages are not made here.
    installWebAspect(*window);
    RenderingStandIn pagesNotMade(*window);
    window->aspectButton(AspectButton::Web)->trigger();
    settle();
    ASSERT_EQ(QApplication::focusWidget(), txtS(*window));
    keys("harbour");
    txtS(*window)->selectAll();
    key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(window->currentAspect(), "Explorer");
    EXPECT_EQ(txtS(*window)->text(), "harbour");
}

// Ctrl+Ins in a text box copies what is selected there, in an update and outside an edit;
// elsewhere it opens the Vardeck in the browser, as its menu item says.
TEST_F(KeyboardTest, ctrlInsInATextBoxCopiesWhatIsSelectedAndElsewhereOpensTheVardeck)
{
    openDb();
    showVardeck("T1", "W1");
    struct Place {
        const char *name;
        bool update;
        std::function<QWidget *()> focus;
        QString copied; // "": the clipboard is left as it was
        QStringList opened;
    };
    const auto selectAllIn = [](QWidget *box) {
        box->setFocus();
        QMetaObject::invokeMethod(box, "selectAll");
        return box;
    };
    const Place places[] = {
        {"the name box in an update", true, [&] { return selectAllIn(txtWName(*window)); }, "Beta site", {}},
        {"the description in an update", true, [&] { return selectAllIn(txtDescription(*window)); }, "A page", {}},
        {"the notes outside an edit",
         false,
         [&] {
             tabInfo(*window)->setTab(2);
             return selectAllIn(txtNotes(*window));
         },
         "Notes\nline 2",
         {}},
        {"the Vardeck tree",
         false,
         [&] {
             tvwWM(*window)->setFocus();
             return tvwWM(*window);
         },
         "",
         {"http://www.beta.example/docs/page.html"}},
    };
    for (const Place &place : places) {
        SCOPED_TRACE(place.name);
        if (place.update)
            menu(MenuId::mnuEditModify);
        const qsizetype openedBefore = launcher.openedUrls().size();
        QGuiApplication::clipboard()->setText("before");
        const QString hits = window->dbXML.vardeck("W1").childText("HITS");
        QWidget *focused = place.focus();
        ASSERT_EQ(QApplication::focusWidget(), focused);
        // As the X server delivers a key: to the window, which hands it to the focus.
        QTest::keyClick(window->windowHandle(), Qt::Key_Insert, Qt::ControlModifier);
        settle();
        EXPECT_EQ(QGuiApplication::clipboard()->text(), place.copied.isEmpty() ? "before" : place.copied);
        EXPECT_EQ(launcher.openedUrls().mid(openedBefore), place.opened);
        if (place.opened.isEmpty()) {
            EXPECT_EQ(window->dbXML.vardeck("W1").childText("HITS"), hits) << "no visit";
        }
        if (window->editState() != EditState::Viewing)
            window->commands.cancelVardeckEdit();
        ASSERT_EQ(window->editState(), EditState::Viewing);
    }
}

// A page taken from a browser with auto-save on is filled in and saved in one go: a key
// pressed while it was taken in is dropped rather than reaching the folder tree between the
// two, where "z" would move the selection and the page would land in "zebra".
TEST_F(KeyboardTest, aKeyQueuedWhileABrowserPageIsAutoSavedDoesNotComeBetweenFillingAndSaving)
{
    openDb();
    clickFolder("T6");
    appOptions().setAutoSave(true);
    const DetectedPage page{"http://page.example/", "Page", "About it", "kw", "37", "Firefox"};
    tvwTopics(*window)->setFocus();
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease})
        QCoreApplication::postEvent(tvwTopics(*window), new QKeyEvent(type, Qt::Key_Z, Qt::NoModifier, "z"));
    window->commands.addVardeckSetup(page);
    settle();
    EXPECT_EQ(prompts.messages().size(), 0u);
    EXPECT_EQ(stored("W4").childText("NAME"), "Page");
    EXPECT_EQ(stored("W4").parentNode().parentNode().attribute("TID"), "T6");
    EXPECT_EQ(lblTName(*window)->text(), "banana");
    EXPECT_EQ(window->editState(), EditState::Viewing);
    EXPECT_EQ(lblWName(*window)->text(), "Page");
}

// Opening a Vardeck in the browser records the visit, starts the browser and files the Vardeck
// in the recent list as one command: a click on another Vardeck made meanwhile waits until it
// is done, so the recent list gets the Vardeck that was opened, and then shows the one clicked.
TEST_F(KeyboardTest, aClickQueuedWhileAVardeckOpensInTheBrowserWaitsUntilTheRecentListHasIt)
{
    openDb();
    showVardeck("T1", "W1");
    const QPointF at = shownAt(tvwWM(*window), wmNode("W2"));
    QWidget *rows = tvwWM(*window)->viewport();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(
            rows, new QMouseEvent(type, at, rows->mapToGlobal(at), Qt::LeftButton,
                                  type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier));
    menu(MenuId::mnuToolsOpen);
    EXPECT_EQ(launcher.openedUrls(), QStringList({"http://www.beta.example/docs/page.html"}));
    ASSERT_EQ(session().recentColl.size(), 1);
    EXPECT_EQ(session().recentColl.back().getName(), "Beta site");
    EXPECT_EQ(lblWName(*window)->text(), "Beta site");

    settle();
    EXPECT_EQ(lblWName(*window)->text(), "alpha & co");
    ASSERT_EQ(session().recentColl.size(), 1);
    EXPECT_EQ(stored("W2").childText("HITS"), "") << "shown, not opened";
}

// With no Vardeck shown the copy command is off: Ctrl+C (and Ctrl+Ins, the key of the
// command that is off as well) leaves the clipboard alone in every list and tree, even one
// with a current row.
TEST_F(KeyboardTest, aCopyKeyWhoseCommandIsOffLeavesTheClipboardAloneInEveryListAndTree)
{
    openDb();
    clickFolder("T1");
    openFirstResultBox(*window)->setChecked(false); // the search opens no result
    tabIndex(*window)->setTab(1);
    cmbSearch(*window)->setEditText("e");
    window->commands.cmdSearch_Click();
    ASSERT_FALSE(window->vardeckShown());
    const std::pair<QTreeWidget *, std::function<void()>> views[] = {
        {tvwTopics(*window), [&] { tabIndex(*window)->setTab(0); }},
        {tvwWM(*window), [&] { tabIndex(*window)->setTab(0); }},
        {listVD(*window), [&] { tabView(*window)->setTab(1); }},
        {lstSearch(*window), [&] { tabView(*window)->setTab(2); }},
        {lstSrch(*window), [&] { tabIndex(*window)->setTab(1); }},
        {tvwFavs(*window), [&] { tabIndex(*window)->setTab(2); }},
        {listPop(*window), [&] { tabIndex(*window)->setTab(3); }},
    };
    for (const auto &[view, bringForward] : views) {
        SCOPED_TRACE(view->objectName().toStdString());
        bringForward();
        settle();
        ASSERT_GT(view->topLevelItemCount(), 0);
        if (!view->currentIndex().isValid()) {
            // A current row that shows nothing, as one left behind by an ended edit.
            const QSignalBlocker quiet(view->selectionModel());
            view->selectionModel()->setCurrentIndex(view->model()->index(0, 0), QItemSelectionModel::NoUpdate);
        }
        ASSERT_FALSE(window->vardeckShown());
        view->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), view);
        for (Qt::Key copyKey : {Qt::Key_C, Qt::Key_Insert}) {
            QGuiApplication::clipboard()->setText("kept on the clipboard");
            key(copyKey, Qt::ControlModifier);
            EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept on the clipboard") << copyKey;
        }
    }
    EXPECT_TRUE(launcher.openedUrls().isEmpty());

    // With a Vardeck shown Ctrl+C in the tree copies its data.
    tabIndex(*window)->setTab(0);
    clickVardeck("W2");
    tvwWM(*window)->setFocus();
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "Name: alpha & co\r\n\r\nAddress: ftp://files.example/x\r\n\r\nDescription: \r\n\r\nFile size: \r\n\r\n"
              "Notes: \r\n\r\nKeywords: \r\n");
}

// Tab in an add or an update walks the edit boxes as they stand on the panel, on to the notes
// on their own tab, and Shift+Tab walks back; no box takes the key as text.
TEST_F(KeyboardTest, tabInAnEditWalksTheEditBoxesInOrderOnToTheNotesAndBack)
{
    openDb();
    clickFolder("T5");
    menu(MenuId::mnuAddVardeck);
    const QList<QWidget *> boxes = {txtWName(*window), txtAddress(*window), txtDescription(*window),
                                    txtKeywords(*window), txtNotes(*window)};
    const auto focusName = [] {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString("no focus");
    };
    ASSERT_EQ(QApplication::focusWidget(), txtWName(*window));
    keys("Tide");
    for (qsizetype i = 1; i < boxes.size(); ++i) {
        key(Qt::Key_Tab);
        EXPECT_EQ(focusName(), boxes[i]->objectName());
        keys("x");
    }
    EXPECT_EQ(tabInfo(*window)->Tab(), 2) << "the notes are in front";
    EXPECT_EQ(txtNotes(*window)->toPlainText(), "x");
    for (qsizetype i = boxes.size() - 2; i >= 0; --i) {
        key(Qt::Key_Backtab);
        EXPECT_EQ(focusName(), boxes[i]->objectName());
    }
    EXPECT_EQ(tabInfo(*window)->Tab(), 0) << "the details are in front again";
    EXPECT_EQ(txtAddress(*window)->text(), "x");
    EXPECT_EQ(txtDescription(*window)->toPlainText(), "x");
    EXPECT_EQ(txtKeywords(*window)->toPlainText(), "x");
    prompts.answer(MsgResult::Yes);
    key(Qt::Key_Escape);

    // An update begun with the notes in front goes through the details on its way to them.
    showVardeck("T1", "W1");
    tabInfo(*window)->setTab(2);
    menu(MenuId::mnuEditModify);
    ASSERT_EQ(QApplication::focusWidget(), txtWName(*window));
    for (qsizetype i = 1; i < boxes.size(); ++i) {
        key(Qt::Key_Tab);
        EXPECT_EQ(focusName(), boxes[i]->objectName());
        if (i >= 2) {
            EXPECT_EQ(tabInfo(*window)->Tab(), i == 4 ? 2 : 0) << i;
        }
    }
    EXPECT_EQ(txtKeywords(*window)->toPlainText(), "kw one") << "no tab typed";
}

// The details panel's controls stand in the Tab order where their pages stand: the edit boxes
// between the Vardeck tabs and the details tabs, the Details page's buttons after the details tabs.
TEST_F(KeyboardTest, tabReachesTheDetailsPanelsControlsBetweenTheTabStripsAroundThem)
{
    openDb();
    showVardeck("T1", "W1");
    const auto focusName = [] {
        QWidget *focus = QApplication::focusWidget();
        return !focus                          ? QString("no focus")
               : focus->objectName().isEmpty() ? focus->parent()->objectName() + " tabs"
                                               : focus->objectName();
    };
    tabInfo(*window)->tabBar()->setFocus();
    QStringList reached;
    for (int i = 0; i < 6; ++i) {
        key(Qt::Key_Tab);
        reached << focusName();
    }
    EXPECT_EQ(reached, QStringList({"cmdAddFavs", "cmdSearchHome(0)", "cmdSearchHome(1)", "cmdSearchHome(2)",
                                    "cmdEdit(3)", "cmdEdit(0)"}));

    menu(MenuId::mnuEditModify);
    ASSERT_EQ(focusName(), "txtWName");
    key(Qt::Key_Backtab);
    EXPECT_EQ(focusName(), "tabView tabs");
    tabInfo(*window)->setTab(2);
    txtNotes(*window)->setFocus();
    key(Qt::Key_Tab);
    EXPECT_EQ(focusName(), "tabInfo tabs");
}

// A database, a folder and a Vardeck added, changed and deleted, every step saved at once.
TEST(FirstMinutes, createAFolderAndAVardeckChangeItAndDeleteIt)
{
    const QString kOptions = QStringLiteral("Software\\Quorvane\\Vardecks\\UserOptions\\");
    TempHome home;
    ScriptedPrompts prompts;
    paths::prepareProgramFolder();
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, kOptions, "hideSplash", "True");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, kOptions, "tipStartup", "True");
    setEditingClock([] { return QDateTime(QDate(2026, 12, 5), QTime(9, 5)); });
    setVisitClock([] { return QDateTime(QDate(2026, 12, 5), QTime(9, 5)); });

    frmVardecks window;
    assembleMainWindow(window);
    Main(window);
    window.resize(1000, 680);
    QApplication::setActiveWindow(&window);
    auto menu = [&](MenuId id) { window.menuItem(id)->trigger(); };
    const QString file = home.databaseFolder() + "Mine.xml";
    std::unique_ptr<XMLDatabase> disk;
    auto saved = [&](const char *id) {
        disk = std::make_unique<XMLDatabase>();
        EXPECT_TRUE(disk->openDBValidate(file));
        return disk->getTheDOM()->nodeFromID(id);
    };

    // A database of one's own, opened at once.
    prompts.answer(MsgResult::Yes);
    whileModal<frmNew>(
        [](frmNew *dialog) {
            dialogControl<QLineEdit>(*dialog, "txtName")->setText("Mine");
            dialogControl<qbButtons_H>(*dialog, "cmdOK")->click();
        },
        [&] { menu(MenuId::mnuFileNew); });
    EXPECT_EQ(window.dbXML.name(), "Mine.xml");

    // Its first folder.
    whileModal<frmTopicDialog>(
        [](frmTopicDialog *dialog) {
            dialogControl<QLineEdit>(*dialog, "txtTName")->setText("Reading");
            dialogControl<qbButtons_H>(*dialog, "cmdSave")->click();
        },
        [&] { menu(MenuId::mnuAddTopic); });
    clickItem(tvwTopics(window),
              tvwTopics(window)->findItems("Reading", Qt::MatchExactly | Qt::MatchRecursive).value(0));

    // A Vardeck, saved with Ctrl+S.
    menu(MenuId::mnuAddVardeck);
    typeInto(txtWName(window), "Tide tables");
    typeInto(txtAddress(window), "https://tides.example/harbour");
    typeInto(txtDescription(window), "High and low water for the harbour");
    typeInto(txtKeywords(window), "sea sailing");
    press(txtWName(window), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saved("W1").childText("NAME"), "Tide tables");

    // Changed: typing into its notes starts the update.
    tabInfo(window)->setTab(2);
    txtNotes(window)->setFocus();
    QTest::keyClicks(txtNotes(window), "Spring tides on the 12th");
    press(txtNotes(window), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(saved("W1").childText("NOTES"), "Spring tides on the 12th");
    tabInfo(window)->setTab(0);

    // Deleted again.
    prompts.answer(MsgResult::Yes);
    menu(MenuId::mnuEditDelete);
    EXPECT_FALSE(saved("W1"));
    EXPECT_EQ(disk->getTheDOM()->countElements("FOLDER"), 1);

    // Only the new database's question and the deletion's were asked.
    EXPECT_EQ(prompts.messages().size(), 2u) << prompts.texts().join(" | ").toStdString();
    setEditingClock({});
    setVisitClock({});
    window.Form_Unload();
}

// A new install opens the database last opened the next time, without the options ever shown;
// a database chosen in the options keeps opening whichever was open.
TEST(StartDatabase, aFreshInstallReopensTheDatabaseLastOpenedAndAChosenOneStays)
{
    const QString kOptions = QStringLiteral("Software\\Quorvane\\Vardecks\\UserOptions\\");
    TempHome home;
    ScriptedPrompts prompts;
    paths::prepareProgramFolder();
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, kOptions, "hideSplash", "True");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, kOptions, "tipStartup", "True");
    writeDatabase(home.databaseFolder(), "Work.xml", "<FOLDERS>" + folderXml("T1", "Desk") + "</FOLDERS>");
    const auto run = [&](const QString &open) {
        // Each start is a run of the program of its own.
        Session thisRun;
        frmVardecks window;
        assembleMainWindow(window);
        Main(window);
        const QString started = window.dbXML.name();
        if (!open.isEmpty())
            whileModal<frmOpen>(
                [&](frmOpen *dialog) {
                    QTreeWidgetItem *item =
                        dialogControl<DatabaseList>(*dialog, "tvwDB")->findItems(open, Qt::MatchExactly).value(0);
                    ASSERT_NE(item, nullptr);
                    dialogControl<DatabaseList>(*dialog, "tvwDB")->setCurrentItem(item);
                    emit dialogControl<DatabaseList>(*dialog, "tvwDB")->itemClicked(item, 0);
                    dialogControl<qbButtons_H>(*dialog, "cmdOK")->click();
                },
                [&] { window.menuItem(MenuId::mnuFileOpen)->trigger(); });
        window.Form_Unload();
        return started;
    };
    EXPECT_EQ(run("Work.xml"), "Vardecks.xml");
    EXPECT_EQ(SettingsStore::getCurrentDB(), "Work.xml");
    EXPECT_EQ(run("Vardecks.xml"), "Work.xml");
    EXPECT_EQ(run(""), "Vardecks.xml");

    // Chosen in the options: that database opens, whichever was open at the close.
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, kOptions, "dbDefault", "False");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, "Software\\Quorvane\\Vardecks\\", "currentDB", "Work.xml");
    EXPECT_EQ(run("Vardecks.xml"), "Work.xml");
    EXPECT_EQ(run(""), "Work.xml");
    EXPECT_TRUE(prompts.messages().empty()) << prompts.texts().join(" | ").toStdString();
}

} // namespace
