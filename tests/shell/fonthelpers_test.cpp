// The font helpers, the browser path lookup, the error box and the caption and tool-tip text helpers.
#include "platform/runtimeerror.h"
#include "platform/textutil.h"
#include "shell/fonthelpers.h"
#include "storage/registryfunctions.h"
#include "storage/settingsstore.h"
#include "windowfixture.h"

#include <QFile>
#include <QTemporaryDir>

namespace
{

using FontTest = rr::test::MainWindowTest;

TEST_F(FontTest, sizeZeroMeansEightAndSingleLineBoxesTakeTheHeightOfTheSize)
{
    int zero = 0;
    rr::applyFontSize(*window, zero);
    EXPECT_EQ(zero, 8) << "also for the caller";
    for (QWidget *control : {static_cast<QWidget *>(window->tvwTopics), static_cast<QWidget *>(window->txtNotes),
                             static_cast<QWidget *>(window->lblWName)})
        EXPECT_EQ(control->font().pointSize(), 8) << qPrintable(control->objectName());

    struct Case {
        int size;
        int address, name, search; // twips; 0 = unchanged
    };
    const Case cases[] = {{9, 280, 280, 280}, {10, 0, 300, 300}, {11, 0, 300, 300}, {12, 0, 0, 0}};
    for (const Case &c : cases) {
        window->txtAddress->resize(100, 33);
        window->txtWName->resize(100, 33);
        window->txtS->resize(100, 33);
        int size = c.size;
        rr::applyFontSize(*window, size);
        auto expected = [](int twips) { return twips ? rr::twips::toPx(twips) : 33; };
        EXPECT_EQ(window->txtAddress->height(), expected(c.address)) << c.size;
        EXPECT_EQ(window->txtWName->height(), expected(c.name)) << c.size;
        EXPECT_EQ(window->txtS->height(), expected(c.search)) << c.size;
        EXPECT_EQ(window->lstSearch->font().pointSize(), c.size);
    }
}

TEST(FormFont, everyControlButThoseInVerdanaTakesTheFallback)
{
    QWidget form;
    auto *plain = new QLabel("plain", &form);
    QFont big = plain->font();
    big.setPointSize(14);
    big.setBold(true);
    plain->setFont(big);
    auto *verdana = new QLabel("version", &form);
    verdana->setFont(QFont("Verdana", 9));
    rr::setFormFont(&form, "MS Sans Serif");
    EXPECT_EQ(plain->font().family(), "MS Sans Serif");
    EXPECT_EQ(plain->font().pointSize(), 14);
    EXPECT_TRUE(plain->font().bold());
    EXPECT_EQ(verdana->font().family(), "Verdana");
}

TEST(AppPath, theRegistryEntryComesFirstThenThePath)
{
    rr::test::TempHome home;
    QTemporaryDir bin;
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());

    EXPECT_EQ(rr::getAppPathFromRegistry("Opera.exe"), "") << "no Opera anywhere";
    EXPECT_EQ(rr::getAppPathFromRegistry("IEXPLORE.EXE"), "");

    ASSERT_TRUE(rr::test::writeBytes(bin.path() + "/firefox-esr", "#!/bin/sh\n"));
    QFile(bin.path() + "/firefox-esr").setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(rr::getAppPathFromRegistry("firefox.exe"), bin.path() + "/firefox-esr");
    EXPECT_EQ(rr::getAppPathFromRegistry("Netscape.exe"), "") << "a browser that exists only on Windows";

    const QString key = QLatin1String(rr::SettingsStore::kAppPathsKey) + "\\Opera.exe";
    rr::RegistryFunctions::WriteValue(rr::reg::HKEY_LOCAL_MACHINE, key, QString(), "/opt/opera/opera");
    EXPECT_EQ(rr::getAppPathFromRegistry("Opera.exe"), "/opt/opera/opera");
    qputenv("PATH", savedPath);
}

TEST(ReportError, showsAndReturnsTheNumberAndTheTextOfTheNumber)
{
    rr::test::ScriptedPrompts prompts;
    EXPECT_EQ(rr::reportError(53), "[53] File not found");
    EXPECT_EQ(rr::reportError(440, "The server said no"), "[440] The server said no");
    ASSERT_EQ(prompts.messages().size(), 2u);
    EXPECT_EQ(prompts.messages()[0].text, "[53] File not found");
    EXPECT_EQ(prompts.messages()[0].title, "Razuzezu Revidod");
    EXPECT_EQ(prompts.messages()[0].buttons, rr::MsgButtons::Ok);
    EXPECT_EQ(rr::runtimeErrorText(5), "Invalid procedure call or argument");
    EXPECT_EQ(rr::runtimeErrorText(12345), "Application-defined or object-defined error") << "the fallback";
}

TEST(CaptionText, ampersandsAndMarkupFromUserDataShowLiterally)
{
    EXPECT_EQ(rr::escapeMnemonic("Fish & Chips"), "Fish && Chips");
    EXPECT_EQ(rr::escapeMnemonic("A&&B"), "A&&&&B");
    EXPECT_EQ(rr::stripMnemonic("Save && E&xit"), "Save & Exit");
    EXPECT_EQ(rr::stripMnemonic(rr::escapeMnemonic("R&D & co")), "R&D & co");
    EXPECT_EQ(rr::toolTipText("http://a.example/?x=1&y=2"), "http://a.example/?x=1&y=2");
    EXPECT_EQ(rr::toolTipText("<b>bold</b>  name"), "<p style='white-space:pre'>&lt;b&gt;bold&lt;/b&gt;  name</p>");
}

} // namespace
