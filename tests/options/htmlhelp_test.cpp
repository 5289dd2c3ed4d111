#include "options/htmlhelp.h"
#include "support/fakelauncher.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace rr;

TEST(HTMLHelp, opensTheInstalledPagesAndSaysWhenOneIsMissing)
{
    test::ScriptedPrompts prompts;
    test::FakeLauncher launcher;
    for (const char *topic : {"Getting_started.htm", "Creating_Vardecks.htm", "Shortcut_Keys.htm"}) {
        HTMLHelp help;
        help.CHMFile = HTMLHelp::defaultHelpFile();
        help.HHTopicURL = QLatin1String(topic);
        EXPECT_TRUE(help.HHDisplayTopicURL()) << topic;
    }
    HTMLHelp contents;
    contents.CHMFile = HTMLHelp::defaultHelpFile();
    EXPECT_TRUE(contents.HHDisplayContents());
    ASSERT_EQ(launcher.openedUrls().size(), 4);
    EXPECT_TRUE(launcher.openedUrls().last().endsWith("/Vardecks%20Help.chm/index.htm"));
    EXPECT_TRUE(prompts.messages().empty());

    HTMLHelp missing;
    missing.CHMFile = HTMLHelp::defaultHelpFile();
    missing.HHTopicURL = "../../etc/No_such_topic.htm";
    EXPECT_FALSE(missing.HHDisplayTopicURL());
    ASSERT_EQ(prompts.messages().size(), 1u);
    EXPECT_EQ(prompts.messages()[0].title, "HTML Help Class");
    EXPECT_TRUE(prompts.lastText().startsWith("The file " + HTMLHelp::defaultHelpFile() + "/No_such_topic.htm"));
    EXPECT_TRUE(prompts.lastText().endsWith(" does not exist.\nPlease make sure the correct path and file name have "
                                            "been specified."));

    HTMLHelp notHelp;
    notHelp.CHMFile = "/tmp/readme.txt";
    EXPECT_FALSE(notHelp.HHDisplayContents());
    EXPECT_EQ(prompts.lastText(), "/tmp/readme.txt is not a valid HTML Help file.");
    EXPECT_EQ(launcher.openedUrls().size(), 4);
}
