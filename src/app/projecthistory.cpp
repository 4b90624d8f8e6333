#include "app/projecthistory.h"

#include "history/historyrepository.h"
#include "project/projectstore.h"
#include "text/backgroundpool.h"
#include "text/backgroundthread.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QSet>
#include <QtConcurrent/qtconcurrentrun.h>
#include <QTimer>

namespace kestrune {

namespace {

// More reference folders than this are not watched (a repository with thousands of namespaces):
// HEAD and the branches next to it still are.
constexpr int maximumReferenceFolders = 256;

// What git writes when HEAD or a reference moves: HEAD in the repository's folder, the
// references and packed-refs in the common folder, each replaced by renaming a lock file over
// it, so the folders they lie in are watched as well as the files.
QStringList watchedPathsOf(const QString &gitFolder, const QString &commonGitFolder)
{
    QStringList paths;
    if (gitFolder.isEmpty())
        return paths;
    paths << gitFolder << gitFolder + QStringLiteral("/HEAD");
    const QString common = commonGitFolder.isEmpty() ? gitFolder : commonGitFolder;
    if (common != gitFolder)
        paths << common;
    if (QFileInfo::exists(common + QStringLiteral("/packed-refs")))
        paths << common + QStringLiteral("/packed-refs");
    const QString refs = common + QStringLiteral("/refs");
    if (QFileInfo(refs).isDir()) {
        paths << refs;
        int folders = 0;
        QDirIterator it(refs, QDir::Dirs | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext() && folders++ < maximumReferenceFolders)
            paths << it.next();
    }
    return paths;
}

} // namespace

struct ProjectHistory::Look
{
    bool available = false;
    HistoryUnavailable reason = HistoryUnavailable::none;
    QString message;
    QString headSha;
    QStringList watched;

    static Look at(const QString &projectFolder)
    {
        Look look;
        const HistoryRepository::Opening opening = HistoryRepository::open(projectFolder);
        look.reason = opening.reason;
        look.message = opening.message;
        look.watched = watchedPathsOf(opening.gitFolder, opening.commonGitFolder);
        if (opening.repository) {
            if (const std::optional<CommitRecord> head = opening.repository->head()) {
                look.available = true;
                look.headSha = head->sha;
            } else {
                look.reason = HistoryUnavailable::unreadable;
                look.message = describe(look.reason);
            }
        }
        return look;
    }
};

ProjectHistory::ProjectHistory(const ProjectStore &store, QObject *parent)
    : QObject(parent), m_store(store), m_watcher(new QFileSystemWatcher(this))
{
    connect(&m_store, &ProjectStore::projectRootsChanged, this, &ProjectHistory::followProjects);
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &ProjectHistory::onPathChanged);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &ProjectHistory::onPathChanged);
    followProjects();
}

ProjectHistory::~ProjectHistory() = default;

bool ProjectHistory::hasHistory(const QUrl &root) const
{
    const auto found = m_projects.constFind(root);
    return found != m_projects.constEnd() && found->available;
}

QString ProjectHistory::unavailableMessage(const QUrl &root) const
{
    const auto found = m_projects.constFind(root);
    return found != m_projects.constEnd() && found->known && !found->available ? found->message : QString();
}

bool ProjectHistory::isKnown(const QUrl &root) const
{
    const auto found = m_projects.constFind(root);
    return found != m_projects.constEnd() && found->known;
}

void ProjectHistory::recheck(const QUrl &root)
{
    if (m_projects.contains(root))
        look(root);
}

void ProjectHistory::setFollowing(bool follow)
{
    if (follow == m_following)
        return;
    m_following = follow;
    rewatch();
    if (follow) {
        for (auto it = m_projects.cbegin(); it != m_projects.cend(); ++it)
            look(it.key());
    }
}

QStringList ProjectHistory::watchedPaths(const QUrl &root) const
{
    return m_following ? m_projects.value(root).watched : QStringList();
}

void ProjectHistory::followProjects()
{
    const QList<QUrl> &roots = m_store.projectRoots();
    bool removed = false;
    for (auto it = m_projects.begin(); it != m_projects.end();) {
        if (roots.contains(it.key())) {
            ++it;
            continue;
        }
        delete it->settle;
        it = m_projects.erase(it);
        removed = true;
    }
    if (removed)
        rewatch();
    for (const QUrl &root : roots) {
        if (m_projects.contains(root))
            continue;
        Project &project = m_projects[root];
        project.settle = new QTimer(this);
        project.settle->setSingleShot(true);
        project.settle->setInterval(settleMs);
        connect(project.settle, &QTimer::timeout, this, [this, root] { look(root); });
        look(root);
    }
}

void ProjectHistory::look(const QUrl &root)
{
    const auto found = m_projects.find(root);
    if (found == m_projects.end() || !root.isLocalFile())
        return;
    const quint64 serial = ++m_serial;
    found->serial = serial;
    auto *watcher = new QFutureWatcher<Look>(this);
    connect(watcher, &QFutureWatcher<Look>::finished, this, [this, watcher, root, serial] {
        watcher->deleteLater();
        apply(root, serial, watcher->result());
    });
    watcher->setFuture(QtConcurrent::run(BackgroundPool::yielding(), [folder = root.toLocalFile()] {
        BackgroundThread::yieldToWindow();
        return Look::at(folder);
    }));
}

void ProjectHistory::apply(const QUrl &root, quint64 serial, const Look &found)
{
    const auto project = m_projects.find(root);
    if (project == m_projects.end() || project->serial != serial)
        return; // closed, or looked at again since
    const bool availabilityChanged = !project->known || project->available != found.available;
    // A first commit in a repository that had none moves it too.
    const bool moved = project->known && found.available && project->headSha != found.headSha;
    project->known = true;
    project->available = found.available;
    project->reason = found.reason;
    project->message = found.message;
    project->headSha = found.headSha;
    project->watched = found.watched;
    rewatch();
    if (availabilityChanged)
        Q_EMIT this->availabilityChanged(root);
    if (moved)
        Q_EMIT historyChanged(root);
}

void ProjectHistory::onPathChanged(const QString &path)
{
    for (Project &project : m_projects) {
        if (m_following && project.watched.contains(path) && !project.settle->isActive())
            project.settle->start();
    }
}

void ProjectHistory::rewatch()
{
    QSet<QString> wanted;
    for (const Project &project : std::as_const(m_projects)) {
        for (const QString &path : project.watched) {
            if (m_following)
                wanted.insert(path);
        }
    }
    QSet<QString> watching;
    for (const QString &path : m_watcher->files() + m_watcher->directories())
        watching.insert(path);
    const QSet<QString> gone = watching - wanted;
    const QSet<QString> added = wanted - watching;
    if (!gone.isEmpty())
        m_watcher->removePaths(gone.values());
    if (!added.isEmpty())
        m_watcher->addPaths(added.values());
}

} // namespace kestrune
