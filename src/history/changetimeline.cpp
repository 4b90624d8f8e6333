#include "history/changetimeline.h"

#include "history/batchdelivery_p.h"
#include "history/commitwalk_p.h"
#include "history/historypaths_p.h"
#include "history/historyrepository.h"
#include "history/historyrepositorystate_p.h"
#include "history/pathprobe_p.h"
#include "history/pooltask_p.h"
#include "history/treediff_p.h"
#include "history/treepaths_p.h"

#include <QFile>

#include <map>

namespace kestrune {

namespace {

const char tasksFileName[] = "tasks.md";

// Reads one change's timeline, following its folder through the commits.
class TimelineReader
{
public:
    TimelineReader(const HistoryRepositoryState &state, QByteArray folder)
        : m_state(state), m_trees(state.get()), m_probe(m_trees, std::move(folder))
    {}

    HistoryOutcome read(BatchDelivery<ChangeHistoryEvent> &out, const HistoryCancelCheck &isCancelled)
    {
        CommitWalk walk(m_state);
        HistoryOutcome outcome;
        while (const git_commit *commit = walk.next()) {
            if (isCancelled && isCancelled()) {
                outcome.end = HistoryOutcome::End::cancelled;
                break;
            }
            out.poll();
            const PathEntry folder = m_probe.inCommit(commit);
            if (!folder.oid)
                continue;
            std::vector<PathEntry> parentFolders;
            bool unchanged = false;
            for (const git::Commit &parent : walk.parents()) {
                parentFolders.push_back(m_probe.inParent(parent.get()));
                unchanged |= parentFolders.back().sameAs(folder);
            }
            if (unchanged)
                continue;
            const git_commit *parent = walk.parents().empty() ? nullptr : walk.parents().front().get();
            const PathEntry parentFolder = parentFolders.empty() ? PathEntry() : parentFolders.front();
            // Against a parent whose trees cannot be read (noted) nothing can be told.
            if (parentFolder.unreadable)
                continue;
            if (walk.lostParents() && !parentFolder.oid) {
                // What the folder was before cannot be known: the commit is listed, compared
                // with nothing.
                addUnknownBefore(out, commit, *folder.oid);
                continue;
            }
            if (!add(out, commit, *folder.oid, parent, parentFolder.oid))
                break;
        }
        outcome.messages = walk.messages() + m_trees.takeMessages();
        if (walk.reachedShallowBoundary() && !m_created)
            outcome.messages.append(CommitWalk::shallowBoundaryMessage());
        return outcome;
    }

private:
    // Adds the event of a commit that changed the folder; false once the folder's creation is
    // found, where the timeline begins.
    bool add(BatchDelivery<ChangeHistoryEvent> &out, const git_commit *commit, const git_oid &folder,
             const git_commit *parent, const std::optional<git_oid> &parentFolder)
    {
        ChangeHistoryEvent event;
        event.commit = HistoryRepositoryState::recordOf(commit);
        event.folder = m_state.projectPathOf(m_probe.path());
        const git::Tree after = m_trees.lookupTree(folder);
        event.tasksAfter = tasksIn(after.get());
        git::Tree before;
        bool created = false;
        if (parentFolder) {
            before = m_trees.lookupTree(*parentFolder);
            event.tasksBefore = tasksIn(before.get());
            const bool tasksChanged = event.tasksBefore.done != event.tasksAfter.done ||
                                      event.tasksBefore.total != event.tasksAfter.total;
            // A task list written for the first time is an edit; ticking or adding tasks to one
            // that was there is progress.
            const bool hadTasks = before && git_tree_entry_byname(before.get(), tasksFileName);
            event.kind = hadTasks && tasksChanged ? ChangeEventKind::tasks : ChangeEventKind::edited;
        } else if (const std::optional<QByteArray> source = moveSource(commit, parent)) {
            const git::Tree parentRoot = m_trees.treeOf(parent);
            if (parentRoot)
                before = m_trees.subtree(parentRoot.get(), *source);
            event.tasksBefore = tasksIn(before.get());
            event.previousFolder = m_state.projectPathOf(*source);
            event.kind = isArchived(m_probe.path()) && !isArchived(*source) ? ChangeEventKind::archived
                                                                            : ChangeEventKind::renamed;
            m_probe.follow(*source);
        } else {
            event.kind = ChangeEventKind::created;
            created = true;
        }
        QList<QByteArray> added;
        for (const QByteArray &path :
             TreeDiff::changedPaths(m_state.get(), before.get(), after.get(), m_trees, &added))
            event.files.append(QFile::decodeName(path));
        for (const QByteArray &path : std::as_const(added))
            event.addedFiles.append(QFile::decodeName(path));
        out.add(std::move(event));
        m_created = created;
        return !created;
    }

