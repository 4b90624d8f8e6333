#include "app/maincontentview.h"

#include "app/dashboardbutton.h"
#include "app/detailarea.h"
#include "app/filedialogfolderpicker.h"
#include "app/filehistorybrowser.h"
#include "app/maintoolbar.h"
#include "app/panenavigator.h"
#include "app/projecthistory.h"
#include "app/projectreading.h"
#include "app/projecttabbutton.h"
#include "app/projecttabsbar.h"
#include "app/shellcolors.h"
#include "app/sidebarpane.h"
#include "app/splitview.h"
#include "dashboard/dashboardview.h"
#include "dashboard/dashboardwarmup.h"
#include "historyview/changetimelineview.h"
#include "preview/fittedmarkdownview.h"
#include "preview/markdownpreviewview.h"
#include "project/liveprojectupdates.h"
#include "project/planningpath.h"
#include "project/treenodelookup.h"
#include "reading/readingstore.h"
#include "search/projecttextindex.h"
#include "sidebar/outlinewarmup.h"
#include "sidebar/projectsearchcontroller.h"
#include "sidebar/projectsearchfield.h"
#include "sidebar/projecttreeview.h"
#include "ui/bandedfill.h"
#include "ui/localization.h"
#include "ui/noticebar.h"
#include "ui/themecontroller.h"
#include "ui/warmupqueue.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QItemSelectionModel>
#include <QPainter>
#include <QPointer>
#include <QShortcut>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace kestrune {

