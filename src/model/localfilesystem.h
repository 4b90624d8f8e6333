#pragma once

#include "model/filesystem.h"

#include <memory>

namespace kestrune {

// The real file system, read through POSIX calls.
class LocalFileSystem final : public FileSystem
{
public:
    static std::shared_ptr<const LocalFileSystem> shared();

    std::optional<std::vector<DirectoryEntry>> listDirectory(const QString &path) const override;
    std::optional<QDateTime> contentModificationDate(const QString &path) const override;
    std::optional<QByteArray> readFile(const QString &path) const override;
    bool exists(const QString &path) const override;
    bool isDirectory(const QString &path) const override;
};

} // namespace kestrune
