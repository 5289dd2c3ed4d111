// A settings file that cannot be read, as the window tells it at start.
#include "explorer/explorer.h"
#include "finding/ui/findingui.h"
#include "platform/paths.h"
#include "platform/registrystore.h"
#include "shell/frmvardecks.h"
#include "shell/mainmodule.h"
#include "storage/registryfunctions.h"
#include "storage/settingsstore.h"
#include "support/dbfixture.h"
#include "support/testenv.h"

#include <QDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

struct UnreadableSettings : ::testing::Test {
    void SetUp() override { paths::prepareProgramFolder(); }
    std::unique_ptr<frmVardecks> start()
    {
        auto made = std::make_unique<frmVardecks>();
        installExplorer(*made);
        installFinding(*made);
        Main(*made);
        return made;
    }
    QString userFile() const { return RegistryStore::instance().fileOf(reg::HKEY_CURRENT_USER); }
    test::TempHome home;
    test::ScriptedPrompts prompts;
};

} // namespace

TEST_F(UnreadableSettings, theWindowNamesTheCopyKeptAsideAndTheDatabaseThatOpensInsteadOfTheOneUsedLast)
{
    test::writeDatabase(paths::databaseFolder(), "Work.xml",
                        "<FOLDERS>" + test::folderXml("T1", "Work") + "</FOLDERS>");
    RegistryFunctions::WriteValue(reg::HKEY_CURRENT_USER, "Software\\Quorvane\\Vardecks\\", "currentDB", "Work.xml");
    // A settings file cut short as a full disk leaves it.
    const QByteArray whole = test::readBytes(userFile());
    ASSERT_TRUE(test::writeBytes(userFile(), whole.left(whole.size() / 2)));

    auto window = start();
    const QStringList aside = QDir(QFileInfo(userFile()).absolutePath()).entryList({"*.unreadable-*"}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    const QString keptAs = QFileInfo(userFile()).absolutePath() + "/" + aside.first();
    ASSERT_FALSE(prompts.messages().empty());
    const MessageRequest &told = prompts.messages().front();
    EXPECT_TRUE(told.text.startsWith("The settings file " + userFile() + " could not be read ("))
        << qPrintable(told.text);
    EXPECT_TRUE(told.text.endsWith(
        "). It was kept as " + keptAs +
        ", and the settings start from their defaults. The database opened now is Vardecks.xml; if you worked in "
        "another one, open it with File > Database > Open."))
        << qPrintable(told.text);
    EXPECT_EQ(told.icon, MsgIcon::Exclamation);
    EXPECT_EQ(test::readBytes(keptAs), whole.left(whole.size() / 2)) << "kept whole";
    EXPECT_EQ(window->dbXML.name(), "Vardecks.xml");
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->isVisible(); }));
    EXPECT_TRUE(SettingsStore::takeErrorNotices().isEmpty()) << "told once";
}
