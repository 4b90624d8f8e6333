#include "app/maincontentview.h"

#include "app/dashboardbutton.h"
#include "app/detailarea.h"
#include "app/filedialogfolderpicker.h"
#include "app/maintoolbar.h"
#include "app/panenavigator.h"
#include "app/projectlocation.h"
#include "app/projecttabbutton.h"
#include "app/projecttabsbar.h"
#include "app/shellcolors.h"
#include "app/sidebarpane.h"
#include "app/splitview.h"
#include "dashboard/dashboardview.h"
#include "preview/changereviewview.h"
#include "preview/fittedmarkdownview.h"
#include "preview/markdownpreviewview.h"
#include "preview/specificationresultview.h"
#include "project/liveprojectupdates.h"
#include "project/modelenvironment.h"
#include "project/planningpath.h"
#include "project/treenodelookup.h"
#include "search/projecttextindex.h"
#include "sidebar/projectsearchcontroller.h"
#include "sidebar/projectsearchfield.h"
#include "sidebar/projecttreeview.h"
#include "ui/localization.h"
#include "ui/noticebar.h"
#include "ui/themecontroller.h"

#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QtConcurrent/qtconcurrentrun.h>
#include <QTreeView>
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
      m_toolBar(new MainToolBar(themeController, this)),
      m_liveUpdates(new LiveProjectUpdates(*m_store, this)),
      m_textIndex(new ProjectTextIndex(*m_store, this)), m_tabsBar(new ProjectTabsBar(this)),
      m_watchNotice(new NoticeBar(this)), m_splitView(new SplitView(this)),
      m_sidebar(new SidebarPane(themeController, *m_store, *m_textIndex, m_splitView)),
      m_detailArea(new DetailArea(std::move(dependencies.detailViews), m_splitView)),
      m_panes(std::make_unique<PaneNavigator>(*this))
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
    layout->addWidget(m_watchNotice);
    layout->addWidget(m_splitView, 1);
    m_watchNotice->setObjectName(QStringLiteral("watchLimitNotice"));
    m_watchNotice->setClosable(true);
    m_watchNotice->hide();

    connect(m_store, &ProjectStore::projectRootsChanged, this, &MainContentView::onProjectRootsChanged);
    connect(m_store, &ProjectStore::treeByProjectChanged, this, &MainContentView::onTreePublished);
    connect(m_store, &ProjectStore::loadStateChanged, this, &MainContentView::updateTabStates);
    connect(m_liveUpdates, &LiveProjectUpdates::watchLimitReached, this,
            &MainContentView::showWatchLimitNotice);
    // Without notifications for all of a project, coming back to the window is the next best
    // moment to look at its folder again.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            m_liveUpdates->refreshUnwatchedProjects();
    });
    connect(m_store, &ProjectStore::summaryByProjectChanged, this, [this](const QUrl &root) {
        ++m_summaryRevision;
        // The review follows the files too, compared once a rescan (the summary comes right after
        // the tree); the page on show stays until the new comparison is there.
        if (root == effectiveProjectRoot() && m_reviewFolder &&
            QFileInfo(m_reviewFolder->toLocalFile()).isDir())
            startReview();
        onProjectDataChanged(root);
    });
    connect(m_tabsBar, &ProjectTabsBar::tabClicked, this,
            [this](const QUrl &root) { setSelectedProjectRoot(root); });
    connect(m_tabsBar, &ProjectTabsBar::removeProjectRequested, this, &MainContentView::removeProject);
    connect(m_sidebar->treeView(), &ProjectTreeView::selectedNodeChanged, this,
            &MainContentView::setSelectedNode);
    connect(m_sidebar->treeView(), &ProjectTreeView::selectedNodeChosenAgain, this,
            &MainContentView::reloadOpenFile);
    connect(m_sidebar->dashboardButton(), &QAbstractButton::clicked, this, &MainContentView::showDashboard);
    // Project search looks in the selected project unless asked to look in all.
    const auto followSelectedProject = [this] {
        m_sidebar->search()->setCurrentProject(effectiveProjectRoot().value_or(QUrl()));
    };
    connect(this, &MainContentView::selectedProjectRootChanged, this, followSelectedProject);
    connect(m_store, &ProjectStore::projectRootsChanged, this, followSelectedProject);
    connect(m_sidebar->search(), &ProjectSearchController::hitChosen, this, &MainContentView::openSearchHit);
    // Escape leaves a file for the dashboard, with the focus in the detail area.
    auto *leavePreview = new QShortcut(QKeySequence(Qt::Key_Escape), m_detailArea);
    leavePreview->setObjectName(QStringLiteral("leavePreviewShortcut"));
    leavePreview->setContext(Qt::WidgetWithChildrenShortcut);
    connect(leavePreview, &QShortcut::activated, this, [this] {
        if (m_reviewFolder && m_resultCapability) {
            showSpecificationResult(QString());
            return;
        }
        if (!isShowingPreview() && !m_reviewFolder)
            return;
        showDashboard();
        if (!m_panes->focusPane(PaneNavigator::Pane::detail))
            m_sidebar->treeView()->listView()->setFocus(Qt::OtherFocusReason);
    });
    connect(m_detailArea, &DetailArea::viewCreated, this, &MainContentView::connectDetailView);
    connect(m_sidebar->treeView(), &ProjectTreeView::reviewRequested, this, &MainContentView::showReview);
    connect(m_toolBar, &MainToolBar::refreshRequested, this, &MainContentView::refresh);
    connect(m_toolBar, &MainToolBar::importRequested, this, &MainContentView::startImport);
    connect(m_toolBar, &MainToolBar::backRequested, this, &MainContentView::goBack);
    connect(m_toolBar, &MainToolBar::forwardRequested, this, &MainContentView::goForward);
    connect(this, &MainContentView::stateChanged, m_toolBar,
            [this] { m_toolBar->setHistoryEnabled(canGoBack(), canGoForward()); });

    updateAll();
}

