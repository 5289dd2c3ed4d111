#include "explorer/explorer.h"

#include "explorer/clipboardcommands.h"
#include "explorer/detailspanel.h"
#include "explorer/foldertree.h"
#include "explorer/navigation.h"
#include "explorer/nodetags.h"
#include "explorer/vardeckviews.h"
#include "shell/frmvardecks.h"

namespace rr
{

FolderTree *folderTreeOf(const frmVardecks &w)
{
    return w.findChild<FolderTree *>(QString(), Qt::FindDirectChildrenOnly);
}

VardeckViews *vardeckViewsOf(const frmVardecks &w)
{
    return w.findChild<VardeckViews *>(QString(), Qt::FindDirectChildrenOnly);
}

DetailsPanel *detailsPanelOf(const frmVardecks &w)
{
    return w.findChild<DetailsPanel *>(QString(), Qt::FindDirectChildrenOnly);
}

void installExplorer(frmVardecks &w)
{
    if (folderTreeOf(w))
        return;
    auto *tree = new FolderTree(w);
    auto *views = new VardeckViews(w);
    auto *panel = new DetailsPanel(w);

    WindowOps &ops = w.ops;
    ops.populateTopicList = [tree](XmlDocument *doc) { tree->populateTopicList(doc); };
    ops.populateWMOnTopicNode = [tree] { tree->populateWMOnTopicNode(); };
    ops.populateVardeckList = [views](QTreeWidgetItem *node) { views->populateVardeckList(node); };
    ops.populateVDList = [views](XmlNode folder) { views->populateVDList(folder); };
    ops.displayVardeckData = [panel](XmlNode vardeck) { panel->displayVardeckData(vardeck); };
    ops.viewAsList = [views] { views->viewAsList(); };
    ops.viewAsIcons = [views] { views->viewAsIcons(); };
    ops.populateIconList = [views] { views->populateIconList(); };
    if (!ops.setNonEditableFields)
        ops.setNonEditableFields = [&w] { setNonEditableFields(w, false); };

    w.setCommand(QStringLiteral("populateWMOnTopicNode"), [tree](int) { tree->populateWMOnTopicNode(); });
    w.setCommand(QStringLiteral("displayWM"), [views](int) { views->displayWM(); });
    w.setCommand(QStringLiteral("lblWName_Change"), [panel](int) { panel->lblWName_Change(); });
    w.setCommand(QStringLiteral("lblTName_Change"), [panel](int) { panel->lblTName_Change(); });
    w.setCommand(QStringLiteral("mnuAddTopic_Click"), [tree](int) { tree->mnuAddTopic_Click(); });
    w.setCommand(QStringLiteral("mnuEditModifyTopic_Click"), [tree](int) { tree->mnuEditModifyTopic_Click(); });
    w.setCommand(QStringLiteral("mnuNav_Click"), [&w](int index) { mnuNav_Click(w, index); });
    installClipboardCommands(w);
}

} // namespace rr
