// Desktop notifications about a project's changes, sent to a fake notification service on a
// session bus of the test's own (dbus-run-session): one per finished, new or archived change
// while the window is away, at most one a project a minute, none when turned off or while the
// window is active; a click brings the window forward on the change.
#include "app/appdelegate.h"
#include "app/appsession.h"
#include "app/changenotifications.h"
#include "app/maincontentview.h"
#include "app/mainwindow.h"
#include "app/mainwindowactions.h"
#include "app/recentprojects.h"
#include "project/liveprojectupdates.h"
#include "text/backgroundpool.h"
#include "ui/localization.h"
#include "ui/themecontroller.h"

#include <QAction>
#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

using namespace kestrune;

namespace {

using namespace std::chrono_literals;

const QString serviceName = QStringLiteral("org.freedesktop.Notifications");
const QString servicePath = QStringLiteral("/org/freedesktop/Notifications");

// Stands in for the desktop's notification service, on a connection of its own.
class FakeNotificationService : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Notification
    {
        uint id = 0;
        QString appName;
        QString icon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
    };

    FakeNotificationService()
        : m_connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus, name()))
    {
        m_connection.registerObject(servicePath, this, QDBusConnection::ExportAllSlots);
        m_connection.registerService(serviceName);
    }
    ~FakeNotificationService() override
    {
        m_connection.unregisterService(serviceName);
        m_connection.unregisterObject(servicePath);
        QDBusConnection::disconnectFromBus(name());
    }
    FakeNotificationService(const FakeNotificationService &) = delete;
    FakeNotificationService &operator=(const FakeNotificationService &) = delete;

    const QList<Notification> &received() const { return m_received; }

    // What the desktop says when the notification is clicked.
    void click(uint id, const QString &action = QStringLiteral("default"))
    {
        QDBusMessage signal =
            QDBusMessage::createSignal(servicePath, serviceName, QStringLiteral("ActionInvoked"));
        signal << id << action;
        m_connection.send(signal);
    }

public Q_SLOTS:
    uint Notify(const QString &appName, uint replacesId, const QString &icon, const QString &summary,
                const QString &body, const QStringList &actions, const QVariantMap &hints, int timeout)
    {
        Q_UNUSED(replacesId);
        Q_UNUSED(timeout);
        const uint id = uint(m_received.size()) + 41;
        m_received.append({id, appName, icon, summary, body, actions, hints});
        return id;
    }
    QStringList GetCapabilities() { return {QStringLiteral("actions"), QStringLiteral("body")}; }
    void CloseNotification(uint id) { Q_UNUSED(id); }

private:
    static QString name() { return QStringLiteral("fake notification service"); }

    QDBusConnection m_connection;
    QList<Notification> m_received;
};

// A project on disk with one active change whose tasks are half done.
class ProjectOnDisk
{
public:
    explicit ProjectOnDisk(const QString &name) : m_root(m_dir.filePath(name))
    {
        writeChange(QStringLiteral("add-login"), "- [x] one\n- [ ] two\n");
    }

    QUrl url() const { return QUrl::fromLocalFile(m_root); }
    QString pathOf(const QString &relative) const { return m_root + QLatin1Char('/') + relative; }

    void write(const QString &relative, const QByteArray &bytes) const
    {
        const QString path = pathOf(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
    }
    void writeChange(const QString &change, const QByteArray &tasks) const
    {
        const QString folder = QStringLiteral("kestrune/changes/") + change + QLatin1Char('/');
        write(folder + QStringLiteral("proposal.md"), "# Proposal\n");
        write(folder + QStringLiteral("design.md"), "# Design\n");
        write(folder + QStringLiteral("specs/auth/spec.md"), "## ADDED Requirements\n");
        write(folder + QStringLiteral("tasks.md"), tasks);
    }
    void archive(const QString &change, const QString &archivedName) const
    {
        QDir().mkpath(pathOf(QStringLiteral("kestrune/changes/archive")));
        if (!QDir().rename(pathOf(QStringLiteral("kestrune/changes/") + change),
                           pathOf(QStringLiteral("kestrune/changes/archive/") + archivedName)))
            qFatal("cannot archive %s", qPrintable(change));
    }

private:
    QTemporaryDir m_dir;
    QString m_root;
};

// Counts the lines logged that say notifications cannot be shown.
int unavailableLines = 0;
QtMessageHandler previousHandler = nullptr;

void countUnavailableLines(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(QLatin1String("desktop notifications are not shown")))
        ++unavailableLines;
    previousHandler(type, context, message);
}

} // namespace

