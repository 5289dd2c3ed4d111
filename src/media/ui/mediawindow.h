#pragma once
// What the icon and thumbnail commands and their windows use of the main window, and
// nothing more. installIconCommands and installThumbCommands (installmedia.cpp) hand
// it out.
class QPixmap;
class QWidget;

namespace rr
{

class CollectionChanges;
class Commands;
class frmVardecks;
class FrameTabs;
class OpenDatabase;
class ShownItems;
class VardeckPictures;

struct MediaWindow {
    // The parent of the progress and thumbnail windows, disabled while a run goes on;
    // the window the operations offered on it are asked of (operationsOf), and the one
    // the finding panes' operations (finding/ui/findingops.h) find them through.
    QWidget &mainWindow;
    // The window as the Explorer's operations name it (explorer/detailsops.h,
    // explorer/folderops.h, explorer/shownvardeck.h): they find their part through it.
    // Nothing is called on it here.
    frmVardecks &parts;
    OpenDatabase &db;
    Commands &commands;
    ShownItems &shown;
    // The Vardeck and Details tabs brought forward by a synchronisation.
    FrameTabs &tabs;
    // The Web Aspect pages a synchronisation made stale.
    CollectionChanges &changes;
    // Every Vardeck's picture (a fetched site icon joins them) and the plain mark.
    VardeckPictures &pictures;
    const QPixmap &plainPicture;
};

} // namespace rr
