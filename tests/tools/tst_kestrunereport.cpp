#include "projectfolder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
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

// Every node object of the tree, keyed by id.
void collectNodes(const QJsonObject &node, QHash<QString, QJsonObject> &into)
{
    into.insert(node.value("id").toString(), node);
    for (const QJsonValue &child : node.value("children").toArray())
        collectNodes(child.toObject(), into);
}

} // namespace

class KestruneReportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void usageErrorsAndMissingProject();
    void answersHelpAndVersion();
    void reportsTreeAndSummary();
};

void KestruneReportTest::usageErrorsAndMissingProject()
{
    QCOMPARE(runReport({}).exitCode, 2);
    QCOMPARE(runReport({"a", "b"}).exitCode, 2);
    QCOMPARE(runReport({"--no-such-option", "a"}).exitCode, 2);

    ProjectFolder empty;
    const Run missing = runReport({empty.path()});
    QCOMPARE(missing.exitCode, 1);
    QVERIFY(missing.out.isEmpty());
    QVERIFY(missing.err.contains("kestrune"));
}

void KestruneReportTest::answersHelpAndVersion()
{
    for (const char *option : {"--help", "--help-all"}) {
        const Run help = runReport({QString::fromLatin1(option)});
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.contains("--compact"));
    }
    const Run version = runReport({"--version"});
    QCOMPARE(version.exitCode, 0);
    QVERIFY(version.out.startsWith("kestrune-report "));
}

void KestruneReportTest::reportsTreeAndSummary()
{
    ProjectFolder project(QStringLiteral("app"));
    const QDateTime modified(QDate(2025, 3, 3), QTime(10, 0), Qt::UTC);
    project.write("kestrune/changes/add-x/proposal.md", "# Add x\n", modified);
    project.write("kestrune/changes/add-x/specs/auth/spec.md", "## ADDED Requirements\n", modified);
    project.write("kestrune/specs/auth/spec.md", "### Requirement: Login\n", modified);
    project.makeFolder("kestrune/empty");

    const Run run = runReport({project.path() + QLatin1Char('/')});
    QCOMPARE(run.exitCode, 0);
    QJsonParseError error;
    const QJsonObject report = QJsonDocument::fromJson(run.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);

    const QJsonObject tree = report.value("tree").toObject();
    QCOMPARE(tree.value("kind").toString(), QStringLiteral("projectRoot"));
    QCOMPARE(tree.value("name").toString(), QStringLiteral("app"));
    QCOMPARE(tree.value("path").toString(), project.path());
    QVERIFY(tree.value("modificationDate").isNull());
    QHash<QString, QJsonObject> nodes;
    collectNodes(tree, nodes);
    const QRegularExpression uuid(
        QStringLiteral("^[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}$"));
    for (const QJsonObject &node : std::as_const(nodes)) {
        QVERIFY(uuid.match(node.value("id").toString()).hasMatch());
        const bool isFile = node.value("kind").toString() == QLatin1String("markdownFile");
        QCOMPARE(node.value("children").isNull(), isFile);
        QVERIFY(!node.value("path").toString().endsWith(QLatin1Char('/')));
        if (isFile)
            QCOMPARE(node.value("modificationDate").toString(), QStringLiteral("2025-03-03T10:00:00.000Z"));
    }

    const QJsonObject summary = report.value("summary").toObject();
    QCOMPARE(summary.value("totalChanges").toInt(), 1);
    QCOMPARE(summary.value("specReqsCount").toInt(), 1);
    QCOMPARE(summary.value("oldestUnarchivedDays").type(), QJsonValue::Double);
    QCOMPARE(summary.value("specRequirementCounts").toObject().value("auth").toInt(), 1);
    const QJsonObject change = summary.value("changeSummaries").toArray().first().toObject();
    QCOMPARE(change.value("status").toString(), QStringLiteral("draft"));
    QCOMPARE(change.value("workflowStage").toString(), QStringLiteral("design"));
    QCOMPARE(change.value("currentDraftStage").toString(), QStringLiteral("specs"));
    QVERIFY(change.value("completedAt").isNull());
    QCOMPARE(nodes.value(change.value("id").toString()).value("name").toString(), QStringLiteral("add-x"));
    QCOMPARE(change.value("path").toString(), project.pathOf("kestrune/changes/add-x"));
    for (const QJsonValue &item : summary.value("recentChanges").toArray()) {
        const QJsonObject node = nodes.value(item.toObject().value("id").toString());
        QCOMPARE(node.value("kind").toString(), QStringLiteral("markdownFile"));
        QCOMPARE(item.toObject().value("deltaType"), node.value("deltaType"));
    }
    QCOMPARE(summary.value("moduleStats").toArray().size(), 2);
}

QTEST_GUILESS_MAIN(KestruneReportTest)
#include "tst_kestrunereport.moc"
