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

TEST(LocalFiles, anInstallerPackageIsRefusedLikeAProgramByItsNameOrByItsContent)
{
    test::TempHome home;
    test::FakeLauncher launcher;
    const QString f = home.path() + "/downloads";
    // By name, whatever the content; by content when the name says nothing.
    const struct {
        const char *name;
        QByteArray content;
    } packages[] = {
        {"tool_1.0_amd64.deb", "x"},
        {"tool-1.0.x86_64.RPM", "x"},
        {"tool-1.0.src.rpm", "x"},
        {"org.example.Tool.flatpak", "x"},
        {"tool_1.0.snap", "x"},
        {"Tool-x86_64.AppImage", "x"},
        {"tool.appimage", "x"},
        {"package", QByteArray("!<arch>\ndebian-binary   1342943816  0     0     100644  4         `\n2.0\n")},
        {"fetched", QByteArray("\xed\xab\xee\xdb\x03\x00\x00\x00", 8) + QByteArray(96, '\0')},
        {"bundle", QByteArray("flatpak\0\1\0\x89\xe5", 12) + QByteArray(64, 'x')},
    };
    for (const auto &package : packages) {
        const QString path = f + "/" + package.name;
        ASSERT_TRUE(test::writeBytes(path, package.content));
        for (const QString &address : {path, "file://" + path}) {
            Notice refusal;
            EXPECT_FALSE(urlSupport::openInDefault(address, &refusal)) << address.toStdString();
            EXPECT_EQ(refusal.text, "The address " + address +
                                        " was not opened: it names a program, not a page or a "
                                        "document.");
        }
    }
    EXPECT_TRUE(launcher.openedUrls().isEmpty());

    // A package's ending only counts at the end of the name.
    const QStringList documents = {f + "/notes.deb.txt", f + "/my.snapshot.html", f + "/rpm-guide.pdf"};
    for (const QString &path : documents)
        ASSERT_TRUE(test::writeBytes(path, "<html><body>x</body></html>"));
    for (const QString &path : documents)
        EXPECT_TRUE(urlSupport::openInDefault(path)) << path.toStdString();
    EXPECT_EQ(launcher.openedUrls(), documents);
}

TEST(LocalFiles, aLinkWithAHarmlessNameToALauncherOrAPackageIsRefusedHoweverTheAddressNamesIt)
{
    test::TempHome home;
    test::FakeLauncher launcher;
    const QString f = home.path() + "/files";
    // Their content starts with a long comment, so only their names tell what they are.
    const QByteArray comment(300, ' ');
    ASSERT_TRUE(test::writeBytes(f + "/real/start.jnlp", "<?xml version=\"1.0\"?>\n<!--" + comment +
                                                             "-->\n<jnlp href=\"start.jnlp\"></jnlp>\n"));
    ASSERT_TRUE(test::writeBytes(f + "/real/get.flatpakref", "#" + comment + "\n[Flatpak Ref]\nName=x\n"));
    ASSERT_TRUE(test::writeBytes(f + "/real/tool.deb", "x"));
    const struct {
        const char *link, *target;
    } links[] = {
        {"paper.pdf", "real/start.jnlp"}, {"page.html", "real/get.flatpakref"},
        {"photo.png", "real/tool.deb"},   {"notes.txt", "hop"}, // a chain of links
        {"hop", "real/start.jnlp"},
    };
    for (const auto &link : links)
        ASSERT_TRUE(QFile::link(link.target, f + "/" + link.link)) << link.link;

    QStringList refused;
    for (const char *name : {"paper.pdf", "page.html", "photo.png", "notes.txt"}) {
        const QString path = f + "/" + name;
        refused << path << "file://" + path << "file://otherhost" + path << "file://" + path + "/"
                << "file://" + path + "#top"
                << "file://" + f + "/real/../" + name;
    }
    for (const QString &address : refused) {
        Notice refusal;
        EXPECT_FALSE(urlSupport::openInDefault(address, &refusal)) << address.toStdString();
        EXPECT_EQ(refusal.text, "The address " + address +
                                    " was not opened: it names a program, not a page or a "
                                    "document.");
    }
    EXPECT_TRUE(launcher.openedUrls().isEmpty());

    // A link to a document opens.
    ASSERT_TRUE(test::writeBytes(f + "/real/report.pdf", "%PDF-1.4\n"));
    ASSERT_TRUE(QFile::link("real/report.pdf", f + "/report.pdf"));
    EXPECT_TRUE(urlSupport::openInDefault(f + "/report.pdf"));
    EXPECT_EQ(launcher.openedUrls(), QStringList{f + "/report.pdf"});
}
