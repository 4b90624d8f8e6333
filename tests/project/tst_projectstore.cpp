#include "project/projectstore.h"
#include "projectfolder.h"
#include "text/backgroundpool.h"

#include <QDir>
#include <QMutex>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>
#include <QWaitCondition>

#include <memory>

using namespace kestrune;

namespace {

// Loads that wait until the test lets each one finish, with the result the test chooses.
class LoadGate
{
public:
    ProjectStore::Loader loader(const std::shared_ptr<LoadGate> &self)
    {
        return [self](const QUrl &root) {
            QMutexLocker lock(&self->m_mutex);
            const int call = int(self->m_calls.size());
            self->m_calls.append(root);
            self->m_changed.wakeAll();
            while (!self->m_results.contains(call))
                self->m_changed.wait(&self->m_mutex);
            return self->m_results.take(call);
        };
    }

    void release(int call, std::optional<ProjectStore::LoadResult> result)
    {
        QMutexLocker lock(&m_mutex);
        m_results.insert(call, std::move(result));
        m_changed.wakeAll();
    }

    bool waitForCalls(int count)
    {
        QMutexLocker lock(&m_mutex);
        QDeadlineTimer deadline(10000);
        while (m_calls.size() < count) {
            if (!m_changed.wait(&m_mutex, deadline))
                return false;
        }
        return true;
    }

    QList<QUrl> calls()
    {
        QMutexLocker lock(&m_mutex);
        return m_calls;
    }

    // Lets every load still waiting finish without a tree.
    void releaseAll()
    {
        QMutexLocker lock(&m_mutex);
        for (int call = 0; call < 64; ++call) {
            if (!m_results.contains(call))
                m_results.insert(call, std::nullopt);
        }
        m_changed.wakeAll();
    }

private:
    QMutex m_mutex;
    QWaitCondition m_changed;
    QList<QUrl> m_calls;
    QHash<int, std::optional<ProjectStore::LoadResult>> m_results;
};

QUrl folder(const QString &path)
{
    return QUrl::fromLocalFile(path);
}

// A loaded project whose outline is one Markdown file with the given name.
ProjectStore::LoadResult project(const QString &fileName, qint64 totalChanges = 0)
{
    TreeNode file;
    file.id = QUuid::createUuid();
    file.kind = TreeNodeKind::markdownFile;
    file.name = fileName;
    TreeNode root;
    root.id = QUuid::createUuid();
    root.kind = TreeNodeKind::projectRoot;
    root.children = std::vector<TreeNode>{file};
    ProjectSummary summary;
    summary.totalChanges = totalChanges;
    return {root, summary};
}

QString fileNameOf(const ProjectStore::TreePointer &tree)
{
    return tree && tree->children && !tree->children->empty() ? tree->children->front().name : QString();
}

// Records the store's announcements in order.
class SignalLog
{
public:
    explicit SignalLog(ProjectStore &store, QObject *context)
    {
        const auto record = [this, context](const char *what) { m_entries.append(QLatin1String(what)); };
        QObject::connect(&store, &ProjectStore::projectRootsAboutToChange, context,
                         [=] { record("roots?"); });
        QObject::connect(&store, &ProjectStore::projectRootsChanged, context, [=] { record("roots"); });
        QObject::connect(&store, &ProjectStore::treeByProjectAboutToChange, context,
                         [=] { record("tree?"); });
        QObject::connect(&store, &ProjectStore::treeByProjectChanged, context, [=] { record("tree"); });
        QObject::connect(&store, &ProjectStore::summaryByProjectAboutToChange, context,
                         [=] { record("summary?"); });
        QObject::connect(&store, &ProjectStore::summaryByProjectChanged, context, [=] { record("summary"); });
    }

    QStringList entries() const { return m_entries; }
    void clear() { m_entries.clear(); }

private:
    QStringList m_entries;
};

} // namespace

class TestProjectStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void importKeepsRootsSortedByFolderName_data();
    void importKeepsRootsSortedByFolderName();
    void importingTheSameFolderTwiceLoadsOnce();
    void loadsLeaveQtsOwnPoolFree();
    void observersSeeTheOldRootsBeforeTheChange();
    void treeIsPublishedBeforeSummary();
    void refreshLoadsOnlyImportedRoots();
    void refreshAllLoadsEveryRootInListOrder();
    void removeForgetsRootTreeAndSummary();
    void loadFinishingAfterRemovalRefillsTheMaps();
    void refreshesDuringALoadRunOnceAfterIt();
    void folderWithoutTreeIsMissingUntilItYieldsOneAgain();
    void loadWithoutTreeKeepsWhatWasShown();
    void storeDestroyedDuringLoadDropsTheResult();
    void observerDestroyingTheStoreStopsThePublication();
    void loadsARealProjectFolder();
    void vanishedProjectFolderKeepsItsLastTree();

private:
    std::shared_ptr<LoadGate> m_gate;
};

void TestProjectStore::initTestCase()
{
    // Several gated loads may wait at once.
    BackgroundPool::instance()->setMaxThreadCount(8);
}

void TestProjectStore::init()
{
    m_gate = std::make_shared<LoadGate>();
}

void TestProjectStore::cleanup()
{
    m_gate->releaseAll();
    BackgroundPool::instance()->waitForDone();
    QCoreApplication::processEvents();
}

// Qt's raster engine splits a large fill over Qt's global pool and waits for it on the window's
// thread: a load running there held the window's next paint until the load ended.
void TestProjectStore::loadsLeaveQtsOwnPoolFree()
{
    ProjectStore store(m_gate->loader(m_gate));
    store.importProject(folder("/p/alpha"));
    store.importProject(folder("/p/beta"));
    QVERIFY(m_gate->waitForCalls(2));
    QCOMPARE(QThreadPool::globalInstance()->activeThreadCount(), 0);
}

void TestProjectStore::importKeepsRootsSortedByFolderName_data()
{
    QTest::addColumn<QStringList>("imported");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("runs of digits compare by value")
        << QStringList{"/p/Project 10", "/p/Project 9", "/p/alpha"}
        << QStringList{"/p/alpha", "/p/Project 9", "/p/Project 10"};
    QTest::addRow("letter case is ignored")
        << QStringList{"/p/beta", "/p/Alpha"} << QStringList{"/p/Alpha", "/p/beta"};
    QTest::addRow("equal names keep import order") << QStringList{"/x/app", "/a/app", "/m/zeta", "/b/app"}
                                                   << QStringList{"/x/app", "/a/app", "/b/app", "/m/zeta"};
    QTest::addRow("a trailing slash does not change the name")
        << QStringList{"/p/zeta/", "/p/beta"} << QStringList{"/p/beta", "/p/zeta/"};
}

void TestProjectStore::importKeepsRootsSortedByFolderName()
{
    QFETCH(QStringList, imported);
    QFETCH(QStringList, expected);
    ProjectStore store(m_gate->loader(m_gate));
    for (const QString &path : std::as_const(imported))
        store.importProject(folder(path));
    QList<QUrl> expectedRoots;
    for (const QString &path : std::as_const(expected))
        expectedRoots.append(folder(path));
    QCOMPARE(store.projectRoots(), expectedRoots);
}

void TestProjectStore::importingTheSameFolderTwiceLoadsOnce()
{
    ProjectStore store(m_gate->loader(m_gate));
    QSignalSpy loads(&store, &ProjectStore::loadStarted);
    QSignalSpy roots(&store, &ProjectStore::projectRootsChanged);
    store.importProject(folder("/p/app"));
    store.importProject(folder("/p/app"));
    QCOMPARE(store.projectRoots(), QList<QUrl>{folder("/p/app")});
    QCOMPARE(loads.count(), 1);
    QCOMPARE(roots.count(), 1);
}

