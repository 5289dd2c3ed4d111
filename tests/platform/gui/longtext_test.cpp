// Texts of millions of letters read from a file: cut to what can be shown before Qt
// measures or elides them.
#include "platform/gui/textfit.h"
#include "platform/textutil.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

const QChar kDots(0x2026);

} // namespace

TEST(LongText, aTextIsCutWhereItsModeElidesWithoutSplittingACharacter)
{
    const QString emoji = QString::fromUtf8("😀");
    struct Case {
        QString text;
        Qt::TextElideMode mode;
        qsizetype letters;
        QString shown;
    };
    const Case cases[] = {
        {"abcdef", Qt::ElideRight, 6, "abcdef"},
        {"abcdefgh", Qt::ElideRight, 4, QString("abcd") + kDots},
        {"abcdefgh", Qt::ElideMiddle, 4, QString("ab") + kDots + "gh"},
        {"abcdefgh", Qt::ElideLeft, 4, kDots + QString("efgh")},
        // A character of two UTF-16 units stays whole or goes whole.
        {"abc" + emoji + "xyz", Qt::ElideRight, 4, QString("abc") + kDots},
        {"ab" + emoji + "xyz", Qt::ElideRight, 4, "ab" + emoji + kDots},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(shownText(c.text, c.mode, c.letters), c.shown);
    }
    const QString huge(10'000'000, 'x');
    EXPECT_EQ(shownText(huge), QString(kMostShownLetters, 'x') + kDots);
    EXPECT_EQ(toolTipText(huge), QString(kMostShownLetters, 'x') + kDots);
    EXPECT_EQ(toolTipText("<" + huge),
              "<p style='white-space:pre'>&lt;" + QString(kMostShownLetters - 1, 'x') + kDots + "</p>");
}

TEST(LongText, elidingATextOfMillionsOfLettersMeasuresOnlyWhatTheWidthShows)
{
    const QFontMetrics metrics(QApplication::font());
    const QString huge = QString("name ").repeated(2'000'000) + "end";
    QElapsedTimer clock;
    clock.start();
    for (const Qt::TextElideMode mode : {Qt::ElideRight, Qt::ElideMiddle, Qt::ElideLeft}) {
        const QString shown = elidedText(huge, metrics, 300, mode);
        EXPECT_LE(metrics.horizontalAdvance(shown), 300);
        EXPECT_TRUE(shown.contains(kDots)) << shown.toStdString();
        EXPECT_EQ(shown.startsWith("name"), mode != Qt::ElideLeft);
        EXPECT_EQ(shown.endsWith("end"), mode != Qt::ElideRight);
    }
    // Letters of no width fit any room: the cut still shows.
    const QString marks(1'000'000, QChar(0x200B));
    EXPECT_TRUE(elidedText(marks, metrics, 50).endsWith(kDots));
    EXPECT_LT(clock.elapsed(), 2000);
}
