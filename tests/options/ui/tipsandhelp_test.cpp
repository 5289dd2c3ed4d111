#include "controls/qbbuttons_h.h"
#include "options/optionsfixture.h"
#include "options/ui/frmhelp.h"
#include "options/ui/frmtips.h"
#include "shell/menutable.h"
#include "storage/useroptions.h"
#include "support/fakelauncher.h"
#include "support/testenv.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <QTextEdit>
#include <QUrl>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

class TipsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        appOptions().setLastTip(QString());
        appOptions().setTipStartup(false);
        appOptions().setFontSize(10);
        appOptions().setDefaultBrowser(QString());
    }
    void TearDown() override { delete frmTips::existing(); }

    // Opens the tip window as the Help menu does.
    frmTips *open()
    {
        frmTips::showTips(nullptr);
        return frmTips::existing();
    }
    void closeWith(frmTips *tips, bool escape)
    {
        if (escape)
            QTest::keyClick(tips, Qt::Key_Escape);
        else
            tips->cmdCancel->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

} // namespace

TEST_F(TipsTest, eachOpeningShowsTheNextTipAndAChosenTitleLeavesTheRotation)
{
    appOptions().setLastTip("52");
    for (int position : {1, 2}) {
        frmTips *tips = open();
        ASSERT_EQ(tips->cmbTips->currentIndex(), position - 1);
        EXPECT_EQ(tips->lblTipText->toPlainText(), tips->tipList[position - 1].getTipLongText());
        EXPECT_EQ(appOptions().getLastTip(), QString::number(position));
        closeWith(tips, position == 2);
        ASSERT_EQ(frmTips::existing(), nullptr);
    }

    // Choosing a title shows it and its page but leaves the rotation; the box stores tip start-up inverted.
    appOptions().setLastTip("4");
    appOptions().setTipStartup(true);
    frmTips *tips = open();
    EXPECT_EQ(tips->cmbTips->count(), 52);
    EXPECT_EQ(tips->lblTipText->font().pointSize(), 10);
    EXPECT_FALSE(tips->chkShow->isChecked());
    tips->chkShow->click();
    EXPECT_FALSE(appOptions().getTipStartup());

    tips->cmbTips->setCurrentIndex(29);
    emit tips->cmbTips->activated(29);
    EXPECT_EQ(tips->currentTip.getTipShortText(), "Dragging and dropping");
    EXPECT_TRUE(tips->lblTipText->toPlainText().startsWith("Drag a Vardeck from the list"));
    // Opening it again while it is open only brings it forward.
    EXPECT_EQ(open(), tips);
    EXPECT_EQ(tips->currentTip.getTipShortText(), "Dragging and dropping");

    // The links open the shown tip's help page and the FAQ.
    test::ScriptedPrompts prompts;
    test::FakeLauncher launcher;
    test::RecordingViewer viewer;
    QTest::mouseClick(tips->lblReadMore, Qt::LeftButton, {}, QPoint(4, 4));
    QTest::mouseClick(tips->lblURL, Qt::LeftButton, {}, QPoint(4, 4));
    QCoreApplication::processEvents();
    EXPECT_EQ(viewer.pages, QStringList({"Browser_drag_drop.htm"}));
    EXPECT_EQ(launcher.openedUrls(), QStringList({"https://www.quorvane.example/Vardecks/faq.htm"}));
    EXPECT_TRUE(prompts.messages().empty());
    closeWith(tips, true);
    EXPECT_EQ(open()->cmbTips->currentText(), "The Web aspect");
}

TEST(HelpWindow, opensPagesByNameFollowsHelpLinksAndSendsOtherLinksToTheDesktop)
{
    test::ScriptedPrompts prompts;
    test::FakeLauncher launcher;
    installHelpWindow();
    HTMLHelp help;
    help.CHMFile = HTMLHelp::defaultHelpFile();
    ASSERT_TRUE(help.HHDisplayContents());
    frmHelp *window = frmHelp::existing();
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_EQ(window->currentPage(), "index.htm");
    // The contents page first, then each page it lists once.
    ASSERT_EQ(window->lstContents->count(), 37);
    EXPECT_EQ(window->lstContents->currentItem()->text(), "Contents");

    help.HHTopicURL = "Web_Aspect.htm";
    ASSERT_TRUE(help.HHDisplayTopicURL());
    EXPECT_EQ(window->lstContents->currentItem()->text(), "The Web Aspect");
    EXPECT_EQ(window->windowTitle(), "Razuzezu Revidod Help - The Web Aspect");

    emit window->txtPage->anchorClicked(QUrl("Printing.htm"));
    EXPECT_EQ(window->currentPage(), "Printing.htm");
    window->cmdBack->trigger();
    EXPECT_EQ(window->currentPage(), "Web_Aspect.htm");
    window->cmdForward->trigger();
    EXPECT_EQ(window->currentPage(), "Printing.htm");
    window->cmdContents->trigger();
    EXPECT_EQ(window->currentPage(), "index.htm");

    emit window->txtPage->anchorClicked(QUrl("https://www.example.org/x"));
    emit window->txtPage->anchorClicked(QUrl("../DeVivozoda/Vardecks.xml"));
    EXPECT_EQ(window->currentPage(), "index.htm");
    ASSERT_EQ(launcher.openedUrls().size(), 2);
    EXPECT_EQ(launcher.openedUrls()[0], "https://www.example.org/x");
    EXPECT_TRUE(launcher.openedUrls()[1].endsWith("/DeVivozoda/Vardecks.xml"));
    EXPECT_TRUE(prompts.messages().empty());
    helpviewer::install(nullptr);
    delete window;
}

TEST(HelpWindow, theShortcutPageListsEveryKeyOfTheMenus)
{
    QFile file(HTMLHelp::defaultHelpFile() + "/Shortcut_Keys.htm");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    static const QRegularExpression keyCell("<tr><td>([^<]+)</td>");
    QSet<QString> listed;
    for (auto it = keyCell.globalMatch(QString::fromUtf8(file.readAll())); it.hasNext();)
        listed.insert(QKeySequence::fromString(it.next().captured(1)).toString());
    QStringList keys = {"F2", "F3", "F4", "F5", "Ctrl+S", "Esc"};
    for (const MenuEntry &entry : mainMenuTable())
        if (!entry.shortcut.isEmpty())
            keys << entry.shortcut;
    for (const QString &key : keys)
        EXPECT_TRUE(listed.contains(QKeySequence::fromString(key).toString())) << "missing " << key.toStdString();
}
