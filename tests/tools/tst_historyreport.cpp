#include "changestory.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrune;

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runReport(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral(KESTRUNE_REPORT_PATH), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

} // namespace

class HistoryReportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void printsTheTimelineOldestFirst();
    void exitStatuses();
};

void HistoryReportTest::printsTheTimelineOldestFirst()
{
    TestRepository repository;
    const ChangeStory story = ChangeStory::write(repository);
    // Named without its date, as --review takes an archived change.
    const Run run = runReport({"--history", "add-tagging", repository.path()});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.err.isEmpty(), run.err.constData());
    QJsonParseError error;
    const QJsonObject report = QJsonDocument::fromJson(run.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(report.value("change").toString(), QStringLiteral("2026-03-02-add-tagging"));

    const QJsonArray events = report.value("events").toArray();
    QStringList kinds;
    for (const QJsonValue event : events)
        kinds.append(event.toObject().value("kind").toString());
    QCOMPARE(kinds, QStringList({"created", "edited", "tasks", "tasks", "tasks", "archived"}));
    const QJsonObject created = events.first().toObject();
    QCOMPARE(created.value("commit").toString(), story.proposed);
    QCOMPARE(created.value("time").toString(), QStringLiteral("2026-03-02T09:02:00+01:00"));
    QCOMPARE(created.value("author").toString(), QStringLiteral("Ada Example"));
    QCOMPARE(created.value("subject").toString(), QStringLiteral("Propose tagging"));
    QCOMPARE(created.value("files").toArray(), QJsonArray({"proposal.md"}));
    QCOMPARE(created.value("tasksTotal").toInt(), 0);
    QVERIFY(!created.contains("folder"));
    const QJsonObject secondTick = events.at(3).toObject();
    QCOMPARE(secondTick.value("tasksDone").toInt(), 2);
    QCOMPARE(secondTick.value("tasksTotal").toInt(), 3);
    const QJsonObject archived = events.last().toObject();
    QCOMPARE(archived.value("folder").toString(),
             QStringLiteral("kestrune/changes/archive/2026-03-02-add-tagging"));
    QCOMPARE(archived.value("previousFolder").toString(), QStringLiteral("kestrune/changes/add-tagging"));

    const Run compact = runReport({"--compact", "--history", "other-change", repository.path()});
    QCOMPARE(compact.exitCode, 0);
    QCOMPARE(compact.out.count('\n'), 1);
    QCOMPARE(QJsonDocument::fromJson(compact.out).object().value("events").toArray().size(), 3);
}

void HistoryReportTest::exitStatuses()
{
    TestRepository repository;
    const ChangeStory story = ChangeStory::write(repository);
    const Run unknown = runReport({"--history", "no-such-change", repository.path()});
    QCOMPARE(unknown.exitCode, 1);
    QVERIFY(unknown.out.isEmpty());
    QVERIFY(unknown.err.contains("no-such-change"));

    QTemporaryDir plain;
    QDir(plain.path()).mkpath(QStringLiteral("kestrune/changes/add-x"));
    const Run notInGit = runReport({"--history", "add-x", plain.path()});
    QCOMPARE(notInGit.exitCode, 1);
    QVERIFY(notInGit.out.isEmpty());
    QVERIFY(notInGit.err.contains("not in a git work tree"));

    QCOMPARE(runReport({"--history"}).exitCode, 2);
    QCOMPARE(runReport({"--history", "add-tagging"}).exitCode, 2);
    QCOMPARE(runReport({"--history", "add-tagging", "--review", "add-tagging", repository.path()}).exitCode,
             2);
    const Run help = runReport({"--help"});
    QVERIFY(help.out.contains("--history <CHANGE>"));

    // An unreadable object: the timeline read so far, and the object named on standard error.
    QVERIFY(QFile::remove(repository.looseObjectPath(story.edited)));
    const Run partial = runReport({"--history", "add-tagging", repository.path()});
    QCOMPARE(partial.exitCode, 1);
    QCOMPARE(QJsonDocument::fromJson(partial.out).object().value("events").toArray().size(), 4);
    QVERIFY(partial.err.contains(story.edited.toLatin1()));
}

QTEST_GUILESS_MAIN(HistoryReportTest)
#include "tst_historyreport.moc"
