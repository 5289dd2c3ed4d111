// What the windows show for the core's reasons: opening addresses (a refused address, a
// browser that would not start) and the help file's problems.
#include "options/htmlhelp.h"
#include "platform/launcher.h"
#include "shell/helpmenu.h"
#include "shell/openaddress.h"
#include "storage/useroptions.h"
#include "support/fakelauncher.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace rr;
using Result = urlSupport::OpenResult;

namespace
{

// Records each message with how many addresses had gone to the default browser by then.
class OrderedPrompts final : public PromptHandler
{
public:
    explicit OrderedPrompts(const test::FakeLauncher &launcher) : m_launcher(launcher) { prompt::install(this); }
    ~OrderedPrompts() override { prompt::install(nullptr); }
    MsgResult message(const MessageRequest &request) override
    {
        messages.push_back(request);
        openedBefore.push_back(m_launcher.openedUrls().size());
        return request.defaultButton;
    }
    QString file(const FileRequest &) override { return {}; }
    QString input(const InputRequest &, bool *ok) override
    {
        *ok = false;
        return {};
    }

    std::vector<MessageRequest> messages;
    std::vector<qsizetype> openedBefore;

private:
    const test::FakeLauncher &m_launcher;
};

struct OpenAddress : ::testing::Test {
    test::TempHome home;
    test::FakeLauncher launcher;
    OrderedPrompts prompts{launcher};
};

} // namespace

TEST_F(OpenAddress, aBrowserThatWouldNotStartIsToldBeforeTheDefaultBrowserOpensAndARefusalOpensNothing)
{
    appOptions().setDefaultBrowser("FF"); // not installed here
    EXPECT_EQ(openInBrowser("http://a.example/page"), Result::FellBackToDefault);
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "The address http://a.example/page could not be opened in Firefox.  Vardecks "
                                        "will use your default browser instead.");
    EXPECT_EQ(prompts.messages[0].icon, MsgIcon::Information);
    EXPECT_EQ(prompts.messages[0].title, "Razuzezu Revidod");
    EXPECT_EQ(prompts.openedBefore[0], 0) << "the user reads why before the default browser appears";
    EXPECT_EQ(launcher.openedUrls(), QStringList{"http://a.example/page"});

    // A refused address is told and goes nowhere, from either way of opening.
    EXPECT_EQ(openInBrowser("javascript:alert(1)"), Result::Refused);
    openInDefaultBrowser("-x");
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_EQ(prompts.messages[1].text,
              "The address javascript:alert(1) was not opened: it is not the address of a web page or a file.");
    EXPECT_EQ(prompts.messages[1].icon, MsgIcon::Exclamation);
    EXPECT_EQ(prompts.messages[2].text,
              "The address -x was not opened: it begins with \"-\", which a browser would read as an option.");
    EXPECT_EQ(launcher.openedUrls().size(), 1);
    EXPECT_TRUE(launcher.starts().empty());

    // The default browser chosen in the options says nothing.
    appOptions().setDefaultBrowser("Win");
    EXPECT_EQ(openInBrowser("http://a.example/"), Result::DefaultBrowser);
    EXPECT_EQ(prompts.messages.size(), 3u);
}

TEST_F(OpenAddress, aMissingHelpPageIsToldInTheHelpClassWarning)
{
    showHelpTopic("Getting_started.htm");
    EXPECT_TRUE(prompts.messages.empty());
    ASSERT_EQ(launcher.openedUrls().size(), 1);

    showHelpTopic("No_such_topic.htm");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "The file " + HTMLHelp::defaultHelpFile() +
                                            "/No_such_topic.htm does not exist.\nPlease make sure the correct path "
                                            "and file name have been specified.");
    EXPECT_EQ(prompts.messages[0].title, "HTML Help Class");
    EXPECT_EQ(prompts.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(launcher.openedUrls().size(), 1);
}

TEST(OpenerFailure, aDesktopOpenerThatFailsIsToldWithItsReasonOnceTheOpenHasReturned)
{
    test::TempHome home;
    test::ScriptedPrompts prompts;
    // The desktop's opener: a script on PATH in place of xdg-open, ending after a moment.
    QTemporaryDir bin;
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8() + ':' + path);
    const auto opener = [&](const QByteArray &ending) {
        ASSERT_TRUE(test::writeBytes(bin.filePath("xdg-open"), "#!/bin/sh\nsleep 0.1\n" + ending));
        QFile::setPermissions(bin.filePath("xdg-open"), QFile::ReadOwner | QFile::ExeOwner);
    };
    const auto toldWithin = [&](int ms) {
        QElapsedTimer clock;
        clock.start();
        while (prompts.messages().empty() && clock.elapsed() < ms)
            QTest::qWait(20);
        return !prompts.messages().empty();
    };
    tellOpenerFailures();
    appOptions().setDefaultBrowser("Win");

    // As xdg-open ends without a desktop: the programs it tried, then why it gave up.
    opener("echo \"/usr/bin/xdg-open: 882: www-browser: not found\" >&2\n"
           "echo \"xdg-open: no method available for opening '$1'\" >&2\nexit 3\n");
    EXPECT_EQ(openInBrowser(" https://a.example/x\n"), Result::DefaultBrowser);
    EXPECT_TRUE(prompts.messages().empty()) << "the window is not held up while the opener runs";
    ASSERT_TRUE(toldWithin(5000));
    EXPECT_EQ(prompts.lastText(), "The address https://a.example/x could not be opened: xdg-open: no method available "
                                  "for opening 'https://a.example/x'.");
    EXPECT_EQ(prompts.messages()[0].icon, MsgIcon::Exclamation);

    // Without a word from it, its exit status says why; an opener that ends well says nothing.
    prompts.clear();
    opener("exit 2\n");
    openInDefaultBrowser("file:///gone.html");
    ASSERT_TRUE(toldWithin(5000));
    EXPECT_EQ(prompts.lastText(), "The address file:///gone.html could not be opened: there is no such file.");
    prompts.clear();
    opener("exit 0\n");
    openInDefaultBrowser("file:///gone.html");
    EXPECT_FALSE(toldWithin(400));
    launcher::setOpenerFailureHandler({});
    qputenv("PATH", path);
}
