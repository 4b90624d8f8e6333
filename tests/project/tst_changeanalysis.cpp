#include "faultinjectingfilesystem.h"
#include "projectfolder.h"

#include "project/changeanalysis.h"
#include "project/projectscanner.h"
#include "project/summarycomputation.h"

#include <QTest>

#include <unistd.h>

using namespace kestrune;

namespace {

QByteArray tasks(int done, int open)
{
    QByteArray text = "## 1. Work\n";
    for (int i = 0; i < done; ++i)
        text += "- [x] done " + QByteArray::number(i) + "\n";
    for (int i = 0; i < open; ++i)
        text += "- [ ] open " + QByteArray::number(i) + "\n";
    return text;
}

const ChangeSummary *find(const QList<ChangeSummary> &changes, const QString &name)
{
    for (const ChangeSummary &change : changes) {
        if (change.changeName == name)
            return &change;
    }
    return nullptr;
}

} // namespace

class ChangeAnalysisTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statusAndStages_data();
    void statusAndStages();
    void countsTaskLines_data();
    void countsTaskLines();
    void completionAndArchiveDates();
    void archiveFoldersAndArchivedPaths();
    void nestedArchiveFoldersCountEachChangeOnce();
    void unreadableTasksCountNothing();
    void filesLinkingOutOfTheProjectAreUnreadable();
};

void ChangeAnalysisTest::statusAndStages_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QByteArray>("taskText");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("stage");
    QTest::addColumn<QString>("draftStage");
    QTest::addColumn<int>("percent");

    const QStringList all = {"proposal.md", "design.md", "specs/", "tasks.md"};
    QTest::addRow("only a proposal") << QStringList{"proposal.md"} << QByteArray() << "draft"
                                     << "design"
                                     << "proposal" << 0;
    QTest::addRow("all documents, 3 of 4 ticked") << all << tasks(3, 1) << "active"
                                                  << "tasks"
                                                  << "tasks" << 75;
    QTest::addRow("1 of 3 ticked truncates to 33") << all << tasks(1, 2) << "active"
                                                   << "tasks"
                                                   << "tasks" << 33;
    QTest::addRow("every box ticked") << all << tasks(4, 0) << "completed"
                                      << "tasks"
                                      << "tasks" << 100;
    QTest::addRow("tasks without a box stay active") << all << QByteArray("# Tasks\nprose\n") << "active"
                                                     << "tasks"
                                                     << "tasks" << 0;
    QTest::addRow("proposal and ticked tasks only")
        << QStringList{"proposal.md", "tasks.md"} << tasks(2, 0) << "draft"
        << "design"
        << "tasks" << 100;
    QTest::addRow("everything but the proposal")
        << QStringList{"design.md", "specs/", "tasks.md"} << tasks(1, 1) << "draft"
        << "proposal"
        << "tasks" << 50;
    QTest::addRow("capitalised Proposal.md does not count")
        << QStringList{"Proposal.md", "design.md", "specs/", "tasks.md"} << tasks(1, 0) << "draft"
        << "proposal"
        << "tasks" << 100;
    QTest::addRow("a file in place of the specs folder does not count")
        << QStringList{"proposal.md", "design.md", "specs.md", "tasks.md"} << tasks(1, 0) << "draft"
        << "specs"
        << "tasks" << 100;
    QTest::addRow("empty change folder") << QStringList{} << QByteArray() << "draft"
                                         << "proposal"
                                         << "" << 0;
}

void ChangeAnalysisTest::statusAndStages()
{
    QFETCH(QStringList, files);
    QFETCH(QByteArray, taskText);
    QFETCH(QString, status);
    QFETCH(QString, stage);
    QFETCH(QString, draftStage);
    QFETCH(int, percent);

    ProjectFolder project;
    project.makeFolder("kestrune/changes/add-x");
    for (const QString &file : files) {
        if (file.endsWith(QLatin1Char('/')))
            project.makeFolder("kestrune/changes/add-x/" + file);
        else
            project.write("kestrune/changes/add-x/" + file,
                          file == QLatin1String("tasks.md") ? taskText : "# Doc\n");
    }
    const std::optional<TreeNode> root = buildTree(project.url());
    QVERIFY(root);
    const ProjectSummary summary = computeSummary(*root);
    QCOMPARE(summary.changeSummaries.size(), 1);
    const ChangeSummary &change = summary.changeSummaries.front();
    QCOMPARE(change.changeName, QStringLiteral("add-x"));
    QCOMPARE(change.changeDirectoryURL, project.urlOf("kestrune/changes/add-x"));
    QCOMPARE(change.id, root->children->front().children->front().id);
    QCOMPARE(rawValue(change.status), status);
    QCOMPARE(rawValue(change.workflowStage), stage);
    QCOMPARE(change.currentDraftStage ? rawValue(*change.currentDraftStage) : QString(), draftStage);
    QCOMPARE(change.taskProgressPercent, qint64(percent));
    QVERIFY(!change.archivedAt);
    QCOMPARE(bool(change.completedAt), status == QLatin1String("completed"));
}

