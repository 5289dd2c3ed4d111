#pragma once
// What the folder and move dialogs hand back to the main window. The dialogs edit the
// open database's document, save it, and then tell the main window what changed; the
// main window refreshes its own trees, lists and Web Aspect from that.
#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace rr
{

// The rendered Web Aspect pages a change made stale.
struct StalePages {
    bool folders = false;
    bool all = false;
    bool hits = false;
    bool favorites = false;
    // The Web Aspect, when it is shown, is to be shown again at once.
    bool reshowWebAspect = false;
};

struct DialogHooks {
    // Called after every change of the document, saved or not (a failed save keeps
    // the change in memory and the window must show what the document holds).
    std::function<void(const StalePages &stale)> collectionChanged;
    // The font fallback for systems without the designed font (the main window's
    // setFormFont when sansSerifInstalled is false); unset does nothing.
    std::function<void(QWidget *dialog)> applyFontFallback;
};

// A folder was created: parentTID is "" for the top level.
struct FolderCreated {
    QString parentTID;
    QString tid;
    QString name;
};

struct FolderRenamed {
    QString tid;
    QString name;
};

// Vardecks were moved, in this order, to the end of the target folder. The main
// window's shown folder is left to the caller.
struct VardecksMoved {
    QString fromTID;
    QString targetTID;
    QString targetName;
    QStringList wids;
};

// A folder was moved to the end of the target's sub-folders; targetTID "" is the top level.
struct FolderMoved {
    QString tid;
    QString targetTID;
};

} // namespace rr
