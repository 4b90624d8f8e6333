#include "sidebar/projecttreemodel.h"

#include "reading/readingpaths.h"
#include "sidebar/treerowdelegate.h"
#include "text/backgroundpool.h"
#include "text/backgroundthread.h"
#include "ui/localization.h"

#include <QThreadPool>

#include <utility>

namespace kestrune {

void ProjectTreeModel::setOutline(std::shared_ptr<const TreeNode> projectTree)
{
    beginResetModel();
    std::shared_ptr<const TreeNode> previous = std::exchange(m_tree, std::move(projectTree));
    m_locations.clear();
    m_nodesById.clear();
    m_nodesByIdComplete = false;
    m_rootPath = m_tree ? ReadingPaths::rootPathOf(*m_tree) : QString();
    if (const std::vector<TreeNode> *top = rows(nullptr)) {
        // Room for every node at once: a large project has tens of thousands.
        m_locations.reserve(nodeCount(*top));
        indexNodes(*top, nullptr);
    }
    endResetModel();
    // A rescan of a large project replaces tens of thousands of nodes: the old ones are freed
    // off the window's thread when the outline held them last.
    if (previous && previous.use_count() == 1)
        BackgroundPool::yielding()->start([previous = std::move(previous)]() mutable {
            BackgroundThread::yieldToWindow();
            previous.reset();
        });
}

void ProjectTreeModel::setChangeStatuses(QHash<QUuid, ChangeStatus> statuses)
{
    if (statuses == m_changeStatuses)
        return;
    m_changeStatuses = std::move(statuses);
    if (!isEmpty()) {
        // Statuses sit on folder rows at any depth: repaint the whole outline.
        Q_EMIT layoutAboutToBeChanged();
        Q_EMIT layoutChanged();
    }
}

void ProjectTreeModel::setReadingMarks(std::optional<ReadingMarks> marks)
{
    if (marks == m_readingMarks)
        return;
    m_readingMarks = std::move(marks);
    if (!isEmpty()) {
        // Marks sit on rows at any depth: repaint the whole outline.
        Q_EMIT layoutAboutToBeChanged();
        Q_EMIT layoutChanged();
    }
}

ProjectTreeModel::UnreadMark ProjectTreeModel::unreadMark(const TreeNode &node) const
{
    if (!m_readingMarks || m_readingMarks->firstImport)
        return UnreadMark::none;
    const QString relativePath = ReadingPaths::relativeTo(m_rootPath, node.url);
    if (relativePath.isEmpty())
        return UnreadMark::none;
    if (node.children)
        return m_readingMarks->holdsUnread(relativePath) ? UnreadMark::holdsUnread : UnreadMark::none;
    switch (m_readingMarks->markOf(relativePath).state) {
    case ReadingState::changed:
        return UnreadMark::changed;
    case ReadingState::added:
        return UnreadMark::added;
    case ReadingState::unchanged:
        break;
    }
    return UnreadMark::none;
}

QString ProjectTreeModel::unreadDescription(UnreadMark mark)
{
    switch (mark) {
    case UnreadMark::changed:
        return Localization::text("reading.mark.changed");
    case UnreadMark::added:
        return Localization::text("reading.mark.added");
    case UnreadMark::holdsUnread:
        return Localization::text("reading.mark.folder");
    case UnreadMark::none:
        break;
    }
    return {};
}

void ProjectTreeModel::rebuild()
{
    beginResetModel();
    endResetModel();
}

bool ProjectTreeModel::isEmpty() const
{
    const std::vector<TreeNode> *top = rows(nullptr);
    return !top || top->empty();
}

bool ProjectTreeModel::isSelectable(const TreeNode &node)
{
    return node.kind == TreeNodeKind::projectRoot || node.kind == TreeNodeKind::markdownFile;
}

const TreeNode *ProjectTreeModel::nodeAt(const QModelIndex &index)
{
    return index.isValid() ? static_cast<const TreeNode *>(index.constInternalPointer()) : nullptr;
}

std::optional<ChangeStatus> ProjectTreeModel::changeStatus(const TreeNode &node) const
{
    if (m_changeStatuses.isEmpty())
        return std::nullopt;
    const auto it = m_changeStatuses.constFind(node.id);
    if (it == m_changeStatuses.constEnd())
        return std::nullopt;
    return *it;
}

const TreeNode *ProjectTreeModel::findNode(const QUuid &id) const
{
    // Made when first asked for, not with every new outline: a project just imported has no
    // node to look up yet.
    if (!m_nodesByIdComplete) {
        if (const std::vector<TreeNode> *top = rows(nullptr)) {
            m_nodesById.reserve(m_locations.size());
            indexIds(*top);
        }
        m_nodesByIdComplete = true;
    }
    return m_nodesById.value(id, nullptr);
}

QModelIndex ProjectTreeModel::indexOf(const TreeNode *node) const
{
    const auto it = m_locations.constFind(node);
    if (it == m_locations.constEnd())
        return {};
    return createIndex(it->row, 0, node);
}

QModelIndex ProjectTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    const std::vector<TreeNode> *children = rows(nodeAt(parent));
    if (column != 0 || !children || row < 0 || row >= int(children->size()))
        return {};
    return createIndex(row, 0, &(*children)[std::size_t(row)]);
}

