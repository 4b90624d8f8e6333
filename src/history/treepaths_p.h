#pragma once

// Reading a commit's tree by path, for the histories: the id of what a path names (one lookup
// per commit decides whether a commit touched a folder or file at all), the trees and blobs
// themselves, and the messages that name each object that could not be read, once each.

#include "history/gitobjects_p.h"

#include <QByteArray>
#include <QSet>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>

namespace kestrune {

class TreePaths
{
public:
    explicit TreePaths(git_repository *repository);
    ~TreePaths();
    TreePaths(const TreePaths &) = delete;
    TreePaths &operator=(const TreePaths &) = delete;

    git::Tree treeOf(const git_commit *commit);
    git::Tree lookupTree(const git_oid &oid);
    // The id of the tree or blob at a path ("a/b/c", no "/" at either end) below a root tree;
    // nothing when the path names nothing there, or when a tree on the way cannot be read (noted,
    // and `unreadable` set). The trees are read as raw objects and scanned for each name rather
    // than parsed into entries: this is what the walks ask of every commit.
    std::optional<git_oid> entryOid(const git_oid &root, const QByteArray &path, bool *unreadable = nullptr);
    // The tree at a path; null when it is absent, not a folder, or unreadable.
    git::Tree subtree(const git_tree *root, const QByteArray &path);
    // The bytes of the blob at a path (or named `name` in `folder`); nothing when absent.
    std::optional<QByteArray> blobAt(const git_tree *root, const QByteArray &path);
    std::optional<QByteArray> blobIn(const git_tree *folder, const char *name);
    std::optional<QByteArray> blob(const git_oid &oid);
    // Every blob below a folder, depth first in tree order, with its repository path.
    void forEachBlob(const git_tree *root, const QByteArray &folder,
                     const std::function<void(const QByteArray &, const QByteArray &)> &visit);

    const QStringList &messages() const { return m_messages; }
    QStringList takeMessages();
    // Notes what could not be read, once for each text.
    void note(const QString &message);

private:
    void visitTree(const git_tree *tree, const QByteArray &path,
                   const std::function<void(const QByteArray &, const QByteArray &)> &visit, int depth);

    // The id of the entry `name` in a raw tree object, and whether it is a folder; nothing when
    // the tree has no such entry (or is not well formed).
    static std::optional<std::pair<git_oid, bool>> scanTree(const char *data, size_t size,
                                                            QByteArrayView name);

    git_repository *m_repository;
    git_odb *m_objects = nullptr;
    QStringList m_messages;
    QSet<QString> m_noted;
};

} // namespace kestrune
