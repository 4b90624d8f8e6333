#include "changestory.h"
#include "historyreading.h"

#include <QTest>

using namespace kestrune;

class FileHistoryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void followsRenames();
    void readsTextAtACommit();
    void readsTheSpecificationsAtACommit();
    void requirementHistoryNamesTheArchivedChange();
};

void FileHistoryTest::followsRenames()
{
    TestRepository repository;
    repository.write("kestrune/specs/notes/spec.md", "# Notes\n\nfirst\n");
    const QString added = repository.commit("Add notes");
    repository.write("kestrune/specs/notes/spec.md", "# Notes\n\nfirst\nsecond\n");
    const QString changed = repository.commit("Change notes");
    repository.write("README.md", "unrelated\n");
    repository.commit("Unrelated");
    repository.moveFolder("kestrune/specs/notes", "kestrune/specs/journal");
    const QString moved = repository.commit("Rename notes to journal");
    repository.write("kestrune/specs/journal/spec.md", "# Journal\n\nfirst\nsecond\n");
    const QString retitled = repository.commit("Retitle");

    const HistoryRead<FileHistoryEntry> read = readFileHistory(
        repository.path(), repository.pathOf(QStringLiteral("kestrune/specs/journal/spec.md")));
    QCOMPARE(read.outcome->messages, QStringList());
    QCOMPARE(read.entries.size(), 4);
    QCOMPARE(read.entries.at(0).commit.sha, retitled);
    QCOMPARE(read.entries.at(0).kind, FileChangeKind::modified);
    QCOMPARE(read.entries.at(1).commit.sha, moved);
    QCOMPARE(read.entries.at(1).kind, FileChangeKind::renamed);
    QCOMPARE(read.entries.at(1).path, QStringLiteral("kestrune/specs/journal/spec.md"));
    QCOMPARE(read.entries.at(1).previousPath, QStringLiteral("kestrune/specs/notes/spec.md"));
    QCOMPARE(read.entries.at(2).commit.sha, changed);
    QCOMPARE(read.entries.at(2).path, QStringLiteral("kestrune/specs/notes/spec.md"));
    QCOMPARE(read.entries.at(3).commit.sha, added);
    QCOMPARE(read.entries.at(3).kind, FileChangeKind::added);
}

void FileHistoryTest::readsTextAtACommit()
{
    TestRepository repository;
    repository.write("kestrune/specs/notes/spec.md", "one\n");
    const QString first = repository.commit("One");
    repository.write("kestrune/specs/notes/spec.md", "two\n");
    const QString second = repository.commit("Two");

    const std::unique_ptr<HistoryRepository> history = openRepository(repository.path());
    QVERIFY(history);
    QCOMPARE(history->fileAt(first, QStringLiteral("kestrune/specs/notes/spec.md")), QByteArray("one\n"));
    QCOMPARE(history->fileAt(second.left(10), QStringLiteral("kestrune/specs/notes/spec.md")),
             QByteArray("two\n"));
    QCOMPARE(history->head()->sha, second);
    QString why;
    QVERIFY(!history->fileAt(first, QStringLiteral("kestrune/specs/none.md"), &why));
    QVERIFY(why.contains(QStringLiteral("kestrune/specs/none.md")));
    QVERIFY(!history->fileAt(QStringLiteral("no-such-commit"), QStringLiteral("x.md"), &why));
    QVERIFY(!why.isEmpty());
}

void FileHistoryTest::readsTheSpecificationsAtACommit()
{
    TestRepository repository;
    repository.write("app/kestrune/specs/notes/spec.md", "notes\n");
    repository.write("app/kestrune/specs/notes/image.png", "binary");
    repository.write("app/kestrune/specs/accounts.md", "accounts\n");
    repository.write("app/kestrune/changes/c/proposal.md", "change\n");
    const QString first = repository.commit("Specs");
    repository.write("app/kestrune/specs/notes/spec.md", "notes, later\n");
    repository.commit("Later");

    const std::unique_ptr<HistoryRepository> history =
        openRepository(repository.pathOf(QStringLiteral("app")));
    QVERIFY(history);
    const SpecificationSnapshot snapshot = history->specificationsAt(first);
    QCOMPARE(snapshot.commit, first);
    QCOMPARE(snapshot.files.size(), 2);
    QCOMPARE(snapshot.files.at(0).path, QStringLiteral("kestrune/specs/accounts.md"));
    QCOMPARE(snapshot.files.at(1).path, QStringLiteral("kestrune/specs/notes/spec.md"));
    QCOMPARE(snapshot.files.at(1).content, QByteArray("notes\n"));
    QCOMPARE(snapshot.messages, QStringList());
}

void FileHistoryTest::requirementHistoryNamesTheArchivedChange()
{
    TestRepository repository;
    ChangeStory story = ChangeStory::write(repository);
    repository.write("kestrune/specs/tagging/spec.md",
                     "# Tagging\n\n## Requirements\n\n### Requirement: Tags\n\n"
                     "Notes SHALL have tags.\n\n### Requirement: Colours\n\nTags "
                     "MAY have colours.\n");
    repository.commit("Add colours");

    const HistoryRead<RequirementHistoryEntry> read = readRequirementHistory(
        repository.path(), repository.pathOf(QStringLiteral("kestrune/specs/tagging/spec.md")),
        QStringLiteral("  Tags "));
    QCOMPARE(read.outcome->messages, QStringList());
    QCOMPARE(read.entries.size(), 2);
    QCOMPARE(read.entries.at(0).commit.sha, story.archived);
    QCOMPARE(read.entries.at(0).kind, RequirementChangeKind::modified);
    QCOMPARE(read.entries.at(0).archivedChanges,
             QStringList({"kestrune/changes/archive/2026-03-02-add-tagging"}));
    QVERIFY(read.entries.at(0).textBefore.contains(QStringLiteral("MAY")));
    QVERIFY(read.entries.at(0).textAfter.contains(QStringLiteral("SHALL")));
    QCOMPARE(read.entries.at(1).kind, RequirementChangeKind::added);
    QCOMPARE(read.entries.at(1).archivedChanges, QStringList());
}

QTEST_GUILESS_MAIN(FileHistoryTest)
#include "tst_filehistory.moc"
