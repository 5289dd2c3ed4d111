#include "platform/paths.h"
#include "storage/lists.h"
#include "storage/registryfunctions.h"
#include "storage/settingsstore.h"
#include "storage/useroptions.h"
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
const QString kOptions = QString::fromLatin1(kUserOptionsKey);

QString stored(const QString &key, const QString &name)
{
    return RegistryFunctions::QueryValue(HKEY_CURRENT_USER, key, name).toString();
}

void store(const QString &key, const QString &name, const QString &text)
{
    RegistryFunctions::WriteValue(HKEY_CURRENT_USER, key, name, text);
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
    EXPECT_EQ(stored(kApp, "BasicApp"), "ok");
    for (const char *sub : {"Recent", "Search", "UserOptions"})
        EXPECT_NE(RegistryFunctions::OpenKey(HKEY_CURRENT_USER, kApp + sub), 0u) << sub;
    EXPECT_EQ(stored(kOptions, "iconView"), "False");
    // "true" as the first run writes it does not count as True.
    EXPECT_EQ(stored(kApp, "WebAspectHtml"), "true");
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
    EXPECT_EQ(stored(kApp, "ApplicationPath"), folder + "/Vardecks.exe");
    EXPECT_EQ(stored(kApp, "Version"), "3.0.1");
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(Settings, unreadableNumbersAreReportedAndGiveTheDefault)
{
    store(kApp, "frmWidth", "wide");
    EXPECT_EQ(getFrmWidthSetting(), 13000);
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.lastText(), "[13] Type mismatch");
    EXPECT_EQ(currentError(), RuntimeError::typeMismatch());

    store(kApp, "splitter1", "40000");
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

    EXPECT_EQ(stored(kApp, "frmWidth"), "32767");
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

    store(kRecent, "recent2_ID", "");
    EXPECT_EQ(loadRecentList(), QList<VDData>{list.at(0)});

    clearRecentList();
    EXPECT_TRUE(loadRecentList().isEmpty());
}

TEST_F(Settings, searchHistorySkipsGapsAndForgetsItsOldTail)
{
    store(kSearch, "search1", "first");
    store(kSearch, "search2", "");
    store(kSearch, "search3", "third");
    EXPECT_EQ(loadSearchList(), (QStringList{"first", "third"}));

    writeSearchList({"a", "b", "c", "d", "e"});
    // A value that other code put in the key is no search text and stays.
    store(kSearch, "searchOther", "kept");
    writeSearchList({"new", "older"});
    searchMax = 5;
    EXPECT_EQ(loadSearchList(), (QStringList{"new", "older"}));
    EXPECT_EQ(RegistryFunctions::ValueNames(HKEY_CURRENT_USER, kSearch),
              (QStringList{"search1", "search2", "searchOther"}));

    searchMax = 1;
    EXPECT_EQ(loadSearchList(), QStringList{"new"});
}

TEST_F(Settings, missingOrBadUserOptionsTakeTheirDefaultsAndTheFontSizeIsEight)
{
    UserOptions options;
    options.setFromRegistry();
    EXPECT_FALSE(options.getAutoSave());
    EXPECT_FALSE(options.getTipStartup());
    EXPECT_EQ(options.getRecentNo(), 0);
    EXPECT_EQ(options.getDefaultBrowser(), "");
    EXPECT_EQ(options.getDBToOpen(), "");
    EXPECT_EQ(options.getFontSize(), 8);

    options.saveToRegistry();
    EXPECT_EQ(stored(kOptions, "fontSize"), "8");
    EXPECT_EQ(stored(kOptions, "autoSave"), "False");
    EXPECT_EQ(stored(kOptions, "recentNo"), "0");
    EXPECT_EQ(RegistryFunctions::ValueNames(HKEY_CURRENT_USER, kOptions).size(), 21) << "every option is written";

    options.setFontSize(0);
    EXPECT_EQ(options.getFontSize(), 8);

    // A bad value takes its default and the others are still read.
    const QList<QPair<QString, QString>> bad = {{"autoSave", "maybe"},  {"recentNo", "99999"}, {"systemTray", "TRUE"},
                                                {"winFolders", "1"},    {"checkDup", "true"},  {"fontSize", "big"},
                                                {"tipStartup", "True"}, {"lastTip", "5"}};
    for (const auto &[name, text] : bad)
        store(kOptions, name, text);

    UserOptions o;
    o.setAutoSave(true);
    o.setFromRegistry();
    EXPECT_FALSE(o.getAutoSave());
    EXPECT_EQ(o.getRecentNo(), 0);
    EXPECT_EQ(o.getFontSize(), 8);
    EXPECT_TRUE(o.getSystemTray());
    EXPECT_TRUE(o.getWinFolders());
    EXPECT_TRUE(o.getCheckDup());
    EXPECT_TRUE(o.getTipStartup());
    EXPECT_EQ(o.getLastTip(), "5");

    // The next close writes sound values over the bad ones.
    o.saveToRegistry();
    EXPECT_EQ(stored(kOptions, "autoSave"), "False");
    EXPECT_EQ(stored(kOptions, "fontSize"), "8");
    EXPECT_EQ(stored(kOptions, "checkDup"), "True");
}

TEST_F(Settings, userOptionsSurviveASaveButDBToOpenGoesThroughCurrentDB)
{
    UserOptions saved;
    saved.setAutoSave(true);
    saved.setDefaultBrowser("FF");
    saved.setRecentNo(15);
    saved.setDBToOpen("Never.xml");
    saved.setFontSize(11);
    saved.setLastTip("17");
    saved.saveToRegistry();
    store(kApp, "currentDB", "Work.xml");

    UserOptions o;
    o.setFromRegistry();
    EXPECT_TRUE(o.getAutoSave());
    EXPECT_FALSE(o.getCheckDup());
    EXPECT_EQ(o.getDefaultBrowser(), "FF");
    EXPECT_EQ(o.getRecentNo(), 15);
    EXPECT_EQ(o.getFontSize(), 11);
    EXPECT_EQ(o.getLastTip(), "17");
    EXPECT_EQ(o.getDBToOpen(), "Work.xml");
}