MainContentView::~MainContentView() = default;

void MainContentView::focusProjectSearch()
{
    m_sidebar->searchField()->focusField();
}

void MainContentView::setSelectedProjectRoot(const std::optional<QUrl> &root)
{
    if (root == m_selectedProjectRoot)
        return;
    m_selectedProjectRoot = root;
    // Another project: whatever was chosen in the old outline no longer applies.
    m_selectedNode.reset();
    leaveReview();
    updateAll();
    Q_EMIT selectedProjectRootChanged(m_selectedProjectRoot);
    applyPendingReveal();
}

void MainContentView::setSelectedNode(const std::optional<TreeNode> &node)
{
    m_selectedNode = node;
    m_selectedFileRemoved = false;
    leaveReview();
    m_sidebar->treeView()->setSelectedNode(m_selectedNode);
    updateDetail();
    updateDashboardButton();
    Q_EMIT stateChanged();
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
    openPaths({folder.isLocalFile() ? folder.toLocalFile() : folder.toString()});
}

void MainContentView::openPaths(const QStringList &paths)
{
    QStringList failures;
    for (const QString &path : paths) {
        const ProjectLocation location = ProjectLocation::resolve(path);
        if (location.error) {
            failures.append(location.errorText());
            continue;
        }
        const QUrl root = QUrl::fromLocalFile(location.projectRoot);
        m_store->importProject(root);
        setSelectedProjectRoot(root);
        setSelectedNode(std::nullopt);
        if (location.target.isEmpty())
            m_pendingReveals.remove(root);
        else
            revealInProject(root, QUrl::fromLocalFile(location.target));
        Q_EMIT projectOpened(root);
    }
    if (!failures.isEmpty())
        showImportErrors(failures);
}

void MainContentView::revealInProject(const QUrl &root, const QUrl &target)
{
    m_pendingReveals.insert(root, target);
    applyPendingReveal();
}

void MainContentView::applyPendingReveal()
{
    const std::optional<QUrl> root = effectiveProjectRoot();
    if (!root || !m_pendingReveals.contains(*root))
        return;
    const ProjectStore::TreePointer tree = m_store->treeForProject(*root);
    if (!tree)
        return; // until the first scan is published
    const QString path = QDir::cleanPath(m_pendingReveals.take(*root).toLocalFile());
    const TreeNode *node = findNodeAtPath(*tree, path);
    if (!node || node->kind == TreeNodeKind::projectRoot)
        return;
    if (node->kind == TreeNodeKind::markdownFile)
        setSelectedNode(*node);
    m_sidebar->treeView()->revealNode(node->id);
}

