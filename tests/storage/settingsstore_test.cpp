#include "platform/paths.h"
#include "storage/lists.h"
#include "storage/registryfunctions.h"
#include "storage/settingsstore.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace rr;
using namespace rr::SettingsStore;
using rr::reg::HKEY_CURRENT_USER;
using rr::reg::HKEY_LOCAL_MACHINE;

namespace
{

const QString kApp = QString::fromLatin1(kAppKey);
const QString kRecent = QString::fromLatin1(kRecentKey);
const QString kSearch = QString::fromLatin1(kSearchKey);

QString appValue(const QString &name)
{
    return RegistryFunctions::QueryValue(HKEY_CURRENT_USER, kApp, name).toString();
}

void setAppValue(const QString &name, const QString &text)
{
    RegistryFunctions::WriteValue(HKEY_CURRENT_USER, kApp, name, text);
}

VDData record(const QString &id, const QString &name, const QString &url, const QString &db = "Vardecks.xml")
{
    VDData r;
    r.loadDataFromReg(id, name, url, db);
    return r;
}

class Settings : public ::testing::Test
{
protected:
    void TearDown() override
    {
        recentMax = 15;
        searchMax = 15;
    }
    test::TempHome home;
    test::ScriptedPrompts prompts;
};

} // namespace

