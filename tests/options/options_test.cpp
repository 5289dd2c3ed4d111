#include "options/prefsrules.h"
#include "options/startupentry.h"
#include "options/tipsupport.h"
#include "options/webstyle.h"
#include "optionsfixture.h"
#include "support/fakelauncher.h"
#include "support/testenv.h"

#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <gtest/gtest.h>

using namespace rr;
using Verdict = prefs::ListSize::Verdict;

namespace
{

// Shows the topic (the contents when ""); problem gets the notice of a failure.
bool display(const QString &file, const QString &topic, Notice *problem = nullptr)
{
    HTMLHelp help;
    help.CHMFile = file;
    help.HHTopicURL = topic;
    const bool shown = topic.isEmpty() ? help.HHDisplayContents() : help.HHDisplayTopicURL();
    if (problem)
        *problem = help.problem();
    EXPECT_EQ(shown, help.problem().isEmpty());
    return shown;
}

// A stylesheet shaped like the Web Aspect's: a lower-case link, the LINK naming the style, a second LINK.
QByteArray stylesheet(const char *css)
{
    return QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<xsl:stylesheet version=\"1.0\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\">\n"
                      "<xsl:template match=\"/\"><HTML><HEAD><link rel=\"icon\" href=\"a.ico\"/>\n"
                      "<LINK rel=\"stylesheet\" href=\"") +
           css +
           "\" type=\"text/css\"/><LINK rel=\"next\" href=\"VD_keep.css\"/></HEAD>"
           "<BODY>Caf\xc3\xa9 &amp; more</BODY></HTML></xsl:template>\n</xsl:stylesheet>\n";
}

} // namespace

TEST(TipTable, holdsFiftyTwoTipsInIdOrderAndTheNextFollowsTheStoredOne)
{
    QList<TipSupport> list;
    loadTips(list);
    loadTips(list); // a second load starts a new list
    ASSERT_EQ(list.size(), 52);
    QSet<QString> titles;
    for (int i = 0; i < list.size(); ++i) {
        const TipSupport &tip = list[i];
        EXPECT_EQ(tip.getTipId(), QString::number(i + 1));
        EXPECT_FALSE(tip.getTipShortText().isEmpty() || tip.getTipLongText().isEmpty()) << i + 1;
        EXPECT_FALSE(tip.getTipLongText().contains(QLatin1Char('\n'))) << i + 1;
        titles.insert(tip.getTipShortText());
    }
    EXPECT_EQ(titles.size(), 52);
    EXPECT_EQ(list[51].getTipShortText(), "Opening the first search result");
    EXPECT_EQ(list[0].getTipLongText(),
              "When creating a Vardeck bookmark, or retrieving one from a browser, the information about it remains "
              "editable until the Vardeck is saved.  To save the Vardeck click on the Save button on the toolbar, or "
              "use the keyboard shortcut CTRL-S.");

    // The next tip follows the stored one and starts again after the last or on anything else.
    EXPECT_EQ(nextTipPosition("0", 52), 1);
    EXPECT_EQ(nextTipPosition("51", 52), 52);
    for (const char *restart : {"", "52", "-1", "53", "99999999999", "3x", "2.5"})
        EXPECT_EQ(nextTipPosition(restart, 52), 1) << restart;
}