void MainContentView::openLocation(const QUrl &root, const QUrl &target, const QString &fragment)
{
    if (!m_store->projectRoots().contains(root) || !target.isLocalFile())
        return;
    if (QFileInfo(target.toLocalFile()).isDir()) {
        setSelectedProjectRoot(root);
        revealInProject(root, target);
        return;
    }
    if (!openFile(root, target))
        return;
    MarkdownPreviewView *preview = currentPreview();
    if (preview && !fragment.isEmpty())
        preview->scrollToHeadingWhenShown(fragment);
    Q_EMIT stateChanged();
}

void MainContentView::openSearchHit(const QUrl &root, const QUrl &fileUrl, const SearchPattern &pattern,
                                    int line, int column)
{
    if (!m_store->projectRoots().contains(root) || !fileUrl.isLocalFile())
        return;
    if (!openFile(root, fileUrl))
        return;
    if (MarkdownPreviewView *preview = currentPreview())
        preview->showSearchHit(pattern, line, column);
    Q_EMIT stateChanged();
}

bool MainContentView::openFile(const QUrl &root, const QUrl &file)
{
    const std::optional<TreeNode> node = fileNode(root, file);
    if (!node)
        return false;
    const std::optional<NavigationHistory::Step> left = leavingStep();
    m_keepHistory = true;
    setSelectedProjectRoot(root);
    setSelectedNode(*node);
    m_keepHistory = false;
    m_shownPlace = currentPlace();
    if (left && m_shownPlace && !left->isSamePlace(*m_shownPlace))
        m_history.leave(*left);
    m_sidebar->treeView()->revealNode(node->id);
    return true;
}

void MainContentView::goBack()
{
    const std::optional<NavigationHistory::Step> current = leavingStep();
    if (!current)
        return;
    if (const std::optional<NavigationHistory::Step> step = m_history.back(*current))
        showStep(*step);
}

void MainContentView::goForward()
{
    const std::optional<NavigationHistory::Step> current = leavingStep();
    if (!current)
        return;
    if (const std::optional<NavigationHistory::Step> step = m_history.forward(*current))
        showStep(*step);
}

void MainContentView::showStep(const NavigationHistory::Step &step)
{
    m_keepHistory = true;
    setSelectedProjectRoot(step.projectRoot);
    const std::optional<TreeNode> node = step.file ? fileNode(step.projectRoot, *step.file) : std::nullopt;
    if (node) {
        setSelectedNode(*node);
        m_sidebar->treeView()->revealNode(node->id);
    } else if (step.reviewFolder) {
        showReview(*step.reviewFolder);
    } else {
        setSelectedNode(std::nullopt);
    }
    m_keepHistory = false;
    m_shownPlace = currentPlace();
    MarkdownPreviewView *preview = currentPreview();
    if (preview && node && step.position)
        preview->restoreReadingPositionWhenShown(*step.position);
    Q_EMIT stateChanged();
}

std::optional<TreeNode> MainContentView::fileNode(const QUrl &root, const QUrl &file) const
{
    const QString path = QDir::cleanPath(file.toLocalFile());
    if (const ProjectStore::TreePointer tree = m_store->treeForProject(root)) {
        const TreeNode *found = findNodeAtPath(*tree, path);
        if (!found)
            found = findNodeAtPath(*tree, QFileInfo(path).canonicalFilePath());
        if (found && found->kind == TreeNodeKind::markdownFile)
            return *found;
    }
    // Beside the planning folder (a read-me at the project's top): shown, though not listed. The
    // same file gets the same id, so the preview on show keeps it.
    TreeNode node;
    node.id = QUuid::createUuidV5(QUuid(), path);
    node.kind = TreeNodeKind::markdownFile;
    node.name = QFileInfo(path).fileName();
    node.url = QUrl::fromLocalFile(path);
    return node;
}

