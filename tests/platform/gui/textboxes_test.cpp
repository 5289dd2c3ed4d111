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
#include <functional>
#include <gtest/gtest.h>
#include <memory>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

using namespace rr;

namespace
{

const char kChildVariable[] = "RR_TEXTBOXES_X_CHILD";

// One box of each kind, with its text read the same way.
struct Kind {
    const char *name;
    std::function<QWidget *()> make;
    std::function<QString(QWidget *)> text;
};

const Kind kKinds[] = {
    {"TextBox", [] { return static_cast<QWidget *>(new TextBox); },
     [](QWidget *box) { return static_cast<TextBox *>(box)->toPlainText(); }},
    {"PlainTextBox", [] { return static_cast<QWidget *>(new PlainTextBox); },
     [](QWidget *box) { return static_cast<PlainTextBox *>(box)->toPlainText(); }},
};

QString noticeOf(QWidget *box)
{
    if (auto *rich = dynamic_cast<TextBox *>(box))
        return rich->noticeShown();
    return static_cast<PlainTextBox *>(box)->noticeShown();
}

std::unique_ptr<QWidget> shownBox(const Kind &kind, const QString &typed)
{
    std::unique_ptr<QWidget> box(kind.make());
    box->resize(300, 120);
    box->show();
    box->setFocus();
    QTest::keyClicks(box.get(), typed);
    return box;
}

void paste(QWidget *box, QKeyCombination key)
{
    QTest::keyClick(box, key.key(), key.keyboardModifiers());
}

} // namespace

// Ctrl+V and Shift+Insert take the text of what the clipboard holds; nothing, a picture
// alone, or anything else leave the box as it was and the program running.
TEST(TextBoxes, aPasteTakesTheTextOfWhatTheClipboardHoldsAndAClipboardOfNothingLeavesTheBoxAsItWas)
{
    struct Holding {
        const char *name;
        std::function<QMimeData *()> data;
        QString pasted;
    };
    const Holding holdings[] = {
        {"nothing", [] { return new QMimeData; }, ""},
        {"a picture",
         [] {
             auto *data = new QMimeData;
             QImage picture(8, 8, QImage::Format_RGB32);
             picture.fill(Qt::red);
             data->setImageData(picture);
             return data;
         },
         ""},
        {"files",
         [] {
             auto *data = new QMimeData;
             data->setUrls({QUrl::fromLocalFile("/tmp/a b.txt"), QUrl("https://x.example/p?q=1")});
             return data;
         },
         "/tmp/a b.txt\nhttps://x.example/p?q=1"},
        {"HTML",
         [] {
             auto *data = new QMimeData;
             data->setHtml("<p>Bold <b>words</b> &amp; more</p>");
             return data;
         },
         "Bold words & more"},
        {"text",
         [] {
             auto *data = new QMimeData;
             data->setText("plain\ntext");
             data->setHtml("<b>not this</b>");
             return data;
         },
         "plain\ntext"},
    };
    const QKeyCombination keys[] = {QKeyCombination(Qt::ControlModifier, Qt::Key_V),
                                    QKeyCombination(Qt::ShiftModifier, Qt::Key_Insert)};
    for (const Kind &kind : kKinds) {
        for (const Holding &holding : holdings) {
            for (const QKeyCombination key : keys) {
                SCOPED_TRACE(std::string(kind.name) + " with " + holding.name + ", " +
                             QKeySequence(key).toString().toStdString());
                auto box = shownBox(kind, "typed ");
                QGuiApplication::clipboard()->setMimeData(holding.data());
                paste(box.get(), key);
                // A second paste: Qt's own box fails on the second as surely as on the first.
                paste(box.get(), key);
                EXPECT_EQ(kind.text(box.get()), "typed " + holding.pasted + holding.pasted);
            }
        }
    }
}

