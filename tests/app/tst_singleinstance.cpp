#include "app/instanceclient.h"
#include "app/instanceserver.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrune;

namespace {

const QString appId = QStringLiteral(KESTRUNE_APP_ID);

// A second connection to the session bus: what a second start of the program would have.
class SecondConnection
{
public:
    SecondConnection() : m_connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus, name())) {}
    ~SecondConnection() { QDBusConnection::disconnectFromBus(name()); }
    SecondConnection(const SecondConnection &) = delete;
    SecondConnection &operator=(const SecondConnection &) = delete;

    const QDBusConnection &connection() const { return m_connection; }

private:
    static QString name() { return QStringLiteral("second start"); }

    QDBusConnection m_connection;
};

// Waits for the reply to a hand-over; true when the running instance took it.
bool waitForReply(const QDBusPendingCall &call)
{
    QDBusPendingCallWatcher watcher(call);
    QSignalSpy finished(&watcher, &QDBusPendingCallWatcher::finished);
    if (!watcher.isFinished() && !finished.wait(10000))
        return false;
    return !watcher.isError();
}

} // namespace

// Runs on a session bus of its own (dbus-run-session): the first instance is an InstanceServer
// in this process, the second start a second connection or the program itself.
class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    void theSecondStartHandsItsPathsToTheFirst();
    void aStartWithoutPathsOnlyRaisesTheWindow();
    void nobodyTakesTheRequestWhenNoInstanceRuns();
    void theNameIsFreeAgainWhenTheInstanceEnds();
    void theProgramStartedAgainHandsOverAndEnds();
};

void TestSingleInstance::initTestCase()
{
    if (!qEnvironmentVariableIsSet("KESTRUNE_PRIVATE_SESSION_BUS"))
        QSKIP("needs a session bus of its own: run through CTest, which starts dbus-run-session");
    QVERIFY(QDBusConnection::sessionBus().isConnected());
}

void TestSingleInstance::theSecondStartHandsItsPathsToTheFirst()
{
    InstanceServer first(QDBusConnection::sessionBus());
    QVERIFY(first.listen());
    QVERIFY(first.isListening());
    QVERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(appId));

    SecondConnection second;
    InstanceServer rival(second.connection());
    QVERIFY(!rival.listen()); // the name is taken: this start is the second one

    QSignalSpy requests(&first, &InstanceServer::openRequested);
    const QStringList paths = {QStringLiteral("/projects/app"), QStringLiteral("/projects/my notes/a.md")};
    QVERIFY(waitForReply(InstanceClient(second.connection()).send(paths, QStringLiteral("token-1"))));
    QCOMPARE(requests.count(), 1);
    QCOMPARE(requests.at(0).at(0).toStringList(), paths);
    QCOMPARE(requests.at(0).at(1).toString(), QStringLiteral("token-1"));
}

void TestSingleInstance::aStartWithoutPathsOnlyRaisesTheWindow()
{
    InstanceServer first(QDBusConnection::sessionBus());
    QVERIFY(first.listen());
    SecondConnection second;
    QSignalSpy requests(&first, &InstanceServer::openRequested);
    QVERIFY(waitForReply(InstanceClient(second.connection()).send({}, QString())));
    QCOMPARE(requests.count(), 1);
    QCOMPARE(requests.at(0).at(0).toStringList(), QStringList());
    QCOMPARE(requests.at(0).at(1).toString(), QString());
}

void TestSingleInstance::nobodyTakesTheRequestWhenNoInstanceRuns()
{
    SecondConnection second;
    QVERIFY(!InstanceClient(second.connection()).sendAndWait({QStringLiteral("/projects/app")}, QString()));
    QVERIFY(!waitForReply(InstanceClient(second.connection()).send({}, QString())));
    // Without a bus there is nobody to ask, and nothing to serve.
    const QDBusConnection none =
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), QStringLiteral("no bus"));
    QVERIFY(!none.isConnected());
    QVERIFY(!InstanceClient(none).sendAndWait({QStringLiteral("/projects/app")}, QString()));
    QVERIFY(!InstanceServer(none).listen());
    QDBusConnection::disconnectFromBus(QStringLiteral("no bus"));
}

void TestSingleInstance::theNameIsFreeAgainWhenTheInstanceEnds()
{
    SecondConnection second;
    {
        InstanceServer first(QDBusConnection::sessionBus());
        QVERIFY(first.listen());
        QVERIFY(!InstanceServer(second.connection()).listen());
    }
    InstanceServer next(second.connection());
    QVERIFY(next.listen());
    QSignalSpy requests(&next, &InstanceServer::openRequested);
    QVERIFY(waitForReply(InstanceClient(QDBusConnection::sessionBus()).send({}, QString())));
    QCOMPARE(requests.count(), 1);
}

void TestSingleInstance::theProgramStartedAgainHandsOverAndEnds()
{
    QTemporaryDir home;
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("config")));
    QVERIFY(QDir(home.path()).mkpath(QStringLiteral("app/kestrune")));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));

    QProcess first;
    first.setProcessEnvironment(environment);
    first.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    first.start(QStringLiteral(KESTRUNE_VIEWER_PROGRAM));
    QVERIFY(first.waitForStarted());
    QDBusConnectionInterface *bus = QDBusConnection::sessionBus().interface();
    QTRY_VERIFY_WITH_TIMEOUT(bus->isServiceRegistered(appId) || first.state() == QProcess::NotRunning, 60000);
    QVERIFY(first.state() == QProcess::Running);

    QProcess second;
    second.setProcessEnvironment(environment);
    second.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    second.start(QStringLiteral(KESTRUNE_VIEWER_PROGRAM), {home.filePath(QStringLiteral("app"))});
    QVERIFY(second.waitForFinished(60000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    // The first instance opened the project: it writes its open projects as they change.
    const auto openInFirst = [&home] {
        const QSettings settings(home.filePath(QStringLiteral("config/kestrune/kestrune-viewer.conf")),
                                 QSettings::IniFormat);
        return settings.value(QStringLiteral("projects/open")).toStringList();
    };
    QTRY_COMPARE_WITH_TIMEOUT(openInFirst(), QStringList{home.filePath(QStringLiteral("app"))}, 30000);

    first.terminate();
    QVERIFY(first.waitForFinished(30000));
}

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
