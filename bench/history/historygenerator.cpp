#include "historygenerator.h"

#include <git2.h>
#include <git2/sys/mempack.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <vector>

namespace {

constexpr int followedChange = 100;
constexpr int capabilities = 20;

void check(int error, const char *what)
{
    if (error < 0) {
        std::fprintf(stderr, "%s failed: %s\n", what, git_error_last() ? git_error_last()->message : "?");
        std::exit(2);
    }
}

struct FolderNode
{
    std::map<QByteArray, git_oid> files;
    std::map<QByteArray, FolderNode> folders;
};

git_oid writeTree(git_repository *repository, const FolderNode &folder)
{
    git_treebuilder *builder = nullptr;
    check(git_treebuilder_new(&builder, repository, nullptr), "treebuilder");
    for (const auto &[name, blob] : folder.files)
        check(git_treebuilder_insert(nullptr, builder, name.constData(), &blob, GIT_FILEMODE_BLOB), "insert");
    for (const auto &[name, child] : folder.folders) {
        const git_oid tree = writeTree(repository, child);
        check(git_treebuilder_insert(nullptr, builder, name.constData(), &tree, GIT_FILEMODE_TREE), "insert");
    }
    git_oid tree;
    check(git_treebuilder_write(&tree, builder), "write tree");
    git_treebuilder_free(builder);
    return tree;
}

// Files by path ("specs/cap/spec.md") made into a tree.
git_oid writeFiles(git_repository *repository, const QMap<QByteArray, QByteArray> &files)
{
    FolderNode root;
    for (auto file = files.begin(); file != files.end(); ++file) {
        const QList<QByteArray> names = file.key().split('/');
        FolderNode *folder = &root;
        for (qsizetype index = 0; index + 1 < names.size(); ++index)
            folder = &folder->folders[names.at(index)];
        git_oid blob;
        check(git_blob_create_from_buffer(&blob, repository, file.value().constData(),
                                          size_t(file.value().size())),
              "blob");
        folder->files[names.constLast()] = blob;
    }
    return writeTree(repository, root);
}

QByteArray tasksText(int done, int total)
{
    QByteArray text = "# Tasks\n\n";
    for (int task = 0; task < total; ++task)
        text += (task < done ? "- [x] " : "- [ ] ") + QByteArray::number(task + 1) + ". Do step " +
                QByteArray::number(task + 1) + "\n";
    return text;
}

struct Change
{
    QByteArray name;
    QMap<QByteArray, QByteArray> files;
    int tasksDone = 0;
    int tasksTotal = 0;
};

class Generator
{
public:
    Generator(git_repository *repository) : m_repository(repository)
    {
        check(git_treebuilder_new(&m_changes, repository, nullptr), "treebuilder");
        check(git_treebuilder_new(&m_archive, repository, nullptr), "treebuilder");
        for (int capability = 0; capability < capabilities; ++capability)
            m_specs.insert("capability-" + QByteArray::number(capability) + "/spec.md",
                           "# Capability\n\n## Requirements\n\n### Requirement: First\n\nIt SHALL work.\n");
    }
    ~Generator()
    {
        git_treebuilder_free(m_changes);
        git_treebuilder_free(m_archive);
    }

    void propose(int index)
    {
        Change change;
        change.name = "change-" + QByteArray::number(index).rightJustified(4, '0');
        change.files.insert("proposal.md", "# " + change.name + "\n\n## Why\n\nBecause " +
                                               QByteArray::number(index) + " matters.\n");
        m_records.push_back(change);
        m_active.push_back(index);
        store(index);
    }

    void editDesign(int index)
    {
        Change &change = m_records[size_t(index)];
        change.files["design.md"] += "A design decision, " + QByteArray::number(m_commit) + ".\n";
        store(index);
    }

    void tick(int index)
    {
        Change &change = m_records[size_t(index)];
        if (change.tasksTotal == 0)
            change.tasksTotal = 8;
        else if (change.tasksDone < change.tasksTotal)
            ++change.tasksDone;
        else
            return editDesign(index);
        change.files["tasks.md"] = tasksText(change.tasksDone, change.tasksTotal);
        store(index);
    }

    void writeDelta(int index, int capability)
    {
        Change &change = m_records[size_t(index)];
        change.files["specs/capability-" + QByteArray::number(capability) + "/spec.md"] +=
            "## MODIFIED Requirements\n\n### Requirement: First\n\nIt SHALL work, " +
            QByteArray::number(m_commit) + ".\n\n";
        store(index);
    }

    void editSpecification(int capability)
    {
        m_specs["capability-" + QByteArray::number(capability) + "/spec.md"] +=
            "\n### Requirement: Number " + QByteArray::number(m_commit) + "\n\nIt SHALL count.\n";
        m_specsTree.reset();
    }