TEST_F(Settings, aFirstRunGivesEveryDefaultThenWritesItsEntriesAndTheWebAspectMarker)
{
    EXPECT_FALSE(isBasicAppRegistered());
    EXPECT_EQ(getFrmWidthSetting(), 13000);
    EXPECT_EQ(getSplitter1Setting(), 2500);
    EXPECT_EQ(getCurrentDB(), "Vardecks.xml");
    EXPECT_EQ(getAspectSetting(), "Explorer");
    EXPECT_FALSE(getWebAspectHtml());
    EXPECT_TRUE(loadRecentList().isEmpty());
    EXPECT_TRUE(loadSearchList().isEmpty());

    addBasicAppRegEntries();
    addDefaultFormValues(0, 0, 0, "Explorer", "VD.xsl", "true", false);
    setupAppPathInRegistry();
    setVersion();

    EXPECT_TRUE(isBasicAppRegistered());
    EXPECT_EQ(appValue("BasicApp"), "ok");
    for (const char *sub : {"Recent", "Search", "UserOptions"})
        EXPECT_NE(RegistryFunctions::OpenKey(HKEY_CURRENT_USER, kApp + sub), 0u) << sub;
    EXPECT_EQ(RegistryFunctions::QueryValue(HKEY_CURRENT_USER, kApp + "UserOptions\\", "iconView").toString(), "False");
    // "true" as the first run writes it does not count as True.
    EXPECT_EQ(appValue("WebAspectHtml"), "true");
    EXPECT_FALSE(getWebAspectHtml());

    setSavedFormValues(1, 2, 0, "Web", 12000, 9000, 10, 20, 2400, 5600, "True", "True");
    EXPECT_TRUE(getWebAspectHtml());
    EXPECT_EQ(RegistryFunctions::ValueNames(HKEY_CURRENT_USER, kApp).filter("webaspecthtml", Qt::CaseInsensitive),
              QStringList{"WebAspectHtml"});
    EXPECT_EQ(getTabIndexSetting(), 1);
    EXPECT_EQ(getAspectSetting(), "Web");
    EXPECT_EQ(getFrmTopSetting(), 20);
    EXPECT_EQ(getFrmMaximised(), "True");

    const QString folder = paths::programFolder();
    const QString entry = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Vardecks.exe";
    EXPECT_EQ(RegistryFunctions::QueryValue(HKEY_LOCAL_MACHINE, entry, "").toString(), folder + "/Vardecks.exe");
    EXPECT_EQ(RegistryFunctions::QueryValue(HKEY_LOCAL_MACHINE, entry, "Path").toString(), folder);
    EXPECT_EQ(appValue("ApplicationPath"), folder + "/Vardecks.exe");
    EXPECT_EQ(appValue("Version"), "3.0.1");
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(Settings, unreadableNumbersAreReportedAndGiveTheDefault)
{
    setAppValue("frmWidth", "wide");
    EXPECT_EQ(getFrmWidthSetting(), 13000);
    ASSERT_EQ(prompts.messages().size(), 1u);
    const MessageRequest &shown = prompts.messages().front();
    EXPECT_EQ(shown.text, "[13] Type mismatch");
    EXPECT_EQ(currentError(), RuntimeError::typeMismatch());

    setAppValue("splitter1", "40000");
    EXPECT_EQ(getSplitter1Setting(), 2500);
    EXPECT_EQ(prompts.lastText(), "[6] Overflow");

    setCurrentError(RuntimeError::overflow());
    EXPECT_EQ(ToString(), "[6] Overflow");
}

TEST_F(Settings, wideScreenSizesAreClampedAndNothingElseIsLostAtClose)
{
    VDData opened = record("W7", "Seven", "http://seven.example/");
    // The order of the main window's close.
    setSavedFormValues(0, 0, 0, "Explorer", 40000, 8500, -40000, 0, 2500, 5500, "False", "False");
    setMoreFormValues({100, 200, 300, 400, 500, 70000}, "Other.xml", {1, 2, 3, 4, 5, 6, 7});
    writeRecentList({opened});
    writeSearchList({"kiwi"});

    EXPECT_EQ(appValue("frmWidth"), "32767");
    EXPECT_EQ(getFrmWidthSetting(), 32767);
    EXPECT_EQ(getFrmLeftSetting(), -32768);
    EXPECT_EQ(getColWidth(6), 32767);
    EXPECT_EQ(getColWidthSearch(7), 7);
    EXPECT_EQ(getCurrentDB(), "Other.xml");
    EXPECT_EQ(loadRecentList(), QList<VDData>{opened});
    EXPECT_EQ(loadSearchList(), QStringList{"kiwi"});

    setVDFormValues(50000, 7000, 1, 2);
    EXPECT_EQ(getFrmVDWidthSetting(), 50000);
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(Settings, recentListRoundTripAndItsStops)
{
    const QList<VDData> list = {record("W1", "One", "http://one.example/"),
                                record("W2", "Two", "http://two.example/", "Other.xml"),
                                record("W3", "Three", "http://three.example/")};
    writeRecentList(list);
    const QList<VDData> loaded = loadRecentList();
    EXPECT_EQ(loaded, list);
    EXPECT_EQ(loaded.at(1).getDBName(), "Other.xml");
    EXPECT_EQ(loaded.at(2).getHits(), 0);

    recentMax = 2;
    EXPECT_EQ(loadRecentList().size(), 2);
    recentMax = 15;

    // A shorter list replaces the key, so the old third record is gone.
    writeRecentList({list.at(0), list.at(1)});
    EXPECT_EQ(loadRecentList().size(), 2);
    writeRecentList(list);

    RegistryFunctions::WriteValue(HKEY_CURRENT_USER, kRecent, "recent2_ID", "");
    EXPECT_EQ(loadRecentList(), QList<VDData>{list.at(0)});

    clearRecentList();
    EXPECT_TRUE(loadRecentList().isEmpty());
}

TEST_F(Settings, searchHistorySkipsGapsAndForgetsItsOldTail)
{
    RegistryFunctions::WriteValue(HKEY_CURRENT_USER, kSearch, "search1", "first");
    RegistryFunctions::WriteValue(HKEY_CURRENT_USER, kSearch, "search2", "");
    RegistryFunctions::WriteValue(HKEY_CURRENT_USER, kSearch, "search3", "third");
    EXPECT_EQ(loadSearchList(), (QStringList{"first", "third"}));

    writeSearchList({"a", "b", "c", "d", "e"});
    // A value that other code put in the key is no search text and stays.
    RegistryFunctions::WriteValue(HKEY_CURRENT_USER, kSearch, "searchOther", "kept");
    writeSearchList({"new", "older"});
    searchMax = 5;
    EXPECT_EQ(loadSearchList(), (QStringList{"new", "older"}));
    EXPECT_EQ(RegistryFunctions::ValueNames(HKEY_CURRENT_USER, kSearch),
              (QStringList{"search1", "search2", "searchOther"}));

    searchMax = 1;
    EXPECT_EQ(loadSearchList(), QStringList{"new"});
}
