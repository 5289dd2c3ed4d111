#pragma once
// What an import tells its progress window: the folder and the Vardeck being read,
// the counts and the bar. The import keeps the user-interface thread busy, so the
// window is drawn on request: at most every 50 ms (and whenever a run asks for it
// with flush), never once per item, so that drawing does not set the pace of a large
// import. Each drawing is also where the window lets its pending events run, so every
// window repaints while the import goes on.
#include <QElapsedTimer>
#include <QString>
#include <QStringList>

#include <functional>

namespace rr
{

// The reason an import stops with when the user cancelled it.
QString importCancelledReason();

// The bar's item step: below 60 one point, below 80 half a point, below 99 a tenth,
// then nothing; single precision, as the bar keeps it.
float progressItemStep(float value);
// The fill at the end of a folder tree or an import: two points at a time while below 98.
float progressFillTo98(float value);

// What an import passed over or changed on its way, told when it has finished.
struct ImportNotes {
    // The files the import read, each with the time it was written.
    QStringList read;
    // The files and folders that could not be read, each with its reason.
    QStringList skipped;
    // Folders nested more deeply than a database holds, put at the deepest level with
    // all they hold, and a note for each file that had them.
    int movedFolders = 0;
    QStringList moved;
    // Links whose address is empty or blank, passed over, and a note for each file
    // that had them.
    int withoutAddress = 0;
    QStringList withoutAddressItems;
};

struct ProgressState {
    float bar = 0;
    QString folderName;  // lblName
    QString vardeckName; // lblName2
    int folders = 0;
    int vardecks = 0;
};

class ImportProgress
{
public:
    virtual ~ImportProgress() = default;

    void setFolderName(const QString &name);
    // The Vardeck being created: its name, then the item step of the bar.
    void setVardeckName(const QString &name);
    void setFolderCount(int count);
    void setVardeckCount(int count);
    void setBar(float value);
    void fillBarTo98() { setBar(progressFillTo98(m_state.bar)); }
    float bar() const { return m_state.bar; }
    const ProgressState &state() const { return m_state; }
    // Draws the state now.
    void flush();
    // Nothing new to show, but work goes on: the window is drawn again when it is due,
    // so it keeps repainting through a long stretch without counts.
    void tick() { changed(); }
    // Runs one long step that reports nothing as it goes (reading a large file,
    // releasing a large document). Here it simply runs; a window may run it aside
    // and keep repainting until it is done. step must not touch what the window shows.
    virtual void runLongStep(const std::function<void()> &step) { step(); }

    // The user asked to stop the import (the progress window's Cancel): it makes
    // nothing more, stops with importCancelledReason and is taken back whole.
    void requestCancel() { m_cancelled = true; }
    bool cancelled() const { return m_cancelled; }

    static constexpr qint64 kRedrawIntervalMs = 50;

protected:
    // Draws state; called at most every kRedrawIntervalMs except through flush.
    virtual void draw(const ProgressState &state) {}
    // The state the window already holds (a reused window keeps its bar).
    void adoptState(const ProgressState &state) { m_state = state; }
    // A new import starts uncancelled.
    void clearCancel() { m_cancelled = false; }

private:
    void changed();

    ProgressState m_state;
    QElapsedTimer m_sinceDrawn;
    bool m_cancelled = false;
};

} // namespace rr
