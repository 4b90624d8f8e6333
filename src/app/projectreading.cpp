#include "app/projectreading.h"

#include "project/projectstore.h"
#include "reading/readingpaths.h"
#include "reading/readingstatefolder.h"
#include "reading/readingstore.h"

#include <QSet>

namespace kestrune {

ProjectReading::ProjectReading(ProjectStore &projects, QString stateRoot, QObject *parent)
    : QObject(parent), m_projects(projects), m_stateRoot(std::move(stateRoot))
{
    connect(&m_projects, &ProjectStore::projectRootsChanged, this, &ProjectReading::followProjects);
    connect(&m_projects, &ProjectStore::treeByProjectChanged, this, &ProjectReading::computeMarks);
    followProjects();
}

ProjectReading::~ProjectReading() = default;

ReadingStore *ProjectReading::storeFor(const QUrl &root) const
{
    const auto it = m_open.constFind(root);
    return it == m_open.cend() ? nullptr : it->store.get();
}

std::optional<ReadingMarks> ProjectReading::marksFor(const QUrl &root) const
{
    const auto it = m_open.constFind(root);
    return it == m_open.cend() ? std::nullopt : it->marks;
}

std::optional<CardReadingFacts> ProjectReading::factsFor(const QUrl &root) const
{
    const auto it = m_open.constFind(root);
    return it == m_open.cend() ? std::nullopt : it->facts;
}

QString ProjectReading::relativePath(const QUrl &root, const QUrl &file) const
{
    const ProjectStore::TreePointer tree = m_projects.treeForProject(root);
    return tree ? ReadingPaths::relativeTo(ReadingPaths::rootPathOf(*tree), file) : QString();
}

void ProjectReading::readSeenTextOfChanged(const QUrl &root, const QUrl &file, QObject *context,
                                           std::function<void(const QByteArray &)> deliver)
{
    ReadingStore *store = storeFor(root);
    const QString path = relativePath(root, file);
    const std::optional<ReadingMarks> marks = marksFor(root);
    if (!store || path.isEmpty() || !marks)
        return;
    const FileReadingMark mark = marks->markOf(path);
    if (mark.state != ReadingState::changed || !mark.hasSeenText)
        return;
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = connect(store, &ReadingStore::seenTextRead, context,
                          [connection, path, deliver = std::move(deliver)](
                              const QString &read, const std::optional<QByteArray> &text) {
                              if (read != path)
                                  return;
                              QObject::disconnect(*connection);
                              if (text)
                                  deliver(*text);
                          });
    store->readSeenText(path);
}

void ProjectReading::markSeen(const QUrl &root, const QUrl &file, const QByteArray &bytes,
                              const QDateTime &modificationDate)
{
    ReadingStore *store = storeFor(root);
    const QString path = relativePath(root, file);
    if (store && !path.isEmpty())
        store->markSeen(path, bytes, modificationDate);
}

void ProjectReading::markAllSeen(const QUrl &root)
{
    if (ReadingStore *store = storeFor(root))
        store->markAllSeen(m_projects.treeForProject(root));
}

void ProjectReading::forget(const QUrl &root)
{
    if (ReadingStore *store = storeFor(root))
        store->forget(); // the next marks are a first import again, which records a baseline
}

void ProjectReading::followProjects()
{
    const QList<QUrl> &roots = m_projects.projectRoots();
    const QSet<QUrl> listed(roots.cbegin(), roots.cend());
    for (auto it = m_open.begin(); it != m_open.end();) {
        if (listed.contains(it.key()))
            ++it;
        else
            it = m_open.erase(it); // the store saves what it has not saved yet
    }
    for (const QUrl &root : roots) {
        if (!m_open.contains(root))
            open(root);
    }
}

void ProjectReading::open(const QUrl &root)
{
    auto store =
        root.isLocalFile()
            ? std::make_shared<ReadingStore>(root.toLocalFile(),
                                             m_stateRoot.isEmpty() ? ReadingStateFolder::root() : m_stateRoot)
            : nullptr;
    if (!store)
        return;
    ReadingStore *raw = store.get();
    connect(raw, &ReadingStore::noticeRaised, this,
            [this, root](const ReadingStoreNotice &notice) { Q_EMIT noticeRaised(root, notice); });
    connect(raw, &ReadingStore::marksComputed, this,
            [this, root](const ReadingMarks &marks, const CardReadingFacts &facts) {
                const auto it = m_open.find(root);
                if (it == m_open.end())
                    return;
                it->marks = marks;
                it->facts = facts;
                Q_EMIT marksChanged(root);
            });
    // A file seen, every file seen, the history forgotten or the first import's baseline taken.
    connect(raw, &ReadingStore::recordChanged, this, [this, root] { computeMarks(root); });
    m_open.insert(root, Project{std::move(store), std::nullopt, std::nullopt});
    raw->load();
    computeMarks(root); // waits for the load, and for an outline
}

void ProjectReading::computeMarks(const QUrl &root)
{
    ReadingStore *store = storeFor(root);
    const ProjectStore::TreePointer tree = m_projects.treeForProject(root);
    if (store && tree)
        store->computeMarks(tree);
}

} // namespace kestrune
