#include "faultinjectingfilesystem.h"
#include "projectfolder.h"

#include "project/projectscanner.h"
#include "project/summarycomputation.h"

#include <QTest>

using namespace kestrune;

namespace {

const QDateTime now(QDate(2025, 6, 1), QTime(12, 0), Qt::UTC);

ProjectSummary summarize(const ProjectFolder &project,
                         const ModelEnvironment &environment = testEnvironment(nullptr, now))
{
    const std::optional<TreeNode> root = buildTree(project.url(), environment);
    if (!root)
        qFatal("no tree");
    return computeSummary(*root, environment);
}

} // namespace

class SummaryComputationTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void specificationCatalogue();
    void requirementHeadings_data();
    void requirementHeadings();
    void specFileLookup();
    void deltaAndFileCounts();
    void changeCountsByStatus();
    void namesInBytesThatAreNotUtf8();
    void recentChangesNewestFirst();
    void ageingOfUnarchivedChangeFiles();
    void modulesAndTopLevelFolders();
    void emptyProject();
};

void SummaryComputationTest::specificationCatalogue()
{
    ProjectFolder project;
    project.write("kestrune/specs/auth/spec.md",
                  "### Requirement: A\n### Requirement: B\n  ### Requirement: C\n### Requirement\uFF1A D\n"
                  "#### Requirement: not one\n### requirement: nor this\n");
    project.write("kestrune/specs/billing.md",
                  "### Requirement: Invoices\r\n```\r\n### Requirement: shown as code\r\n```\r\n");
    project.write("kestrune/specs/Zeta/spec.md", "### Requirement: Z\n");
    project.makeFolder("kestrune/specs/alpha"); // no spec.md: listed with 0 requirements
    project.write("kestrune/specs/notes.txt");
    project.write("kestrune/specs/latin/spec.md", "### Requirement: caf\xe9\n"); // not UTF-8
    project.write("kestrune/changes/add-x/specs/auth/spec.md", "## ADDED Requirements\n### Requirement: X\n");

    const ProjectSummary summary = summarize(project);
    QCOMPARE(summary.specNames, QStringList({"Zeta", "alpha", "auth", "billing", "latin"}));
    QCOMPARE(summary.specCount, 5);
    QCOMPARE(summary.specRequirementCounts.value("auth"), 4);
    QCOMPARE(summary.specRequirementCounts.value("billing"), 1);
    QCOMPARE(summary.specRequirementCounts.value("Zeta"), 1);
    QCOMPARE(summary.specRequirementCounts.value("alpha", -1), 0);
    QCOMPARE(summary.specRequirementCounts.value("latin", -1), 0);
    QCOMPARE(summary.specReqsCount, qint64(6));
}

void SummaryComputationTest::requirementHeadings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("count");
    QTest::addRow("ascii and full-width colons")
        << QStringLiteral("### Requirement: a\n### Requirement\uFF1Ab") << qint64(2);
    QTest::addRow("indented by spaces and tabs")
        << QStringLiteral("   ### Requirement: a\n\t### Requirement:") << qint64(2);
    QTest::addRow("four hashes, lower case, no colon")
        << QStringLiteral("#### Requirement: a\n### requirement: b\n### Requirement a") << qint64(0);
    QTest::addRow("a paragraph separator ends no line")
        << QStringLiteral("### Requirement: a\u2029### Requirement: b") << qint64(1);
    QTest::addRow("CR LF and lone carriage returns end lines")
        << QStringLiteral("### Requirement: a\r\n### Requirement: b\r### Requirement: c") << qint64(3);
    QTest::addRow("headings in fenced code are text")
        << QStringLiteral("### Requirement: a\n```md\n### Requirement: example\n```\n"
                          "~~~~\n### Requirement: example\n~~~\n~~~~\n### Requirement: b")
        << qint64(2);
    QTest::addRow("a heading of more white space or a closing sequence")
        << QStringLiteral("###\tRequirement: a\n###   Requirement: b ###") << qint64(2);
}

void SummaryComputationTest::requirementHeadings()
{
    QFETCH(QString, text);
    QFETCH(qint64, count);
    QCOMPARE(countRequirements(text), count);
}

void SummaryComputationTest::specFileLookup()
{
    ProjectFolder project;
    project.write("kestrune/specs/billing/spec.md", "### Requirement: folder\n### Requirement: folder\n");
    project.write("kestrune/specs/billing.md", "### Requirement: file\n");
    project.write("kestrune/specs/tax.md");
    QCOMPARE(specFileURL(project.url(), "billing"), project.urlOf("kestrune/specs/billing/spec.md"));
    QCOMPARE(specFileURL(project.url(), "tax"), project.urlOf("kestrune/specs/tax.md"));
    QVERIFY(!specFileURL(project.url(), "missing"));

    const ProjectSummary summary = summarize(project);
    // A name met twice (folder and file) keeps one entry: the folder's spec.md is read.
    QCOMPARE(summary.specNames, QStringList({"billing", "billing", "tax"}));
    QCOMPARE(summary.specRequirementCounts.size(), 2);
    QCOMPARE(summary.specRequirementCounts.value("billing"), 2);
    QCOMPARE(summary.specReqsCount, qint64(2));
}

