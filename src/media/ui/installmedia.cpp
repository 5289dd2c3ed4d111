// The one file of the icon and thumbnail commands that sees the whole main window: it
// hands each part what it uses (MediaWindow), attaches their slots and offers the icon
// fetch of an add (IconFetchOperations).
#include "media/ui/iconcommands.h"
#include "media/ui/thumbcommands.h"
#include "platform/gui/partoperations.h"
#include "shell/frmvardecks.h"

namespace rr
{
namespace
{

MediaWindow mediaWindowOf(frmVardecks &w)
{
    return MediaWindow{.mainWindow = w,
                       .parts = w,
                       .db = w.dbXML,
                       .commands = w.commands,
                       .shown = w,
                       .tabs = w,
                       .changes = w,
                       .pictures = w.vardeckPictures(),
                       .plainPicture = w.plainVardeckPicture()};
}

} // namespace

IconCommands &installIconCommands(frmVardecks &w)
{
    auto *icons = new IconCommands(mediaWindowOf(w));
    offerOperations<IconFetchOperations>(w, *icons, *icons);
    w.commands.mnuToolsIconVD_Click = [icons](int) { icons->mnuToolsIconVD_Click(); };
    w.commands.mnuToolsIconFolder_Click = [icons](int) { icons->mnuToolsIconFolder_Click(); };
    w.commands.mnuToolsIconAll_Click = [icons](int) { icons->mnuToolsIconAll_Click(); };
    w.commands.mnuToolsIconFile_Click = [icons](int) { icons->mnuToolsIconFile_Click(); };
    w.commands.mnuToolsIconRemove_Click = [icons](int) { icons->mnuToolsIconRemove_Click(); };
    return *icons;
}

ThumbCommands &installThumbCommands(frmVardecks &w, IconCommands &icons)
{
    auto *thumbs = new ThumbCommands(mediaWindowOf(w), icons);
    w.commands.mnuThumbVD_Click = [thumbs](int) { thumbs->mnuThumbVD_Click(); };
    w.commands.mnuThumbFolder_Click = [thumbs](int) { thumbs->mnuThumbFolder_Click(); };
    w.commands.mnuThumbAll_Click = [thumbs](int) { thumbs->mnuThumbAll_Click(); };
    w.commands.mnuThumbRemove_Click = [thumbs](int) { thumbs->mnuThumbRemove_Click(); };
    w.commands.mnuToolsSynch_Click = [thumbs](int) { thumbs->mnuToolsSynch_Click(); };
    w.commands.mnuToolsSynchFolder_Click = [thumbs](int) { thumbs->mnuToolsSynchFolder_Click(); };
    w.commands.mnuToolsSynchAll_Click = [thumbs](int) { thumbs->mnuToolsSynchAll_Click(); };
    return *thumbs;
}

} // namespace rr
