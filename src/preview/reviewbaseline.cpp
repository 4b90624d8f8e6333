#include "preview/reviewbaseline.h"

#include <QLocale>

namespace kestrune {

QString ReviewBaseline::description() const
{
    return QLocale().toString(time.date(), QLocale::ShortFormat) + QStringLiteral(" · ") + commit.left(7) +
           QStringLiteral(" · ") + subject;
}

} // namespace kestrune
