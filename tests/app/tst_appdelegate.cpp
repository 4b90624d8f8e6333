#include "app/appdelegate.h"
#include "app/appsession.h"
#include "app/commandline.h"
#include "app/maincontentview.h"
#include "app/mainwindow.h"
#include "app/mainwindowactions.h"
#include "app/recentprojects.h"
#include "app/recentprojectsmenu.h"
#include "app/sidebarpane.h"
#include "app/splitview.h"
#include "project/liveprojectupdates.h"
#include "text/backgroundpool.h"
#include "ui/themecontroller.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

using namespace kestrune;

namespace {

// Notes the appearance in force when the main window is first shown.
class ShowWatcher : public QObject
{
public:
    std::optional<Appearance> appearanceAtFirstShow;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && qobject_cast<MainWindow *>(watched) && !appearanceAtFirstShow)
            appearanceAtFirstShow = appearanceOf(static_cast<QWidget *>(watched)->palette());
        return false;
    }
};

} // namespace

class TestAppDelegate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void windowOpensCentredAtItsContentSize();
    void savedDarkThemeIsInForceForTheFirstFrame();
    void foldersOnTheCommandLineAreImportedLikeChosenOnes();
    void quitKeyIsBound();
    void pathsHandedOverOpenInTheRaisedWindow();
    void windowAndProjectsComeBackAtTheNextStart();
    void maximisedWindowComesBackMaximised();
    void whatTheNextStartReopens_data();
    void whatTheNextStartReopens();
    void openProjectsAreWrittenAsTheyChange();
    void recentProjectsMenuOpensTheChosenProject();
    void followingChangesOnDiskIsAChoiceKeptBesideTheTheme();
    void loadingRemoteImagesIsAChoiceKeptBesideTheTheme();
    void commandLine_data();
    void commandLine();
    void unusablePathsAreNamedWithTheirReasons();
    void programAnswersAsEveryQtProgram_data();
    void programAnswersAsEveryQtProgram();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestAppDelegate::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    AppDelegate::setApplicationIdentity();
}

void TestAppDelegate::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_home->path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_home->path());
}

void TestAppDelegate::cleanup()
{
    BackgroundPool::instance()->waitForDone();
}

void TestAppDelegate::windowOpensCentredAtItsContentSize()
{
    AppDelegate delegate;
    QVERIFY(!delegate.mainWindow());
    delegate.applicationDidFinishLaunching();
    MainWindow *window = delegate.mainWindow();
    QVERIFY(window);
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->size(), QSize(1200, 1000));
    QCOMPARE(window->minimumSize(), QSize(600, 400));
    QCOMPARE(window->windowTitle(), QStringLiteral("app.title"));
    const QPoint screenCentre = window->screen()->availableGeometry().center();
    // Within the rounding of the frame's margins.
    QVERIFY(qAbs(window->frameGeometry().center().x() - screenCentre.x()) <= 3);
    QVERIFY(qAbs(window->frameGeometry().center().y() - screenCentre.y()) <= 3);
    QCOMPARE(delegate.themeController().mode(), ThemeMode::system);
}

void TestAppDelegate::savedDarkThemeIsInForceForTheFirstFrame()
{
    QSettings().setValue(QLatin1String(ThemeController::preferenceKey), QStringLiteral("dark"));
    ThemeController(std::make_unique<QSettings>()).setMode(ThemeMode::light); // start from light
    QSettings().setValue(QLatin1String(ThemeController::preferenceKey), QStringLiteral("dark"));
    QCOMPARE(currentAppearance(), Appearance::light);

    ShowWatcher watcher;
    qApp->installEventFilter(&watcher);
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    qApp->removeEventFilter(&watcher);
    QCOMPARE(watcher.appearanceAtFirstShow, Appearance::dark);
    QCOMPARE(QSettings().value(QLatin1String(ThemeController::preferenceKey)).toString(),
             QStringLiteral("dark"));
}

void TestAppDelegate::foldersOnTheCommandLineAreImportedLikeChosenOnes()
{
    QTemporaryDir folders;
    QVERIFY(QDir(folders.path()).mkpath(QStringLiteral("app/kestrune")));
    QVERIFY(QDir(folders.path()).mkpath(QStringLiteral("notes")));
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching(
        {folders.filePath(QStringLiteral("app")), folders.filePath(QStringLiteral("notes"))});
    MainContentView *view = delegate.mainWindow()->contentView();
    QCOMPARE(view->store().projectRoots(),
             QList<QUrl>{QUrl::fromLocalFile(folders.filePath(QStringLiteral("app")))});
    QVERIFY(view->isShowingImportError());
    QCOMPARE(view->importError(), folders.filePath(QStringLiteral("notes")) +
                                      QStringLiteral(": import.failed.no_kestrune_folder"));
    QTRY_VERIFY(view->store().summaryForProject(view->store().projectRoots().constFirst()));
}

