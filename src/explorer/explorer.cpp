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

ExplorerParts installExplorer(frmVardecks &w)
{
    auto *tree = new FolderTree(w);
    auto *views = new VardeckViews(w);
    DetailsPanel &panel = installDetailsPanel(w);

    Commands &c = w.commands;
    c.populateTopicList = [tree](XmlDocument *doc) { tree->populateTopicList(doc); };
    c.populateWMOnTopicNode = [tree] { tree->populateWMOnTopicNode(); };
    c.populateTreeWithTopic = [tree](const XmlNode &folder, QTreeWidgetItem *parent, bool expand) {
        tree->populateTreeWithTopic(folder, parent, expand);
    };
    c.scheduleRebuild = [tree] { tree->scheduleRebuild(); };
    c.tvwTopics_NodeClick = [tree](QTreeWidgetItem *node) { tree->tvwTopics_NodeClick(node); };
    c.showNewFolderDialog = [tree](const QString &parentTID) { tree->showNewFolderDialog(parentTID); };
    c.populateVardeckList = [views](QTreeWidgetItem *node) { views->populateVardeckList(node); };
    c.populateVDList = [views](XmlNode folder) { views->populateVDList(folder); };
    c.viewAsList = [views] { views->viewAsList(); };
    c.viewAsIcons = [views] { views->viewAsIcons(); };
    c.populateIconList = [views] { views->populateIconList(); };
    c.setNonEditableFields = [&w] { setNonEditableFields(w, false); };

    c.displayWM = [views](int) { views->displayWM(); };
    c.listVD_DblClick = [views](int) { views->listVD_DblClick(); };
    c.mnuAddTopic_Click = [tree](int) { tree->mnuAddTopic_Click(); };
    c.mnuEditModifyTopic_Click = [tree](int) { tree->mnuEditModifyTopic_Click(); };
    c.mnuNav_Click = [&w](int index) { mnuNav_Click(w, index); };
    installClipboardCommands(w);
    return {*tree, *views, panel};
}

} // namespace rr
