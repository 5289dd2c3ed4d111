#include "storage/foldermove.h"

#include "storage/record.h"

namespace rr
{
namespace
{

XmlNode folderIn(const XmlDocument &doc, const QString &tid)
{
    const QString trimmed = identifierOf(tid);
    if (trimmed.isEmpty())
        return {};
    const XmlNode node = doc.nodeFromID(trimmed);
    return node && node.nodeName() == tag::Folder ? node : XmlNode();
}

XmlNode vardeckIn(const XmlDocument &doc, const QString &wid)
{
    const QString trimmed = identifierOf(wid);
    if (trimmed.isEmpty())
        return {};
    const XmlNode node = doc.nodeFromID(trimmed);
    return node && node.nodeName() == tag::Vardeck ? node : XmlNode();
}

QString goneMessage(const QStringList &gone, bool othersMoved, const std::function<QString(const QString &)> &nameOf)
{
    const bool one = gone.size() == 1;
    if (!othersMoved)
        return one ? QStringLiteral("The Vardeck to move no longer exists - nothing was moved")
                   : QStringLiteral("The Vardecks to move no longer exist - nothing was moved");
    QStringList names;
    for (const QString &wid : gone) {
        const QString name = nameOf ? nameOf(wid) : QString();
        names << (name.isEmpty() ? wid : QStringLiteral("\"%1\"").arg(name));
    }
    return (one ? QStringLiteral("This Vardeck no longer exists and was not moved: %1.  The others were moved.")
                : QStringLiteral("These Vardecks no longer exist and were not moved: %1.  The others were moved."))
        .arg(names.join(QStringLiteral(", ")));
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
        container = childOrNew(doc, target, tag::SubFolders);
    }
    container.appendChild(moved);
    return {Outcome::Moved, {}};
}

VardeckMove moveVardecks(XmlDocument &doc, const QStringList &wids, const QString &targetTID,
                         const std::function<QString(const QString &)> &nameOf)
{
    using Outcome = VardeckMove::Outcome;
    VardeckMove move;
    if (wids.isEmpty())
        return move;
    XmlNode target = folderIn(doc, targetTID);
    if (!target) {
        move.outcome = Outcome::NoTarget;
        return move;
    }
    QList<XmlNode> vardecks;
    for (const QString &asked : wids) {
        const QString wid = identifierOf(asked);
        if (move.moved.contains(wid) || move.gone.contains(wid))
            continue;
        const XmlNode vardeck = vardeckIn(doc, wid);
        (vardeck ? move.moved : move.gone) << wid;
        if (vardeck)
            vardecks << vardeck;
    }
    if (!move.gone.isEmpty())
        move.notice = Notice(goneMessage(move.gone, !vardecks.isEmpty(), nameOf), MsgIcon::Exclamation);
    if (vardecks.isEmpty()) {
        move.outcome = Outcome::AllGone;
        return move;
    }
    // Appending takes each element out of its old folder.
    XmlNode list = childOrNew(doc, target, tag::Vardecks);
    for (const XmlNode &vardeck : std::as_const(vardecks))
        list.appendChild(vardeck);
    move.outcome = Outcome::Moved;
    return move;
}

} // namespace rr
