#include "platform/mail.h"
#include "support/fakelauncher.h"
#include "support/testenv.h"

#include <gtest/gtest.h>

using namespace rr;

TEST(Mail, fieldsTravelAsSeparateArgumentsOrEncodedInAMailtoAddress)
{
    test::ScriptedPrompts prompts;
    {
        test::FakeLauncher launcher;
        launcher.addProgram("xdg-email", "/usr/bin/xdg-email");
        EXPECT_TRUE(SendMAPIMail("support@quorvane.example", false, "", "A & B; $(rm -rf)", "line1\nline2",
                                 "/tmp/Vardecks.htm"));
        ASSERT_EQ(launcher.starts().size(), 1u);
        EXPECT_EQ(launcher.starts()[0].program, "/usr/bin/xdg-email");
        EXPECT_EQ(launcher.starts()[0].args,
                  QStringList({"--utf8", "--subject", "A & B; $(rm -rf)", "--body", "line1\nline2", "--attach",
                               "/tmp/Vardecks.htm", "support@quorvane.example"}));
    }
    {
        test::FakeLauncher launcher;  // no xdg-email
        EXPECT_TRUE(SendMAPIMail("support@quorvane.example", false, "", "Razuzezu Revidod support request", "", ""));
        ASSERT_EQ(launcher.openedUrls().size(), 1);
        EXPECT_EQ(launcher.openedUrls()[0], "mailto:support@quorvane.example?subject=Razuzezu%20Revidod%20support%20request");
    }
    EXPECT_EQ(mailtoAddress("a@b", "x&y=z", "a?b"), "mailto:a@b?subject=x%26y%3Dz&body=a%3Fb");
    {
        test::FakeLauncher launcher;
        launcher.addProgram("xdg-email", "/usr/bin/xdg-email");
        launcher.failStarts();
        EXPECT_FALSE(SendMAPIMail("a@b", false, "", "s", "", "/tmp/x"));
        EXPECT_EQ(prompts.lastText(), "There was an error logging in to e-mail messaging program.");
    }
}
