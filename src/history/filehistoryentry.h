#pragma once

#include "history/commitrecord.h"

#include <QString>

#include <optional>

namespace kestrune {

// What one commit did to a file.
enum class FileChangeKind
{
    added,
    modified,
    renamed, // moved (its text may have changed as well)
};

// "added", "modified", "renamed".
QString rawValue(FileChangeKind kind);

// One entry of a file's history.
struct FileHistoryEntry
{
    CommitRecord commit;
    FileChangeKind kind = FileChangeKind::modified;
    QString path;         // the file's path after the commit, relative to the project folder
    QString previousPath; // renamed: the path before it
};

} // namespace kestrune
