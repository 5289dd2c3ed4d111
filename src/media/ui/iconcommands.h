#pragma once
// The main window's site-icon commands: Tools > Load icons for the shown Vardeck, the
// shown folder or the whole collection, Choose icon from file and Remove icon, and
// the icon timer that fetches the icon of a page being added. Every fetch runs on the
// event loop; the window stays responsive and repaints while icons come in.
#include "explorer/iconfetchoperations.h"
#include "media/iconrun.h"
#include "media/ui/frmiconprogress.h"
#include "media/ui/mediawindow.h"
#include "platform/xmldocument.h"

#include <QObject>
#include <QPointer>
#include <functional>

namespace rr
{

class frmVardecks;

class IconCommands : public QObject, public IconFetchOperations
{
    Q_OBJECT
public:
    struct SingleIcon {
        bool askConnection = false; // the connection question first
        bool showProgress = false;  // the progress window, the main window disabled
        bool notify = false;        // a beep at the end, a word on an unsuitable address
        bool refreshLists = false;  // favourites, popular list and folder list refilled
        bool useCurrent = false;    // the shown Vardeck instead of address and wid
    };

    explicit IconCommands(const MediaWindow &w);

    HttpFetcher &net() { return *m_net; }
    // Run options for the list commands (tests and benchmarks change them).
    IconRun::Options runOptions;

    // True when online, or when the user chooses to go on offline.
    static bool connectionQuestion();
    // An icon run over these Vardecks behind the progress window; done runs after
    // the main window is refilled (not when the question stops the command).
    void loadIconsForList(const QList<IconJob> &jobs, std::function<void()> done = {});
    // One Vardeck's icon; done runs at the end (not when the question stops it).
    void loadSingleIcon(const SingleIcon &flags, const QString &address, const QString &wid,
                        std::function<void()> done = {});
    // The running list or single fetch's progress window, if one is open.
    frmIconProgress *progressWindow() const { return m_progress; }
    IconRun *currentRun() const { return m_run; }

    void timerIcon_Timer(const QString &address) override;
    void mnuToolsIconVD_Click();
    void mnuToolsIconFolder_Click();
    void mnuToolsIconAll_Click();
    void mnuToolsIconFile_Click();
    void mnuToolsIconRemove_Click();

private:
    frmIconProgress *openProgress();
    void addToImageList(const QString &wid, const QString &file);
    void showInDetails(const QString &file);
    void refillAfterRun();
    bool requireShownVardeck(const QString &what);
    QList<IconJob> jobsOf(const QList<XmlNode> &vardecks) const;

    const MediaWindow w;
    HttpFetcher *m_net;
    QPointer<IconRun> m_run;
    QPointer<frmIconProgress> m_progress;
    // The requests of the icon fetch for the page being added.
    QPointer<QObject> m_addFetch;
};

// Attaches the icon commands to w.commands and offers the icon timer's work on w
// (IconFetchOperations), handing them what they use of w (MediaWindow). Call once per
// window.
IconCommands &installIconCommands(frmVardecks &w);

} // namespace rr
