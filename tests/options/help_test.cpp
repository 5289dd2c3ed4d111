#include "options/tipsupport.h"
#include "optionsfixture.h"
#include "support/fakelauncher.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

QString readPage(const QString &name)
{
    QFile file(HTMLHelp::defaultHelpFile() + "/" + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool display(const QString &file, const QString &topic)
{
    HTMLHelp help;
    help.CHMFile = file;
    help.HHTopicURL = topic;
    return topic.isEmpty() ? help.HHDisplayContents() : help.HHDisplayTopicURL();
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
    EXPECT_EQ(nextTipPosition("", 52), 1);
    EXPECT_EQ(nextTipPosition("0", 52), 1);
    EXPECT_EQ(nextTipPosition("1", 52), 2);
    EXPECT_EQ(nextTipPosition("51", 52), 52);
    EXPECT_EQ(nextTipPosition("52", 52), 1);
    for (const char *broken : {"-1", "53", "99999999999", "3x", "2.5"})
        EXPECT_EQ(nextTipPosition(broken, 52), 1) << broken;
}

TEST(HelpPages, everyPageTheProgramNamesIsInstalledAndListedInTheContents)
{
    QList<TipSupport> tips;
    loadTips(tips);
    QSet<QString> topics = {"Getting_started.htm", "Creating_Vardecks.htm", "Shortcut_Keys.htm"};
    for (const TipSupport &tip : tips)
        topics.insert(tip.getTipHelpURL());
    EXPECT_EQ(topics.size(), 36);
    const QString contents = readPage(HTMLHelp::contentsPage());
    ASSERT_FALSE(contents.isEmpty());
    for (const QString &topic : topics) {
        EXPECT_TRUE(QFileInfo(HTMLHelp::defaultHelpFile() + "/" + topic).isFile()) << topic.toStdString();
        EXPECT_TRUE(contents.contains("href=\"" + topic + "\"")) << "not in the contents: " << topic.toStdString();
    }
}

TEST(HelpPages, everyLinkResolvesInsideTheHelpFolderOrIsAWebAddress)
{
    static const QRegularExpression attribute(QStringLiteral("\\b(?:href|src)\\s*=\\s*\"([^\"]*)\""),
                                              QRegularExpression::CaseInsensitiveOption);
    const QDir folder(HTMLHelp::defaultHelpFile());
    const QStringList pages = folder.entryList({"*.htm"}, QDir::Files);
    ASSERT_GE(pages.size(), 37);
    for (const QString &page : pages) {
        const QString html = readPage(page);
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

TEST(HTMLHelp, opensPagesInTheViewerOrElseTheDesktopAndWarnsAboutWhatIsMissing)
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
        EXPECT_EQ(viewer.pages.size(), 3);
        EXPECT_TRUE(launcher.openedUrls().isEmpty());
    }
    EXPECT_TRUE(display(file, "Web_Aspect.htm"));
    ASSERT_EQ(launcher.openedUrls().size(), 1);
    EXPECT_TRUE(launcher.openedUrls()[0].endsWith("/Vardecks%20Help.chm/Web_Aspect.htm"));
}
