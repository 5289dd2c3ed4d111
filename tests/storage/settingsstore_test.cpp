#include "platform/paths.h"
#include "storage/regconvert.h"
#include "storage/registryfunctions.h"
#include "storage/session.h"
#include "storage/settingsstore.h"
#include "storage/useroptions.h"
#include "support/testenv.h"

#include <gtest/gtest.h>
#include <limits>

using namespace rr;
using namespace rr::RegistryFunctions;
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
    return QueryValue(HKEY_CURRENT_USER, key, name).toString();
}

void store(const QString &key, const QString &name, const QString &text)
{
    WriteValue(HKEY_CURRENT_USER, key, name, text);
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
    test::TempHome home;
    test::ScriptedPrompts prompts;
};

} // namespace

TEST(RegistryFunctions, textsAndNumbersRoundTripAndMissingOrForeignValuesAreEmptyVariants)
{
    test::TempHome home;
    ASSERT_EQ(WriteValue(HKEY_CURRENT_USER, kApp, "Aspect", "Web"), 0);
    ASSERT_EQ(WriteValue(HKEY_CURRENT_USER, kApp, "Blank", ""), 0);

    EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kApp, "aspect"), QVariant(QString("Web")));
    EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kApp, "Blank"), QVariant(QString(""))) << "valid and empty";

    EXPECT_FALSE(QueryValue(HKEY_CURRENT_USER, kApp, "NoSuchValue").isValid());
    EXPECT_FALSE(QueryValue(HKEY_CURRENT_USER, "No\\Such\\Key", "Aspect").isValid());

    // Values go by any spelling of their name.
    DeleteValue(HKEY_CURRENT_USER, kApp, "BLANK");
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, kApp), QStringList{"Aspect"});
    WriteValue(HKEY_CURRENT_USER, kApp + "Recent\\", "recent1_ID", "W1");
    DeleteKey(HKEY_CURRENT_USER, kApp + "Recent\\");
    EXPECT_EQ(OpenKey(HKEY_CURRENT_USER, kApp + "Recent"), 0u);

    // Numbers, and other types that write nothing but still report success.
    const Key key = CreateKey(HKEY_CURRENT_USER, kApp);
    ASSERT_NE(key, 0u);
    EXPECT_EQ(SetValueEx(key, "Five", reg::REG_DWORD, 5), 0);
    EXPECT_EQ(SetValueEx(key, "Minus", reg::REG_DWORD, "-2"), 0);
    EXPECT_EQ(SetValueEx(key, "Bool", reg::REG_SZ, true), 0);
    EXPECT_EQ(SetValueEx(key, "Other", reg::REG_BINARY, "x"), 0);

    const QVariant five = QueryValue(HKEY_CURRENT_USER, kApp, "five");
    EXPECT_EQ(five.typeId(), QMetaType::Int);
    EXPECT_EQ(five.toInt(), 5);
    EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kApp, "Minus").toInt(), -2);
    EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, kApp, "Bool").toString(), "True");
    EXPECT_FALSE(QueryValue(HKEY_CURRENT_USER, kApp, "Other").isValid());

    // A value of another type, as other programs may leave, reads as -1 and leaves the variant alone.
    RegistryStore::instance().setValue(key, "Binary", reg::Value::bytes(reg::REG_BINARY, "\x01\x02"));
    QVariant value = QStringLiteral("unchanged");
    EXPECT_EQ(QueryValueEx(key, "Binary", value), -1);
    EXPECT_EQ(value.toString(), "unchanged");
    EXPECT_NE(QueryValueEx(key, "Missing", value), 0);
    EXPECT_NE(QueryValueEx(0, "Binary", value), 0);
    EXPECT_EQ(value.toString(), "unchanged");
    CloseKey(key);
    EXPECT_FALSE(QueryValue(HKEY_CURRENT_USER, kApp, "Binary").isValid());
}

