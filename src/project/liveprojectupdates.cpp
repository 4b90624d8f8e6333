#include "project/liveprojectupdates.h"

#include "project/projectstore.h"
#include "project/projectwatcher.h"

namespace kestrune {

LiveProjectUpdates::LiveProjectUpdates(ProjectStore &store, QObject *parent) : QObject(parent), m_store(store)
{
    connect(&m_store, &ProjectStore::projectRootsChanged, this, &LiveProjectUpdates::syncWatchers);
    // A published outline is what the folder holds now; a load without one means it is gone.
    connect(&m_store, &ProjectStore::treeByProjectChanged, this, [this](const QUrl &root) {
        if (ProjectWatcher *watcher = m_watchers.value(root); watcher && m_store.treeForProject(root))
            watcher->watch(m_store.treeForProject(root));
    });
    connect(&m_store, &ProjectStore::loadStateChanged, this, [this](const QUrl &root) {
        if (ProjectWatcher *watcher = m_watchers.value(root); watcher && m_store.isMissing(root))
            watcher->watch(nullptr);
    });
    syncWatchers();
}

LiveProjectUpdates::~LiveProjectUpdates() = default;

void LiveProjectUpdates::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    syncWatchers();
    // What changed while nobody watched shows at once.
    if (m_enabled)
        m_store.refreshAll();
}

bool LiveProjectUpdates::isWatchedInFull(const QUrl &root) const
{
    const ProjectWatcher *watcher = m_watchers.value(root);
    return watcher && watcher->isComplete();
}

void LiveProjectUpdates::refreshUnwatchedProjects()
{
    if (!m_enabled)
        return;
    for (const QUrl &root : m_store.projectRoots()) {
        if (!isWatchedInFull(root))
            m_store.refreshProject(root);
    }
}

void LiveProjectUpdates::setWatchLimit(int count)
{
    m_watchLimit = count;
    for (ProjectWatcher *watcher : std::as_const(m_watchers))
        watcher->setWatchLimit(count);
}

void LiveProjectUpdates::syncWatchers()
{
    const QList<QUrl> &roots = m_store.projectRoots();
    for (auto it = m_watchers.begin(); it != m_watchers.end();) {
        if (m_enabled && roots.contains(it.key())) {
            ++it;
            continue;
        }
        delete it.value();
        it = m_watchers.erase(it);
    }
    if (!m_enabled)
        return;
    for (const QUrl &root : roots) {
        if (m_watchers.contains(root))
            continue;
        auto *watcher = new ProjectWatcher(root, this);
        watcher->setWatchLimit(m_watchLimit);
        connect(watcher, &ProjectWatcher::changed, this, [this, root] { m_store.refreshProject(root); });
        connect(watcher, &ProjectWatcher::watchLimitReached, this, [this, root] {
            if (!m_reportedLimits.contains(root)) {
                m_reportedLimits.insert(root);
                Q_EMIT watchLimitReached(root);
            }
        });
        m_watchers.insert(root, watcher);
        // Before the first scan there is nothing to follow yet; the scan brings the outline.
        if (m_store.isMissing(root))
            watcher->watch(nullptr);
        else if (const ProjectStore::TreePointer tree = m_store.treeForProject(root))
            watcher->watch(tree);
    }
}

} // namespace kestrune
