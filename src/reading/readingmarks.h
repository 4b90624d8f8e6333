#pragma once

#include "project/filereaderror.h"
#include "reading/readingrecord.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <optional>

namespace kestrune {

struct TreeNode;

// Where a file stands against what the reader last saw of it.
enum class ReadingState
{
    unchanged,
    changed, // seen before, different now
    added,   // never seen: new since the reader last looked
};

struct FileReadingMark
{
    ReadingState state = ReadingState::unchanged;
    // The store holds the text seen, so the file can be compared block by block.
    bool hasSeenText = false;
    // Set when the file's date moved and its bytes could not be read to tell whether it changed
    // (a folder or a pipe in its place, too large, no permission): it then counts as changed.
    std::optional<FileReadError> readError;

    friend bool operator==(const FileReadingMark &, const FileReadingMark &) = default;
};

// A file seen before that is no longer in the outline.
struct RemovedFile
{
    QString relativePath;
    QDateTime seenAt;
    bool hasSeenText = false;

    friend bool operator==(const RemovedFile &, const RemovedFile &) = default;
};

// The marks of one outline against a project's record: per file unchanged, changed or new; per
// folder whether its subtree holds a file of either kind; the files seen and gone. Paths are
// relative to the project folder (ReadingPaths). A plain value, made off the window's thread.
struct ReadingMarks
{
    // Only the files that are not unchanged, by relative path.
    QHash<QString, FileReadingMark> files;
    // The relative paths of the folders (the outline's nodes) below which a file is changed or
    // new; the project folder itself is "".
    QSet<QString> foldersWithUnread;
    // Sorted by relative path.
    QList<RemovedFile> removed;
    // The record had no baseline: the project is imported for the first time and nothing is
    // marked (the store records the baseline).
    bool firstImport = false;

    FileReadingMark markOf(const QString &relativePath) const { return files.value(relativePath); }
    bool holdsUnread(const QString &folderRelativePath) const
    {
        return foldersWithUnread.contains(folderRelativePath);
    }

    // The marks of `tree` against `record`. Reads only files whose date moved since they were
    // seen and whose seen hash is known, to tell a file touched from one changed.
    static ReadingMarks compute(const TreeNode &tree, const ReadingRecord &record);

    friend bool operator==(const ReadingMarks &, const ReadingMarks &) = default;
};

} // namespace kestrune
