#include "project/localfilesystem.h"

#include "project/longpath.h"
#include "project/regularfilereader.h"
#include "text/nativepath.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrune {

namespace {

QDateTime modificationDateOf(const struct stat &status)
{
    const qint64 msecs = qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000;
    return QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
}

QByteArray encoded(const QString &path)
{
    return NativePath::encode(path);
}

// Paths of any length: see LongPath. For a path within the limit these are the very calls
// opendir and stat make.
bool statusOf(const QString &path, struct stat &status)
{
    const LongPath native(encoded(path));
    return native.error() == 0 && ::fstatat(native.folder(), native.rest(), &status, 0) == 0;
}

DIR *openDirectory(const QString &path)
{
    const LongPath native(encoded(path));
    if (native.error() != 0)
        return nullptr;
    // opendir opens with the same flags, and spares fdopendir's checks of a descriptor it
    // did not open.
    if (native.folder() == AT_FDCWD)
        return ::opendir(native.rest());
    const int fd = ::openat(native.folder(), native.rest(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    DIR *dir = ::fdopendir(fd);
    if (!dir)
        ::close(fd);
    return dir;
}

class DirectoryStream
{
public:
    explicit DirectoryStream(DIR *dir) : m_dir(dir) {}
    ~DirectoryStream()
    {
        if (m_dir)
            ::closedir(m_dir);
    }
    DirectoryStream(const DirectoryStream &) = delete;
    DirectoryStream &operator=(const DirectoryStream &) = delete;
    DIR *get() const { return m_dir; }

private:
    DIR *m_dir = nullptr;
};

} // namespace

std::shared_ptr<const LocalFileSystem> LocalFileSystem::shared()
{
    static const auto instance = std::make_shared<const LocalFileSystem>();
    return instance;
}

std::optional<std::vector<DirectoryEntry>> LocalFileSystem::listDirectory(const QString &path) const
{
    DirectoryStream dir(openDirectory(path));
    if (!dir.get())
        return std::nullopt;
    const int dirFd = ::dirfd(dir.get());
    const QString prefix = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');

    std::vector<DirectoryEntry> entries;
    errno = 0;
    while (const dirent *item = ::readdir(dir.get())) {
        if (item->d_name[0] == '.') // hidden entries, "." and ".." among them
            continue;
        DirectoryEntry entry;
        entry.name = NativePath::decode(item->d_name);
        entry.path = prefix + entry.name;
        struct stat status;
        if (::fstatat(dirFd, item->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0) {
            entry.isDirectory = S_ISDIR(status.st_mode);
            entry.isSymbolicLink = S_ISLNK(status.st_mode);
            entry.modificationDate = modificationDateOf(status);
        }
        entries.push_back(std::move(entry));
        errno = 0;
    }
    if (errno != 0)
        return std::nullopt;
    return entries;
}

std::optional<QDateTime> LocalFileSystem::contentModificationDate(const QString &path) const
{
    struct stat status;
    if (!statusOf(path, status))
        return std::nullopt;
    return modificationDateOf(status);
}

std::optional<QDateTime> LocalFileSystem::entryModificationDate(const DirectoryEntry &entry) const
{
    if (entry.isDirectory && !entry.isSymbolicLink && entry.modificationDate)
        return entry.modificationDate;
    return contentModificationDate(entry.path);
}

std::optional<QByteArray> LocalFileSystem::readFile(const QString &path) const
{
    RegularFileReader::Content content = RegularFileReader::read(path, largestWholeFile);
    if (content.error != FileReadError::none)
        return std::nullopt;
    return std::move(content.bytes);
}

FileReadError LocalFileSystem::forEachLine(const QString &path,
                                           const std::function<void(QStringView)> &visit) const
{
    return RegularFileReader::forEachLine(path, visit);
}

// A path longer than the system's limit does not resolve: realpath refuses it.
std::optional<QString> LocalFileSystem::canonicalPath(const QString &path) const
{
    char *resolved = ::realpath(encoded(path).constData(), nullptr);
    if (!resolved)
        return std::nullopt;
    const QString result = NativePath::decode(resolved);
    ::free(resolved);
    return result;
}

bool LocalFileSystem::exists(const QString &path) const
{
    struct stat status;
    return statusOf(path, status);
}

bool LocalFileSystem::isDirectory(const QString &path) const
{
    struct stat status;
    return statusOf(path, status) && S_ISDIR(status.st_mode);
}

} // namespace kestrune
