#include "explorer/popupsanddrops.h"

#include "explorer/dragdrop.h"
#include "explorer/externaldrops.h"
#include "explorer/movelaunchers.h"
#include "explorer/popupcommands.h"
#include "shell/frmvardecks.h"

namespace rr
{

PopupCommands *popupCommandsOf(const frmVardecks &w)
{
    return w.findChild<PopupCommands *>(QString(), Qt::FindDirectChildrenOnly);
}

MoveLaunchers *moveLaunchersOf(const frmVardecks &w)
{
    return w.findChild<MoveLaunchers *>(QString(), Qt::FindDirectChildrenOnly);
}

InternalDrags *internalDragsOf(const frmVardecks &w)
{
    return w.findChild<InternalDrags *>(QString(), Qt::FindDirectChildrenOnly);
}

ExternalDrops *externalDropsOf(const frmVardecks &w)
{
    return w.findChild<ExternalDrops *>(QString(), Qt::FindDirectChildrenOnly);
}

void installPopupsAndDrops(frmVardecks &w)
{
    if (popupCommandsOf(w))
        return;
    auto *moves = new MoveLaunchers(w);
    auto *popups = new PopupCommands(w, *moves);
    new InternalDrags(w);
    new ExternalDrops(w);

    const std::pair<const char *, void (PopupCommands::*)()> commands[] = {
        {"mnuOpenN_Click", &PopupCommands::mnuOpenN_Click},
        {"mnuOpenVD_Click", &PopupCommands::mnuOpenVD_Click},
        {"mnuOpenVDHome_Click", &PopupCommands::mnuOpenVDHome_Click},
        {"mnuMoveVD_Click", &PopupCommands::mnuMoveVD_Click},
        {"mnuModVD_Click", &PopupCommands::mnuModVD_Click},
        {"mnuDeleteVD_Click", &PopupCommands::mnuDeleteVD_Click},
        {"mnuCopyVD_Click", &PopupCommands::mnuCopyVD_Click},
        {"mnuNewFolder_Click", &PopupCommands::mnuNewFolder_Click},
        {"mnuOpenF_Click", &PopupCommands::mnuOpenF_Click},
        {"mnuMoveFolder_Click", &PopupCommands::mnuMoveFolder_Click},
        {"mnuRenameFolder_Click", &PopupCommands::mnuRenameFolder_Click},
        {"mnuDeleteFolder_Click", &PopupCommands::mnuDeleteFolder_Click},
        {"mnuModFolder_Click", &PopupCommands::mnuModFolder_Click},
    };
    for (const auto &[handler, command] : commands)
        w.setCommand(QLatin1String(handler), [popups, command = command](int) { (popups->*command)(); });
    w.setCommand(QStringLiteral("mnuList_Click"), [popups](int index) { popups->mnuList_Click(index); });
    w.setCommand(QStringLiteral("mnuMulti_Click"), [popups](int index) { popups->mnuMulti_Click(index); });
    w.setCommand(QStringLiteral("cmdMoveVD_Click"), [moves](int) { moves->cmdMoveVD_Click(); });
    w.setCommand(QStringLiteral("cmdMoveFolder_Click"), [moves](int) { moves->cmdMoveFolder_Click(); });
}

} // namespace rr
