#include "platform/mail.h"
#include "support/fakelauncher.h"
#include "support/testenv.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

using namespace rr;

TEST(Mail, withoutAMailProgramAMailtoAddressOpensAndTheUserIsToldToAttach)
{
    test::ScriptedPrompts prompts;
    EXPECT_EQ(mailtoAddress("a@b", "x&y=z", "a?b"), "mailto:a@b?subject=x%26y%3Dz&body=a%3Fb");
    test::FakeLauncher launcher; // no xdg-email
    EXPECT_TRUE(SendMAPIMail("support@quorvane.example", false, "", "Razuzezu Revidod support request", "", ""));
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_TRUE(SendMAPIMail("", true, "", "Favorite Vardecks", "", "/data/Vardecks.htm"));
    EXPECT_EQ(launcher.openedUrls(),
              QStringList({"mailto:support@quorvane.example?subject=Razuzezu%20Revidod%20support%20request",
                           "mailto:?subject=Favorite%20Vardecks"}));
    EXPECT_EQ(prompts.lastText(), "Your mail program was started without the attachment.  Please attach the file "
                                  "/data/Vardecks.htm to the message.");

    launcher.addProgram("xdg-email", "/usr/bin/xdg-email");
    launcher.failStarts();
    EXPECT_FALSE(SendMAPIMail("a@b", false, "", "s", "", "/tmp/x"));
    EXPECT_EQ(prompts.lastText(), "There was an error logging in to e-mail messaging program.");
}

TEST(Mail, aMailProgramFirstOnThePathReceivesEachFieldAsItsOwnArgument)
{
    test::ScriptedPrompts prompts;
    QTemporaryDir bin;
    const QString received = bin.filePath("received");
    QFile script(bin.filePath("xdg-email"));
    ASSERT_TRUE(test::writeBytes(script.fileName(), "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\0' \"$a\"; done > "
                                                    "\"$0.out\"\nmv \"$0.out\" \"" +
                                                        received.toUtf8() + "\"\n"));
    script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8() + ":" + path);

    EXPECT_TRUE(SendMAPIMail("support@quorvane.example", true, "", "A & B; $(rm -rf)", "two\nlines; $(x) 'q'",
                             "/tmp/Vardecks listing.htm"));
    qputenv("PATH", path);
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(received) && timer.elapsed() < 10000)
        QThread::msleep(20);
    QList<QByteArray> args = test::readBytes(received).split('\0');
    args.removeLast();
    EXPECT_EQ(args, QList<QByteArray>({"--utf8", "--subject", "A & B; $(rm -rf)", "--body", "two\nlines; $(x) 'q'",
                                       "--attach", "/tmp/Vardecks listing.htm", "support@quorvane.example"}));
    EXPECT_TRUE(prompts.messages().empty());
}