void ChangeAnalysisTest::countsTaskLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("done");
    QTest::addColumn<qint64>("total");
    QTest::addRow("indented, bare and open boxes count")
        << QStringLiteral("  - [x] write tests\n- [X]\n- [ ] ship it\n") << qint64(2) << qint64(3);
    QTest::addRow("other bullets and malformed boxes are ignored")
        << QStringLiteral("* [x] a\n+ [x] b\n1. [x] c\n-[x] d\n- [-] e\n- [x ] f\n-  [x] g\n") << qint64(0)
        << qint64(0);
    QTest::addRow("CR LF and lone carriage returns end lines")
        << QStringLiteral("- [x] a\r\n- [ ] b\r- [x] c\r\n\r\n\t- [ ] d") << qint64(2) << qint64(4);
    QTest::addRow("other separators end no line, as the preview reads them")
        << QStringLiteral("- [x] a\u2028- [ ] b\u0085- [x] c\u2029- [ ] d\f- [ ] e") << qint64(1)
        << qint64(1);
    QTest::addRow("tab and ideographic space around a box")
        << QStringLiteral("\t\u3000- [x] a\u3000") << qint64(1) << qint64(1);
}

void ChangeAnalysisTest::countsTaskLines()
{
    QFETCH(QString, text);
    QFETCH(qint64, done);
    QFETCH(qint64, total);
    const TaskCount count = countTasksInText(text);
    QCOMPARE(count.done, done);
    QCOMPARE(count.total, total);
}

void ChangeAnalysisTest::completionAndArchiveDates()
{
    const QDateTime tasksDate(QDate(2025, 3, 3), QTime(10, 0), Qt::UTC);
    const QDateTime folderDate(QDate(2025, 2, 1), QTime(9, 30), Qt::UTC);
    const QDateTime now(QDate(2025, 6, 1), QTime(12, 0), Qt::UTC);
    ProjectFolder project;
    for (const char *change :
         {"kestrune/changes/done-x", "kestrune/changes/archive/old-y", "kestrune/changes/archive/old-z"}) {
        const QString folder = QString::fromLatin1(change);
        project.write(folder + "/proposal.md");
        project.write(folder + "/design.md");
        project.makeFolder(folder + "/specs");
        project.write(folder + "/tasks.md", tasks(2, 0), tasksDate);
    }
    project.setModified("kestrune/changes/archive/old-y", folderDate);

    auto fileSystem = std::make_shared<FaultInjectingFileSystem>();
    fileSystem->missingDates << project.pathOf("kestrune/changes/archive/old-z");
    const ModelEnvironment environment = testEnvironment(fileSystem, now);
    const std::optional<TreeNode> root = buildTree(project.url(), environment);
    const ProjectSummary summary = computeSummary(*root, environment);

    const ChangeSummary *done = find(summary.changeSummaries, "done-x");
    QCOMPARE(done->status, ChangeStatus::completed);
    QCOMPARE(done->completedAt, tasksDate);
    QVERIFY(!done->archivedAt);
    const ChangeSummary *archived = find(summary.changeSummaries, "old-y");
    QCOMPARE(archived->status, ChangeStatus::archived);
    QCOMPARE(archived->archivedAt, folderDate);
    QVERIFY(!archived->completedAt);
    QCOMPARE(find(summary.changeSummaries, "old-z")->archivedAt,
             now); // unreadable date: the time of the scan
}

void ChangeAnalysisTest::archiveFoldersAndArchivedPaths()
{
    ProjectFolder project;
    project.write("kestrune/changes/remove-archive-flag/proposal.md");
    project.write("kestrune/changes/add-x/proposal.md");
    project.write("kestrune/changes/loose.md");
    project.write("kestrune/changes/archive/only-proposal/proposal.md");
    project.write("kestrune/changes/archive/archived/deep-change/proposal.md");
    project.write("kestrune/changes/Archive/capitalised/proposal.md");
    project.write("kestrune/changes/ARCHIVED/shouted/proposal.md");

    const std::optional<TreeNode> root = buildTree(project.url());
    const ProjectSummary summary = computeSummary(*root);
    QStringList names;
    for (const ChangeSummary &change : summary.changeSummaries)
        names << change.changeName + QLatin1Char(':') + rawValue(change.status);
    // Archive folders are named in any letter case, as the outline lifts them.
    QCOMPARE(names, QStringList({"add-x:draft", "remove-archive-flag:archived", "deep-change:archived",
                                 "only-proposal:archived", "capitalised:archived", "shouted:archived"}));
    QCOMPARE(summary.archivedChanges, 5);

    // Nested in changes (as a scan of the changes folder alone leaves it), the same holds.
    const std::optional<TreeNode> changes =
        scanDirectory(project.urlOf("kestrune/changes"), QStringLiteral("changes"));
    ChangeCollection collected;
    collectChanges(*changes->children, false, collected, ModelEnvironment::system());
    QStringList archived;
    for (const ChangeSummary &change : collected.summaries) {
        if (change.status == ChangeStatus::archived)
            archived << change.changeName;
    }
    archived.sort();
    QCOMPARE(archived,
             QStringList({"capitalised", "deep-change", "only-proposal", "remove-archive-flag", "shouted"}));
}