class TestChangeNotifications : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    // First: the line about a missing service is said once a process.
    void withoutAServiceNothingIsShownAndOneLineSaysSo();
    void aFinishedChangeWhileTheWindowIsAwaySendsOneNotification();
    void newAndArchivedChangesAreToldAndOtherEditsAreNot();
    void eventsWithinAMinuteBecomeOneNotification();
    void nothingIsSentWhenTurnedOffOrWhileTheWindowIsActive();
    void clickingBringsTheWindowForwardOnTheChange();
    void clickingANotificationOfSeveralChangesShowsTheDashboard();
    void theChoiceIsOffByDefaultAndKeptInTheSettings();

private:
    // Has the project's folder scanned again and waits for its new summary.
    bool rescan(const ProjectOnDisk &project);
    void openProject(const ProjectOnDisk &project);

    std::unique_ptr<QTemporaryDir> m_settingsDir;
    std::unique_ptr<ThemeController> m_theme;
    std::unique_ptr<RecentProjects> m_recent;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<ChangeNotifications> m_notifications;
    std::chrono::steady_clock::time_point m_now = std::chrono::steady_clock::time_point() + 24h;
};

void TestChangeNotifications::initTestCase()
{
    if (!qEnvironmentVariableIsSet("KESTRUNE_PRIVATE_SESSION_BUS"))
        QSKIP("needs a session bus of its own: run through CTest, which starts dbus-run-session");
    QVERIFY(QDBusConnection::sessionBus().isConnected());
    QStandardPaths::setTestModeEnabled(true);
    AppDelegate::setApplicationIdentity();
    Localization::install(qApp, QLocale(QLocale::English));
    previousHandler = qInstallMessageHandler(countUnavailableLines);
}

void TestChangeNotifications::init()
{
    m_settingsDir = std::make_unique<QTemporaryDir>();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsDir->path());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir->path());
    m_theme = std::make_unique<ThemeController>(std::make_unique<QSettings>(
        m_settingsDir->filePath(QStringLiteral("theme.ini")), QSettings::IniFormat));
    m_recent = std::make_unique<RecentProjects>(std::make_unique<QSettings>(
        m_settingsDir->filePath(QStringLiteral("recent.ini")), QSettings::IniFormat));
    m_window = std::make_unique<MainWindow>(*m_theme, *m_recent);
    // The test says when the folders are read again.
    m_window->contentView()->liveUpdates().setEnabled(false);
    m_notifications = std::make_unique<ChangeNotifications>(*m_window, QDBusConnection::sessionBus());
    m_notifications->setClock([this] { return m_now; });
    m_notifications->setEnabled(true);
}

void TestChangeNotifications::cleanup()
{
    m_notifications.reset();
    m_window.reset();
    BackgroundPool::instance()->waitForDone();
    m_recent.reset();
    m_theme.reset();
}

void TestChangeNotifications::openProject(const ProjectOnDisk &project)
{
    MainContentView *view = m_window->contentView();
    view->store().importProject(project.url());
    QTRY_VERIFY(view->store().summaryForProject(project.url()).has_value());
    QTRY_VERIFY(!view->store().isLoading(project.url()));
}

bool TestChangeNotifications::rescan(const ProjectOnDisk &project)
{
    ProjectStore &store = m_window->contentView()->store();
    QSignalSpy published(&store, &ProjectStore::summaryByProjectChanged);
    store.refreshProject(project.url());
    return published.wait(10000);
}

