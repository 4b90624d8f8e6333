#include "projectfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

namespace kestrune {

ProjectFolder::ProjectFolder(const QString &name, const QString &parents)
{
    QString folder = m_temporary.path();
    if (!parents.isEmpty())
        folder += QLatin1Char('/') + parents;
    m_path = folder + QLatin1Char('/') + name;
    QDir().mkpath(m_path);
}

void ProjectFolder::write(const QString &relative, const QByteArray &content, const QDateTime &modified)
{
    const QString file = pathOf(relative);
    QDir().mkpath(QFileInfo(file).path());
    QFile out(file);
    QVERIFY2(out.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(file));
    out.write(content);
    out.close();
    if (modified.isValid())
        setModified(relative, modified);
}

void ProjectFolder::makeFolder(const QString &relative)
{
    QDir().mkpath(pathOf(relative));
}

void ProjectFolder::setModified(const QString &relative, const QDateTime &modified)
{
    const qint64 msecs = modified.toMSecsSinceEpoch();
    struct timespec times[2];
    times[0].tv_sec = time_t(msecs / 1000);
    times[0].tv_nsec = long(msecs % 1000) * 1000000;
    times[1] = times[0];
    QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(pathOf(relative)).constData(), times, 0) == 0);
}

} // namespace kestrune
