#pragma once
// The help file: "Vardecks Help.chm", installed as a folder of HTML pages whose
// contents page is "index.htm". Callers set the help file and a topic page and ask for
// one display. The pages open in the help window the program installs as the help
// viewer; without one (tools that run without a display) they go to the desktop's
// browser. A help file that is not one, or a missing file or page, gives false and
// the notice why (titled "HTML Help Class"), which the window shows.
#include "platform/notice.h"

#include <QString>

namespace rr
{

// Shows one page of a help folder in a window of its own.
class HelpViewer
{
public:
    virtual ~HelpViewer() = default;
    // helpFolder is the help file's path, page a file name inside it; false when
    // nothing could be shown.
    virtual bool showHelpPage(const QString &helpFolder, const QString &page) = 0;
};

namespace helpviewer
{
// The viewer stays owned by the caller; nullptr removes it.
void install(HelpViewer *viewer);
HelpViewer *installed();
} // namespace helpviewer

class HTMLHelp
{
public:
    // The path of the installed help file.
    static QString defaultHelpFile();
    // The page the contents open at.
    static QString contentsPage();

    QString CHMFile;
    QString HHTopicURL;

    // Open the topic page, or the contents; false when nothing was opened, and then
    // problem() says why.
    bool HHDisplayTopicURL();
    bool HHDisplayContents();
    const Notice &problem() const { return m_problem; }

    // True when the name ends in "chm" (any case); else false and the notice why.
    bool isCHMFile(const QString &name, Notice *problem = nullptr) const;
    // A bare name is completed with the installed data folder; true when the path
    // exists, else false and the notice why.
    bool EnsureFileExists(QString &path, Notice *problem = nullptr) const;

private:
    bool display(const QString &page);

    Notice m_problem;
};

} // namespace rr
