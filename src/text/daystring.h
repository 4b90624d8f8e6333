#pragma once

#include <QDateTime>
#include <QString>

namespace kestrune {

// A date as the program shows it (the dashboard, the history of a change): "yyyy-MM-dd", Gregorian, western
// digits, in the user's time zone, whatever the user's locale (the third of March 2025 is 2025-03-03).
QString dayString(const QDateTime &date);

} // namespace kestrune
