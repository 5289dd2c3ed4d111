// The program's text boxes: what a paste or a key brings them, whatever the clipboard
// holds, how much they hold, and how they wrap a line with nowhere to break.
#include "platform/gui/textboxes.h"
#include "support/xsession.h"

#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QProcess>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

const char kChildVariable[] = "RR_TEXTBOXES_X_CHILD";
const QKeyCombination kCtrlV(Qt::ControlModifier, Qt::Key_V);
const QKeyCombination kShiftInsert(Qt::ShiftModifier, Qt::Key_Insert);

void press(QWidget *box, QKeyCombination key)
{
    QTest::keyClick(box, key.key(), key.keyboardModifiers());
}

QMimeData *holding(const char *what)
{
    auto *data = new QMimeData;
    const QByteArray kind(what);
    if (kind == "a picture") {
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::red);
        data->setImageData(picture);
    } else if (kind == "files") {
        data->setUrls({QUrl::fromLocalFile("/tmp/a b.txt"), QUrl("https://x.example/p?q=1")});
    } else if (kind == "HTML") {
        data->setHtml("<p>Bold <b>words</b> &amp; more</p>");
    } else if (kind == "text") {
        data->setText("plain\ntext");
        data->setHtml("<b>not this</b>");
    }
    return data;
}

template <typename Box> class TextBoxes : public ::testing::Test
{
protected:
    void SetUp() override
    {
        box.resize(300, 120);
        box.show();
        box.setFocus();
    }
    Box box;
};
using Boxes = ::testing::Types<TextBox, PlainTextBox>;
TYPED_TEST_SUITE(TextBoxes, Boxes);

} // namespace

// Ctrl+V and Shift+Insert take the text of what the clipboard holds; nothing, or a
// picture alone, leave the box as it was. Twice: Qt's own box fails on either.
TYPED_TEST(TextBoxes, aPasteTakesTheTextOfWhatTheClipboardHoldsAndAClipboardOfNothingLeavesTheBoxAsItWas)
{
    const std::pair<const char *, QString> holdings[] = {
        {"nothing", ""},
        {"a picture", ""},
        {"files", "/tmp/a b.txt\nhttps://x.example/p?q=1"},
        {"HTML", "Bold words & more"},
        {"text", "plain\ntext"},
    };
    for (const auto &[what, pasted] : holdings) {
        for (const QKeyCombination key : {kCtrlV, kShiftInsert}) {
            SCOPED_TRACE(std::string(what) + ", " + QKeySequence(key).toString().toStdString());
            this->box.setPlainText("typed ");
            this->box.moveCursor(QTextCursor::End);
            QGuiApplication::clipboard()->setMimeData(holding(what));
            press(&this->box, key);
            press(&this->box, key);
            EXPECT_EQ(this->box.toPlainText().toStdString(), ("typed " + pasted + pasted).toStdString());
        }
    }
}