// A paste past the most a box holds is cut to what fits, a key past it is refused, and the
// box says so under its text until it holds fewer letters again.
TEST(TextBoxes, aBoxHoldsAtMostItsLettersAndSaysSoWhenAPasteOrAKeyWouldPassThem)
{
    for (const Kind &kind : kKinds) {
        SCOPED_TRACE(kind.name);
        auto box = shownBox(kind, "abc");
        QGuiApplication::clipboard()->setText(QString(150'000, 'p'));
        paste(box.get(), QKeyCombination(Qt::ControlModifier, Qt::Key_V));
        EXPECT_EQ(kind.text(box.get()), "abc" + QString(kMostEditedLetters - 3, 'p'));
        EXPECT_EQ(noticeOf(box.get()),
                  "This box holds at most 100,000 letters: only the first 99,997 of the 150,000 pasted were taken.");

        QTest::keyClick(box.get(), Qt::Key_Backspace);
        EXPECT_EQ(noticeOf(box.get()), "") << "fewer letters than the most";
        QTest::keyClicks(box.get(), "xy");
        EXPECT_EQ(kind.text(box.get()), "abc" + QString(kMostEditedLetters - 4, 'p') + "x");
        EXPECT_EQ(noticeOf(box.get()), "This box holds at most 100,000 letters: no more can be typed here.");
        paste(box.get(), QKeyCombination(Qt::ControlModifier, Qt::Key_V));
        EXPECT_EQ(noticeOf(box.get()).toStdString(),
                  "This box holds at most 100,000 letters: none of the 150,000 pasted could be taken.");
        EXPECT_EQ(kind.text(box.get()).size(), kMostEditedLetters);
    }
}

// Word wrap lays out a line with no blank in a time that grows with the square of its
// length: a box wraps such a line anywhere, and words at blanks otherwise.
TEST(TextBoxes, aLineWithNoBlankForLongerThanAWordIsWrappedAnywhereAndWordsAtBlanks)
{
    const QString longWord(kLongestWrappedWord + 1, 'w');
    const QString words = QString("word ").repeated(2'000);
    for (const Kind &kind : kKinds) {
        SCOPED_TRACE(kind.name);
        std::unique_ptr<QWidget> box(kind.make());
        auto set = [&](const QString &text) {
            if (auto *rich = dynamic_cast<TextBox *>(box.get()))
                rich->setBoxText(text);
            else
                static_cast<PlainTextBox *>(box.get())->setBoxText(text);
        };
        auto wrap = [&] {
            if (auto *rich = dynamic_cast<TextBox *>(box.get()))
                return rich->wordWrapMode();
            return static_cast<PlainTextBox *>(box.get())->wordWrapMode();
        };
        const std::pair<QString, QTextOption::WrapMode> cases[] = {
            {words + longWord, QTextOption::WrapAnywhere},
            {words, QTextOption::WrapAtWordBoundaryOrAnywhere},
            {QString(kLongestWrappedWord, 'w') + " " + QString(kLongestWrappedWord, 'w'),
             QTextOption::WrapAtWordBoundaryOrAnywhere},
            {QString(10'000'000, 'x'), QTextOption::WrapAnywhere},
        };
        for (const auto &[text, mode] : cases) {
            set(text);
            EXPECT_EQ(wrap(), mode) << text.size();
            EXPECT_EQ(kind.text(box.get()), text.left(kMostEditedLetters));
        }
        // The blank typed into a long word ends it: the box wraps at blanks again.
        set(longWord);
        box->show();
        box->setFocus();
        QTest::keyClick(box.get(), Qt::Key_Home, Qt::ControlModifier);
        QTest::keyClick(box.get(), Qt::Key_Right);
        QTest::keyClick(box.get(), Qt::Key_Space);
        EXPECT_EQ(wrap(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    }
}

// A box of one line holds kMostLineLetters letters and says so when a paste or a key would
// pass them; its owner's sentence shows at its right end.
TEST(TextBoxes, aBoxOfOneLineSaysWhenItIsFullAndShowsItsOwnersSentence)
{
    QLineEdit box;
    guardLineBox(&box);
    box.resize(600, 24);
    box.show();
    box.setFocus();
    setLineNotice(&box, "32,767 of 40,000 letters shown: kept whole unless changed");
    EXPECT_EQ(lineNoticeShown(&box), "32,767 of 40,000 letters shown: kept whole unless changed");
    setLineNotice(&box, "");
    EXPECT_EQ(lineNoticeShown(&box), "");

    QGuiApplication::clipboard()->setText(QString(40'000, 'n'));
    QTest::keyClick(&box, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(box.text().size(), kMostLineLetters);
    EXPECT_EQ(lineNoticeShown(&box), "This box holds at most 32,767 letters.");
    QTest::keyClick(&box, Qt::Key_Backspace);
    EXPECT_EQ(lineNoticeShown(&box), "");
    QTest::keyClicks(&box, "ab");
    EXPECT_EQ(box.text(), QString(kMostLineLetters - 1, 'n') + "a");
    EXPECT_EQ(lineNoticeShown(&box), "This box holds at most 32,767 letters.");
}

// On an X display a clipboard with no owner, or whose owner has gone, holds nothing:
// Ctrl+V, Shift+Insert and the middle button leave the boxes as they were. The boxes
// run in a process of this test program on an X server of the test's own; another
// process owns the clipboard and quits between its two runs.
TEST(TextBoxes, onAnXDisplayAPasteFromAClipboardWithNoOwnerOrAGoneOneLeavesTheBoxesAsTheyWere)
{
    test::XSession x;
    if (!x.problem().isEmpty())
        GTEST_SKIP() << x.problem().toStdString();
    const auto run = [&](const char *part) {
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
            << part << ": " << out.toStdString() << QString::fromUtf8(child.readAllStandardError()).toStdString();
    };
    run("paste");
    run("own");
    run("paste");
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
    for (const Kind &kind : kKinds) {
        SCOPED_TRACE(kind.name);
        auto box = shownBox(kind, "typed");
        for (int i = 0; i < 2; ++i) {
            paste(box.get(), QKeyCombination(Qt::ControlModifier, Qt::Key_V));
            paste(box.get(), QKeyCombination(Qt::ShiftModifier, Qt::Key_Insert));
            auto *area = static_cast<QAbstractScrollArea *>(box.get());
            QTest::mouseClick(area->viewport(), Qt::MiddleButton, {}, QPoint(20, 10));
        }
        EXPECT_EQ(kind.text(box.get()), "typed");
    }
}
