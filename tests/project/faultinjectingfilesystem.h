#pragma once

#include "project/filesystem.h"
#include "project/modelenvironment.h"

#include <QSet>

namespace kestrune {

// The local file system with failures injected by path. Tests run as root in CI, where
// permission bits do not stop reads, so unreadable entries are made here instead.
class FaultInjectingFileSystem final : public FileSystem
{
public:
    QSet<QString> unlistableFolders;
    QSet<QString> unreadableAttributes; // the listing reports no attributes for these entries
    QSet<QString> missingDates;         // content modification date cannot be read
    QSet<QString> unreadableFiles;

    std::optional<std::vector<DirectoryEntry>> listDirectory(const QString &path) const override;
    std::optional<QDateTime> contentModificationDate(const QString &path) const override;
    std::optional<QByteArray> readFile(const QString &path) const override;
    std::optional<QString> canonicalPath(const QString &path) const override;
    bool exists(const QString &path) const override;
    bool isDirectory(const QString &path) const override;
};

// An environment over the given file system (the local one when null) with a fixed clock.
ModelEnvironment testEnvironment(std::shared_ptr<const FileSystem> fileSystem = nullptr,
                                 const QDateTime &now = QDateTime());

} // namespace kestrune
