#pragma once

#include "project/changesummary.h"
#include "project/modelenvironment.h"
#include "project/treenode.h"

#include <QList>
#include <QSet>
#include <QStringView>
#include <QUrl>
#include <QUuid>

#include <vector>

namespace kestrune {

struct TaskCount
{
    qint64 done = 0;
    qint64 total = 0;
};

// The change summaries being built by one walk. A change folder can be reached twice when archive
// folders are nested ("archived" inside "archive"); it is analysed and listed once only.
struct ChangeCollection
{
    QList<ChangeSummary> summaries;
    QSet<QUuid> analysedFolders;
};

// Appends one summary per change folder among the nodes; folders named "archive" or "archived"
// in any letter case (PlanningPath::isArchiveFolderName) are searched for changes in turn, with
// everything in them archived.
void collectChanges(const std::vector<TreeNode> &nodes, bool archived, ChangeCollection &into,
                    const ModelEnvironment &environment = ModelEnvironment::system());

ChangeSummary analyzeChange(const TreeNode &node, bool archived,
                            const ModelEnvironment &environment = ModelEnvironment::system());

// Done and all tasks of the change's "tasks.md"; 0 of 0 when it cannot be read.
TaskCount countTasks(const QUrl &changeFolderURL,
                     const ModelEnvironment &environment = ModelEnvironment::system());
TaskCount countTasksInText(QStringView text);

} // namespace kestrune
