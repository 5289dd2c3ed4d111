#include "storage/foldermove.h"

namespace rr
{
namespace
{

XmlNode folderIn(const XmlDocument &doc, const QString &tid)
{
    const QString trimmed = tid.trimmed();
    if (trimmed.isEmpty())
        return {};
    const XmlNode node = doc.nodeFromID(trimmed);
    return node && node.nodeName() == QLatin1String("FOLDER") ? node : XmlNode();
}

// True when ancestor is node itself or holds it at any depth.
bool holds(const XmlNode &ancestor, XmlNode node)
{
    for (; node; node = node.parentNode()) {
        if (node == ancestor)
            return true;
    }
    return false;
}

} // namespace

FolderMove moveFolder(XmlDocument &doc, const QString &movedTID, const std::optional<QString> &targetTID)
{
    using Outcome = FolderMove::Outcome;
    XmlNode moved = folderIn(doc, movedTID);
    if (!moved)
        return {Outcome::NoFolder, {}};
    XmlNode container;
    if (!targetTID) {
        container = doc.documentElement();
    } else {
        XmlNode target = folderIn(doc, *targetTID);
        if (!target)
            return {Outcome::NoTarget, {}};
        if (target == moved)
            return {Outcome::OntoItself, {}};
        if (holds(moved, target))
            return {Outcome::IntoOwnSubFolder,
                    Notice(QStringLiteral("A folder cannot be moved to its own sub-folder"))};
        // A tree deeper than a database may be would not be saved: refused now.
        if (folderLevel(target) + folderLevels(moved) > kMaxFolderLevels)
            return {Outcome::TooDeep, Notice(folderNestingMessage(), MsgIcon::Exclamation)};
        container = target.child(QStringLiteral("SUBFOLDERS"));
        if (!container)
            container = target.appendChild(doc.createElement(QStringLiteral("SUBFOLDERS")));
    }
    container.appendChild(moved);
    return {Outcome::Moved, {}};
}

} // namespace rr