    QByteArray archive(int index)
    {
        Change &change = m_records[size_t(index)];
        const QByteArray archived = "2026-" + QByteArray::number(1 + m_commit % 12).rightJustified(2, '0') +
                                    "-" + QByteArray::number(1 + m_commit % 28).rightJustified(2, '0') + "-" +
                                    change.name;
        check(git_treebuilder_remove(m_changes, change.name.constData()), "remove");
        const git_oid tree = writeFiles(m_repository, change.files);
        check(git_treebuilder_insert(nullptr, m_archive, archived.constData(), &tree, GIT_FILEMODE_TREE),
              "insert");
        git_oid archive;
        check(git_treebuilder_write(&archive, m_archive), "write archive");
        check(git_treebuilder_insert(nullptr, m_changes, "archive", &archive, GIT_FILEMODE_TREE), "insert");
        std::erase(m_active, index);
        ++m_archived;
        return archived;
    }

    void commit(const char *subject)
    {
        git_oid changes;
        check(git_treebuilder_write(&changes, m_changes), "write changes");
        if (!m_specsTree)
            m_specsTree = writeFiles(m_repository, m_specs);
        FolderNode kestrune;
        git_treebuilder *planning = nullptr;
        check(git_treebuilder_new(&planning, m_repository, nullptr), "treebuilder");
        check(git_treebuilder_insert(nullptr, planning, "changes", &changes, GIT_FILEMODE_TREE), "insert");
        check(git_treebuilder_insert(nullptr, planning, "specs", &*m_specsTree, GIT_FILEMODE_TREE), "insert");
        git_oid planningTree;
        check(git_treebuilder_write(&planningTree, planning), "write planning");
        git_treebuilder_free(planning);

        git_treebuilder *root = nullptr;
        check(git_treebuilder_new(&root, m_repository, nullptr), "treebuilder");
        if (!m_readme) {
            git_oid readme;
            check(git_blob_create_from_buffer(&readme, m_repository, "# Project\n", 10), "blob");
            m_readme = readme;
        }
        check(git_treebuilder_insert(nullptr, root, "README.md", &*m_readme, GIT_FILEMODE_BLOB), "insert");
        check(git_treebuilder_insert(nullptr, root, "kestrune", &planningTree, GIT_FILEMODE_TREE), "insert");
        git_oid rootId;
        check(git_treebuilder_write(&rootId, root), "write root");
        git_treebuilder_free(root);

        git_tree *tree = nullptr;
        check(git_tree_lookup(&tree, m_repository, &rootId), "tree");
        git_commit *parent = nullptr;
        if (m_head)
            check(git_commit_lookup(&parent, m_repository, &*m_head), "parent");
        git_signature *author = nullptr;
        check(git_signature_new(&author, "Bench Author", "bench@example.org", 1767225600 + m_commit * 600LL,
                                60),
              "signature");
        const git_commit *parents[] = {parent};
        git_oid id;
        check(git_commit_create(&id, m_repository, nullptr, author, author, nullptr, subject, tree,
                                parent ? 1 : 0, parents),
              "commit");
        git_signature_free(author);
        git_commit_free(parent);
        git_tree_free(tree);
        m_head = id;
        ++m_commit;
    }

    int commits() const { return m_commit; }
    int archived() const { return m_archived; }
    const git_oid &head() const { return *m_head; }
    const std::vector<int> &active() const { return m_active; }
    const Change &change(int index) const { return m_records[size_t(index)]; }

private:
    void store(int index)
    {
        const Change &change = m_records[size_t(index)];
        const git_oid tree = writeFiles(m_repository, change.files);
        check(git_treebuilder_insert(nullptr, m_changes, change.name.constData(), &tree, GIT_FILEMODE_TREE),
              "insert");
    }

    git_repository *m_repository;
    git_treebuilder *m_changes = nullptr;
    git_treebuilder *m_archive = nullptr;
    QMap<QByteArray, QByteArray> m_specs;
    std::optional<git_oid> m_specsTree;
    std::optional<git_oid> m_readme;
    std::optional<git_oid> m_head;
    std::vector<Change> m_records;
    std::vector<int> m_active;
    int m_commit = 0;
    int m_archived = 0;
};

} // namespace

