#pragma once

// Owners of the C library's objects, so every object is freed on every path, and the one place
// that turns the library's ids and texts into the program's. Only the history library's own
// sources see the C library: nothing of it crosses a public header.

#include <git2.h>

#include <QByteArray>
#include <QString>

#include <memory>

namespace kestrune::git {

template <typename Object, void (*Free)(Object *)> struct Deleter
{
    void operator()(Object *object) const { Free(object); }
};

using Repository = std::unique_ptr<git_repository, Deleter<git_repository, git_repository_free>>;
using Commit = std::unique_ptr<git_commit, Deleter<git_commit, git_commit_free>>;
using Tree = std::unique_ptr<git_tree, Deleter<git_tree, git_tree_free>>;
using TreeEntry = std::unique_ptr<git_tree_entry, Deleter<git_tree_entry, git_tree_entry_free>>;
using Blob = std::unique_ptr<git_blob, Deleter<git_blob, git_blob_free>>;
using Diff = std::unique_ptr<git_diff, Deleter<git_diff, git_diff_free>>;

// The hexadecimal form of an object id, 40 characters.
QString hexOf(const git_oid &oid);
// The 20 bytes of an object id, as a key of a hash.
QByteArray keyOf(const git_oid &oid);
// The library's word on its last failure, or `fallback` when it has none.
QString lastError(const QString &fallback = QStringLiteral("unknown error"));
// A text of a commit: UTF-8 when it is valid UTF-8, else read byte by byte as Latin-1, so a
// message or a name in a legacy encoding still reads and nothing is lost to replacement marks.
QString textOf(const char *bytes);
QString textOf(const char *bytes, qsizetype size);

} // namespace kestrune::git
