// What the frame, the options dialog, the finding panes and the Explorer ask of the web
// panes through the window: each install offers its part's operations, a call reaches
// the part's work, and a window without the parts runs the calls as nothing.
#include "explorer/detailspanel.h"
#include "platform/gui/partoperations.h"
#include "shell/aspectoperations.h"
#include "shell/captureoperations.h"
#include "shell/frmvardecks.h"
#include "shell/previewoperations.h"
#include "shell/statuspanels.h"
#include "shell/webaspectoperations.h"
#include "storage/session.h"
#include "storage/settingsstore.h"
#include "storage/useroptions.h"
#include "support/renderingstandin.h"
#include "support/testenv.h"
#include "support/windowcontrols.h"
#include "web/ui/aspects.h"
#include "web/ui/capture.h"
#include "web/ui/preview.h"
#include "web/ui/webaspect.h"

#include <QApplication>
#include <QCheckBox>
#include <gtest/gtest.h>

using namespace rr;
using namespace rr::test;

namespace
{

class WebPaneOperationsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<frmVardecks>();
        window->LoadDynamicMenus();
        window->resetToolbarButtons();
        window->resetMenuItems();
        installDetailsPanel(*window);
        installAspects(*window);
        installWebAspect(*window);
        installPreview(*window);
        installCapture(*window);
        // No browser runs: no profile in the home folder, no debugging port, no display.
        CaptureSettings none;
        none.home = home.path() + QStringLiteral("/nobody");
        none.display = QStringLiteral(":none");
        setCaptureSettings(none);
        window->show();
    }
    void TearDown() override
    {
        setCaptureSettings(std::nullopt);
        session().webAspectHtml = false;
    }

    ScriptedPrompts prompts;
    TempHome home;
    std::unique_ptr<frmVardecks> window;
};

TEST_F(WebPaneOperationsTest, eachWebPaneOffersItsOperationsOnTheWindowAndAWindowWithoutThemRunsNothing)
{
    EXPECT_EQ(&operationsOf<WebAspectOperations>(*window), static_cast<WebAspectOperations *>(WebAspect::of(*window)));
    EXPECT_EQ(&operationsOf<PreviewOperations>(*window), static_cast<PreviewOperations *>(PreviewPane::of(*window)));
    EXPECT_TRUE(operationsOffered<AspectOperations>(*window));
    EXPECT_TRUE(operationsOffered<CaptureOperations>(*window));

    frmVardecks bare;
    EXPECT_FALSE(operationsOffered<AspectOperations>(bare));
    EXPECT_FALSE(operationsOffered<WebAspectOperations>(bare));
    EXPECT_FALSE(operationsOffered<PreviewOperations>(bare));
    EXPECT_FALSE(operationsOffered<CaptureOperations>(bare));
    operationsOf<AspectOperations>(bare).showAspectWeb();
    EXPECT_EQ(bare.currentAspect(), "Explorer");
    EXPECT_EQ(operationsOf<CaptureOperations>(bare).getOpenBrowserPages(false), 0);
}

TEST_F(WebPaneOperationsTest, theAspectSwitchShowsTheAspectAskedForAndHasTheWebAspectFormatItsPage)
{
    RenderingStandIn rendering(*window);
    QStringList formatted;
    rendering.applyStyle = [&](const QString &style) { formatted << style; };
    session().webAspectHtml = false;
    session().currentAspectStyle = QStringLiteral("VDFavs.xsl");
    AspectOperations &aspects = operationsOf<AspectOperations>(*window);

    aspects.showAspectWeb();
    EXPECT_EQ(window->currentAspect(), "Web");
    EXPECT_EQ(formatted, QStringList{SettingsStore::getAspectStyle()}) << "a blank pane takes the stored style";
    aspects.showAspectExplorer();
    EXPECT_EQ(window->currentAspect(), "Explorer");
}

TEST_F(WebPaneOperationsTest, theBoxesOfThePreviewAndTheWebAspectShowTheOptionsTheyAreAskedTo)
{
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on);
        appOptions().setAutoPreview(on);
        operationsOf<PreviewOperations>(*window).showAutoPreviewOption();
        EXPECT_EQ(chkAutoPreview(*window)->isChecked(), on);
        session().webAspectHtml = !on;
        operationsOf<WebAspectOperations>(*window).showWebAspectFormatting();
        EXPECT_EQ(chkWebAspectBrowser(*window)->isChecked(), on);
    }
    appOptions().setAutoPreview(true);
    operationsOf<PreviewOperations>(*window).showAutoPreviewOption();
    operationsOf<PreviewOperations>(*window).untickAutoPreview();
    EXPECT_FALSE(chkAutoPreview(*window)->isChecked());
    EXPECT_TRUE(appOptions().getAutoPreview()) << "the option is kept";
}

TEST_F(WebPaneOperationsTest, thePreviewSaysWhyItShowsNoPageForAnAddressItMayNotLoad)
{
    operationsOf<PreviewOperations>(*window).navigatePreview(QStringLiteral("javascript:alert(1)"));
    EXPECT_EQ(StatusBar1(*window)->panelText(2), "The preview shows only web pages and files: javascript:alert(1)");
}

TEST_F(WebPaneOperationsTest, aScanWithNoBrowserRunningFindsNoPageAndOpensNoDialog)
{
    CaptureOperations &capture = operationsOf<CaptureOperations>(*window);
    EXPECT_EQ(capture.getOpenBrowserPages(false), 0);
    EXPECT_TRUE(window->detectedPages().isEmpty());
    capture.showDetectedPagesDialog();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
