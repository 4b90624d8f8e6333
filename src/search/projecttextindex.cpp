#include "search/projecttextindex.h"

#include "project/projectstore.h"
#include "text/backgroundpool.h"
#include "text/backgroundthread.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentMap>
#include <QtConcurrent/QtConcurrentRun>
#include <QThread>
#include <QThreadPool>

namespace kestrune {

ProjectTextIndex::ProjectTextIndex(ProjectStore &store, QObject *parent) : QObject(parent), m_store(store)
{
    connect(&store, &ProjectStore::treeByProjectChanged, this, &ProjectTextIndex::requestUpdate);
    connect(&store, &ProjectStore::projectRootsChanged, this, &ProjectTextIndex::dropRemovedProjects);
    for (const QUrl &root : store.projectRoots()) {
        if (store.treeForProject(root))
            requestUpdate(root);
    }
}

ProjectTextIndex::~ProjectTextIndex() = default;

QList<SearchableFilePointer> ProjectTextIndex::files(const QUrl &root) const
{
    return m_projects.value(root).files;
}

bool ProjectTextIndex::isUpdating(const QUrl &root) const
{
    const auto it = m_projects.constFind(root);
    return it != m_projects.constEnd() && (it->running || it->pending);
}

bool ProjectTextIndex::isUpdatingAny() const
{
    return std::any_of(m_projects.cbegin(), m_projects.cend(),
                       [](const Project &project) { return project.running || project.pending; });
}

void ProjectTextIndex::requestUpdate(const QUrl &root)
{
    if (!m_store.projectRoots().contains(root))
        return;
    Project &project = m_projects[root];
    if (project.running) {
        project.pending = true;
        return;
    }
    startUpdate(root);
}

namespace {

// The files are read on a pool of their own: the update that waits for them runs on the
// background pool, and waiting there for work queued on the same pool could leave no thread to
// do it. Its threads yield to the window's: a project just published is read while its views
// are painted.
QThreadPool *readPool()
{
    static QThreadPool *const pool = [] {
        auto *created = new QThreadPool; // never destroyed: reads may still run at exit
        created->setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
        return created;
    }();
    return pool;
}

// What an update does to a project's files: the new list in outline order, the files read again,
// the files dropped.
struct IndexUpdate
{
    QList<SearchableFilePointer> files;
    QList<QUrl> changed;
    QList<QUrl> removed;
};

// Lists the outline's files, keeps those read before at the same modification date and reads the
// rest, several at a time. Runs on the thread pool: on a large project even listing the files and
// comparing them is more than the window's thread should do between two frames.
IndexUpdate computeUpdate(const QUrl &root, const ProjectStore::TreePointer &tree,
                          const QList<SearchableFilePointer> &known)
{
    BackgroundThread::yieldToWindow(); // a thread of the yielding pool
    QHash<QUrl, SearchableFilePointer> byUrl;
    byUrl.reserve(known.size());
    for (const SearchableFilePointer &file : known)
        byUrl.insert(file->url, file);
    const QList<SearchableFile> listed = SearchableFile::listOf(root, *tree);
    QList<SearchableFile> toRead;
    for (const SearchableFile &entry : listed) {
        const SearchableFilePointer old = byUrl.value(entry.url);
        if (!old || old->modificationDate != entry.modificationDate ||
            old->relativePath != entry.relativePath)
            toRead.append(entry);
    }
    const std::function<SearchableFilePointer(const SearchableFile &)> read =
        [](const SearchableFile &entry) {
            // The thread waiting for the map, which reads some files itself, is lowered already.
            BackgroundThread::yieldToWindow();
            return std::make_shared<const SearchableFile>(SearchableFile::read(entry));
        };
    IndexUpdate update;
    for (const SearchableFilePointer &file :
         QtConcurrent::blockingMapped<QList<SearchableFilePointer>>(readPool(), toRead, read)) {
        update.changed.append(file->url);
        byUrl.insert(file->url, file);
    }
    update.files.reserve(listed.size());
    for (const SearchableFile &entry : listed) {
        if (SearchableFilePointer file = byUrl.take(entry.url))
            update.files.append(std::move(file));
    }
    update.removed = byUrl.keys();
    return update;
}

} // namespace

void ProjectTextIndex::startUpdate(const QUrl &root)
{
    const ProjectStore::TreePointer tree = m_store.treeForProject(root);
    Project &project = m_projects[root];
    project.pending = false;
    if (!tree)
        return;
    project.running = true;
    Q_EMIT updatingChanged(root);
    auto *watcher = new QFutureWatcher<IndexUpdate>(this);
    connect(watcher, &QFutureWatcher<IndexUpdate>::finished, this, [this, watcher, root] {
        watcher->deleteLater();
        IndexUpdate update = watcher->result();
        finishUpdate(root, std::move(update.files), update.changed, update.removed);
    });
    watcher->setFuture(
        QtConcurrent::run(BackgroundPool::yielding(), computeUpdate, root, tree, project.files));
}

void ProjectTextIndex::finishUpdate(const QUrl &root, QList<SearchableFilePointer> files,
                                    const QList<QUrl> &changed, const QList<QUrl> &removed)
{
    const auto it = m_projects.find(root);
    if (it == m_projects.end())
        return; // removed meanwhile
    Project &project = *it;
    // The list replaced goes with its last reference, usually right here: a pointer copy per file.
    project.files = std::move(files);
    project.indexed = true;
    project.running = false;
    if (project.pending) {
        startUpdate(root);
    } else {
        Q_EMIT updatingChanged(root);
    }
    Q_EMIT projectUpdated(root, changed, removed);
}

void ProjectTextIndex::dropRemovedProjects()
{
    const QList<QUrl> roots = m_store.projectRoots();
    for (auto it = m_projects.begin(); it != m_projects.end();) {
        if (roots.contains(it.key())) {
            ++it;
            continue;
        }
        const QUrl root = it.key();
        it = m_projects.erase(it);
        Q_EMIT updatingChanged(root);
    }
}

} // namespace kestrune
