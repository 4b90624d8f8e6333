#include "history/filehistoryreader_p.h"

#include "history/historyrepositorystate_p.h"
#include "history/treediff_p.h"

namespace kestrune {

FileHistoryReader::FileHistoryReader(const HistoryRepositoryState &state, QByteArray path)
    : m_state(state), m_trees(state.get()), m_path(std::move(path))
{}

HistoryOutcome FileHistoryReader::read(const std::function<void(const Step &)> &visit,
                                       const std::function<void()> &betweenCommits,
                                       const HistoryCancelCheck &isCancelled)
{
    CommitWalk walk(m_state);
    HistoryOutcome outcome;
    bool added = false;
    while (const git_commit *commit = walk.next()) {
        if (isCancelled && isCancelled()) {
            outcome.end = HistoryOutcome::End::cancelled;
            break;
        }
        if (betweenCommits)
            betweenCommits();
        const std::optional<git_oid> oid = takeOid(commit);
        if (!oid)
            continue;
        bool unchanged = false;
        std::optional<git_oid> firstParentOid;
        for (const git::Commit &parent : walk.parents()) {
            const std::optional<git_oid> parentFile = parentOid(parent.get());
            if (&parent == &walk.parents().front())
                firstParentOid = parentFile;
            unchanged |= parentFile && git_oid_equal(&*parentFile, &*oid);
        }
        if (unchanged)
            continue;
        Step step;
        step.commit = commit;
        step.parent = walk.parents().empty() ? nullptr : walk.parents().front().get();
        step.path = m_path;
        step.entry.commit = HistoryRepositoryState::recordOf(commit);
        step.entry.path = m_state.projectPathOf(m_path);
        if (walk.lostParents() && !firstParentOid) {
            // Compared with a parent that cannot be read: changed, from what is not known.
            step.entry.kind = FileChangeKind::modified;
        } else if (firstParentOid) {
            step.entry.kind = FileChangeKind::modified;
            step.previousPath = m_path;
        } else if (const std::optional<QByteArray> from = renamedFrom(commit, step.parent)) {
            step.entry.kind = FileChangeKind::renamed;
            step.entry.previousPath = m_state.projectPathOf(*from);
            step.previousPath = *from;
            m_path = *from;
            m_oids.clear();
        } else {
            step.entry.kind = FileChangeKind::added;
            added = true;
        }
        visit(step);
        if (added)
            break;
    }
    outcome.messages = walk.messages() + m_trees.takeMessages();
    if (walk.reachedShallowBoundary() && !added)
        outcome.messages.append(
            QStringLiteral("the repository is a shallow clone: its history is cut short"));
    return outcome;
}

std::optional<QByteArray> FileHistoryReader::renamedFrom(const git_commit *commit, const git_commit *parent)
{
    if (!parent)
        return std::nullopt;
    const git::Tree before = m_trees.treeOf(parent);
    const git::Tree after = m_trees.treeOf(commit);
    if (!before || !after)
        return std::nullopt;
    for (const TreeDiff::Rename &rename :
         TreeDiff::renames(m_state.get(), before.get(), after.get(), {}, m_trees)) {
        if (rename.to == m_path)
            return rename.from;
    }
    return std::nullopt;
}

std::optional<git_oid> FileHistoryReader::lookUpOid(const git_commit *commit)
{
    const git::Tree root = m_trees.treeOf(commit);
    return root ? m_trees.entryOid(root.get(), m_path) : std::nullopt;
}

std::optional<git_oid> FileHistoryReader::parentOid(const git_commit *commit)
{
    const QByteArray key = git::keyOf(*git_commit_id(commit));
    const auto known = m_oids.constFind(key);
    if (known != m_oids.constEnd())
        return *known;
    const std::optional<git_oid> oid = lookUpOid(commit);
    m_oids.insert(key, oid);
    return oid;
}

std::optional<git_oid> FileHistoryReader::takeOid(const git_commit *commit)
{
    const auto known = m_oids.find(git::keyOf(*git_commit_id(commit)));
    if (known == m_oids.end())
        return lookUpOid(commit);
    const std::optional<git_oid> oid = *known;
    m_oids.erase(known);
    return oid;
}

} // namespace kestrune
