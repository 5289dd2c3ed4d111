// The real message boxes the program shows, driven from a timer.
#include "platform/gui/qtprompt.h"
#include "platform/prompt.h"

#include <QApplication>
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
