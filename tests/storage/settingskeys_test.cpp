// Each setting is one value whatever spelling a settings file gives its name: read,
// and replaced under the spelling the file already has.
#include "storage/registryfunctions.h"
#include "storage/settingsstore.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace rr;
using namespace rr::RegistryFunctions;
using namespace rr::SettingsStore;
using rr::reg::HKEY_CURRENT_USER;

TEST(SettingsKeys, aValueSpelledOtherwiseInTheFileIsReadAndReplacedUnderItsOwnSpelling)
{
    const QString app = QString::fromLatin1(kAppKey);
    const SavedWindowValues saved{.indexTab = 2,
                                  .infoTab = 1,
                                  .viewTab = 1,
                                  .aspect = "Web",
                                  .width = 11000,
                                  .height = 8000,
                                  .left = 5,
                                  .top = 6,
                                  .splitter1 = 2000,
                                  .splitter2 = 6000,
                                  .maximised = false,
                                  .webAspectHtml = false};
    struct Case {
        const char *spelling; // as the file has it
        const char *text;     // its value in the file
        std::function<QString()> read;
        QString readBefore;
        QString storedAfter; // once the window's values are saved
    };
    const Case cases[] = {
        {"webAspectHtml", "True", [] { return QString(getWebAspectHtml() ? "yes" : "no"); }, "yes", "False"},
        {"WEBASPECTHTML", "True", [] { return QString(getWebAspectHtml() ? "yes" : "no"); }, "yes", "False"},
        {"FRMWIDTH", "9000", [] { return QString::number(getFrmWidthSetting()); }, "9000", "11000"},
        {"maximised", "True", [] { return getFrmMaximised(); }, "True", "False"},
        {"tabindex", "3", [] { return QString::number(getTabIndexSetting()); }, "3", "2"},
        {"aspect", "Explorer", [] { return getAspectSetting(); }, "Explorer", "Web"},
    };
    for (const Case &c : cases) {
        test::TempHome home;
        test::ScriptedPrompts prompts;
        WriteValue(HKEY_CURRENT_USER, app, c.spelling, QString::fromLatin1(c.text));
        EXPECT_EQ(c.read(), c.readBefore) << c.spelling;
        setSavedFormValues(saved);
        QStringList names;
        for (const QString &name : ValueNames(HKEY_CURRENT_USER, app)) {
            if (name.compare(QLatin1String(c.spelling), Qt::CaseInsensitive) == 0)
                names << name;
        }
        EXPECT_EQ(names, QStringList{c.spelling});
        EXPECT_EQ(QueryValue(HKEY_CURRENT_USER, app, c.spelling).toString(), c.storedAfter) << c.spelling;
        EXPECT_TRUE(prompts.messages().empty()) << c.spelling;
    }
}
