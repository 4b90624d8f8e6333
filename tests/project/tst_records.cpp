#include "project/calendardays.h"
#include "project/changestatus.h"
#include "project/deltaspectype.h"
#include "project/treenode.h"
#include "project/workflowstage.h"

#include <QTest>
#include <QTimeZone>

#include <cstdlib>
#include <ctime>

using namespace kestrune;

class RecordsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void rawValuesRoundTrip();
    void otherStringsConvertToNothing_data();
    void otherStringsConvertToNothing();
    void workflowStagesKeepWorkflowOrder();
    void filesHaveNoChildrenWhileEmptyFoldersHaveAnEmptyList();
    void wholeDays_data();
    void wholeDays();
};

void RecordsTest::initTestCase()
{
    // A zone with daylight saving, so that a calendar day differs from 24 hours.
    qputenv("TZ", "Europe/Berlin");
    tzset();
}

void RecordsTest::rawValuesRoundTrip()
{
    QCOMPARE(rawValue(ChangeStatus::completed), QStringLiteral("completed"));
    for (auto status :
         {ChangeStatus::draft, ChangeStatus::active, ChangeStatus::completed, ChangeStatus::archived})
        QCOMPARE(changeStatusFromRawValue(rawValue(status)), status);
    for (auto type : {DeltaSpecType::added, DeltaSpecType::modified, DeltaSpecType::removed})
        QCOMPARE(deltaSpecTypeFromRawValue(rawValue(type)), type);
    for (WorkflowStage stage : allWorkflowStages())
        QCOMPARE(workflowStageFromRawValue(rawValue(stage)), stage);
    QCOMPARE(rawValue(DeltaSpecType::modified), QStringLiteral("MODIFIED"));
}

void RecordsTest::otherStringsConvertToNothing_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addRow("status without its final letter") << QStringLiteral("complete");
    QTest::addRow("lower-case delta type") << QStringLiteral("added");
    QTest::addRow("capitalised status") << QStringLiteral("Draft");
    QTest::addRow("padded stage") << QStringLiteral(" tasks");
    QTest::addRow("empty") << QString();
}

void RecordsTest::otherStringsConvertToNothing()
{
    QFETCH(QString, raw);
    QVERIFY(!changeStatusFromRawValue(raw));
    QVERIFY(!deltaSpecTypeFromRawValue(raw));
    QVERIFY(!workflowStageFromRawValue(raw));
}

void RecordsTest::workflowStagesKeepWorkflowOrder()
{
    const auto stages = allWorkflowStages();
    QStringList names;
    for (WorkflowStage stage : stages)
        names << rawValue(stage);
    QCOMPARE(names, QStringList({"proposal", "design", "specs", "tasks"}));
    QCOMPARE(workflowPosition(WorkflowStage::specs), 2);
}

void RecordsTest::filesHaveNoChildrenWhileEmptyFoldersHaveAnEmptyList()
{
    TreeNode file;
    file.kind = TreeNodeKind::markdownFile;
    TreeNode folder;
    folder.children.emplace();
    folder.children->push_back(file);
    const TreeNode copy = folder; // a plain value: the subtree is copied
    folder.children->clear();
    QVERIFY(!file.isFolder());
    QCOMPARE(copy.children->size(), size_t(1));
    QVERIFY(!copy.children->front().children);
}

void RecordsTest::wholeDays_data()
{
    QTest::addColumn<QDateTime>("from");
    QTest::addColumn<QDateTime>("to");
    QTest::addColumn<qint64>("days");
    const QTimeZone berlin("Europe/Berlin");
    const auto at = [&berlin](int y, int m, int d, int h) {
        return QDateTime(QDate(y, m, d), QTime(h, 0), berlin);
    };
    QTest::addRow("same day") << at(2025, 3, 3, 1) << at(2025, 3, 3, 23) << qint64(0);
    QTest::addRow("23 hours across midnight is no whole day")
        << at(2025, 3, 3, 10) << at(2025, 3, 4, 9) << qint64(0);
    QTest::addRow("a calendar day across the spring change is 23 hours")
        << at(2025, 3, 29, 12) << at(2025, 3, 30, 12) << qint64(1);
    QTest::addRow("45 days") << at(2025, 1, 1, 8) << at(2025, 2, 15, 8) << qint64(45);
    QTest::addRow("future dates count negative, truncated toward zero")
        << at(2025, 2, 15, 9) << at(2025, 1, 1, 8) << qint64(-45);
}

void RecordsTest::wholeDays()
{
    QFETCH(QDateTime, from);
    QFETCH(QDateTime, to);
    QFETCH(qint64, days);
    QCOMPARE(wholeDaysBetween(from, to), days);
}

QTEST_APPLESS_MAIN(RecordsTest)
#include "tst_records.moc"
