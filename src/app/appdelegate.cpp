#include "app/appdelegate.h"

#include "app/appsession.h"
#include "app/changenotifications.h"
#include "app/commandline.h"
#include "app/instanceclient.h"
#include "app/instanceserver.h"
#include "app/maincontentview.h"
#include "app/mainwindow.h"
#include "app/mainwindowactions.h"
#include "app/projecthistory.h"
#include "app/recentprojects.h"
#include "markdown/document/processheap.h"
#include "preview/previewzoom.h"
#include "project/liveprojectupdates.h"
#include "ui/desktopcolorscheme.h"
#include "ui/localization.h"
#include "ui/systemfont.h"
#include "ui/themecontroller.h"

#include <QAction>
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStyleFactory>

#include <cstdio>

namespace kestrune {

namespace {

void discardMessage(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

AppDelegate::AppDelegate(QObject *parent)
    : QObject(parent), m_themeController(std::make_unique<ThemeController>()),
      m_desktopColorScheme(std::make_unique<DesktopColorScheme>()),
      m_recentProjects(std::make_unique<RecentProjects>()), m_session(std::make_unique<AppSession>())
{}

AppDelegate::~AppDelegate() = default;

void AppDelegate::setApplicationIdentity()
{
    QCoreApplication::setOrganizationName(QStringLiteral("kestrune"));
    QCoreApplication::setApplicationName(QStringLiteral("kestrune-viewer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRUNE_VERSION));
    // The desktop groups the windows with the launcher of this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(KESTRUNE_APP_ID));
}

int AppDelegate::run(int argc, char **argv)
{
    ProcessHeap::configureForDocuments();
    setApplicationIdentity();
    // A run that only prints its help or version needs no display: it is answered on the
    // offscreen platform (a -platform argument would still win). It prints that text alone, not
    // what the platform has to say about the session (help2man reads standard error as well).
    if (CommandLine::asksForTextOnly(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(discardMessage);
    }

    QApplication application(argc, argv);
    Localization::install(&application);
    const CommandLine commandLine = CommandLine::process(application);
    const QStringList unusable = commandLine.unusablePaths();
    for (const QString &line : unusable)
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(QCoreApplication::applicationName()),
                     qUtf8Printable(line));

    // One instance per session: the first start takes the bus name, a later one hands its paths
    // to it and ends. Without a session bus every start runs on its own.
    std::unique_ptr<InstanceServer> server;
    if (const QDBusConnection bus = QDBusConnection::sessionBus(); bus.isConnected()) {
        server = std::make_unique<InstanceServer>(bus);
        if (!server->listen()) {
            server.reset();
            const QString token = qEnvironmentVariable("XDG_ACTIVATION_TOKEN");
            if (!commandLine.newWindow && InstanceClient(bus).sendAndWait(commandLine.paths, token))
                return 0;
        }
    }

    // The installed theme icon when there is one, else the copy compiled into the program.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(KESTRUNE_APP_ID),
                                                 QIcon(QStringLiteral(":/icons/" KESTRUNE_APP_ID ".svg"))));
    // A style that paints with the palette, so the program's light and dark palettes hold on
    // every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QFont font = QApplication::font();
    font.setPixelSize(SystemFont::defaultPixelSize);
    QApplication::setFont(font);

    AppDelegate delegate;
    if (server)
        connect(server.get(), &InstanceServer::openRequested, &delegate,
                &AppDelegate::openFromAnotherInstance);
    delegate.applicationDidFinishLaunching(commandLine.paths);
    return QApplication::exec();
}

void AppDelegate::applicationDidFinishLaunching(const QStringList &paths)
{
    // The desktop's colour scheme counts in system mode; read it before the first frame.
    m_themeController->setSystemAppearance(m_desktopColorScheme->read());
    connect(m_desktopColorScheme.get(), &DesktopColorScheme::preferenceChanged, m_themeController.get(),
            &ThemeController::setSystemAppearance);
    m_desktopColorScheme->watch();
    m_themeController->applyAppearance();

    PreviewZoom::shared().setPercent(m_session->previewZoom());
    connect(&PreviewZoom::shared(), &PreviewZoom::changed, m_session.get(), &AppSession::setPreviewZoom);
    auto window = std::make_unique<MainWindow>(*m_themeController, *m_recentProjects);
    // The session's one choice, in the main menu beside the program's own commands.
    auto *reopen = new QAction(Localization::text("app.action.reopen_at_start"), window.get());
    reopen->setObjectName(QStringLiteral("reopenProjectsAtStart"));
    reopen->setCheckable(true);
    reopen->setChecked(m_session->reopensProjectsAtStart());
    connect(reopen, &QAction::toggled, m_session.get(), &AppSession::setReopensProjectsAtStart);
    window->commands().add(reopen, MainWindowActions::Group::application);
    // Following the folders on disk, beside the refresh it makes unnecessary.
    MainContentView *content = window->contentView();
    content->liveUpdates().setEnabled(m_session->watchesProjects());
    content->projectHistory().setFollowing(m_session->watchesProjects());
    auto *watch = new QAction(Localization::text("app.action.watch_projects"), window.get());
    watch->setObjectName(QStringLiteral("watchProjects"));
    watch->setCheckable(true);
    watch->setChecked(m_session->watchesProjects());
    connect(watch, &QAction::toggled, m_session.get(), &AppSession::setWatchesProjects);
    connect(watch, &QAction::toggled, &content->liveUpdates(), &LiveProjectUpdates::setEnabled);
    connect(watch, &QAction::toggled, &content->projectHistory(), &ProjectHistory::setFollowing);
    window->commands().add(watch, MainWindowActions::Group::project);
    // Whether previews fetch pictures from the web: reading a document then tells its servers.
    content->setLoadsRemoteImages(m_session->loadsRemoteImages());
    auto *remoteImages = new QAction(Localization::text("app.action.remote_images"), window.get());
    remoteImages->setObjectName(QStringLiteral("loadRemoteImages"));
    remoteImages->setCheckable(true);
    remoteImages->setChecked(m_session->loadsRemoteImages());
    connect(remoteImages, &QAction::toggled, m_session.get(), &AppSession::setLoadsRemoteImages);
    connect(remoteImages, &QAction::toggled, content, &MainContentView::setLoadsRemoteImages);
    window->commands().add(remoteImages, MainWindowActions::Group::view);
    // Desktop notifications about finished, new and archived changes while the window is away.
    auto *notifications = new ChangeNotifications(*window, QDBusConnection::sessionBus(), window.get());
    notifications->setEnabled(m_session->notifiesChanges());
    auto *notify = new QAction(Localization::text("app.action.notify_changes"), window.get());
    notify->setObjectName(QStringLiteral("notifyAboutChanges"));
    notify->setCheckable(true);
    notify->setChecked(m_session->notifiesChanges());
    connect(notify, &QAction::toggled, m_session.get(), &AppSession::setNotifiesChanges);
    connect(notify, &QAction::toggled, notifications, &ChangeNotifications::setEnabled);
    window->commands().add(notify, MainWindowActions::Group::project);
    addReadingCommands(*window);
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!m_session->restoreWindow(*window) && screen) {
        QRect frame = window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window->move(frame.topLeft());
    }
    window->show();
    window->raise();
    window->activateWindow();
    m_mainWindow = std::move(window);

    MainContentView *view = m_mainWindow->contentView();
    if (paths.isEmpty() && m_session->reopensProjectsAtStart())
        m_session->reopenProjects(*view);
    m_session->track(*m_mainWindow);
    connect(view, &MainContentView::projectOpened, m_recentProjects.get(),
            [this](const QUrl &root) { m_recentProjects->add(root.toLocalFile()); });
    if (!paths.isEmpty())
        view->openPaths(paths);
}

void AppDelegate::addReadingCommands(MainWindow &window)
{
    MainContentView *content = window.contentView();
    // Off hides every mark; the history is still kept and recorded.
    content->setShowsUnreadMarks(m_session->showsUnreadMarks());
    auto *marks = new QAction(Localization::text("reading.action.show_marks"), &window);
    marks->setObjectName(QStringLiteral("showUnreadMarks"));
    marks->setCheckable(true);
    marks->setChecked(m_session->showsUnreadMarks());
    connect(marks, &QAction::toggled, m_session.get(), &AppSession::setShowsUnreadMarks);
    connect(marks, &QAction::toggled, content, &MainContentView::setShowsUnreadMarks);
    window.commands().add(marks, MainWindowActions::Group::view);
    auto *markAll = new QAction(Localization::text("reading.action.mark_all_read"), &window);
    markAll->setObjectName(QStringLiteral("markAllAsRead"));
    connect(markAll, &QAction::triggered, content, &MainContentView::markAllAsRead);
    window.commands().add(markAll, MainWindowActions::Group::project);
    auto *forget = new QAction(Localization::text("reading.action.forget"), &window);
    forget->setObjectName(QStringLiteral("forgetReadingHistory"));
    connect(forget, &QAction::triggered, content, [content, window = &window] {
        const std::optional<QUrl> root = content->effectiveProjectRoot();
        if (!root)
            return;
        QMessageBox question(QMessageBox::Question, Localization::text("reading.forget.title"),
                             Localization::format("reading.forget.question", ProjectStore::folderName(*root)),
                             QMessageBox::Cancel, window);
        QPushButton *confirm =
            question.addButton(Localization::text("reading.forget.confirm"), QMessageBox::DestructiveRole);
        question.setDefaultButton(QMessageBox::Cancel);
        question.exec();
        if (question.clickedButton() == confirm)
            content->forgetReadingHistory();
    });
    window.commands().add(forget, MainWindowActions::Group::project);
    const auto enable = [content, markAll, forget] {
        const bool hasProject = content->effectiveProjectRoot().has_value();
        markAll->setEnabled(hasProject);
        forget->setEnabled(hasProject);
    };
    connect(content, &MainContentView::stateChanged, markAll, enable);
    enable();
}

void AppDelegate::openFromAnotherInstance(const QStringList &paths, const QString &activationToken)
{
    if (!m_mainWindow)
        return;
    if (!paths.isEmpty())
        m_mainWindow->contentView()->openPaths(paths);
    m_mainWindow->bringForward(activationToken);
}

} // namespace kestrune
