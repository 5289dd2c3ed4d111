#include "options/htmlhelp.h"
#include "options/tipsupport.h"

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

QString helpFolder()
{
    return HTMLHelp::defaultHelpFile();
}

QString readPage(const QString &name)
{
    QFile file(helpFolder() + "/" + name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList links(const QString &html)
{
    static const QRegularExpression attribute(QStringLiteral("\\b(?:href|src)\\s*=\\s*\"([^\"]*)\""),
                                              QRegularExpression::CaseInsensitiveOption);
    QStringList out;
    for (auto it = attribute.globalMatch(html); it.hasNext();)
        out << it.next().captured(1);
    return out;
}

} // namespace

TEST(HelpPages, everyPageTheProgramNamesIsInstalled)
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
        EXPECT_TRUE(QFileInfo(helpFolder() + "/" + topic).isFile()) << topic.toStdString();
        EXPECT_TRUE(contents.contains("href=\"" + topic + "\"")) << "not in the contents: " << topic.toStdString();
    }
}

TEST(HelpPages, everyLinkResolvesInsideTheHelpFolderOrIsAWebAddress)
{
    const QDir folder(helpFolder());
    const QStringList pages = folder.entryList({"*.htm"}, QDir::Files);
    ASSERT_GE(pages.size(), 37);
    for (const QString &page : pages) {
        const QString html = readPage(page);
        EXPECT_TRUE(html.contains("<title>")) << page.toStdString();
        for (const QString &link : links(html)) {
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
