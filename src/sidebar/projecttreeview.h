#pragma once

#include "project/changestatus.h"
#include "project/treenode.h"
#include "reading/readingmarks.h"
#include "ui/thememode.h"

#include <QHash>
#include <QSet>
#include <QUrl>
#include <QUuid>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QModelIndex;
class QStackedLayout;
class QTreeView;

namespace kestrune {

class CenteredTextView;
class OutlineListView;
class ProjectTreeModel;

class ThemeController;

// The outline of the current project in the sidebar, with delta and status badges, or a short
// text when there is nothing to show. The owner gives it the project tree and the change
// statuses and keeps the selection; the outline reports the user's choices through
// selectedNodeChanged. Only project roots and Markdown files can be chosen.
class ProjectTreeView : public QWidget
{
    Q_OBJECT

public:
    explicit ProjectTreeView(ThemeController &themeController, QWidget *parent = nullptr);
    ~ProjectTreeView() override;

    // The rows are the children of the tree's root (never the root itself). A new tree replaces
    // every row; the selection stays and is highlighted when its id is among the new rows. A new
    // tree of the same project (a rescan) keeps open the folders that were open, the current row
    // and the scroll position.
    void setOutline(std::shared_ptr<const TreeNode> projectTree);
    // Status of each change, keyed by the id of the change's folder node.
    void setChangeStatuses(QHash<QUuid, ChangeStatus> statuses);

    // What the reader has not read yet (see ProjectTreeModel::setReadingMarks).
    void setReadingMarks(std::optional<ReadingMarks> marks);

    // The selection as the owner holds it; does not emit selectedNodeChanged.
    void setSelectedNode(const std::optional<TreeNode> &node);
    const std::optional<TreeNode> &selectedNode() const { return m_selectedNode; }
    // Shows a row without choosing it: its folders opened down to it (a folder row opened too),
    // made the current row and scrolled into view. False when no row has that id.
    bool revealNode(const QUuid &id);

    // Whether the change folders' context menu offers their history (the project is in git);
    // off by default, so a project without history has no such entry.
    void setShowsHistory(bool shows) { m_showsHistory = shows; }
    bool showsHistory() const { return m_showsHistory; }
    // The node of the outline's current row (the keyboard's), whatever kind it is.
    std::optional<TreeNode> currentNode() const;

    // Called with a project root's folder from the row's context menu; without a handler rows
    // have no context menu entry.
    void setRemoveProjectHandler(std::function<void(const QUrl &root)> handler);

    bool isShowingEmptyState() const;
    QTreeView *listView() const;

Q_SIGNALS:
    // The user chose a node or cleared the selection.
    void selectedNodeChanged(const std::optional<TreeNode> &node);
    // The user clicked or activated the node that was selected already.
    void selectedNodeChosenAgain(const TreeNode &node);
    // The user asked, from a change folder's context menu, what the change does to the
    // specifications.
    void reviewRequested(const QUrl &changeFolder);
    // The user asked, from a change folder's context menu, for the commits that touched it.
    void historyRequested(const QUrl &changeFolder);
    // The user asked, from a Markdown file's context menu, for the file's history.
    void fileHistoryRequested(const QUrl &file);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void rebuildList();
    QSet<QUrl> expandedFolders(const QModelIndex &parent) const;
    void expandFolders(const QModelIndex &parent, const QSet<QUrl> &folders);
    QModelIndex indexOfUrl(const QModelIndex &parent, const QUrl &url) const;
    void updateState();
    void highlightSelection();
    // `selectedBefore`: the id selected before the gesture that chose the row began.
    void choose(const QModelIndex &index, const std::optional<QUuid> &selectedBefore);
    void onListSelectionChanged();
    void showContextMenu(const QPoint &position);
    void writeSelection(const std::optional<TreeNode> &node);

    ThemeController &m_themeController;
    ProjectTreeModel *m_model = nullptr;
    OutlineListView *m_list = nullptr;
    CenteredTextView *m_emptyState = nullptr;
    QStackedLayout *m_stack = nullptr;
    // The theme mode the list was last built for.
    ThemeMode m_listMode;
    std::optional<TreeNode> m_selectedNode;
    std::function<void(const QUrl &)> m_removeProject;
    bool m_syncingSelection = false;
    bool m_showsHistory = false;
    std::optional<QUuid> m_selectedAtPress;
};

} // namespace kestrune
