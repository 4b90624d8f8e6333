#include "app/mainwindow.h"

#include "app/aboutdialog.h"
#include "app/detailarea.h"
#include "app/documentprinting.h"
#include "app/dropoverlay.h"
#include "app/keyboardshortcutsdialog.h"
#include "app/maincontentview.h"
#include "app/mainmenu.h"
#include "app/maintoolbar.h"
#include "app/mainwindowactions.h"
#include "app/panenavigator.h"
#include "app/projecthistory.h"
#include "app/readingchangecommands.h"
#include "app/recentprojectsmenu.h"
#include "app/shellcolors.h"
#include "app/whatsnewcontroller.h"
#include "preview/markdownpreviewview.h"
#include "preview/previewzoom.h"
#include "quickopen/quickopencontroller.h"
#include "ui/localization.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>

namespace kestrune {

MainWindow::MainWindow(ThemeController &themeController, RecentProjects &recentProjects, QWidget *parent)
    : MainWindow(themeController, recentProjects, MainContentView::Dependencies{}, parent)
{}

MainWindow::MainWindow(ThemeController &themeController, RecentProjects &recentProjects,
                       MainContentView::Dependencies dependencies, QWidget *parent)
    : QMainWindow(parent), m_contentView(new MainContentView(themeController, std::move(dependencies), this)),
      m_actions(new MainWindowActions(this, themeController)), m_mainMenu(new MainMenu(*m_actions, this)),
      m_recentProjectsMenu(new RecentProjectsMenu(recentProjects, this)),
      m_dropOverlay(new DropOverlay(this)),
      m_quickOpen(new QuickOpenController(m_contentView->store(), this)),
      m_whatsNew(new WhatsNewController(*m_contentView, this)), m_printing(new DocumentPrinting(this)),
      m_readingChangeCommands(new ReadingChangeCommands(*m_actions, *m_contentView, this))
{
    setObjectName(QStringLiteral("mainWindow"));
    setWindowTitle(Localization::text("app.title"));
    setCentralWidget(m_contentView);
    MainToolBar *toolBar = m_contentView->toolBar();
    addToolBar(Qt::TopToolBarArea, toolBar);
    toolBar->show();
    toolBar->setMainMenu(m_mainMenu);
    setUnifiedTitleAndToolBarOnMac(true);
    setMinimumSize(minimumContentSize);
    resize(contentSize);
    setAcceptDrops(true);

    connect(m_recentProjectsMenu, &RecentProjectsMenu::projectChosen, m_contentView,
            [this](const QString &path) { m_contentView->openPaths({path}); });
    m_mainMenu->setRecentProjectsMenu(m_recentProjectsMenu);
    // What's New: a command of its own, on the toolbar too.
    m_actions->add(m_whatsNew->action(), MainWindowActions::Group::project);
    connect(toolBar, &MainToolBar::whatsNewRequested, m_whatsNew->action(), &QAction::trigger);
    connect(m_whatsNew->action(), &QAction::enabledChanged, toolBar->whatsNewButton(), &QWidget::setEnabled);
    toolBar->whatsNewButton()->setEnabled(m_whatsNew->action()->isEnabled());
    toolBar->whatsNewButton()->setToolTip(
        m_whatsNew->action()->text() + QStringLiteral(" (") +
        m_whatsNew->action()->shortcut().toString(QKeySequence::NativeText) + QLatin1Char(')'));
    connectCommands();
    connect(m_contentView, &MainContentView::stateChanged, this, &MainWindow::updateCommands);
    updateCommands();
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() = default;

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && watched->isWidgetType() &&
        static_cast<QWidget *>(watched)->window() == this) {
        const Qt::MouseButton button = static_cast<QMouseEvent *>(event)->button();
        QAction *step = button == Qt::BackButton      ? m_actions->back()
                        : button == Qt::ForwardButton ? m_actions->forward()
                                                      : nullptr;
        if (step) {
            if (step->isEnabled())
                step->trigger();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::connectCommands()
{
    MainContentView *view = m_contentView;
    MainWindowActions &actions = *m_actions;
    // The same paths as the toolbar's buttons, the tabs and the sidebar take.
    connect(actions.importProject(), &QAction::triggered, view, &MainContentView::startImport);
    connect(actions.refresh(), &QAction::triggered, view, &MainContentView::refresh);
    connect(actions.closeProject(), &QAction::triggered, view, &MainContentView::closeCurrentProject);
    connect(actions.print(), &QAction::triggered, this, [this] {
        if (const MarkdownPreviewView *preview = m_contentView->currentPreview())
            m_printing->print(*preview);
    });
    connect(actions.exportPdf(), &QAction::triggered, this, [this] {
        if (const MarkdownPreviewView *preview = m_contentView->currentPreview())
            m_printing->exportPdf(*preview);
    });
    connect(actions.nextProject(), &QAction::triggered, view, [view] { view->selectAdjacentProject(1); });
    connect(actions.previousProject(), &QAction::triggered, view,
            [view] { view->selectAdjacentProject(-1); });
    for (int index = 0; index < MainWindowActions::projectSlotCount; ++index) {
        connect(actions.projectSlot(index), &QAction::triggered, view,
                [view, index] { view->selectProjectAt(index); });
    }
    connect(actions.showDashboard(), &QAction::triggered, view, &MainContentView::showDashboard);
    connect(actions.back(), &QAction::triggered, view, &MainContentView::goBack);
    connect(actions.showHistory(), &QAction::triggered, view, [view] {
        if (const std::optional<QUrl> change = view->selectedChange())
            view->showHistory(*change);
    });
    connect(actions.forward(), &QAction::triggered, view, &MainContentView::goForward);
    connect(actions.focusOutline(), &QAction::triggered, view,
            [view] { view->panes().focusPane(PaneNavigator::Pane::sidebar); });
    connect(actions.focusDocument(), &QAction::triggered, view,
            [view] { view->panes().focusPane(PaneNavigator::Pane::detail); });
    connect(actions.nextPane(), &QAction::triggered, view, [view] { view->panes().cyclePanes(true); });
    connect(actions.previousPane(), &QAction::triggered, view, [view] { view->panes().cyclePanes(false); });
    connect(actions.toggleViewMode(), &QAction::triggered, view, &MainContentView::toggleViewMode);
    connect(actions.quickOpen(), &QAction::triggered, this, [this] { m_quickOpen->show(this); });
    connect(m_quickOpen, &QuickOpenController::entryChosen, this, [this](const QuickOpenEntry &entry) {
        m_contentView->openLocation(entry.projectRoot, entry.target, entry.fragment);
    });
    // Commands of the file on show, when a file is on show.
    const auto onPreview = [view](QAction *action, void (MarkdownPreviewView::*command)()) {
        connect(action, &QAction::triggered, view, [view, command] {
            if (MarkdownPreviewView *preview = view->currentPreview())
                (preview->*command)();
        });
    };
    onPreview(actions.showHeadings(), &MarkdownPreviewView::showHeadings);
    onPreview(actions.fileHistory(), &MarkdownPreviewView::requestHistory);
    onPreview(actions.find(), &MarkdownPreviewView::openFind);
    connect(actions.searchProject(), &QAction::triggered, view, &MainContentView::focusProjectSearch);
    onPreview(actions.findNext(), &MarkdownPreviewView::findNext);
    onPreview(actions.findPrevious(), &MarkdownPreviewView::findPrevious);
    PreviewZoom &zoom = PreviewZoom::shared();
    connect(actions.zoomIn(), &QAction::triggered, &zoom, &PreviewZoom::zoomIn);
    connect(actions.zoomOut(), &QAction::triggered, &zoom, &PreviewZoom::zoomOut);
    connect(actions.actualSize(), &QAction::triggered, &zoom, &PreviewZoom::reset);
    connect(actions.openMainMenu(), &QAction::triggered, view->toolBar(), &MainToolBar::popUpMainMenu);
    connect(actions.keyboardShortcuts(), &QAction::triggered, this, &MainWindow::showKeyboardShortcuts);
    connect(actions.about(), &QAction::triggered, this, &MainWindow::showAbout);
    connect(actions.quit(), &QAction::triggered, qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void MainWindow::updateCommands()
{
    const qsizetype projects = m_contentView->store().projectRoots().size();
    const bool hasProject = m_contentView->effectiveProjectRoot().has_value();
    MainWindowActions &actions = *m_actions;
    actions.refresh()->setEnabled(projects > 0);
    actions.closeProject()->setEnabled(hasProject);
    actions.nextProject()->setEnabled(projects > 1);
    actions.previousProject()->setEnabled(projects > 1);
    for (int index = 0; index < MainWindowActions::projectSlotCount; ++index)
        actions.projectSlot(index)->setEnabled(index < projects);
    actions.showDashboard()->setEnabled(hasProject);
    actions.back()->setEnabled(m_contentView->canGoBack());
    actions.forward()->setEnabled(m_contentView->canGoForward());
    actions.showHeadings()->setEnabled(m_contentView->isShowingPreview());
    // Absent, not greyed out, in a project outside git.
    const std::optional<QUrl> root = m_contentView->effectiveProjectRoot();
    actions.showHistory()->setVisible(root && m_contentView->projectHistory().hasHistory(*root));
    actions.showHistory()->setEnabled(m_contentView->selectedChange().has_value());
    actions.fileHistory()->setEnabled(m_contentView->isShowingPreview());
    actions.quickOpen()->setEnabled(projects > 0);
    actions.focusOutline()->setEnabled(hasProject);
    actions.focusDocument()->setEnabled(hasProject);
    actions.searchProject()->setEnabled(projects > 0);
    actions.toggleViewMode()->setEnabled(m_contentView->isShowingPreview());
    for (QAction *find : {actions.find(), actions.findNext(), actions.findPrevious()})
        find->setEnabled(m_contentView->isShowingPreview());
    // Either mode prints the rendered document.
    actions.print()->setEnabled(m_contentView->isShowingPreview());
    actions.exportPdf()->setEnabled(m_contentView->isShowingPreview());
}

void MainWindow::showKeyboardShortcuts()
{
    if (!m_shortcutsDialog)
        m_shortcutsDialog = new KeyboardShortcutsDialog(*m_actions, this);
    m_shortcutsDialog->show();
    m_shortcutsDialog->raise();
    m_shortcutsDialog->activateWindow();
}

KeyboardShortcutsDialog *MainWindow::keyboardShortcutsDialog() const
{
    return m_shortcutsDialog;
}

AboutDialog *MainWindow::aboutDialog() const
{
    return m_aboutDialog;
}

void MainWindow::bringForward(const QString &activationToken)
{
    // Qt's Wayland platform hands this token to the compositor with the activation request.
    if (!activationToken.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void MainWindow::showAbout()
{
    if (!m_aboutDialog) {
        m_aboutDialog = new AboutDialog(this);
        m_aboutDialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_aboutDialog->open();
}

void MainWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), ShellColors::windowBackground.resolve(palette()));
    // The toolbar sits on the same surface as the tabs bar below it.
    if (const QWidget *toolBar = m_contentView->toolBar(); toolBar && toolBar->isVisible())
        painter.fillRect(toolBar->geometry(), ShellColors::tabsBarBackground.resolve(palette()));
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_actions)
        m_actions->updateIcons();
}

QStringList MainWindow::droppedPaths(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    const QList<QUrl> urls = data->urls();
    for (const QUrl &url : urls) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            paths.append(url.toLocalFile());
    }
    return paths;
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (droppedPaths(event->mimeData()).isEmpty())
        return; // ignored: not for this window
    event->acceptProposedAction();
    m_dropOverlay->showOverParent();
}

void MainWindow::dragMoveEvent(QDragMoveEvent *event)
{
    if (!droppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dragLeaveEvent(QDragLeaveEvent *event)
{
    m_dropOverlay->hide();
    QMainWindow::dragLeaveEvent(event);
}

void MainWindow::dropEvent(QDropEvent *event)
{
    m_dropOverlay->hide();
    const QStringList paths = droppedPaths(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    // As if named on the command line: each project imported (the last one ends up selected),
    // a file inside one opened, and every path that cannot be opened named in one alert.
    m_contentView->openPaths(paths);
}

bool MainWindow::focusNextPrevChild(bool next)
{
    // Tab and Shift+Tab from anywhere inside the window arrive here.
    if (m_contentView->panes().moveFocus(next))
        return true;
    return QMainWindow::focusNextPrevChild(next);
}

} // namespace kestrune
