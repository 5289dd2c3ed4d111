// The main toolbar, the Aspect toolbar and the status bar.
#include "controls/qbbuttons_h.h"
#include "platform/textutil.h"
#include "shell/frmvardecks.h"
#include "shell/statuspanels.h"
#include "shell/twips.h"

#include <QAction>
#include <QActionGroup>
#include <QMouseEvent>
#include <QToolBar>
#include <QToolButton>

namespace rr
{
namespace
{

struct ToolbarButton {
    int image; // 0 for a separator
    const char *toolTip;
    HandlerRef command;
    int index;
};

// Positions 1 to 24.
constexpr ToolbarButton kToolbar1[] = {
    {1, "Create Vardeck  CTRL+N", &Commands::mnuAddVardeck_Click, 0},
    {2, "Update Vardeck  CTRL+U", &Commands::mnuEditModify_Click, 0},
    {3, "Delete Vardeck  DEL", &Commands::mnuEditDelete_Click, 0},
    {0, "", nullptr, 0},
    {4, "First Vardeck  F2", &Commands::mnuNav_Click, 1},
    {5, "Previous Vardeck  F3", &Commands::mnuNav_Click, 2},
    {6, "Next Vardeck  F4", &Commands::mnuNav_Click, 3},
    {7, "Last Vardeck  F5", &Commands::mnuNav_Click, 4},
    {0, "", nullptr, 0},
    {11, "Search  CTRL+F", &Commands::mnuToolsSearchText_Click, 0},
    {0, "", nullptr, 0},
    {8, "New folder  CTRL+Q", &Commands::mnuAddTopic_Click, 0},
    {9, "Rename folder  CTRL+M", &Commands::mnuEditModifyTopic_Click, 0},
    {10, "Delete folder  SHIFT+DEL", &Commands::mnuEditDeleteTopic_Click, 0},
    {0, "", nullptr, 0},
    {12, "Open Vardeck in Browser  CTRL+INSERT", &Commands::mnuToolsOpen_Click, 0},
    {13, "Get Vardeck from browser  CTRL+G", &Commands::mnuToolsGet_Click, 0},
    {14, "Open blank browser  CTRL+K", &Commands::mnuToolsOpenBlank_Click, 0},
    {0, "", nullptr, 0},
    {15, "User options", &Commands::mnuToolsOptions_Click, 0},
    {16, "Help contents", &Commands::mnuHelpTopics_Click, 0},
    {0, "", nullptr, 0},
    {17, "Save  CTRL-S", &Commands::saveVardeckDetails, 0},
    {18, "Cancel  ESC", &Commands::cancelVardeckEdit, 0},
};

} // namespace

void frmVardecks::buildToolbars()
{
    Toolbar1 = new QToolBar(formClient);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setFloatable(false);
    Toolbar1->setIconSize(QSize(16, 16));
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Toolbar1->setMouseTracking(true);
    Toolbar1->installEventFilter(this);
    int position = 0;
    for (const ToolbarButton &entry : kToolbar1) {
        ++position;
        QAction *button = nullptr;
        if (entry.image == 0) {
            button = Toolbar1->addSeparator();
        } else {
            button = Toolbar1->addAction(ImageListMenu.value(QString::number(entry.image)), QString());
            button->setToolTip(QString::fromLatin1(entry.toolTip));
            connect(button, &QAction::triggered, this, [this, position] { Toolbar1_ButtonClick(Tb(position)); });
        }
        button->setObjectName(QStringLiteral("Toolbar1.Buttons(%1)").arg(position));
        m_toolbarButtons.append(button);
        m_toolTips.append(QString::fromLatin1(entry.toolTip));
        if (QWidget *widget = Toolbar1->widgetForAction(button)) {
            widget->setMouseTracking(true);
            widget->installEventFilter(this);
        }
    }
    // Save and Cancel show only while a Vardeck is edited.
    toolbarButton(Tb::Save)->setVisible(false);
    toolbarButton(Tb::Cancel)->setVisible(false);

    Toolbar2 = new QToolBar(formClient);
    Toolbar2->setObjectName(QStringLiteral("Toolbar2"));
    Toolbar2->setMovable(false);
    Toolbar2->setFloatable(false);
    Toolbar2->setIconSize(QSize(16, 16));
    Toolbar2->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto *group = new QActionGroup(Toolbar2);
    const char *captions[] = {"E&xplorer aspect          ", "We&b aspect          "};
    const char *tips[] = {"Explorer aspect  CTRL+X", "Web aspect  CTRL+B"};
    for (int i = 0; i < 2; ++i) {
        const QString caption = QString::fromLatin1(captions[i]);
        QAction *button = Toolbar2->addAction(ImageList1.value(QString::number(i + 1)), caption);
        // The toolbar shows the caption as given, blanks and access letter included.
        button->setIconText(caption);
        button->setToolTip(QString::fromLatin1(tips[i]));
        button->setObjectName(QStringLiteral("Toolbar2.Buttons(%1)").arg(i + 1));
        button->setCheckable(true);
        button->setChecked(i == 0);
        group->addAction(button);
        const auto aspect = AspectButton(i + 1);
        connect(button, &QAction::triggered, this, [this, aspect] { Toolbar2_ButtonClick(aspect); });
        m_aspectButtons.append(button);
    }
}

void frmVardecks::buildStatusBar()
{
    StatusBar1 = new StatusPanels(4, formClient);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setPanelWidth(1, 3000);
    StatusBar1->setPanelWidth(2, 3000);
    StatusBar1->setPanelWidth(3, 2500);
    StatusBar1->setPanelWidth(4, 1500);
    connect(StatusBar1, &StatusPanels::MouseDown, this,
            [this](Qt::MouseButton button, int, const QPoint &) { statusBar_MouseDown(button); });
}

// ----- the status bar -----

void frmVardecks::statusBar_MouseDown(Qt::MouseButton button)
{
    if (button != Qt::RightButton || !folderShown() || !vardeckShown())
        return;
    popup.textRightClicked(StatusBar1->panelText(int(StatusPanel::FolderPath)));
    popupMenu(MenuId::mnuCopyMenu);
}

void frmVardecks::showMessage(const QString &text)
{
    StatusBar1->setPanelText(int(StatusPanel::Message), text);
}

void frmVardecks::showDatabaseName(const QString &name)
{
    StatusBar1->setPanelText(int(StatusPanel::Database), name);
}

void frmVardecks::forgetFolderPath()
{
    StatusBar1->setFolderPath(QString());
}

void frmVardecks::showPageStatus(const QString &text)
{
    StatusBar1->setPanelText(int(StatusPanel::FolderPath), text);
}

void frmVardecks::pageStatusEnded()
{
    StatusBar1->showFolderPathAgain();
}

QString frmVardecks::pageStatus() const
{
    return StatusBar1->panelText(int(StatusPanel::FolderPath));
}

QAction *frmVardecks::toolbarButton(Tb position) const
{
    return m_toolbarButtons.value(int(position) - 1);
}

QAction *frmVardecks::aspectButton(AspectButton button) const
{
    return m_aspectButtons.value(int(button) - 1);
}

QString frmVardecks::toolbarToolTip(Tb position) const
{
    return m_toolTips.value(int(position) - 1);
}

void frmVardecks::Toolbar1_ButtonClick(Tb position)
{
    if (int(position) < 1 || int(position) > int(std::size(kToolbar1)))
        return;
    const ToolbarButton &entry = kToolbar1[int(position) - 1];
    if (entry.command)
        (commands.*entry.command)(entry.index);
}

void frmVardecks::Toolbar2_ButtonClick(AspectButton button)
{
    if (button == AspectButton::Explorer)
        commands.mnuAspectExplorer_Click();
    else if (button == AspectButton::Web)
        commands.mnuAspectWeb_Click();
    // The pressed button stays the one of the Aspect shown.
    const bool explorer = m_aspect == Aspect::Explorer;
    aspectButton(explorer ? AspectButton::Explorer : AspectButton::Web)->setChecked(true);
}

// The status bar echoes the tool tip of the button under the mouse; over a separator
// the echo is empty. Only the buttons shown take part.
void frmVardecks::Toolbar1_MouseMove(int x)
{
    struct Span {
        int left;
        int width;
        QString tip;
    };
    QList<Span> spans;
    for (qsizetype i = 0; i < m_toolbarButtons.size(); ++i) {
        QWidget *widget = Toolbar1->widgetForAction(m_toolbarButtons[i]);
        if (!m_toolbarButtons[i]->isVisible() || !widget || !widget->isVisible())
            continue;
        spans.append({widget->x(), widget->width(), m_toolTips.value(i)});
    }
    if (spans.isEmpty())
        return;
    const auto echo = [this](const QString &tip) {
        const QString shown = StatusBar1->panelText(int(StatusPanel::Message));
        if (shown.isEmpty() || !m_toolTips.contains(shown))
            m_beforeEcho = shown;
        showMessage(tip);
    };
    for (qsizetype i = 0; i + 1 < spans.size(); ++i) {
        if (spans[i].left < x && x < spans[i + 1].left) {
            echo(spans[i].tip);
            return;
        }
    }
    const Span &last = spans.last();
    if (last.left < x && x < last.left + last.width)
        echo(last.tip);
}

void frmVardecks::endToolTipEcho(Tb position)
{
    const QString tip = toolbarToolTip(position);
    if (!tip.isEmpty() && StatusBar1->panelText(int(StatusPanel::Message)) == tip)
        showMessage(m_beforeEcho);
}

void frmVardecks::dropToolTipEcho(Tb position)
{
    const QString tip = toolbarToolTip(position);
    if (!tip.isEmpty() && StatusBar1->panelText(int(StatusPanel::Message)) == tip)
        showMessage(QString());
}

void frmVardecks::resetToolbarButtons()
{
    using enum Tb;
    for (Tb position :
         {CreateVardeck, AfterVardeckCommands, AfterNavigation, Search, AfterSearch, NewFolder, RenameFolder,
          AfterFolderCommands, GetFromBrowser, OpenBlankBrowser, AfterBrowserCommands, HelpContents})
        toolbarButton(position)->setEnabled(true);
    for (Tb position : {UpdateVardeck, DeleteVardeck, FirstVardeck, PreviousVardeck, NextVardeck, LastVardeck,
                        DeleteFolder, OpenInBrowser, Save})
        toolbarButton(position)->setEnabled(false);
}

} // namespace rr
