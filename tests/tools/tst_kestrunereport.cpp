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
    for (const QJsonValue child : node.value("children").toArray())
        collectNodes(child.toObject(), into);
}

QJsonObject firstRequirement(const QJsonObject &review)
{
    const QJsonObject capability = review.value("capabilities").toArray().first().toObject();
    return capability.value("requirements").toArray().first().toObject();
}

} // namespace

class KestruneReportTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void usageErrorsAndMissingProject();
    void answersHelpAndVersion();
    void reportsTreeAndSummary();
    void reviewsAChange();
    void reviewUsageAndUnknownChanges();
    void searchPrintsJsonLines();
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
        QVERIFY(help.out.contains("--review <CHANGE>"));
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

    QVERIFY(run.out.endsWith("}\n"));
    const Run compact = runReport({"--compact", project.path()});
    QCOMPARE(compact.exitCode, 0);
    QVERIFY(compact.out.endsWith("}\n"));
    QCOMPARE(compact.out.count('\n'), 1);

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
    for (const QJsonValue item : summary.value("recentChanges").toArray()) {
        const QJsonObject node = nodes.value(item.toObject().value("id").toString());
        QCOMPARE(node.value("kind").toString(), QStringLiteral("markdownFile"));
        QCOMPARE(item.toObject().value("deltaType"), node.value("deltaType"));
    }
    QCOMPARE(summary.value("moduleStats").toArray().size(), 2);
}

void KestruneReportTest::reviewsAChange()
{
    ProjectFolder project;
    project.write(
        "kestrune/specs/auth/spec.md",
        "## Requirements\n### Requirement: Login\nWith a password.\n### Requirement: Hint\nShown.\n");
    project.write("kestrune/changes/tidy-auth/specs/auth/spec.md",
                  "## MODIFIED Requirements\n### Requirement: Login\nWith a passkey.\n"
                  "## REMOVED Requirements\n### Requirement: Hint\n**Reason**: leaks.\n"
                  "## ADDED Requirements\n### Requirement: Logout\nEnds it.\n");
    project.write("kestrune/changes/typo/specs/auth/spec.md",
                  "## MODIFIED Requirements\n### Requirement: Logn\nX\n");
    project.write("kestrune/changes/archive/2024-01-01-add-login/specs/auth/spec.md",
                  "## ADDED Requirements\n### Requirement: Login\nWith a password.\n");

    const Run clean = runReport({"--review", "tidy-auth", project.path()});
    QCOMPARE(clean.exitCode, 0);
    const QJsonObject review = QJsonDocument::fromJson(clean.out).object();
    QCOMPARE(review.value("change").toString(), QStringLiteral("tidy-auth"));
    QCOMPARE(review.value("path").toString(), project.pathOf("kestrune/changes/tidy-auth"));
    QCOMPARE(review.value("flagged").toBool(), false);
    const QJsonObject counts{{"added", 1}, {"modified", 1}, {"removed", 1}};
    QCOMPARE(review.value("counts").toObject(), counts);
    const QJsonObject auth = review.value("capabilities").toArray().first().toObject();
    QCOMPARE(auth.value("name").toString(), QStringLiteral("auth"));
    QCOMPARE(auth.value("specificationFile").toString(), project.pathOf("kestrune/specs/auth/spec.md"));
    QVERIFY(auth.value("error").isNull());
    QCOMPARE(auth.value("counts").toObject(), counts);
    const QJsonArray requirements = auth.value("requirements").toArray();
    QCOMPARE(requirements.size(), 3);
    const QJsonObject login = requirements.at(0).toObject();
    QCOMPARE(login.value("name").toString(), QStringLiteral("Login"));
    QCOMPARE(login.value("kind").toString(), QStringLiteral("MODIFIED"));
    QCOMPARE(login.value("flags").toArray(), QJsonArray());
    QCOMPARE(login.value("state").toString(), QStringLiteral("pending"));
    QVERIFY(login.value("suggestion").isNull());
    const QJsonArray hunks = QJsonDocument::fromJson(R"([
        {"op": "equal", "text": "### Requirement: Login\nWith a "},
        {"op": "delete", "text": "password."}, {"op": "insert", "text": "passkey."}])")
                                 .array();
    QCOMPARE(login.value("hunks").toArray(), hunks);
    QCOMPARE(requirements.at(1).toObject().value("kind").toString(), QStringLiteral("REMOVED"));
    QCOMPARE(requirements.at(1).toObject().value("hunks").toArray().first().toObject().value("op").toString(),
             QStringLiteral("delete"));
    QCOMPARE(requirements.at(2).toObject().value("kind").toString(), QStringLiteral("ADDED"));

    const Run typo = runReport({"--compact", "--review", "typo", project.path()});
    QCOMPARE(typo.exitCode, 1);
    QVERIFY(typo.out.endsWith("}\n"));
    QCOMPARE(typo.out.count('\n'), 1);
    const QJsonObject typoReview = QJsonDocument::fromJson(typo.out).object();
    QCOMPARE(typoReview.value("flagged").toBool(), true);
    const QJsonObject logn = firstRequirement(typoReview);
    QCOMPARE(logn.value("flags").toArray(), QJsonArray({"missingFromSpecification"}));
    QCOMPARE(logn.value("suggestion").toString(), QStringLiteral("Login"));

    // An archived change named without its date; what it added is there, which is no finding.
    const Run archived = runReport({"--review", "add-login", project.path()});
    QCOMPARE(archived.exitCode, 0);
    const QJsonObject archivedReview = QJsonDocument::fromJson(archived.out).object();
    QCOMPARE(archivedReview.value("archived").toBool(), true);
    QCOMPARE(archivedReview.value("change").toString(), QStringLiteral("2024-01-01-add-login"));
    const QJsonObject added = firstRequirement(archivedReview);
    QCOMPARE(added.value("state").toString(), QStringLiteral("alreadyInSpecification"));
}

