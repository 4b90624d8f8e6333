#pragma once

#include <QDateTime>
#include <QTimeZone>

namespace kestrune {

// Whole days from one point in time to another in the local time zone's calendar: the number of
// calendar days that can be added to `from` without passing `to`, truncated toward zero, so a
// `to` before `from` gives a negative count. A day across a daylight-saving change is one
// calendar day, not 86,400 seconds.
// The zone defaults to the system's; callers that count many dates pass it in once, which spares
// the C library's time-zone reloading on every local-time conversion.
qint64 wholeDaysBetween(const QDateTime &from, const QDateTime &to,
                        const QTimeZone &zone = QTimeZone::systemTimeZone());

} // namespace kestrune
