#pragma once
// What the folder and move dialogs hand back to the main window once the user saved.
// The dialogs edit the open database's document, save it, tell their host which Web
// Aspect pages went stale (FolderDialogHost::collectionChanged), and hand one of these
// to the caller, which refreshes its own trees and lists from it.
#include <QString>
#include <QStringList>

namespace rr
{

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
