#pragma once
// Moving a folder, with everything under it, to the end of another folder's
// sub-folders or of the top level: the one rule the Move folder dialog and a drop on
// the folder tree both follow. A refused move changes nothing; what the user is told
// of a refusal comes back as a notice.
#include "platform/notice.h"
#include "platform/xmldocument.h"

#include <QStringList>

#include <functional>
#include <optional>

namespace rr
{

struct FolderMove {
    enum class Outcome {
        Moved,
        NoFolder,         // the folder to move is not in the document
        NoTarget,         // the target folder is not in the document
        OntoItself,       // the target is the folder itself
        IntoOwnSubFolder, // the target lies inside the folder (told)
        TooDeep,          // the tree would nest deeper than a database may (told)
    };
    Outcome outcome = Outcome::NoFolder;
    Notice notice;
    bool moved() const { return outcome == Outcome::Moved; }
};

// Moves the FOLDER movedTID under the FOLDER targetTID (nullopt: to the top level).
FolderMove moveFolder(XmlDocument &doc, const QString &movedTID, const std::optional<QString> &targetTID);

// Moving Vardecks to the end of a folder's Vardecks, in the order asked: the one rule
// the Move Vardeck dialog and a drop on the folder tree both follow. A Vardeck that
// has gone since the move was asked for is left out and the others still move; the
// notice names the ones that had gone.
struct VardeckMove {
    enum class Outcome {
        Moved,        // every Vardeck still there moved (some may have gone: see gone)
        NothingAsked, // no Vardeck was named
        NoTarget,     // the target folder is not in the document
        AllGone,      // none of the named Vardecks is in the document (told)
    };
    Outcome outcome = Outcome::NothingAsked;
    QStringList moved; // the WIDs that moved, in the order asked
    QStringList gone;  // the WIDs asked for that the document no longer holds
    Notice notice;
    bool movedAny() const { return !moved.isEmpty(); }
};

// Moves the VARDECKs wids into the FOLDER targetTID. nameOf gives the name the user
// saw for a WID, for the notice about the Vardecks that had gone.
VardeckMove moveVardecks(XmlDocument &doc, const QStringList &wids, const QString &targetTID,
                         const std::function<QString(const QString &)> &nameOf = {});

} // namespace rr
