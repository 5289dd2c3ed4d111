#include "storage/datetext.h"

#include <QLocale>
#include <gtest/gtest.h>

using namespace rr;

namespace
{

// Every text is built the same whatever the locale the user runs.
class DateText : public ::testing::Test
{
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }
};

} // namespace

TEST_F(DateText, createdDateIsDayMonthYearInEnglish)
{
    EXPECT_EQ(createdDateText(QDate(2026, 12, 6)), "06 Dec 2026");
    EXPECT_EQ(createdDateText(QDate(2026, 3, 15)), "15 Mar 2026"); // "Mär" in the default locale
    // A date of another century keeps its own.
    EXPECT_EQ(createdDateText(QDate(1999, 10, 31)), "31 Oct 1999");
    EXPECT_EQ(createdDateText(QDate()), "");
}

TEST_F(DateText, visitStampAddsTheTimeOnATwelveHourClock)
{
    const QDate day(2026, 12, 5);
    EXPECT_EQ(visitStampText(QDateTime(day, QTime(19, 30))), "05 Dec 2026 07:30 PM");
    EXPECT_EQ(visitStampText(QDateTime(day, QTime(21, 5, 59))), "05 Dec 2026 09:05 PM");
    EXPECT_EQ(visitStampText(QDateTime(day, QTime(0, 1))), "05 Dec 2026 12:01 AM");
    EXPECT_EQ(visitStampText(QDateTime(day, QTime(12, 0))), "05 Dec 2026 12:00 PM");
    EXPECT_EQ(createdDateText(QDateTime(day, QTime(23, 59))), "05 Dec 2026");
    EXPECT_EQ(visitStampText(QDateTime()), "");
}