// A paste past the most a box holds is cut to what fits, a key past it is refused, and the
// box says so under its text until it holds fewer letters again.
TYPED_TEST(TextBoxes, aBoxHoldsAtMostItsLettersAndSaysSoWhenAPasteOrAKeyWouldPassThem)
{
    TypeParam &box = this->box;
    QTest::keyClicks(&box, "abc");
    QGuiApplication::clipboard()->setText(QString(150'000, 'p'));
    press(&box, kCtrlV);
    EXPECT_EQ(box.toPlainText(), "abc" + QString(kMostEditedLetters - 3, 'p'));
    EXPECT_EQ(box.noticeShown().toStdString(),
              "This box holds at most 100,000 letters: only the first 99,997 of the 150,000 pasted were taken.");
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.noticeShown().toStdString(), "");
    QTest::keyClicks(&box, "xy");
    EXPECT_EQ(box.toPlainText(), "abc" + QString(kMostEditedLetters - 4, 'p') + "x");
    EXPECT_EQ(box.noticeShown().toStdString(), "This box holds at most 100,000 letters: no more can be typed here.");
    press(&box, kCtrlV);
    EXPECT_EQ(box.noticeShown().toStdString(),
              "This box holds at most 100,000 letters: none of the 150,000 pasted could be taken.");
}

// Word wrap lays out a line with no blank in a time that grows with the square of its
// length: a box wraps such a line anywhere, and words at blanks otherwise.
TYPED_TEST(TextBoxes, aLineWithNoBlankForLongerThanAWordIsWrappedAnywhereAndWordsAtBlanks)
{
    TypeParam &box = this->box;
    const QString longWord(kLongestWrappedWord + 1, 'w');
    const QString word(kLongestWrappedWord, 'w');
    const std::pair<QString, QTextOption::WrapMode> cases[] = {
        {QString("word ").repeated(2'000) + longWord, QTextOption::WrapAnywhere},
        {word + " " + word, QTextOption::WrapAtWordBoundaryOrAnywhere},
        {QString(10'000'000, 'x'), QTextOption::WrapAnywhere},
        {"short", QTextOption::WrapAtWordBoundaryOrAnywhere},
    };
    for (const auto &[text, mode] : cases) {
        box.setBoxText(text);
        EXPECT_EQ(box.wordWrapMode(), mode) << text.size();
        EXPECT_EQ(box.toPlainText(), text.left(kMostEditedLetters));
    }
    // A blank typed into a long word ends it.
    box.setBoxText(longWord);
    box.moveCursor(QTextCursor::Start);
    QTest::keyClick(&box, Qt::Key_Right);
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_EQ(box.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
}

// A box of one line holds kMostLineLetters letters and says so when a paste or a key would
// pass them; its owner's sentence shows at its right end.
TEST(LineBoxes, aBoxOfOneLineSaysWhenItIsFullAndShowsItsOwnersSentence)
{
    QLineEdit box;
    guardLineBox(&box);
    box.resize(600, 24);
    box.show();
    box.setFocus();
    setLineNotice(&box, "32,767 of 40,000 letters shown: kept whole unless changed");
    EXPECT_EQ(lineNoticeShown(&box).toStdString(), "32,767 of 40,000 letters shown: kept whole unless changed");
    setLineNotice(&box, "");
    QGuiApplication::clipboard()->setText(QString(40'000, 'n'));
    press(&box, kCtrlV);
    EXPECT_EQ(box.text().size(), kMostLineLetters);
    EXPECT_EQ(lineNoticeShown(&box).toStdString(), "This box holds at most 32,767 letters.");
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(lineNoticeShown(&box).toStdString(), "");
    QTest::keyClicks(&box, "ab");
    EXPECT_EQ(box.text(), QString(kMostLineLetters - 1, 'n') + "a");
    EXPECT_EQ(lineNoticeShown(&box).toStdString(), "This box holds at most 32,767 letters.");
}

// On an X display a clipboard with no owner, or whose owner has gone, holds nothing:
// Ctrl+V, Shift+Insert and the middle button leave the boxes as they were. The boxes
// run in a process of this test program on an X server of the test's own; another
// process owns the clipboard and quits between its two runs.
TEST(TextBoxesOnX, aPasteFromAClipboardWithNoOwnerOrAGoneOneLeavesTheBoxesAsTheyWere)
{
    test::XSession x;
    if (!x.problem().isEmpty())
        GTEST_SKIP() << x.problem().toStdString();
    for (const char *part : {"paste", "own", "paste"}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(kChildVariable, part);
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("DISPLAY", x.display());
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(), {"--gtest_filter=TextBoxesXChild.*"});
        if (!child.waitForFinished(60000)) {
            child.kill();
            child.waitForFinished();
        }
        const QString out = QString::fromUtf8(child.readAllStandardOutput());
        EXPECT_TRUE(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
                    out.contains("[  PASSED  ] 1"))
            << part << ": " << out.toStdString();
    }
}

// The child's part: owns the clipboard and the selection and quits, or pastes into boxes.
TEST(TextBoxesXChild, ownsTheClipboardOrPastesWhatItHolds)
{
    const QByteArray part = qgetenv(kChildVariable);
    if (part.isEmpty())
        GTEST_SKIP() << "runs in the X display's process only";
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (part == "own") {
        clipboard->setText("owned", QClipboard::Clipboard);
        clipboard->setText("owned", QClipboard::Selection);
        EXPECT_TRUE(clipboard->ownsClipboard());
        return;
    }
    ASSERT_TRUE(clipboard->supportsSelection());
    TextBox rich;
    PlainTextBox plain;
    for (QAbstractScrollArea *box :
         {static_cast<QAbstractScrollArea *>(&rich), static_cast<QAbstractScrollArea *>(&plain)}) {
        box->show();
        box->setFocus();
        QTest::keyClicks(box, "typed");
        for (int i = 0; i < 2; ++i) {
            press(box, kCtrlV);
            press(box, kShiftInsert);
            QTest::mouseClick(box->viewport(), Qt::MiddleButton, {}, QPoint(20, 10));
        }
    }
    EXPECT_EQ(rich.toPlainText(), "typed");
    EXPECT_EQ(plain.toPlainText(), "typed");
}