void KestruneReportTest::reviewUsageAndUnknownChanges()
{
    ProjectFolder project;
    project.makeFolder("kestrune/changes/archive/2024-01-01-fix");
    project.makeFolder("kestrune/changes/archived/2024-02-01-fix");

    QCOMPARE(runReport({project.path(), "--review"}).exitCode, 2);
    QCOMPARE(runReport({"--review", "fix"}).exitCode, 2);

    const Run unknown = runReport({"--review", "no-such-change", project.path()});
    QCOMPARE(unknown.exitCode, 1);
    QVERIFY(unknown.out.isEmpty());
    QVERIFY(unknown.err.contains("\"no-such-change\""));

    const Run ambiguous = runReport({"--review", "fix", project.path()});
    QCOMPARE(ambiguous.exitCode, 1);
    QVERIFY(ambiguous.err.contains("archive/2024-01-01-fix, archived/2024-02-01-fix"));

    ProjectFolder empty;
    const Run missing = runReport({"--review", "fix", empty.path()});
    QCOMPARE(missing.exitCode, 1);
    QVERIFY(missing.err.contains("kestrune"));

    // An archive folder is one in any letter case.
    project.makeFolder("kestrune/changes/Archive/2024-03-01-cased");
    const Run cased = runReport({"--review", "cased", project.path()});
    QCOMPARE(cased.exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(cased.out).object().value("archived").toBool(), true);

    // A change without delta specifications has nothing to flag.
    project.makeFolder("kestrune/changes/just-an-idea");
    const Run idea = runReport({"--review", "just-an-idea", project.path()});
    QCOMPARE(idea.exitCode, 0);
    QCOMPARE(QJsonDocument::fromJson(idea.out).object().value("capabilities").toArray(), QJsonArray());
}

void KestruneReportTest::searchPrintsJsonLines()
{
    ProjectFolder project;
    project.write("kestrune/changes/archive/2024-01-01-old/proposal.md", "Rate limits, once.\n");
    project.write("kestrune/specs/api/spec.md", "# API\r\n\r\nThe größte rate_limit: RATE.\n");
    project.write("kestrune/changes/add-limits/proposal.md", "Add 😀 rate limits\n");

    const auto lines = [](const QByteArray &out) {
        QList<QJsonObject> objects;
        for (const QByteArray &line : out.split('\n')) {
            if (!line.isEmpty())
                objects.append(QJsonDocument::fromJson(line).object());
        }
        return objects;
    };
    const Run any = runReport({"--search", "rate", project.path()});
    QCOMPARE(any.exitCode, 0);
    const QList<QJsonObject> hits = lines(any.out);
    QCOMPARE(hits.size(), 4);
    // Archived changes come last; the column counts characters, so the emoji is one.
    const QJsonObject first{{"path", "kestrune/changes/add-limits/proposal.md"},
                            {"line", 1},
                            {"column", 7},
                            {"text", "Add 😀 rate limits"}};
    QCOMPARE(hits[0], first);
    QCOMPARE(hits[1].value("line").toInt(), 3);
    QCOMPARE(hits[1].value("column").toInt(), 12);
    QCOMPARE(hits[2].value("column").toInt(), 24);
    QCOMPARE(hits[3].value("path").toString(),
             QStringLiteral("kestrune/changes/archive/2024-01-01-old/proposal.md"));

    QCOMPARE(lines(runReport({"--search", "rate", "--word", "--case-sensitive", project.path()}).out).size(),
             1);
    const QList<QJsonObject> expression =
        lines(runReport({"--search", "gr\\w+e\\s+rate", "--regex", project.path()}).out);
    QCOMPARE(expression.size(), 1);
    QCOMPARE(expression[0].value("column").toInt(), 5);

    const Run none = runReport({"--search", "absent", project.path()});
    QCOMPARE(none.exitCode, 1);
    QVERIFY(none.out.isEmpty());
    const Run invalid = runReport({"--search", "rate(", "--regex", project.path()});
    QCOMPARE(invalid.exitCode, 2);
    QVERIFY(invalid.err.contains("rate("));
}

QTEST_GUILESS_MAIN(KestruneReportTest)
#include "tst_kestrunereport.moc"
