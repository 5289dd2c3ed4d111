// The real message boxes the program shows, driven from a timer.
#include "platform/gui/qtprompt.h"
#include "platform/prompt.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace rr;

TEST(QtPrompt, aShortMessageBoxIsWideEnoughForItsTitle)
{
    PromptHandler *previous = prompt::installed();
    installQtPromptHandler();
    int width = 0, titleWidth = 0;
    QString title;
    QTimer::singleShot(50, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        titleWidth = box->fontMetrics().horizontalAdvance(title);
        width = box->width();
        box->accept();
    });
    prompt::show(QStringLiteral("Saved."));
    prompt::install(previous);
    EXPECT_EQ(title, "Razuzezu Revidod");
    // The frame puts an icon and its buttons beside the title.
    EXPECT_GE(width, titleWidth + 120);
}

TEST(QtPrompt, aNameOfMillionsOfLettersInAMessageIsCutInTheMiddleOfItsLineAndTheSentenceStays)
{
    PromptHandler *previous = prompt::installed();
    installQtPromptHandler();
    const QString name(10'000'000, 'n');
    QString shown;
    QTimer::singleShot(50, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown = box->text();
        box->accept();
    });
    QElapsedTimer clock;
    clock.start();
    prompt::show("Are you sure you wish to delete " + name + "?\nIt goes with its Vardecks.");
    prompt::install(previous);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(shown, "Are you sure you wish to delete " + QString(512 - 32, 'n') + QChar(0x2026) + QString(511, 'n') +
                         "?\nIt goes with its Vardecks.");
}