TEST(RegConvert, followsTheRuntimeConversions)
{
    RuntimeError error;
    for (const auto &[text, value] : {std::pair{" 2500 ", 2500}, {"2.5", 2}, {"3.5", 4}, {"-32768", -32768}})
        EXPECT_EQ(integerOf(text), value) << text;
    for (const auto &[text, refused] : {std::pair{"32768", RuntimeError::overflow()},
                                        {"12px", RuntimeError::typeMismatch()},
                                        {"", RuntimeError::typeMismatch()}}) {
        EXPECT_FALSE(integerOf(text, &error)) << text;
        EXPECT_EQ(error, refused) << text;
    }

    // Every bound of the 64-bit range, exactly, whether as text or as a number.
    constexpr qint64 kMax = std::numeric_limits<qint64>::max();
    constexpr qint64 kMin = std::numeric_limits<qint64>::min();
    EXPECT_EQ(wholeNumberOf("9223372036854775807", kMin, kMax), kMax);
    EXPECT_EQ(wholeNumberOf("-9223372036854775808", kMin, kMax), kMin);
    EXPECT_FALSE(wholeNumberOf("9223372036854775808", kMin, kMax, &error));
    EXPECT_EQ(error, RuntimeError::overflow());
    EXPECT_FALSE(wholeNumberOf(9223372036854775807.0, kMin, kMax));
    EXPECT_EQ(wholeNumberOf(-9223372036854775808.0, kMin, kMax), kMin);
    EXPECT_FALSE(wholeNumberOf("9223372036854775807", kMin, kMax - 1));
    EXPECT_EQ(wholeNumberOf("1e3", 0, 1000), 1000);

    for (const auto &[text, value] : {std::pair{"tRuE", true}, {"FALSE", false}, {"-1", true}, {"0", false}})
        EXPECT_EQ(booleanOf(text), value) << text;
    EXPECT_FALSE(booleanOf("yes", &error));
    EXPECT_EQ(error.description, "Type mismatch");

    EXPECT_EQ(textOf(false), "False");
    EXPECT_EQ(textOf(42), "42");
}

TEST_F(Settings, aFirstRunGivesEveryDefaultThenWritesItsEntriesAndTheWebAspectMarker)
{
    EXPECT_FALSE(isBasicAppRegistered());
    EXPECT_EQ(getFrmWidthSetting(), 13000);
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
        EXPECT_NE(OpenKey(HKEY_CURRENT_USER, kApp + sub), 0u) << sub;
    EXPECT_EQ(stored(kOptions, "iconView"), "False");
    // "true" as the first run writes it does not count as True.
    EXPECT_EQ(stored(kApp, "WebAspectHtml"), "true");
    EXPECT_FALSE(getWebAspectHtml());

    setSavedFormValues({.indexTab = 1,
                        .infoTab = 2,
                        .viewTab = 0,
                        .aspect = "Web",
                        .width = 12000,
                        .height = 9000,
                        .left = 10,
                        .top = 20,
                        .splitter1 = 2400,
                        .splitter2 = 5600,
                        .maximised = true,
                        .webAspectHtml = true});
    EXPECT_TRUE(getWebAspectHtml());
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, kApp).filter("webaspecthtml", Qt::CaseInsensitive),
              QStringList{"WebAspectHtml"});
    EXPECT_EQ(getTabIndexSetting(), 1);
    EXPECT_EQ(getAspectSetting(), "Web");
    EXPECT_EQ(getFrmTopSetting(), 20);
    EXPECT_EQ(getFrmMaximised(), "True");

    const QString folder = paths::programFolder();
    const QString entry = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\Vardecks.exe";
    EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, entry, "").toString(), folder + "/Vardecks.exe");
    EXPECT_EQ(QueryValue(HKEY_LOCAL_MACHINE, entry, "Path").toString(), folder);
    EXPECT_EQ(stored(kApp, "ApplicationPath"), folder + "/Vardecks.exe");
    EXPECT_EQ(stored(kApp, "Version"), "3.0.1");
    EXPECT_TRUE(prompts.messages().empty());
}

// The ports asked for open pages, as the setting and the environment name them.
TEST_F(Settings, debuggingPortsAddToTheUsualPortUpToEightInAllAndTheEnvironmentComesFirst)
{
    const QByteArray before = qgetenv("RAZUZEZU_DEVTOOLS_PORTS");
    qunsetenv("RAZUZEZU_DEVTOOLS_PORTS");
    const auto portsFor = [](const QString &setting) {
        store(kApp, "DevToolsPorts", setting);
        return getDevToolsPorts();
    };
    EXPECT_EQ(portsFor(""), QList<quint16>({9222}));
    // A second browser announced: the first one's port is still asked.
    EXPECT_EQ(portsFor("9223"), QList<quint16>({9222, 9223}));
    EXPECT_EQ(portsFor(" 9224,9222 x 70000 0 -5 9224\t9225 "), QList<quint16>({9222, 9224, 9225}));
    EXPECT_EQ(portsFor("9301 9302 9303 9304 9305 9306 9307 9308 9309"),
              QList<quint16>({9222, 9301, 9302, 9303, 9304, 9305, 9306, 9307}));

    // The environment is read instead of the setting; set and empty, it asks no port.
    qputenv("RAZUZEZU_DEVTOOLS_PORTS", "9400");
    EXPECT_EQ(getDevToolsPorts(), QList<quint16>({9222, 9400}));
    qputenv("RAZUZEZU_DEVTOOLS_PORTS", " ");
    EXPECT_TRUE(getDevToolsPorts().isEmpty());
    qputenv("RAZUZEZU_DEVTOOLS_PORTS", before);
}

