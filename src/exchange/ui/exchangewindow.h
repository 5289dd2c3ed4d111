#pragma once
// What the Import/Export window, its imports and its merge use of the main window, and
// nothing more. installexchange.cpp hands it out (exchangeWindowOf).
class QWidget;

namespace rr
{

class CollectionChanges;
class Commands;
class FrameOptions;
class FrameStatus;
class frmVardecks;
class OpenDatabase;
class ShownItems;

struct ExchangeWindow {
    // The parent of the Import/Export and progress windows; the window the operations
    // offered on it are asked of (operationsOf).
    QWidget &mainWindow;
    // The window as the Explorer's operations name it (explorer/folderops.h,
    // explorer/detailsops.h): they find their part through it. Nothing is called on it
    // here.
    frmVardecks &parts;
    OpenDatabase &db;
    Commands &commands;
    // After a merge no folder and no Vardeck is shown.
    ShownItems &shown;
    // The path of the folder an import made; after a merge, none.
    FrameStatus &status;
    // The Web Aspect pages an import or a merge made stale.
    CollectionChanges &changes;
    // The Aspect shown, which a merge shows again when it is the Web Aspect.
    const FrameOptions &options;
};

} // namespace rr
