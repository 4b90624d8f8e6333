#include "reading/readingpaths.h"

#include "project/planningpath.h"
#include "project/treenode.h"

namespace kestrune {

namespace {

constexpr QStringView planningFolder = u"kestrune/";

} // namespace

QString ReadingPaths::rootPathOf(const TreeNode &tree)
{
    QString path = tree.url.path();
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

QString ReadingPaths::relativeTo(const QString &projectPath, const QUrl &url)
{
    const QString path = url.path();
    if (path.size() <= projectPath.size() + 1 || !path.startsWith(projectPath) ||
        path[projectPath.size()] != u'/')
        return {};
    return path.sliced(projectPath.size() + 1);
}

std::optional<PlanningPath> ReadingPaths::planningPathOf(QStringView relativePath, bool isFolder)
{
    if (!relativePath.startsWith(planningFolder))
        return std::nullopt;
    return PlanningPath::of(relativePath.sliced(planningFolder.size()), isFolder);
}

bool ReadingPaths::isTaskList(QStringView relativePath)
{
    if (!relativePath.endsWith(u"/tasks.md"))
        return false;
    const qsizetype slash = relativePath.lastIndexOf(u'/');
    const std::optional<PlanningPath> folder = planningPathOf(relativePath.first(slash), true);
    return folder && folder->kind == PlanningPath::Kind::changeFolder;
}

} // namespace kestrune
