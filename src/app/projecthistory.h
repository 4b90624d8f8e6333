#pragma once

#include "history/historyunavailable.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUrl>

class QFileSystemWatcher;
class QTimer;

namespace kestrune {

class ProjectStore;

// Whether each open project has a history in git, and when that history moves on. The
// repository of a project is opened on the thread pool when the project is imported; until the
// answer is there, and for a project outside any work tree, hasHistory() is false and the history
// commands are absent.
//
// A project with a repository is followed: its HEAD, its references (loose and packed, in the
// repository's common folder for a linked work tree) and the folders they are written into are
// watched. Changes are coalesced for a short while, then HEAD is read again on the pool, and
// historyChanged() is emitted when the commit it names differs (a commit, a checkout, a reset),
// not for whatever else git writes there (the index, its lock). The repository is only read.
class ProjectHistory : public QObject
{
    Q_OBJECT

public:
    // How long a burst of writes in the repository is let settle before HEAD is read again.
    static constexpr int settleMs = 150;

    explicit ProjectHistory(const ProjectStore &store, QObject *parent = nullptr);
    ~ProjectHistory() override;

    bool hasHistory(const QUrl &root) const;
    // Why the project has no history, in words; empty while it has one or the answer is pending.
    QString unavailableMessage(const QUrl &root) const;
    // Whether the repository of the project has been looked at since it was imported.
    bool isKnown(const QUrl &root) const;
    // Looks at the project's repository again (a refresh: a repository made since, or removed).
    void recheck(const QUrl &root);
    // Whether the repositories are watched (on unless turned off, with the projects' folders):
    // off, nothing is watched and HEAD moving is no news; on again, each is looked at anew.
    void setFollowing(bool follow);
    bool isFollowing() const { return m_following; }
    // The paths watched for the project, for tests.
    QStringList watchedPaths(const QUrl &root) const;

Q_SIGNALS:
    // hasHistory() of the project changed, or its first answer arrived.
    void availabilityChanged(const QUrl &root);
    // HEAD of the project's repository names another commit.
    void historyChanged(const QUrl &root);

private:
    struct Project
    {
        bool known = false;
        bool available = false;
        HistoryUnavailable reason = HistoryUnavailable::none;
        QString message;
        QString headSha;
        QStringList watched;
        quint64 serial = 0; // of the last look started
        QTimer *settle = nullptr;
    };
    struct Look; // what one look at a repository found, on the pool

    void followProjects();
    void look(const QUrl &root);
    void apply(const QUrl &root, quint64 serial, const Look &found);
    void onPathChanged(const QString &path);
    void rewatch();

    const ProjectStore &m_store;
    QHash<QUrl, Project> m_projects;
    QFileSystemWatcher *m_watcher = nullptr;
    quint64 m_serial = 0;
    bool m_following = true;
};

} // namespace kestrune
