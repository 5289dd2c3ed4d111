#pragma once
// The window's small pictures, drawn in code: toolbar images, aspect buttons, tree
// and list marks. Each is a plain, clear shape on a transparent background.
#include <QPixmap>

namespace rr::pictures
{

enum class Kind {
    NewVardeck,
    UpdateVardeck,
    DeleteVardeck,
    First,
    Previous,
    Next,
    Last,
    NewFolder,
    RenameFolder,
    DeleteFolder,
    Search,
    OpenInBrowser,
    GetFromBrowser,
    BlankBrowser,
    Options,
    Help,
    Save,
    Cancel,
    ExplorerAspect,
    WebAspect,
    SecureMark,
    SiteMark,
    VardeckMark,
    SelectedVardeckMark,
    FavoriteMark,
    RootClosed,
    RootOpen,
    ClosedFolder,
    OpenFolder,
    MoveVardeck,
    MoveFolder,
    Add,
    Remove,
    Thumbnail,
};

QPixmap draw(Kind kind, int size = 16);
// The toolbar's image list: image numbers 1 to 18 as Toolbar1 uses them.
QPixmap toolbarImage(int number, int size = 16);

} // namespace rr::pictures