void TestChangeNotifications::withoutAServiceNothingIsShownAndOneLineSaysSo()
{
    const ProjectOnDisk project(QStringLiteral("quiet"));
    openProject(project);
    QSignalSpy answered(m_notifications.get(), &ChangeNotifications::serviceAnswered);
    project.writeChange(QStringLiteral("add-search"), "- [ ] one\n");
    QVERIFY(rescan(project));
    QVERIFY(answered.wait(10000));
    QCOMPARE(answered.takeFirst().at(0).toBool(), false);
    QCOMPARE(unavailableLines, 1);

    m_now += 2min;
    project.writeChange(QStringLiteral("add-export"), "- [ ] one\n");
    QVERIFY(rescan(project));
    QVERIFY(answered.wait(10000));
    QCOMPARE(answered.takeFirst().at(0).toBool(), false);
    QCOMPARE(unavailableLines, 1);

    // No session bus at all: the same silence.
    const QString noBus = QStringLiteral("no bus");
    {
        const QDBusConnection unconnected =
            QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), noBus);
        QVERIFY(!unconnected.isConnected());
        ChangeNotifications offline(*m_window, unconnected);
        offline.setEnabled(true);
        QSignalSpy offlineAnswered(&offline, &ChangeNotifications::serviceAnswered);
        QVERIFY(rescan(project)); // what it compares with
        m_now += 2min;
        project.writeChange(QStringLiteral("add-import"), "- [ ] one\n");
        QVERIFY(rescan(project));
        QTRY_COMPARE(offlineAnswered.count(), 1);
        QCOMPARE(offlineAnswered.takeFirst().at(0).toBool(), false);
    }
    QDBusConnection::disconnectFromBus(noBus);
    QCOMPARE(unavailableLines, 1);
}

void TestChangeNotifications::aFinishedChangeWhileTheWindowIsAwaySendsOneNotification()
{
    FakeNotificationService service;
    const ProjectOnDisk project(QStringLiteral("lantern"));
    openProject(project); // a first summary is no news
    QVERIFY(!m_window->isActiveWindow());

    project.write(QStringLiteral("kestrune/changes/add-login/tasks.md"), "- [x] one\n- [x] two\n");
    QVERIFY(rescan(project));
    QTRY_COMPARE(service.received().size(), 1);
    const FakeNotificationService::Notification &sent = service.received().constFirst();
    QCOMPARE(sent.summary, QStringLiteral("lantern"));
    QCOMPARE(sent.body, QStringLiteral("All tasks of “add-login” are done"));
    QCOMPARE(sent.appName, QStringLiteral("Kestrune Viewer"));
    QCOMPARE(sent.icon, QStringLiteral(KESTRUNE_APP_ID));
    QCOMPARE(sent.actions.value(0), QStringLiteral("default"));
    QCOMPARE(sent.actions.value(1), QStringLiteral("Show"));
    QCOMPARE(sent.hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral(KESTRUNE_APP_ID));

    // Scanned again unchanged, a minute later: nothing new, nothing sent; the next news is the
    // next notification.
    m_now += 2min;
    QVERIFY(rescan(project));
    project.writeChange(QStringLiteral("add-search"), "- [ ] one\n");
    QVERIFY(rescan(project));
    QTRY_COMPARE(service.received().size(), 2);
    QCOMPARE(service.received().at(1).body, QStringLiteral("New change “add-search”"));
}

void TestChangeNotifications::newAndArchivedChangesAreToldAndOtherEditsAreNot()
{
    FakeNotificationService service;
    const ProjectOnDisk project(QStringLiteral("lantern"));
    openProject(project);

    project.write(QStringLiteral("kestrune/changes/add-login/proposal.md"), "# Proposal, longer\n");
    project.write(QStringLiteral("kestrune/changes/add-login/tasks.md"),
                  "- [x] one\n- [ ] two\n- [ ] three\n");
    project.write(QStringLiteral("kestrune/specs/auth/spec.md"), "### Requirement: Sign in\n");
    QVERIFY(rescan(project));
    project.archive(QStringLiteral("add-login"), QStringLiteral("2025-03-03-add-login"));
    QVERIFY(rescan(project));
    QTRY_COMPARE(service.received().size(), 1);
    QCOMPARE(service.received().constFirst().body, QStringLiteral("“add-login” was archived"));
}