    void addUnknownBefore(BatchDelivery<ChangeHistoryEvent> &out, const git_commit *commit,
                          const git_oid &folder)
    {
        ChangeHistoryEvent event;
        event.commit = HistoryRepositoryState::recordOf(commit);
        event.folder = m_state.projectPathOf(m_probe.path());
        const git::Tree after = m_trees.lookupTree(folder);
        event.tasksAfter = tasksIn(after.get());
        for (const QByteArray &path : TreeDiff::changedPaths(m_state.get(), nullptr, after.get(), m_trees))
            event.files.append(QFile::decodeName(path));
        out.add(std::move(event));
    }

    // The folder the files of this commit's folder came from in its parent, by the renames
    // between the two below changes/: the folder most of them came from.
    std::optional<QByteArray> moveSource(const git_commit *commit, const git_commit *parent)
    {
        if (!parent)
            return std::nullopt;
        const git::Tree before = m_trees.treeOf(parent);
        const git::Tree after = m_trees.treeOf(commit);
        if (!before || !after)
            return std::nullopt;
        const QByteArray changes = HistoryPaths::repositoryPathOfPlanning(m_state, QStringLiteral("changes"));
        const QByteArray inFolder = m_probe.path() + '/';
        std::map<QByteArray, int> votes;
        for (const TreeDiff::Rename &rename :
             TreeDiff::renames(m_state.get(), before.get(), after.get(), changes, m_trees)) {
            if (!rename.to.startsWith(inFolder) || rename.from.startsWith(inFolder))
                continue;
            const std::optional<PlanningPath> from =
                HistoryPaths::planningPathOf(m_state, rename.from, false);
            if (from && !from->changeFolderPath.isEmpty())
                ++votes[HistoryPaths::repositoryPathOfPlanning(m_state, from->changeFolderPath)];
        }
        const auto most = std::max_element(votes.begin(), votes.end(),
                                           [](const auto &a, const auto &b) { return a.second < b.second; });
        if (most == votes.end())
            return std::nullopt;
        return most->first;
    }

    bool isArchived(const QByteArray &folder) const
    {
        const std::optional<PlanningPath> path = HistoryPaths::planningPathOf(m_state, folder, true);
        return path && path->isArchived;
    }

    TaskCount tasksIn(const git_tree *folder)
    {
        if (!folder)
            return {};
        const std::optional<QByteArray> tasks = m_trees.blobIn(folder, tasksFileName);
        return tasks ? countTasksInText(QString::fromUtf8(*tasks)) : TaskCount();
    }

    const HistoryRepositoryState &m_state;
    TreePaths m_trees;
    PathProbe m_probe;
    bool m_created = false;
};

} // namespace

HistoryOutcome ChangeTimeline::read(const HistoryRepository &repository, const QString &changeFolder,
                                    const Deliver &deliver, const HistoryCancelCheck &isCancelled)
{
    BatchDelivery<ChangeHistoryEvent> out(deliver);
    const HistoryRepositoryState &state = repository.state();
    const std::optional<QByteArray> folder = HistoryPaths::repositoryPathOfFile(state, changeFolder);
    HistoryOutcome outcome;
    if (!folder || folder->isEmpty()) {
        outcome.messages.append(
            QStringLiteral("%1 is not in the project folder %2").arg(changeFolder, state.projectFolder));
    } else {
        TimelineReader reader(state, *folder);
        outcome = reader.read(out, isCancelled);
    }
    out.finish(outcome);
    return outcome;
}

QFuture<ChangeTimelineBatch> ChangeTimeline::start(const QString &projectFolder, const QString &changeFolder)
{
    return startOnPool<ChangeTimelineBatch>(
        [projectFolder, changeFolder](QPromise<ChangeTimelineBatch> &promise) {
            const HistoryRepository::Opening opening = HistoryRepository::open(projectFolder);
            if (!opening.repository) {
                ChangeTimelineBatch batch;
                batch.outcome =
                    HistoryOutcome{HistoryOutcome::End::unavailable, opening.reason, {opening.message}};
                promise.addResult(std::move(batch));
                return;
            }
            read(
                *opening.repository, changeFolder,
                [&promise](ChangeTimelineBatch &&batch) { promise.addResult(std::move(batch)); },
                [&promise] { return promise.isCanceled(); });
        });
}

} // namespace kestrune
