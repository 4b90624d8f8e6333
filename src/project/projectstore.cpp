#include "project/projectstore.h"

#include "project/projectscanner.h"
#include "project/summarycomputation.h"
#include "text/backgroundpool.h"
#include "text/localizedstandardcompare.h"

#include <QFutureWatcher>
#include <QPointer>
#include <QtConcurrent/qtconcurrenttask.h>

#include <algorithm>
#include <utility>

namespace kestrune {

namespace {

// Loads are started by the user and awaited on screen: they go ahead of other pooled work.
constexpr int userInitiatedPriority = 10;

// A finished load as handed back to the main thread; built entirely on the pool thread.
struct LoadedProject
{
    ProjectStore::TreePointer tree;
    ProjectSummary summary;
};

} // namespace

ProjectStore::ProjectStore(QObject *parent) : ProjectStore(&ProjectStore::scanProject, parent) {}

ProjectStore::ProjectStore(Loader loader, QObject *parent) : QObject(parent), m_loader(std::move(loader)) {}

ProjectStore::~ProjectStore() = default;

std::optional<ProjectSummary> ProjectStore::summaryForProject(const QUrl &root) const
{
    const auto it = m_summaryByProject.constFind(root);
    if (it == m_summaryByProject.constEnd())
        return std::nullopt;
    return *it;
}

void ProjectStore::importProject(const QUrl &root)
{
    if (m_projectRoots.contains(root))
        return;
    QList<QUrl> roots = m_projectRoots;
    roots.append(root);
    std::stable_sort(roots.begin(), roots.end(), [](const QUrl &left, const QUrl &right) {
        return localizedStandardCompare(folderName(left), folderName(right)) < 0;
    });
    Q_EMIT projectRootsAboutToChange();
    m_projectRoots = std::move(roots);
    Q_EMIT projectRootsChanged();
    requestLoad(root);
}

void ProjectStore::removeProject(const QUrl &root)
{
    // A load still running publishes when it finishes (see treeByProject), but nothing runs after it.
    m_loads.remove(root);
    if (m_projectRoots.contains(root)) {
        Q_EMIT projectRootsAboutToChange();
        m_projectRoots.removeAll(root);
        Q_EMIT projectRootsChanged();
    }
    if (m_treeByProject.contains(root)) {
        Q_EMIT treeByProjectAboutToChange(root);
        m_treeByProject.remove(root);
        Q_EMIT treeByProjectChanged(root);
    }
    if (m_summaryByProject.contains(root)) {
        Q_EMIT summaryByProjectAboutToChange(root);
        m_summaryByProject.remove(root);
        Q_EMIT summaryByProjectChanged(root);
    }
}

void ProjectStore::refreshProject(const QUrl &root)
{
    if (m_projectRoots.contains(root))
        requestLoad(root);
}

void ProjectStore::refreshAll()
{
    // A copy: observers of a publication may change the list while loads are being started.
    const QList<QUrl> roots = m_projectRoots;
    for (const QUrl &root : roots)
        requestLoad(root);
}

bool ProjectStore::isLoading(const QUrl &root) const
{
    const auto it = m_loads.constFind(root);
    return it != m_loads.constEnd() && it->running;
}

bool ProjectStore::isMissing(const QUrl &root) const
{
    const auto it = m_loads.constFind(root);
    return it != m_loads.constEnd() && it->missing;
}

std::optional<ProjectStore::LoadResult> ProjectStore::scanProject(const QUrl &root)
{
    std::optional<TreeNode> tree = buildTree(root);
    if (!tree)
        return std::nullopt;
    ProjectSummary summary = computeSummary(*tree);
    return LoadResult{std::move(*tree), std::move(summary)};
}

QString ProjectStore::folderName(const QUrl &root)
{
    QString path = root.path();
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

void ProjectStore::requestLoad(const QUrl &root)
{
    LoadState &state = m_loads[root];
    if (state.running) {
        state.pending = true;
        return;
    }
    startLoad(root);
}

void ProjectStore::startLoad(const QUrl &root)
{
    LoadState &state = m_loads[root];
    const bool wasRunning = state.running;
    state.serial = ++m_loadSerial;
    state.running = true;
    state.pending = false;
    const quint64 serial = state.serial;

    // The pool task sees only the loader and the root; the store is reached again through a
    // watcher that lives on this thread and dies with the store, so a store destroyed in the
    // meantime simply never hears of the result.
    auto work = [loader = m_loader, root]() -> std::optional<LoadedProject> {
        std::optional<LoadResult> result = loader(root);
        if (!result)
            return std::nullopt;
        return LoadedProject{std::make_shared<const TreeNode>(std::move(result->tree)),
                             std::move(result->summary)};
    };
    auto *watcher = new QFutureWatcher<std::optional<LoadedProject>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [watcher, root, serial, store = QPointer(this)] {
        std::optional<LoadedProject> loaded = watcher->result();
        watcher->deleteLater();
        // No tree: what the maps hold stays on show. An observer of the tree may destroy the
        // store, hence the checks after each publication.
        if (loaded && store) {
            store->publishTree(root, loaded->tree);
            if (store)
                store->publishSummary(root, loaded->summary);
        }
        if (store)
            store->finishLoad(root, serial, loaded.has_value());
    });
    watcher->setFuture(QtConcurrent::task(std::move(work))
                           .onThreadPool(*BackgroundPool::instance())
                           .withPriority(userInitiatedPriority)
                           .spawn());
    Q_EMIT loadStarted(root);
    if (!wasRunning)
        Q_EMIT loadStateChanged(root);
}

void ProjectStore::finishLoad(const QUrl &root, quint64 serial, bool yieldedTree)
{
    const auto it = m_loads.find(root);
    if (it == m_loads.end() || it->serial != serial)
        return; // removed meanwhile
    const bool missingChanged = it->missing == yieldedTree;
    it->missing = !yieldedTree;
    if (it->pending) {
        startLoad(root); // still loading
        if (missingChanged)
            Q_EMIT loadStateChanged(root);
        return;
    }
    it->running = false;
    Q_EMIT loadStateChanged(root);
}

void ProjectStore::publishTree(const QUrl &root, const TreePointer &tree)
{
    Q_EMIT treeByProjectAboutToChange(root);
    m_treeByProject.insert(root, tree);
    Q_EMIT treeByProjectChanged(root);
}

void ProjectStore::publishSummary(const QUrl &root, const ProjectSummary &summary)
{
    Q_EMIT summaryByProjectAboutToChange(root);
    m_summaryByProject.insert(root, summary);
    Q_EMIT summaryByProjectChanged(root);
}

} // namespace kestrune