void TestAppDelegate::quitKeyIsBound()
{
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    bool bound = false;
    const auto actions = delegate.mainWindow()->actions();
    for (const QAction *action : actions)
        bound = bound || action->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QVERIFY(bound);
    QVERIFY(QGuiApplication::quitOnLastWindowClosed());
}

void TestAppDelegate::pathsHandedOverOpenInTheRaisedWindow()
{
    QTemporaryDir folders;
    QVERIFY(QDir(folders.path()).mkpath(QStringLiteral("app/kestrune/changes")));
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    MainWindow *window = delegate.mainWindow();
    window->showMinimized();
    QTRY_VERIFY(window->isMinimized());
    qunsetenv("XDG_ACTIVATION_TOKEN");

    delegate.openFromAnotherInstance(
        {folders.filePath(QStringLiteral("app/kestrune/changes")), folders.filePath(QStringLiteral("gone"))},
        QStringLiteral("token-1"));
    MainContentView *view = window->contentView();
    QCOMPARE(view->store().projectRoots(),
             QList<QUrl>{QUrl::fromLocalFile(folders.filePath(QStringLiteral("app")))});
    QCOMPARE(view->importError(),
             folders.filePath(QStringLiteral("gone")) + QStringLiteral(": import.failed.does_not_exist"));
    QVERIFY(!window->isMinimized());
    QVERIFY(window->isVisible());
    // Where the platform asks the compositor for the focus, it finds the token there.
    QCOMPARE(qEnvironmentVariable("XDG_ACTIVATION_TOKEN"), QStringLiteral("token-1"));
    qunsetenv("XDG_ACTIVATION_TOKEN");

    // A start without paths only raises the window.
    delegate.openFromAnotherInstance({}, QString());
    QCOMPARE(view->store().projectRoots().size(), 1);
    QVERIFY(!qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
    QTRY_VERIFY(view->store().summaryForProject(view->store().projectRoots().constFirst()));
}

void TestAppDelegate::windowAndProjectsComeBackAtTheNextStart()
{
    QTemporaryDir folders;
    QVERIFY(QDir(folders.path()).mkpath(QStringLiteral("alpha/kestrune")));
    QVERIFY(QDir(folders.path()).mkpath(QStringLiteral("beta/kestrune")));
    const QUrl alpha = QUrl::fromLocalFile(folders.filePath(QStringLiteral("alpha")));
    const QUrl beta = QUrl::fromLocalFile(folders.filePath(QStringLiteral("beta")));
    QRect geometry;
    int sidebarWidth = 0;
    {
        AppDelegate first;
        first.applicationDidFinishLaunching({beta.toLocalFile(), alpha.toLocalFile()});
        MainWindow *window = first.mainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->setGeometry(QRect(30, 40, 700, 500));
        SplitView *split = window->contentView()->splitView();
        split->setSizes({310, split->width() - 310});
        window->contentView()->setSelectedProjectRoot(beta);
        QTRY_COMPARE(window->geometry(), QRect(30, 40, 700, 500));
        geometry = window->geometry();
        sidebarWidth = window->contentView()->sidebar()->width();
        QCOMPARE(sidebarWidth, 310);
        QCOMPARE(first.recentProjects().paths(), (QStringList{alpha.toLocalFile(), beta.toLocalFile()}));
        window->close();
    }

    AppDelegate second;
    second.applicationDidFinishLaunching();
    MainWindow *window = second.mainWindow();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    MainContentView *view = window->contentView();
    QCOMPARE(view->store().projectRoots(), (QList<QUrl>{alpha, beta}));
    QCOMPARE(view->selectedProjectRoot(), beta);
    QCOMPARE(window->geometry(), geometry);
    QTRY_COMPARE(view->sidebar()->width(), sidebarWidth);
    // Reopened, not opened anew: the recent projects keep their order.
    QCOMPARE(second.recentProjects().paths(), (QStringList{alpha.toLocalFile(), beta.toLocalFile()}));
    QTRY_VERIFY(view->store().summaryForProject(alpha) && view->store().summaryForProject(beta));
}

void TestAppDelegate::maximisedWindowComesBackMaximised()
{
    {
        AppDelegate first;
        first.applicationDidFinishLaunching();
        first.mainWindow()->showMaximized();
        QTRY_VERIFY(first.mainWindow()->isMaximized());
        first.mainWindow()->close();
    }
    AppDelegate second;
    second.applicationDidFinishLaunching();
    QVERIFY(second.mainWindow()->isMaximized());
}

void TestAppDelegate::whatTheNextStartReopens_data()
{
    QTest::addColumn<QStringList>("arguments"); // folders named at the second start
    QTest::addColumn<bool>("reopen");           // the setting
    QTest::addColumn<bool>("alphaGone");        // alpha deleted in between
    QTest::addColumn<QStringList>("open");      // after the second start
    QTest::addRow("the remembered projects")
        << QStringList{} << true << false << QStringList{"alpha", "beta"};
    QTest::addRow("folders on the command line instead")
        << QStringList{"gamma"} << true << false << QStringList{"gamma"};
    QTest::addRow("nothing when reopening is off") << QStringList{} << false << false << QStringList{};
    QTest::addRow("a project that is gone is left out")
        << QStringList{} << true << true << QStringList{"beta"};
}

void TestAppDelegate::whatTheNextStartReopens()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, reopen);
    QFETCH(bool, alphaGone);
    QFETCH(QStringList, open);
    QTemporaryDir folders;
    for (const QString &name : {QStringLiteral("alpha"), QStringLiteral("beta"), QStringLiteral("gamma")})
        QVERIFY(QDir(folders.path()).mkpath(name + QStringLiteral("/kestrune")));
    {
        AppDelegate first;
        first.applicationDidFinishLaunching(
            {folders.filePath(QStringLiteral("alpha")), folders.filePath(QStringLiteral("beta"))});
        QCOMPARE(first.session().reopensProjectsAtStart(), true);
        // Chosen in the main menu.
        auto *choice = first.mainWindow()->findChild<QAction *>(QStringLiteral("reopenProjectsAtStart"));
        QVERIFY(choice && choice->isChecked());
        MainWindowActions &commands = first.mainWindow()->commands();
        const QList<QAction *> application = commands.actions(MainWindowActions::Group::application,
                                                              MainWindowActions::Listing::menuAndShortcuts);
        QVERIFY(application.contains(choice));
        QCOMPARE(application.constLast(), commands.quit()); // quit stays last
        choice->setChecked(reopen);
        QCOMPARE(first.session().reopensProjectsAtStart(), reopen);
        first.mainWindow()->close();
    }
    if (alphaGone)
        QVERIFY(QDir(folders.filePath(QStringLiteral("alpha"))).removeRecursively());
    QStringList paths;
    for (const QString &name : std::as_const(arguments))
        paths.append(folders.filePath(name));
    QList<QUrl> expected;
    for (const QString &name : std::as_const(open))
        expected.append(QUrl::fromLocalFile(folders.filePath(name)));

    AppDelegate second;
    second.applicationDidFinishLaunching(paths);
    QCOMPARE(second.mainWindow()->findChild<QAction *>(QStringLiteral("reopenProjectsAtStart"))->isChecked(),
             reopen);
    MainContentView *view = second.mainWindow()->contentView();
    QCOMPARE(view->store().projectRoots(), expected);
    QVERIFY(!view->isShowingImportError());
    QTRY_VERIFY(std::all_of(expected.cbegin(), expected.cend(), [view](const QUrl &root) {
        return view->store().summaryForProject(root).has_value();
    }));
}

