#include "project/changelookup.h"
#include "project/localfilesystem.h"
#include "review/changereview.h"
#include "review/specificationmerge.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace kestrune;

namespace {

using Kind = DeltaSpecType;

QString readData(const QString &name)
{
    QFile file(QStringLiteral(TEST_DATA_DIR "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(file.fileName()));
    return QString::fromUtf8(file.readAll());
}

SpecificationMerge merge(QStringView specification, QStringView delta)
{
    return SpecificationMerge::apply(SpecificationDocument::parse(specification),
                                     SpecificationDocument::parse(delta));
}

} // namespace

Q_DECLARE_METATYPE(MergedRequirement)

class SpecificationMergeTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void appliesEachKindInPlace();
    void placesForAddedRequirements_data();
    void placesForAddedRequirements();
    void mergedLinesMatchTheMergedText();
};

void SpecificationMergeTest::appliesEachKindInPlace()
{
    QString specification = readData("merge-specification.md");
    specification.replace(u'\n', QStringLiteral("\r\n")); // the result has "\n" only
    const SpecificationMerge result = merge(specification, readData("merge-delta.md"));
    QCOMPARE(result.text, readData("merge-expected.md"));

    // Where a view marks them. The entry for a requirement the specification lacks is left out.
    const QList<MergedRequirement> expected = {
        {"Device limit", Kind::modified, {15, 6}},   {"Sync indicator", Kind::removed, {22, 0}},
        {"Legacy protocol", Kind::removed, {22, 0}}, {"Sync history", Kind::added, {22, 2}},
        {"Selective sync", Kind::added, {25, 2}},
    };
    QCOMPARE(result.requirements.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QCOMPARE(result.requirements.at(i).name, expected.at(i).name);
        QCOMPARE(result.requirements.at(i).kind, expected.at(i).kind);
        QCOMPARE(result.requirements.at(i).lines, expected.at(i).lines);
    }
}

void SpecificationMergeTest::placesForAddedRequirements_data()
{
    QTest::addColumn<QString>("specification");
    QTest::addColumn<QString>("expected");

    QTest::addRow("after the last requirement")
        << "## Requirements\n\n### Requirement: A\nText.\n\n\n## Notes\nKept.\n"
        << "## Requirements\n\n### Requirement: A\nText.\n\n### Requirement: New\nNew text.\n\n\n## "
           "Notes\nKept.\n";
    QTest::addRow("into an empty section")
        << "# Title\n## Requirements\n\n## Notes\n"
        << "# Title\n## Requirements\n\n### Requirement: New\nNew text.\n\n## Notes\n";
    QTest::addRow("into the first of two sections")
        << "## Requirements\n### Requirement: A\n## Requirements\n### Requirement: B\n"
        << "## Requirements\n### Requirement: A\n\n### Requirement: New\nNew text.\n\n## Requirements\n"
           "### Requirement: B\n";
    QTest::addRow("a new section at the end") << "# Title\n\nProse only.\n\n\n"
                                              << "# Title\n\nProse only.\n\n## Requirements\n\n"
                                                 "### Requirement: New\nNew text.\n";
    QTest::addRow("a new specification") << ""
                                         << "## Requirements\n\n### Requirement: New\nNew text.\n";
}

void SpecificationMergeTest::placesForAddedRequirements()
{
    QFETCH(QString, specification);
    QFETCH(QString, expected);
    const QString delta = QStringLiteral("## ADDED Requirements\n### Requirement: New\nNew text.\n\n"
                                         "## MODIFIED Requirements\n### Requirement: Missing\nIgnored.\n");
    const SpecificationMerge result = merge(specification, delta);
    QCOMPARE(result.text, expected);
    QCOMPARE(result.requirements.size(), 1);

    if (specification.isEmpty())
        QCOMPARE(SpecificationMerge::apply(std::nullopt, SpecificationDocument::parse(delta)).text, expected);
}

void SpecificationMergeTest::mergedLinesMatchTheMergedText()
{
    // Every change of the sample project: the lines given for each requirement put in are its
    // block in the merged text, read again.
    const QUrl root = QUrl::fromLocalFile(QStringLiteral(KESTRUNE_SAMPLE_PROJECT));
    const QDir changes(QStringLiteral(KESTRUNE_SAMPLE_PROJECT "/kestrune/changes"));
    int merged = 0;
    for (const QString &name : changes.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const ChangeReview review =
            reviewChange(*LocalFileSystem::shared(), root, QUrl::fromLocalFile(changes.filePath(name)));
        for (const CapabilityReview &capability : review.capabilities) {
            const SpecificationMerge result =
                SpecificationMerge::apply(capability.specification, capability.delta);
            const SpecificationDocument reread = SpecificationDocument::parse(result.text);
            for (const MergedRequirement &requirement : result.requirements) {
                if (requirement.kind == Kind::removed)
                    continue;
                bool found = false;
                for (const SpecificationSection &section : reread.sections) {
                    for (const RequirementBlock &block : section.requirements)
                        found |= block.name == requirement.name && block.lines == requirement.lines;
                }
                QVERIFY2(found, qPrintable(name + u'/' + requirement.name));
                ++merged;
            }
        }
    }
    QVERIFY(merged >= 8);
}

QTEST_GUILESS_MAIN(SpecificationMergeTest)
#include "tst_specificationmerge.moc"
