#include "options/htmlhelp.h"
#include "support/fakelauncher.h"
#include "support/testenv.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

class RecordingViewer final : public HelpViewer
{
public:
    RecordingViewer() { helpviewer::install(this); }
    ~RecordingViewer() override { helpviewer::install(nullptr); }
    bool showHelpPage(const QString &helpFolder, const QString &page) override
    {
        shown << helpFolder + " | " + page;
        return true;
    }
    QStringList shown;
};

bool display(const QString &file, const QString &topic)
{
    HTMLHelp help;
    help.CHMFile = file;
    help.HHTopicURL = topic;
    return topic.isEmpty() ? help.HHDisplayContents() : help.HHDisplayTopicURL();
}

} // namespace

TEST(HTMLHelp, opensPagesInTheViewerOrElseTheDesktopAndWarnsAboutWhatIsMissing)
{
    test::ScriptedPrompts prompts;
    test::FakeLauncher launcher;
    const QString file = HTMLHelp::defaultHelpFile();
    {
        RecordingViewer viewer;
        EXPECT_TRUE(display(file, "Getting_started.htm"));
        EXPECT_TRUE(display(file, ""));
        // A bare name is the installed help file.
        EXPECT_TRUE(display("Vardecks Help.chm", "Recent.htm"));
        EXPECT_EQ(viewer.shown,
                  QStringList({file + " | Getting_started.htm", file + " | index.htm", file + " | Recent.htm"}));
        EXPECT_TRUE(prompts.messages().empty());

        QTemporaryDir dir;
        const QString gone = dir.path() + "/Gone Help.CHM";
        EXPECT_FALSE(display(gone, ""));
        ASSERT_EQ(prompts.messages().size(), 1u);
        EXPECT_EQ(prompts.messages()[0].title, "HTML Help Class");
        EXPECT_EQ(prompts.messages()[0].icon, MsgIcon::Exclamation);
        EXPECT_EQ(prompts.lastText(), "The file " + gone +
                                          " does not exist.\nPlease make sure the correct path and file name have "
                                          "been specified.");
        EXPECT_FALSE(display(file, "../../etc/No_such_topic.htm"));
        EXPECT_TRUE(prompts.lastText().startsWith("The file " + file + "/No_such_topic.htm does not exist.\n"));
        EXPECT_FALSE(display("/tmp/readme.txt", ""));
        EXPECT_EQ(prompts.lastText(), "/tmp/readme.txt is not a valid HTML Help file.");
        EXPECT_EQ(viewer.shown.size(), 3);
        EXPECT_TRUE(launcher.openedUrls().isEmpty());
    }
    EXPECT_TRUE(display(file, "Web_Aspect.htm"));
    ASSERT_EQ(launcher.openedUrls().size(), 1);
    EXPECT_TRUE(launcher.openedUrls()[0].endsWith("/Vardecks%20Help.chm/Web_Aspect.htm"));
}
