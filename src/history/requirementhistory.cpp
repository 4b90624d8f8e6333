#include "history/requirementhistory.h"

#include "history/batchdelivery_p.h"
#include "history/filehistoryreader_p.h"
#include "history/historypaths_p.h"
#include "history/historyrepository.h"
#include "history/historyrepositorystate_p.h"
#include "history/pooltask_p.h"
#include "history/treediff_p.h"
#include "review/specificationdocument.h"

#include <QFile>

namespace kestrune {

namespace {

// The block of the requirement named `key` in a specification's text; empty when it has none.
QString requirementText(const std::optional<QByteArray> &file, const QString &key)
{
    if (!file)
        return {};
    const SpecificationDocument document = SpecificationDocument::parse(QString::fromUtf8(*file));
    for (const SpecificationSection &section : document.sections) {
        for (const RequirementBlock &requirement : section.requirements) {
            if (SpecificationDocument::requirementKey(requirement.name) == key)
                return requirement.text;
        }
    }
    return {};
}

class RequirementReader
{
public:
    RequirementReader(const HistoryRepositoryState &state, FileHistoryReader &files, QString key)
        : m_state(state), m_files(files), m_key(std::move(key))
    {}

    // The entry of one change of the specification file, when the requirement's block changed.
    std::optional<RequirementHistoryEntry> entryOf(const FileHistoryReader::Step &step)
    {
        TreePaths &trees = m_files.trees();
        const git::Tree after = trees.treeOf(step.commit);
        const git::Tree before = step.parent ? trees.treeOf(step.parent) : git::Tree();
        if (!after)
            return std::nullopt;
        RequirementHistoryEntry entry;
        entry.commit = step.entry.commit;
        entry.specification = step.entry.path;
        entry.textAfter = requirementText(trees.blobAt(after.get(), step.path), m_key);
        if (before && !step.previousPath.isEmpty())
            entry.textBefore = requirementText(trees.blobAt(before.get(), step.previousPath), m_key);
        if (entry.textAfter == entry.textBefore)
            return std::nullopt;
        entry.kind = entry.textBefore.isEmpty()  ? RequirementChangeKind::added
                     : entry.textAfter.isEmpty() ? RequirementChangeKind::removed
                                                 : RequirementChangeKind::modified;
        const std::optional<PlanningPath> specification =
            HistoryPaths::planningPathOf(m_state, step.path, false);
        if (specification)
            entry.archivedChanges =
                archivedChangesNaming(before.get(), after.get(), specification->capability);
        return entry;
    }

private:
    // The archived change folders a commit brought in or changed whose delta specification of
    // `capability` names the requirement.
    QStringList archivedChangesNaming(const git_tree *before, const git_tree *after,
                                      const QString &capability)
    {
        TreePaths &trees = m_files.trees();
        const QByteArray changesPath =
            HistoryPaths::repositoryPathOfPlanning(m_state, QStringLiteral("changes"));
        const git::Tree changesAfter = trees.subtree(after, changesPath);
        if (!changesAfter)
            return {};
        const git::Tree changesBefore = before ? trees.subtree(before, changesPath) : git::Tree();
        QStringList changes;
        for (const QByteArray &path :
             TreeDiff::changedPaths(m_state.get(), changesBefore.get(), changesAfter.get(), trees)) {
            const PlanningPath delta =
                PlanningPath::of(QStringLiteral("changes/") + QFile::decodeName(path), false);
            if (delta.kind != PlanningPath::Kind::deltaSpecification || !delta.isArchived ||
                !delta.isCapabilityFile || delta.capability != capability)
                continue;
            const QString folder = QStringLiteral("kestrune/") + delta.changeFolderPath;
            if (changes.contains(folder))
                continue;
            if (!requirementText(trees.blobAt(changesAfter.get(), path), m_key).isEmpty())
                changes.append(folder);
        }
        changes.sort();
        return changes;
    }

    const HistoryRepositoryState &m_state;
    FileHistoryReader &m_files;
    QString m_key;
};

} // namespace

HistoryOutcome RequirementHistory::read(const HistoryRepository &repository, const QString &specification,
                                        const QString &requirement, const Deliver &deliver,
                                        const HistoryCancelCheck &isCancelled)
{
    BatchDelivery<RequirementHistoryEntry> out(deliver);
    const HistoryRepositoryState &state = repository.state();
    const std::optional<QByteArray> path = HistoryPaths::repositoryPathOfFile(state, specification);
    HistoryOutcome outcome;
    if (!path || path->isEmpty()) {
        outcome.messages.append(
            QStringLiteral("%1 is not in the project folder %2").arg(specification, state.projectFolder));
    } else {
        FileHistoryReader files(state, *path);
        RequirementReader reader(state, files, SpecificationDocument::requirementKey(requirement));
        outcome = files.read(
            [&](const FileHistoryReader::Step &step) {
                if (std::optional<RequirementHistoryEntry> entry = reader.entryOf(step))
                    out.add(std::move(*entry));
            },
            [&out] { out.poll(); }, isCancelled);
    }
    out.finish(outcome);
    return outcome;
}

QFuture<RequirementHistoryBatch> RequirementHistory::start(const QString &projectFolder,
                                                           const QString &specification,
                                                           const QString &requirement)
{
    return startOnPool<RequirementHistoryBatch>(
        [projectFolder, specification, requirement](QPromise<RequirementHistoryBatch> &promise) {
            const HistoryRepository::Opening opening = HistoryRepository::open(projectFolder);
            if (!opening.repository) {
                RequirementHistoryBatch batch;
                batch.outcome =
                    HistoryOutcome{HistoryOutcome::End::unavailable, opening.reason, {opening.message}};
                promise.addResult(std::move(batch));
                return;
            }
            read(
                *opening.repository, specification, requirement,
                [&promise](RequirementHistoryBatch &&batch) { promise.addResult(std::move(batch)); },
                [&promise] { return promise.isCanceled(); });
        });
}

} // namespace kestrune