GeneratedHistory generateHistory(const QString &folder, int commits, int changes)
{
    GeneratedHistory generated;
    generated.workTree = folder;
    generated.commits = commits;
    generated.changes = changes;
    const QString marker = folder + QStringLiteral("/.git/bench-history");
    git_libgit2_init();
    // The objects made here are known to be sound; checking each insert would triple the time.
    git_libgit2_opts(GIT_OPT_ENABLE_STRICT_OBJECT_CREATION, 0);

    if (QFile(marker).open(QIODevice::ReadOnly)) {
        QFile file(marker);
        file.open(QIODevice::ReadOnly);
        const QList<QByteArray> lines = file.readAll().split('\n');
        generated.changeName = QString::fromUtf8(lines.value(0));
        generated.activeFolder = QString::fromUtf8(lines.value(1));
        generated.archived = lines.value(2).toInt();
    } else {
        QDir(folder).removeRecursively();
        git_repository *repository = nullptr;
        git_repository_init_options options = GIT_REPOSITORY_INIT_OPTIONS_INIT;
        options.flags = GIT_REPOSITORY_INIT_MKPATH;
        options.initial_head = "main";
        check(git_repository_init_ext(&repository, QFile::encodeName(folder).constData(), &options), "init");
        git_odb *odb = nullptr;
        check(git_repository_odb(&odb, repository), "odb");
        git_odb_backend *memory = nullptr;
        check(git_mempack_new(&memory), "mempack");
        check(git_odb_add_backend(odb, memory, 999), "backend");

        std::mt19937 random(20260302);
        Generator generator(repository);
        QByteArray archivedName;
        for (int index = 0; index < commits; ++index) {
            if (index < changes) {
                generator.propose(index);
                generator.commit("Propose a change");
                continue;
            }
            // The followed change's own steps, spread over the history.
            const int step = index - changes;
            const int span = commits - changes;
            if (step == span / 8) {
                generator.editDesign(followedChange);
                generator.commit("Design the followed change");
                continue;
            }
            if (step == span / 4 || step == span / 2 || step == 3 * span / 4 || step == 7 * span / 8) {
                generator.tick(followedChange);
                generator.commit("Tick a task of the followed change");
                continue;
            }
            if (index == commits - 100) {
                archivedName = generator.archive(followedChange);
                generator.commit("Archive the followed change");
                continue;
            }
            const std::vector<int> &active = generator.active();
            int picked = active[random() % active.size()];
            if (picked == followedChange)
                picked = active.front() == followedChange ? active.back() : active.front();
            const unsigned draw = random() % 100;
            if (draw < 40) {
                generator.tick(picked);
                generator.commit("Tick a task");
            } else if (draw < 70) {
                generator.editDesign(picked);
                generator.commit("Refine a design");
            } else if (draw < 85) {
                generator.writeDelta(picked, int(random() % capabilities));
                generator.commit("Write a delta specification");
            } else if (draw < 95) {
                generator.editSpecification(int(random() % capabilities));
                generator.commit("Edit a specification");
            } else {
                generator.archive(picked);
                generator.commit("Archive a change");
            }
        }
        git_reference *main = nullptr;
        check(git_reference_create(&main, repository, "refs/heads/main", &generator.head(), 1, "bench"),
              "ref");
        git_reference_free(main);

        git_buf pack = GIT_BUF_INIT;
        check(git_mempack_dump(&pack, repository, memory), "dump");
        git_odb_writepack *writer = nullptr;
        check(git_odb_write_pack(&writer, odb, nullptr, nullptr), "write pack");
        git_indexer_progress progress = {};
        check(writer->append(writer, pack.ptr, pack.size, &progress), "append");
        check(writer->commit(writer, &progress), "commit pack");
        writer->free(writer);
        git_buf_dispose(&pack);
        git_mempack_reset(memory);
        git_odb_free(odb);
        git_repository_free(repository);

        generated.changeName = QString::fromUtf8(archivedName);
        generated.activeFolder =
            QStringLiteral("kestrune/changes/") + QString::fromUtf8(generator.change(followedChange).name);
        generated.archived = generator.archived();
        QFile file(marker);
        file.open(QIODevice::WriteOnly);
        file.write(archivedName + '\n' + generated.activeFolder.toUtf8() + '\n' +
                   QByteArray::number(generated.archived) + '\n');
    }
    generated.changeFolder = folder + QStringLiteral("/kestrune/changes/archive/") + generated.changeName;
    generated.proposal = generated.changeFolder + QStringLiteral("/proposal.md");
    // The folders the lookup of a change by name lists; the files stay in the repository.
    QDir().mkpath(generated.changeFolder);
    QDir().mkpath(folder + QStringLiteral("/kestrune/specs"));
    QFile(generated.proposal).open(QIODevice::WriteOnly);
    for (const QFileInfo &pack :
         QDir(folder + QStringLiteral("/.git/objects/pack")).entryInfoList(QDir::Files))
        generated.packBytes += pack.size();
    git_libgit2_shutdown();
    return generated;
}