TEST_F(Settings, unreadableNumbersAreKeptForTheWindowAndGiveTheDefault)
{
    store(kApp, "frmWidth", "wide");
    EXPECT_EQ(getFrmWidthSetting(), 13000);
    store(kApp, "splitter1", "40000");
    EXPECT_EQ(getSplitter1Setting(), 2500);
    EXPECT_TRUE(prompts.messages().empty());

    const Notices kept = takeErrorNotices();
    ASSERT_EQ(kept.size(), 2);
    EXPECT_EQ(kept[0].text, "[13] Type mismatch");
    EXPECT_EQ(kept[1].text, "[6] Overflow");
    EXPECT_EQ(kept[0].icon, MsgIcon::None);
    EXPECT_TRUE(kept[0].title.isEmpty()) << "the program's title";
    EXPECT_TRUE(takeErrorNotices().isEmpty()) << "each error is shown once";
}

TEST_F(Settings, wideScreenSizesAreClampedAndNothingElseIsLostAtClose)
{
    VDData opened = record("W7", "Seven", "http://seven.example/");
    // The order of the main window's close.
    setSavedFormValues(
        {.aspect = "Explorer", .width = 40000, .height = 8500, .left = -40000, .splitter1 = 2500, .splitter2 = 5500});
    const std::pair<FolderListColumn, int> widths[] = {
        {FolderListColumn::Name, 100},        {FolderListColumn::Address, 200}, {FolderListColumn::CreatedDate, 300},
        {FolderListColumn::LastVisited, 400}, {FolderListColumn::Hits, 500},    {FolderListColumn::Description, 70000}};
    for (const auto &[column, width] : widths)
        setColWidth(column, width);
    setMoreFormValues("Other.xml");
    for (int i = 1; i <= 7; ++i)
        setColWidthSearch(i, i);
    writeRecentList({opened});
    writeSearchList({"kiwi"});

    EXPECT_EQ(stored(kApp, "frmWidth"), "32767");
    EXPECT_EQ(getFrmLeftSetting(), -32768);
    EXPECT_EQ(getColWidth(FolderListColumn::Description), 32767);
    EXPECT_EQ(getColWidthSearch(7), 7);
    EXPECT_EQ(getCurrentDB(), "Other.xml");
    EXPECT_EQ(loadRecentList(), QList<VDData>{opened});
    EXPECT_EQ(loadSearchList(), QStringList{"kiwi"});

    setVDFormValues(50000, 7000, 1, 2);
    EXPECT_EQ(getFrmVDWidthSetting(), 50000);
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(Settings, recentListAndSearchHistoryRoundTripSkipGapsAndStopAtTheirMaximum)
{
    const QList<VDData> list = {record("W1", "One", "http://one.example/"),
                                record("W2", "Two", "http://two.example/", "Other.xml"),
                                record("W3", "Three", "http://three.example/")};
    writeRecentList(list);
    EXPECT_EQ(loadRecentList(), list); // every field, the database's name too

    // A shorter list replaces the key, so the old third record is gone.
    writeRecentList({list.at(0), list.at(1)});
    EXPECT_EQ(loadRecentList().size(), 2);
    writeRecentList(list);
    session().recentMax = 2;
    EXPECT_EQ(loadRecentList().size(), 2);

    store(kRecent, "recent2_ID", "");
    EXPECT_EQ(loadRecentList(), QList<VDData>{list.at(0)});

    clearRecentList();
    EXPECT_TRUE(loadRecentList().isEmpty());

    // The search history skips gaps too, and forgets its old tail.
    store(kSearch, "search1", "first");
    store(kSearch, "search2", "");
    store(kSearch, "search3", "third");
    EXPECT_EQ(loadSearchList(), (QStringList{"first", "third"}));

    writeSearchList({"a", "b", "c", "d", "e"});
    // A value that other code put in the key is no search text and stays.
    store(kSearch, "searchOther", "kept");
    writeSearchList({"new", "older"});
    session().searchMax = 5;
    EXPECT_EQ(loadSearchList(), (QStringList{"new", "older"}));
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, kSearch), (QStringList{"search1", "search2", "searchOther"}));

    session().searchMax = 1;
    EXPECT_EQ(loadSearchList(), QStringList{"new"});
}

