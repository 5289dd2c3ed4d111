// Adding, updating, saving, cancelling and deleting Vardecks through the window's menus,
// toolbar, Ctrl+S and Esc, and the enabling table of the edit modes.
#include "editingfixture.h"
#include "explorer/duplicatesoperations.h"
#include "platform/gui/partoperations.h"
#include "storage/session.h"

#include "platform/atomicfile.h"
#include "platform/gui/partoperations.h"
#include "shell/findingoperations.h"
#include "support/windowcontrols.h"
#include "web/visits.h"

#include <QComboBox>
#include <QToolBar>
#include <cstring>
#include <functional>

using namespace rr;
using namespace rr::test;

namespace
{

TEST_F(EditingTest, addTypedWithTabThenSavedWritesTheTenChildrenInOrder)
{
    openDb();
    makeSideFiles({"W4"}); // left behind by an earlier Vardeck W4
    clickFolder("T5");
    menu(MenuId::mnuAddVardeck);
    EXPECT_EQ(lblCreatedDate(*window)->text(), "05 Dec 2026");

    ASSERT_EQ(QApplication::focusWidget(), txtWName(*window));
    typeInto(txtWName(*window), "Tide & times");
    EXPECT_TRUE(window->toolbarButton(Tb::Save)->isEnabled());
    EXPECT_EQ(tabView(*window)->TabCaption(0), "   *Tide & times    ");
    // Tab moves through the boxes in order and types no tab.
    for (const char *text : {"http://tides.example/today", "High and low", "sea"}) {
        press(QApplication::focusWidget(), Qt::Key_Tab);
        typeInto(QApplication::focusWidget(), text);
    }
    press(txtKeywords(*window), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), txtDescription(*window));
    typeInto(txtNotes(*window), "check <daily>");
    press(txtNotes(*window), Qt::Key_S, Qt::ControlModifier);

    EXPECT_TRUE(prompts.messages().empty()) << prompts.lastText().toStdString();
    EXPECT_EQ(lbl(*window, Lbl::Hits)->text(), "2");
    EXPECT_EQ(tabView(*window)->TabCaption(0), "    Tide & times    ");
    ASSERT_FALSE(session().recentColl.isEmpty());
    EXPECT_EQ(session().recentColl.last().getID(), "W4");
    EXPECT_FALSE(QFile::exists(iconFile("W4"))) << "a new Vardeck inherits no side files";
    EXPECT_FALSE(QFile::exists(thumbFile("W4")));

    const XmlNode vardeck = stored("W4");
    ASSERT_TRUE(vardeck);
    EXPECT_EQ(vardeck.parentNode().parentNode().attribute("TID"), "T5");
    EXPECT_EQ(vardeck.previousSibling().attribute("WID"), "W3") << "appended last";
    QStringList children;
    for (const XmlNode &child : vardeck.childElements())
        children << child.nodeName() + "=" + child.text();
    EXPECT_EQ(children,
              QStringList({"NAME=Tide & times", "ADDRESS=http://tides.example/today", "CREATED_DATE=05 Dec 2026",
                           "DESCRIPTION=High and low", "KEYWORD1=sea", "NOTES=check <daily>",
                           "KEYWORD2=05 Dec 2026 07:30 PM", "FILESIZE=", "HITS=2", "FAV=FALSE"}));
}

int g_renames = 0;
void countRenames(const char *step)
{
    if (std::strcmp(step, "renamed") == 0)
        ++g_renames;
}

TEST_F(EditingTest, anAddWritesTheFileOnceWithTheBytesItsTwoSavesUsedToLeave)
{
    openDb();
    const QByteArray before = fileBytes();
    clickFolder("T5");
    menu(MenuId::mnuAddVardeck);
    typeInto(txtWName(*window), "Tide & times");
    txtAddress(*window)->setText("http://tides.example/today");
    g_renames = 0;
    atomicfile_testing::setStepHook(countRenames);
    save();
    atomicfile_testing::setStepHook(nullptr);
    EXPECT_EQ(g_renames, 1) << "the add and its first visit are one write";
    EXPECT_TRUE(prompts.messages().empty()) << prompts.lastText().toStdString();
    const QByteArray once = fileBytes();

    // The same add as two saves: the new element as the add stored it, then the visit with its own save.
    const QString twice = home.path() + "/twice/Vardecks.xml";
    ASSERT_TRUE(QDir().mkpath(home.path() + "/twice"));
    ASSERT_TRUE(writeBytes(twice, before));
    ASSERT_TRUE(QFile::copy(home.databaseFolder() + "Vardecks.dtd", home.path() + "/twice/Vardecks.dtd"));
    XMLDatabase legacy;
    legacy.setPath(twice);
    ASSERT_TRUE(legacy.openDBValidate(twice));
    XmlDocument *legacyDoc = legacy.getTheDOM();
    XmlNode added = legacyDoc->importNode(stored("W4"));
    added.setChildText("KEYWORD2", "");
    added.setChildText("HITS", "1");
    legacyDoc->nodeFromID("T5").child("VARDECKS").appendChild(added);
    ASSERT_TRUE(legacy.save().written());
    EXPECT_EQ(updateLastAccessed(legacy, "W4", QDateTime(QDate(2026, 12, 5), QTime(19, 30))), "05 Dec 2026 07:30 PM");
    EXPECT_EQ(once, readBytes(twice));
    EXPECT_EQ(stored("W4").childText("HITS"), "2");
}

