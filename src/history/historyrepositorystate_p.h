#pragma once

// What an opened HistoryRepository holds, for the sources of the history library: the C
// library's repository, where the project lies in it, and the commits a shallow clone cut off.

#include "history/commitrecord.h"
#include "history/gitobjects_p.h"

#include <QByteArray>
#include <QSet>
#include <QString>

#include <optional>

namespace kestrune {

// Keeps the C library initialised for as long as one of its objects lives.
//
// Objects are read without checking their hash against their id, as git itself reads them: the
// library's check hashes every object again on each read (a planning folder's tree of 2,000
// changes costs more to hash than to inflate), and it only ever catches a fault that zlib's own
// checksum let through. A corrupt object still reads as bytes the parsers check as they go.
struct GitLibraryScope
{
    GitLibraryScope()
    {
        git_libgit2_init();
        git_libgit2_opts(GIT_OPT_ENABLE_STRICT_HASH_VERIFICATION, 0);
    }
    ~GitLibraryScope() { git_libgit2_shutdown(); }
    GitLibraryScope(const GitLibraryScope &) = delete;
    GitLibraryScope &operator=(const GitLibraryScope &) = delete;
};

struct HistoryRepositoryState
{
    GitLibraryScope library; // first in, last out
    git::Repository repository;
    QString workTreeRoot;
    QString projectFolder;
    // The project folder's path in the repository: empty at the root, else ending with "/".
    QByteArray projectPrefix;
    // The commits whose parents a shallow clone left out, by keyOf.
    QSet<QByteArray> shallowCommits;

    git_repository *get() const { return repository.get(); }

    // The repository path of a path relative to the project folder, and back; a repository path
    // outside the project folder comes back as it is, with "/" first.
    QByteArray repositoryPathOf(const QString &projectPath) const;
    QString projectPathOf(const QByteArray &repositoryPath) const;

    // A commit by id, or nothing (with the reason in `why`).
    git::Commit lookupCommit(const QString &sha, QString *why) const;
    static CommitRecord recordOf(const git_commit *commit);
};

} // namespace kestrune