std::optional<NavigationHistory::Step> MainContentView::currentPlace() const
{
    const std::optional<QUrl> root = effectiveProjectRoot();
    if (!root)
        return std::nullopt;
    NavigationHistory::Step step{*root, std::nullopt, std::nullopt, std::nullopt};
    if (m_selectedNode && m_selectedNode->kind == TreeNodeKind::markdownFile)
        step.file = m_selectedNode->url;
    else
        step.reviewFolder = m_reviewFolder;
    return step;
}

std::optional<NavigationHistory::Step> MainContentView::leavingStep() const
{
    std::optional<NavigationHistory::Step> step = m_shownPlace;
    if (!step || !step->file)
        return step;
    // The preview still shows the file being left.
    if (MarkdownPreviewView *preview = currentPreview();
        preview && preview->fileURL() == *step->file && preview->state().isContent())
        step->position = preview->readingPosition();
    return step;
}

void MainContentView::recordNavigation()
{
    const std::optional<NavigationHistory::Step> now = currentPlace();
    if (!m_keepHistory && m_shownPlace && now && !m_shownPlace->isSamePlace(*now)) {
        if (const std::optional<NavigationHistory::Step> left = leavingStep())
            m_history.leave(*left);
    }
    if (!m_keepHistory)
        m_shownPlace = now;
}

void MainContentView::removeProject(const QUrl &root)
{
    m_pendingReveals.remove(root);
    m_store->removeProject(root);
    if (m_selectedProjectRoot && *m_selectedProjectRoot == root) {
        setSelectedProjectRoot(firstOf(m_store->projectRoots()));
        setSelectedNode(std::nullopt);
    }
    m_history.removeProject(root);
    if (m_shownPlace && m_shownPlace->projectRoot == root)
        m_shownPlace = currentPlace();
    Q_EMIT stateChanged();
}

void MainContentView::refresh()
{
    if (const std::optional<QUrl> root = effectiveProjectRoot())
        m_store->refreshProject(*root);
    else
        m_store->refreshAll();
    reloadOpenFile();
}

void MainContentView::reloadOpenFile()
{
    if (MarkdownPreviewView *preview = currentPreview())
        preview->reload();
}

void MainContentView::setLoadsRemoteImages(bool load)
{
    m_loadsRemoteImages = load;
    FittedMarkdownView::setLoadsRemoteImages(load); // the review pages made from now on
    if (MarkdownPreviewView *preview = currentPreview())
        preview->setLoadsRemoteImages(load);
}

void MainContentView::closeCurrentProject()
{
    if (const std::optional<QUrl> root = effectiveProjectRoot())
        removeProject(*root);
}

void MainContentView::selectAdjacentProject(int step)
{
    const QList<QUrl> &roots = m_store->projectRoots();
    if (roots.isEmpty())
        return;
    const std::optional<QUrl> current = effectiveProjectRoot();
    const qsizetype count = roots.size();
    const qsizetype index = current ? roots.indexOf(*current) : 0;
    setSelectedProjectRoot(roots.at(((index + step) % count + count) % count));
}

void MainContentView::selectProjectAt(int index)
{
    const QList<QUrl> &roots = m_store->projectRoots();
    if (index >= 0 && index < roots.size())
        setSelectedProjectRoot(roots.at(index));
}

void MainContentView::showDashboard()
{
    setSelectedNode(std::nullopt);
}

void MainContentView::showReview(const QUrl &changeFolder)
{
    m_selectedNode.reset();
    m_selectedFileRemoved = false;
    m_sidebar->treeView()->setSelectedNode(std::nullopt);
    if (m_reviewFolder != changeFolder)
        m_review.reset();
    m_reviewFolder = changeFolder;
    m_resultCapability.reset();
    startReview();
    updateDetail();
    updateDashboardButton();
    Q_EMIT stateChanged();
}

void MainContentView::showSpecificationResult(const QString &capability)
{
    if (!m_reviewFolder)
        return;
    if (capability.isEmpty())
        m_resultCapability.reset();
    else
        m_resultCapability = capability;
    m_shownResultSerial = 0;
    updateDetail();
    Q_EMIT stateChanged();
}

std::optional<std::pair<QUrl, QString>> MainContentView::deltaSpecificationOwner(const QUrl &root,
                                                                                 const QUrl &file)
{
    const std::optional<PlanningPath> path = PlanningPath::inPlanningFolder(root, file, false);
    if (!path || path->kind != PlanningPath::Kind::deltaSpecification || !path->isCapabilityFile)
        return std::nullopt;
    return std::pair(PlanningPath::urlInPlanningFolder(root, path->changeFolderPath), path->capability);
}

