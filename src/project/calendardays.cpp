#include "project/calendardays.h"

namespace kestrune {

namespace {

// Whole days from an earlier local time to a later one.
qint64 forwardDays(const QDateTime &from, const QDateTime &to)
{
    qint64 days = from.date().daysTo(to.date());
    while (days > 0 && from.addDays(days) > to)
        --days;
    return days;
}

} // namespace

qint64 wholeDaysBetween(const QDateTime &from, const QDateTime &to, const QTimeZone &zone)
{
    if (!from.isValid() || !to.isValid())
        return 0;
    const QDateTime localFrom = from.toTimeZone(zone);
    const QDateTime localTo = to.toTimeZone(zone);
    if (localFrom <= localTo)
        return forwardDays(localFrom, localTo);
    return -forwardDays(localTo, localFrom);
}

} // namespace kestrune
