#pragma once

// What one path names in each commit of a walk, asked once per commit: a commit is asked about
// as a parent first and as the commit walked later, so the answer is kept in between and
// forgotten once the walk has passed it. The path changes when the walk follows a move.

#include "history/treepaths_p.h"

#include <QByteArray>
#include <QHash>

#include <optional>

namespace kestrune {

struct PathEntry
{
    std::optional<git_oid> oid; // nothing where the path names nothing, or could not be read
    bool unreadable = false;    // a tree on the way could not be read (it is noted)

    bool sameAs(const PathEntry &other) const
    {
        return oid && other.oid && git_oid_equal(&*oid, &*other.oid);
    }
};

class PathProbe
{
public:
    PathProbe(TreePaths &trees, QByteArray path) : m_trees(trees), m_path(std::move(path)) {}

    const QByteArray &path() const { return m_path; }
    void follow(const QByteArray &path);

    // The entry in a parent of the commit walked, kept for when the walk reaches it.
    PathEntry inParent(const git_commit *commit);
    // The entry in the commit walked.
    PathEntry inCommit(const git_commit *commit);

private:
    PathEntry lookUp(const git_commit *commit);

    TreePaths &m_trees;
    QByteArray m_path;
    QHash<QByteArray, PathEntry> m_entries;
};

} // namespace kestrune
