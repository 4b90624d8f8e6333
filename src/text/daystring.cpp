#include "text/daystring.h"

#include <QLocale>

namespace kestrune {

QString dayString(const QDateTime &date)
{
    // The C locale is the POSIX one: fixed pattern, no translation of digits.
    return QLocale::c().toString(date.toLocalTime(), QStringLiteral("yyyy-MM-dd"));
}

} // namespace kestrune
