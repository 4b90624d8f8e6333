#include "model/changestatus.h"
#include "model/deltaspectype.h"
#include "model/treenode.h"
#include "model/workflowstage.h"

#include <QTest>

using namespace kestrune;

class RecordsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rawValuesRoundTrip();
    void otherStringsConvertToNothing_data();
    void otherStringsConvertToNothing();
    void workflowStagesKeepWorkflowOrder();
    void filesHaveNoChildrenWhileEmptyFoldersHaveAnEmptyList();
};

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

QTEST_APPLESS_MAIN(RecordsTest)
#include "tst_records.moc"
