#include "explorer/popupsanddrops.h"

#include "explorer/dragdrop.h"
#include "explorer/explorer.h"
#include "explorer/externaldrops.h"
#include "explorer/movelaunchers.h"
#include "explorer/popupcommands.h"
#include "explorer/vardeckviews.h"
#include "platform/gui/partoperations.h"
#include "shell/frmvardecks.h"

namespace rr
{

PopupsAndDrops installPopupsAndDrops(frmVardecks &w, const ExplorerParts &explorer)
{
    auto *moves = new MoveLaunchers(w);
    auto *popups = new PopupCommands(w, *moves);
    auto *drags = new InternalDrags(w, explorer.tree, explorer.views);
    auto *drops = new ExternalDrops(w, explorer.views);

    const std::pair<HandlerRef, void (PopupCommands::*)()> commands[] = {
        {&Commands::mnuOpenN_Click, &PopupCommands::mnuOpenN_Click},
        {&Commands::mnuOpenVD_Click, &PopupCommands::mnuOpenVD_Click},
        {&Commands::mnuOpenVDHome_Click, &PopupCommands::mnuOpenVDHome_Click},
        {&Commands::mnuMoveVD_Click, &PopupCommands::mnuMoveVD_Click},
        {&Commands::mnuModVD_Click, &PopupCommands::mnuModVD_Click},
        {&Commands::mnuDeleteVD_Click, &PopupCommands::mnuDeleteVD_Click},
        {&Commands::mnuCopyVD_Click, &PopupCommands::mnuCopyVD_Click},
        {&Commands::mnuNewFolder_Click, &PopupCommands::mnuNewFolder_Click},
        {&Commands::mnuOpenF_Click, &PopupCommands::mnuOpenF_Click},
        {&Commands::mnuMoveFolder_Click, &PopupCommands::mnuMoveFolder_Click},
        {&Commands::mnuRenameFolder_Click, &PopupCommands::mnuRenameFolder_Click},
        {&Commands::mnuDeleteFolder_Click, &PopupCommands::mnuDeleteFolder_Click},
        {&Commands::mnuModFolder_Click, &PopupCommands::mnuModFolder_Click},
    };
    for (const auto &[handler, command] : commands)
        w.commands.*handler = [popups, command = command](int) { (popups->*command)(); };
    w.commands.mnuList_Click = [popups](int index) { popups->mnuList_Click(index); };
    w.commands.mnuMulti_Click = [popups](int index) { popups->mnuMulti_Click(index); };
    w.commands.cmdMoveVD_Click = [moves](int) { moves->cmdMoveVD_Click(); };
    w.commands.cmdMoveFolder_Click = [moves](int) { moves->cmdMoveFolder_Click(); };
    // The lists of the other parts take drops as the window does.
    offerOperations<ListDropOperations>(w, *drops, *drops);
    return {*popups, *moves, *drags, *drops};
}

} // namespace rr
