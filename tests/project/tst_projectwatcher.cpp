#include "project/liveprojectupdates.h"
#include "project/projectscanner.h"
#include "project/projectstore.h"
#include "project/projectwatcher.h"
#include "project/treenodelookup.h"
#include "projectfolder.h"

#include <QDir>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <atomic>

using namespace kestrune;

namespace {

// A project with one active change, its tasks half done.
void writeProject(ProjectFolder &folder)
{
    folder.write(QStringLiteral("kestrune/specs/auth/spec.md"), "### Requirement: Sign in\n");
    folder.write(QStringLiteral("kestrune/changes/add-login/proposal.md"), "# Proposal\n");
    folder.write(QStringLiteral("kestrune/changes/add-login/design.md"), "# Design\n");
    folder.write(QStringLiteral("kestrune/changes/add-login/specs/auth/spec.md"), "## ADDED Requirements\n");
    folder.write(QStringLiteral("kestrune/changes/add-login/tasks.md"), "- [x] one\n- [ ] two\n");
}

// A store whose loads are counted; the scan is the real one.
struct CountingStore
{
    std::shared_ptr<std::atomic<int>> loads = std::make_shared<std::atomic<int>>(0);
    ProjectStore store{[loads = loads](const QUrl &root) {
        ++*loads;
        return ProjectStore::scanProject(root);
    }};
};

bool waitForSummary(ProjectStore &store, const QUrl &root,
                    const std::function<bool(const ProjectSummary &)> &condition)
{
    return QTest::qWaitFor(
        [&] {
            const std::optional<ProjectSummary> summary = store.summaryForProject(root);
            return summary && condition(*summary);
        },
        10000);
}

int completedChanges(const ProjectSummary &summary)
{
    return int(
        std::count_if(summary.changeSummaries.cbegin(), summary.changeSummaries.cend(),
                      [](const ChangeSummary &change) { return change.status == ChangeStatus::completed; }));
}

bool waitForIdle(ProjectStore &store, const QUrl &root)
{
    return QTest::qWaitFor([&] { return !store.isLoading(root); }, 10000);
}

// Until the latest scan is published and its outline watched.
bool waitForWatch(const LiveProjectUpdates &updates, ProjectStore &store, const QUrl &root)
{
    return QTest::qWaitFor([&] { return !store.isLoading(root) && updates.isWatchedInFull(root); }, 10000);
}

} // namespace

class TestProjectWatcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void writesCreationsAndRemovalsAreReportedOncePerBurst();
    void newFoldersAreWatchedFromTheNextOutline();
    void unrelatedFilesBesideThePlanningFolderAreIgnored();
    void tickingATaskCompletesTheChangeWithoutARefresh();
    void burstOfWritesCausesAtMostTwoScans();
    void turningUpdatesOffStopsThem();
    void deletedAndRecreatedProjectIsWatchedAgain();
    void watchLimitIsReportedOnceAndFallsBackToRefresh();
    void refusedPathsAreSaidInOneLine();
    void lookupsFindNodesByPathAndInTheArchive();
};

void TestProjectWatcher::writesCreationsAndRemovalsAreReportedOncePerBurst()
{
    ProjectFolder folder;
    writeProject(folder);
    const std::optional<TreeNode> tree = buildTree(folder.url());
    QVERIFY(tree);
    ProjectWatcher watcher(folder.url());
    watcher.watch(std::make_shared<const TreeNode>(*tree));
    QTRY_VERIFY(watcher.isComplete());
    QVERIFY(watcher.watchedPaths().contains(
        folder.pathOf(QStringLiteral("kestrune/changes/add-login/tasks.md"))));
    QVERIFY(watcher.watchedPaths().contains(folder.pathOf(QStringLiteral("kestrune/changes"))));
    QSignalSpy changes(&watcher, &ProjectWatcher::changed);

    // A write inside a watched file, then several events at once: one report each time.
    folder.write(QStringLiteral("kestrune/changes/add-login/tasks.md"), "- [x] one\n- [x] two\n");
    QVERIFY(changes.wait(5000));
    QCOMPARE(changes.count(), 1);

    folder.write(QStringLiteral("kestrune/specs/auth/new.md"), "# New\n");
    QVERIFY(QFile::remove(folder.pathOf(QStringLiteral("kestrune/changes/add-login/proposal.md"))));
    QVERIFY(QFile::rename(folder.pathOf(QStringLiteral("kestrune/specs/auth/spec.md")),
                          folder.pathOf(QStringLiteral("kestrune/specs/auth/renamed.md"))));
    QVERIFY(changes.wait(5000));
    QVERIFY(!changes.wait(ProjectWatcher::quietInterval * 3));
    QCOMPARE(changes.count(), 2);
}

