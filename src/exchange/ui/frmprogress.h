#pragma once
// The progress window of the imports: what is being read, the folder and Vardeck
// counts and the bar. It is shown without blocking and has no logic of its own: the
// imports drive it through ImportProgress, which draws it at most every 50 ms while
// they run. While an import runs its Cancel button (cmdCancel, where OK stands at the
// end) and its close box ask the import to stop; the import is then taken back whole.
// Once the import saves, it can no longer be cancelled. At the end of an import it
// stays open as a summary ("Task completed", the count in its caption) until its OK
// button closes it. There is one window, created on first use and reused, as it is,
// by the next import while it is open.
#include "exchange/importprogress.h"
#include "storage/ui/buttondialog.h"

class QLabel;
class QProgressBar;

namespace rr
{

class frmProgress : public ButtonDialog, public ImportProgress
{
    Q_OBJECT
public:
    // The open window, or a new one (the Load: fonts, OK hidden, shown at once, bar at 0).
    static frmProgress *instance(QWidget *owner);
    // The open window, or nullptr.
    static frmProgress *current();

    // The start of an import: captions back, OK hidden, Cancel shown, the caption
    // "Loading...", the window in front.
    void begin();
    // The import saves what it added: it can no longer be cancelled.
    void saving();
    // The common finish: (the fill to 98 unless fill is false,) the bar to 100, OK
    // shown, "Task completed", the caption "Vardecks imported: " and the count, the
    // window in front, a beep.
    // What the import passed over and the folders it moved up are told on lines of
    // their own where the folder name stood, with the list of them as its tool tip.
    // The files a bookmark import read are named below "Task completed".
    void finish(int vardecks, bool fill, const ImportNotes &notes = {});
    // Draws what the import has set so far, now.
    void refreshNow() { flush(); }
    // The step runs on a thread of its own while the windows keep repainting.
    void runLongStep(const std::function<void()> &step) override;
    // The counts below the names: an import counts no Fav's folders, and counts folders
    // only when folders is true.
    void showCounts(bool folders);
    // The captions beside the two names for the phase an import is in; an empty
    // caption keeps the one shown.
    void setCaptions(const QString &folderCaption, const QString &vardeckCaption);

protected:
    void draw(const ProgressState &state) override;
    void closeEvent(QCloseEvent *event) override;

private:
    explicit frmProgress(QWidget *owner);
    // Shown above the other windows and given the keyboard.
    void comeForward();
    QLabel *place(QLabel *label, double left, double top, double width, double height);
    // Widens the caption column to its widest caption and starts the names after it.
    void fitCaptions();
    void showFilesRead(const QStringList &read);
    void Command1_Click();
    void cmdCancel_Click();
    // True from begin until the import finishes or the program closes the window.
    bool running() const;

    QProgressBar *progress1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *lblName = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *lblName2 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *lblFavs = nullptr;
    QLabel *Label6 = nullptr;
    QLabel *lblFolders = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *lblVD = nullptr;
    // After a bookmark import: the file or files read, with the time each was written.
    QLabel *lblRead = nullptr;
    qbButtons_H *Command1 = nullptr;
    qbButtons_H *cmdCancel = nullptr;
};

} // namespace rr
