#include "storage/datetext.h"

namespace rr
{
namespace
{

const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

QString createdDateText(const QDate &date)
{
    if (!date.isValid())
        return {};
    return twoDigits(date.day()) + QLatin1Char(' ') + QLatin1String(kMonths[date.month() - 1]) + QLatin1Char(' ') +
           QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString createdDateText(const QDateTime &when)
{
    return when.isValid() ? createdDateText(when.date()) : QString();
}

QString mediumTimeText(const QTime &time)
{
    if (!time.isValid())
        return {};
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return twoDigits(hour12) + QLatin1Char(':') + twoDigits(time.minute()) +
           QLatin1String(time.hour() < 12 ? " AM" : " PM");
}

QString visitStampText(const QDateTime &when)
{
    if (!when.isValid())
        return {};
    return createdDateText(when.date()) + QLatin1Char(' ') + mediumTimeText(when.time());
}

} // namespace rr
