#pragma once

// The commits reachable from HEAD, newest first (by committer time, ties in the order they were
// reached), each with the parents it can be compared with. A parent that cannot be read is noted
// by its id and left out, so a corrupt or missing object cuts the walk short on that line only;
// the commits a shallow clone cut off are not asked for.

#include "history/gitobjects_p.h"

#include <QByteArray>
#include <QSet>
#include <QStringList>

#include <vector>

namespace kestrune {

struct HistoryRepositoryState;

class CommitWalk
{
public:
    explicit CommitWalk(const HistoryRepositoryState &repository);

    // The next commit, or null when the walk is over. It and its parents stay valid until the
    // next call.
    const git_commit *next();
    const std::vector<git::Commit> &parents() const { return m_parents; }
    // Whether a parent of the current commit could not be read (and is missing from parents()).
    bool lostParents() const { return m_lostParents; }

    const QStringList &messages() const { return m_messages; }
    // Whether the walk reached a commit whose parents a shallow clone left out.
    bool reachedShallowBoundary() const { return m_reachedShallowBoundary; }
    // What a history cut short by a shallow clone says.
    static QString shallowBoundaryMessage()
    {
        return QStringLiteral("the repository is a shallow clone: its history is cut short");
    }

private:
    struct Pending
    {
        git_time_t time = 0;
        quint64 order = 0;
        git::Commit commit;
    };

    // Heap order: whether `a` is walked after `b`.
    static bool comesLater(const Pending &a, const Pending &b);
    void push(git::Commit commit);

    const HistoryRepositoryState &m_repository;
    std::vector<Pending> m_pending; // a heap, the newest on top
    QSet<QByteArray> m_seen;
    quint64 m_order = 0;
    git::Commit m_current;
    std::vector<git::Commit> m_parents;
    QStringList m_messages;
    bool m_reachedShallowBoundary = false;
    bool m_lostParents = false;
};

} // namespace kestrune
