#pragma once

#include "project/filereaderror.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>
#include <vector>

namespace kestrune {

// One entry of a folder listing with the attributes the scanner asks for.
struct DirectoryEntry
{
    QString name;
    QString path; // absolute, without a trailing slash
    // Absent when the entry's attributes could not be read; a symbolic link is never a folder.
    std::optional<bool> isDirectory;
    bool isSymbolicLink = false;
    std::optional<QDateTime> modificationDate;
};

// The read-only file-system operations the project model needs. Production code uses
// LocalFileSystem; tests substitute their own to make folders and files fail on demand.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    // Entries of a folder with hidden entries (names beginning with ".") skipped, in listing
    // order; nothing when the folder cannot be listed, an empty list for an empty folder.
    virtual std::optional<std::vector<DirectoryEntry>> listDirectory(const QString &path) const = 0;
    // Content modification date of an entry, following symbolic links.
    virtual std::optional<QDateTime> contentModificationDate(const QString &path) const = 0;
    // contentModificationDate of a listed entry. By default asked by path; a file system whose
    // listing already reads the date of what is not a symbolic link may answer from the entry.
    virtual std::optional<QDateTime> entryModificationDate(const DirectoryEntry &entry) const
    {
        return contentModificationDate(entry.path);
    }
    // The whole content of a regular file (following symbolic links); nothing when it cannot be read.
    virtual std::optional<QByteArray> readFile(const QString &path) const = 0;
    // Calls visit(line) for every line of a regular file's UTF-8 text, split at every newline
    // character. What went wrong otherwise; the lines visited before a failure are to be
    // disregarded. By default from readFile; a file system that can stream does so in bounded
    // memory.
    virtual FileReadError forEachLine(const QString &path,
                                      const std::function<void(QStringView)> &visit) const;
    // The path with every symbolic link resolved and "." and ".." taken out; nothing when it
    // does not resolve. By default the path itself: a file system without links.
    virtual std::optional<QString> canonicalPath(const QString &path) const { return path; }
    // Whether anything exists at the path, following symbolic links.
    virtual bool exists(const QString &path) const = 0;
    // Whether a folder exists at the path, following symbolic links.
    virtual bool isDirectory(const QString &path) const = 0;
};

} // namespace kestrune
