#include "media/urlsupport.h"
#include "storage/registryfunctions.h"
#include "storage/settingsstore.h"
#include "storage/useroptions.h"
#include "support/fakelauncher.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QUrl>
#include <gtest/gtest.h>

using namespace rr;
using Result = urlSupport::OpenResult;

namespace
{

struct Case {
    const char *in;
    const char *out;
};

QString writeFile(const QString &path, const QByteArray &content, bool executable = false)
{
    EXPECT_TRUE(test::writeBytes(path, content));
    if (executable)
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
    return path;
}

void registerAppPath(const QString &exeName, const QString &path)
{
    RegistryFunctions::WriteValue(reg::HKEY_LOCAL_MACHINE,
                                  QLatin1String(SettingsStore::kAppPathsKey) + QLatin1Char('\\') + exeName, QString(),
                                  path);
}

QString failureText(const QString &address, const QString &browser)
{
    return "The address " + address + " could not be opened in " + browser +
           ".  Vardecks will use your default browser instead.";
}

// A temporary home, scripted prompts and a fake launcher, with the browser option set.
class Opening : public ::testing::Test
{
protected:
    void useBrowser(const QString &code) { appOptions().setDefaultBrowser(code); }
    void TearDown() override { appOptions().setDefaultBrowser(QString()); }

    test::TempHome home;
    test::ScriptedPrompts prompts;
    test::FakeLauncher launcher;
};

} // namespace