TEST(HelpPages, everyPageTheProgramNamesIsInContentsAndEveryLinkStaysInTheHelpFolderOrIsAWebAddress)
{
    QList<TipSupport> tips;
    loadTips(tips);
    QSet<QString> topics = {"Getting_started.htm", "Creating_Vardecks.htm", "Shortcut_Keys.htm"};
    for (const TipSupport &tip : tips)
        topics.insert(tip.getTipHelpURL());
    EXPECT_EQ(topics.size(), 36);
    const QDir folder(HTMLHelp::defaultHelpFile());
    const QString contents = QString::fromUtf8(test::readBytes(folder.filePath(HTMLHelp::contentsPage())));
    ASSERT_FALSE(contents.isEmpty());
    for (const QString &topic : topics) {
        EXPECT_TRUE(QFileInfo(folder.filePath(topic)).isFile()) << topic.toStdString();
        EXPECT_TRUE(contents.contains("href=\"" + topic + "\"")) << "not in the contents: " << topic.toStdString();
    }

    static const QRegularExpression attribute(QStringLiteral("\\b(?:href|src)\\s*=\\s*\"([^\"]*)\""),
                                              QRegularExpression::CaseInsensitiveOption);
    const QStringList pages = folder.entryList({"*.htm"}, QDir::Files);
    ASSERT_GE(pages.size(), 37);
    for (const QString &page : pages) {
        const QString html = QString::fromUtf8(test::readBytes(folder.filePath(page)));
        EXPECT_TRUE(html.contains("<title>")) << page.toStdString();
        for (auto it = attribute.globalMatch(html); it.hasNext();) {
            const QString link = it.next().captured(1);
            const QUrl url(link);
            if (url.scheme() == "https" || url.scheme() == "mailto")
                continue;
            EXPECT_TRUE(url.isRelative() && !link.startsWith('/') && !link.contains(".."))
                << page.toStdString() << ": " << link.toStdString();
            const QString target = url.path();
            EXPECT_TRUE(target.isEmpty() || QFileInfo(folder.filePath(target)).isFile())
                << page.toStdString() << " links to a missing " << link.toStdString();
        }
    }
}

TEST(HTMLHelp, opensPagesInTheViewerOrElseTheDesktopAndSaysWhatIsMissing)
{
    test::ScriptedPrompts prompts;
    test::FakeLauncher launcher;
    const QString file = HTMLHelp::defaultHelpFile();
    {
        test::RecordingViewer viewer;
        EXPECT_TRUE(display(file, "Getting_started.htm"));
        EXPECT_TRUE(display(file, ""));
        // A bare name is the installed help file.
        EXPECT_TRUE(display("Vardecks Help.chm", "Recent.htm"));
        EXPECT_EQ(viewer.pages, QStringList({"Getting_started.htm", "index.htm", "Recent.htm"}));
        EXPECT_EQ(viewer.folders, QStringList(3, file));

        QTemporaryDir dir;
        const QString gone = dir.path() + "/Gone Help.CHM";
        Notice problem;
        EXPECT_FALSE(display(gone, "", &problem));
        EXPECT_EQ(problem.title, "HTML Help Class");
        EXPECT_EQ(problem.icon, MsgIcon::Exclamation);
        EXPECT_EQ(problem.text, "The file " + gone +
                                    " does not exist.\nPlease make sure the correct path and file name have "
                                    "been specified.");
        EXPECT_FALSE(display(file, "../../etc/No_such_topic.htm", &problem));
        EXPECT_TRUE(problem.text.startsWith("The file " + file + "/No_such_topic.htm does not exist.\n"));
        EXPECT_FALSE(display("/tmp/readme.txt", "", &problem));
        EXPECT_EQ(problem.text, "/tmp/readme.txt is not a valid HTML Help file.");
        EXPECT_EQ(viewer.pages.size(), 3);
        EXPECT_TRUE(launcher.openedUrls().isEmpty());
        EXPECT_TRUE(prompts.messages().empty()) << "the window shows the problem";
    }
    EXPECT_TRUE(display(file, "Web_Aspect.htm"));
    ASSERT_EQ(launcher.openedUrls().size(), 1);
    EXPECT_TRUE(launcher.openedUrls()[0].endsWith("/Vardecks%20Help.chm/Web_Aspect.htm"));
}