void TestAppDelegate::followingChangesOnDiskIsAChoiceKeptBesideTheTheme()
{
    {
        AppDelegate first;
        first.applicationDidFinishLaunching({});
        auto *choice = first.mainWindow()->findChild<QAction *>(QStringLiteral("watchProjects"));
        QVERIFY(choice && choice->isCheckable() && choice->isChecked());
        MainContentView *view = first.mainWindow()->contentView();
        QVERIFY(view->liveUpdates().isEnabled());
        QVERIFY(first.mainWindow()
                    ->commands()
                    .actions(MainWindowActions::Group::project, MainWindowActions::Listing::menuAndShortcuts)
                    .contains(choice));
        choice->setChecked(false);
        QVERIFY(!view->liveUpdates().isEnabled());
        first.mainWindow()->close();
    }
    // In the settings file the theme's preference is kept in.
    QCOMPARE(QSettings().value(QLatin1String(AppSession::watchProjectsKey)).toBool(), false);
    AppDelegate second;
    second.applicationDidFinishLaunching({});
    QVERIFY(!second.mainWindow()->findChild<QAction *>(QStringLiteral("watchProjects"))->isChecked());
    QVERIFY(!second.mainWindow()->contentView()->liveUpdates().isEnabled());
}

void TestAppDelegate::loadingRemoteImagesIsAChoiceKeptBesideTheTheme()
{
    {
        AppDelegate first;
        first.applicationDidFinishLaunching({});
        auto *choice = first.mainWindow()->findChild<QAction *>(QStringLiteral("loadRemoteImages"));
        QVERIFY(choice && choice->isCheckable() && choice->isChecked());
        MainContentView *view = first.mainWindow()->contentView();
        QVERIFY(view->loadsRemoteImages());
        QVERIFY(first.mainWindow()
                    ->commands()
                    .actions(MainWindowActions::Group::view, MainWindowActions::Listing::menuAndShortcuts)
                    .contains(choice));
        choice->setChecked(false);
        QVERIFY(!view->loadsRemoteImages());
        first.mainWindow()->close();
    }
    QCOMPARE(QSettings().value(QLatin1String(AppSession::remoteImagesKey)).toBool(), false);
    AppDelegate second;
    second.applicationDidFinishLaunching({});
    QVERIFY(!second.mainWindow()->findChild<QAction *>(QStringLiteral("loadRemoteImages"))->isChecked());
    QVERIFY(!second.mainWindow()->contentView()->loadsRemoteImages());
}

