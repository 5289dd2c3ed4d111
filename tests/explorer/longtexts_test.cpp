// A Vardeck and a folder whose texts in the file run to millions of letters, in the
// main window: shown at once, cut to what can be shown, and kept whole.
#include "explorerfixture.h"
#include "platform/gui/partoperations.h"
#include "platform/gui/textboxes.h"
#include "platform/textutil.h"
#include "shell/detailsoperations.h"
#include "shell/statuspanels.h"
#include "support/windowcontrols.h"

#include <QPlainTextEdit>

#include <QElapsedTimer>

using namespace rr;
using namespace rr::test;

TEST_F(ExplorerTest, aVardeckWithTextsOfMillionsOfLettersIsShownAtOnceCutAndItsFieldsKeepTheWholeTexts)
{
    const QByteArray name(10'000'000, 'v');
    const QByteArray description(1'000'000, 'd');
    const QByteArray keywords(1'000'000, 'k');
    const QByteArray folder(10'000'000, 'f');
    const QByteArray huge = "<VARDECK WID=\"W1\"><NAME>" + name +
                            "</NAME><ADDRESS>http://a.example/</ADDRESS>"
                            "<DESCRIPTION>" +
                            description + "</DESCRIPTION><KEYWORD1>" + keywords + "</KEYWORD1></VARDECK>";
    openDatabase("<FOLDERS>" + folderXml("T1", folder, huge) + "</FOLDERS>");
    QElapsedTimer clock;
    clock.start();
    showVardeck("T1", "W1");
    (void)window->grab();
    EXPECT_LT(clock.elapsed(), 3000);
    const QString cut = QString(kMostShownLetters, 'v') + QChar(0x2026);
    EXPECT_EQ(lblWName(*window)->text(), cut);
    EXPECT_EQ(lblDescription(*window)->text(), QString(kMostShownLetters, 'd') + QChar(0x2026));
    EXPECT_EQ(lblKeyWords(*window)->text(), QString(kMostShownLetters, 'k') + QChar(0x2026));
    EXPECT_EQ(node("T1")->text(0), QString(kMostShownLetters, 'f') + QChar(0x2026));
    EXPECT_EQ(window->folderCaption(), QString(kMostShownLetters, 'f') + QChar(0x2026));
    EXPECT_EQ(StatusBar1(*window)->panelText(2), "\\" + QString(kMostShownLetters - 1, 'f') + QChar(0x2026));
    // The boxes show as much as they lay out at once; the fields they edit stay whole.
    EXPECT_EQ(txtDescription(*window)->toPlainText(), QString(kMostEditedLetters, 'd'));
    EXPECT_EQ(txtKeywords(*window)->toPlainText(), QString(kMostEditedLetters, 'k'));
    const DetailsOperations &details = operationsOf<DetailsOperations>(*window);
    EXPECT_EQ(details.detailsText(DetailsField::DescriptionBox).size(), description.size());
    EXPECT_EQ(details.detailsText(DetailsField::KeywordsBox).size(), keywords.size());
    EXPECT_EQ(details.detailsText(DetailsField::NameBox).size(), name.size());
}