TEST_F(EditingTest, aBrowserPageKeepsItsSizeArmsTheIconTimerAndWithAutoSaveIsSavedAtOnce)
{
    openDb();
    clickFolder("T6");
    window->commands.addVardeckSetup(DetectedPage{"http://page.example/", "Page", "About it", "kw", "37", "Firefox"});
    EXPECT_EQ(txtWName(*window)->text(), "Page");
    EXPECT_EQ(lblFileSize(*window)->text(), "37 KB");
    EXPECT_TRUE(timerIcon(*window)->isActive());
    save();
    EXPECT_FALSE(timerIcon(*window)->isActive());
    EXPECT_TRUE(session().cancelIcons) << "no icon was shown: a fetch still running drops its icon";
    EXPECT_EQ(stored("W4").childText("FILESIZE"), "37");

    // A PDF document gets no icon fetch.
    window->commands.addVardeckSetup(DetectedPage{"http://page.example/paper.PDF", "Paper", "", "", "120", "Firefox"});
    EXPECT_FALSE(timerIcon(*window)->isActive());
    prompts.answer(MsgResult::Yes);
    window->toolbarButton(Tb::Cancel)->trigger();

    // With auto save the page is saved at once and its address looked for among the others.
    appOptions().setAutoSave(true);
    appOptions().setCheckDup(true);
    int duplicateChecks = 0;
    QString checkedAddress;
    struct DuplicatesCheck final : QObject, DuplicatesOperations {
        std::function<void(const QString &)> shown;
        void frmDuplicates_Show(const QString &address) override { shown(address); }
    } duplicatesCheck;
    duplicatesCheck.shown = [&](const QString &address) {
        ++duplicateChecks;
        checkedAddress = address;
    };
    offerOperations<DuplicatesOperations>(*window, duplicatesCheck, duplicatesCheck);
    window->commands.addVardeckSetup(
        DetectedPage{"https://www.bank.example/login/x", "Bank again", "", "", "4", "Firefox"});
    EXPECT_EQ(stored("W5").childText("NAME"), "Bank again");
    EXPECT_EQ(stored("W5").parentNode().parentNode().attribute("TID"), "T6");
    EXPECT_TRUE(window->aspectOverridden());
    EXPECT_EQ(checkedAddress, "https://www.bank.example/login/x");
    EXPECT_EQ(duplicateChecks, 1);

    // A modification looks for no duplicates.
    checkedAddress.clear();
    menu(MenuId::mnuEditModify);
    save();
    EXPECT_EQ(checkedAddress, "");
    EXPECT_EQ(duplicateChecks, 1);
}

TEST_F(EditingTest, refusalsSaySoAndKeepTheEditAndWhatWasTyped)
{
    openDb();
    window->commands.mnuEditModify_Click();
    EXPECT_EQ(prompts.lastText(), "No Vardeck has been selected to modify");
    EXPECT_EQ(window->editState(), EditState::Viewing);

    // No folder shown yet.
    menu(MenuId::mnuAddVardeck);
    typeInto(txtWName(*window), "Orphan");
    save();
    EXPECT_EQ(prompts.lastText(), "No folder has been selected.  Please select a folder before saving.");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Information);
    EXPECT_EQ(prompts.messages().back().title, "Razuzezu Revidod");
    EXPECT_EQ(window->editState(), EditState::Adding);
    EXPECT_EQ(txtWName(*window)->text(), "Orphan");

    // An empty name.
    clickFolder("T6");
    txtWName(*window)->clear();
    save();
    EXPECT_EQ(prompts.lastText(), "A website name is required before the Vardeck can be saved.");
    EXPECT_EQ(QApplication::focusWidget(), txtWName(*window));
    EXPECT_EQ(window->editState(), EditState::Adding);

    // A name of blanks passes.
    typeInto(txtWName(*window), "   ");
    save();
    EXPECT_EQ(stored("W4").childText("NAME"), "   ");
    EXPECT_EQ(prompts.messages().size(), 3u);

    closeTheDatabase(*window);
    window->commands.mnuAddVardeck_Click();
    EXPECT_EQ(prompts.lastText(), "A Vardecks database must be opened before a new Vardeck can be saved.");
    EXPECT_EQ(prompts.messages().back().title, "No open database");
    EXPECT_EQ(window->editState(), EditState::Viewing);
}

