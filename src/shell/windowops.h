#pragma once
// The main window's refresh operations that the subsystems built on top of the frame
// provide (the folder tree and lists, the details panel, the finding lists, the
// Aspects). Each subsystem fills in its own operations when the program is put
// together; the frame, the start-up and the other subsystems call them through here.
// An operation nobody provided does nothing.
#include "platform/xmldocument.h"

#include <QString>
#include <functional>

class QTreeWidgetItem;

namespace rr
{

struct WindowOps {
    // Explorer: the folder tree, the shown folder's Vardecks, the details panel.
    std::function<void(XmlDocument *)> populateTopicList;
    std::function<void()> populateWMOnTopicNode;
    std::function<void(QTreeWidgetItem *folderNode)> populateVardeckList;
    std::function<void(XmlNode folder)> populateVDList;
    std::function<void(XmlNode vardeck)> displayVardeckData;
    std::function<void(bool editing)> setFormEditMode;
    std::function<void()> setNonEditableFields;
    std::function<void()> resetAfterDelete;
    std::function<void()> clearTextBoxes;
    // Starts adding a Vardeck: "browser" fills the details from chosenPage.
    std::function<void(const QString &source)> addVardeckSetup;
    std::function<void()> viewAsList;
    std::function<void()> viewAsIcons;
    // Icons and thumbnails.
    std::function<void()> populateIconList;
    // Finding: recent list, favourites, popular list, search history.
    std::function<void(const QString &wid)> refreshRecentMenuList;
    std::function<void(XmlDocument *)> populateFavsList;
    std::function<void(XmlDocument *)> populatePopList;
    std::function<void()> populateSearchList;
    // Aspects and pages taken from running browsers.
    std::function<void()> showAspectExplorer;
    std::function<void()> showAspectWeb;
    std::function<void(const QString &style, const QString &pageName, bool force)> loadAspectPage;
    std::function<void(const QString &style)> applyAspectStyle;
    // Shows an address in the details panel's preview pane ("about:blank" empties it).
    std::function<void(const QString &address)> navigatePreview;
    // Scans the running browsers; returns how many pages were found.
    std::function<int(bool topOnly)> getOpenBrowserPages;
    std::function<void()> showDetectedPagesDialog;
    // Database commands.
    std::function<void()> openTheDatabase;
    std::function<void()> closeDB;
    // Options, tips and help.
    std::function<void()> showTips;
};

// Calls op with args when someone provided it.
template <typename Op, typename... Args> auto callOp(const Op &op, Args &&...args)
{
    using Result = decltype(op(std::forward<Args>(args)...));
    if (!op)
        return Result();
    return op(std::forward<Args>(args)...);
}

} // namespace rr