void TestChangeNotifications::eventsWithinAMinuteBecomeOneNotification()
{
    FakeNotificationService service;
    const ProjectOnDisk project(QStringLiteral("lantern"));
    const ProjectOnDisk other(QStringLiteral("harbour"));
    openProject(project);
    openProject(other);

    project.writeChange(QStringLiteral("add-search"), "- [ ] one\n");
    QVERIFY(rescan(project));
    QTRY_COMPARE(service.received().size(), 1);

    m_now += 10s;
    project.write(QStringLiteral("kestrune/changes/add-login/tasks.md"), "- [x] one\n- [x] two\n");
    QVERIFY(rescan(project));
    m_now += 10s;
    project.writeChange(QStringLiteral("add-export"), "- [ ] one\n");
    QVERIFY(rescan(project));
    QVERIFY(m_notifications->hasWaitingEvents());
    // Another project has a minute of its own.
    other.writeChange(QStringLiteral("add-harbour"), "- [ ] one\n");
    QVERIFY(rescan(other));
    QTRY_COMPARE(service.received().size(), 2);
    QCOMPARE(service.received().at(1).summary, QStringLiteral("harbour"));

    m_now += 30s; // 50 s after the first
    m_notifications->sendDueNotifications();
    QVERIFY(m_notifications->hasWaitingEvents());
    m_now += 10s;
    m_notifications->sendDueNotifications();
    QVERIFY(!m_notifications->hasWaitingEvents());
    QTRY_COMPARE(service.received().size(), 3);
    QCOMPARE(service.received().at(2).summary, QStringLiteral("lantern"));
    QCOMPARE(service.received().at(2).body,
             QStringLiteral("All tasks of “add-login” are done\nNew change “add-export”"));

    // A busy minute is told in a few lines and a count.
    QList<ChangeEvent> many;
    for (int index = 0; index < 7; ++index)
        many.append({ChangeEvent::Kind::added, QStringLiteral("change-%1").arg(index), QUrl()});
    const QStringList lines = ChangeNotifications::textOf(QStringLiteral("lantern"), many).second.split('\n');
    QCOMPARE(lines.size(), ChangeNotifications::mostLinesTold + 1);
    QCOMPARE(lines.constFirst(), QStringLiteral("New change “change-0”"));
    QCOMPARE(lines.constLast(), QStringLiteral("and 2 more"));
}

void TestChangeNotifications::nothingIsSentWhenTurnedOffOrWhileTheWindowIsActive()
{
    FakeNotificationService service;
    const ProjectOnDisk project(QStringLiteral("lantern"));
    openProject(project);
    // Another window of the desktop, to take the focus from the program's.
    QWidget elsewhere;
    const auto activate = [](QWidget &window) {
        window.show();
        window.activateWindow();
        QTRY_VERIFY(window.isActiveWindow());
    };

    m_notifications->setEnabled(false);
    project.writeChange(QStringLiteral("add-search"), "- [ ] one\n");
    QVERIFY(rescan(project));

    m_notifications->setEnabled(true);
    activate(*m_window);
    project.writeChange(QStringLiteral("add-export"), "- [ ] one\n");
    QVERIFY(rescan(project));

    activate(elsewhere);
    QVERIFY(!m_window->isActiveWindow());
    project.write(QStringLiteral("kestrune/changes/add-login/tasks.md"), "- [x] one\n- [x] two\n");
    QVERIFY(rescan(project));
    QTRY_COMPARE(service.received().size(), 1);
    QCOMPARE(service.received().constFirst().body, QStringLiteral("All tasks of “add-login” are done"));

    // What waits for the end of the minute is dropped when the window comes forward.
    project.writeChange(QStringLiteral("add-import"), "- [ ] one\n");
    QVERIFY(rescan(project));
    QVERIFY(m_notifications->hasWaitingEvents());
    activate(*m_window);
    m_now += 1min;
    m_notifications->sendDueNotifications();
    QVERIFY(!m_notifications->hasWaitingEvents());
    // The next news once the window is away again is the next notification.
    activate(elsewhere);
    m_now += 1min;
    project.archive(QStringLiteral("add-login"), QStringLiteral("add-login"));
    QVERIFY(rescan(project));
    QTRY_COMPARE(service.received().size(), 2);
    QCOMPARE(service.received().at(1).body, QStringLiteral("“add-login” was archived"));
}

