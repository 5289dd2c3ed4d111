// Adding, updating, saving and cancelling Vardecks through the window's menus, toolbar,
// Ctrl+S and Esc.
#include "editingfixture.h"

using namespace rr;
using namespace rr::test;

namespace
{

TEST_F(EditingTest, addTypedWithTabThenSavedWritesTheTenChildrenInOrder)
{
    openDb();
    makeSideFiles({"W4"}); // left behind by an earlier Vardeck W4
    clickFolder("T5");
    menu("mnuAddVardeck");
    EXPECT_EQ(window->txtMode->text(), "add");
    EXPECT_EQ(window->lblCreatedDate->text(), "05 Dec 2026");
    EXPECT_FALSE(window->toolbarButton(23)->isEnabled()) << "Save waits for a name";

    ASSERT_EQ(QApplication::focusWidget(), window->txtWName);
    typeInto(window->txtWName, "Tide & times");
    EXPECT_TRUE(window->toolbarButton(23)->isEnabled());
    EXPECT_EQ(window->tabView->TabCaption(0), "   *Tide & times    ");
    // Tab moves through the boxes in order and types no tab.
    for (const char *text : {"http://tides.example/today", "High and low", "sea"}) {
        press(QApplication::focusWidget(), Qt::Key_Tab);
        typeInto(QApplication::focusWidget(), text);
    }
    EXPECT_EQ(QApplication::focusWidget(), window->txtKeywords);
    press(window->txtKeywords, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), window->txtDescription);
    typeInto(window->txtNotes, "check <daily>");
    press(window->txtNotes, Qt::Key_S, Qt::ControlModifier);

    EXPECT_TRUE(prompts.messages().empty()) << prompts.lastText().toStdString();
    EXPECT_FALSE(window->isEditing());
    EXPECT_EQ(window->lblWName->text(), "Tide & times");
    EXPECT_EQ(window->currentWID, "W4");
    EXPECT_EQ(window->lbl(14)->text(), "2");
    EXPECT_EQ(window->tabView->TabCaption(0), "    Tide & times    ");
    ASSERT_FALSE(recentColl.isEmpty());
    EXPECT_EQ(recentColl.last().getID(), "W4");
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

TEST_F(EditingTest, aBrowserPageKeepsItsSizeArmsTheIconTimerAndWithAutoSaveIsSavedAtOnce)
{
    openDb();
    clickFolder("T6");
    window->chosenPage = {"http://page.example/", "Page", "About it", "kw", "37", "Firefox"};
    callOp(window->ops.addVardeckSetup, QString("BROWSER"));
    EXPECT_EQ(window->txtWName->text(), "Page");
    EXPECT_EQ(window->lblFileSize->text(), "37 KB");
    EXPECT_EQ(window->lbl(14)->text(), "1");
    EXPECT_TRUE(window->timerIcon->isActive());
    EXPECT_EQ(window->timerIcon->interval(), 10);
    save();
    EXPECT_FALSE(window->timerIcon->isActive());
    EXPECT_TRUE(cancelIcons) << "no icon was shown: a fetch still running drops its icon";
    EXPECT_EQ(stored("W4").childText("FILESIZE"), "37");
    EXPECT_EQ(stored("W4").childText("DESCRIPTION"), "About it");

    // A PDF document gets no icon fetch.
    window->chosenPage = {"http://page.example/paper.PDF", "Paper", "", "", "120", "Firefox"};
    callOp(window->ops.addVardeckSetup, QString("browser"));
    EXPECT_FALSE(window->timerIcon->isActive());
    prompts.answer(MsgResult::Yes);
    button(24);

    // With auto save the page is saved at once and its address looked for among the others.
    appOptions().setAutoSave(true);
    appOptions().setCheckDup(true);
    record("frmDuplicates_Show");
    window->chosenPage = {"https://www.bank.example/login/x", "Bank again", "", "", "4", "Firefox"};
    callOp(window->ops.addVardeckSetup, QString("browser"));
    EXPECT_EQ(window->txtMode->text(), "");
    EXPECT_EQ(stored("W5").childText("NAME"), "Bank again");
    EXPECT_EQ(stored("W5").parentNode().parentNode().attribute("TID"), "T6");
    EXPECT_TRUE(window->m_overrideAspect);
    EXPECT_EQ(window->popup.dupCheckAddress, "https://www.bank.example/login/x");
    EXPECT_EQ(runs.size(), 1);

    // A modification looks for no duplicates.
    menu("mnuEditModify");
    save();
    EXPECT_EQ(window->popup.dupCheckAddress, "");
    EXPECT_EQ(runs.size(), 1);
}

TEST_F(EditingTest, refusalsSaySoAndKeepTheEditAndWhatWasTyped)
{
    openDb();
    window->runCommand("mnuEditModify_Click");
    EXPECT_EQ(prompts.lastText(), "No Vardeck has been selected to modify");
    EXPECT_FALSE(window->isEditing());

    // No folder shown yet.
    menu("mnuAddVardeck");
    typeInto(window->txtWName, "Orphan");
    save();
    EXPECT_EQ(prompts.lastText(), "No folder has been selected.  Please select a folder before saving.");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Information);
    EXPECT_EQ(prompts.messages().back().title, "Razuzezu Revidod");
    EXPECT_EQ(window->txtMode->text(), "add");
    EXPECT_EQ(window->txtWName->text(), "Orphan");

