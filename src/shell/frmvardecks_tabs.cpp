// The three tab strips and the View menu, whose commands select tabs.
#include "controls/qbbuttons_h.h"
#include "platform/gui/itemtags.h"
#include "platform/textutil.h"
#include "shell/frmvardecks.h"
#include "shell/splitter.h"
#include "shell/statuspanels.h"
#include "shell/tabstrip.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>
#include <QTreeWidget>

namespace rr
{

void frmVardecks::wireTabStrips()
{
    connect(tabIndex, &TabStrip::Click, this, &frmVardecks::tabIndex_Click);
    connect(tabIndex, &TabStrip::GotFocus, this, &frmVardecks::tabIndex_GotFocus);
    connect(tabIndex, &TabStrip::MouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint &) { tabIndex_MouseDown(button); });
    connect(tabView, &TabStrip::MouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint &) { tabView_MouseDown(button); });
    connect(tabInfo, &TabStrip::MouseDown, this,
            [this](Qt::MouseButton button, Qt::KeyboardModifiers, const QPoint &) { tabInfo_MouseDown(button); });
    connect(tabIndex, &TabStrip::MouseMove, this, [this] { tabIndex_MouseMove(); });
    connect(tabInfo, &TabStrip::MouseMove, this, [this] { tabInfo_MouseMove(); });
    // The preview pane decides what a Details, Preview or Notes click loads.
    connect(tabInfo, &TabStrip::Click, this, [this](int previousTab) {
        if (hasCommand(QStringLiteral("tabInfo_Click")))
            runCommand(QStringLiteral("tabInfo_Click"), previousTab);
    });
}

void frmVardecks::registerOwnCommands()
{
    const QList<std::pair<QString, void (frmVardecks::*)()>> own = {
        {QStringLiteral("mnuViewIndex_Click"), &frmVardecks::mnuViewIndex_Click},
        {QStringLiteral("mnuViewSearch_Click"), &frmVardecks::mnuViewSearch_Click},
        {QStringLiteral("mnuViewFavs_Click"), &frmVardecks::mnuViewFavs_Click},
        {QStringLiteral("mnuViewPop_Click"), &frmVardecks::mnuViewPop_Click},
        {QStringLiteral("mnuViewSearchResults_Click"), &frmVardecks::mnuViewSearchResults_Click},
        {QStringLiteral("mnuViewVardecks_Click"), &frmVardecks::mnuViewVardecks_Click},
        {QStringLiteral("mnuViewDetails_Click"), &frmVardecks::mnuViewDetails_Click},
        {QStringLiteral("mnuViewPreview_Click"), &frmVardecks::mnuViewPreview_Click},
        {QStringLiteral("mnuViewNotes_Click"), &frmVardecks::mnuViewNotes_Click},
        {QStringLiteral("showAspectExplorer"), &frmVardecks::showAspectExplorerDefault},
    };
    for (const auto &[name, method] : own)
        setCommand(name, [this, method](int) { (this->*method)(); });
    // Aspect > Explorer switches only when it is not the Aspect shown already.
    setCommand(QStringLiteral("mnuAspectExplorer_Click"), [this](int) {
        if (!menuItem(QStringLiteral("mnuAspectExplorer"))->isChecked())
            runCommand(QStringLiteral("showAspectExplorer"));
    });
}

// The frame's own part of the switch to the Explorer Aspect: the Explorer panes
// shown, the Web Aspect's pane and strip hidden, the check marks moved. The Web
// Aspect replaces it with the full switch once it exists.
void frmVardecks::showAspectExplorerDefault()
{
    menuItem(QStringLiteral("mnuAspectWeb"))->setChecked(false);
    menuItem(QStringLiteral("mnuAspectExplorer"))->setChecked(true);
    Splitter2->setVisible(true);
    wbWeb->setVisible(false);
    Picture2->setVisible(false);
    StatusBar1->setPanelText(2, QString());
    currentAspect = QStringLiteral("Explorer");
    aspectButton(1)->setChecked(true);
}

void frmVardecks::prepareSearchBox()
{
    if (QLineEdit *edit = cmbSearch->lineEdit())
        edit->selectAll();
}

void frmVardecks::restLinkLabels()
{
    for (QLabel *link : {lblAddress, lblHome}) {
        QFont f = link->font();
        f.setUnderline(false);
        link->setFont(f);
        link->setStyleSheet(QStringLiteral("color: rgb(30,100,200);"));
    }
}

