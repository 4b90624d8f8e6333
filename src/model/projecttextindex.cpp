#include "model/projecttextindex.h"

#include "model/projectstore.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentMap>

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

void ProjectTextIndex::startUpdate(const QUrl &root)
{
    const ProjectStore::TreePointer tree = m_store.treeForProject(root);
    Project &project = m_projects[root];
    project.pending = false;
    if (!tree)
        return;
    const QList<SearchableFile> listed = SearchableFile::listOf(root, *tree);
    QHash<QUrl, SearchableFilePointer> known;
    for (const SearchableFilePointer &file : std::as_const(project.files))
        known.insert(file->url, file);
    QList<SearchableFile> toRead;
    for (const SearchableFile &entry : listed) {
        const SearchableFilePointer old = known.value(entry.url);
        if (!old || old->modificationDate != entry.modificationDate ||
            old->relativePath != entry.relativePath)
            toRead.append(entry);
    }
    project.running = true;
    Q_EMIT updatingChanged(root);
    auto *watcher = new QFutureWatcher<SearchableFile>(this);
    connect(watcher, &QFutureWatcher<SearchableFile>::finished, this, [this, watcher, root, listed] {
        watcher->deleteLater();
        finishUpdate(root, listed, watcher->future().results());
    });
    watcher->setFuture(QtConcurrent::mapped(toRead, &SearchableFile::read));
}

void ProjectTextIndex::finishUpdate(const QUrl &root, const QList<SearchableFile> &listed,
                                    const QList<SearchableFile> &read)
{
    const auto it = m_projects.find(root);
    if (it == m_projects.end())
        return; // removed meanwhile
    Project &project = *it;
    QHash<QUrl, SearchableFilePointer> byUrl;
    for (const SearchableFilePointer &file : std::as_const(project.files))
        byUrl.insert(file->url, file);
    QList<QUrl> changed;
    for (const SearchableFile &file : read) {
        changed.append(file.url);
        byUrl.insert(file.url, std::make_shared<const SearchableFile>(file));
    }
    QList<SearchableFilePointer> files;
    files.reserve(listed.size());
    for (const SearchableFile &entry : listed) {
        if (SearchableFilePointer file = byUrl.take(entry.url))
            files.append(std::move(file));
    }
    const QList<QUrl> removed = byUrl.keys();
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
