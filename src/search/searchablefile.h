#pragma once

#include "project/deltaspectype.h"
#include "project/filereaderror.h"
#include "project/treenode.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

namespace kestrune {

// What a Markdown file of a project is part of, for grouping and ranking search results.
enum class SearchableFileKind
{
    specification,  // below kestrune/specs
    change,         // below a change folder in kestrune/changes
    archivedChange, // below kestrune/changes/archive
    other,          // anything else ("kestrune/project.md")
};

// One Markdown file of a project as project search reads it: where it is, what it belongs to, and
// its whole text, decoded once. A plain value; the index shares each one, immutable, between the
// searches that run over it.
struct SearchableFile
{
    QUrl projectRoot;
    QUrl url;
    // Below the "kestrune" folder, with "/" between folders ("changes/add-login/tasks.md"); below the
    // project folder for a file outside it.
    QString relativePath;
    // The change's or the specification's folder name; empty for other files.
    QString ownerName;
    SearchableFileKind kind = SearchableFileKind::other;
    std::optional<DeltaSpecType> deltaType;
    std::optional<QDateTime> modificationDate;
    // Decoded as UTF-8; bytes that are not UTF-8 are read as replacement characters, so the rest of
    // such a file can still be found. Empty when the file could not be read.
    QString text;
    FileReadError error = FileReadError::none;

    bool isArchived() const { return kind == SearchableFileKind::archivedChange; }

    // Files larger than this are not read (tooLarge): a search holds every text in memory.
    static constexpr qint64 largestFile = qint64(64) << 20;

    // The Markdown files of a project's outline, without their text, in outline order. Files that
    // link outside the project are left out: they are never read.
    static QList<SearchableFile> listOf(const QUrl &projectRoot, const TreeNode &tree);
    // The entry with its text read from disk, or its error; safe on any thread.
    static SearchableFile read(SearchableFile entry);
};

using SearchableFilePointer = std::shared_ptr<const SearchableFile>;

} // namespace kestrune
