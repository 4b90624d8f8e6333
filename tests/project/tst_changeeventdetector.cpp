// What two summaries of one project say happened to its changes: finished, new or archived
// changes, and silence for every other edit.
#include "project/changeeventdetector.h"

#include <QTest>

using namespace kestrune;

namespace {

using Kind = ChangeEvent::Kind;

const QString changes = QStringLiteral("/p/kestrune/changes/");

ChangeSummary activeChange(const QString &name, qint64 percent = 50)
{
    ChangeSummary change;
    change.id = QUuid::createUuid();
    change.changeName = name;
    change.changeDirectoryURL = QUrl::fromLocalFile(changes + name);
    change.status = percent == 100 ? ChangeStatus::completed : ChangeStatus::active;
    change.hasProposal = change.hasDesign = change.hasSpecs = change.hasTasks = true;
    change.taskProgressPercent = percent;
    return change;
}

ChangeSummary archivedChange(const QString &folderName)
{
    ChangeSummary change = activeChange(folderName, 100);
    change.changeDirectoryURL = QUrl::fromLocalFile(changes + QStringLiteral("archive/") + folderName);
    change.status = ChangeStatus::archived;
    return change;
}

ProjectSummary summaryOf(const QList<ChangeSummary> &changeList)
{
    ProjectSummary summary;
    summary.changeSummaries = changeList;
    summary.totalChanges = changeList.size();
    return summary;
}

ChangeEvent expected(Kind kind, const QString &name, const QString &folder)
{
    return {kind, name, QUrl::fromLocalFile(changes + folder)};
}

} // namespace

Q_DECLARE_METATYPE(ProjectSummary)

class ChangeEventDetectorTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eventsBetweenSummaries_data();
    void eventsBetweenSummaries();
};

void ChangeEventDetectorTest::eventsBetweenSummaries_data()
{
    QTest::addColumn<ProjectSummary>("before");
    QTest::addColumn<ProjectSummary>("after");
    QTest::addColumn<QList<ChangeEvent>>("events");

    const ChangeSummary login = activeChange("add-login");
    const ChangeSummary search = activeChange("add-search", 20);

    QTest::addRow("the same summary again")
        << summaryOf({login, search}) << summaryOf({login, search}) << QList<ChangeEvent>();
    ChangeSummary rescanned = login;
    rescanned.id = QUuid::createUuid(); // ids are new at every scan
    QTest::addRow("a new scan with new node ids")
        << summaryOf({login}) << summaryOf({rescanned}) << QList<ChangeEvent>();
    ChangeSummary ticked = activeChange("add-login", 75);
    QTest::addRow("a task ticked while others stay open")
        << summaryOf({login}) << summaryOf({ticked}) << QList<ChangeEvent>();
    ChangeSummary edited = login;
    edited.hasDesign = false;
    edited.workflowStage = WorkflowStage::design;
    QTest::addRow("a document of the change removed")
        << summaryOf({login}) << summaryOf({edited}) << QList<ChangeEvent>();
    ProjectSummary specificationEdited = summaryOf({login});
    specificationEdited.specCount = 4;
    specificationEdited.specRequirementCounts.insert("auth", 3);
    QTest::addRow("a specification edited")
        << summaryOf({login}) << specificationEdited << QList<ChangeEvent>();
    QTest::addRow("a change removed")
        << summaryOf({login, search}) << summaryOf({search}) << QList<ChangeEvent>();

    QTest::addRow("the last task ticked")
        << summaryOf({login, search}) << summaryOf({activeChange("add-login", 100), search})
        << QList<ChangeEvent>{expected(Kind::finished, "add-login", "add-login")};
    ChangeSummary finishedDraft = activeChange("add-login", 100);
    finishedDraft.status = ChangeStatus::draft; // a design is missing: not completed, yet all done
    finishedDraft.hasDesign = false;
    QTest::addRow("every task done in a change still missing a document")
        << summaryOf({login}) << summaryOf({finishedDraft})
        << QList<ChangeEvent>{expected(Kind::finished, "add-login", "add-login")};
    ChangeSummary noTasks = login;
    noTasks.hasTasks = false;
    noTasks.taskProgressPercent = 0;
    QTest::addRow("a task list written with every task done")
        << summaryOf({noTasks}) << summaryOf({activeChange("add-login", 100)})
        << QList<ChangeEvent>{expected(Kind::finished, "add-login", "add-login")};
    QTest::addRow("a finished change edited again")
        << summaryOf({activeChange("add-login", 100)}) << summaryOf({activeChange("add-login", 100)})
        << QList<ChangeEvent>();
    QTest::addRow("a finished change reopened")
        << summaryOf({activeChange("add-login", 100)}) << summaryOf({ticked}) << QList<ChangeEvent>();

    QTest::addRow("a new change") << summaryOf({login}) << summaryOf({login, search})
                                  << QList<ChangeEvent>{expected(Kind::added, "add-search", "add-search")};
    QTest::addRow("a new change born finished is only new")
        << summaryOf({login}) << summaryOf({activeChange("add-export", 100), login})
        << QList<ChangeEvent>{expected(Kind::added, "add-export", "add-export")};
    QTest::addRow("a change renamed is a new one")
        << summaryOf({login}) << summaryOf({activeChange("add-signin")})
        << QList<ChangeEvent>{expected(Kind::added, "add-signin", "add-signin")};

    QTest::addRow("archived under a dated name")
        << summaryOf({login, search}) << summaryOf({search, archivedChange("2025-03-03-add-login")})
        << QList<ChangeEvent>{expected(Kind::archived, "add-login", "archive/2025-03-03-add-login")};
    QTest::addRow("archived under its own name")
        << summaryOf({login}) << summaryOf({archivedChange("add-login")})
        << QList<ChangeEvent>{expected(Kind::archived, "add-login", "archive/add-login")};
    QTest::addRow("archived changes already there stay quiet")
        << summaryOf({archivedChange("2024-01-01-old"), login})
        << summaryOf({archivedChange("2024-01-01-old"), login}) << QList<ChangeEvent>();
    QTest::addRow("an archive folder copied in without its change before")
        << summaryOf({login}) << summaryOf({login, archivedChange("2024-01-01-old")}) << QList<ChangeEvent>();
    QTest::addRow("an archived copy while the change stays active")
        << summaryOf({login}) << summaryOf({login, archivedChange("2025-03-03-add-login")})
        << QList<ChangeEvent>();

    QTest::addRow("several at once, in the later summary's order")
        << summaryOf({login, search})
        << summaryOf({activeChange("add-export"), activeChange("add-search", 100),
                      archivedChange("2025-03-03-add-login")})
        << QList<ChangeEvent>{expected(Kind::added, "add-export", "add-export"),
                              expected(Kind::finished, "add-search", "add-search"),
                              expected(Kind::archived, "add-login", "archive/2025-03-03-add-login")};
}

void ChangeEventDetectorTest::eventsBetweenSummaries()
{
    QFETCH(ProjectSummary, before);
    QFETCH(ProjectSummary, after);
    QFETCH(QList<ChangeEvent>, events);
    QCOMPARE(ChangeEventDetector::between(before, after), events);
}

QTEST_GUILESS_MAIN(ChangeEventDetectorTest)
#include "tst_changeeventdetector.moc"
