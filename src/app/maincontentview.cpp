#include "app/maincontentview.h"

#include "app/dashboardbutton.h"
#include "app/detailarea.h"
#include "app/filedialogfolderpicker.h"
#include "app/maintoolbar.h"
#include "app/projecttabsbar.h"
#include "app/shellcolors.h"
#include "app/sidebarpane.h"
#include "app/splitview.h"
#include "sidebar/projecttreeview.h"
#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrune {

namespace {

constexpr int detailMinimumWidth = 300;

std::optional<QUrl> firstOf(const QList<QUrl> &roots)
{
    if (roots.isEmpty())
        return std::nullopt;
    return roots.constFirst();
}

} // namespace

MainContentView::MainContentView(ThemeController &themeController, QWidget *parent)
    : MainContentView(themeController, Dependencies{}, parent)
{}

MainContentView::MainContentView(ThemeController &themeController, Dependencies dependencies, QWidget *parent)
    : QWidget(parent), m_themeController(themeController),
      m_store(dependencies.loader ? new ProjectStore(std::move(dependencies.loader), this)
                                  : new ProjectStore(this)),
      m_folderPicker(dependencies.folderPicker ? std::move(dependencies.folderPicker)
                                               : std::make_unique<FileDialogFolderPicker>()),
      m_toolBar(new MainToolBar(themeController, this)), m_tabsBar(new ProjectTabsBar(this)),
      m_splitView(new SplitView(this)), m_sidebar(new SidebarPane(themeController, m_splitView)),
      m_detailArea(new DetailArea(std::move(dependencies.detailViews), m_splitView))
{
    setObjectName(QStringLiteral("mainContent"));
    m_toolBar->hide(); // until a window takes it over

    m_detailArea->setMinimumWidth(detailMinimumWidth);
    m_splitView->addWidget(m_sidebar);
    m_splitView->addWidget(m_detailArea);
    m_splitView->setStretchFactor(0, 0);
    m_splitView->setStretchFactor(1, 1);
    m_splitView->setSizes({SidebarPane::idealWidth, 100000});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_tabsBar);
    layout->addWidget(m_splitView, 1);

    connect(m_store, &ProjectStore::projectRootsChanged, this, &MainContentView::onProjectRootsChanged);
    connect(m_store, &ProjectStore::treeByProjectChanged, this, &MainContentView::onProjectDataChanged);
    connect(m_store, &ProjectStore::summaryByProjectChanged, this, [this](const QUrl &root) {
        ++m_summaryRevision;
        onProjectDataChanged(root);
    });
    connect(m_tabsBar, &ProjectTabsBar::tabClicked, this,
            [this](const QUrl &root) { setSelectedProjectRoot(root); });
    connect(m_tabsBar, &ProjectTabsBar::removeProjectRequested, this, &MainContentView::removeProject);
    connect(m_sidebar->treeView(), &ProjectTreeView::selectedNodeChanged, this,
            &MainContentView::setSelectedNode);
    connect(m_sidebar->dashboardButton(), &QAbstractButton::clicked, this,
            [this] { setSelectedNode(std::nullopt); });
    connect(m_toolBar, &MainToolBar::refreshRequested, this, &MainContentView::refresh);
    connect(m_toolBar, &MainToolBar::importRequested, this, &MainContentView::startImport);

    updateAll();
}

MainContentView::~MainContentView() = default;

void MainContentView::setSelectedProjectRoot(const std::optional<QUrl> &root)
{
    if (root == m_selectedProjectRoot)
        return;
    m_selectedProjectRoot = root;
    // Another project: whatever was chosen in the old outline no longer applies.
    m_selectedNode.reset();
    updateAll();
}

void MainContentView::setSelectedNode(const std::optional<TreeNode> &node)
{
    m_selectedNode = node;
    m_sidebar->treeView()->setSelectedNode(m_selectedNode);
    updateDetail();
    updateDashboardButton();
}

std::optional<QUrl> MainContentView::effectiveProjectRoot() const
{
    const QList<QUrl> &roots = m_store->projectRoots();
    if (m_selectedProjectRoot && roots.contains(*m_selectedProjectRoot))
        return m_selectedProjectRoot;
    return firstOf(roots);
}

void MainContentView::startImport()
{
    m_folderPicker->chooseFolder(window(), Localization::text("import.panel.message"),
                                 [guard = QPointer(this)](const std::optional<QUrl> &folder) {
                                     if (guard && folder)
                                         guard->importFolder(*folder);
                                 });
}

void MainContentView::importFolder(const QUrl &folder)
{
    const bool local = folder.isLocalFile();
    const QString path = local ? QDir::cleanPath(folder.toLocalFile()) : QString();
    const QFileInfo projectFolder(QDir(path).filePath(QStringLiteral("kestrune")));
    if (!local || path.isEmpty() || !projectFolder.isDir()) {
        showImportError(Localization::text("import.failed.invalid_root"));
        return;
    }
    const QUrl root = QUrl::fromLocalFile(path);
    m_store->importProject(root);
    setSelectedProjectRoot(root);
    setSelectedNode(std::nullopt);
}