void TestProjectWatcher::newFoldersAreWatchedFromTheNextOutline()
{
    ProjectFolder folder;
    writeProject(folder);
    std::optional<TreeNode> tree = buildTree(folder.url());
    ProjectWatcher watcher(folder.url());
    watcher.watch(std::make_shared<const TreeNode>(*tree));
    QTRY_VERIFY(watcher.isComplete());
    QSignalSpy changes(&watcher, &ProjectWatcher::changed);

    folder.write(QStringLiteral("kestrune/changes/add-export/tasks.md"), "- [ ] one\n");
    QVERIFY(changes.wait(5000));
    tree = buildTree(folder.url());
    watcher.watch(std::make_shared<const TreeNode>(*tree));
    QTRY_VERIFY(watcher.isComplete());
    const QString newTasks = folder.pathOf(QStringLiteral("kestrune/changes/add-export/tasks.md"));
    QVERIFY(watcher.watchedPaths().contains(newTasks));

    folder.write(QStringLiteral("kestrune/changes/add-export/tasks.md"), "- [x] one\n");
    QVERIFY(changes.wait(5000));

    // Vanished folders are dropped with the next outline.
    QVERIFY(QDir(folder.pathOf(QStringLiteral("kestrune/changes/add-export"))).removeRecursively());
    QVERIFY(changes.wait(5000));
    tree = buildTree(folder.url());
    watcher.watch(std::make_shared<const TreeNode>(*tree));
    QTRY_VERIFY(watcher.isComplete());
    QVERIFY(!watcher.watchedPaths().contains(newTasks));

    // A file gone between the scan and its watch is not missed: nothing else would tell.
    folder.write(QStringLiteral("kestrune/changes/add-export/tasks.md"), "- [ ] one\n");
    QVERIFY(changes.wait(5000));
    tree = buildTree(folder.url());
    watcher.watch(std::make_shared<const TreeNode>(*tree));
    QVERIFY(QFile::remove(newTasks));
    QVERIFY(changes.wait(5000));
}

void TestProjectWatcher::unrelatedFilesBesideThePlanningFolderAreIgnored()
{
    ProjectFolder folder;
    writeProject(folder);
    const std::optional<TreeNode> tree = buildTree(folder.url());
    ProjectWatcher watcher(folder.url());
    watcher.watch(std::make_shared<const TreeNode>(*tree));
    QTRY_VERIFY(watcher.isComplete());
    QSignalSpy changes(&watcher, &ProjectWatcher::changed);
    folder.write(QStringLiteral("build.log"), "compiling\n");
    folder.write(QStringLiteral("kestrune/changes/add-login/notes.txt"), "not Markdown\n");
    QVERIFY(QFile::remove(folder.pathOf(QStringLiteral("build.log"))));
    // The second file is in a watched folder: that one counts, the first does not.
    QVERIFY(changes.wait(5000));
    QCOMPARE(changes.count(), 1);
    folder.write(QStringLiteral("main.cpp"), "int main() {}\n");
    QVERIFY(!changes.wait(ProjectWatcher::longestDelay + 200));
}

void TestProjectWatcher::tickingATaskCompletesTheChangeWithoutARefresh()
{
    ProjectFolder folder;
    writeProject(folder);
    ProjectStore store;
    LiveProjectUpdates updates(store);
    store.importProject(folder.url());
    QVERIFY(
        waitForSummary(store, folder.url(), [](const ProjectSummary &s) { return s.activeChanges == 1; }));
    QVERIFY(waitForWatch(updates, store, folder.url()));

    folder.write(QStringLiteral("kestrune/changes/add-login/tasks.md"), "- [x] one\n- [x] two\n");
    QVERIFY(waitForSummary(store, folder.url(), [](const ProjectSummary &s) {
        return completedChanges(s) == 1 && s.activeChanges == 0;
    }));
}

void TestProjectWatcher::burstOfWritesCausesAtMostTwoScans()
{
    ProjectFolder folder;
    writeProject(folder);
    CountingStore counting;
    LiveProjectUpdates updates(counting.store);
    counting.store.importProject(folder.url());
    QVERIFY(waitForSummary(counting.store, folder.url(), [](const ProjectSummary &) { return true; }));
    QVERIFY(waitForWatch(updates, counting.store, folder.url()));
    QCOMPARE(counting.loads->load(), 1);

    QSignalSpy summaries(&counting.store, &ProjectStore::summaryByProjectChanged);
    for (int write = 0; write < 200; ++write) {
        folder.write(QStringLiteral("kestrune/changes/add-login/note-%1.md").arg(write % 20),
                     QByteArray("# Note ") + QByteArray::number(write));
    }
    QVERIFY(summaries.wait(5000));
    // A second report comes when the longest delay split the burst.
    summaries.wait(ProjectWatcher::longestDelay + ProjectWatcher::quietInterval * 2);
    QVERIFY(waitForIdle(counting.store, folder.url()));
    QVERIFY2(counting.loads->load() - 1 <= 2, qPrintable(QString::number(counting.loads->load() - 1)));
    QCOMPARE(
        counting.store.treeForProject(folder.url())->children->front().children->front().children->size(),
        size_t(24)); // add-login: its specs, 20 notes, design, proposal and tasks
}

