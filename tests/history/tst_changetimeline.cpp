#include "changestory.h"
#include "historyreading.h"

#include <git2.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>

#include <atomic>
#include <cstdio>

using namespace kestrune;

namespace {

QString archivedFolderOf(const TestRepository &repository, const QString &prefix = QString())
{
    return repository.pathOf(prefix + QStringLiteral("kestrune/changes/archive/") +
                             QLatin1String(ChangeStory::archiveFolder));
}

QStringList kindsOf(const QList<ChangeHistoryEvent> &events)
{
    QStringList kinds;
    for (const ChangeHistoryEvent &event : events)
        kinds.append(rawValue(event.kind));
    return kinds;
}

// Commits HEAD's tree with `updates` applied, built from objects directly rather than from the
// files the repository keeps, so entries no work tree holds (gitlinks, huge folders) get in.
QString commitUpdated(const TestRepository &repository, const QList<git_tree_update> &updates,
                      const char *message)
{
    git_repository *git = repository.repository();
    git_oid head;
    git_commit *parent = nullptr;
    git_tree *baseline = nullptr;
    git_oid tree;
    git_tree *built = nullptr;
    git_signature *author = nullptr;
    git_oid id;
    const bool made =
        git_reference_name_to_id(&head, git, "HEAD") == 0 && git_commit_lookup(&parent, git, &head) == 0 &&
        git_commit_tree(&baseline, parent) == 0 &&
        git_tree_create_updated(&tree, git, baseline, size_t(updates.size()), updates.constData()) == 0 &&
        git_tree_lookup(&built, git, &tree) == 0 &&
        git_signature_new(&author, "Ada Example", "ada@example.org", git_commit_time(parent) + 60, 60) == 0 &&
        git_commit_create_v(&id, git, "HEAD", author, author, nullptr, message, built, 1, parent) == 0;
    git_signature_free(author);
    git_tree_free(built);
    git_tree_free(baseline);
    git_commit_free(parent);
    if (!made)
        qFatal("commit failed: %s", git_error_last()->message);
    char hex[GIT_OID_HEXSZ + 1] = {};
    git_oid_tostr(hex, sizeof hex, &id);
    return QString::fromLatin1(hex);
}

git_tree_update upsert(const char *path, const git_oid &id, git_filemode_t mode)
{
    git_tree_update update{};
    update.action = GIT_TREE_UPDATE_UPSERT;
    update.id = id;
    update.filemode = mode;
    update.path = path;
    return update;
}

} // namespace

class ChangeTimelineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void followsAChangeFromProposalToArchive();
    void readsAProjectBelowTheRepositoryRoot();
    void corruptObjectsGivePartialTimelines();
    void unreadableTreesAreNamed();
    void shallowCloneEndsWithAMessage();
    void oddRepositoriesStillRead();
    void submodulesAndBinaryFilesRead();
    void aHundredThousandFileCommitReads();
    void cancellationStopsBetweenCommits();
    void startStreamsBatchesFromThePool();
};

