#include "faultinjectingfilesystem.h"

#include "project/localfilesystem.h"

namespace kestrune {

std::optional<std::vector<DirectoryEntry>> FaultInjectingFileSystem::listDirectory(const QString &path) const
{
    if (unlistableFolders.contains(path))
        return std::nullopt;
    std::optional<std::vector<DirectoryEntry>> entries = LocalFileSystem::shared()->listDirectory(path);
    if (entries) {
        for (DirectoryEntry &entry : *entries) {
            if (unreadableAttributes.contains(entry.path)) {
                entry.isDirectory.reset();
                entry.modificationDate.reset();
            }
        }
    }
    return entries;
}

std::optional<QDateTime> FaultInjectingFileSystem::contentModificationDate(const QString &path) const
{
    if (missingDates.contains(path))
        return std::nullopt;
    return LocalFileSystem::shared()->contentModificationDate(path);
}

std::optional<QByteArray> FaultInjectingFileSystem::readFile(const QString &path) const
{
    if (unreadableFiles.contains(path))
        return std::nullopt;
    return LocalFileSystem::shared()->readFile(path);
}

std::optional<QString> FaultInjectingFileSystem::canonicalPath(const QString &path) const
{
    return LocalFileSystem::shared()->canonicalPath(path);
}

bool FaultInjectingFileSystem::exists(const QString &path) const
{
    return LocalFileSystem::shared()->exists(path);
}

bool FaultInjectingFileSystem::isDirectory(const QString &path) const
{
    return LocalFileSystem::shared()->isDirectory(path);
}

ModelEnvironment testEnvironment(std::shared_ptr<const FileSystem> fileSystem, const QDateTime &now)
{
    ModelEnvironment environment = ModelEnvironment::system();
    if (fileSystem)
        environment.fileSystem = std::move(fileSystem);
    if (now.isValid())
        environment.now = [now] { return now; };
    return environment;
}

} // namespace kestrune