namespace {

constexpr int detailMinimumWidth = 300;

// Whether a view of this process has started warming up the process's caches.
bool warmUpStarted = false;

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
      m_toolBar(new MainToolBar(themeController, this)),
      m_liveUpdates(new LiveProjectUpdates(*m_store, this)),
      m_textIndex(new ProjectTextIndex(*m_store, this)), m_tabsBar(new ProjectTabsBar(this)),
      m_watchNotice(new NoticeBar(this)), m_readingNotice(new NoticeBar(this)),
      m_reading(new ProjectReading(*m_store, dependencies.readingStateRoot, this)),
      m_history(new ProjectHistory(*m_store, this)), m_splitView(new SplitView(this)),
      m_sidebar(new SidebarPane(themeController, *m_store, *m_textIndex, m_splitView)),
      m_detailArea(new DetailArea(std::move(dependencies.detailViews), m_splitView)),
      m_importFlow(new ImportFlow(*m_store,
                                  dependencies.folderPicker ? std::move(dependencies.folderPicker)
                                                            : std::make_unique<FileDialogFolderPicker>(),
                                  *this)),
      m_reviewSession(new ReviewSession(*m_store, this)), m_navigation(new NavigationController(*this)),
      m_fileHistory(new FileHistoryBrowser(this))
{
    setObjectName(QStringLiteral("mainContent"));
    m_toolBar->hide(); // until a window takes it over
    layOutPanes();
    connectStore();
    connectSidebar();
    connectToolBar();
    addLeavePreviewShortcut();
    connect(m_detailArea, &DetailArea::viewCreated, this, &MainContentView::connectDetailView);
    connect(m_detailArea, &DetailArea::previewFileChanged, this, [this](QWidget *view) {
        if (auto *preview = qobject_cast<MarkdownPreviewView *>(view)) {
            showChangesSinceRead(*preview);
            m_fileHistory->offer(*preview);
        }
    });
    connect(m_importFlow, &ImportFlow::projectImported, this, &MainContentView::onProjectImported);
    connect(m_reviewSession, &ReviewSession::compared, this, &MainContentView::updateDetail);
    connect(m_reviewSession, &ReviewSession::resultRequested, this,
            &MainContentView::showSpecificationResult);
    connect(m_reviewSession, &ReviewSession::reviewRequested, this, &MainContentView::showReview);
    connect(m_navigation, &NavigationController::navigated, this, &MainContentView::stateChanged);
    updateAll();
}

void MainContentView::layOutPanes()
{
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
    layout->addWidget(m_readingNotice);
    layout->addWidget(m_splitView, 1);
    m_watchNotice->setObjectName(QStringLiteral("watchLimitNotice"));
    m_watchNotice->setClosable(true);
    m_watchNotice->hide();
    m_readingNotice->setObjectName(QStringLiteral("readingHistoryNotice"));
    m_readingNotice->setClosable(true);
    m_readingNotice->hide();
}

void MainContentView::connectStore()
{
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
    connect(m_store, &ProjectStore::summaryByProjectChanged, this, &MainContentView::onSummaryPublished);
    connect(m_reading, &ProjectReading::marksChanged, this, &MainContentView::onReadingMarksChanged);
    connect(m_reading, &ProjectReading::noticeRaised, this, &MainContentView::showReadingNotice);
    connect(m_history, &ProjectHistory::availabilityChanged, this,
            &MainContentView::onHistoryAvailabilityChanged);
    connect(m_history, &ProjectHistory::historyChanged, this, &MainContentView::onHistoryChanged);
}

void MainContentView::connectSidebar()
{
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
    connect(m_sidebar->treeView(), &ProjectTreeView::reviewRequested, this, &MainContentView::showReview);
    connect(m_sidebar->treeView(), &ProjectTreeView::historyRequested, this, &MainContentView::showHistory);
    // The history command follows the outline's current row (a change folder the keys are on).
    connect(m_sidebar->treeView()->listView()->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &MainContentView::stateChanged);
    connect(m_sidebar->treeView(), &ProjectTreeView::fileHistoryRequested, this,
            &MainContentView::showFileHistory);
}

void MainContentView::connectToolBar()
{
    connect(m_toolBar, &MainToolBar::refreshRequested, this, &MainContentView::refresh);
    connect(m_toolBar, &MainToolBar::importRequested, this, &MainContentView::startImport);
    connect(m_toolBar, &MainToolBar::backRequested, this, &MainContentView::goBack);
    connect(m_toolBar, &MainToolBar::forwardRequested, this, &MainContentView::goForward);
    connect(this, &MainContentView::stateChanged, m_toolBar,
            [this] { m_toolBar->setHistoryEnabled(canGoBack(), canGoForward()); });
}

void MainContentView::addLeavePreviewShortcut()
{
    // Escape leaves a file for the dashboard, with the focus in the detail area.
    auto *leavePreview = new QShortcut(QKeySequence(Qt::Key_Escape), m_detailArea);
    leavePreview->setObjectName(QStringLiteral("leavePreviewShortcut"));
    leavePreview->setContext(Qt::WidgetWithChildrenShortcut);
    connect(leavePreview, &QShortcut::activated, this, &MainContentView::leaveDetail);
}

void MainContentView::leaveDetail()
{
    if (m_reviewSession->changeFolder() && m_reviewSession->resultCapability()) {
        showSpecificationResult(QString());
        return;
    }
    if (!isShowingPreview() && !m_reviewSession->changeFolder() && !m_historyChange)
        return;
    showDashboard();
    if (!panes().focusPane(PaneNavigator::Pane::detail))
        m_sidebar->treeView()->listView()->setFocus(Qt::OtherFocusReason);
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
    m_reviewSession->leave();
    m_historyChange.reset();
    updateAll();
    Q_EMIT selectedProjectRootChanged(m_selectedProjectRoot);
    m_navigation->applyPendingReveal();
}

void MainContentView::setSelectedNode(const std::optional<TreeNode> &node)
{
    m_selectedNode = node;
    m_selectedFileRemoved = false;
    m_reviewSession->leave();
    m_historyChange.reset();
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

void MainContentView::onProjectImported(const QUrl &root, const QUrl &target)
{
    setSelectedProjectRoot(root);
    setSelectedNode(std::nullopt);
    if (target.isEmpty())
        m_navigation->cancelReveal(root);
    else
        revealInProject(root, target);
    Q_EMIT projectOpened(root);
}

void MainContentView::removeProject(const QUrl &root)
{
    m_navigation->cancelReveal(root);
    m_store->removeProject(root);
    if (m_selectedProjectRoot && *m_selectedProjectRoot == root) {
        setSelectedProjectRoot(firstOf(m_store->projectRoots()));
        setSelectedNode(std::nullopt);
    }
    m_navigation->forgetProject(root);
    Q_EMIT stateChanged();
}

void MainContentView::refresh()
{
    if (const std::optional<QUrl> root = effectiveProjectRoot()) {
        m_store->refreshProject(*root);
        m_history->recheck(*root);
    } else {
        m_store->refreshAll();
    }
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
    m_historyChange.reset();
    m_reviewSession->open(effectiveProjectRoot(), changeFolder);
    updateDetail();
    updateDashboardButton();
    Q_EMIT stateChanged();
}

void MainContentView::showHistory(const QUrl &changeFolder)
{
    m_selectedNode.reset();
    m_selectedFileRemoved = false;
    m_sidebar->treeView()->setSelectedNode(std::nullopt);
    m_reviewSession->leave();
    m_historyChange = changeFolder;
    updateDetail();
    updateDashboardButton();
    Q_EMIT stateChanged();
}

std::optional<QUrl> MainContentView::selectedChange() const
{
    const std::optional<QUrl> root = effectiveProjectRoot();
    if (!root || !m_history->hasHistory(*root))
        return std::nullopt;
    if (m_historyChange)
        return m_historyChange;
    if (reviewedChange())
        return reviewedChange();
    const ProjectTreeView *tree = m_sidebar->treeView();
    for (const std::optional<TreeNode> &node : {tree->currentNode(), m_selectedNode}) {
        if (!node)
            continue;
        const std::optional<PlanningPath> path =
            PlanningPath::inPlanningFolder(*root, node->url, node->kind != TreeNodeKind::markdownFile);
        if (path && !path->changeFolderPath.isEmpty())
            return PlanningPath::urlInPlanningFolder(*root, path->changeFolderPath);
    }
    return std::nullopt;
}

bool MainContentView::currentProjectHasHistory() const
{
    const std::optional<QUrl> root = effectiveProjectRoot();
    return root && m_history->hasHistory(*root);
}

void MainContentView::onHistoryAvailabilityChanged(const QUrl &root)
{
    if (root != effectiveProjectRoot())
        return;
    m_sidebar->treeView()->setShowsHistory(currentProjectHasHistory());
    if (auto *dashboard = qobject_cast<DashboardView *>(m_detailArea->currentView()))
        dashboard->setShowsHistory(currentProjectHasHistory());
    Q_EMIT stateChanged();
}

void MainContentView::onHistoryChanged(const QUrl &root)
{
    if (root != effectiveProjectRoot() || !m_historyChange)
        return;
    if (auto *timeline = qobject_cast<ChangeTimelineView *>(m_detailArea->currentView()))
        timeline->reload();
}

void MainContentView::showSpecificationResult(const QString &capability)
{
    if (!m_reviewSession->showResult(capability))
        return;
    updateDetail();
    Q_EMIT stateChanged();
}

std::optional<std::pair<QUrl, QString>> MainContentView::deltaSpecificationOwner(const QUrl &file)
{
    const std::optional<QUrl> root = PlanningPath::projectRootAbove(file);
    return root ? ReviewSession::deltaSpecificationOwner(*root, file) : std::nullopt;
}

void MainContentView::connectDetailView(QWidget *view)
{
    if (auto *dashboard = qobject_cast<DashboardView *>(view)) {
        connect(dashboard, &DashboardView::reviewRequested, this, &MainContentView::showReview);
        connect(dashboard, &DashboardView::historyRequested, this, &MainContentView::showHistory);
        dashboard->setShowsHistory(currentProjectHasHistory());
        connect(dashboard, &DashboardView::fileRequested, this, [this](const QUrl &file) {
            if (const std::optional<QUrl> root = effectiveProjectRoot())
                openLocation(*root, file);
        });
    }
    if (auto *preview = qobject_cast<MarkdownPreviewView *>(view)) {
        m_navigation->followLinks(*preview);
        m_fileHistory->attach(*preview);
        connect(preview, &MarkdownPreviewView::textSeen, this, &MainContentView::markSeen);
        connect(preview, &MarkdownPreviewView::markedAsRead, this,
                [this](const QUrl &file, const QString &text) { markSeen(file, text.toUtf8()); });
        showChangesSinceRead(*preview);
        connect(preview, &MarkdownPreviewView::reviewRequested, this, [this](const QUrl &file, bool result) {
            const std::optional<QUrl> root = effectiveProjectRoot();
            const std::optional<std::pair<QUrl, QString>> owner =
                root ? ReviewSession::deltaSpecificationOwner(*root, file) : std::nullopt;
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

void MainContentView::showFileHistory(const QUrl &file)
{
    const std::optional<QUrl> root = effectiveProjectRoot();
    if (!root)
        return;
    openLocation(*root, file);
    // Once the preview of the file is laid out, the list opens under its History button.
    QTimer::singleShot(0, this, [this, file] {
        if (MarkdownPreviewView *preview = currentPreview(); preview && preview->fileURL() == file)
            preview->requestHistory();
    });
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
    BandedFill::fillRect(painter, rect(), gradient);
    // After the empty window's first frame, which must not wait for any of it.
    if (!warmUpStarted)
        startWarmUp();
}

void MainContentView::startWarmUp()
{
    warmUpStarted = true;
    m_warmUp = new WarmUpQueue(this);
    // In the order an import shows them: its tab, the outline, then the dashboard.
    m_warmUp->addRendering([] {
        auto tab = std::make_unique<ProjectTabButton>(QUrl::fromLocalFile(QStringLiteral("/sample")),
                                                      QStringLiteral("sample-project"));
        tab->setSelected(true);
        return tab;
    });
    OutlineWarmUp::addTo(*m_warmUp, m_themeController);
    DashboardWarmUp::addTo(*m_warmUp);
    m_warmUp->start();
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
        m_navigation->applyPendingReveal();
        Q_EMIT stateChanged();
    }
}

void MainContentView::onSummaryPublished(const QUrl &root)
{
    ++m_summaryRevision;
    // The review follows the files too, compared once a rescan (the summary comes right after
    // the tree); the page on show stays until the new comparison is there.
    if (root == effectiveProjectRoot())
        m_reviewSession->compareAgain(root);
    onProjectDataChanged(root);
}

void MainContentView::onTreePublished(const QUrl &root)
{
    if (root == effectiveProjectRoot()) {
        followSelectionIntoNewTree(root);
        followHistoryIntoNewTree(root);
    }
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
    if (moved)
        m_navigation->followMove(found->url);
    MarkdownPreviewView *preview = currentPreview();
    if (preview && moved)
        preview->followMove(found->url, found->deltaType);
    else if (preview && changed)
        preview->reload();
}

void MainContentView::followHistoryIntoNewTree(const QUrl &root)
{
    const ProjectStore::TreePointer tree = m_store->treeForProject(root);
    if (!tree || !m_historyChange)
        return;
    const QString folder = QDir::cleanPath(m_historyChange->toLocalFile());
    if (QFileInfo(folder).isDir())
        return;
    // The archive keeps the change's files: any of them tells where the folder went.
    for (const char *file : {"proposal.md", "tasks.md", "design.md"}) {
        const QUrl before = QUrl::fromLocalFile(folder + u'/' + QLatin1String(file));
        if (const TreeNode *found = findArchivedCounterpart(*tree, before)) {
            m_historyChange = QUrl::fromLocalFile(QFileInfo(found->url.toLocalFile()).path());
            m_navigation->followHistoryMove(*m_historyChange);
            return;
        }
    }
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

void MainContentView::showReadingNotice(const QUrl &root)
{
    m_readingNotice->setText(
        Localization::format("reading.notice.set_aside", ProjectStore::folderName(root)));
    m_readingNotice->show();
}

void MainContentView::setShowsUnreadMarks(bool show)
{
    if (show == m_showsUnreadMarks)
        return;
    m_showsUnreadMarks = show;
    m_sidebar->treeView()->setReadingMarks(shownReadingMarks());
    updateDashboardReadingFacts();
}

void MainContentView::markAllAsRead()
{
    if (const std::optional<QUrl> root = effectiveProjectRoot())
        m_reading->markAllSeen(*root);
}

void MainContentView::forgetReadingHistory()
{
    if (const std::optional<QUrl> root = effectiveProjectRoot())
        m_reading->forget(*root);
}

std::optional<ReadingMarks> MainContentView::shownReadingMarks() const
{
    const std::optional<QUrl> root = effectiveProjectRoot();
    if (!m_showsUnreadMarks || !root)
        return std::nullopt;
    return m_reading->marksFor(*root);
}

void MainContentView::onReadingMarksChanged(const QUrl &root)
{
    if (root != effectiveProjectRoot())
        return;
    m_sidebar->treeView()->setReadingMarks(shownReadingMarks());
    updateDashboardReadingFacts();
}

void MainContentView::updateDashboardReadingFacts()
{
    auto *dashboard = qobject_cast<DashboardView *>(m_detailArea->currentView());
    const std::optional<QUrl> root = effectiveProjectRoot();
    if (!dashboard || !root)
        return;
    dashboard->setReadingFacts(m_showsUnreadMarks ? m_reading->factsFor(*root) : std::nullopt);
}

void MainContentView::showChangesSinceRead(MarkdownPreviewView &preview)
{
    // A file changed since it was last read shows what changed beside its blocks and lines.
    const std::optional<QUrl> root = effectiveProjectRoot();
    if (!root || !m_showsUnreadMarks)
        return;
    QPointer<MarkdownPreviewView> shown(&preview);
    const QUrl file = preview.fileURL();
    const std::optional<ReadingMarks> marks = m_reading->marksFor(*root);
    const FileReadingMark mark =
        marks ? marks->markOf(m_reading->relativePath(*root, file)) : FileReadingMark();
    if (mark.state == ReadingState::changed && !mark.hasSeenText) {
        preview.setChangedWithoutSeenText(); // nothing to compare with: the preview says it changed
        return;
    }
    m_reading->readSeenTextOfChanged(*root, file, &preview, [shown, file](const QByteArray &seen) {
        if (shown && shown->fileURL() == file)
            shown->setSeenText(QString::fromUtf8(seen));
    });
}

void MainContentView::markSeen(const QUrl &file, const QByteArray &bytes)
{
    const std::optional<QUrl> root = effectiveProjectRoot();
    if (!root || !m_selectedNode || m_selectedNode->url != file)
        return;
    // The date of the outline the preview read the file after: a later edit moves it again.
    m_reading->markSeen(*root, file, bytes, m_selectedNode->modificationDate.value_or(QDateTime()));
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
    tree->setReadingMarks(shownReadingMarks());
    tree->setShowsHistory(currentProjectHasHistory());
    tree->setSelectedNode(m_selectedNode);
}

void MainContentView::updateDetail()
{
    m_navigation->recordNavigation();
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
    if (m_reviewSession->changeFolder()) {
        m_reviewSession->showIn(*m_detailArea, *root);
        return;
    }
    if (m_historyChange && root->isLocalFile()) {
        m_detailArea->showTimeline({root->toLocalFile(), m_historyChange->toLocalFile(),
                                    QFileInfo(m_historyChange->toLocalFile()).fileName()});
        return;
    }
    if (const std::optional<ProjectSummary> summary = m_store->summaryForProject(*root)) {
        m_detailArea->showDashboard({ProjectStore::folderName(*root), *summary, *root}, m_summaryRevision);
        updateDashboardReadingFacts();
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
