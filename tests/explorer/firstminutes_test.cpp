// A new user's first minutes in the program as it is put together: a database, a folder,
// a Vardeck added, changed and deleted, every step saved at once.
#include "editingfixture.h"

#include "app/assembly.h"
#include "dialogs/frmtopicdialog.h"
#include "platform/paths.h"
#include "shell/mainmodule.h"
#include "storage/registryfunctions.h"
#include "storage/ui/frmnew.h"

using namespace rr;
using namespace rr::test;

namespace
{

const QString kOptions = QStringLiteral("Software\\Quorvane\\Vardecks\\UserOptions\\");

TEST(FirstMinutes, createAFolderAndAVardeckChangeItAndDeleteIt)
{
    TempHome home;
    ScriptedPrompts prompts;
    appOptions() = UserOptions();
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
    ASSERT_TRUE(window.isVisible());
    auto menu = [&](const char *name) { window.menuItem(QLatin1String(name))->trigger(); };
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
            dialog->txtName->setText("Mine");
            dialog->cmdOK->click();
        },
        [&] { menu("mnuFileNew"); });
    EXPECT_EQ(currentDBName, "Mine.xml");

    // Its first folder.
    whileModal<frmTopicDialog>(
        [](frmTopicDialog *dialog) {
            dialog->txtTName->setText("Reading");
            dialog->cmdSave->click();
        },
        [&] { menu("mnuAddTopic"); });
    QTreeWidgetItem *reading = window.tvwTopics->findItems("Reading", Qt::MatchExactly | Qt::MatchRecursive).value(0);
    ASSERT_NE(reading, nullptr);
    window.tvwTopics->scrollToItem(reading);
    QTest::mouseClick(window.tvwTopics->viewport(), Qt::LeftButton, {},
                      window.tvwTopics->visualItemRect(reading).center());
    EXPECT_EQ(window.lblTName->text(), "Reading");

    // A Vardeck, saved with Ctrl+S.
    menu("mnuAddVardeck");
    typeInto(window.txtWName, "Tide tables");
    typeInto(window.txtAddress, "https://tides.example/harbour");
    typeInto(window.txtDescription, "High and low water for the harbour");
    typeInto(window.txtKeywords, "sea sailing");
    press(window.txtWName, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window.lblWName->text(), "Tide tables");
    EXPECT_EQ(saved("W1").childText("NAME"), "Tide tables");
    EXPECT_EQ(saved("W1").childText("HITS"), "2");
    EXPECT_EQ(saved("W1").childText("CREATED_DATE"), "05 Dec 2026");

    // Changed: typing into its notes starts the update.
    window.tabInfo->setTab(2);
    window.txtNotes->setFocus();
    QTest::keyClicks(window.txtNotes, "Spring tides on the 12th");
    EXPECT_EQ(window.txtMode->text(), "mod");
    window.txtWName->setText("Tide tables (harbour)");
    press(window.txtNotes, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(window.txtMode->text(), "");
    EXPECT_EQ(saved("W1").childText("NOTES"), "Spring tides on the 12th");
    EXPECT_EQ(saved("W1").childText("NAME"), "Tide tables (harbour)");
    window.tabInfo->setTab(0);

    // Deleted again.
    prompts.answer(MsgResult::Yes);
    menu("mnuEditDelete");
    EXPECT_EQ(window.lblWName->text(), "No Vardeck selected");
    EXPECT_EQ(window.lblTName->text(), "Reading");
    EXPECT_FALSE(saved("W1"));
    EXPECT_EQ(disk->getTheDOM()->countElements("FOLDER"), 1);

    // Only the new database's question and the deletion's were asked.
    EXPECT_EQ(prompts.messages().size(), 2u) << prompts.texts().join(" | ").toStdString();
    setEditingClock({});
    setVisitClock({});
    window.Form_Unload();
}

} // namespace
