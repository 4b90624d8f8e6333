#include "history/treepaths_p.h"

#include <cstring>

namespace kestrune {

namespace {

// Deeper than any real tree; a crafted tree that nests itself without end stops here.
constexpr int maximumDepth = 256;

// Whether a failed path lookup only found that the path names nothing: a missing or corrupt tree
// on the way fails with another class of error, and is noted.
bool namesNothing(int error)
{
    if (error != GIT_ENOTFOUND)
        return false;
    const git_error *last = git_error_last();
    return !last || last->klass == GIT_ERROR_TREE;
}

} // namespace

TreePaths::TreePaths(git_repository *repository) : m_repository(repository)
{
    if (git_repository_odb(&m_objects, repository) < 0)
        m_objects = nullptr;
}

TreePaths::~TreePaths()
{
    git_odb_free(m_objects);
}

std::optional<git_oid> TreePaths::entryOid(const git_oid &root, const QByteArray &path, bool *unreadable)
{
    const auto fail = [unreadable] {
        if (unreadable)
            *unreadable = true;
        return std::nullopt;
    };
    if (path.isEmpty())
        return root;
    if (!m_objects) {
        note(QStringLiteral("the object database could not be opened: %1").arg(git::lastError()));
        return fail();
    }
    git_oid tree = root;
    qsizetype start = 0;
    for (int depth = 0; depth <= maximumDepth; ++depth) {
        const qsizetype slash = path.indexOf('/', start);
        const QByteArrayView name =
            QByteArrayView(path).sliced(start, (slash < 0 ? path.size() : slash) - start);
        git_odb_object *object = nullptr;
        if (git_odb_read(&object, m_objects, &tree) < 0) {
            note(QStringLiteral("tree %1 could not be read: %2").arg(git::hexOf(tree), git::lastError()));
            return fail();
        }
        const bool isTree = git_odb_object_type(object) == GIT_OBJECT_TREE;
        const std::optional<std::pair<git_oid, bool>> entry =
            isTree ? scanTree(static_cast<const char *>(git_odb_object_data(object)),
                              git_odb_object_size(object), name)
                   : std::nullopt;
        git_odb_object_free(object);
        if (!isTree) {
            note(QStringLiteral("object %1 is not a tree").arg(git::hexOf(tree)));
            return fail();
        }
        if (!entry)
            return std::nullopt;
        if (slash < 0)
            return entry->first;
        if (!entry->second)
            return std::nullopt;
        tree = entry->first;
        start = slash + 1;
    }
    return std::nullopt;
}

std::optional<std::pair<git_oid, bool>> TreePaths::scanTree(const char *data, size_t size,
                                                            QByteArrayView name)
{
    // Each entry is "<octal mode> <name>\0" and the 20 bytes of its id.
    const char *at = data;
    const char *end = data + size;
    while (at < end) {
        const char *space = static_cast<const char *>(std::memchr(at, ' ', size_t(end - at)));
        if (!space)
            return std::nullopt;
        const char *nameStart = space + 1;
        const char *nul = static_cast<const char *>(std::memchr(nameStart, '\0', size_t(end - nameStart)));
        if (!nul || end - nul - 1 < GIT_OID_RAWSZ)
            return std::nullopt;
        const size_t length = size_t(nul - nameStart);
        if (length == size_t(name.size()) && std::memcmp(nameStart, name.data(), length) == 0) {
            git_oid oid;
            git_oid_fromraw(&oid, reinterpret_cast<const unsigned char *>(nul + 1));
            // Folders have mode 40000; files 100644, 100755, links 120000, submodules 160000.
            const bool isFolder = space - at == 5 && std::memcmp(at, "40000", 5) == 0;
            return std::pair(oid, isFolder);
        }
        at = nul + 1 + GIT_OID_RAWSZ;
    }
    return std::nullopt;
}

git::Tree TreePaths::treeOf(const git_commit *commit)
{
    git_tree *tree = nullptr;
    if (git_commit_tree(&tree, commit) < 0) {
        note(QStringLiteral("tree %1 of commit %2 could not be read: %3")
                 .arg(git::hexOf(*git_commit_tree_id(commit)), git::hexOf(*git_commit_id(commit)),
                      git::lastError()));
        return {};
    }
    return git::Tree(tree);
}

git::Tree TreePaths::lookupTree(const git_oid &oid)
{
    git_tree *tree = nullptr;
    if (git_tree_lookup(&tree, m_repository, &oid) < 0) {
        note(QStringLiteral("tree %1 could not be read: %2").arg(git::hexOf(oid), git::lastError()));
        return {};
    }
    return git::Tree(tree);
}

git::Tree TreePaths::subtree(const git_tree *root, const QByteArray &path)
{
    if (path.isEmpty())
        return lookupTree(*git_tree_id(root));
    git_tree_entry *entry = nullptr;
    if (git_tree_entry_bypath(&entry, root, path.constData()) < 0)
        return {};
    const git::TreeEntry owned(entry);
    if (git_tree_entry_type(entry) != GIT_OBJECT_TREE)
        return {};
    return lookupTree(*git_tree_entry_id(entry));
}

std::optional<QByteArray> TreePaths::blobAt(const git_tree *root, const QByteArray &path)
{
    git_tree_entry *entry = nullptr;
    const int error = git_tree_entry_bypath(&entry, root, path.constData());
    if (namesNothing(error))
        return std::nullopt;
    if (error < 0) {
        note(QStringLiteral("a tree on the way to %1 in tree %2 could not be read: %3")
                 .arg(QString::fromUtf8(path), git::hexOf(*git_tree_id(root)), git::lastError()));
        return std::nullopt;
    }
    const git::TreeEntry owned(entry);
    if (git_tree_entry_type(entry) != GIT_OBJECT_BLOB)
        return std::nullopt;
    return blob(*git_tree_entry_id(entry));
}

std::optional<QByteArray> TreePaths::blobIn(const git_tree *folder, const char *name)
{
    const git_tree_entry *entry = git_tree_entry_byname(folder, name);
    if (!entry || git_tree_entry_type(entry) != GIT_OBJECT_BLOB)
        return std::nullopt;
    return blob(*git_tree_entry_id(entry));
}

std::optional<QByteArray> TreePaths::blob(const git_oid &oid)
{
    git_blob *found = nullptr;
    if (git_blob_lookup(&found, m_repository, &oid) < 0) {
        note(QStringLiteral("blob %1 could not be read: %2").arg(git::hexOf(oid), git::lastError()));
        return std::nullopt;
    }
    const git::Blob owned(found);
    return QByteArray(static_cast<const char *>(git_blob_rawcontent(found)),
                      qsizetype(git_blob_rawsize(found)));
}

void TreePaths::forEachBlob(const git_tree *root, const QByteArray &folder,
                            const std::function<void(const QByteArray &, const QByteArray &)> &visit)
{
    const git::Tree tree = subtree(root, folder);
    if (tree)
        visitTree(tree.get(), folder, visit, 0);
}

void TreePaths::visitTree(const git_tree *tree, const QByteArray &path,
                          const std::function<void(const QByteArray &, const QByteArray &)> &visit, int depth)
{
    if (depth > maximumDepth)
        return;
    const size_t count = git_tree_entrycount(tree);
    for (size_t index = 0; index < count; ++index) {
        const git_tree_entry *entry = git_tree_entry_byindex(tree, index);
        const QByteArray entryPath =
            path.isEmpty() ? QByteArray(git_tree_entry_name(entry)) : path + '/' + git_tree_entry_name(entry);
        if (git_tree_entry_type(entry) == GIT_OBJECT_TREE) {
            if (const git::Tree child = lookupTree(*git_tree_entry_id(entry)))
                visitTree(child.get(), entryPath, visit, depth + 1);
        } else if (git_tree_entry_type(entry) == GIT_OBJECT_BLOB) {
            if (const std::optional<QByteArray> content = blob(*git_tree_entry_id(entry)))
                visit(entryPath, *content);
        }
    }
}

QStringList TreePaths::takeMessages()
{
    QStringList messages = std::move(m_messages);
    m_messages.clear();
    return messages;
}

void TreePaths::note(const QString &message)
{
    if (!m_noted.contains(message)) {
        m_noted.insert(message);
        m_messages.append(message);
    }
}

} // namespace kestrune