void TestProjectWatcher::turningUpdatesOffStopsThem()
{
    ProjectFolder folder;
    writeProject(folder);
    CountingStore counting;
    LiveProjectUpdates updates(counting.store);
    counting.store.importProject(folder.url());
    QVERIFY(waitForSummary(counting.store, folder.url(), [](const ProjectSummary &) { return true; }));
    QVERIFY(waitForIdle(counting.store, folder.url()));

    updates.setEnabled(false);
    QVERIFY(!updates.isWatchedInFull(folder.url()));
    QSignalSpy summaries(&counting.store, &ProjectStore::summaryByProjectChanged);
    folder.write(QStringLiteral("kestrune/changes/add-login/tasks.md"), "- [x] one\n- [x] two\n");
    QVERIFY(!summaries.wait(ProjectWatcher::longestDelay + 200));
    QCOMPARE(counting.loads->load(), 1);
    QCOMPARE(counting.store.summaryForProject(folder.url())->activeChanges, 1);

    // Turned on again, what changed meanwhile shows.
    updates.setEnabled(true);
    QVERIFY(waitForSummary(counting.store, folder.url(),
                           [](const ProjectSummary &s) { return completedChanges(s) == 1; }));
}

void TestProjectWatcher::deletedAndRecreatedProjectIsWatchedAgain()
{
    ProjectFolder parent(QStringLiteral("work"));
    const QString root = parent.pathOf(QStringLiteral("app"));
    const QUrl rootUrl = QUrl::fromLocalFile(root);
    const auto writeApp = [&](const char *tasks) {
        for (const char *document : {"proposal.md", "design.md", "specs/auth/spec.md"})
            parent.write(QStringLiteral("app/kestrune/changes/add-login/") + QLatin1String(document),
                         "# Text\n");
        parent.write(QStringLiteral("app/kestrune/changes/add-login/tasks.md"), tasks);
    };
    writeApp("- [ ] one\n");
    ProjectStore store;
    LiveProjectUpdates updates(store);
    store.importProject(rootUrl);
    QVERIFY(waitForSummary(store, rootUrl, [](const ProjectSummary &s) { return s.activeChanges == 1; }));
    QVERIFY(waitForWatch(updates, store, rootUrl));

    QVERIFY(QDir(root).removeRecursively());
    QVERIFY(QTest::qWaitFor([&] { return store.isMissing(rootUrl); }, 10000));
    QCOMPARE(store.summaryForProject(rootUrl)->activeChanges, 1); // the last summary stays

    writeApp("- [x] one\n");
    QVERIFY(QTest::qWaitFor([&] { return !store.isMissing(rootUrl); }, 10000));
    QVERIFY(waitForSummary(store, rootUrl, [](const ProjectSummary &s) { return completedChanges(s) == 1; }));
    QVERIFY(waitForWatch(updates, store, rootUrl));

    // Watched in full again: a later write is followed too.
    parent.write(QStringLiteral("app/kestrune/changes/add-export/tasks.md"), "- [ ] one\n");
    QVERIFY(waitForSummary(store, rootUrl, [](const ProjectSummary &s) { return s.totalChanges == 2; }));
}

void TestProjectWatcher::watchLimitIsReportedOnceAndFallsBackToRefresh()
{
    ProjectFolder folder;
    writeProject(folder);
    for (int change = 0; change < 5; ++change)
        folder.write(QStringLiteral("kestrune/changes/change-%1/tasks.md").arg(change), "- [ ] one\n");
    CountingStore counting;
    LiveProjectUpdates updates(counting.store);
    updates.setWatchLimit(6);
    QSignalSpy limits(&updates, &LiveProjectUpdates::watchLimitReached);
    counting.store.importProject(folder.url());
    QVERIFY(limits.wait(10000));
    QVERIFY(waitForIdle(counting.store, folder.url()));
    QVERIFY(!updates.isWatchedInFull(folder.url()));
    QCOMPARE(limits.count(), 1);

    const int loads = counting.loads->load();
    updates.refreshUnwatchedProjects();
    QVERIFY(QTest::qWaitFor([&] { return counting.loads->load() == loads + 1; }, 10000));
    QVERIFY(waitForIdle(counting.store, folder.url()));
    QCOMPARE(limits.count(), 1); // the rescan's outline ran into the limit again, said only once
}

