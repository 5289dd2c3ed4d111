#pragma once
// What the web panes (the preview, the Web Aspect, its busy state, the browser capture)
// use of the main window, and nothing more. installweb.cpp hands it out (webWindowOf).
class QWidget;

namespace rr
{

class CollectionChanges;
class Commands;
class FrameMenus;
class FrameOptions;
class FramePanes;
class FrameSession;
class FrameStatus;
class frmVardecks;
class OpenDatabase;
class ShownItems;
class VardeckPictures;

struct WebWindow {
    // The panes' parent and the parent of the detected-pages dialog and the print windows; the window the
    // operations offered on it are asked of (operationsOf), and whose title the browser
    // scan leaves out.
    QWidget &mainWindow;
    // The window as the Explorer's operations name it (explorer/detailsops.h,
    // explorer/shownvardeck.h, webAspectPane), and the Aspect switch's and the busy
    // state's (aspects.h, aspectbusy.h): they find their part through it. Nothing is
    // called on it here.
    frmVardecks &parts;
    Commands &commands;
    OpenDatabase &db;
    // The shown Vardeck, whose visit the preview records, and the edit state.
    ShownItems &shown;
    // The Preview tab the preview builds in, and the places the frame lays out.
    FramePanes &panes;
    // The web panes' status text, passing over the shown folder's path.
    FrameStatus &status;
    // The Aspect menu's items, which say whether the Web Aspect is shown.
    FrameMenus &menus;
    // The Web Aspect pages a change of the collection made stale, and made again.
    CollectionChanges &changes;
    // The Aspect shown, which says whether the Web Aspect's work is shown.
    const FrameOptions &options;
    // Whether the window has closed, its splash, and the pages the last scan found.
    FrameSession &session;
    // Every Vardeck's picture, of which the detected-pages tree shows two.
    const VardeckPictures &pictures;
};

} // namespace rr