void ChangeTimelineTest::followsAChangeFromProposalToArchive()
{
    TestRepository repository;
    const ChangeStory story = ChangeStory::write(repository);
    const HistoryRead<ChangeHistoryEvent> read =
        readTimeline(repository.path(), archivedFolderOf(repository));

    QVERIFY(read.outcome);
    QCOMPARE(read.outcome->end, HistoryOutcome::End::complete);
    QCOMPARE(read.outcome->messages, QStringList());
    QCOMPARE(kindsOf(read.entries),
             QStringList({"archived", "tasks", "tasks", "tasks", "edited", "created"}));
    const QList<ChangeHistoryEvent> &events = read.entries;
    QCOMPARE(events.at(0).commit.sha, story.archived);
    QCOMPARE(events.at(4).commit.sha, story.edited);
    QCOMPARE(events.at(5).commit.sha, story.proposed);

    const ChangeHistoryEvent &archived = events.at(0);
    QCOMPARE(archived.folder, QStringLiteral("kestrune/changes/archive/2026-03-02-add-tagging"));
    QCOMPARE(archived.previousFolder, QStringLiteral("kestrune/changes/add-tagging"));
    QCOMPARE(archived.files, QStringList());
    QCOMPARE(archived.tasksAfter.done, 3);

    for (int tick = 0; tick < 3; ++tick) {
        const ChangeHistoryEvent &ticked = events.at(3 - tick);
        QCOMPARE(ticked.commit.sha, story.ticked[tick]);
        QCOMPARE(ticked.tasksBefore.done, tick);
        QCOMPARE(ticked.tasksAfter.done, tick + 1);
        QCOMPARE(ticked.tasksAfter.total, 3);
        QCOMPARE(ticked.files, QStringList({"tasks.md"}));
        QCOMPARE(ticked.folder, QStringLiteral("kestrune/changes/add-tagging"));
    }
    QCOMPARE(events.at(4).files,
             QStringList({"design.md", "proposal.md", "specs/tagging/spec.md", "tasks.md"}));
    QCOMPARE(events.at(4).addedFiles, QStringList({"design.md", "specs/tagging/spec.md", "tasks.md"}));
    QCOMPARE(events.at(4).tasksAfter.total, 3);
    QCOMPARE(events.at(5).files, QStringList({"proposal.md"}));
    QCOMPARE(events.at(5).addedFiles, QStringList({"proposal.md"}));
    QCOMPARE(events.at(1).addedFiles, QStringList());
    QCOMPARE(events.at(5).commit.subject, QStringLiteral("Propose tagging"));
    QCOMPARE(events.at(5).commit.author, QStringLiteral("Ada Example"));
    QCOMPARE(events.at(5).commit.time.offsetFromUtc(), 3600);
    // The first entry is delivered on its own, before the walk goes on.
    QVERIFY(read.batches >= 2);
}

void ChangeTimelineTest::readsAProjectBelowTheRepositoryRoot()
{
    TestRepository repository;
    repository.write("README.md", "outside the project\n");
    const ChangeStory story = ChangeStory::write(repository, "apps/notes/");
    const QString project = repository.pathOf(QStringLiteral("apps/notes"));

    const HistoryRead<ChangeHistoryEvent> archived =
        readTimeline(project, archivedFolderOf(repository, QStringLiteral("apps/notes/")));
    QCOMPARE(archived.entries.size(), 6);
    QCOMPARE(archived.entries.first().folder,
             QStringLiteral("kestrune/changes/archive/2026-03-02-add-tagging"));

    const HistoryRead<ChangeHistoryEvent> other =
        readTimeline(project, repository.pathOf(QStringLiteral("apps/notes/kestrune/changes/other-change")));
    QCOMPARE(kindsOf(other.entries), QStringList({"edited", "edited", "created"}));
    QCOMPARE(other.entries.first().files, QStringList({"tasks.md"}));
    QVERIFY(story.other == other.entries.at(1).commit.sha);
}

void ChangeTimelineTest::corruptObjectsGivePartialTimelines()
{
    TestRepository repository;
    const ChangeStory story = ChangeStory::write(repository);
    // The tasks of the second tick, and the commit before the first: its parents stay out of reach.
    const QString tasks = repository.objectAt(story.ticked[1], "kestrune/changes/add-tagging/tasks.md");
    QVERIFY(QFile::remove(repository.looseObjectPath(tasks)));
    QVERIFY(QFile::remove(repository.looseObjectPath(story.edited)));

    const HistoryRead<ChangeHistoryEvent> read =
        readTimeline(repository.path(), archivedFolderOf(repository));
    QVERIFY(read.outcome);
    QVERIFY(read.outcome->isPartial());
    // The first tick is compared with a commit that cannot be read: an edit, where the line ends.
    QCOMPARE(kindsOf(read.entries), QStringList({"archived", "tasks", "tasks", "edited"}));
    QCOMPARE(read.entries.last().commit.sha, story.ticked[0]);
    const QString messages = read.outcome->messages.join(u'\n');
    QVERIFY2(messages.contains(story.edited), qPrintable(messages));
    QVERIFY2(messages.contains(tasks), qPrintable(messages));
}

