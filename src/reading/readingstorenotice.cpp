#include "reading/readingstorenotice.h"

namespace kestrune {

QString ReadingStoreNotice::line() const
{
    QString why;
    switch (reason) {
    case Reason::damaged:
        why = QStringLiteral("The reading history was damaged");
        break;
    case Reason::truncated:
        why = QStringLiteral("The reading history was cut short");
        break;
    case Reason::foreignVersion:
        why = QStringLiteral("The reading history was written by another version");
        break;
    case Reason::unreadable:
        why = QStringLiteral("The reading history could not be read");
        break;
    }
    if (setAsidePath.isEmpty())
        return why + QStringLiteral("; it starts again.");
    return why + QStringLiteral("; it starts again (the old one is kept as %1).").arg(setAsidePath);
}

} // namespace kestrune
