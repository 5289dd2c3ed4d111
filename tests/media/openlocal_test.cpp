// Local files behind an address are judged as the desktop's opener finds them: a
// file: address of any host, a closing "/" and "." steps all lead to the same file.
#include "media/urlsupport.h"
#include "support/fakelauncher.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QUrl>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

class LocalFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        folder = home.path() + "/files";
        ASSERT_TRUE(QDir().mkpath(folder));
        write("run.sh", "#!/bin/sh\necho hi\n", true);
        write("app.desktop", "[Desktop Entry]\nType=Application\nExec=xterm\n");
        write("start.jnlp", "<?xml version=\"1.0\"?>\n<jnlp href=\"start.jnlp\"></jnlp>\n");
        write("Tool.KDELNK", "[KDE Desktop Entry]\nExec=xterm\n");
        write("get.flatpakref", "[Flatpak Ref]\nName=x\n");
        write("go?now", "#!/bin/sh\necho hi\n", true);
        write("paper.pdf", "%PDF-1.4\n");
        write("page.html", "<html><body>x</body></html>");
        ASSERT_TRUE(QDir().mkpath(folder + "/sub"));
    }

    void write(const QString &name, const QByteArray &content, bool executable = false)
    {
        const QString path = folder + "/" + name;
        ASSERT_TRUE(test::writeBytes(path, content));
        if (executable)
            QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner);
    }

    test::TempHome home;
    test::FakeLauncher launcher;
    QString folder;
};

TEST_F(LocalFiles, aProgramIsRefusedWhateverHostOrClosingStepsTheAddressGivesIt)
{
    const QString f = folder;
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
        "file://" + f + "/app.desktop/",
        "file://otherhost" + f + "/app.desktop",
        "file://" + f + "/run.sh%2F",
        // The opener keeps a "?" in a file's name.
        "file://" + f + "/go?now",
        f + "/run.sh/",
        f + "//app.desktop/.",
    };
    for (const QString &address : refused) {
        Notice refusal;
        EXPECT_FALSE(urlSupport::openInDefault(address, &refusal)) << address.toStdString();
        EXPECT_EQ(refusal.text, "The address " + address +
                                    " was not opened: it names a program, not a page or a "
                                    "document.");
    }
    EXPECT_TRUE(launcher.openedUrls().isEmpty());
}

TEST_F(LocalFiles, launchersAreRefusedByTheirNameWhateverTheyHold)
{
    const char *launchers[] = {"app.desktop", "start.jnlp", "Tool.KDELNK", "get.flatpakref"};
    for (const char *name : launchers) {
        const QString address = QUrl::fromLocalFile(folder + "/" + name).toString();
        QString reason;
        EXPECT_FALSE(urlSupport::isSafeToOpen(address, &reason)) << name;
        EXPECT_EQ(reason, "it names a program, not a page or a document") << name;
    }
    // A link to a launcher is one too, whatever its own name.
    ASSERT_TRUE(QFile::link(folder + "/start.jnlp", folder + "/notes.txt"));
    EXPECT_FALSE(urlSupport::isSafeToOpen(folder + "/notes.txt"));
}

TEST_F(LocalFiles, documentsAndFoldersStillOpenInTheFormsTheOpenerTidies)
{
    const QString f = folder;
    const QString opened[] = {
        "file://" + f + "/paper.pdf/",
        "file://otherhost" + f + "/page.html",
        "file://" + f + "/./page.html",
        "file://" + f + "/sub/",
        // To the opener a "?" is part of the name: no such file, and the page is none.
        "file://" + f + "/page.html?x=1",
        "file://otherhost/nowhere/run.sh",
    };
    for (const QString &address : opened)
        EXPECT_TRUE(urlSupport::openInDefault(address)) << address.toStdString();
    EXPECT_EQ(launcher.openedUrls(), QStringList(std::begin(opened), std::end(opened)));
}

} // namespace
