// Fields longer than the details panel's boxes lay out at once: shown in part with a
// sentence that says so, and kept whole while their box is left alone.
#include "editingfixture.h"
#include "platform/gui/textboxes.h"
#include "support/windowcontrols.h"

#include <QClipboard>
#include <QMimeData>
#include <QTextBlock>
#include <QTextLayout>

using namespace rr;
using namespace rr::test;

namespace
{

const QString kLongNotice = QStringLiteral("This text has %1 letters: the box shows the first 100,000.  It is kept "
                                           "whole unless you change it here; a change keeps what the box holds.");

class LongFieldsTest : public EditingTest
{
protected:
    // W1 in T1 with a name of 40,000 letters, a description of a million on one line,
    // keywords of 150,000 in words and notes of ten million.
    void openLongVardeck()
    {
        name = QString(40'000, 'N');
        description = QString(1'000'000, 'd');
        keywords = QString("key ").repeated(37'500);
        notes = QString(10'000'000, 'n');
        const VD vardeck{"W1", name,   "http://long.example/", "06 Dec 2026", description, keywords, notes, "", "3",
                         "2",  "FALSE"};
        openDb("<FOLDERS>" + folderXml("T1", "zebra", vardeck.xml()) + "</FOLDERS>");
        showVardeck("T1", "W1");
    }
    static QString noticeOf(QWidget *box)
    {
        if (auto *rich = dynamic_cast<TextBox *>(box))
            return rich->noticeShown();
        return dynamic_cast<PlainTextBox *>(box)->noticeShown();
    }
    QString name, description, keywords, notes;
};

// Shown and in an update, each box holds what it lays out at once and says what it left
// out; a change of the address (and a paste of nothing) saves the address alone, every
// other field as it was.
TEST_F(LongFieldsTest, anUpdateSavesTheFieldsLeftAloneExactlyHoweverLongTheyAre)
{
    openLongVardeck();
    EXPECT_EQ(txtNotes(*window)->toPlainText(), QString(kMostEditedLetters, 'n'));
    EXPECT_EQ(noticeOf(txtNotes(*window)), kLongNotice.arg("10,000,000"));

    menu(MenuId::mnuEditModify);
    ASSERT_EQ(window->editState(), EditState::Modifying);
    EXPECT_EQ(txtWName(*window)->text(), QString(kMostLineLetters, 'N'));
    EXPECT_EQ(lineNoticeShown(txtWName(*window)), "32,767 of 40,000 letters shown: kept whole unless changed");
    EXPECT_EQ(lineNoticeShown(txtAddress(*window)), "");
    EXPECT_EQ(txtDescription(*window)->toPlainText(), QString(kMostEditedLetters, 'd'));
    EXPECT_EQ(noticeOf(txtDescription(*window)), kLongNotice.arg("1,000,000"));
    // Its lines are as wide as the box shows them, the scroll bar and the sentence placed.
    settle();
    EXPECT_LE(txtDescription(*window)->document()->firstBlock().layout()->lineAt(0).width(),
              txtDescription(*window)->viewport()->width());
    EXPECT_EQ(txtKeywords(*window)->toPlainText(), keywords.left(kMostEditedLetters));
    EXPECT_EQ(noticeOf(txtKeywords(*window)), kLongNotice.arg("150,000"));

    // A paste while the clipboard holds nothing leaves the description as it was.
    QGuiApplication::clipboard()->setMimeData(new QMimeData);
    press(txtDescription(*window), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(window->editState(), EditState::Modifying);
    txtAddress(*window)->selectAll();
    typeInto(txtAddress(*window), "http://moved.example/");
    save();
    ASSERT_EQ(window->editState(), EditState::Viewing);
    const XmlNode saved = stored("W1");
    EXPECT_EQ(saved.childText("ADDRESS"), "http://moved.example/");
    EXPECT_EQ(saved.childText("NAME"), name);
    EXPECT_EQ(saved.childText("DESCRIPTION"), description);
    EXPECT_EQ(saved.childText("KEYWORD1"), keywords);
    EXPECT_EQ(saved.childText("NOTES"), notes);
}

// A long field that is changed keeps what its box holds, as its sentence says; the others
// stay whole.
TEST_F(LongFieldsTest, aChangedLongFieldKeepsWhatItsBoxHolds)
{
    openLongVardeck();
    menu(MenuId::mnuEditModify);
    txtDescription(*window)->setFocus();
    txtDescription(*window)->moveCursor(QTextCursor::End);
    press(txtDescription(*window), Qt::Key_Backspace);
    save();
    const XmlNode saved = stored("W1");
    EXPECT_EQ(saved.childText("DESCRIPTION"), QString(kMostEditedLetters - 1, 'd'));
    EXPECT_EQ(saved.childText("NAME"), name);
    EXPECT_EQ(saved.childText("NOTES"), notes);
}

} // namespace
