#include "storage/registryfunctions.h"
#include "storage/settingsstore.h"
#include "storage/useroptions.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace rr;
using rr::reg::HKEY_CURRENT_USER;

namespace
{

const QString kOptions = QString::fromLatin1(SettingsStore::kUserOptionsKey);

void setOption(const QString &name, const QString &text)
{
    RegistryFunctions::WriteValue(HKEY_CURRENT_USER, kOptions, name, text);
}

QString option(const QString &name)
{
    return RegistryFunctions::QueryValue(HKEY_CURRENT_USER, kOptions, name).toString();
}

} // namespace

TEST(UserOptions, missingOrBadValuesTakeTheirDefaultsAndTheFontSizeIsEight)
{
    test::TempHome home;
    UserOptions options;
    options.setFromRegistry();
    EXPECT_FALSE(options.getAutoSave());
    EXPECT_FALSE(options.getTipStartup());
    EXPECT_EQ(options.getRecentNo(), 0);
    EXPECT_EQ(options.getDefaultBrowser(), "");
    EXPECT_EQ(options.getDBToOpen(), "");
    EXPECT_EQ(options.getFontSize(), 8);

    options.saveToRegistry();
    EXPECT_EQ(option("fontSize"), "8");
    EXPECT_EQ(option("autoSave"), "False");
    EXPECT_EQ(option("recentNo"), "0");
    EXPECT_EQ(RegistryFunctions::ValueNames(HKEY_CURRENT_USER, kOptions).size(), 21) << "every option is written";

    options.setFontSize(0);
    EXPECT_EQ(options.getFontSize(), 8);

    // A bad value takes its default and the others are still read.
    const QList<QPair<QString, QString>> stored = {
        {"autoSave", "maybe"}, {"recentNo", "99999"}, {"systemTray", "TRUE"}, {"winFolders", "1"},
        {"checkDup", "true"},  {"fontSize", "big"},   {"tipStartup", "True"}, {"lastTip", "5"}};
    for (const auto &[name, text] : stored)
        setOption(name, text);

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
    EXPECT_EQ(option("autoSave"), "False");
    EXPECT_EQ(option("fontSize"), "8");
    EXPECT_EQ(option("checkDup"), "True");
}

TEST(UserOptions, optionsSurviveASaveButDBToOpenGoesThroughCurrentDB)
{
    test::TempHome home;
    UserOptions saved;
    saved.setAutoSave(true);
    saved.setDefaultBrowser("FF");
    saved.setRecentNo(15);
    saved.setDBToOpen("Never.xml");
    saved.setFontSize(11);
    saved.setLastTip("17");
    saved.saveToRegistry();
    RegistryFunctions::WriteValue(HKEY_CURRENT_USER, QString::fromLatin1(SettingsStore::kAppKey), "currentDB",
                                  "Work.xml");

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
