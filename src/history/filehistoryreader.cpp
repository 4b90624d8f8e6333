#include "history/filehistoryreader_p.h"

#include "history/historyrepositorystate_p.h"
#include "history/treediff_p.h"

namespace kestrune {

FileHistoryReader::FileHistoryReader(const HistoryRepositoryState &state, QByteArray path)
    : m_state(state), m_trees(state.get()), m_probe(m_trees, std::move(path))
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
        const PathEntry file = m_probe.inCommit(commit);
        if (!file.oid)
            continue;
        bool unchanged = false;
        PathEntry firstParent;
        for (const git::Commit &parent : walk.parents()) {
            const PathEntry parentFile = m_probe.inParent(parent.get());
            if (&parent == &walk.parents().front())
                firstParent = parentFile;
            unchanged |= parentFile.sameAs(file);
        }
        if (unchanged)
            continue;
        Step step;
        step.commit = commit;
        step.parent = walk.parents().empty() ? nullptr : walk.parents().front().get();
        step.path = m_probe.path();
        step.entry.commit = HistoryRepositoryState::recordOf(commit);
        step.entry.path = m_state.projectPathOf(m_probe.path());
        // Against a parent whose trees cannot be read (noted) nothing can be told.
        if (firstParent.unreadable)
            continue;
        if (walk.lostParents() && !firstParent.oid) {
            // Compared with a parent that cannot be read: changed, from what is not known.
            step.entry.kind = FileChangeKind::modified;
        } else if (firstParent.oid) {
            step.entry.kind = FileChangeKind::modified;
            step.previousPath = m_probe.path();
        } else if (const std::optional<QByteArray> from = renamedFrom(commit, step.parent)) {
            step.entry.kind = FileChangeKind::renamed;
            step.entry.previousPath = m_state.projectPathOf(*from);
            step.previousPath = *from;
            m_probe.follow(*from);
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
        outcome.messages.append(CommitWalk::shallowBoundaryMessage());
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
        if (rename.to == m_probe.path())
            return rename.from;
    }
    return std::nullopt;
}

} // namespace kestrune