std::optional<std::pair<QUrl, QString>> MainContentView::deltaSpecificationOwner(const QUrl &file)
{
    const std::optional<QUrl> root = PlanningPath::projectRootAbove(file);
    return root ? deltaSpecificationOwner(*root, file) : std::nullopt;
}

void MainContentView::startReview()
{
    const std::optional<QUrl> root = effectiveProjectRoot();
    if (!m_reviewFolder || !root)
        return;
    const quint64 serial = ++m_reviewSerial;
    auto *watcher = new QFutureWatcher<ChangeReview>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, serial] {
        watcher->deleteLater();
        if (serial != m_reviewSerial || !m_reviewFolder)
            return; // another change, or none, since
        m_review = watcher->result();
        updateDetail();
    });
    // Reads every delta and current specification of the change: off the window's thread.
    watcher->setFuture(QtConcurrent::run([root = *root, folder = *m_reviewFolder] {
        return reviewChange(*ModelEnvironment::system().fileSystem, root, folder);
    }));
}

void MainContentView::leaveReview()
{
    m_reviewFolder.reset();
    m_review.reset();
    m_resultCapability.reset();
    ++m_reviewSerial;
}

void MainContentView::connectDetailView(QWidget *view)
{
    if (auto *dashboard = qobject_cast<DashboardView *>(view))
        connect(dashboard, &DashboardView::reviewRequested, this, &MainContentView::showReview);
    if (auto *preview = qobject_cast<MarkdownPreviewView *>(view)) {
        connect(preview, &MarkdownPreviewView::openFileRequested, this,
                [this](const QUrl &file, const QString &fragment) {
                    if (const std::optional<QUrl> root = effectiveProjectRoot())
                        openLocation(*root, file, fragment);
                });
        connect(preview, &MarkdownPreviewView::revealFolderRequested, this, [this](const QUrl &folder) {
            if (const std::optional<QUrl> root = effectiveProjectRoot())
                openLocation(*root, folder);
        });
        connect(preview, &MarkdownPreviewView::reviewRequested, this, [this](const QUrl &file, bool result) {
            const std::optional<QUrl> root = effectiveProjectRoot();
            const std::optional<std::pair<QUrl, QString>> owner =
                root ? deltaSpecificationOwner(*root, file) : std::nullopt;
            if (!owner)
                return;
            showReview(owner->first);
            if (result)
                showSpecificationResult(owner->second);
        });
    }
}

void MainContentView::toggleViewMode()
{
    if (MarkdownPreviewView *preview = currentPreview()) {
        preview->setViewMode(preview->viewMode() == MarkdownViewMode::preview ? MarkdownViewMode::source
                                                                              : MarkdownViewMode::preview);
    }
}

MarkdownPreviewView *MainContentView::currentPreview() const
{
    return qobject_cast<MarkdownPreviewView *>(m_detailArea->currentView());
}

bool MainContentView::isShowingPreview() const
{
    return m_detailArea->content() == DetailArea::Content::preview;
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
        applyPendingReveal();
        Q_EMIT stateChanged();
    }
}

void MainContentView::onTreePublished(const QUrl &root)
{
    if (root == effectiveProjectRoot())
        followSelectionIntoNewTree(root);
    onProjectDataChanged(root);
}

void MainContentView::followSelectionIntoNewTree(const QUrl &root)
{
    const ProjectStore::TreePointer tree = m_store->treeForProject(root);
    if (!tree || !m_selectedNode || m_selectedNode->kind != TreeNodeKind::markdownFile)
        return;
    const TreeNode *found = findNodeAtPath(*tree, QDir::cleanPath(m_selectedNode->url.toLocalFile()));
    if (!found)
        found = findArchivedCounterpart(*tree, m_selectedNode->url);
    if (!found || found->kind != TreeNodeKind::markdownFile) {
        // The old node stays selected: its preview keeps what the file last held.
        m_selectedFileRemoved = true;
        return;
    }
    const bool moved = found->url != m_selectedNode->url;
    const bool changed =
        moved || m_selectedFileRemoved || found->modificationDate != m_selectedNode->modificationDate;
    m_selectedFileRemoved = false;
    m_selectedNode = *found;
    if (moved && m_shownPlace && m_shownPlace->file)
        m_shownPlace->file = found->url; // the same place, at its new address
    MarkdownPreviewView *preview = currentPreview();
    if (preview && moved)
        preview->followMove(found->url, found->deltaType);
    else if (preview && changed)
        preview->reload();
}