void MainContentView::removeProject(const QUrl &root)
{
    m_store->removeProject(root);
    if (m_selectedProjectRoot && *m_selectedProjectRoot == root) {
        setSelectedProjectRoot(firstOf(m_store->projectRoots()));
        setSelectedNode(std::nullopt);
    }
}

void MainContentView::refresh()
{
    if (const std::optional<QUrl> root = effectiveProjectRoot())
        m_store->refreshProject(*root);
    else
        m_store->refreshAll();
}

std::shared_ptr<const TreeNode> MainContentView::outlineTree() const
{
    const std::optional<QUrl> root = effectiveProjectRoot();
    return root ? m_store->treeForProject(*root) : nullptr;
}

QHash<QUuid, ChangeStatus> MainContentView::changeStatusByNodeId() const
{
    QHash<QUuid, ChangeStatus> statuses;
    const std::optional<QUrl> root = effectiveProjectRoot();
    if (!root)
        return statuses;
    const auto summary = m_store->summaryByProject().constFind(*root);
    if (summary == m_store->summaryByProject().constEnd())
        return statuses;
    statuses.reserve(summary->changeSummaries.size());
    for (const ChangeSummary &change : summary->changeSummaries)
        statuses.insert(change.id, change.status);
    return statuses;
}

void MainContentView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(rect().topLeft(), rect().bottomRight());
    gradient.setColorAt(0, ShellColors::gradientTopLeading.resolve(palette()));
    gradient.setColorAt(1, ShellColors::gradientBottomTrailing.resolve(palette()));
    painter.fillRect(rect(), gradient);
}

void MainContentView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_selectedProjectRoot)
        setSelectedProjectRoot(firstOf(m_store->projectRoots()));
}

void MainContentView::onProjectRootsChanged()
{
    const QList<QUrl> &roots = m_store->projectRoots();
    if (!m_selectedProjectRoot || !roots.contains(*m_selectedProjectRoot))
        setSelectedProjectRoot(firstOf(roots)); // clears the node selection when it changes
    updateAll();
}

void MainContentView::onProjectDataChanged(const QUrl &root)
{
    if (root == effectiveProjectRoot()) {
        updateSidebar();
        updateDetail();
    }
}

void MainContentView::showImportError(const QString &message)
{
    m_importError = message;
    m_showImportError = true;
    if (!m_alert) {
        m_alert = new QMessageBox(this);
        m_alert->setObjectName(QStringLiteral("importFailedAlert"));
        m_alert->setIcon(QMessageBox::Warning);
        QPushButton *ok = m_alert->addButton(Localization::text("common.ok"), QMessageBox::AcceptRole);
        m_alert->setDefaultButton(ok);
        m_alert->setEscapeButton(ok);
        connect(m_alert, &QDialog::finished, this, &MainContentView::dismissImportError);
    }
    const QString title = Localization::text("import.failed.title");
    m_alert->setWindowTitle(title);
    m_alert->setText(title);
    m_alert->setInformativeText(m_importError.value_or(QString()));
    m_alert->open();
}

void MainContentView::dismissImportError()
{
    m_importError.reset();
    m_showImportError = false;
}

void MainContentView::updateAll()
{
    updateTabs();
    updateSidebar();
    updateDetail();
    updateDashboardButton();
    m_toolBar->setRefreshEnabled(!m_store->projectRoots().isEmpty());
}

void MainContentView::updateTabs()
{
    const QList<QUrl> &roots = m_store->projectRoots();
    m_tabsBar->setProjectRoots(roots);
    m_tabsBar->setSelectedProjectRoot(m_selectedProjectRoot);
    m_tabsBar->setVisible(!roots.isEmpty());
}

void MainContentView::updateSidebar()
{
    ProjectTreeView *tree = m_sidebar->treeView();
    tree->setOutline(outlineTree());
    tree->setChangeStatuses(changeStatusByNodeId());
    tree->setSelectedNode(m_selectedNode);
}

void MainContentView::updateDetail()
{
    if (m_selectedNode && m_selectedNode->kind == TreeNodeKind::markdownFile) {
        m_detailArea->showPreview(m_selectedNode->id, {m_selectedNode->url, m_selectedNode->deltaType,
                                                       m_selectedNode->linksOutsideProject});
        return;
    }
    const std::optional<QUrl> root = effectiveProjectRoot();
    if (!root) {
        m_detailArea->showPlaceholder();
        return;
    }
    if (const std::optional<ProjectSummary> summary = m_store->summaryForProject(*root)) {
        m_detailArea->showDashboard({ProjectStore::folderName(*root), *summary, *root}, m_summaryRevision);
        return;
    }
    m_detailArea->showLoading();
}

void MainContentView::updateDashboardButton()
{
    const bool previewing = m_selectedNode && m_selectedNode->kind == TreeNodeKind::markdownFile;
    m_sidebar->dashboardButton()->setActive(!previewing);
}

} // namespace kestrune
