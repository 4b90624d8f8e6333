#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace kestrune {

// One file of the catch-up list: changed, new or removed since the reader last looked. A plain
// value, made by CatchUpList from an outline and its reading marks.
struct CatchUpEntry
{
    enum class Change
    {
        changed,
        added,
        removed, // seen before, gone from the outline: listed, not opened
    };

    Change change = Change::changed;
    QString relativePath; // to the project folder, as the reading store names it
    // What the row names: the path within its group ("proposal.md" of a change,
    // "auth/spec.md" of the specifications).
    QString name;
    QUrl url; // the file's; empty for a removed one
    // The file's modification date in the outline; none for a removed file.
    std::optional<QDateTime> modificationDate;
    // The store holds the text seen, so the lines added and removed can be counted.
    bool hasSeenText = false;

    friend bool operator==(const CatchUpEntry &, const CatchUpEntry &) = default;
};

// The files of one change, of the specifications or of the rest of the project.
struct CatchUpGroup
{
    enum class Kind
    {
        // In the order the list shows them.
        change,
        specifications,
        archivedChange,
        otherFiles,
    };

    Kind kind = Kind::otherFiles;
    // The change's folder name; empty for the specifications and the other files.
    QString title;
    QList<CatchUpEntry> entries; // in the order of their names

    friend bool operator==(const CatchUpGroup &, const CatchUpGroup &) = default;
};

} // namespace kestrune
