#include "search/quickopencatalog.h"

#include "project/planningpath.h"

namespace kestrune {

QList<QuickOpenEntry> QuickOpenCatalog::entriesOf(const QUrl &projectRoot, const TreeNode &tree)
{
    QList<QuickOpenEntry> entries;
    collect(projectRoot, tree, entries);
    return entries;
}

// Outlines nest only as deep as the folders on disk, which the scanner bounds.
void QuickOpenCatalog::collect(const QUrl &projectRoot, const TreeNode &node, QList<QuickOpenEntry> &entries)
{
    if (node.kind == TreeNodeKind::markdownFile) {
        if (node.linksOutsideProject)
            return;
        const QString relative = PlanningPath::relativeTo(projectRoot, node.url);
        if (relative.isEmpty())
            return;
        const PlanningPath path = PlanningPath::of(relative, false);
        QuickOpenEntry file;
        file.title = node.name;
        file.matchText = relative;
        file.titleOffset = relative.size() - node.name.size();
        file.folder = relative.first(std::max<qsizetype>(0, file.titleOffset - 1));
        file.change = path.change;
        file.capability = path.capability;
        file.projectRoot = projectRoot;
        file.target = node.url;
        file.isArchived = node.isArchived;
        file.deltaType = node.deltaType;
        if (path.kind == PlanningPath::Kind::specification) {
            QuickOpenEntry specification = file;
            specification.kind = QuickOpenEntry::Kind::specification;
            specification.title = path.capability;
            specification.matchText = path.capability;
            specification.titleOffset = 0;
            entries.append(specification);
        }
        entries.append(file);
        return;
    }
    if (!node.children)
        return;
    if (node.kind == TreeNodeKind::directory) {
        const QString relative = PlanningPath::relativeTo(projectRoot, node.url);
        const PlanningPath path = PlanningPath::of(relative, true);
        if (path.kind == PlanningPath::Kind::changeFolder) {
            QuickOpenEntry change;
            change.kind = QuickOpenEntry::Kind::change;
            change.title = path.change;
            change.matchText = path.change;
            change.change = path.change;
            change.projectRoot = projectRoot;
            change.target = node.url;
            change.isArchived = path.isArchived;
            for (const TreeNode &child : *node.children) {
                if (child.kind == TreeNodeKind::markdownFile && child.name == u"proposal.md" &&
                    !child.linksOutsideProject)
                    change.target = child.url;
            }
            entries.append(change);
        }
    }
    for (const TreeNode &child : *node.children)
        collect(projectRoot, child, entries);
}

} // namespace kestrune