void ChangeTimelineTest::unreadableTreesAreNamed()
{
    TestRepository repository;
    const ChangeStory story = ChangeStory::write(repository);
    // The changes folder of the second tick: that commit, and the one after it (which ticked the
    // other change), cannot be compared.
    const QString changes = repository.objectAt(story.ticked[1], "kestrune/changes");
    QVERIFY(QFile::remove(repository.looseObjectPath(changes)));

    const HistoryRead<ChangeHistoryEvent> read =
        readTimeline(repository.path(), archivedFolderOf(repository));
    QCOMPARE(kindsOf(read.entries), QStringList({"archived", "tasks", "tasks", "edited", "created"}));
    QCOMPARE(read.entries.at(2).commit.sha, story.ticked[0]);
    QCOMPARE(read.entries.at(2).tasksAfter.done, 1);
    QCOMPARE(read.outcome->messages.size(), 1);
    QVERIFY(read.outcome->messages.first().contains(changes));
}

void ChangeTimelineTest::shallowCloneEndsWithAMessage()
{
    TestRepository repository;
    const ChangeStory story = ChangeStory::write(repository);
    QFile shallow(repository.gitFolder() + QStringLiteral("shallow"));
    QVERIFY(shallow.open(QIODevice::WriteOnly));
    shallow.write(story.ticked[0].toLatin1() + '\n');
    shallow.close();

    const HistoryRead<ChangeHistoryEvent> read =
        readTimeline(repository.path(), archivedFolderOf(repository));
    QCOMPARE(read.entries.size(), 4);
    QCOMPARE(read.entries.last().commit.sha, story.ticked[0]);
    // What the shallow clone left out is not known: no creation is made up.
    QCOMPARE(read.entries.last().kind, ChangeEventKind::edited);
    QCOMPARE(read.entries.last().files,
             QStringList({"design.md", "proposal.md", "specs/tagging/spec.md", "tasks.md"}));
    QVERIFY(read.outcome->messages.join(u' ').contains(QStringLiteral("shallow")));
}

