// Local files behind an address are judged as the desktop's opener finds them: a
// file: address of any host, a closing "/" and "." steps all lead to the same file.
#include "media/urlsupport.h"
#include "support/fakelauncher.h"
#include "support/testenv.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace rr;

TEST(LocalFiles, aProgramOrLauncherIsRefusedInEveryFormTheOpenerTidiesAndDocumentsStillOpen)
{
    test::TempHome home;
    test::FakeLauncher launcher;
    const QString f = home.path() + "/files";
    const auto write = [&f](const char *name, const QByteArray &content, bool executable = false) {
        ASSERT_TRUE(test::writeBytes(f + "/" + name, content));
        if (executable)
            QFile::setPermissions(f + "/" + name, QFile::permissions(f + "/" + name) | QFileDevice::ExeOwner);
    };
    write("run.sh", "#!/bin/sh\necho hi\n", true);
    write("go?now", "#!/bin/sh\necho hi\n", true);
    write("app.desktop", "[Desktop Entry]\nExec=xterm\n");
    write("start.jnlp", "<jnlp href=\"start.jnlp\"></jnlp>\n");
    write("Tool.KDELNK", "[KDE Desktop Entry]\nExec=xterm\n");
    write("get.flatpakref", "[Flatpak Ref]\nName=x\n");
    write("paper.pdf", "%PDF-1.4\n");
    write("page.html", "<html><body>x</body></html>");
    write("sub/x.txt", "x");

    const QString refused[] = {
        "file://otherhost" + f + "/run.sh",
        "file://127.0.0.1" + f + "/run.sh",
        "file://[::1]" + f + "/run.sh",
        "file://" + f + "/run.sh/",
        "file://" + f + "/run.sh//",
        "file://" + f + "/run.sh/.",
        "file:///" + f + "/run.sh/",
        "file://" + f + "/./run.sh",
        "file://" + f + "/sub/../run.sh",
        "file://" + f + "/run.sh#top",
        "file://" + f + "/run.sh%2F",
        f + "/run.sh/",
        "file://" + f + "/go?now", // the opener keeps a "?" in a file's name
        "file://" + f + "/app.desktop/",
        "file://otherhost" + f + "/app.desktop",
        f + "//app.desktop/.",
        "file://" + f + "/start.jnlp",
        "file://" + f + "/Tool.KDELNK",
        f + "/get.flatpakref",
    };
    for (const QString &address : refused) {
        Notice refusal;
        EXPECT_FALSE(urlSupport::openInDefault(address, &refusal)) << address.toStdString();
        EXPECT_EQ(refusal.text, "The address " + address +
                                    " was not opened: it names a program, not a page or a "
                                    "document.");
    }
    EXPECT_TRUE(launcher.openedUrls().isEmpty());

    const QStringList opened = {"file://" + f + "/paper.pdf/", "file://otherhost" + f + "/page.html",
                                "file://" + f + "/./page.html", "file://" + f + "/sub/",
                                // To the opener a "?" is part of the name: no such file, and the page is none.
                                "file://" + f + "/page.html?x=1", "file://otherhost/nowhere/run.sh"};
    for (const QString &address : opened)
        EXPECT_TRUE(urlSupport::openInDefault(address)) << address.toStdString();
    EXPECT_EQ(launcher.openedUrls(), opened);
}
