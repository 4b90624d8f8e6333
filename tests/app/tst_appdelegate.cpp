#include "app/appdelegate.h"
#include "app/commandline.h"
#include "app/maincontentview.h"
#include "app/mainwindow.h"
#include "ui/themecontroller.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
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
    void commandLine_data();
    void commandLine();

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
    QThreadPool::globalInstance()->waitForDone();
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

void TestAppDelegate::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("folders");
    QTest::addColumn<int>("exitCode"); // -1: the program goes on
    const QString current = QDir::currentPath();
    QTest::addRow("no arguments") << QStringList{"kestrune-viewer"} << QStringList{} << -1;
    QTest::addRow("folders become absolute and clean")
        << QStringList{"kestrune-viewer", "rel/app", "/abs/x/../y/"}
        << QStringList{current + "/rel/app", "/abs/y"} << -1;
    QTest::addRow("version") << QStringList{"kestrune-viewer", "--version"} << QStringList{} << 0;
    QTest::addRow("help") << QStringList{"kestrune-viewer", "--help"} << QStringList{} << 0;
    QTest::addRow("unknown option") << QStringList{"kestrune-viewer", "--frobnicate"} << QStringList{} << 1;
}

void TestAppDelegate::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, folders);
    QFETCH(int, exitCode);
    const CommandLine commandLine = CommandLine::parse(arguments);
    QCOMPARE(commandLine.exitCode.value_or(-1), exitCode);
    if (exitCode < 0)
        QCOMPARE(commandLine.folders, folders);
}

QTEST_MAIN(TestAppDelegate)
#include "tst_appdelegate.moc"
