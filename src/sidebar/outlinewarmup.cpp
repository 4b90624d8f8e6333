#include "sidebar/outlinewarmup.h"

#include "sidebar/projecttreeview.h"
#include "ui/warmupqueue.h"

#include <QTreeView>

namespace kestrune {

namespace {

TreeNode folder(TreeNodeKind kind, const QString &path, std::vector<TreeNode> children)
{
    TreeNode node;
    node.id = QUuid::createUuid();
    node.kind = kind;
    node.url = QUrl::fromLocalFile(path);
    node.name = node.url.fileName();
    node.children = std::move(children);
    return node;
}

TreeNode file(const QString &path, std::optional<DeltaSpecType> deltaType = std::nullopt)
{
    TreeNode node;
    node.id = QUuid::createUuid();
    node.kind = TreeNodeKind::markdownFile;
    node.url = QUrl::fromLocalFile(path);
    node.name = node.url.fileName();
    node.deltaType = deltaType;
    return node;
}

} // namespace

TreeNode OutlineWarmUp::sampleTree()
{
    const QString root = QStringLiteral("/sample");
    const QString changes = root + QStringLiteral("/kestrune/changes");
    const QString change = changes + QStringLiteral("/add-sample-change");
    std::vector<TreeNode> deltas;
    deltas.push_back(file(change + QStringLiteral("/specs/added.md"), DeltaSpecType::added));
    deltas.push_back(file(change + QStringLiteral("/specs/modified.md"), DeltaSpecType::modified));
    deltas.push_back(file(change + QStringLiteral("/specs/removed.md"), DeltaSpecType::removed));
    std::vector<TreeNode> changeFiles;
    changeFiles.push_back(file(change + QStringLiteral("/proposal.md")));
    changeFiles.push_back(
        folder(TreeNodeKind::directory, change + QStringLiteral("/specs"), std::move(deltas)));
    TreeNode archived =
        folder(TreeNodeKind::directory, changes + QStringLiteral("/archive/2024-05-17-sample"),
               {file(changes + QStringLiteral("/archive/2024-05-17-sample/proposal.md"))});
    archived.isArchived = true;
    std::vector<TreeNode> changeFolders;
    changeFolders.push_back(folder(TreeNodeKind::directory, change, std::move(changeFiles)));
    changeFolders.push_back(
        folder(TreeNodeKind::directory, changes + QStringLiteral("/archive"), {archived}));
    std::vector<TreeNode> planning;
    planning.push_back(file(root + QStringLiteral("/kestrune/project.md")));
    planning.push_back(folder(TreeNodeKind::directory, changes, std::move(changeFolders)));
    planning.push_back(folder(TreeNodeKind::directory, root + QStringLiteral("/kestrune/specs"),
                              {file(root + QStringLiteral("/kestrune/specs/sample/spec.md"))}));
    std::vector<TreeNode> top;
    top.push_back(folder(TreeNodeKind::kestrune, root + QStringLiteral("/kestrune"), std::move(planning)));
    return folder(TreeNodeKind::projectRoot, root, std::move(top));
}

void OutlineWarmUp::addTo(WarmUpQueue &queue, ThemeController &themeController)
{
    queue.add([&themeController] {
        const TreeNode tree = sampleTree();
        ProjectTreeView outline(themeController);
        outline.resize(280, 600);
        outline.setOutline(std::make_shared<const TreeNode>(tree));
        // The change of the sample is active: its folder carries a status badge.
        const TreeNode &changes = tree.children->front().children->at(1);
        outline.setChangeStatuses({{changes.children->front().id, ChangeStatus::active}});
        const qreal ratio = WarmUpQueue::screenPixelRatio();
        WarmUpQueue::renderHidden(outline, ratio);
        outline.listView()->expandAll();
        WarmUpQueue::renderHidden(outline, ratio);
    });
}

} // namespace kestrune
