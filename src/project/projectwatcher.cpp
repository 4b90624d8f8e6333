#include "project/projectwatcher.h"

#include "project/inotifywatcher.h"
#include "text/backgroundpool.h"
#include "text/backgroundthread.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent/qtconcurrentrun.h>

#include <algorithm>
#include <limits>

namespace kestrune {

namespace {

QString withoutTrailingSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

// The folders and Markdown files of an outline, below its root.
void collectPaths(const TreeNode &node, QSet<QString> &paths)
{
    if (node.kind != TreeNodeKind::projectRoot && !node.linksOutsideProject)
        paths.insert(withoutTrailingSlash(node.url.toLocalFile()));
    if (!node.children)
        return;
    for (const TreeNode &child : *node.children)
        collectPaths(child, paths);
}

// The folder itself when it exists, else the nearest one above it that does.
QString nearestExistingFolder(QString path)
{
    while (!QFileInfo(path).isDir()) {
        const QString parent = QFileInfo(path).path();
        if (parent == path)
            break;
        path = parent;
    }
    return path;
}

} // namespace

ProjectWatcher::ProjectWatcher(const QUrl &projectRoot, QObject *parent)
    : QObject(parent), m_root(projectRoot), m_rootPath(withoutTrailingSlash(projectRoot.toLocalFile())),
      m_watcher(std::make_unique<InotifyWatcher>())
{
    m_quietTimer.setSingleShot(true);
    m_quietTimer.setInterval(quietInterval);
    m_deadlineTimer.setSingleShot(true);
    m_deadlineTimer.setInterval(longestDelay);
    m_addTimer.setInterval(0);
    connect(&m_quietTimer, &QTimer::timeout, this, &ProjectWatcher::emitChanged);
    connect(&m_deadlineTimer, &QTimer::timeout, this, &ProjectWatcher::emitChanged);
    connect(&m_addTimer, &QTimer::timeout, this, &ProjectWatcher::addSomePaths);
    connect(m_watcher.get(), &InotifyWatcher::directoryChanged, this, &ProjectWatcher::onPathChanged);
    connect(m_watcher.get(), &InotifyWatcher::fileChanged, this, &ProjectWatcher::onPathChanged);
    connect(m_watcher.get(), &InotifyWatcher::eventsLost, this, &ProjectWatcher::noteEvent);
    m_kestruneExisted = kestruneExists();
}

ProjectWatcher::~ProjectWatcher() = default;

void ProjectWatcher::watch(std::shared_ptr<const TreeNode> tree)
{
    const quint64 generation = ++m_generation;
    m_watchingOutline = tree != nullptr;
    if (!tree) {
        m_guards = {nearestExistingFolder(m_rootPath)};
        applyWanted(m_guards);
        return;
    }
    // Tens of thousands of paths are gathered off this thread; the outline is immutable.
    m_gathering = true;
    auto *gathering = new QFutureWatcher<QSet<QString>>(this);
    connect(gathering, &QFutureWatcherBase::finished, this, [this, gathering, generation] {
        gathering->deleteLater();
        if (generation != m_generation)
            return; // a newer outline, or none, has taken over
        m_gathering = false;
        m_guards = {m_rootPath};
        applyWanted(gathering->result());
    });
    gathering->setFuture(QtConcurrent::run(
        BackgroundPool::yielding(), [tree = std::move(tree), kestrune = kestrunePath(), root = m_rootPath] {
            BackgroundThread::yieldToWindow();
            QSet<QString> wanted;
            wanted.reserve(1024);
            collectPaths(*tree, wanted);
            wanted.insert(kestrune);
            wanted.insert(root);
            return wanted;
        }));
}

void ProjectWatcher::applyWanted(const QSet<QString> &wanted)
{
    QStringList toRemove;
    for (const QString &path : std::as_const(m_watched)) {
        if (!wanted.contains(path))
            toRemove.append(path);
    }
    if (!toRemove.isEmpty()) {
        m_watcher->removePaths(toRemove);
        for (const QString &path : std::as_const(toRemove))
            m_watched.remove(path);
    }
    // Guards first: they tell when the whole folder goes. A project's first outline, watched from
    // nothing, is tens of thousands of paths: no lookup per path where none is needed.
    m_toAdd.clear();
    m_toAdd.reserve(wanted.size());
    for (const QString &guard : std::as_const(m_guards)) {
        if (wanted.contains(guard) && !m_watched.contains(guard))
            m_toAdd.append(guard);
    }
    const qsizetype guards = m_toAdd.size();
    // A list, not the set: walking a set looks through all of its buckets, once per path here.
    const QStringList guardList = m_guards.values();
    const auto isGuard = [&guardList](const QString &path) { return guardList.contains(path); };
    const bool watchingNone = m_watched.isEmpty();
    for (const QString &path : wanted) {
        if ((watchingNone || !m_watched.contains(path)) && !isGuard(path))
            m_toAdd.append(path);
    }
    m_reachedLimit = false;
    addPaths(guards); // the guards at once, the rest over the next turns
    // The planning folder may have come or gone before its guard was watched.
    const bool exists = kestruneExists();
    if (exists != m_kestruneExisted) {
        m_kestruneExisted = exists;
        noteEvent();
    }
}

void ProjectWatcher::stop()
{
    m_addTimer.stop();
    m_quietTimer.stop();
    m_deadlineTimer.stop();
    m_toAdd.clear();
    m_guards.clear();
    ++m_generation;
    m_gathering = false;
    const QStringList watched = watchedPaths();
    if (!watched.isEmpty())
        m_watcher->removePaths(watched);
    m_watched.clear();
}

bool ProjectWatcher::isComplete() const
{
    return !m_gathering && m_toAdd.isEmpty() && !m_reachedLimit;
}

QStringList ProjectWatcher::watchedPaths() const
{
    return m_watcher->paths();
}

void ProjectWatcher::addSomePaths()
{
    addPaths(pathsPerTurn);
}

void ProjectWatcher::addPaths(qsizetype most)
{
    // Each path costs the system a lookup: a turn adds small batches until its time is up.
    QElapsedTimer clock;
    clock.start();
    qsizetype room = m_watchLimit >= 0 ? std::max<qsizetype>(0, m_watchLimit - m_watcher->count())
                                       : std::numeric_limits<qsizetype>::max();
    QStringList failed;
    qsizetype added = 0;
    while (!m_toAdd.isEmpty() && failed.isEmpty() && added < most &&
           (added == 0 || clock.elapsed() < addMilliseconds)) {
        QStringList batch = m_toAdd.mid(0, std::min<qsizetype>(pathsPerBatch, most - added));
        m_toAdd.remove(0, batch.size());
        added += batch.size();
        if (batch.size() > room) {
            failed += batch.mid(room);
            batch.resize(room);
        }
        if (!batch.isEmpty()) {
            const QStringList refused = m_watcher->addPaths(batch);
            room -= batch.size() - refused.size();
            for (const QString &path : std::as_const(batch)) {
                if (!refused.contains(path))
                    m_watched.insert(path);
            }
            failed += refused;
        }
    }
    // A path that vanished since the scan is not there to watch, and nothing would tell of its
    // going: the outline is out of date, so a scan follows. A dangling link is there, unwatchable.
    bool refused = false;
    bool vanished = false;
    for (const QString &path : std::as_const(failed)) {
        const QFileInfo file(path);
        if (file.exists())
            refused = true;
        else if (!file.isSymLink())
            vanished = true;
    }
    if (vanished)
        noteEvent();
    if (refused && !m_reachedLimit) {
        m_reachedLimit = true;
        const qsizetype unwatched = failed.size() + m_toAdd.size();
        m_toAdd.clear(); // the rest would fail the same way
        if (!m_saidLimit) {
            m_saidLimit = true;
            qWarning("%lld paths of %s are not watched: the system's limit of watches was reached "
                     "(fs.inotify.max_user_watches); changes there show after a refresh",
                     static_cast<long long>(unwatched), qUtf8Printable(QDir::toNativeSeparators(m_rootPath)));
        }
        Q_EMIT watchLimitReached();
    }
    if (m_toAdd.isEmpty())
        m_addTimer.stop();
    else if (!m_addTimer.isActive())
        m_addTimer.start();
}

void ProjectWatcher::onPathChanged(const QString &path)
{
    // The system ends the watch of a path deleted or moved away (a file replaced by renaming
    // another onto it too); the next outline watches what is there then.
    if (!m_watcher->isWatching(path))
        m_watched.remove(path);
    if (m_guards.contains(path)) {
        // The folder holding the project changes for reasons of its own (a build writing
        // beside the planning folder); only the planning folder coming or going matters.
        const bool exists = kestruneExists();
        if (exists != m_kestruneExisted) {
            m_kestruneExisted = exists;
            noteEvent();
        } else if (!m_watchingOutline && !m_guards.contains(nearestExistingFolder(m_rootPath))) {
            watch(nullptr); // a folder on the way back to the project appeared, or one vanished
        }
        return;
    }
    noteEvent();
}

void ProjectWatcher::noteEvent()
{
    m_quietTimer.start();
    if (!m_deadlineTimer.isActive())
        m_deadlineTimer.start();
}

void ProjectWatcher::emitChanged()
{
    m_quietTimer.stop();
    m_deadlineTimer.stop();
    Q_EMIT changed();
}

QString ProjectWatcher::kestrunePath() const
{
    return (m_rootPath == QLatin1String("/") ? m_rootPath : m_rootPath + QLatin1Char('/')) +
           QLatin1String("kestrune");
}

bool ProjectWatcher::kestruneExists() const
{
    return QFileInfo(kestrunePath()).isDir();
}

} // namespace kestrune
