#pragma once

#include <QDateTime>

// Whole days from one point in time to another in the local time zone's calendar: the number of
// calendar days that can be added to `from` without passing `to`, truncated toward zero, so a
// `to` before `from` gives a negative count. A day across a daylight-saving change is one
// calendar day, not 86,400 seconds.
qint64 wholeDaysBetween(const QDateTime &from, const QDateTime &to);