    // An empty name.
    clickFolder("T6");
    window->txtWName->clear();
    save();
    EXPECT_EQ(prompts.lastText(), "A website name is required before the Vardeck can be saved.");
    EXPECT_EQ(QApplication::focusWidget(), window->txtWName);
    EXPECT_EQ(window->txtMode->text(), "add");

    // A name of blanks passes.
    typeInto(window->txtWName, "   ");
    save();
    EXPECT_EQ(window->txtMode->text(), "");
    EXPECT_EQ(stored("W4").childText("NAME"), "   ");
    EXPECT_EQ(prompts.messages().size(), 3u);

    closeTheDatabase(*window);
    window->runCommand("mnuAddVardeck_Click");
    EXPECT_EQ(prompts.lastText(), "A Vardecks database must be opened before a new Vardeck can be saved.");
    EXPECT_EQ(prompts.messages().back().title, "No open database");
    EXPECT_EQ(window->txtMode->text(), "");
}

TEST_F(EditingTest, noFreeIdentifierShowsAMessageAndKeepsTheEnteredData)
{
    QByteArray vardecks;
    for (int i = 1; i <= 32767; ++i)
        vardecks += "<VARDECK WID=\"W" + QByteArray::number(i) + "\"/>";
    openDb("<FOLDERS>" + folderXml("T1", "Empty") + folderXml("T2", "Full", vardecks) + "</FOLDERS>");
    const QByteArray before = fileBytes();
    clickFolder("T1");
    menu("mnuAddVardeck");
    typeInto(window->txtWName, "One too many");
    typeInto(window->txtNotes, "keep me");
    save();
    EXPECT_EQ(prompts.lastText(),
              "The Vardeck could not be saved: this database already holds as many Vardecks as it can number.  "
              "Delete Vardecks you no longer need, or keep this one in another database.");
    EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
    EXPECT_EQ(window->txtMode->text(), "add");
    EXPECT_EQ(window->txtWName->text(), "One too many");
    EXPECT_EQ(window->txtNotes->toPlainText(), "keep me");
    EXPECT_EQ(doc()->countElements("VARDECK"), 32767);
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(EditingTest, cancellingAModificationRestoresEveryStoredFieldAndLaterSavesKeepTheSize)
{
    openDb();
    showVardeck("T1", "W1");
    // Without an edit, Ctrl+S and Esc do nothing.
    const QByteArray before = fileBytes();
    press(window->tvwWM, Qt::Key_S, Qt::ControlModifier);
    press(window->tvwWM, Qt::Key_Escape);
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_EQ(fileBytes(), before);

    menu("mnuEditModify");
    EXPECT_EQ(window->txtMode->text(), "mod");
    EXPECT_EQ(window->tabView->TabCaption(0), "   *Beta site    ");
    window->txtWName->setText("Gamma");
    window->txtAddress->setText("http://gamma.example/");
    window->txtDescription->setPlainText("changed");
    window->txtKeywords->setPlainText("changed too");
    window->txtNotes->setPlainText("new notes");
    QTest::mouseClick(window->chkFav, Qt::LeftButton);
    ASSERT_FALSE(window->chkFav->isChecked());

    // No keeps the edit with everything typed.
    prompts.answer(MsgResult::No);
    press(window->txtDescription, Qt::Key_Escape);
    EXPECT_EQ(prompts.lastText(), "You are about to lose unsaved changes - do you wish to continue?");
    EXPECT_EQ(prompts.messages().back().title, "Unsaved changes");
    EXPECT_EQ(window->txtMode->text(), "mod");
    EXPECT_EQ(window->txtDescription->toPlainText(), "changed");

    prompts.answer(MsgResult::Yes);
    press(window->txtDescription, Qt::Key_Escape);
    EXPECT_FALSE(window->isEditing());
    EXPECT_EQ(window->txtWName->text(), "Beta site");
    EXPECT_EQ(window->txtAddress->text(), "http://www.beta.example/docs/page.html");
    EXPECT_EQ(window->txtDescription->toPlainText(), "A page");
    EXPECT_EQ(window->txtKeywords->toPlainText(), "kw one");
    EXPECT_EQ(window->txtNotes->toPlainText(), "Notes\nline 2");
    EXPECT_TRUE(window->chkFav->isChecked());
    EXPECT_EQ(window->tabView->TabCaption(0), "    Beta site    ");

    // The next modification saves none of what was cancelled; "12 KB" stays 12 over two saves.
    menu("mnuEditModify");
    save();
    const XmlNode vardeck = stored("W1");
    EXPECT_EQ(vardeck.childText("NAME"), "Beta site");
    EXPECT_EQ(vardeck.childText("DESCRIPTION"), "A page");
    EXPECT_EQ(vardeck.childText("KEYWORD1"), "kw one");
    EXPECT_EQ(vardeck.childText("FAV"), "TRUE");
    EXPECT_EQ(vardeck.childText("FILESIZE"), "12");
    menu("mnuEditModify");
    window->txtWName->setText("Beta 1");
    save();
    EXPECT_EQ(stored("W1").childText("FILESIZE"), "12");
    EXPECT_EQ(stored("W1").childText("NAME"), "Beta 1");
    EXPECT_EQ(wmNode("W1")->text(0), "Beta 1");
    EXPECT_EQ(row("W1")->text(0), "Beta 1");
    EXPECT_TRUE(window->aspectPageStale[frmVardecks::FavsPage]);
}

TEST_F(EditingTest, aCancelledAddShowsNoVardeckAndANewFavouriteSortsIntoTheTreeWithoutRegardToCase)
{
    openDb();
    showVardeck("T1", "W1");
    button(1);
    EXPECT_FALSE(window->chkFav->isChecked()) << "a new Vardeck starts without the shown one's favourite mark";
    typeInto(window->txtWName, "Never mind");
    prompts.answer(MsgResult::Yes);
    button(24);
    EXPECT_EQ(window->txtMode->text(), "");
    EXPECT_EQ(window->lblWName->text(), "No Vardeck selected");
    EXPECT_EQ(doc()->countElements("VARDECK"), 3);
    EXPECT_FALSE(window->cmdMoveVD->isEnabled()) << "no Vardeck is shown";
    EXPECT_TRUE(window->cmdMoveFolder->isEnabled());

    menu("mnuAddVardeck");
    typeInto(window->txtWName, "Could be");
    QTest::mouseClick(window->chkFav, Qt::LeftButton);
    save();
    QStringList names;
    for (int i = 0; i < window->tvwWM->topLevelItemCount(); ++i)
        names << window->tvwWM->topLevelItem(i)->text(0);
    EXPECT_EQ(names, QStringList({"alpha & co", "Beta site", "Could be"}));
    EXPECT_EQ(stored("W4").childText("FAV"), "TRUE");
    EXPECT_NE(findByTag(window->tvwFavs, "W4"), nullptr);
}

TEST_F(EditingTest, savingAModificationCreatesMissingChildren)
{
    openDb();
    showVardeck("T1", "W2"); // NAME and ADDRESS only
    menu("mnuEditModify");
    window->txtDescription->setPlainText("described");
    window->txtKeywords->setPlainText("keyed");
    window->txtNotes->setPlainText("noted");
    save();
    const XmlNode alpha = stored("W2");
    EXPECT_EQ(alpha.childText("DESCRIPTION"), "described");
    EXPECT_EQ(alpha.childText("KEYWORD1"), "keyed");
    EXPECT_EQ(alpha.childText("NOTES"), "noted");
    EXPECT_TRUE(alpha.child("FILESIZE"));
    EXPECT_EQ(alpha.childText("HITS"), "1");
    EXPECT_EQ(alpha.childText("FAV"), "FALSE");
}

TEST_F(EditingTest, aFailedSaveIsShownAndTheChangeStaysInMemory)
{
    openDb();
    showVardeck("T1", "W1");
    const QByteArray before = fileBytes();
    menu("mnuEditModify");
    window->txtWName->setText("Renamed");
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
    EXPECT_EQ(window->lblWName->text(), "Renamed");

    // A new Vardeck that cannot be written is kept too, with its first visit; the failure is told once.
    clickFolder("T6");
    menu("mnuAddVardeck");
    typeInto(window->txtWName, "Unwritten");
    {
        FailingDisk disk;
        save();
    }
    EXPECT_EQ(prompts.messages().size(), 2u);
    EXPECT_EQ(doc()->nodeFromID("W4").childText("HITS"), "2");
    EXPECT_EQ(window->lbl(14)->text(), "2");

    // Closing asks; No keeps the window, Yes writes everything kept, and a disk that
    // still refuses asks once more before anything is lost.
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

} // namespace