void TestAppDelegate::openProjectsAreWrittenAsTheyChange()
{
    QTemporaryDir folders;
    QVERIFY(QDir(folders.path()).mkpath(QStringLiteral("alpha/kestrune")));
    QVERIFY(QDir(folders.path()).mkpath(QStringLiteral("beta/kestrune")));
    const QString alpha = folders.filePath(QStringLiteral("alpha"));
    const QString beta = folders.filePath(QStringLiteral("beta"));
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching({alpha});
    MainContentView *view = delegate.mainWindow()->contentView();
    const auto saved = [] {
        const QSettings settings;
        return std::make_pair(settings.value(QLatin1String(AppSession::openProjectsKey)).toStringList(),
                              settings.value(QLatin1String(AppSession::selectedProjectKey)).toString());
    };
    QCOMPARE(saved(), std::make_pair(QStringList{alpha}, alpha));
    view->importFolder(QUrl::fromLocalFile(beta));
    QCOMPARE(saved(), std::make_pair((QStringList{alpha, beta}), beta));
    view->setSelectedProjectRoot(QUrl::fromLocalFile(alpha));
    QCOMPARE(saved(), std::make_pair((QStringList{alpha, beta}), alpha));
    view->removeProject(QUrl::fromLocalFile(alpha));
    QCOMPARE(saved(), std::make_pair(QStringList{beta}, beta));
    view->removeProject(QUrl::fromLocalFile(beta));
    QCOMPARE(saved(), std::make_pair(QStringList{}, QString()));
    // Closed projects stay among the recent ones.
    QCOMPARE(delegate.recentProjects().paths(), (QStringList{beta, alpha}));
    BackgroundPool::instance()->waitForDone();
}

void TestAppDelegate::recentProjectsMenuOpensTheChosenProject()
{
    QTemporaryDir folders;
    QVERIFY(QDir(folders.path()).mkpath(QStringLiteral("alpha/kestrune")));
    const QString alpha = folders.filePath(QStringLiteral("alpha"));
    RecentProjects(std::make_unique<QSettings>()).add(alpha);
    AppDelegate delegate;
    delegate.applicationDidFinishLaunching();
    MainContentView *view = delegate.mainWindow()->contentView();
    QVERIFY(view->store().projectRoots().isEmpty());
    RecentProjectsMenu *menu = delegate.mainWindow()->recentProjectsMenu();
    QVERIFY(menu);
    QCOMPARE(menu->actions().constFirst()->data().toString(), alpha);
    menu->actions().constFirst()->trigger();
    QCOMPARE(view->store().projectRoots(), QList<QUrl>{QUrl::fromLocalFile(alpha)});
    QCOMPARE(view->selectedProjectRoot(), QUrl::fromLocalFile(alpha));
    QTRY_VERIFY(view->store().summaryForProject(QUrl::fromLocalFile(alpha)));
}

