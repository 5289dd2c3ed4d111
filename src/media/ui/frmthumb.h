#pragma once
// The thumbnail and synchronisation window. Its job takes a thumbnail of the shown
// Vardeck, of the shown folder's Vardecks or of every Vardeck, or synchronises the
// same with their live pages. Pages load
// into the window's page browser; a batch steps every 400 ms to the next Vardeck
// (thumbnails after the user's Continue, synchronisation on its own once the page is
// read). A page that fails (no connection, HTTP error, error page, no end in time)
// leaves its Vardeck untouched and the run goes on. A synchronisation run saves the
// database once at its end, and also when it is cancelled after changing Vardecks.
//
// A thumbnail run's window is application-modal; a synchronisation disables the main
// window, whose close is refused with a sentence until the run ends. The window never
// blocks its caller: closed() follows.
#include "media/iconrun.h"
#include "media/pagesync.h"
#include "media/ui/mediawindow.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QLabel;
class QProgressBar;

namespace rr
{

class IconCommands;
class qbButtons_H;
class PageBrowser;

class frmThumb : public QWidget
{
    Q_OBJECT
public:
    // What a run does, and to which Vardecks.
    struct Job {
        enum class Kind { Thumbnails, Synchronisation };
        enum class Of { ShownVardeck, ShownFolder, Everything };
        Kind kind;
        Of of;
    };

    // icons fetch a synchronised Vardeck's site icon when the options ask for it.
    frmThumb(const MediaWindow &w, IconCommands &icons, Job job);

    // The window's load: starts the job of its mode.
    void start();
    // True once the run was stopped (Cancel, Esc, or the window closed during a run);
    // every step tests it.
    bool stopped() const { return m_stop; }
    // Captures the loaded page as the thumbnail of the Vardeck in hand; false (and
    // the old thumbnail kept) when the page did not load or the file failed, with the
    // one sentence that says so in reason and in the window (unless it was stopped).
    bool saveThumb(QString *reason = nullptr);

    void cmdSave_Click();
    void cmdContinue_Click();
    void cmdCancel_Click();

    PageBrowser *browser() const { return m_browser; }
    // Vardecks changed by a synchronisation run and pages that failed.
    int synchronised() const { return m_synchronised; }
    int skipped() const { return m_skipped; }

    QTimer Timer1;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Refuses a close of the main window while a synchronisation runs, and says why.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool isBatchSync() const;
    bool isSingleSync() const;
    bool isThumbJob() const;
    void setFormBasic();
    void setFormLarge();
    void setIcon(const QString &wid);
    void loadThumbs(const QList<XmlNode> &vardecks);
    void loadThumbsFolder();
    void loadThumbsAll();
    void step();
    void pageLoaded(bool ok, const QString &failure);
    void loadCurrentVardeck();
    void synchSingleVardeck(const PageDetails &details);
    void synchBatchVardeck(const PageDetails &details);
    void endOfRun();
    void finishSynchronisation();
    void startSingle(bool thumbnail);

    const MediaWindow w;
    IconCommands &m_icons;
    const Job m_job;
    PageBrowser *m_browser;
    QList<IconJob> m_jobs;
    qsizetype m_index = 0;
    QString m_wid;
    bool m_stop = false;
    bool m_pageHandled = false;
    bool m_finished = false;
    bool m_closeRefusalQueued = false;
    int m_synchronised = 0;
    int m_skipped = 0;
    QLabel *Label1 = nullptr;
    QLabel *lblName = nullptr;
    QLabel *lblAddress = nullptr;
    QLabel *lblProg = nullptr;
    QLabel *imgIcon = nullptr;
    QProgressBar *Progress1 = nullptr;
    qbButtons_H *cmdSave = nullptr;
    qbButtons_H *cmdContinue = nullptr;
    qbButtons_H *cmdCancel = nullptr;
};

} // namespace rr
