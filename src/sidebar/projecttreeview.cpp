#include "sidebar/projecttreeview.h"

#include "sidebar/outlinelistview.h"
#include "sidebar/projecttreemodel.h"
#include "sidebar/sidebarcolors.h"
#include "sidebar/treerowdelegate.h"
#include "ui/bandedfill.h"
#include "ui/centeredtextview.h"
#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStackedLayout>

#include <utility>

namespace kestrune {

ProjectTreeView::ProjectTreeView(ThemeController &themeController, QWidget *parent)
    : QWidget(parent), m_themeController(themeController), m_model(new ProjectTreeModel(this)),
      m_list(new OutlineListView(this)),
      m_emptyState(
          new CenteredTextView(Localization::text("project_tree.empty"), SidebarColors::emptyText, this)),
      m_stack(new QStackedLayout(this)), m_listMode(themeController.mode())
{
    setObjectName(QStringLiteral("projectTree"));
    m_list->setObjectName(QStringLiteral("outlineList"));
    m_emptyState->setObjectName(QStringLiteral("outlineEmptyState"));
    m_list->setModel(m_model);
    m_list->setItemDelegate(new TreeRowDelegate(m_list));
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    m_list->setAccessibleName(Localization::text("project_tree.accessible_name"));

    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->addWidget(m_emptyState);
    m_stack->addWidget(m_list);

    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ProjectTreeView::onListSelectionChanged);
    // A click selects the row on the press already: what was selected before is taken then.
    connect(m_list, &QAbstractItemView::pressed, this, [this] {
        m_selectedAtPress = m_selectedNode ? std::optional(m_selectedNode->id) : std::nullopt;
    });
    connect(m_list, &QAbstractItemView::clicked, this, [this](const QModelIndex &index) {
        choose(index, std::exchange(m_selectedAtPress, std::nullopt));
    });
    connect(m_list, &OutlineListView::rowActivated, this, [this](const QModelIndex &index) {
        choose(index, m_selectedNode ? std::optional(m_selectedNode->id) : std::nullopt);
    });
    connect(m_list, &QWidget::customContextMenuRequested, this, &ProjectTreeView::showContextMenu);
    // The list is keyed by the theme mode: a new mode starts it afresh, every folder collapsed.
    // The controller announces a mode chosen again as well; that one leaves the list alone.
    connect(&m_themeController, &ThemeController::modeChanged, this, [this](ThemeMode mode) {
        if (mode == m_listMode)
            return;
        m_listMode = mode;
        rebuildList();
    });

    updateState();
}

ProjectTreeView::~ProjectTreeView() = default;

void ProjectTreeView::setOutline(std::shared_ptr<const TreeNode> projectTree)
{
    if (projectTree == m_model->outline())
        return; // the same published tree: keep the rows and their expansion
    // A new scan of the project on show must not move anything under the reader's eyes: the
    // folders stay open, the current row and the scroll position stay where they were.
    const std::shared_ptr<const TreeNode> &previous = m_model->outline();
    const bool rescan = previous && projectTree && previous->url == projectTree->url;
    QSet<QUrl> expanded;
    QUrl current;
    const int scroll = m_list->verticalScrollBar()->value();
    if (rescan) {
        expanded = expandedFolders({});
        if (const TreeNode *node = ProjectTreeModel::nodeAt(m_list->currentIndex()))
            current = node->url;
    }
    m_syncingSelection = true;
    m_model->setOutline(std::move(projectTree));
    if (rescan) {
        expandFolders({}, expanded);
        if (!current.isEmpty())
            m_list->selectionModel()->setCurrentIndex(indexOfUrl({}, current), QItemSelectionModel::NoUpdate);
    }
    m_syncingSelection = false;
    updateState();
    highlightSelection();
    if (rescan)
        m_list->verticalScrollBar()->setValue(scroll);
}

void ProjectTreeView::setChangeStatuses(QHash<QUuid, ChangeStatus> statuses)
{
    m_model->setChangeStatuses(std::move(statuses));
}

void ProjectTreeView::setReadingMarks(std::optional<ReadingMarks> marks)
{
    m_model->setReadingMarks(std::move(marks));
}

void ProjectTreeView::setSelectedNode(const std::optional<TreeNode> &node)
{
    m_selectedNode = node;
    highlightSelection();
}

void ProjectTreeView::setRemoveProjectHandler(std::function<void(const QUrl &)> handler)
{
    m_removeProject = std::move(handler);
}

bool ProjectTreeView::revealNode(const QUuid &id)
{
    const QModelIndex index = m_model->indexOf(m_model->findNode(id));
    if (!index.isValid())
        return false;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        m_list->expand(parent);
    if (!(index.flags() & Qt::ItemNeverHasChildren))
        m_list->expand(index);
    m_syncingSelection = true;
    m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    m_syncingSelection = false;
    m_list->scrollTo(index, QAbstractItemView::PositionAtCenter);
    return true;
}

bool ProjectTreeView::isShowingEmptyState() const
{
    return m_stack->currentWidget() == m_emptyState;
}

QTreeView *ProjectTreeView::listView() const
{
    return m_list;
}

void ProjectTreeView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    BandedFill::fillRect(painter, rect(), SidebarColors::background.resolve(palette()));
}

void ProjectTreeView::rebuildList()
{
    m_syncingSelection = true;
    m_model->rebuild();
    m_syncingSelection = false;
    m_list->scrollToTop();
    highlightSelection();
}