void SummaryComputationTest::deltaAndFileCounts()
{
    ProjectFolder project;
    project.write("kestrune/changes/add-x/specs/a/spec.md",
                  "## ADDED Requirements\n### Requirement: 1\n### Requirement: 2\n");
    project.write("kestrune/changes/add-x/specs/b/spec.md", "## ADDED Requirements\n");
    project.write("kestrune/changes/add-x/specs/c/spec.md", "## REMOVED Requirements\n");
    project.write("kestrune/changes/add-x/proposal.md");
    project.write("kestrune/project.md");
    project.write("kestrune/specs/a/spec.md");

    const ProjectSummary summary = summarize(project);
    QCOMPARE(summary.addedCount, 2);
    QCOMPARE(summary.modifiedCount, 0);
    QCOMPARE(summary.removedCount, 1);
    QCOMPARE(summary.deltaSpecFiles, 3);
    QCOMPARE(summary.totalSpecFiles, 6);
}

void SummaryComputationTest::changeCountsByStatus()
{
    ProjectFolder project;
    const auto complete = [&project](const QString &folder, const QByteArray &tasks) {
        project.write(folder + "/proposal.md");
        project.write(folder + "/design.md");
        project.makeFolder(folder + "/specs");
        project.write(folder + "/tasks.md", tasks);
    };
    complete("kestrune/changes/done", "- [x] a\n");
    complete("kestrune/changes/busy", "- [x] a\n- [ ] b\n");
    complete("kestrune/changes/archive/old", "- [ ] a\n");
    project.write("kestrune/changes/idea/proposal.md");

    const ProjectSummary summary = summarize(project);
    QCOMPARE(summary.totalChanges, 4);
    QCOMPARE(summary.activeChanges, 1);
    QCOMPARE(summary.archivedChanges, 1);
    QCOMPARE(summary.draftCount, 1); // the completed change counts in the total only
}

// A folder name is bytes: one that is not UTF-8 still makes a change, with its tasks read and
// its dates taken from the very files.
void SummaryComputationTest::namesInBytesThatAreNotUtf8()
{
    const QDateTime finished = now.addDays(-3);
    ProjectFolder project;
    project.writeNative("kestrune/changes/chg\xff/proposal.md");
    project.writeNative("kestrune/changes/chg\xff/design.md");
    project.writeNative("kestrune/changes/chg\xff/specs/auth/spec.md", "## ADDED Requirements\n");
    project.writeNative("kestrune/changes/chg\xff/tasks.md", "- [x] a\n- [x] b\n", finished);

    const ProjectSummary summary = summarize(project);
    QCOMPARE(summary.totalChanges, 1);
    const ChangeSummary &change = summary.changeSummaries.front();
    QCOMPARE(change.changeName, QStringLiteral("chg\uFFFD"));
    QVERIFY(change.hasProposal && change.hasDesign && change.hasSpecs && change.hasTasks);
    QCOMPARE(change.taskProgressPercent, 100);
    QCOMPARE(change.status, ChangeStatus::completed);
    QCOMPARE(change.completedAt, finished);
    QCOMPARE(summary.addedCount, 1);
    QCOMPARE(summary.recentChanges.size(), 4);

    // A specification so named still has its requirements counted, in a folder or as a file.
    project.writeNative("kestrune/specs/sp\xff/spec.md", "### Requirement: One\n### Requirement: Two\n");
    project.writeNative("kestrune/specs/single\xfe.md", "### Requirement: One\n");
    const ProjectSummary specs = summarize(project);
    QCOMPARE(specs.specRequirementCounts.value(QStringLiteral("sp\uFFFD")), 2);
    QCOMPARE(specs.specRequirementCounts.value(QStringLiteral("single\uFFFD")), 1);
    QCOMPARE(specs.specReqsCount, 3);
}

