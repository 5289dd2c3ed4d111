#pragma once
// What the finding panes use of the main window, and nothing more. installFinding
// (installfinding.cpp) hands it out.
class QObject;

namespace rr
{

class CollectionChanges;
class Commands;
class DragSources;
class DragState;
class FrameMenus;
class FramePanes;
class FrameStatus;
class FrameTabs;
class OpenDatabase;
class PopupState;
class ShownItems;
class VardeckPictures;

struct FindingWindow {
    // The window the panes belong to (their parent), whose operations they ask for
    // (operationsOf) and on which they offer their own; findingops.h finds them there.
    QObject &window;
    Commands &commands;
    OpenDatabase &db;
    // The shown folder and Vardeck, the Vardeck the commands act on, the edit state.
    ShownItems &shown;
    // The panes the controls are built in and laid out by, their tool tip, and the
    // button Enter presses.
    FramePanes &panes;
    // The left pane's tabs, which the panes follow and take drops on, and the right
    // pane's, brought forward by a search or a row shown.
    FrameTabs &tabs;
    // The Favorites menu's items and the popups the right-clicks open.
    FrameMenus &menus;
    // The shown folder's path, told once a row's folder is shown.
    FrameStatus &status;
    // The Web Aspect pages a change of the favourites or the rankings made stale.
    CollectionChanges &changes;
    // What was right-clicked last, which the panes' right-clicks record.
    PopupState &popup;
    // The window's one start-drag, and what it drags.
    DragSources &dragSources;
    const DragState &drag;
    // Every Vardeck's picture, which the rows show.
    const VardeckPictures &pictures;
};

} // namespace rr
