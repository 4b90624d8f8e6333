#pragma once

// Comparing two trees of a repository: which paths differ, and which files moved. Only tree
// and blob ids are compared (rename detection reads the blobs of added and removed files
// only), and nothing is read from or written to the work tree or the index.

#include "history/treepaths_p.h"

#include <QByteArray>
#include <QList>

#include <vector>

namespace kestrune::TreeDiff {

// The paths (relative to the trees) added, changed or removed between two trees, either of
// which may be null (an empty tree), in path order; those added also go to `added`, when given.
QList<QByteArray> changedPaths(git_repository *repository, const git_tree *before, const git_tree *after,
                               TreePaths &notes, QList<QByteArray> *added = nullptr);

struct Rename
{
    QByteArray from;
    QByteArray to;
};

// The files that moved between two root trees, found by content (exact or similar), among the
// paths below `folder` (all of them when it is empty).
std::vector<Rename> renames(git_repository *repository, const git_tree *before, const git_tree *after,
                            const QByteArray &folder, TreePaths &notes);

} // namespace kestrune::TreeDiff