void TestProjectStore::observersSeeTheOldRootsBeforeTheChange()
{
    ProjectStore store(m_gate->loader(m_gate));
    store.importProject(folder("/p/b"));
    QList<QUrl> seenBefore;
    connect(&store, &ProjectStore::projectRootsAboutToChange, this,
            [&] { seenBefore = store.projectRoots(); });
    store.importProject(folder("/p/a"));
    QCOMPARE(seenBefore, QList<QUrl>{folder("/p/b")});
    store.removeProject(folder("/p/b"));
    QCOMPARE(seenBefore, (QList<QUrl>{folder("/p/a"), folder("/p/b")}));
}

void TestProjectStore::treeIsPublishedBeforeSummary()
{
    ProjectStore store(m_gate->loader(m_gate));
    const QUrl root = folder("/p/app");
    store.importProject(root);
    QVERIFY(store.projectRoots().contains(root));
    QVERIFY(!store.treeForProject(root));
    QVERIFY(!store.summaryForProject(root));

    SignalLog log(store, this);
    bool summaryPresentWhenTreeArrived = true;
    bool treePresentBeforeItsAnnouncement = true;
    connect(&store, &ProjectStore::treeByProjectAboutToChange, this,
            [&] { treePresentBeforeItsAnnouncement = store.treeByProject().contains(root); });
    connect(&store, &ProjectStore::treeByProjectChanged, this,
            [&] { summaryPresentWhenTreeArrived = store.summaryForProject(root).has_value(); });
    QVERIFY(m_gate->waitForCalls(1));
    m_gate->release(0, project("proposal.md", 3));
    QTRY_VERIFY(store.summaryForProject(root).has_value());

    QCOMPARE(log.entries(), (QStringList{"tree?", "tree", "summary?", "summary"}));
    QVERIFY(!treePresentBeforeItsAnnouncement);
    QVERIFY(!summaryPresentWhenTreeArrived);
    QCOMPARE(fileNameOf(store.treeForProject(root)), QStringLiteral("proposal.md"));
    QCOMPARE(store.summaryForProject(root)->totalChanges, 3);
}

void TestProjectStore::refreshLoadsOnlyImportedRoots()
{
    ProjectStore store(m_gate->loader(m_gate));
    QSignalSpy loads(&store, &ProjectStore::loadStarted);
    store.refreshProject(folder("/p/unknown"));
    QCOMPARE(loads.count(), 0);
    store.importProject(folder("/p/app"));
    store.refreshProject(folder("/p/app"));
    QCOMPARE(loads.count(), 1); // the refresh waits for the import's load
    QVERIFY(m_gate->waitForCalls(1));
    m_gate->release(0, project("a.md"));
    QTRY_COMPARE(m_gate->calls().size(), 2); // started once the first has been published
    QCOMPARE(loads.count(), 2);
}

void TestProjectStore::refreshAllLoadsEveryRootInListOrder()
{
    ProjectStore store(m_gate->loader(m_gate));
    store.importProject(folder("/p/b"));
    store.importProject(folder("/p/a"));
    QVERIFY(m_gate->waitForCalls(2));
    m_gate->release(0, project("b.md"));
    m_gate->release(1, project("a.md"));
    QTRY_VERIFY(!store.isLoading(folder("/p/a")) && !store.isLoading(folder("/p/b")));
    QSignalSpy loads(&store, &ProjectStore::loadStarted);
    store.refreshAll();
    QCOMPARE(loads.count(), 2);
    QCOMPARE(loads.at(0).at(0).toUrl(), folder("/p/a"));
    QCOMPARE(loads.at(1).at(0).toUrl(), folder("/p/b"));
}

