#pragma once
// Moving a folder, with everything under it, to the end of another folder's
// sub-folders or of the top level: the one rule the Move folder dialog and a drop on
// the folder tree both follow. A refused move changes nothing; what the user is told
// of a refusal comes back as a notice.
#include "platform/notice.h"
#include "platform/xmldocument.h"

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

} // namespace rr