void MainContentView::showWatchLimitNotice(const QUrl &root)
{
    // Said once a window: the reader knows after the first time.
    if (m_watchNoticeShown)
        return;
    m_watchNoticeShown = true;
    m_watchNotice->setText(Localization::format("project.watch_limit", ProjectStore::folderName(root)));
    m_watchNotice->show();
}

void MainContentView::updateTabStates()
{
    for (ProjectTabButton *tab : m_tabsBar->tabs()) {
        const QUrl &root = tab->root();
        // The first load has the detail area's loading indicator; the mark is for the rescans.
        tab->setBusy(m_store->isLoading(root) && m_store->treeForProject(root));
        tab->setMissing(m_store->isMissing(root));
    }
}

void MainContentView::showImportErrors(const QStringList &lines)
{
    // Paths that fail while the alert is up join its list, so one alert names them all.
    QStringList shown;
    if (m_showImportError && m_importError)
        shown = m_importError->split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (!shown.contains(line))
            shown.append(line);
    }
    m_importError = shown.join(QLatin1Char('\n'));
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
    m_alert->setInformativeText(*m_importError);
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
    Q_EMIT stateChanged();
}

void MainContentView::updateTabs()
{
    const QList<QUrl> &roots = m_store->projectRoots();
    m_tabsBar->setProjectRoots(roots);
    m_tabsBar->setSelectedProjectRoot(m_selectedProjectRoot);
    m_tabsBar->setVisible(!roots.isEmpty());
    updateTabStates();
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
    recordNavigation();
    const std::optional<QUrl> root = effectiveProjectRoot();
    if (m_selectedNode && m_selectedNode->kind == TreeNodeKind::markdownFile) {
        m_detailArea->showPreview(
            m_selectedNode->id,
            {m_selectedNode->url, m_selectedNode->deltaType, m_selectedNode->linksOutsideProject,
             root && root->isLocalFile() ? root->toLocalFile() : QString(), m_loadsRemoteImages});
        if (MarkdownPreviewView *preview = currentPreview())
            preview->setFileRemoved(m_selectedFileRemoved);
        return;
    }
    if (!root) {
        m_detailArea->showPlaceholder();
        return;
    }
    if (m_reviewFolder) {
        if (!m_review) {
            m_detailArea->showLoading("review.loading");
            return;
        }
        const auto capability =
            m_resultCapability ? std::find_if(m_review->capabilities.cbegin(), m_review->capabilities.cend(),
                                              [this](const CapabilityReview &c) {
                                                  return c.capability == *m_resultCapability;
                                              })
                               : m_review->capabilities.cend();
        if (capability != m_review->capabilities.cend()) {
            // Made anew only for another capability or a new comparison.
            if (m_detailArea->content() != DetailArea::Content::result ||
                m_shownResultSerial != m_reviewSerial) {
                m_shownResultSerial = m_reviewSerial;
                if (SpecificationResultView *result =
                        m_detailArea->showSpecificationResult(m_review->changeName, *capability))
                    connect(result, &SpecificationResultView::backRequested, this,
                            [this] { showSpecificationResult(QString()); });
            }
            return;
        }
        std::optional<ChangeStatus> status;
        if (const std::optional<ProjectSummary> summary = m_store->summaryForProject(*root)) {
            for (const ChangeSummary &change : summary->changeSummaries) {
                if (QDir::cleanPath(change.changeDirectoryURL.toLocalFile()) ==
                    QDir::cleanPath(m_reviewFolder->toLocalFile()))
                    status = change.status;
            }
        }
        if (ChangeReviewView *review = m_detailArea->showReview({*m_review, status}))
            connect(review, &ChangeReviewView::showResultRequested, this,
                    &MainContentView::showSpecificationResult);
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
