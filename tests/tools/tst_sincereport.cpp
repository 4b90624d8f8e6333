// kestrune-report --since: the planning folder's files modified after a moment, with their kind
// and change, and the moments the command line accepts.
#include "projectfolder.h"
#include "sincereport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

using namespace kestrune;

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runReport(const QStringList &arguments, const QString &timeZone = QStringLiteral("UTC"))
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TZ"), timeZone);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KESTRUNE_REPORT_PATH), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QDateTime utc(int day, int hour, int minute = 0)
{
    return QDateTime(QDate(2025, 3, day), QTime(hour, minute), Qt::UTC);
}

// The path of each listed file below the project folder, in the order listed.
QStringList listedPaths(const ProjectFolder &project, const QByteArray &out)
{
    QStringList paths;
    const QJsonArray files = QJsonDocument::fromJson(out).object().value("files").toArray();
    for (const QJsonValue file : files)
        paths.append(file.toObject().value("path").toString().mid(project.path().size() + 1));
    return paths;
}

} // namespace

class SinceReportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void readsIsoMoments_data();
    void readsIsoMoments();
    void listsFilesModifiedAfterTheMoment();
    void namesEachFilesKindAndChange();
    void aMomentWithoutOffsetIsLocalTime();
    void badDatesAreUsageErrors();
};

void SinceReportTest::readsIsoMoments_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDateTime>("moment");
    const QDateTime invalid;
    QTest::addRow("a date is the start of its day in local time")
        << "2025-03-03" << QDateTime(QDate(2025, 3, 3), QTime(0, 0), Qt::LocalTime);
    QTest::addRow("date and time without offset is local time")
        << "2025-03-03T10:30" << QDateTime(QDate(2025, 3, 3), QTime(10, 30), Qt::LocalTime);
    QTest::addRow("seconds and milliseconds")
        << "2025-03-03T10:30:15.250Z" << QDateTime(QDate(2025, 3, 3), QTime(10, 30, 15, 250), Qt::UTC);
    QTest::addRow("Z is UTC") << "2025-03-03T10:00:00Z" << utc(3, 10);
    QTest::addRow("a positive offset") << "2025-03-03T12:00:00+02:00" << utc(3, 10);
    QTest::addRow("a negative offset crossing midnight") << "2025-03-02T23:00-05:00" << utc(3, 4);
    QTest::addRow("empty") << "" << invalid;
    QTest::addRow("a word") << "yesterday" << invalid;
    QTest::addRow("month 13") << "2025-13-01" << invalid;
    QTest::addRow("30 February") << "2025-02-30" << invalid;
    QTest::addRow("hour 25") << "2025-03-03T25:00" << invalid;
    QTest::addRow("the date's order of another country") << "03/03/2025" << invalid;
    QTest::addRow("something after the offset") << "2025-03-03T10:00Z junk" << invalid;
    QTest::addRow("a space after the date") << "2025-03-03 " << invalid;
}

void SinceReportTest::readsIsoMoments()
{
    QFETCH(QString, text);
    QFETCH(QDateTime, moment);
    const std::optional<QDateTime> parsed = SinceReport::parseMoment(text);
    QCOMPARE(parsed.has_value(), moment.isValid());
    if (parsed)
        QCOMPARE(parsed->toUTC(), moment.toUTC());
}

void SinceReportTest::listsFilesModifiedAfterTheMoment()
{
    ProjectFolder project;
    project.write("kestrune/specs/auth/spec.md", "# Auth\n", utc(1, 9));
    project.write("kestrune/changes/add-x/proposal.md", "# Add x\n", utc(3, 10));
    project.write("kestrune/changes/add-x/tasks.md", "- [ ] one\n", utc(4, 8));
    project.write("kestrune/changes/add-x/design.md", "# Design\n", utc(3, 10));
    project.write("kestrune/changes/add-x/notes.txt", "not Markdown\n", utc(4, 9));

    const Run run = runReport({"--since", "2025-03-03T10:00:00Z", project.path()});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.err.isEmpty());
    // A file modified at the moment itself is not after it.
    QCOMPARE(listedPaths(project, run.out), QStringList{"kestrune/changes/add-x/tasks.md"});
    const QJsonObject report = QJsonDocument::fromJson(run.out).object();
    QCOMPARE(report.value("since").toString(), QStringLiteral("2025-03-03T10:00:00.000Z"));
    QCOMPARE(report.value("files").toArray().first().toObject().value("modificationDate").toString(),
             QStringLiteral("2025-03-04T08:00:00.000Z"));
    QVERIFY(run.out.endsWith("}\n"));

    // Newest first, those of one moment by path.
    const Run earlier = runReport({"--since", "2025-03-02", "--compact", project.path()});
    QCOMPARE(earlier.exitCode, 0);
    QCOMPARE(listedPaths(project, earlier.out),
             (QStringList{"kestrune/changes/add-x/tasks.md", "kestrune/changes/add-x/design.md",
                          "kestrune/changes/add-x/proposal.md"}));
    QCOMPARE(earlier.out.count('\n'), 1);
    QVERIFY(earlier.out.endsWith("}\n"));

    const Run none = runReport({"--since", "2030-01-01", project.path()});
    QCOMPARE(none.exitCode, 0);
    QVERIFY(QJsonDocument::fromJson(none.out).object().value("files").toArray().isEmpty());

    ProjectFolder empty;
    const Run missing = runReport({"--since", "2025-03-02", empty.path()});
    QCOMPARE(missing.exitCode, 1);
    QVERIFY(missing.out.isEmpty());
}