TEST(UrlSupport, homeUrlIsSchemeHostAndOneSlashAndTheDomainComesFromTheHost)
{
    const Case cases[] = {
        {"http://www.example.com", "http://www.example.com/"},
        {"HTTPS://a.example/x/y?z=1", "HTTPS://a.example/"},
        {"http://www.example.com/dir/page.html?q=a/b", "http://www.example.com/"},
        {"www.example.com/deep/page", "www.example.com/"},
        {"", "/"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(urlSupport::calculateHomeURL(c.in), QString(c.out)) << c.in;
    // The domain counts dots in the host only: not in the path or the query.
    const Case domains[] = {
        {"http://www.example.com/path/page", "example.com"},
        {"www.Example.com", "Example.com"},
        {"localhost", ""},
        {"http://www.a.com/x.y.html", "a.com"},
        {"http://a.com?v=1.2", "a.com"},
        {"http://localhost/x.html", ""},
    };
    for (const Case &c : domains)
        EXPECT_EQ(urlSupport::calcDomain(c.in), QString(c.out)) << c.in;
    urlSupport url;
    url.createURL("https://www.example.com/a/b");
    EXPECT_EQ(url.getFullURL(), "https://www.example.com/a/b");
    EXPECT_EQ(url.getHomeURL(), "https://www.example.com/");
    EXPECT_EQ(urlSupport::getVersion(), "Failed");
}

TEST(UrlSupport, addressTests)
{
    for (const char *valid : {"www.a.com", "WwW.a.com", "hTTp://a.com", "HttpS://a.com"})
        EXPECT_TRUE(urlSupport::isValidWWW(valid)) << valid;
    for (const char *invalid : {"ftp://a.com", "file:///home/x.html", "a.com", "ww", ""})
        EXPECT_FALSE(urlSupport::isValidWWW(invalid)) << invalid;

    EXPECT_TRUE(urlSupport::isSecure("http://a.com/?via=hTtPs"));
    EXPECT_FALSE(urlSupport::isSecure("http://a.com/http"));

    EXPECT_TRUE(isPDF("http://a.com/doc.PDF"));
    EXPECT_FALSE(isPDF("http://a.com/doc.pdfx"));
    EXPECT_FALSE(isPDF(""));
}

TEST_F(Opening, chosenBrowserGetsTheAddressAsItsOneArgumentAndARegisteredOneComesFirst)
{
    const QString address = "http://a.example/x y;touch /tmp/owned&z=$(id)";
    launcher.addProgram("firefox-esr", "/opt/ff/firefox-esr");
    launcher.addProgram("seamonkey", "/opt/sm/seamonkey");

    const std::pair<const char *, const char *> choices[] = {{"FF", "/opt/ff/firefox-esr"},
                                                             {"Moz", "/opt/sm/seamonkey"}};
    for (const auto &[code, program] : choices) {
        useBrowser(code);
        EXPECT_EQ(urlSupport::openInNewWindow(address), Result::Started) << code;
        ASSERT_FALSE(launcher.starts().empty());
        EXPECT_EQ(launcher.starts().back().program, program);
        EXPECT_EQ(launcher.starts().back().args, QStringList{address});
    }
    EXPECT_TRUE(prompts.messages().empty());
    EXPECT_TRUE(launcher.openedUrls().isEmpty());

    // A registered executable comes before the path.
    useBrowser("FF");
    const QString registered = writeFile(home.path() + "/myfirefox", "#!/bin/sh\n", true);
    registerAppPath("firefox.exe", registered);
    urlSupport::openInNewWindow("http://a.example/");
    EXPECT_EQ(launcher.starts().back().program, registered);

    // An entry that names no executable file is passed over.
    registerAppPath("firefox.exe", writeFile(home.path() + "/notes.txt", "x"));
    urlSupport::openInNewWindow("http://a.example/");
    EXPECT_EQ(launcher.starts().back().program, "/opt/ff/firefox-esr");
}

TEST_F(Opening, missingOrFailingBrowserTellsThenUsesTheDefault)
{
    const QString address = "http://a.example/page";
    // IE and Netscape have no build here; Firefox is not installed in this test.
    const std::pair<const char *, const char *> choices[] = {
        {"IE", "Internet Explorer"}, {"FF", "Firefox"}, {"N6", "Netscape v6 or later"}};
    for (const auto &[code, name] : choices) {
        prompts.clear();
        useBrowser(code);
        EXPECT_EQ(urlSupport::openInNewWindow(address), Result::FellBackToDefault) << code;
        ASSERT_EQ(prompts.messages().size(), 1u) << code;
        EXPECT_EQ(prompts.lastText(), failureText(address, name));
        EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Information);
        EXPECT_EQ(prompts.messages().back().title, "Razuzezu Revidod");
    }
    EXPECT_TRUE(launcher.starts().empty());
    EXPECT_EQ(launcher.openedUrls(), QStringList(3, address));

    // Found but unable to start.
    launcher.addProgram("opera", "/opt/opera/opera");
    launcher.failStarts();
    useBrowser("Op");
    EXPECT_EQ(urlSupport::openInNewWindow(address), Result::FellBackToDefault);
    EXPECT_EQ(prompts.lastText(), failureText(address, "Opera"));
    EXPECT_EQ(launcher.openedUrls().size(), 4);
}

TEST_F(Opening, defaultBrowserCodesNeverAskAndUnknownCodesOpenNothing)
{
    for (const char *code : {"Win", "", "0"}) {
        useBrowser(code);
        EXPECT_EQ(urlSupport::openInNewWindow("http://a.example/"), Result::DefaultBrowser) << code;
    }
    // A bare "www." host would be taken for a file name by the desktop's opener.
    urlSupport::openInNewWindow("www.a.example/x");
    EXPECT_EQ(launcher.openedUrls(),
              QStringList({"http://a.example/", "http://a.example/", "http://a.example/", "http://www.a.example/x"}));

    for (const char *code : {"ff", "Chrome", "win"}) {
        useBrowser(code);
        EXPECT_EQ(urlSupport::openInNewWindow("http://a.example/"), Result::UnknownBrowser) << code;
    }
    EXPECT_EQ(launcher.openedUrls().size(), 4);
    EXPECT_TRUE(launcher.starts().empty());
    EXPECT_TRUE(prompts.messages().empty());
}

TEST_F(Opening, addressesThatCouldStartAProgramAreRefusedAndLocalDocumentsOpen)
{
    launcher.addProgram("firefox", "/usr/bin/firefox");
    const QString script = writeFile(home.path() + "/run me.sh", "#!/bin/sh\necho hi\n", true);
    const QString launcherFile = writeFile(home.path() + "/app.desktop", "[Desktop Entry]\nExec=xterm\n");
    const QString hostile[] = {
        "-P evil",
        "  --new-instance",
        "file://" + script,
        QUrl::fromLocalFile(script).toString(QUrl::FullyEncoded),
        script,
        QUrl::fromLocalFile(launcherFile).toString(),
        QUrl::fromLocalFile(QCoreApplication::applicationFilePath()).toString(),
    };
    for (const char *code : {"FF", "Win"}) {
        useBrowser(code);
        for (const QString &address : hostile) {
            prompts.clear();
            EXPECT_EQ(urlSupport::openInNewWindow(address), Result::Refused) << code << " " << address.toStdString();
            ASSERT_EQ(prompts.messages().size(), 1u);
            EXPECT_TRUE(prompts.lastText().startsWith("The address " + address + " was not opened: "));
            EXPECT_EQ(prompts.messages().back().icon, MsgIcon::Exclamation);
        }
    }
    urlSupport::openInDefault("-x");
    EXPECT_TRUE(launcher.starts().empty());
    EXPECT_TRUE(launcher.openedUrls().isEmpty());

    // Local documents still open, also with the execute bit.
    useBrowser("FF");
    prompts.clear();
    const QString pdf = writeFile(home.path() + "/paper.pdf", "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n");
    // Files on some mounted disks all carry it.
    const QString pdfOnDisk = writeFile(home.path() + "/scan.pdf", "%PDF-1.4\n", true);
    const QString page = writeFile(home.path() + "/page.html", "<html><body>x</body></html>");
    for (const QString &address :
         QStringList{QUrl::fromLocalFile(pdf).toString(), QUrl::fromLocalFile(pdfOnDisk).toString(), page,
                     QUrl::fromLocalFile(home.path()).toString()}) {
        EXPECT_EQ(urlSupport::openInNewWindow(address), Result::Started) << address.toStdString();
        EXPECT_EQ(launcher.starts().back().args, QStringList{address});
    }
    EXPECT_TRUE(prompts.messages().empty());
}
