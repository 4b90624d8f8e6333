#include "history/commitwalk_p.h"

#include "history/historyrepositorystate_p.h"

#include <algorithm>

namespace kestrune {

CommitWalk::CommitWalk(const HistoryRepositoryState &repository) : m_repository(repository)
{
    git_oid head;
    if (git_reference_name_to_id(&head, repository.get(), "HEAD") < 0) {
        m_messages.append(QStringLiteral("HEAD could not be read: %1").arg(git::lastError()));
        return;
    }
    git_commit *commit = nullptr;
    if (git_commit_lookup(&commit, repository.get(), &head) < 0) {
        m_messages.append(
            QStringLiteral("commit %1 could not be read: %2").arg(git::hexOf(head), git::lastError()));
        return;
    }
    m_seen.insert(git::keyOf(head));
    push(git::Commit(commit));
}

bool CommitWalk::comesLater(const Pending &a, const Pending &b)
{
    return a.time != b.time ? a.time < b.time : a.order > b.order;
}

void CommitWalk::push(git::Commit commit)
{
    Pending pending;
    pending.time = git_commit_time(commit.get());
    pending.order = m_order++;
    pending.commit = std::move(commit);
    m_pending.push_back(std::move(pending));
    std::push_heap(m_pending.begin(), m_pending.end(), &CommitWalk::comesLater);
}

const git_commit *CommitWalk::next()
{
    m_parents.clear();
    m_current.reset();
    m_lostParents = false;
    if (m_pending.empty())
        return nullptr;
    std::pop_heap(m_pending.begin(), m_pending.end(), &CommitWalk::comesLater);
    m_current = std::move(m_pending.back().commit);
    m_pending.pop_back();

    const git_oid *id = git_commit_id(m_current.get());
    if (m_repository.shallowCommits.contains(git::keyOf(*id))) {
        // What came before is not in the clone: as unknown as a parent that cannot be read.
        m_reachedShallowBoundary = true;
        m_lostParents = git_commit_parentcount(m_current.get()) > 0;
        return m_current.get();
    }
    const unsigned int count = git_commit_parentcount(m_current.get());
    for (unsigned int index = 0; index < count; ++index) {
        git_commit *parent = nullptr;
        if (git_commit_parent(&parent, m_current.get(), index) < 0) {
            const git_oid *parentId = git_commit_parent_id(m_current.get(), index);
            m_messages.append(QStringLiteral("parent %1 of commit %2 could not be read: %3")
                                  .arg(parentId ? git::hexOf(*parentId) : QStringLiteral("?"),
                                       git::hexOf(*id), git::lastError()));
            m_lostParents = true;
            continue;
        }
        m_parents.emplace_back(parent);
        const QByteArray key = git::keyOf(*git_commit_id(parent));
        if (m_seen.contains(key))
            continue;
        m_seen.insert(key);
        git_commit *pending = nullptr;
        if (git_commit_dup(&pending, parent) == 0)
            push(git::Commit(pending));
    }
    return m_current.get();
}

} // namespace kestrune
