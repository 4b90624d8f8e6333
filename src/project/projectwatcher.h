#pragma once

#include "project/treenode.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include <memory>

namespace kestrune {

class InotifyWatcher;

// Follows one project's planning folder on disk through the system's file notifications (inotify
// on Linux; nothing is polled) and reports, once per burst, that it changed.
//
// What is watched comes from the project's latest outline: the project folder, its "kestrune"
// folder, every folder of the outline (new entries, deletions, renames) and every Markdown file
// (writes). Each new outline brings the watch up to date, so folders that appear are watched from
// the next scan on and vanished ones are dropped. A project whose folder is gone watches the
// nearest folder above it that exists, to notice when it comes back.
//
// Events are coalesced: changed() comes `quietInterval` after the last event of a burst, and
// never later than `longestDelay` after its first, so a tool rewriting twenty files or a checkout
// cause one rescan, and a steady trickle still one a second.
//
// The system limits how many paths a user may watch (fs.inotify.max_user_watches). Paths beyond
// the limit are left unwatched and reported once through watchLimitReached(); the owner then
// refreshes in some other way. Standard error hears of it in one line, not one per path.
class ProjectWatcher : public QObject
{
    Q_OBJECT

public:
    static constexpr int quietInterval = 100; // milliseconds
    static constexpr int longestDelay = 1000; // milliseconds
    // A large project is watched over many event-loop turns so that the window never stalls: a
    // turn hands the system batches of pathsPerBatch paths until addMilliseconds have passed or
    // pathsPerTurn paths are handed.
    static constexpr int pathsPerBatch = 50;
    static constexpr int pathsPerTurn = 500;
    static constexpr int addMilliseconds = 1;

    explicit ProjectWatcher(const QUrl &projectRoot, QObject *parent = nullptr);
    ~ProjectWatcher() override;

    QUrl projectRoot() const { return m_root; }

    // Watches what the project's outline lists (the paths are gathered off this thread); a null
    // tree means the folder yielded none.
    void watch(std::shared_ptr<const TreeNode> tree);
    // Stops every watch and forgets a burst under way.
    void stop();

    // Whether every path of the latest outline is watched (false while some are still being
    // added, and when the system's limit was reached).
    bool isComplete() const;
    bool reachedWatchLimit() const { return m_reachedLimit; }
    // The paths watched now.
    QStringList watchedPaths() const;

    // Pretends the system lets this watcher watch at most `count` paths (tests, benchmarks).
    void setWatchLimit(int count) { m_watchLimit = count; }

Q_SIGNALS:
    // Something below the planning folder changed, or the folder appeared or vanished.
    void changed();
    // Some paths could not be watched although they exist.
    void watchLimitReached();

private:
    void onPathChanged(const QString &path);
    void noteEvent();
    void emitChanged();
    void applyWanted(const QSet<QString> &wanted);
    void addSomePaths();
    // Hands the system at most `most` of the paths still to watch, for a few milliseconds.
    void addPaths(qsizetype most);
    QString kestrunePath() const;
    bool kestruneExists() const;

    QUrl m_root;
    QString m_rootPath;
    std::unique_ptr<InotifyWatcher> m_watcher;
    // Folders that are only watched to see the planning folder come or go.
    QSet<QString> m_guards;
    QSet<QString> m_watched; // as the system was asked to watch them, minus those it ended
    QStringList m_toAdd;
    quint64 m_generation = 0; // of the latest call to watch
    bool m_gathering = false;
    QTimer m_addTimer;
    QTimer m_quietTimer;
    QTimer m_deadlineTimer;
    bool m_watchingOutline = false;
    bool m_kestruneExisted = false;
    bool m_reachedLimit = false;
    bool m_saidLimit = false; // on standard error, once in the watcher's life
    int m_watchLimit = -1;
};

} // namespace kestrune
