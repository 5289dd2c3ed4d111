// Titles as running browsers give them, in the detected-pages dialog: on one line, and a
// title of blanks only replaced by the page's address.
#include "explorer/editingfixture.h"
#include "support/devtoolsserver.h"
#include "support/dialogcontrols.h"
#include "support/firefoxprofile.h"
#include "web/ui/capture.h"
#include "web/ui/frmvardeckdialog.h"

#include <QLabel>
#include <QTreeWidget>

namespace rr::test
{
namespace
{

class CaptureTitlesTest : public EditingTest
{
protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        installCapture(*window);
    }
    void TearDown() override
    {
        setCaptureSettings(std::nullopt);
        EditingTest::TearDown();
    }
    void useSources(QList<quint16> ports)
    {
        CaptureSettings s;
        s.home = profile.home();
        s.ports = ports;
        s.display = QStringLiteral(":none");
        s.ownCaption = window->windowTitle();
        s.timeoutMs = 10000;
        setCaptureSettings(s);
    }

    FirefoxProfile profile;
};

} // namespace

TEST_F(CaptureTitlesTest, theDialogListsEachTitleOnOneLineAndABlankTitleAsTheAddress)
{
    openDb();
    profile.writeSession(
        R"({"windows":[{"tabs":[{"entries":[{"url":"https://two.example/","title":"First line\nsecond line"}]},)"
        R"({"entries":[{"url":"https://blank.example/","title":"   "}]}]}]})");
    DevToolsServer server;
    server.setTargets(
        {{"page", "\t \r\n", "https://tabs.example/"}, {"page", " Padded\r\nout ", "https://pad.example/"}});
    useSources({server.port()});
    QStringList listed;
    QStringList shown;
    whileModal<frmVardeckDialog>(
        [&](frmVardeckDialog *d) {
            for (int i = 0; i < dialogControl<QTreeWidget>(*d, "tvwDetected")->topLevelItemCount(); ++i) {
                dialogControl<QTreeWidget>(*d, "tvwDetected")
                    ->setCurrentItem(dialogControl<QTreeWidget>(*d, "tvwDetected")->topLevelItem(i));
                listed << dialogControl<QTreeWidget>(*d, "tvwDetected")->topLevelItem(i)->text(0);
                shown << dialogControl<QLabel>(*d, "lblName")->text();
            }
            d->reject();
        },
        [&] { menu(MenuId::mnuToolsGet); });
    const QStringList expected = {"First line second line", "https://blank.example/", "https://tabs.example/",
                                  "Padded out"};
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(shown, expected);
}

} // namespace rr::test
