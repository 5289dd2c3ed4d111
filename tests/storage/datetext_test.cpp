#include "storage/datetext.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace rr;

// Every text is built the same whatever the locale the user runs.
TEST(DateText, createdDatesAndVisitStampsAreEnglishWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(createdDateText(QDate(2026, 12, 6)), "06 Dec 2026");
    EXPECT_EQ(createdDateText(QDate(2026, 3, 15)), "15 Mar 2026"); // "Mär" in the default locale
    EXPECT_EQ(createdDateText(QDate(1999, 10, 31)), "31 Oct 1999");
    EXPECT_EQ(createdDateText(QDate()), "");

    // Visit stamps add the time on a twelve-hour clock.
    const QDate day(2026, 12, 5);
    EXPECT_EQ(visitStampText(QDateTime(day, QTime(19, 30))), "05 Dec 2026 07:30 PM");
    EXPECT_EQ(visitStampText(QDateTime(day, QTime(21, 5, 59))), "05 Dec 2026 09:05 PM");
    EXPECT_EQ(visitStampText(QDateTime(day, QTime(0, 1))), "05 Dec 2026 12:01 AM");
    EXPECT_EQ(visitStampText(QDateTime(day, QTime(12, 0))), "05 Dec 2026 12:00 PM");
    EXPECT_EQ(createdDateText(QDateTime(day, QTime(23, 59))), "05 Dec 2026");
    EXPECT_EQ(visitStampText(QDateTime()), "");
    QLocale::setDefault(QLocale::c());
}
