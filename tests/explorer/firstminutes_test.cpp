// A new user's first minutes in the program as it is put together: a database of
// their own, a folder, a Vardeck added, changed and deleted; every step saved at once.
#include "app/assembly.h"
#include "controls/qbbuttons_h.h"
#include "dialogs/frmtopicdialog.h"
#include "explorer/nodetags.h"
#include "explorer/savevardeck.h"
#include "platform/paths.h"
#include "shell/frmvardecks.h"
#include "shell/mainmodule.h"
#include "shell/statuspanels.h"
#include "shell/tabstrip.h"
#include "storage/registryfunctions.h"
#include "storage/ui/frmnew.h"
#include "storage/useroptions.h"
#include "storage/vardeckmodule.h"
#include "storage/xmldatabase.h"
#include "support/testenv.h"
#include "web/ui/aspects.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

const QString kOptions = QStringLiteral("Software\\Quorvane\\Vardecks\\UserOptions\\");

template <typename T> void whileModal(const std::function<void(T *)> &drive, const std::function<void()> &action)
{
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        drive(dialog);
    });
    action();
}

void typeInto(QWidget *widget, const QString &text)
{
    widget->setFocus();
    QTest::keyClicks(widget, text);
}

void ctrlS(QWidget *widget)
{
    widget->setFocus();
    QTest::keyClick(widget, Qt::Key_S, Qt::ControlModifier);
    QCoreApplication::processEvents(); // the save runs once the key is delivered
}

QTreeWidgetItem *folderNamed(QTreeWidget *tree, const QString &name)
{
    const QList<QTreeWidgetItem *> found = tree->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.value(0);
}

TEST(FirstMinutes, createAFolderAndAVardeckChangeItAndDeleteIt)
{
    test::TempHome home;
    test::ScriptedPrompts prompts;
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

    // A database of one's own, opened at once.
    prompts.answer(MsgResult::Yes);
    whileModal<frmNew>(
        [](frmNew *dialog) {
            dialog->txtName->setText("Mine");
            dialog->cmdOK->click();
        },
        [&] { menu("mnuFileNew"); });
    EXPECT_EQ(currentDBName, "Mine.xml");
    const QString file = home.databaseFolder() + "Mine.xml";

    // Its first folder.
    whileModal<frmTopicDialog>(
        [](frmTopicDialog *dialog) {
            dialog->txtTName->setText("Reading");
            dialog->cmdSave->click();
        },
        [&] { menu("mnuAddTopic"); });
    QTreeWidgetItem *reading = folderNamed(window.tvwTopics, "Reading");
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
    ctrlS(window.txtWName);
    EXPECT_EQ(window.lblWName->text(), "Tide tables");
    {
        XMLDatabase disk;
        ASSERT_TRUE(disk.openDBValidate(file));
        const XmlNode saved = disk.getTheDOM()->nodeFromID("W1");
        EXPECT_EQ(saved.childText("NAME"), "Tide tables");
        EXPECT_EQ(saved.childText("HITS"), "2");
        EXPECT_EQ(saved.childText("CREATED_DATE"), "05 Dec 2026");
    }

    // Changed: typing into its notes starts the update.
    window.tabInfo->setTab(2);
    window.txtNotes->setFocus();
    QTest::keyClicks(window.txtNotes, "Spring tides on the 12th");
    EXPECT_EQ(window.txtMode->text(), "mod");
    window.txtWName->setText("Tide tables (harbour)");
    ctrlS(window.txtNotes);
    EXPECT_EQ(window.txtMode->text(), "");
    {
        XMLDatabase disk;
        ASSERT_TRUE(disk.openDBValidate(file));
        EXPECT_EQ(disk.getTheDOM()->nodeFromID("W1").childText("NOTES"), "Spring tides on the 12th");
        EXPECT_EQ(disk.getTheDOM()->nodeFromID("W1").childText("NAME"), "Tide tables (harbour)");
    }
    window.tabInfo->setTab(0);

    // Deleted again.
    prompts.answer(MsgResult::Yes);
    menu("mnuEditDelete");
    EXPECT_EQ(prompts.lastText(), "Are you sure you wish to delete Tide tables (harbour)?");
    EXPECT_EQ(window.lblWName->text(), "No Vardeck selected");
    EXPECT_EQ(window.lblTName->text(), "Reading");
    {
        XMLDatabase disk;
        ASSERT_TRUE(disk.openDBValidate(file));
        EXPECT_EQ(disk.getTheDOM()->countElements("VARDECK"), 0);
        EXPECT_EQ(disk.getTheDOM()->countElements("FOLDER"), 1);
    }

    // Nothing but the two questions and the question of the new database was asked.
    EXPECT_EQ(prompts.messages().size(), 2u) << prompts.texts().join(" | ").toStdString();
    setEditingClock({});
    setVisitClock({});
    window.Form_Unload();
}

} // namespace