QModelIndex ProjectTreeModel::parent(const QModelIndex &child) const
{
    const TreeNode *node = nodeAt(child);
    if (!node)
        return {};
    const Location location = m_locations.value(node);
    return location.parent ? indexOf(location.parent) : QModelIndex();
}

int ProjectTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const std::vector<TreeNode> *children = rows(nodeAt(parent));
    return children ? int(children->size()) : 0;
}

int ProjectTreeModel::columnCount(const QModelIndex &) const
{
    return 1;
}

bool ProjectTreeModel::hasChildren(const QModelIndex &parent) const
{
    // A folder shows its disclosure indicator even when it is empty.
    if (!parent.isValid())
        return !isEmpty();
    const TreeNode *node = nodeAt(parent);
    return node && node->children.has_value();
}

QVariant ProjectTreeModel::data(const QModelIndex &index, int role) const
{
    const TreeNode *node = nodeAt(index);
    if (!node)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return node->name;
    case Qt::ToolTipRole: {
        // The badges may be drawn as bare dots: their texts are said here.
        QStringList badges = TreeRowDelegate::badgeTexts(*node, changeStatus(*node));
        if (const QString unread = unreadDescription(unreadMark(*node)); !unread.isEmpty())
            badges.append(unread);
        return badges.isEmpty()
                   ? node->name
                   : QStringLiteral("%1 (%2)").arg(node->name, badges.join(QStringLiteral(", ")));
    }
    case Qt::AccessibleTextRole:
        // Read out as the row is seen: "add-login, Active", "spec.md, ADDED".
        return (QStringList(node->name) + TreeRowDelegate::badgeTexts(*node, changeStatus(*node)))
            .join(QStringLiteral(", "));
    case Qt::AccessibleDescriptionRole:
        return unreadDescription(unreadMark(*node));
    case UnreadMarkRole:
        return int(unreadMark(*node));
    case ChangeStatusRole:
        if (const auto status = changeStatus(*node))
            return int(*status);
        return {};
    default:
        return {};
    }
}

Qt::ItemFlags ProjectTreeModel::flags(const QModelIndex &index) const
{
    const TreeNode *node = nodeAt(index);
    if (!node)
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled;
    if (isSelectable(*node))
        flags |= Qt::ItemIsSelectable;
    if (!node->children)
        flags |= Qt::ItemNeverHasChildren;
    return flags;
}

const std::vector<TreeNode> *ProjectTreeModel::rows(const TreeNode *parent) const
{
    if (!parent)
        parent = m_tree.get();
    if (!parent || !parent->children)
        return nullptr;
    return &*parent->children;
}

qsizetype ProjectTreeModel::nodeCount(const std::vector<TreeNode> &nodes)
{
    qsizetype count = qsizetype(nodes.size());
    for (const TreeNode &node : nodes) {
        if (node.children)
            count += nodeCount(*node.children);
    }
    return count;
}

void ProjectTreeModel::indexNodes(const std::vector<TreeNode> &nodes, const TreeNode *parent)
{
    for (std::size_t row = 0; row < nodes.size(); ++row) {
        const TreeNode &node = nodes[row];
        m_locations.insert(&node, Location{parent, int(row)});
        if (node.children)
            indexNodes(*node.children, &node);
    }
}

void ProjectTreeModel::indexIds(const std::vector<TreeNode> &nodes) const
{
    for (const TreeNode &node : nodes) {
        // Depth first, a node before its children: the first node with an id keeps it.
        if (const TreeNode *&first = m_nodesById[node.id]; !first)
            first = &node;
        if (node.children)
            indexIds(*node.children);
    }
}

} // namespace kestrune
