#pragma once

#include "project/filesystem.h"

#include <memory>

namespace kestrune {

// The real file system, read through POSIX calls.
class LocalFileSystem final : public FileSystem
{
public:
    // readFile refuses a file larger than this: whole files are read only where a document
    // has to be held at once, and no project document comes near it.
    static constexpr qint64 largestWholeFile = qint64(256) << 20;

    static std::shared_ptr<const LocalFileSystem> shared();

    std::optional<std::vector<DirectoryEntry>> listDirectory(const QString &path) const override;
    std::optional<QDateTime> contentModificationDate(const QString &path) const override;
    // The date listDirectory read, unless the entry is a symbolic link: no second look-up.
    std::optional<QDateTime> entryModificationDate(const DirectoryEntry &entry) const override;
    std::optional<QByteArray> readFile(const QString &path) const override;
    // Streams the file a block at a time.
    FileReadError forEachLine(const QString &path,
                              const std::function<void(QStringView)> &visit) const override;
    std::optional<QString> canonicalPath(const QString &path) const override;
    bool exists(const QString &path) const override;
    bool isDirectory(const QString &path) const override;
};

} // namespace kestrune
