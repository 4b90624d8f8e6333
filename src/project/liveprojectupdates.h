#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QUrl>

#include <memory>

namespace kestrune {

class ProjectStore;
class ProjectWatcher;

// Keeps every project of a store up to date with its folder: one ProjectWatcher a project,
// given each newly published outline, and a rescan of the project (ProjectStore::refreshProject)
// whenever its watcher reports a change. Turned off, nothing is watched and the projects change
// only when refreshed by hand.
class LiveProjectUpdates : public QObject
{
    Q_OBJECT

public:
    explicit LiveProjectUpdates(ProjectStore &store, QObject *parent = nullptr);
    ~LiveProjectUpdates() override;

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // Whether the project is watched in full: false while off, while the watch of a new outline
    // is being set up, and when the system's limit on watched paths left some of it unwatched.
    bool isWatchedInFull(const QUrl &root) const;
    // Rescans the projects that are not watched in full (called when the window comes back to
    // the front, the next best thing to a notification).
    void refreshUnwatchedProjects();

    // Pretends the system lets each project's watcher watch at most `count` paths.
    void setWatchLimit(int count);

Q_SIGNALS:
    // The system's limit on watched paths was reached while watching the project; said once a
    // project.
    void watchLimitReached(const QUrl &root);

private:
    void syncWatchers();

    ProjectStore &m_store;
    bool m_enabled = true;
    int m_watchLimit = -1;
    QHash<QUrl, ProjectWatcher *> m_watchers;
    QSet<QUrl> m_reportedLimits;
};

} // namespace kestrune