TEST_F(EditingTest, aFullDatabaseSaysSoAsTheAddStartsAndAfterADeletionTheAddIsSaved)
{
    QByteArray vardecks;
    for (int i = 1; i <= 32767; ++i)
        vardecks += "<VARDECK WID=\"W" + QByteArray::number(i) + "\"><NAME>v</NAME></VARDECK>";
    openDb("<FOLDERS>" + folderXml("T1", "Empty") + folderXml("T2", "Full", vardecks) + "</FOLDERS>");
    const QByteArray before = fileBytes();
    clickFolder("T1");
    press(tvwWM(*window), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(prompts.lastText(),
              "No Vardeck can be added: this database already holds as many Vardecks as it can number (32767).  "
              "Delete Vardecks you no longer need, or keep new ones in another database.");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(window->editState(), EditState::Viewing) << "nothing is typed into a Vardeck that cannot be saved";
    EXPECT_EQ(fileBytes(), before);

    // One Vardeck deleted: the next one takes its identifier and is saved.
    showVardeck("T2", "W32000");
    prompts.answer(MsgResult::Yes);
    menu(MenuId::mnuEditDelete);
    ASSERT_FALSE(stored("W32000"));
    clickFolder("T1");
    press(tvwWM(*window), Qt::Key_N, Qt::ControlModifier);
    ASSERT_EQ(window->editState(), EditState::Adding);
    typeInto(txtWName(*window), "One more");
    save();
    const XmlNode added = stored("W32000");
    EXPECT_EQ(added.childText("NAME"), "One more");
    EXPECT_EQ(added.parentNode().parentNode().attribute("TID"), "T1");
    EXPECT_EQ(doc()->countElements("VARDECK"), 32767);
}

TEST_F(EditingTest, aModificationShowsTheEditFaceAndItsCancelRestoresEveryStoredFieldAndLaterSavesKeepTheSize)
{
    openDb();
    showVardeck("T1", "W1");
    // Without an edit, Ctrl+S and Esc do nothing.
    const QByteArray before = fileBytes();
    press(tvwWM(*window), Qt::Key_S, Qt::ControlModifier);
    press(tvwWM(*window), Qt::Key_Escape);
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(fileBytes(), before);

    tabInfo(*window)->setTab(1);
    menu(MenuId::mnuEditModify);
    EXPECT_EQ(tabView(*window)->TabCaption(0), "   *Beta site    ");
    EXPECT_EQ(tabInfo(*window)->Tab(), 0) << "the preview gives way to the details";
    EXPECT_EQ(wbPreview(*window)->property("rrAddress").toString(), "about:blank");
    const std::initializer_list<QWidget *> face{
        txtWName(*window),   txtAddress(*window),          txtDescription(*window), txtKeywords(*window),
        lblWName(*window),   lblAddress(*window),          lblDescription(*window), lblKeyWords(*window),
        cmdAddFavs(*window), keywordsUpdateButton(*window)};
    for (QWidget *box : face)
        EXPECT_EQ(box->isVisible(), box->objectName().startsWith("txt")) << box->objectName().toStdString();
    EXPECT_TRUE(window->toolbarButton(Tb::Save)->isVisible());
    EXPECT_TRUE(chkFav(*window)->isEnabled());
    EXPECT_FALSE(txtNotes(*window)->isReadOnly());

    // Ctrl+N and Delete belong to the Edit menu, which a modification disables.
    press(txtWName(*window), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(window->editState(), EditState::Modifying);
    press(txtWName(*window), Qt::Key_Delete);
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_TRUE(doc()->nodeFromID("W1"));
    txtWName(*window)->setText("  ");
    EXPECT_FALSE(window->toolbarButton(Tb::Save)->isEnabled()) << "a name of blanks";

    txtWName(*window)->setText("Gamma");
    txtAddress(*window)->setText("http://gamma.example/");
    txtDescription(*window)->setPlainText("changed");
    txtKeywords(*window)->setPlainText("changed too");
    txtNotes(*window)->setPlainText("new notes");
    QTest::mouseClick(chkFav(*window), Qt::LeftButton);
    ASSERT_FALSE(chkFav(*window)->isChecked());
    // No keeps the edit with everything typed.
    prompts.answer(MsgResult::No);
    press(txtDescription(*window), Qt::Key_Escape);
    EXPECT_EQ(prompts.lastText(), "You are about to lose unsaved changes - do you wish to continue?");
    EXPECT_EQ(prompts.messages().back().title, "Unsaved changes");
    EXPECT_EQ(window->editState(), EditState::Modifying);
    EXPECT_EQ(txtDescription(*window)->toPlainText(), "changed");

    prompts.answer(MsgResult::Yes);
    press(txtDescription(*window), Qt::Key_Escape);
    for (QWidget *box : face)
        EXPECT_EQ(box->isVisible(), !box->objectName().startsWith("txt")) << box->objectName().toStdString();
    EXPECT_FALSE(window->toolbarButton(Tb::Save)->isVisible());
    EXPECT_FALSE(chkFav(*window)->isEnabled());
    EXPECT_EQ(txtWName(*window)->text(), "Beta site");
    EXPECT_EQ(txtAddress(*window)->text(), "http://www.beta.example/docs/page.html");
    EXPECT_EQ(txtDescription(*window)->toPlainText(), "A page");
    EXPECT_EQ(txtKeywords(*window)->toPlainText(), "kw one");
    EXPECT_EQ(txtNotes(*window)->toPlainText(), "Notes\nline 2");
    EXPECT_TRUE(chkFav(*window)->isChecked());

    // The next modification saves none of what was cancelled; "12 KB" stays 12 over two saves.
    menu(MenuId::mnuEditModify);
    save();
    EXPECT_EQ(stored("W1").childText("FAV"), "TRUE");
    EXPECT_EQ(stored("W1").childText("FILESIZE"), "12");
    menu(MenuId::mnuEditModify);
    txtWName(*window)->setText("Beta 1");
    save();
    EXPECT_EQ(stored("W1").childText("FILESIZE"), "12");
    EXPECT_EQ(stored("W1").childText("NAME"), "Beta 1");
    EXPECT_EQ(wmNode("W1")->text(0), "Beta 1");
    EXPECT_EQ(row("W1")->text(0), "Beta 1");
    EXPECT_TRUE(window->aspectPageStale(frmVardecks::FavsPage));
}

TEST_F(EditingTest, aCancelledAddShowsNoVardeckANewFavouriteSortsWithoutRegardToCaseAndSavesFillMissingChildren)
{
    openDb();
    showVardeck("T1", "W1");
    window->toolbarButton(Tb::CreateVardeck)->trigger();
    EXPECT_FALSE(chkFav(*window)->isChecked()) << "a new Vardeck starts without the shown one's favourite mark";
    typeInto(txtWName(*window), "Never mind");
    prompts.answer(MsgResult::Yes);
    window->toolbarButton(Tb::Cancel)->trigger();
    EXPECT_EQ(lblWName(*window)->text(), "No Vardeck selected");
    EXPECT_EQ(doc()->countElements("VARDECK"), 3);
    EXPECT_FALSE(cmdMoveVD(*window)->isEnabled()) << "no Vardeck is shown";
    EXPECT_TRUE(cmdMoveFolder(*window)->isEnabled()) << "the add is over";

    menu(MenuId::mnuAddVardeck);
    typeInto(txtWName(*window), "Could be");
    QTest::mouseClick(chkFav(*window), Qt::LeftButton);
    save();
    EXPECT_EQ(childTexts(tvwWM(*window)->invisibleRootItem()), QStringList({"alpha & co", "Beta site", "Could be"}));
    EXPECT_EQ(stored("W4").childText("FAV"), "TRUE");
    tabIndex(*window)->setTab(2);
    EXPECT_NE(findByTag(tvwFavs(*window), "W4"), nullptr);
    tabIndex(*window)->setTab(0);

    // A modification of a Vardeck with NAME and ADDRESS only writes every child.
    clickVardeck("W2");
    menu(MenuId::mnuEditModify);
    txtDescription(*window)->setPlainText("described");
    txtKeywords(*window)->setPlainText("keyed");
    txtNotes(*window)->setPlainText("noted");
    save();
    const XmlNode alpha = stored("W2");
    EXPECT_EQ(alpha.childText("DESCRIPTION"), "described");
    EXPECT_EQ(alpha.childText("KEYWORD1"), "keyed");
    EXPECT_EQ(alpha.childText("NOTES"), "noted");
    EXPECT_TRUE(alpha.child("FILESIZE"));
    EXPECT_EQ(alpha.childText("HITS"), "1");
    EXPECT_EQ(alpha.childText("FAV"), "FALSE");
}

// Esc (or Cancel) on an edit in which nothing was changed leaves it quietly; anything typed, a
// changed favourite mark or a page taken from a browser is asked about first.
TEST_F(EditingTest, cancellingAnEditWithNothingChangedAsksNothing)
{
    openDb();
    showVardeck("T1", "W1");
    menu(MenuId::mnuAddVardeck);
    ASSERT_EQ(window->editState(), EditState::Adding);
    press(txtWName(*window), Qt::Key_Escape);
    EXPECT_TRUE(prompts.messages().empty()) << prompts.texts().join('|').toStdString();
    EXPECT_EQ(window->editState(), EditState::Viewing);
    EXPECT_EQ(lblWName(*window)->text(), "No Vardeck selected");

    clickVardeck("W1");
    menu(MenuId::mnuEditModify);
    press(txtAddress(*window), Qt::Key_Escape);
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(window->editState(), EditState::Viewing);
    EXPECT_EQ(lblWName(*window)->text(), "Beta site");

    // Typed and taken back again is no change.
    menu(MenuId::mnuEditModify);
    typeInto(txtNotes(*window), "x");
    press(txtNotes(*window), Qt::Key_Backspace);
    press(txtNotes(*window), Qt::Key_Escape);
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(window->editState(), EditState::Viewing);

    const auto asksOnEscape = [&](const char *what) {
        prompts.clear();
        prompts.answer(MsgResult::No);
        press(txtWName(*window), Qt::Key_Escape);
        EXPECT_EQ(prompts.texts(), QStringList{"You are about to lose unsaved changes - do you wish to continue?"})
            << what;
        EXPECT_NE(window->editState(), EditState::Viewing) << what;
        prompts.answer(MsgResult::Yes);
        window->toolbarButton(Tb::Cancel)->trigger();
        EXPECT_EQ(window->editState(), EditState::Viewing) << what;
    };
    menu(MenuId::mnuEditModify);
    QTest::mouseClick(chkFav(*window), Qt::LeftButton);
    asksOnEscape("the favourite mark");
    menu(MenuId::mnuAddVardeck);
    typeInto(txtKeywords(*window), "k");
    asksOnEscape("a keyword of a new Vardeck");
    window->commands.addVardeckSetup(DetectedPage{"http://page.example/paper.pdf", "Paper", "", "", "120", "Firefox"});
    asksOnEscape("a page from a browser");
}

// The status bar's echo of Save or Cancel goes with the buttons when the edit ends under a
// resting pointer; any other text in the panel stays.
TEST_F(EditingTest, theEchoOfSaveOrCancelGoesWhenTheEditEnds)
{
    openDb();
    showVardeck("T1", "W1");
    const auto pointAt = [&](Tb position) {
        QCoreApplication::processEvents(); // the toolbar lays out the buttons the edit shows
        QWidget *button = Toolbar1(*window)->widgetForAction(window->toolbarButton(position));
        ASSERT_TRUE(button && button->isVisible());
        window->Toolbar1_MouseMove(button->geometry().center().x());
    };
    menu(MenuId::mnuAddVardeck);
    pointAt(Tb::Cancel);
    ASSERT_EQ(StatusBar1(*window)->panelText(1), "Cancel  ESC");
    window->toolbarButton(Tb::Cancel)->trigger();
    ASSERT_EQ(window->editState(), EditState::Viewing);
    EXPECT_EQ(StatusBar1(*window)->panelText(1), "");

    clickVardeck("W1");
    menu(MenuId::mnuEditModify);
    pointAt(Tb::Save);
    ASSERT_EQ(StatusBar1(*window)->panelText(1), "Save  CTRL-S");
    save();
    EXPECT_EQ(StatusBar1(*window)->panelText(1), "");

    menu(MenuId::mnuEditModify);
    StatusBar1(*window)->setPanelText(1, "Update Vardeck  CTRL+U");
    window->toolbarButton(Tb::Cancel)->trigger();
    EXPECT_EQ(StatusBar1(*window)->panelText(1), "Update Vardeck  CTRL+U");
}

TEST_F(EditingTest, aFailedSaveIsShownAndTheChangeStaysInMemory)
{
    openDb();
    showVardeck("T1", "W1");
    const QByteArray before = fileBytes();
    menu(MenuId::mnuEditModify);
    txtWName(*window)->setText("Renamed");
    {
        FailingDisk disk;
        save();
    }
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_TRUE(prompts.lastText().startsWith(
        "The Vardecks database could not be saved.  The change is kept until the next save.\n\n"));
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_EQ(doc()->nodeFromID("W1").childText("NAME"), "Renamed");
    EXPECT_EQ(lblWName(*window)->text(), "Renamed");

    // A new Vardeck that cannot be written is kept too, with its first visit; the failure is told once.
    clickFolder("T6");
    menu(MenuId::mnuAddVardeck);
    typeInto(txtWName(*window), "Unwritten");
    {
        FailingDisk disk;
        save();
    }
    EXPECT_EQ(prompts.messages().size(), 2u);
    EXPECT_EQ(doc()->nodeFromID("W4").childText("HITS"), "2");
    EXPECT_EQ(lbl(*window, Lbl::Hits)->text(), "2");

    // Closing asks; Yes writes everything kept, and a disk that still refuses asks again before anything is lost.
    prompts.clear();
    prompts.answer(MsgResult::No);
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompts.texts(), QStringList{"Are you sure you wish exit Vardecks with unsaved changes?"});
    prompts.answer(MsgResult::Yes);
    {
        FailingDisk disk;
        EXPECT_FALSE(window->close());
    }
    ASSERT_EQ(prompts.messages().size(), 3u);
    EXPECT_TRUE(
        prompts.lastText().startsWith("The Vardecks database could not be saved, so the unsaved changes would be "
                                      "lost.  Exit anyway?\n\n"));
    EXPECT_EQ(fileBytes(), before);
    prompts.answer(MsgResult::Yes);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(stored("W1").childText("NAME"), "Renamed");
    EXPECT_EQ(stored("W4").childText("KEYWORD2"), "05 Dec 2026 07:30 PM");
}

// Per control, the state in viewing, modifying and adding: T on, F off, - kept,
// Fo with a folder shown, V with a Vardeck shown: each rule in each column and each kind of control.
const char *const kTable[][4] = {
    {"#2", "V", "F", "F"},
    {"#5", "Fo", "Fo", "Fo"},
    {"#12", "T", "F", "-"},
    {"#14", "Fo", "F", "F"},
    {"#23", "-", "T", "-"},
    {"#24", "-", "T", "T"},
    {"mnuAddVardeck", "T", "-", "F"},
    {"mnuNavigate(0)", "Fo", "Fo", "Fo"},
    {"mnuEditModify", "V", "-", "F"},
    {"cmdMoveVD", "V", "F", "F"},
    {"lbl(25)", "F", "T", "T"},
};

struct Case {
    EditState state;
    int column; // 0 viewing, 1 modifying, 2 adding
    bool folder;
    bool vardeck;
    bool again; // the mode is set while the window is in it already
};

void PrintTo(const Case &c, std::ostream *os)
{
    static const char *const names[] = {"viewing", "modifying", "adding"};
    *os << names[c.column] << " folder=" << c.folder << " vardeck=" << c.vardeck << " again=" << c.again;
}

class EnablingTable : public EditingTest, public ::testing::WithParamInterface<Case>
{
protected:
    // Reads the target's state, or sets it when on is given. A label's state is its visibility.
    bool access(const QString &target, std::optional<bool> on = {})
    {
        if (target.startsWith('#') || target.startsWith("mnu")) {
            QAction *action = target.startsWith('#') ? window->toolbarButton(Tb(target.mid(1).toInt()))
                                                     : window->findChild<QAction *>(target);
            if (on)
                action->setEnabled(*on);
            return action->isEnabled();
        }
        QWidget *control = window->findChild<QWidget *>(target);
        EXPECT_NE(control, nullptr) << target.toStdString();
        const bool label = target.startsWith("lbl");
        if (on)
            label ? control->setVisible(*on) : control->setEnabled(*on);
        return label ? !control->isHidden() : control->isEnabled();
    }
};

TEST_P(EnablingTable, appliesTheRowsOfTheMode)
{
    const Case c = GetParam();
    openDb();
    if (c.vardeck)
        showVardeck("T1", "W1");
    else if (c.folder)
        clickFolder("T1");
    ASSERT_EQ(window->folderShown(), c.folder);
    ASSERT_EQ(window->vardeckShown(), c.vardeck);

    // Two passes, from everything on and from everything off, tell "kept" apart.
    for (const bool before : {true, false}) {
        const EditState other = c.state == EditState::Viewing ? EditState::Adding : EditState::Viewing;
        setMode(*window, c.again ? c.state : other);
        // A hidden toolbar button reads as disabled: Save and Cancel show as in an edit.
        window->toolbarButton(Tb::Save)->setVisible(true);
        window->toolbarButton(Tb::Cancel)->setVisible(true);
        for (const auto &e : kTable)
            access(e[0], before);
        // A change of the mode runs the table for the new one, and so does setting the mode it has.
        setMode(*window, c.state);
        ASSERT_EQ(window->editState(), c.state);
        for (const auto &e : kTable) {
            const QString r = e[1 + c.column];
            const bool expected =
                r == "T" || (r == "Fo" && c.folder) || (r == "V" && c.vardeck) || (r == "-" && before);
            EXPECT_EQ(access(e[0]), expected) << e[0] << " rule " << r.toStdString() << " from " << before;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EnablingTable,
    ::testing::Values(Case{EditState::Viewing, 0, false, false, false}, Case{EditState::Viewing, 0, true, false, false},
                      Case{EditState::Viewing, 0, true, true, false}, Case{EditState::Modifying, 1, true, true, false},
                      Case{EditState::Modifying, 1, true, false, true}, Case{EditState::Adding, 2, true, false, false},
                      Case{EditState::Adding, 2, false, false, true}, Case{EditState::Viewing, 0, true, true, true}));

// Each change of the edit state is announced once, with the state it changed to: Update, Esc,
// New Vardeck, and the display of a Vardeck that ends the add. Setting the state the window is in
// announces nothing.
TEST_F(EditingTest, eachChangeOfTheEditStateIsAnnouncedOnceWithTheNewState)
{
    openDb();
    showVardeck("T1", "W1");
    QList<EditState> announced;
    QObject::connect(window.get(), &frmVardecks::editStateChanged, window.get(),
                     [&](EditState state) { announced << state; });
    menu(MenuId::mnuEditModify);
    setMode(*window, EditState::Modifying);
    press(txtWName(*window), Qt::Key_Escape);
    menu(MenuId::mnuAddVardeck);
    prompts.answer(MsgResult::Yes);
    showVardeck("T1", "W2");
    EXPECT_EQ(announced,
              QList<EditState>({EditState::Modifying, EditState::Viewing, EditState::Adding, EditState::Viewing}));
    EXPECT_EQ(window->editState(), EditState::Viewing);
}

// T1 zebra (W1, a favourite, and W2) holds T2 Work (W5), which holds T7 Deep (W6); T5 Apple holds W3.
QByteArray nestedBody()
{
    const QByteArray deep = folderXml("T7", "Deep", vardeckXml("W6", "Six"));
    const QByteArray work = folderXml("T2", "Work", vardeckXml("W5", "Five"), deep);
    const QByteArray one = vardeckXml("W1", "One").replace("<FAV>FALSE", "<FAV>TRUE");
    const QByteArray zebra = folderXml("T1", "zebra", one + vardeckXml("W2", "Two"), work);
    return "<FOLDERS>" + zebra + folderXml("T5", "Apple", vardeckXml("W3", "Three")) + "</FOLDERS>";
}

TEST_F(EditingTest, deletingAVardeckOrAFolderAsksAndRemovesWhatItNamesWithItsSideFiles)
{
    openDb(nestedBody());
    window->commands.mnuEditDelete_Click();
    EXPECT_EQ(prompts.lastText(), "No Vardeck has been selected to delete.");
    window->commands.mnuEditDeleteTopic_Click();
    EXPECT_EQ(prompts.lastText(), "A folder must be selected to delete");
    makeSideFiles({"W1", "W2", "W5", "W6", "W3"});
    explorer->views.populateIconList();
    ASSERT_EQ(doc()->nodeFromID("W1").childText("FAV"), "TRUE");
    showVardeck("T1", "W1");
    // The Vardeck last opened from a list is another one: the shown one goes.
    window->selectVardeck("W2");
    EXPECT_EQ(lbl(*window, Lbl::VardeckCount)->text(), "2");
    // The Popular tab's list, filled before, loses the rows though another tab is open.
    for (const char *wid : {"W1", "W6", "W3"})
        doc()->nodeFromID(wid).setChildText("HITS", "5");
    operationsOf<FindingOperations>(*window).populatePopList(doc());
    tabIndex(*window)->setTab(3);
    ASSERT_NE(findByTag(listPop(*window), "W1"), nullptr);
    tabIndex(*window)->setTab(0);
    const QByteArray before = fileBytes();
    prompts.answer(MsgResult::No);
    menu(MenuId::mnuEditDelete);
    EXPECT_EQ(fileBytes(), before) << "No";
    EXPECT_EQ(lblWName(*window)->text(), "One");
    prompts.answer(MsgResult::Yes);
    menu(MenuId::mnuEditDelete);
    EXPECT_EQ(findByTag(listPop(*window), "W1"), nullptr);

    EXPECT_EQ(prompts.lastText(), "Are you sure you wish to delete One?");
    EXPECT_EQ(prompts.messages().back().title, "Delete Vardeck?");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::None);
    EXPECT_FALSE(stored("W1"));
    EXPECT_TRUE(stored("W2"));
    EXPECT_FALSE(QFile::exists(iconFile("W1")));
    EXPECT_FALSE(QFile::exists(thumbFile("W1")));
    EXPECT_TRUE(QFile::exists(iconFile("W2")));
    EXPECT_FALSE(window->vardeckPictures().has("W1"));
    EXPECT_EQ(wmNode("W1"), nullptr);
    EXPECT_EQ(row("W1"), nullptr);
    EXPECT_EQ(lbl(*window, Lbl::VardeckCount)->text(), "1");
    EXPECT_EQ(lblWName(*window)->text(), "No Vardeck selected");
    EXPECT_EQ(lblTName(*window)->text(), "zebra");
    EXPECT_EQ(window->selectedWID(), "");
    // Nothing shown, nothing selected: no row keeps a highlight the panel disowns.
    EXPECT_TRUE(tvwWM(*window)->selectedItems().isEmpty());
    EXPECT_TRUE(listVD(*window)->selectedItems().isEmpty());
    tabIndex(*window)->setTab(2);
    EXPECT_EQ(tvwFavs(*window)->topLevelItemCount(), 0);
    tabIndex(*window)->setTab(0);
    EXPECT_TRUE(window->aspectPageStale(frmVardecks::FavsPage));

    // From the Favorites tab the row leaves the favourites.
    doc()->nodeFromID("W2").setChildText("FAV", "TRUE");
    tabIndex(*window)->setTab(2);
    clickItem(tvwFavs(*window), tvwFavs(*window)->topLevelItem(0));
    prompts.answer(MsgResult::Yes);
    menu(MenuId::mnuEditDelete);
    EXPECT_FALSE(stored("W2"));
    EXPECT_EQ(tvwFavs(*window)->topLevelItemCount(), 0);
    tabIndex(*window)->setTab(0);
    clickFolder("T1");

    // A folder goes with its whole sub-tree.
    prompts.answer(MsgResult::Yes);
    menu(MenuId::mnuEditDeleteTopic);
    EXPECT_EQ(findByTag(listPop(*window), "W6"), nullptr);
    EXPECT_EQ(prompts.lastText(),
              "Are you sure you wish to delete the folder zebra and all its Vardecks and sub-folders?");
    EXPECT_EQ(prompts.messages().back().title, "Delete folder?");
    for (const char *id : {"T1", "T2", "T7", "W2", "W5", "W6"})
        EXPECT_FALSE(stored(id)) << id;
    EXPECT_TRUE(stored("W3"));
    for (const char *wid : {"W2", "W5", "W6"}) {
        EXPECT_FALSE(QFile::exists(iconFile(wid))) << wid;
        EXPECT_FALSE(QFile::exists(thumbFile(wid))) << wid;
    }
    EXPECT_TRUE(QFile::exists(iconFile("W3")));
    EXPECT_EQ(node("T1"), nullptr);
    EXPECT_NE(node("T5"), nullptr);
    EXPECT_EQ(tabIndex(*window)->Tab(), 0);
    // Whatever the tree selected next is what the window shows.
    QTreeWidgetItem *current = topics()->currentItem();
    if (current == root())
        EXPECT_EQ(lblTName(*window)->text(), "No folder selected");
    else
        EXPECT_EQ(lblTName(*window)->text(), current->text(0));

    // From the Popular tab the row goes and no folder stays shown.
    showVardeck("T5", "W3");
    tabIndex(*window)->setTab(3);
    operationsOf<FindingOperations>(*window).populatePopList(doc());
    ASSERT_NE(findByTag(listPop(*window), "W3"), nullptr);
    prompts.answer(MsgResult::Yes);
    menu(MenuId::mnuEditDelete);
    EXPECT_EQ(findByTag(listPop(*window), "W3"), nullptr);
    EXPECT_EQ(lblTName(*window)->text(), "No folder selected");
    EXPECT_EQ(listVD(*window)->topLevelItemCount(), 0);
    EXPECT_FALSE(stored("W3"));
}

TEST_F(EditingTest, deletingFromTheSearchResultsKeepsTheShownFolderAndEveryCountFollows)
{
    openDb();
    clickFolder("T1");
    ASSERT_EQ(lbl(*window, Lbl::VardeckCount)->text(), "2");
    tabIndex(*window)->setTab(1);
    cmbSearch(*window)->setEditText("Beta");
    window->commands.cmdSearch_Click();
    ASSERT_EQ(lblFound(*window)->text(), "1");
    clickItem(lstSrch(*window), lstSrch(*window)->topLevelItem(0));
    ASSERT_EQ(lblWName(*window)->text(), "Beta site");
    prompts.answer(MsgResult::Yes);
    menu(MenuId::mnuEditDelete);
    EXPECT_FALSE(stored("W1"));
    EXPECT_EQ(lstSrch(*window)->topLevelItemCount(), 0);
    EXPECT_EQ(lblFound(*window)->text(), "0") << "no result is left";
    EXPECT_EQ(lblTName(*window)->text(), "zebra");
    EXPECT_EQ(rowIds(), QStringList{"W2"});
    EXPECT_EQ(wmNode("W1"), nullptr);
    EXPECT_NE(wmNode("W2"), nullptr);
    EXPECT_EQ(lbl(*window, Lbl::VardeckCount)->text(), "1");
    EXPECT_EQ(lblWName(*window)->text(), "No Vardeck selected");

    // Results emptied by an edit leave no count behind either.
    cmbSearch(*window)->setEditText("alpha");
    window->commands.cmdSearch_Click();
    ASSERT_EQ(lblFound(*window)->text(), "1");
    tabIndex(*window)->setTab(0);
    clickVardeck("W2");
    menu(MenuId::mnuEditModify);
    txtWName(*window)->setText("alpha and co");
    save();
    EXPECT_EQ(lstSrch(*window)->topLevelItemCount(), 0);
    EXPECT_EQ(lblFound(*window)->text(), "0");
}

TEST_F(EditingTest, deletionsThatCannotBeSavedKeepTheFileAndTheSideFiles)
{
    openDb(nestedBody());
    makeSideFiles({"W1", "W5", "W6"});
    showVardeck("T1", "W1");
    const QByteArray before = fileBytes();
    prompts.answer(MsgResult::Yes);
    {
        FailingDisk disk;
        menu(MenuId::mnuEditDelete);
    }
    EXPECT_EQ(prompts.messages().size(), 2u);
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    EXPECT_TRUE(QFile::exists(iconFile("W1")));
    EXPECT_TRUE(QFile::exists(thumbFile("W1")));
    EXPECT_FALSE(doc()->nodeFromID("W1")) << "the deletion stays in memory for the next save";

    clickFolder("T2");
    prompts.answer(MsgResult::Yes);
    {
        FailingDisk disk;
        menu(MenuId::mnuEditDeleteTopic);
    }
    EXPECT_EQ(prompts.messages().size(), 4u);
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(fileBytes(), before);
    EXPECT_TRUE(QFile::exists(iconFile("W5")));
    EXPECT_TRUE(QFile::exists(thumbFile("W6")));
    EXPECT_FALSE(doc()->nodeFromID("T2"));
}

} // namespace

// What the window shows is the folder and the Vardeck themselves, not what their
// captions read: names that read like "nothing shown" are shown like any other, and a
// Vardeck without a name is shown too, so that it can be given one.
TEST_F(EditingTest, namesThatReadLikeNothingShownAreShownAndANamelessVardeckCanBeNamed)
{
    openDb("<FOLDERS>" +
           folderXml("T1", "No folder selected",
                     vardeckXml("W1", "No Vardeck selected") +
                         "<VARDECK WID=\"W2\"><ADDRESS>http://b.example/</ADDRESS></VARDECK>") +
           "</FOLDERS>");
    showVardeck("T1", "W1");
    EXPECT_TRUE(window->folderShown());
    EXPECT_TRUE(window->vardeckShown());
    EXPECT_TRUE(window->toolbarButton(Tb::FirstVardeck)->isEnabled()) << "the folder's commands";
    EXPECT_TRUE(cmdMoveVD(*window)->isEnabled()) << "the Vardeck's commands";
    menu(MenuId::mnuEditModify);
    EXPECT_EQ(window->editState(), EditState::Modifying);
    press(txtWName(*window), Qt::Key_Escape);
    ASSERT_EQ(window->editState(), EditState::Viewing);

    clickVardeck("W2");
    EXPECT_EQ(window->currentWID(), "W2");
    EXPECT_TRUE(window->vardeckShown());
    menu(MenuId::mnuEditModify);
    ASSERT_EQ(window->editState(), EditState::Modifying);
    typeInto(txtWName(*window), "Named at last");
    save();
    EXPECT_EQ(stored("W2").childText("NAME"), "Named at last");
    EXPECT_EQ(lblWName(*window)->text(), "Named at last");
    EXPECT_TRUE(prompts.messages().empty()) << prompts.lastText().toStdString();
}
