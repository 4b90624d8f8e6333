#pragma once

#include "project/changestatus.h"
#include "project/treenode.h"
#include "reading/readingmarks.h"

#include <QAbstractItemModel>
#include <QHash>
#include <QUuid>

#include <memory>
#include <optional>

namespace kestrune {

// The outline of one project as an item model: the children of the project's root node are the
// top-level rows, every folder and Markdown file below them a row. A node with a children list
// (even an empty one) can be expanded; a file cannot. The tree is shared, never copied.
class ProjectTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Role
    {
        // The row's change status as an int (ChangeStatus), absent when it has none.
        ChangeStatusRole = Qt::UserRole + 1,
        // What the reader has not read yet below the row, as an int (UnreadMark).
        UnreadMarkRole,
    };

    // The mark of a row against what the reader last saw.
    enum class UnreadMark
    {
        none,
        changed,     // a file changed since it was last seen
        added,       // a file never seen
        holdsUnread, // a folder whose subtree holds a changed or new file
    };

    using QAbstractItemModel::QAbstractItemModel;

    // Rows are the children of the tree's root; none for a null tree or a root without children.
    void setOutline(std::shared_ptr<const TreeNode> projectTree);
    const std::shared_ptr<const TreeNode> &outline() const { return m_tree; }
    // Status of each change, keyed by the id of the change's folder node.
    void setChangeStatuses(QHash<QUuid, ChangeStatus> statuses);
    // The marks of the outline against what the reader last saw; nothing shows no mark. Marks
    // computed for another outline of the same project still apply: they are looked up by path.
    void setReadingMarks(std::optional<ReadingMarks> marks);
    const std::optional<ReadingMarks> &readingMarks() const { return m_readingMarks; }
    UnreadMark unreadMark(const TreeNode &node) const;
    // The accessible description of a mark: "changed since last read", "new", ...
    static QString unreadDescription(UnreadMark mark);
    // Rebuilds every row (views collapse all folders).
    void rebuild();

    bool isEmpty() const;
    // Only project roots and Markdown files can be selected.
    static bool isSelectable(const TreeNode &node);
    static const TreeNode *nodeAt(const QModelIndex &index);
    std::optional<ChangeStatus> changeStatus(const TreeNode &node) const;
    // The first node with that id, depth first, a node before its children; nothing when none.
    const TreeNode *findNode(const QUuid &id) const;
    QModelIndex indexOf(const TreeNode *node) const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    struct Location
    {
        const TreeNode *parent = nullptr; // null for a top-level row
        int row = 0;
    };

    const std::vector<TreeNode> *rows(const TreeNode *parent) const;
    static qsizetype nodeCount(const std::vector<TreeNode> &nodes);
    void indexNodes(const std::vector<TreeNode> &nodes, const TreeNode *parent);
    void indexIds(const std::vector<TreeNode> &nodes) const;

    std::shared_ptr<const TreeNode> m_tree;
    QHash<const TreeNode *, Location> m_locations;
    mutable QHash<QUuid, const TreeNode *> m_nodesById;
    mutable bool m_nodesByIdComplete = false;
    QHash<QUuid, ChangeStatus> m_changeStatuses;
    std::optional<ReadingMarks> m_readingMarks;
    QString m_rootPath; // of the outline, the prefix of the paths the marks are keyed by
};

} // namespace kestrune