TEST_F(Settings, missingOrBadUserOptionsTakeTheirDefaultsTheFontSizeIsEightAndSoundOnesSurviveASave)
{
    UserOptions options;
    options.setFromRegistry();
    EXPECT_FALSE(options.getAutoSave());
    EXPECT_EQ(options.getRecentNo(), 0);
    EXPECT_EQ(options.getDefaultBrowser(), "");
    EXPECT_EQ(options.getFontSize(), 8);

    options.saveToRegistry();
    EXPECT_EQ(ValueNames(HKEY_CURRENT_USER, kOptions).size(), 21) << "every option is written";

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

    // Sound values survive a save, but the database to open is the current one.
    o.setAutoSave(true);
    o.setCheckDup(false);
    o.setDefaultBrowser("FF");
    o.setRecentNo(15);
    o.setDBToOpen("Never.xml");
    o.setFontSize(11);
    o.setLastTip("17");
    o.saveToRegistry();
    store(kApp, "currentDB", "Work.xml");
    o = UserOptions();
    o.setFromRegistry();
    EXPECT_TRUE(o.getAutoSave());
    EXPECT_FALSE(o.getCheckDup());
    EXPECT_EQ(o.getDefaultBrowser(), "FF");
    EXPECT_EQ(o.getRecentNo(), 15);
    EXPECT_EQ(o.getFontSize(), 11);
    EXPECT_EQ(o.getLastTip(), "17");
    EXPECT_EQ(o.getDBToOpen(), "Work.xml");
}

TEST_F(Settings, eachListSizeIsSavedUnderItsOwnOption)
{
    UserOptions o;
    o.setRecentSearchNo(9);
    o.setRecentNo(7);
    o.saveToRegistry();
    EXPECT_EQ(stored(kOptions, "recentSearchNo"), "9");
    EXPECT_EQ(stored(kOptions, "recentNo"), "7");
    UserOptions back;
    back.setFromRegistry();
    EXPECT_EQ(back.getRecentSearchNo(), 9);
    EXPECT_EQ(back.getRecentNo(), 7);
}

// Every test starts with a fresh session, the user options included, and a session made
// while another lives hands that one back when it goes: the program's own session outlives
// each test's.
TEST(Session, aTestStartsFreshAndANestedSessionHandsBackTheOneItReplaced)
{
    EXPECT_TRUE(session().recentColl.isEmpty());
    EXPECT_EQ(session().recentMax, 15);
    EXPECT_EQ(session().currentAspectStyle, "VD.xsl");
    EXPECT_EQ(appOptions().getDBToOpen(), "");
    EXPECT_FALSE(appOptions().getAutoSave());
    session().currentAspectStyle = "Outer.xsl";
    appOptions().setDBToOpen("Outer.xml");
    {
        Session inner;
        EXPECT_EQ(&session(), &inner);
        EXPECT_EQ(&appOptions(), &inner.options);
        EXPECT_EQ(session().currentAspectStyle, "VD.xsl");
        EXPECT_EQ(appOptions().getDBToOpen(), "");
        session().currentAspectStyle = "Inner.xsl";
        appOptions().setDBToOpen("Inner.xml");
    }
    EXPECT_EQ(session().currentAspectStyle, "Outer.xsl");
    EXPECT_EQ(appOptions().getDBToOpen(), "Outer.xml");
    session().recentMax = 3;
    appOptions().setAutoSave(true);
}

TEST(Session, whatTheTestBeforeLeftIsGone)
{
    EXPECT_EQ(session().currentAspectStyle, "VD.xsl");
    EXPECT_EQ(session().recentMax, 15);
    EXPECT_EQ(appOptions().getDBToOpen(), "");
    EXPECT_FALSE(appOptions().getAutoSave());
}
