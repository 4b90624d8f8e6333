#include "project/changeanalysis.h"

#include "project/planningpath.h"
#include "text/textlines.h"

#include <algorithm>

namespace kestrune {

namespace {

const QString proposalFileName = QStringLiteral("proposal.md");
const QString designFileName = QStringLiteral("design.md");
const QString tasksFileName = QStringLiteral("tasks.md");
const QString specsFolderName = QStringLiteral("specs");

QString childPath(const QUrl &folder, const QString &name)
{
    QString path = folder.toLocalFile();
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + name;
}

struct ChangeDocuments
{
    bool proposal = false;
    bool design = false;
    bool specs = false;
    bool tasks = false;

    bool all() const { return proposal && design && specs && tasks; }
};

ChangeDocuments documentsOf(const TreeNode &node)
{
    ChangeDocuments documents;
    if (!node.children)
        return documents;
    for (const TreeNode &child : *node.children) {
        if (child.kind == TreeNodeKind::markdownFile) {
            documents.proposal |= child.name == proposalFileName;
            documents.design |= child.name == designFileName;
            documents.tasks |= child.name == tasksFileName;
        } else if (child.kind == TreeNodeKind::directory) {
            documents.specs |= child.name == specsFolderName;
        }
    }
    return documents;
}

WorkflowStage workflowStageOf(const ChangeDocuments &documents)
{
    if (!documents.proposal)
        return WorkflowStage::proposal;
    if (!documents.design)
        return WorkflowStage::design;
    if (!documents.specs)
        return WorkflowStage::specs;
    return WorkflowStage::tasks;
}

std::optional<WorkflowStage> currentDraftStageOf(const ChangeDocuments &documents)
{
    if (documents.tasks)
        return WorkflowStage::tasks;
    if (documents.specs)
        return WorkflowStage::specs;
    if (documents.design)
        return WorkflowStage::design;
    if (documents.proposal)
        return WorkflowStage::proposal;
    return std::nullopt;
}

ChangeStatus statusOf(bool archived, const ChangeDocuments &documents, const TaskCount &tasks)
{
    if (archived)
        return ChangeStatus::archived;
    if (documents.all() && tasks.total > 0 && tasks.done == tasks.total)
        return ChangeStatus::completed;
    if (documents.all())
        return ChangeStatus::active;
    return ChangeStatus::draft;
}

} // namespace

void collectChanges(const std::vector<TreeNode> &nodes, bool archived, ChangeCollection &into,
                    const ModelEnvironment &environment)
{
    for (const TreeNode &node : nodes) {
        if (node.kind != TreeNodeKind::directory)
            continue;
        if (PlanningPath::isArchiveFolderName(node.name)) {
            if (node.children)
                collectChanges(*node.children, true, into, environment);
            continue;
        }
        if (into.analysedFolders.contains(node.id))
            continue;
        into.analysedFolders.insert(node.id);
        into.summaries.append(analyzeChange(node, archived || node.isArchived, environment));
    }
}

ChangeSummary analyzeChange(const TreeNode &node, bool archived, const ModelEnvironment &environment)
{
    const ChangeDocuments documents = documentsOf(node);
    // A task list that links outside the project is not read: it counts as unreadable.
    const bool tasksLinkOutside =
        node.children && std::any_of(node.children->begin(), node.children->end(), [](const TreeNode &child) {
            return child.name == tasksFileName && child.linksOutsideProject;
        });
    const TaskCount tasks = tasksLinkOutside ? TaskCount() : countTasks(node.url, environment);

    ChangeSummary summary;
    summary.id = node.id;
    summary.changeName = node.name;
    summary.changeDirectoryURL = node.url;
    summary.hasProposal = documents.proposal;
    summary.hasDesign = documents.design;
    summary.hasSpecs = documents.specs;
    summary.hasTasks = documents.tasks;
    summary.taskProgressPercent = tasks.total > 0 ? tasks.done * 100 / tasks.total : 0;
    summary.status = statusOf(archived, documents, tasks);
    summary.workflowStage = workflowStageOf(documents);
    summary.currentDraftStage = currentDraftStageOf(documents);

    const FileSystem &fileSystem = *environment.fileSystem;
    if (summary.status == ChangeStatus::completed)
        summary.completedAt = fileSystem.contentModificationDate(childPath(node.url, tasksFileName));
    if (summary.status == ChangeStatus::archived) {
        summary.archivedAt = fileSystem.contentModificationDate(node.url.toLocalFile());
        if (!summary.archivedAt)
            summary.archivedAt = environment.now();
    }
    return summary;
}

namespace {

void countTaskLine(QStringView line, TaskCount &count)
{
    const QStringView content = TextLines::trimmed(line);
    if (content.startsWith(QLatin1String("- [x]")) || content.startsWith(QLatin1String("- [X]"))) {
        ++count.done;
        ++count.total;
    } else if (content.startsWith(QLatin1String("- [ ]"))) {
        ++count.total;
    }
}

} // namespace

TaskCount countTasks(const QUrl &changeFolderURL, const ModelEnvironment &environment)
{
    // One pass over the lines in bounded memory: a task list may be as large as a repository
    // makes it.
    TaskCount count;
    const FileReadError error =
        environment.fileSystem->forEachLine(childPath(changeFolderURL, tasksFileName),
                                            [&count](QStringView line) { countTaskLine(line, count); });
    return error == FileReadError::none ? count : TaskCount();
}

TaskCount countTasksInText(QStringView text)
{
    TaskCount count;
    TextLines::forEachLine(text, [&count](QStringView line) { countTaskLine(line, count); });
    return count;
}

} // namespace kestrune