void ChangeTimelineTest::oddRepositoriesStillRead()
{
    TestRepository repository;
    ChangeStory::write(repository);
    // A legacy-encoded subject, a file name that is no UTF-8, a detached HEAD and lock files.
    repository.write("kestrune/changes/archive/2026-03-02-add-tagging/caf\xe9.md", "# Caf\xe9\n");
    const QString latin = repository.commit("Note the caf\xe9\n\nin Latin-1");
    git_oid head;
    git_oid_fromstr(&head, latin.toLatin1().constData());
    QCOMPARE(git_repository_set_head_detached(repository.repository(), &head), 0);
    for (const char *lock : {"HEAD.lock", "index.lock", "refs/heads/main.lock"}) {
        QFile file(repository.gitFolder() + QLatin1String(lock));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    const HistoryRead<ChangeHistoryEvent> read =
        readTimeline(repository.path(), archivedFolderOf(repository));
    QCOMPARE(read.entries.size(), 7);
    QCOMPARE(read.entries.first().commit.subject, QStringLiteral("Note the caf\u00e9"));
    QCOMPARE(read.entries.first().files.size(), 1);
    QVERIFY(read.entries.first().files.first().endsWith(QStringLiteral(".md")));

    // A second work tree, whose ".git" is a file naming the repository.
    QTemporaryDir elsewhere;
    const QString second = elsewhere.path() + QStringLiteral("/second");
    git_worktree *worktree = nullptr;
    git_worktree_add_options options = GIT_WORKTREE_ADD_OPTIONS_INIT;
    QCOMPARE(git_worktree_add(&worktree, repository.repository(), "second",
                              QFile::encodeName(second).constData(), &options),
             0);
    git_worktree_free(worktree);
    QVERIFY(QFileInfo(second + QStringLiteral("/.git")).isFile());
    const HistoryRead<ChangeHistoryEvent> fromWorktree =
        readTimeline(second, second + QStringLiteral("/kestrune/changes/archive/") +
                                 QLatin1String(ChangeStory::archiveFolder));
    QCOMPARE(fromWorktree.entries.size(), 7);
    // The checkout wrote the name as it is stored, which the folder's own removal cannot spell.
    const QByteArray checkedOut = QFile::encodeName(second + QStringLiteral("/kestrune/changes/archive/") +
                                                    QLatin1String(ChangeStory::archiveFolder)) +
                                  "/caf\xe9.md";
    QCOMPARE(std::remove(checkedOut.constData()), 0);
}

void ChangeTimelineTest::submodulesAndBinaryFilesRead()
{
    TestRepository repository;
    const ChangeStory story = ChangeStory::write(repository);
    const QByteArray binary("\x00\xff\xfe\x80PNG\x00\xc3\x28", 10);
    repository.write("kestrune/changes/other-change/diagram.bin", binary);
    repository.write("kestrune/specs/tagging/logo.bin", binary);
    repository.commit("Add pictures");
    repository.write("kestrune/changes/other-change/diagram.bin", binary + QByteArray("\x00\x01", 2));
    repository.write("kestrune/specs/tagging/logo.bin", QByteArray("\xc0\xaf\x00", 3) + binary);
    const QString edited = repository.commit("Edit pictures");
    // Submodules in a change folder, in the project folder and beside it: commits, not blobs,
    // and none of them is in this repository.
    git_oid elsewhere;
    git_oid_fromstr(&elsewhere, "0123456789abcdef0123456789abcdef01234567");
    const QString linked =
        commitUpdated(repository,
                      {upsert("kestrune/changes/other-change/vendor", elsewhere, GIT_FILEMODE_COMMIT),
                       upsert("kestrune/tools", elsewhere, GIT_FILEMODE_COMMIT),
                       upsert("kestrune-tools", elsewhere, GIT_FILEMODE_COMMIT)},
                      "Link the tools");
    const QStringList before = snapshotOf(repository.gitFolder());

    const HistoryRead<ChangeHistoryEvent> other =
        readTimeline(repository.path(), repository.pathOf(QStringLiteral("kestrune/changes/other-change")));
    QVERIFY(other.outcome);
    QCOMPARE(other.outcome->end, HistoryOutcome::End::complete);
    QCOMPARE(other.outcome->messages, QStringList());
    QCOMPARE(kindsOf(other.entries),
             QStringList({"edited", "edited", "edited", "edited", "edited", "created"}));
    QCOMPARE(other.entries.at(0).commit.sha, linked);
    QCOMPARE(other.entries.at(0).files, QStringList({"vendor"}));
    QCOMPARE(other.entries.at(1).commit.sha, edited);
    QCOMPARE(other.entries.at(1).files, QStringList({"diagram.bin"}));
    QCOMPARE(other.entries.at(2).addedFiles, QStringList({"diagram.bin"}));

    const HistoryRead<ChangeHistoryEvent> archived =
        readTimeline(repository.path(), archivedFolderOf(repository));
    QCOMPARE(archived.entries.size(), 6);
    QCOMPARE(archived.entries.first().commit.sha, story.archived);

    const HistoryRead<FileHistoryEntry> logo = readFileHistory(
        repository.path(), repository.pathOf(QStringLiteral("kestrune/specs/tagging/logo.bin")));
    QCOMPARE(logo.outcome->messages, QStringList());
    QCOMPARE(logo.entries.size(), 2);
    QCOMPARE(logo.entries.at(0).commit.sha, edited);
    QCOMPARE(logo.entries.at(0).kind, FileChangeKind::modified);
    QCOMPARE(logo.entries.at(1).kind, FileChangeKind::added);
    const HistoryRead<FileHistoryEntry> vendor = readFileHistory(
        repository.path(), repository.pathOf(QStringLiteral("kestrune/changes/other-change/vendor")));
    QVERIFY(vendor.outcome);
    QCOMPARE(vendor.entries.size(), 1);
    QCOMPARE(vendor.entries.first().commit.sha, linked);

    QCOMPARE(snapshotOf(repository.gitFolder()), before);
}

void ChangeTimelineTest::aHundredThousandFileCommitReads()
{
    TestRepository repository;
    ChangeStory::write(repository);
    git_repository *git = repository.repository();
    git_oid blob;
    QCOMPARE(git_blob_create_from_buffer(&blob, git, "same\n", 5), 0);
    git_treebuilder *builder = nullptr;
    QCOMPARE(git_treebuilder_new(&builder, git, nullptr), 0);
    for (int index = 0; index < 100000; ++index) {
        const QByteArray name = "note-" + QByteArray::number(index) + ".md";
        QCOMPARE(git_treebuilder_insert(nullptr, builder, name.constData(), &blob, GIT_FILEMODE_BLOB), 0);
    }
    git_oid bulk;
    QCOMPARE(git_treebuilder_write(&bulk, builder), 0);
    git_treebuilder_free(builder);
    const QString huge =
        commitUpdated(repository,
                      {upsert("kestrune/changes/other-change/notes", bulk, GIT_FILEMODE_TREE),
                       upsert("generated", bulk, GIT_FILEMODE_TREE)},
                      "Generate notes");
    const QStringList before = snapshotOf(repository.gitFolder());

    QElapsedTimer timer;
    timer.start();
    const HistoryRead<ChangeHistoryEvent> other =
        readTimeline(repository.path(), repository.pathOf(QStringLiteral("kestrune/changes/other-change")));
    qInfo("timeline over 200,000 new files: %lld ms", timer.restart());
    QVERIFY(other.outcome);
    QCOMPARE(other.outcome->end, HistoryOutcome::End::complete);
    QCOMPARE(other.entries.size(), 4);
    QCOMPARE(other.entries.first().commit.sha, huge);
    QCOMPARE(other.entries.first().addedFiles.size(), 100000);
    QCOMPARE(other.entries.first().addedFiles.first(), QStringLiteral("notes/note-0.md"));

    const HistoryRead<FileHistoryEntry> note = readFileHistory(
        repository.path(),
        repository.pathOf(QStringLiteral("kestrune/changes/other-change/notes/note-99999.md")));
    qInfo("file history in it: %lld ms", timer.elapsed());
    QVERIFY(note.outcome);
    QCOMPARE(note.entries.size(), 1);
    QCOMPARE(note.entries.first().commit.sha, huge);
    QCOMPARE(note.entries.first().kind, FileChangeKind::added);

    QCOMPARE(snapshotOf(repository.gitFolder()), before);
}

void ChangeTimelineTest::cancellationStopsBetweenCommits()
{
    TestRepository repository;
    ChangeStory::write(repository);
    std::atomic_bool cancelled = false;
    int asked = 0;
    const HistoryRead<ChangeHistoryEvent> read =
        readTimeline(repository.path(), archivedFolderOf(repository), [&] {
            if (++asked == 3)
                cancelled = true;
            return cancelled.load();
        });
    QCOMPARE(read.outcome->end, HistoryOutcome::End::cancelled);
    QCOMPARE(kindsOf(read.entries), QStringList({"archived", "tasks"}));
}

void ChangeTimelineTest::startStreamsBatchesFromThePool()
{
    TestRepository repository;
    ChangeStory::write(repository);
    QFuture<ChangeTimelineBatch> future =
        ChangeTimeline::start(repository.path(), archivedFolderOf(repository));
    future.waitForFinished();
    const QList<ChangeTimelineBatch> batches = future.results();
    QVERIFY(batches.size() >= 2);
    QVERIFY(batches.last().outcome);
    QCOMPARE(batches.last().outcome->end, HistoryOutcome::End::complete);
    qsizetype events = 0;
    for (const ChangeTimelineBatch &batch : batches)
        events += batch.entries.size();
    QCOMPARE(events, 6);

    QTemporaryDir plain;
    QFuture<ChangeTimelineBatch> none = ChangeTimeline::start(plain.path(), plain.path());
    none.waitForFinished();
    QCOMPARE(none.resultCount(), 1);
    QCOMPARE(none.result().outcome->end, HistoryOutcome::End::unavailable);
    QCOMPARE(none.result().outcome->reason, HistoryUnavailable::noRepository);
}

QTEST_GUILESS_MAIN(ChangeTimelineTest)
#include "tst_changetimeline.moc"
