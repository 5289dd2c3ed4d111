#include "options/htmlhelp.h"

#include "platform/launcher.h"
#include "platform/paths.h"
#include "platform/textutil.h"

#include <QFileInfo>
#include <QUrl>

namespace rr
{
namespace
{

HelpViewer *g_viewer = nullptr;

void setProblem(Notice *problem, const QString &text)
{
    if (problem)
        *problem = {text, MsgIcon::Exclamation, QStringLiteral("HTML Help Class")};
}

} // namespace

void helpviewer::install(HelpViewer *viewer)
{
    g_viewer = viewer;
}

HelpViewer *helpviewer::installed()
{
    return g_viewer;
}

QString HTMLHelp::defaultHelpFile()
{
    return paths::installedDataFolder() + QStringLiteral("/Vardecks Help.chm");
}

QString HTMLHelp::contentsPage()
{
    return QStringLiteral("index.htm");
}

bool HTMLHelp::isCHMFile(const QString &name, Notice *problem) const
{
    if (sameText(name.right(3), QLatin1String("chm")))
        return true;
    setProblem(problem, name + QStringLiteral(" is not a valid HTML Help file."));
    return false;
}

bool HTMLHelp::EnsureFileExists(QString &path, Notice *problem) const
{
    if (!path.contains(QLatin1Char('/')))
        path = paths::installedDataFolder() + QLatin1Char('/') + path;
    if (QFileInfo::exists(path))
        return true;
    setProblem(problem, QStringLiteral("The file ") + path + QStringLiteral(" does not exist.") + QChar(10) +
                            QStringLiteral("Please make sure the correct path and file name have been specified."));
    return false;
}

bool HTMLHelp::display(const QString &page)
{
    m_problem = {};
    if (!isCHMFile(CHMFile, &m_problem) || !EnsureFileExists(CHMFile, &m_problem))
        return false;
    // Only a plain page name of the help file is opened, never a path out of it.
    // An empty topic opens the help file's first page, its contents.
    const QString pageName = page.isEmpty() ? contentsPage() : QFileInfo(page).fileName();
    QString target = CHMFile + QLatin1Char('/') + pageName;
    if (!EnsureFileExists(target, &m_problem))
        return false;
    if (HelpViewer *viewer = helpviewer::installed())
        return viewer->showHelpPage(CHMFile, pageName);
    return launcher::installed().openUrl(QString::fromUtf8(QUrl::fromLocalFile(target).toEncoded()));
}

bool HTMLHelp::HHDisplayTopicURL()
{
    return display(HHTopicURL);
}

bool HTMLHelp::HHDisplayContents()
{
    return display(contentsPage());
}

} // namespace rr
