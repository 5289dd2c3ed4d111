#pragma once
// The help window: the pages of the help folder in a browser pane with the contents
// list beside it, Back, Forward and Contents. Links between help pages stay in the
// window; a link that leads out of the help folder goes to the desktop's browser. The
// program has one help window, created when help is first asked for.
#include "options/htmlhelp.h"

#include <QWidget>

class QAction;
class QListWidget;
class QTextBrowser;
class QUrl;

namespace rr
{

class frmHelp : public QWidget
{
    Q_OBJECT
public:
    explicit frmHelp(QWidget *parent = nullptr);

    // Shows page (a file name inside helpFolder); false when it cannot be read.
    bool showPage(const QString &helpFolder, const QString &page);
    // The file name of the shown page.
    QString currentPage() const;

    // The help window, or nullptr before help was first shown.
    static frmHelp *existing();
    // The help window, created (hidden) when there is none yet.
    static frmHelp *instance();

private:
    void fillContents();
    void followLink(const QUrl &url);
    void pageChanged(const QUrl &url);
    bool insideHelpFolder(const QString &path) const;

    QString m_folder;
    QListWidget *lstContents = nullptr;
    QTextBrowser *txtPage = nullptr;
    QAction *cmdBack = nullptr;
    QAction *cmdForward = nullptr;
    QAction *cmdContents = nullptr;
};

// The help viewer of the program: shows pages in the one help window and brings it
// to the front.
class HelpWindowViewer final : public HelpViewer
{
public:
    bool showHelpPage(const QString &helpFolder, const QString &page) override;
};

// Makes the help window the program's help viewer for the rest of its run.
void installHelpWindow();

} // namespace rr