TEST(OptionsRules, listSizesAreWholeNumbersFromOneToFiftyAndTheTablesMapBothWays)
{
    struct Case {
        const char *text;
        Verdict verdict;
        int value;
        const char *reset;
    };
    const Case cases[] = {
        {"15", Verdict::Ok, 15, ""},           {"50", Verdict::Ok, 50, ""},
        {"2.5", Verdict::Ok, 2, ""},           {"3.5", Verdict::Ok, 4, ""},
        {"0", Verdict::TooSmall, 0, "1"},      {"0.4", Verdict::TooSmall, 0, "1"},
        {"51", Verdict::TooLarge, 0, "50"},    {"99999999999999999999", Verdict::TooLarge, 0, "50"},
        {"", Verdict::NotANumber, 0, "15"},    {"&H10", Verdict::NotANumber, 0, "15"},
        {"1e3", Verdict::NotANumber, 0, "15"}, {"12abc", Verdict::NotANumber, 0, "15"},
    };
    for (const Case &c : cases) {
        const prefs::ListSize size = prefs::checkListSize(QLatin1String(c.text));
        EXPECT_EQ(size.verdict, c.verdict) << c.text;
        if (c.verdict == Verdict::Ok)
            EXPECT_EQ(size.value, c.value) << c.text;
        else
            EXPECT_EQ(size.resetText, QLatin1String(c.reset)) << c.text;
    }

    // The browser and style tables map both ways.
    EXPECT_EQ(prefs::browserTextForCode(""), "Desktop default browser");
    EXPECT_EQ(prefs::browserTextForCode("0"), "Desktop default browser");
    EXPECT_EQ(prefs::browserTextForCode("N6"), "Netscape v6 or later");
    EXPECT_EQ(prefs::browserTextForCode("XX"), "");
    EXPECT_EQ(prefs::browserCodeForText("Opera"), "Op");
    EXPECT_EQ(prefs::browserCodeForText(""), "");
    EXPECT_EQ(prefs::styleSheetForEntry("Comic"), "VD_comic.css");
    EXPECT_EQ(prefs::styleSheetForEntry("Vardecks default"), "VDStyle.css");
    EXPECT_EQ(prefs::styleSheetForEntry("Fancy"), "");

    QTemporaryDir dir;
    for (const char *name : {"a.xml", "B.XML", "notes.txt", "oddxml"})
        EXPECT_TRUE(test::writeBytes(dir.filePath(name), "x"));
    QStringList found = prefs::databaseFiles(dir.path());
    found.sort();
    EXPECT_EQ(found, QStringList({"B.XML", "a.xml", "oddxml"}));
}

TEST(StartupEntry, appearsAndDisappearsWithAQuotedExecLine)
{
    EXPECT_EQ(startupentry::execLine("/opt/My Apps/razuzezu-revidod"), "\"/opt/My Apps/razuzezu-revidod\" /startup");
    // '"' '$' '`' take a backslash in the quotes, '%' doubles, and the file's escaping doubles every backslash.
    EXPECT_EQ(startupentry::execLine("/x/a\"b$c`d%e\\f"), "\"/x/a\\\\\"b\\\\$c\\\\`d%%e\\\\\\\\f\" /startup");

    test::TempConfig config;
    const QString file = config.path() + "/autostart/razuzezu-revidod.desktop";
    EXPECT_EQ(startupentry::filePath(), file);
    QString error;
    ASSERT_TRUE(startupentry::setRunAtStartup(true, "/home/u/Razuzezu Revidod/bin/razuzezu-revidod", &error))
        << error.toStdString();
    const QByteArray text = test::readBytes(file);
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\nType=Application\nName=Razuzezu Revidod\n"));
    EXPECT_TRUE(text.contains("\nExec=\"/home/u/Razuzezu Revidod/bin/razuzezu-revidod\" /startup\n"));
    ASSERT_TRUE(startupentry::setRunAtStartup(true, "/usr/bin/razuzezu-revidod"));
    EXPECT_TRUE(test::readBytes(file).contains("\nExec=\"/usr/bin/razuzezu-revidod\" /startup\n"));
    EXPECT_TRUE(startupentry::setRunAtStartup(false, QString()));
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_TRUE(startupentry::setRunAtStartup(false, QString()));
}