namespace {

QStringList &capturedWarnings()
{
    static QStringList warnings;
    return warnings;
}

void captureWarning(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtWarningMsg)
        capturedWarnings().append(message);
}

} // namespace

// At the limit of watches hundreds of paths are refused; the watcher says it once, however often
// it meets the limit again.
void TestProjectWatcher::refusedPathsAreSaidInOneLine()
{
    const QtMessageHandler previous = qInstallMessageHandler(captureWarning);
    const auto restore = qScopeGuard([previous] { qInstallMessageHandler(previous); });
    capturedWarnings().clear();
    ProjectFolder folder;
    writeProject(folder);
    for (int change = 0; change < 5; ++change)
        folder.write(QStringLiteral("kestrune/changes/change-%1/tasks.md").arg(change), "- [ ] one\n");
    CountingStore counting;
    LiveProjectUpdates updates(counting.store);
    updates.setWatchLimit(6);
    QSignalSpy limits(&updates, &LiveProjectUpdates::watchLimitReached);
    counting.store.importProject(folder.url());
    QVERIFY(limits.wait(10000));
    QVERIFY(waitForIdle(counting.store, folder.url()));
    const int loads = counting.loads->load();
    updates.refreshUnwatchedProjects();
    QVERIFY(QTest::qWaitFor([&] { return counting.loads->load() == loads + 1; }, 10000));
    QVERIFY(waitForIdle(counting.store, folder.url()));
    QCOMPARE(capturedWarnings().size(), 1);
    QVERIFY2(capturedWarnings().constFirst().contains(QLatin1String("fs.inotify.max_user_watches")) &&
                 capturedWarnings().constFirst().contains(folder.path()),
             qPrintable(capturedWarnings().constFirst()));
}

void TestProjectWatcher::lookupsFindNodesByPathAndInTheArchive()
{
    ProjectFolder folder;
    writeProject(folder);
    folder.write(QStringLiteral("kestrune/changes/archive/2025-01-31-add-export/tasks.md"), "- [x] one\n");
    folder.write(QStringLiteral("kestrune/changes/archive/add-search/specs/find/spec.md"), "# Find\n");
    folder.write(QStringLiteral("kestrune/changes/archive/2025-02-01-readd-export/tasks.md"), "- [x] one\n");
    folder.write(QStringLiteral("kestrune/changes/Archived/2025-03-01-add-cases/tasks.md"), "- [x] one\n");
    const std::optional<TreeNode> tree = buildTree(folder.url());
    QVERIFY(tree);

    const TreeNode *tasks =
        findNodeAtPath(*tree, folder.pathOf(QStringLiteral("kestrune/changes/add-login/tasks.md")));
    QVERIFY(tasks);
    QCOMPARE(tasks->name, QStringLiteral("tasks.md"));
    QVERIFY(!findNodeAtPath(*tree, folder.pathOf(QStringLiteral("kestrune/changes/add-login/none.md"))));
    // A path that only shares a prefix of characters with a folder is not inside it.
    QVERIFY(!findNodeAtPath(*tree, folder.pathOf(QStringLiteral("kestrune/changes/add-login-2/tasks.md"))));

    const auto archived = [&](const char *activePath) {
        const TreeNode *node = findArchivedCounterpart(*tree, folder.urlOf(QLatin1String(activePath)));
        return node ? QDir(folder.path()).relativeFilePath(node->url.toLocalFile()) : QString();
    };
    QCOMPARE(archived("kestrune/changes/add-export/tasks.md"),
             QStringLiteral("kestrune/changes/archive/2025-01-31-add-export/tasks.md"));
    QCOMPARE(archived("kestrune/changes/add-search/specs/find/spec.md"),
             QStringLiteral("kestrune/changes/archive/add-search/specs/find/spec.md"));
    QCOMPARE(archived("kestrune/changes/add-cases/tasks.md"), // an archive folder in any letter case
             QStringLiteral("kestrune/changes/Archived/2025-03-01-add-cases/tasks.md"));
    QCOMPARE(archived("kestrune/changes/add-export/design.md"), QString()); // not in the archive
    QCOMPARE(archived("kestrune/changes/export/tasks.md"), QString());      // another change's name
    QCOMPARE(archived("kestrune/specs/auth/spec.md"), QString());           // not a change's file
}

QTEST_GUILESS_MAIN(TestProjectWatcher)
#include "tst_projectwatcher.moc"