void TestChangeNotifications::clickingBringsTheWindowForwardOnTheChange()
{
    FakeNotificationService service;
    const ProjectOnDisk first(QStringLiteral("alpha"));
    const ProjectOnDisk project(QStringLiteral("lantern"));
    openProject(first);
    openProject(project);
    MainContentView *view = m_window->contentView();
    view->setSelectedProjectRoot(first.url());

    QSignalSpy answered(m_notifications.get(), &ChangeNotifications::serviceAnswered);
    project.archive(QStringLiteral("add-login"), QStringLiteral("2025-03-03-add-login"));
    QVERIFY(rescan(project));
    QTRY_COMPARE(answered.count(), 1);
    QCOMPARE(service.received().size(), 1);

    service.click(service.received().constFirst().id + 1); // another notification: not ours
    service.click(service.received().constFirst().id);
    QTRY_VERIFY(m_window->isActiveWindow());
    QCOMPARE(view->selectedProjectRoot(), std::optional<QUrl>(project.url()));
    QTRY_VERIFY(view->selectedNode().has_value());
    QCOMPARE(view->selectedNode()->url, QUrl::fromLocalFile(project.pathOf(QStringLiteral(
                                            "kestrune/changes/archive/2025-03-03-add-login/proposal.md"))));
    QVERIFY(view->isShowingPreview());
}

void TestChangeNotifications::clickingANotificationOfSeveralChangesShowsTheDashboard()
{
    FakeNotificationService service;
    const ProjectOnDisk project(QStringLiteral("lantern"));
    openProject(project);
    MainContentView *view = m_window->contentView();
    QSignalSpy answered(m_notifications.get(), &ChangeNotifications::serviceAnswered);
    project.writeChange(QStringLiteral("add-search"), "- [ ] one\n");
    project.write(QStringLiteral("kestrune/changes/add-login/tasks.md"), "- [x] one\n- [x] two\n");
    QVERIFY(rescan(project));
    QTRY_COMPARE(answered.count(), 1);
    QCOMPARE(service.received().size(), 1);
    QCOMPARE(service.received().constFirst().body.count(QLatin1Char('\n')), 1);
    view->openLocation(project.url(),
                       QUrl::fromLocalFile(project.pathOf("kestrune/changes/add-login/design.md")));
    QTRY_VERIFY(view->isShowingPreview());

    service.click(service.received().constFirst().id);
    QTRY_VERIFY(m_window->isActiveWindow());
    QVERIFY(!view->selectedNode().has_value());
    QVERIFY(!view->isShowingPreview());
}

void TestChangeNotifications::theChoiceIsOffByDefaultAndKeptInTheSettings()
{
    {
        AppDelegate first;
        first.applicationDidFinishLaunching({});
        auto *choice = first.mainWindow()->findChild<QAction *>(QStringLiteral("notifyAboutChanges"));
        QVERIFY(choice && choice->isCheckable() && !choice->isChecked());
        QVERIFY(first.mainWindow()
                    ->commands()
                    .actions(MainWindowActions::Group::project, MainWindowActions::Listing::menuAndShortcuts)
                    .contains(choice));
        auto *notifications = first.mainWindow()->findChild<ChangeNotifications *>();
        QVERIFY(notifications && !notifications->isEnabled());
        choice->setChecked(true);
        QVERIFY(notifications->isEnabled());
        first.mainWindow()->close();
    }
    // In the settings file the theme's preference is kept in.
    QCOMPARE(QSettings().value(QLatin1String(AppSession::notifyChangesKey)).toBool(), true);
    AppDelegate second;
    second.applicationDidFinishLaunching({});
    QVERIFY(second.mainWindow()->findChild<QAction *>(QStringLiteral("notifyAboutChanges"))->isChecked());
    QVERIFY(second.mainWindow()->findChild<ChangeNotifications *>()->isEnabled());
}

QTEST_MAIN(TestChangeNotifications)
#include "tst_changenotifications.moc"
