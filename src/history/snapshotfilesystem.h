#pragma once

#include "history/historicalfile.h"
#include "project/filesystem.h"

#include <QHash>
#include <QString>

namespace kestrune {

// The project's files with its specifications folder as a commit held it: every path below
// <project>/kestrune/specs is answered from a SpecificationSnapshot, every other path by the file
// system underneath. Reviewing a change through it compares the change's delta specifications,
// as they are on disk, with the specifications of that commit. Nothing is written, and the
// snapshot's folders have no dates.
class SnapshotFileSystem : public FileSystem
{
public:
    // `projectFolder` is absolute; paths below it, or below its canonical form, are mapped.
    SnapshotFileSystem(const FileSystem &base, const QString &projectFolder,
                       const SpecificationSnapshot &snapshot);

    std::optional<std::vector<DirectoryEntry>> listDirectory(const QString &path) const override;
    std::optional<QDateTime> contentModificationDate(const QString &path) const override;
    std::optional<QByteArray> readFile(const QString &path) const override;
    std::optional<QString> canonicalPath(const QString &path) const override;
    bool exists(const QString &path) const override;
    bool isDirectory(const QString &path) const override;

private:
    // The path relative to the project folder when it lies in the specifications folder.
    std::optional<QString> specificationPath(const QString &path) const;
    bool isSnapshotFolder(const QString &relative) const;

    const FileSystem &m_base;
    QString m_projectFolder;
    QString m_canonicalProjectFolder;
    QHash<QString, QByteArray> m_files; // by path relative to the project folder
};

} // namespace kestrune
