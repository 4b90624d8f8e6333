#include "testrepository.h"

#include <git2.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <map>

namespace kestrune {

namespace {

// A tree built from files below a folder: name -> (content, or the files of a sub-folder).
struct FolderNode
{
    std::map<QByteArray, QByteArray> files;
    std::map<QByteArray, FolderNode> folders;
};

git_oid writeTree(git_repository *repository, const FolderNode &folder)
{
    git_treebuilder *builder = nullptr;
    git_treebuilder_new(&builder, repository, nullptr);
    for (const auto &[name, content] : folder.files) {
        git_oid blob;
        git_blob_create_from_buffer(&blob, repository, content.constData(), size_t(content.size()));
        git_treebuilder_insert(nullptr, builder, name.constData(), &blob, GIT_FILEMODE_BLOB);
    }
    for (const auto &[name, child] : folder.folders) {
        const git_oid tree = writeTree(repository, child);
        git_treebuilder_insert(nullptr, builder, name.constData(), &tree, GIT_FILEMODE_TREE);
    }
    git_oid tree;
    git_treebuilder_write(&tree, builder);
    git_treebuilder_free(builder);
    return tree;
}

QString hexOf(const git_oid &oid)
{
    char text[GIT_OID_HEXSZ + 1] = {};
    git_oid_tostr(text, sizeof text, &oid);
    return QString::fromLatin1(text);
}

} // namespace

TestRepository::TestRepository(Kind kind)
{
    git_libgit2_init();
    QVERIFY(m_temporary.isValid());
    git_repository_init_options options = GIT_REPOSITORY_INIT_OPTIONS_INIT;
    options.flags = GIT_REPOSITORY_INIT_MKPATH;
    if (kind == Kind::bare)
        options.flags |= GIT_REPOSITORY_INIT_BARE;
    options.initial_head = "main";
    QCOMPARE(git_repository_init_ext(&m_repository, QFile::encodeName(path()).constData(), &options), 0);
}

TestRepository::~TestRepository()
{
    git_repository_free(m_repository);
    git_libgit2_shutdown();
}

QString TestRepository::gitFolder() const
{
    return QFile::decodeName(git_repository_path(m_repository));
}

void TestRepository::write(const QByteArray &path, const QByteArray &content)
{
    m_files.insert(path, content);
    const QByteArray native = QFile::encodeName(this->path()) + '/' + path;
    QDir().mkpath(QFile::decodeName(native.left(native.lastIndexOf('/'))));
    QFile file(QFile::decodeName(native));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

void TestRepository::remove(const QByteArray &path)
{
    m_files.remove(path);
    QFile::remove(QFile::decodeName(QFile::encodeName(this->path()) + '/' + path));
}

void TestRepository::moveFolder(const QByteArray &from, const QByteArray &to)
{
    const QMap<QByteArray, QByteArray> files = m_files;
    for (auto file = files.begin(); file != files.end(); ++file) {
        if (file.key().startsWith(from + '/')) {
            remove(file.key());
            write(to + file.key().sliced(from.size()), file.value());
        }
    }
    QDir(QFile::decodeName(QFile::encodeName(this->path()) + '/' + from)).removeRecursively();
}

QString TestRepository::commit(const QByteArray &message)
{
    FolderNode root;
    for (auto file = m_files.begin(); file != m_files.end(); ++file) {
        const QList<QByteArray> names = file.key().split('/');
        FolderNode *folder = &root;
        for (qsizetype index = 0; index + 1 < names.size(); ++index)
            folder = &folder->folders[names.at(index)];
        folder->files[names.constLast()] = file.value();
    }
    const git_oid treeId = writeTree(m_repository, root);
    git_tree *tree = nullptr;
    git_tree_lookup(&tree, m_repository, &treeId);

    git_commit *parent = nullptr;
    git_oid head;
    if (git_reference_name_to_id(&head, m_repository, "HEAD") == 0)
        git_commit_lookup(&parent, m_repository, &head);
    m_time = m_time.addSecs(60);
    git_signature *author = nullptr;
    git_signature_new(&author, "Ada Example", "ada@example.org", m_time.toSecsSinceEpoch(),
                      m_time.offsetFromUtc() / 60);
    const git_commit *parents[] = {parent};
    git_oid id;
    const int error = git_commit_create(&id, m_repository, "HEAD", author, author, nullptr,
                                        message.constData(), tree, parent ? 1 : 0, parents);
    git_signature_free(author);
    git_commit_free(parent);
    git_tree_free(tree);
    if (error < 0)
        qFatal("commit failed: %s", git_error_last()->message);
    return hexOf(id);
}

QString TestRepository::looseObjectPath(const QString &sha) const
{
    return gitFolder() + QStringLiteral("objects/") + sha.left(2) + u'/' + sha.mid(2);
}

QString TestRepository::objectAt(const QString &commit, const QByteArray &path) const
{
    git_oid id;
    git_oid_fromstr(&id, commit.toLatin1().constData());
    git_commit *found = nullptr;
    git_commit_lookup(&found, m_repository, &id);
    git_tree *tree = nullptr;
    git_commit_tree(&tree, found);
    git_tree_entry *entry = nullptr;
    QString sha;
    if (git_tree_entry_bypath(&entry, tree, path.constData()) == 0)
        sha = hexOf(*git_tree_entry_id(entry));
    git_tree_entry_free(entry);
    git_tree_free(tree);
    git_commit_free(found);
    return sha;
}

QStringList snapshotOf(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        entries.append(QStringLiteral("%1 %2 %3")
                           .arg(info.filePath())
                           .arg(info.isDir() ? -1 : info.size())
                           .arg(info.lastModified().toMSecsSinceEpoch()));
    }
    entries.sort();
    return entries;
}

} // namespace kestrune