void TestProjectStore::removeForgetsRootTreeAndSummary()
{
    ProjectStore store(m_gate->loader(m_gate));
    const QUrl root = folder("/p/app");
    store.importProject(root);
    QVERIFY(m_gate->waitForCalls(1));
    m_gate->release(0, project("a.md"));
    QTRY_VERIFY(store.summaryForProject(root).has_value());

    SignalLog log(store, this);
    store.removeProject(root);
    QVERIFY(store.projectRoots().isEmpty());
    QVERIFY(!store.treeForProject(root));
    QVERIFY(!store.summaryForProject(root));
    QCOMPARE(log.entries(), (QStringList{"roots?", "roots", "tree?", "tree", "summary?", "summary"}));

    log.clear();
    store.removeProject(root);
    QVERIFY2(log.entries().isEmpty(), "removing an unknown root changes nothing");
}

void TestProjectStore::loadFinishingAfterRemovalRefillsTheMaps()
{
    ProjectStore store(m_gate->loader(m_gate));
    const QUrl root = folder("/p/app");
    store.importProject(root);
    store.removeProject(root);
    QVERIFY(m_gate->waitForCalls(1));
    m_gate->release(0, project("late.md"));
    QTRY_VERIFY(store.summaryForProject(root).has_value());
    QVERIFY(store.projectRoots().isEmpty());
    QCOMPARE(fileNameOf(store.treeForProject(root)), QStringLiteral("late.md"));
}

void TestProjectStore::refreshesDuringALoadRunOnceAfterIt()
{
    // Never two loads of a project at once: a load started before a change on disk can never
    // finish after, and overwrite, one started after it.
    ProjectStore store(m_gate->loader(m_gate));
    const QUrl root = folder("/p/app");
    QSignalSpy states(&store, &ProjectStore::loadStateChanged);
    store.importProject(root);
    QVERIFY(store.isLoading(root));
    QCOMPARE(states.count(), 1);
    store.refreshProject(root);
    store.refreshProject(root);
    QVERIFY(m_gate->waitForCalls(1));
    QSignalSpy summaries(&store, &ProjectStore::summaryByProjectChanged);
    m_gate->release(0, project("first-started.md"));
    QTRY_COMPARE(m_gate->calls().size(), 2);
    QCOMPARE(summaries.count(), 1);
    QVERIFY(store.isLoading(root));
    QCOMPARE(states.count(), 1); // still loading all along
    m_gate->release(1, project("second-started.md"));
    QTRY_VERIFY(!store.isLoading(root));
    QCOMPARE(states.count(), 2);
    QCOMPARE(summaries.count(), 2);
    QCOMPARE(fileNameOf(store.treeForProject(root)), QStringLiteral("second-started.md"));
    QCOMPARE(m_gate->calls().size(), 2);
}

void TestProjectStore::folderWithoutTreeIsMissingUntilItYieldsOneAgain()
{
    ProjectStore store(m_gate->loader(m_gate));
    const QUrl root = folder("/p/app");
    store.importProject(root);
    QVERIFY(m_gate->waitForCalls(1));
    m_gate->release(0, project("a.md"));
    QTRY_VERIFY(!store.isLoading(root));
    QVERIFY(!store.isMissing(root));

    store.refreshProject(root);
    QVERIFY(m_gate->waitForCalls(2));
    m_gate->release(1, std::nullopt);
    QTRY_VERIFY(!store.isLoading(root));
    QVERIFY(store.isMissing(root));

    store.refreshProject(root);
    QVERIFY(m_gate->waitForCalls(3));
    m_gate->release(2, project("back.md"));
    QTRY_VERIFY(!store.isLoading(root));
    QVERIFY(!store.isMissing(root));
    QCOMPARE(fileNameOf(store.treeForProject(root)), QStringLiteral("back.md"));

    store.removeProject(root);
    QVERIFY(!store.isLoading(root) && !store.isMissing(root));
}