void ChangeAnalysisTest::nestedArchiveFoldersCountEachChangeOnce()
{
    ProjectFolder project;
    project.write("kestrune/changes/archive/archived/old-a/proposal.md");
    project.write("kestrune/changes/archive/archived/archive/old-b/proposal.md");
    project.write("kestrune/changes/archive/old-c/proposal.md");

    const std::optional<TreeNode> root = buildTree(project.url());
    const ProjectSummary summary = computeSummary(*root);
    QStringList names;
    QSet<QUuid> ids;
    for (const ChangeSummary &change : summary.changeSummaries) {
        names << change.changeName;
        ids.insert(change.id);
    }
    QCOMPARE(names, QStringList({"old-b", "old-a", "old-c"}));
    QCOMPARE(ids.size(), 3);
    QCOMPARE(summary.totalChanges, 3);
    QCOMPARE(summary.archivedChanges, 3);
}

void ChangeAnalysisTest::unreadableTasksCountNothing()
{
    ProjectFolder project;
    project.write("kestrune/changes/add-x/proposal.md");
    project.write("kestrune/changes/add-x/design.md");
    project.makeFolder("kestrune/changes/add-x/specs");
    project.write("kestrune/changes/add-x/tasks.md", tasks(3, 0));
    project.write("kestrune/changes/add-y/tasks.md", "- [x] caf\xe9\n");

    auto fileSystem = std::make_shared<FaultInjectingFileSystem>();
    fileSystem->unreadableFiles << project.pathOf("kestrune/changes/add-x/tasks.md");
    const ModelEnvironment environment = testEnvironment(fileSystem);
    const std::optional<TreeNode> root = buildTree(project.url(), environment);
    const ProjectSummary summary = computeSummary(*root, environment);
    const ChangeSummary *unreadable = find(summary.changeSummaries, "add-x");
    QCOMPARE(unreadable->status, ChangeStatus::active); // never completed without readable tasks
    QCOMPARE(unreadable->taskProgressPercent, qint64(0));
    QCOMPARE(find(summary.changeSummaries, "add-y")->taskProgressPercent, qint64(0)); // not UTF-8
}

// A task list or a specification that is a link out of the project is never read: a
// repository cannot make the counts reveal what lies elsewhere on the machine.
void ChangeAnalysisTest::filesLinkingOutOfTheProjectAreUnreadable()
{
    ProjectFolder outside(QStringLiteral("elsewhere"));
    outside.write("tasks.md", tasks(3, 0));
    outside.write("spec.md", "### Requirement: One\n### Requirement: Two\n");
    ProjectFolder project;
    project.write("kestrune/changes/add-z/proposal.md");
    project.makeFolder("kestrune/specs/auth");
    QVERIFY(::symlink(qPrintable(outside.pathOf("tasks.md")),
                      qPrintable(project.pathOf("kestrune/changes/add-z/tasks.md"))) == 0);
    QVERIFY(::symlink(qPrintable(outside.pathOf("spec.md")),
                      qPrintable(project.pathOf("kestrune/specs/auth/spec.md"))) == 0);

    const ModelEnvironment environment = testEnvironment();
    const std::optional<TreeNode> root = buildTree(project.url(), environment);
    const ProjectSummary summary = computeSummary(*root, environment);
    const ChangeSummary *change = find(summary.changeSummaries, "add-z");
    QVERIFY(change);
    QVERIFY(change->hasTasks); // listed
    QCOMPARE(change->taskProgressPercent, qint64(0));
    QVERIFY(change->status != ChangeStatus::completed);
    QCOMPARE(summary.specRequirementCounts.value(QStringLiteral("auth")), qint64(0));
    QCOMPARE(summary.specReqsCount, qint64(0));
}

QTEST_APPLESS_MAIN(ChangeAnalysisTest)
#include "tst_changeanalysis.moc"
