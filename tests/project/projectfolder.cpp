#include "projectfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrune {

namespace {

void fileTimes(const QDateTime &modified, struct timespec (&times)[2])
{
    const qint64 msecs = modified.toMSecsSinceEpoch();
    times[0].tv_sec = time_t(msecs / 1000);
    times[0].tv_nsec = long(msecs % 1000) * 1000000;
    times[1] = times[0];
}

void setModifiedAt(const QByteArray &path, const QDateTime &modified)
{
    struct timespec times[2];
    fileTimes(modified, times);
    QVERIFY2(::utimensat(AT_FDCWD, path.constData(), times, 0) == 0, path.constData());
}

bool writeAll(int fd, const QByteArray &content)
{
    return ::write(fd, content.constData(), size_t(content.size())) == content.size();
}

// The entries of an open folder ("." and ".." left out), and which of them are folders.
QList<QPair<QByteArray, bool>> entriesOf(int folder)
{
    QList<QPair<QByteArray, bool>> entries;
    DIR *dir = ::fdopendir(::dup(folder));
    if (!dir)
        return entries;
    while (const dirent *item = ::readdir(dir)) {
        const QByteArray name(item->d_name);
        if (name == "." || name == "..")
            continue;
        struct stat status;
        const bool isFolder =
            ::fstatat(folder, item->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(status.st_mode);
        entries.append({name, isFolder});
    }
    ::closedir(dir);
    return entries;
}

// Empties a folder with calls relative to one open folder at a time. Recursive removal by path
// fails on names that are not UTF-8 and on paths longer than the system allows.
void removeContents(const QByteArray &path)
{
    int folder = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    QByteArrayList descended; // the names from `path` down to the open folder
    while (folder >= 0) {
        const QList<QPair<QByteArray, bool>> entries = entriesOf(folder);
        const auto subfolder =
            std::find_if(entries.begin(), entries.end(), [](const auto &entry) { return entry.second; });
        if (subfolder != entries.end()) {
            const int inner =
                ::openat(folder, subfolder->first.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (inner < 0)
                break;
            ::close(folder);
            folder = inner;
            descended.append(subfolder->first);
            continue;
        }
        for (const auto &entry : entries)
            ::unlinkat(folder, entry.first.constData(), 0);
        if (descended.isEmpty())
            break;
        const int outer = ::openat(folder, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(folder);
        folder = outer;
        if (folder >= 0)
            ::unlinkat(folder, descended.takeLast().constData(), AT_REMOVEDIR);
    }
    if (folder >= 0)
        ::close(folder);
}

} // namespace

ProjectFolder::ProjectFolder(const QString &name, const QString &parents)
{
    QString folder = m_temporary.path();
    if (!parents.isEmpty())
        folder += QLatin1Char('/') + parents;
    m_path = folder + QLatin1Char('/') + name;
    QDir().mkpath(m_path);
}

ProjectFolder::~ProjectFolder()
{
    removeContents(QFile::encodeName(m_temporary.path()));
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

void ProjectFolder::writeNative(const QByteArray &relative, const QByteArray &content,
                                const QDateTime &modified)
{
    const QByteArray root = QFile::encodeName(m_path) + '/';
    for (qsizetype slash = relative.indexOf('/'); slash > 0; slash = relative.indexOf('/', slash + 1)) {
        const QByteArray folder = root + relative.left(slash);
        QVERIFY2(::mkdir(folder.constData(), 0700) == 0 || errno == EEXIST, folder.constData());
    }
    const QByteArray file = root + relative;
    const int fd = ::open(file.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    QVERIFY2(fd >= 0, file.constData());
    const bool written = writeAll(fd, content);
    ::close(fd);
    QVERIFY(written);
    if (modified.isValid())
        setModifiedAt(file, modified);
}

QString ProjectFolder::writeNested(const QString &folder, int depth, const QString &fileName,
                                   const QByteArray &content, const QDateTime &modified)
{
    makeFolder(folder);
    int current = ::open(QFile::encodeName(pathOf(folder)).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    QString path = pathOf(folder);
    for (int level = 0; level < depth && current >= 0; ++level) {
        const int inner = ::mkdirat(current, "d", 0700) == 0
                              ? ::openat(current, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                              : -1;
        ::close(current);
        current = inner;
        path += QLatin1String("/d");
    }
    if (current < 0)
        return QString();
    const int fd = ::openat(current, QFile::encodeName(fileName).constData(),
                            O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    ::close(current);
    if (fd < 0)
        return QString();
    struct timespec times[2];
    fileTimes(modified, times);
    const bool written = writeAll(fd, content) && ::futimens(fd, times) == 0;
    ::close(fd);
    return written ? path + QLatin1Char('/') + fileName : QString();
}

void ProjectFolder::makeFolder(const QString &relative)
{
    QDir().mkpath(pathOf(relative));
}

void ProjectFolder::setModified(const QString &relative, const QDateTime &modified)
{
    setModifiedAt(QFile::encodeName(pathOf(relative)), modified);
}

} // namespace kestrune
