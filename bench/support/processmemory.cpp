#include "processmemory.h"

#include <QFile>

namespace {

long statusField(const char *name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(name))
            return line.mid(int(qstrlen(name))).trimmed().split(' ').first().toLong();
    }
    return -1;
}

} // namespace

long residentKiB()
{
    return statusField("VmRSS:");
}

long peakResidentKiB()
{
    return statusField("VmHWM:");
}

void resetPeakResident()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}