void SinceReportTest::namesEachFilesKindAndChange()
{
    ProjectFolder project;
    const QDateTime modified = utc(5, 12);
    project.write("kestrune/project.md", "# Project\n", modified);
    project.write("kestrune/specs/auth/spec.md", "# Auth\n", modified);
    project.write("kestrune/specs/auth/notes.md", "# Notes\n", modified);
    project.write("kestrune/changes/add-x/proposal.md", "# Add x\n", modified);
    project.write("kestrune/changes/add-x/design.md", "# Design\n", modified);
    project.write("kestrune/changes/add-x/tasks.md", "- [x] one\n", modified);
    project.write("kestrune/changes/add-x/specs/auth/spec.md", "## ADDED Requirements\n", modified);
    project.write("kestrune/changes/add-x/specs/proposal.md", "## ADDED Requirements\n", modified);
    project.write("kestrune/changes/add-x/extra.md", "# Extra\n", modified);
    project.write("kestrune/changes/archive/2025-01-01-old/tasks.md", "- [x] one\n", modified);

    const Run run = runReport({"--since", "2025-03-05", project.path()});
    QCOMPARE(run.exitCode, 0);
    QHash<QString, QJsonObject> byPath;
    const QJsonArray files = QJsonDocument::fromJson(run.out).object().value("files").toArray();
    for (const QJsonValue file : files)
        byPath.insert(file.toObject().value("path").toString().mid(project.path().size() + 1),
                      file.toObject());
    QCOMPARE(byPath.size(), 10);

    const auto expect = [&byPath](const char *path, const char *kind, const QJsonValue &change,
                                  bool archived) {
        const QJsonObject file = byPath.value(QLatin1String(path));
        QCOMPARE(file.value("kind").toString(), QLatin1String(kind));
        QCOMPARE(file.value("change"), change);
        QCOMPARE(file.value("archived").toBool(), archived);
    };
    const QJsonValue none(QJsonValue::Null);
    expect("kestrune/project.md", "other", none, false);
    expect("kestrune/specs/auth/spec.md", "specification", none, false);
    expect("kestrune/specs/auth/notes.md", "specification", none, false);
    expect("kestrune/changes/add-x/proposal.md", "proposal", "add-x", false);
    expect("kestrune/changes/add-x/design.md", "design", "add-x", false);
    expect("kestrune/changes/add-x/tasks.md", "tasks", "add-x", false);
    expect("kestrune/changes/add-x/specs/auth/spec.md", "deltaSpecification", "add-x", false);
    // Named like a change document, but below the change's specifications.
    expect("kestrune/changes/add-x/specs/proposal.md", "deltaSpecification", "add-x", false);
    expect("kestrune/changes/add-x/extra.md", "other", "add-x", false);
    expect("kestrune/changes/archive/2025-01-01-old/tasks.md", "tasks", "2025-01-01-old", true);
}

void SinceReportTest::aMomentWithoutOffsetIsLocalTime()
{
    ProjectFolder project;
    project.write("kestrune/changes/add-x/proposal.md", "# Add x\n", utc(3, 10));
    // 11:00 two hours east of Greenwich is 09:00 UTC: the file is newer. ("Etc/GMT-2" is UTC+2.)
    QCOMPARE(
        listedPaths(project, runReport({"--since", "2025-03-03T11:00", project.path()}, "Etc/GMT-2").out),
        QStringList{"kestrune/changes/add-x/proposal.md"});
    QVERIFY(listedPaths(project, runReport({"--since", "2025-03-03T11:00", project.path()}, "UTC").out)
                .isEmpty());
}

void SinceReportTest::badDatesAreUsageErrors()
{
    ProjectFolder project;
    project.write("kestrune/changes/add-x/proposal.md", "# Add x\n");
    const Run bad = runReport({"--since", "last tuesday", project.path()});
    QCOMPARE(bad.exitCode, 2);
    QVERIFY(bad.out.isEmpty());
    QVERIFY2(bad.err.contains("\"last tuesday\""), bad.err.constData());
    QCOMPARE(runReport({"--since", "2025-02-30", project.path()}).exitCode, 2);
    QCOMPARE(runReport({project.path(), "--since"}).exitCode, 2);

    const Run help = runReport({"--help"});
    QVERIFY(help.out.contains("--since <DATE>"));
}

QTEST_GUILESS_MAIN(SinceReportTest)
#include "tst_sincereport.moc"