void TestProjectStore::loadWithoutTreeKeepsWhatWasShown()
{
    ProjectStore store(m_gate->loader(m_gate));
    const QUrl root = folder("/p/app");
    store.importProject(root);
    QVERIFY(m_gate->waitForCalls(1));
    m_gate->release(0, project("kept.md", 7));
    QTRY_VERIFY(store.summaryForProject(root).has_value());

    SignalLog log(store, this);
    store.refreshProject(root);
    QVERIFY(m_gate->waitForCalls(2));
    m_gate->release(1, std::nullopt);
    BackgroundPool::instance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QVERIFY(log.entries().isEmpty());
    QCOMPARE(fileNameOf(store.treeForProject(root)), QStringLiteral("kept.md"));
    QCOMPARE(store.summaryForProject(root)->totalChanges, 7);
}

void TestProjectStore::storeDestroyedDuringLoadDropsTheResult()
{
    auto store = std::make_unique<ProjectStore>(m_gate->loader(m_gate));
    store->importProject(folder("/p/app"));
    QVERIFY(m_gate->waitForCalls(1));
    store.reset();
    m_gate->release(0, project("orphan.md"));
    BackgroundPool::instance()->waitForDone();
    QCoreApplication::processEvents(); // a delivery to the destroyed store would crash here
}

void TestProjectStore::observerDestroyingTheStoreStopsThePublication()
{
    auto *store = new ProjectStore(m_gate->loader(m_gate));
    QPointer<ProjectStore> guard(store);
    bool summaryAnnounced = false;
    connect(store, &ProjectStore::treeByProjectChanged, this, [store] { delete store; });
    connect(store, &ProjectStore::summaryByProjectAboutToChange, this, [&] { summaryAnnounced = true; });
    store->importProject(folder("/p/app"));
    QVERIFY(m_gate->waitForCalls(1));
    m_gate->release(0, project("a.md"));
    QTRY_VERIFY(guard.isNull());
    QCoreApplication::processEvents();
    QVERIFY(!summaryAnnounced);
}

void TestProjectStore::loadsARealProjectFolder()
{
    ProjectFolder folder(QStringLiteral("app"));
    folder.write(QStringLiteral("kestrune/changes/add-login/proposal.md"), "# Proposal\n");
    folder.write(QStringLiteral("kestrune/changes/add-login/design.md"), "# Design\n");
    folder.write(QStringLiteral("kestrune/changes/add-login/specs/auth/spec.md"), "## ADDED Requirements\n");
    folder.write(QStringLiteral("kestrune/changes/add-login/tasks.md"), "- [x] one\n- [ ] two\n");
    ProjectStore store;
    store.importProject(folder.url());
    QTRY_VERIFY(store.summaryForProject(folder.url()).has_value());
    const ProjectStore::TreePointer tree = store.treeForProject(folder.url());
    QVERIFY(tree && tree->children);
    QCOMPARE(tree->children->front().name, QStringLiteral("changes"));
    QCOMPARE(store.summaryForProject(folder.url())->activeChanges, 1);
}

void TestProjectStore::vanishedProjectFolderKeepsItsLastTree()
{
    ProjectFolder folder(QStringLiteral("app"));
    folder.write(QStringLiteral("kestrune/specs/auth/spec.md"), "### Requirement: Sign in\n");
    ProjectStore store;
    store.importProject(folder.url());
    QTRY_VERIFY(store.summaryForProject(folder.url()).has_value());
    const ProjectStore::TreePointer before = store.treeForProject(folder.url());

    QVERIFY(QDir(folder.pathOf(QStringLiteral("kestrune"))).removeRecursively());
    QSignalSpy trees(&store, &ProjectStore::treeByProjectChanged);
    store.refreshProject(folder.url());
    BackgroundPool::instance()->waitForDone();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    QCOMPARE(trees.count(), 0);
    QCOMPARE(store.treeForProject(folder.url()), before);
    QCOMPARE(store.summaryForProject(folder.url())->specCount, 1);
}

QTEST_GUILESS_MAIN(TestProjectStore)
#include "tst_projectstore.moc"