void TestAppDelegate::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<int>("exitCode"); // -1: the program goes on
    const QString current = QDir::currentPath();
    QTest::addRow("no arguments") << QStringList{"kestrune-viewer"} << QStringList{} << -1;
    QTest::addRow("paths become absolute and clean")
        << QStringList{"kestrune-viewer", "rel/app", "/abs/x/../y/"}
        << QStringList{current + "/rel/app", "/abs/y"} << -1;
    QTest::addRow("a file URL from a launcher becomes its path")
        << QStringList{"kestrune-viewer", "file:///home/me/my%20project/", "FILE:///x/y"}
        << QStringList{"/home/me/my project", "/x/y"} << -1;
    QTest::addRow("after -- every argument is a path")
        << QStringList{"kestrune-viewer", "--", "--version"} << QStringList{current + "/--version"} << -1;
    QTest::addRow("a new window of its own")
        << QStringList{"kestrune-viewer", "--new-window", "a"} << QStringList{current + "/a"} << -1;
    QTest::addRow("an empty argument names nothing")
        << QStringList{"kestrune-viewer", ""} << QStringList{""} << -1;
    QTest::addRow("version") << QStringList{"kestrune-viewer", "--version"} << QStringList{} << 0;
    QTest::addRow("help") << QStringList{"kestrune-viewer", "--help"} << QStringList{} << 0;
    QTest::addRow("help with Qt's options")
        << QStringList{"kestrune-viewer", "--help-all"} << QStringList{} << 0;
    QTest::addRow("unknown option") << QStringList{"kestrune-viewer", "--frobnicate"} << QStringList{} << 1;
}

void TestAppDelegate::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, paths);
    QFETCH(int, exitCode);
    const CommandLine commandLine = CommandLine::parse(arguments);
    QCOMPARE(commandLine.exitCode.value_or(-1), exitCode);
    if (exitCode < 0) {
        QCOMPARE(commandLine.paths, paths);
        QCOMPARE(commandLine.newWindow, arguments.contains(QStringLiteral("--new-window")));
    }

    // The same arguments as the program receives them.
    std::vector<QByteArray> bytes;
    for (const QString &argument : std::as_const(arguments))
        bytes.push_back(argument.toLocal8Bit());
    std::vector<const char *> argv;
    for (const QByteArray &argument : bytes)
        argv.push_back(argument.constData());
    QCOMPARE(CommandLine::asksForTextOnly(int(argv.size()), argv.data()), exitCode == 0);
}

void TestAppDelegate::unusablePathsAreNamedWithTheirReasons()
{
    QTemporaryDir folders;
    QVERIFY(QDir(folders.path()).mkpath(QStringLiteral("app/kestrune")));
    CommandLine commandLine;
    commandLine.paths = {folders.filePath(QStringLiteral("gone")), folders.filePath(QStringLiteral("app")),
                         folders.path()};
    QCOMPARE(commandLine.unusablePaths(),
             (QStringList{folders.filePath(QStringLiteral("gone")) +
                              QStringLiteral(": import.failed.does_not_exist"),
                          folders.path() + QStringLiteral(": import.failed.no_kestrune_folder")}));
}

void TestAppDelegate::programAnswersAsEveryQtProgram_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("display"); // false: no display of any kind
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("printed"); // on standard output, or error for a usage error
    QTest::addRow("version without a display")
        << QStringList{"--version"} << false << 0 << QStringList{"kestrune-viewer " KESTRUNE_VERSION "\n"};
    QTest::addRow("help with Qt's options without a display")
        << QStringList{"--help-all"} << false << 0
        << QStringList{"--new-window", "Exit status: 0", "-reverse", "-platform"};
    QTest::addRow("unknown option beside Qt's own")
        << QStringList{"-reverse", "--frobnicate"} << true << 1 << QStringList{"frobnicate"};
}

void TestAppDelegate::programAnswersAsEveryQtProgram()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, display);
    QFETCH(int, exitCode);
    QFETCH(QStringList, printed);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // As on a build machine: no display and no session, so no runtime folder either.
    for (const QString &name :
         {QStringLiteral("DISPLAY"), QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("QT_QPA_PLATFORM"),
          QStringLiteral("LANGUAGE"), QStringLiteral("XDG_RUNTIME_DIR")})
        environment.remove(name);
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    if (display)
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(KESTRUNE_VIEWER_PROGRAM), arguments);
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    const QByteArray errors = program.readAllStandardError();
    const QString output = QString::fromUtf8(exitCode == 0 ? program.readAllStandardOutput() : errors);
    QVERIFY2(program.exitCode() == exitCode, qPrintable(output));
    for (const QString &text : std::as_const(printed))
        QVERIFY2(output.contains(text), qPrintable(output));
    // The text asked for, and nothing else: help2man reads standard error too.
    if (exitCode == 0)
        QVERIFY2(errors.isEmpty(), errors.constData());
}

QTEST_MAIN(TestAppDelegate)
#include "tst_appdelegate.moc"