QSet<QUrl> ProjectTreeView::expandedFolders(const QModelIndex &parent) const
{
    QSet<QUrl> folders;
    const int rows = m_model->rowCount(parent);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = m_model->index(row, 0, parent);
        if (!m_list->isExpanded(index))
            continue;
        folders.insert(ProjectTreeModel::nodeAt(index)->url);
        folders.unite(expandedFolders(index));
    }
    return folders;
}

void ProjectTreeView::expandFolders(const QModelIndex &parent, const QSet<QUrl> &folders)
{
    const int rows = m_model->rowCount(parent);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = m_model->index(row, 0, parent);
        if (!folders.contains(ProjectTreeModel::nodeAt(index)->url))
            continue;
        m_list->expand(index);
        expandFolders(index, folders);
    }
}

QModelIndex ProjectTreeView::indexOfUrl(const QModelIndex &parent, const QUrl &url) const
{
    // Only open folders are searched: a row inside a closed one is out of sight anyway.
    const int rows = m_model->rowCount(parent);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = m_model->index(row, 0, parent);
        if (ProjectTreeModel::nodeAt(index)->url == url)
            return index;
        if (m_list->isExpanded(index)) {
            if (const QModelIndex found = indexOfUrl(index, url); found.isValid())
                return found;
        }
    }
    return {};
}

void ProjectTreeView::updateState()
{
    // Leaving the list for the empty state and back also starts the list afresh.
    const bool empty = m_model->isEmpty();
    if (empty && !isShowingEmptyState()) {
        m_list->collapseAll();
        m_stack->setCurrentWidget(m_emptyState);
    } else if (!empty && isShowingEmptyState()) {
        m_stack->setCurrentWidget(m_list);
    }
}

void ProjectTreeView::highlightSelection()
{
    QItemSelectionModel *selection = m_list->selectionModel();
    const TreeNode *node = m_selectedNode ? m_model->findNode(m_selectedNode->id) : nullptr;
    const QModelIndex index = m_model->indexOf(node);
    m_syncingSelection = true;
    if (index.isValid()) {
        selection->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    } else {
        selection->clearSelection();
    }
    m_syncingSelection = false;
}

void ProjectTreeView::choose(const QModelIndex &index, const std::optional<QUuid> &selectedBefore)
{
    const TreeNode *node = ProjectTreeModel::nodeAt(index);
    if (!node || !ProjectTreeModel::isSelectable(*node))
        return;
    if (selectedBefore == node->id)
        Q_EMIT selectedNodeChosenAgain(*node);
    else
        writeSelection(*node);
}

void ProjectTreeView::onListSelectionChanged()
{
    if (m_syncingSelection)
        return;
    const QModelIndexList selected = m_list->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
        writeSelection(std::nullopt);
        return;
    }
    const TreeNode *row = ProjectTreeModel::nodeAt(selected.constFirst());
    const TreeNode *node = row ? m_model->findNode(row->id) : nullptr;
    if (node && ProjectTreeModel::isSelectable(*node))
        writeSelection(*node);
}

void ProjectTreeView::showContextMenu(const QPoint &position)
{
    const TreeNode *node = ProjectTreeModel::nodeAt(m_list->indexAt(position));
    // A change folder (one with a status): its review, and its history when the project has one.
    if (node && m_model->changeStatus(*node)) {
        auto *menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        QAction *review = menu->addAction(Localization::text("review.action"));
        connect(review, &QAction::triggered, this, [this, url = node->url] { Q_EMIT reviewRequested(url); });
        if (m_showsHistory) {
            QAction *history = menu->addAction(Localization::text("history.action"));
            history->setObjectName(QStringLiteral("historyAction"));
            connect(history, &QAction::triggered, this,
                    [this, url = node->url] { Q_EMIT historyRequested(url); });
        }
        menu->popup(m_list->viewport()->mapToGlobal(position));
        return;
    }
    if (node && node->kind == TreeNodeKind::markdownFile) {
        auto *menu = new QMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        QAction *history = menu->addAction(Localization::text("filehistory.action"));
        connect(history, &QAction::triggered, this,
                [this, url = node->url] { Q_EMIT fileHistoryRequested(url); });
        menu->popup(m_list->viewport()->mapToGlobal(position));
        return;
    }
    if (!node || node->kind != TreeNodeKind::projectRoot || !m_removeProject)
        return;
    auto *menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    QAction *remove = menu->addAction(Localization::text("common.remove_from_list"));
    connect(remove, &QAction::triggered, this, [this, url = node->url, id = node->id] {
        m_removeProject(url);
        if (m_selectedNode && m_selectedNode->id == id)
            writeSelection(std::nullopt);
    });
    menu->popup(m_list->viewport()->mapToGlobal(position));
}

std::optional<TreeNode> ProjectTreeView::currentNode() const
{
    const TreeNode *row = ProjectTreeModel::nodeAt(m_list->currentIndex());
    const TreeNode *node = row ? m_model->findNode(row->id) : nullptr;
    if (!node)
        return std::nullopt;
    return *node;
}

void ProjectTreeView::writeSelection(const std::optional<TreeNode> &node)
{
    const bool same =
        node.has_value() == m_selectedNode.has_value() && (!node || node->id == m_selectedNode->id);
    if (same)
        return;
    m_selectedNode = node;
    Q_EMIT selectedNodeChanged(m_selectedNode);
    highlightSelection();
}

} // namespace kestrune