void frmVardecks::tabIndex_Click(int previousTab)
{
    Q_UNUSED(previousTab);
    const int tab = tabIndex->Tab();
    if (tab == 1) {
        cmdSearch->setVisible(true);
        setDefaultButton(cmdSearch);
        for (QWidget *w : {static_cast<QWidget *>(cmdMoveFolder), static_cast<QWidget *>(cmdMoveVD),
                           static_cast<QWidget *>(cmdFAdd), static_cast<QWidget *>(cmdFDelete)})
            w->setVisible(false);
        prepareSearchBox();
        cmbSearch->setFocus();
        for (int index : {2, 11, 12})
            lbl(index)->setVisible(false);
    }
    if (tab == 2) {
        if (dbXML.isOpen() && tvwFavs->topLevelItemCount() == 0) {
            favsColl.clear();
            runCommand(QStringLiteral("populateFavsList"));
        }
        lbl(2)->setVisible(true);
        lbl(11)->setVisible(false);
        lbl(12)->setVisible(false);
        cmdFAdd->setVisible(true);
        cmdFDelete->setVisible(true);
        cmdSearch->setVisible(false);
        cmdMoveFolder->setVisible(false);
        cmdMoveVD->setVisible(false);
        setDefaultButton(cmdFAdd);
    }
    if (tab == 0) {
        cmdSearch->setVisible(false);
        cmdMoveFolder->setVisible(true);
        cmdMoveVD->setVisible(true);
        cmdFAdd->setVisible(false);
        cmdFDelete->setVisible(false);
        lbl(2)->setVisible(false);
        lbl(11)->setVisible(true);
        lbl(12)->setVisible(true);
        if (tvwWM->topLevelItemCount() == 0) {
            QTreeWidgetItem *selected = tvwTopics->currentItem();
            const bool isFirstNode = selected && selected == tvwTopics->topLevelItem(0);
            if (selected && selected->isSelected() && !isFirstNode && !sameText(tagOf(selected), currentTID()))
                runCommand(QStringLiteral("populateWMOnTopicNode"));
        }
    }
}

void frmVardecks::tabIndex_GotFocus()
{
    if (tabIndex->Tab() == 1)
        setDefaultButton(cmdSearch);
}

void frmVardecks::tabIndex_MouseDown(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        popupMenu(QStringLiteral("mnuNoVD"));
}

void frmVardecks::tabView_MouseDown(Qt::MouseButton button)
{
    if (button == Qt::RightButton)
        popupMenu(QStringLiteral("mnuNoVD"));
}

void frmVardecks::tabInfo_MouseDown(Qt::MouseButton button)
{
    if (button != Qt::RightButton)
        return;
    if (editState() != EditState::Viewing)
        return;
    if (vardeckShown() && folderShown())
        popupMenu(QStringLiteral("mnuCopyMenu"));
    else
        popupMenu(QStringLiteral("mnuNoVD"));
}

void frmVardecks::tabIndex_MouseMove()
{
    Splitter1->setToolTip(QString());
    Splitter2->setToolTip(QString());
    StatusBar1->setPanelText(1, QString());
    restLinkLabels();
}

void frmVardecks::tabInfo_MouseMove()
{
    restLinkLabels();
}

// ----- View menu -----

void frmVardecks::mnuViewIndex_Click()
{
    tabIndex->setTab(0);
    runCommand(QStringLiteral("showAspectExplorer"));
}

void frmVardecks::mnuViewSearch_Click()
{
    tabIndex->setTab(1);
    runCommand(QStringLiteral("showAspectExplorer"));
}

void frmVardecks::mnuViewFavs_Click()
{
    tabIndex->setTab(2);
    runCommand(QStringLiteral("showAspectExplorer"));
}

void frmVardecks::mnuViewPop_Click()
{
    tabIndex->setTab(3);
    runCommand(QStringLiteral("showAspectExplorer"));
}

void frmVardecks::mnuViewSearchResults_Click()
{
    runCommand(QStringLiteral("showAspectExplorer"));
    if (!tabView->isHidden()) {
        tabView->tabBar()->setFocus();
        tabView->setTab(2);
    }
}

void frmVardecks::mnuViewVardecks_Click()
{
    runCommand(QStringLiteral("showAspectExplorer"));
    if (!tabView->isHidden()) {
        tabView->tabBar()->setFocus();
        tabView->setTab(1);
    }
}

void frmVardecks::mnuViewDetails_Click()
{
    tabView->setTab(0);
    if (!tabInfo->isHidden()) {
        tabInfo->tabBar()->setFocus();
        tabInfo->setTab(0);
    }
    runCommand(QStringLiteral("showAspectExplorer"));
}

void frmVardecks::mnuViewPreview_Click()
{
    tabView->setTab(0);
    if (!tabInfo->isHidden()) {
        tabInfo->tabBar()->setFocus();
        tabInfo->setTab(1);
    }
    runCommand(QStringLiteral("showAspectExplorer"));
}

void frmVardecks::mnuViewNotes_Click()
{
    tabView->setTab(0);
    if (!tabInfo->isHidden()) {
        tabInfo->tabBar()->setFocus();
        tabInfo->setTab(2);
    }
    runCommand(QStringLiteral("showAspectExplorer"));
}

} // namespace rr
