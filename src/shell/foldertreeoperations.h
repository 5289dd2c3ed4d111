#pragma once
// What the frame (its start-up, status bar and shut-down) and the other parts ask of the
// Explorer's folder tree. The folder tree (explorer/foldertree.h) does the work and offers
// these on the window as it is installed; callers below the Explorer ask the window for
// them (platform/gui/partoperations.h). Each function here does nothing, for a window
// put together without the tree.
#include "platform/xmldocument.h"

#include <QString>
#include <optional>

namespace rr
{

class FolderTreeOperations
{
public:
    virtual ~FolderTreeOperations() = default;

    // The tree is built again from doc: the root named after the document element, a
    // node per folder below it; empty when doc is none or not loaded.
    virtual void populateTopicList(XmlDocument * /*doc*/) {}
    // The folder of the tree's current node is shown with its Vardecks; the root shows
    // no folder.
    virtual void populateWMOnTopicNode() {}
    // The tree selects its first node, the database's root.
    virtual void selectRootFolder() {}
    // The path of the folder tid as the tree shows it ("\Top\Inner"); nothing when the
    // tree has no node of that folder.
    virtual std::optional<QString> folderPathOf(const QString & /*tid*/) const { return std::nullopt; }
    // The database went: the folder tree and the Vardeck tree are empty.
    virtual void clearFolderTrees() {}
};

} // namespace rr