void SummaryComputationTest::recentChangesNewestFirst()
{
    ProjectFolder project;
    for (int i = 0; i < 25; ++i) {
        const QString file =
            QStringLiteral("kestrune/changes/c%1/proposal.md").arg(i, 2, 10, QLatin1Char('0'));
        project.write(file, QByteArray(), now.addDays(-i - 1));
    }
    project.write("kestrune/changes/undated-a/proposal.md");
    project.write("kestrune/changes/undated-b/proposal.md");

    auto fileSystem = std::make_shared<FaultInjectingFileSystem>();
    fileSystem->missingDates << project.pathOf("kestrune/changes/undated-a/proposal.md")
                             << project.pathOf("kestrune/changes/undated-b/proposal.md");
    const ProjectSummary summary = summarize(project, testEnvironment(fileSystem, now));
    QCOMPARE(summary.recentChanges.size(), 20);
    QCOMPARE(summary.recentChanges.front().updatedAt, now.addDays(-1));
    QCOMPARE(summary.recentChanges.back().updatedAt, now.addDays(-20));
    QCOMPARE(summary.recentChanges.front().module, QStringLiteral("project"));
    QCOMPARE(summary.recentChanges.front().title, QStringLiteral("proposal.md"));

    // With room for every file, the undated ones come last, in walk order.
    ProjectFolder small;
    small.write("kestrune/changes/b/proposal.md");
    small.write("kestrune/changes/a/proposal.md");
    small.write("kestrune/changes/c/proposal.md", QByteArray(), now.addDays(-3));
    auto undated = std::make_shared<FaultInjectingFileSystem>();
    undated->missingDates << small.pathOf("kestrune/changes/a/proposal.md")
                          << small.pathOf("kestrune/changes/b/proposal.md");
    const ProjectSummary few = summarize(small, testEnvironment(undated, now));
    QStringList order;
    for (const ChangeItem &item : few.recentChanges)
        order << (item.updatedAt ? QStringLiteral("dated") : QStringLiteral("undated"));
    QCOMPARE(order, QStringList({"dated", "undated", "undated"}));
    QVERIFY(few.recentChanges.at(1).id != few.recentChanges.at(2).id);
}

void SummaryComputationTest::ageingOfUnarchivedChangeFiles()
{
    ProjectFolder project;
    project.write("kestrune/changes/a/proposal.md", QByteArray(), now.addDays(-45));
    project.write("kestrune/changes/b/proposal.md", QByteArray(), now.addDays(-61));
    project.write("kestrune/changes/c/proposal.md", QByteArray(), now.addDays(-30));
    project.write("kestrune/changes/archive/old/proposal.md", QByteArray(), now.addDays(-400));
    project.write("kestrune/specs/x/spec.md", QByteArray(), now.addDays(-500));

    const ProjectSummary summary = summarize(project);
    QCOMPARE(summary.unarchivedOver30Days, 2);
    QCOMPARE(summary.unarchivedOver60Days, 1);
    QCOMPARE(summary.oldestUnarchivedDays, qint64(61));

    ProjectFolder thirty;
    thirty.write("kestrune/changes/c/proposal.md", QByteArray(), now.addDays(-30));
    const ProjectSummary exact = summarize(thirty);
    QCOMPARE(exact.oldestUnarchivedDays, qint64(30));
    QCOMPARE(exact.unarchivedOver30Days, 0);
}

void SummaryComputationTest::modulesAndTopLevelFolders()
{
    ProjectFolder project(QStringLiteral("app"));
    project.write("kestrune/changes/add-x/proposal.md");
    project.write("kestrune/changes/add-x/specs/a/spec.md");
    project.write("kestrune/changes/archive/old/proposal.md");
    project.write("kestrune/specs/a/spec.md");
    project.write("kestrune/Notes/readme.md");
    project.write("kestrune/top.md");

    const ProjectSummary summary = summarize(project);
    QCOMPARE(summary.moduleCount, 5); // changes, archive, specs, Notes, top.md
    QStringList modules;
    for (const ModuleStat &module : summary.moduleStats)
        modules
            << QStringLiteral("%1:%2:%3").arg(module.name).arg(module.specCount).arg(module.activeChanges);
    QCOMPARE(modules, QStringList({"Notes:1:0", "archive:1:0", "changes:2:0", "specs:1:0"}));
    for (const ChangeItem &item : summary.recentChanges)
        QCOMPARE(item.module, QStringLiteral("app"));
}

void SummaryComputationTest::emptyProject()
{
    ProjectFolder project;
    project.makeFolder("kestrune");
    const ProjectSummary summary = summarize(project);
    QCOMPARE(summary.moduleCount, 0);
    QCOMPARE(summary.specReqsCount, qint64(0));
    QVERIFY(!summary.oldestUnarchivedDays);
    QCOMPARE(summary.unarchivedOver30Days, 0);
    QVERIFY(summary.changeSummaries.isEmpty());
    QVERIFY(summary.moduleStats.isEmpty());
}

QTEST_APPLESS_MAIN(SummaryComputationTest)
#include "tst_summarycomputation.moc"