TEST(WebStyle, rewritesTheFirstUpperCaseLinkOfEachStylesheetNamingAnotherStyleAndLeavesBrokenOnes)
{
    QTemporaryDir dir;
    const QStringList names = webstyle::stylesheetNames();
    ASSERT_EQ(names, QStringList({"VD.xsl", "VDAll.xsl", "VDFavs.xsl", "VDHits.xsl", "VDSearch.xsl"}));
    for (const QString &name : names)
        EXPECT_TRUE(test::writeBytes(dir.filePath(name), stylesheet("VDStyle.css")));
    EXPECT_TRUE(test::writeBytes(dir.filePath("VDHits.xsl"), stylesheet("VD_comic.css")));

    const webstyle::Result result = webstyle::changeWebStyle(dir.path(), "VD_comic.css");
    EXPECT_EQ(result.rewritten, QStringList({"VD.xsl", "VDAll.xsl", "VDFavs.xsl", "VDSearch.xsl"}));
    EXPECT_TRUE(result.failures.isEmpty()) << result.failures.join(' ').toStdString();
    for (const QString &name : names) {
        const QByteArray text = test::readBytes(dir.filePath(name));
        EXPECT_TRUE(text.contains("<LINK rel=\"stylesheet\" href=\"VD_comic.css\" type=\"text/css\"/>"))
            << name.toStdString();
        EXPECT_TRUE(text.contains("<LINK rel=\"next\" href=\"VD_keep.css\"/>"));
        EXPECT_TRUE(text.contains("<link rel=\"icon\" href=\"a.ico\"/>"));
        EXPECT_TRUE(text.contains("Caf\xc3\xa9 &amp; more"));
        EXPECT_FALSE(text.contains("VDStyle.css"));
    }
    // A stylesheet already naming the style is not written again.
    EXPECT_EQ(test::readBytes(dir.filePath("VDHits.xsl")), stylesheet("VD_comic.css"));
    EXPECT_TRUE(webstyle::changeWebStyle(dir.path(), "VD_comic.css").rewritten.isEmpty());

    // Broken, linkless and missing stylesheets are left as they are; the rest is done.
    const QByteArray broken = "<xsl:stylesheet><LINK rel=\"a\" href=\"VDStyle.css\">";
    const QByteArray lowerOnly = "<x><link rel=\"stylesheet\" href=\"VDStyle.css\"/></x>";
    const QByteArray oneAttribute = "<x><LINK href=\"VDStyle.css\"/></x>";
    EXPECT_TRUE(test::writeBytes(dir.filePath("VD.xsl"), broken));
    EXPECT_TRUE(test::writeBytes(dir.filePath("VDAll.xsl"), lowerOnly));
    EXPECT_TRUE(test::writeBytes(dir.filePath("VDFavs.xsl"), oneAttribute));
    QFile::remove(dir.filePath("VDSearch.xsl"));

    const webstyle::Result partly = webstyle::changeWebStyle(dir.path() + "/", "VD_plain.css");
    EXPECT_EQ(partly.rewritten, QStringList({"VDHits.xsl"}));
    ASSERT_EQ(partly.failures.size(), 3);
    EXPECT_TRUE(partly.failures[0].startsWith("VD.xsl: "));
    EXPECT_EQ(partly.failures[1], "VDAll.xsl: it has no LINK element");
    EXPECT_EQ(partly.failures[2], "VDFavs.xsl: its LINK element has no second attribute");
    EXPECT_EQ(test::readBytes(dir.filePath("VD.xsl")), broken);
    EXPECT_EQ(test::readBytes(dir.filePath("VDAll.xsl")), lowerOnly);
    EXPECT_EQ(test::readBytes(dir.filePath("VDFavs.xsl")), oneAttribute);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("VDSearch.xsl")));
}
