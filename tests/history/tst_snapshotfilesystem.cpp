// The specifications folder as a commit held it, under the project's other files: what a review
// against an earlier commit reads.
#include "history/snapshotfilesystem.h"
#include "historyreading.h"
#include "project/localfilesystem.h"
#include "testrepository.h"

#include <QDir>
#include <QTest>

using namespace kestrune;

class SnapshotFileSystemTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answersTheSpecificationsFromTheCommit();
    void leavesEveryOtherPathToTheDisk();
};

namespace {

QStringList namesIn(const std::optional<std::vector<DirectoryEntry>> &entries)
{
    QStringList names;
    for (const DirectoryEntry &entry : entries.value_or(std::vector<DirectoryEntry>()))
        names.append(entry.name + (entry.isDirectory.value_or(false) ? QStringLiteral("/") : QString()));
    return names;
}

} // namespace

void SnapshotFileSystemTest::answersTheSpecificationsFromTheCommit()
{
    TestRepository repository;
    repository.write("kestrune/specs/notes/spec.md", "# Notes, then\n");
    repository.write("kestrune/specs/old.md", "# Old\n");
    const QString then = repository.commit("Start");
    repository.remove("kestrune/specs/old.md");
    repository.write("kestrune/specs/notes/spec.md", "# Notes, now\n");
    repository.write("kestrune/specs/tags/spec.md", "# Tags\n");
    repository.commit("Later");

    const std::unique_ptr<HistoryRepository> history = openRepository(repository.path());
    QVERIFY(history);
    const LocalFileSystem disk;
    const SnapshotFileSystem files(disk, repository.path(), history->specificationsAt(then));
    const QString specs = repository.pathOf(QStringLiteral("kestrune/specs"));

    QCOMPARE(files.readFile(specs + QStringLiteral("/notes/spec.md")), QByteArray("# Notes, then\n"));
    QCOMPARE(files.readFile(specs + QStringLiteral("/old.md")), QByteArray("# Old\n"));
    QVERIFY(!files.readFile(specs + QStringLiteral("/tags/spec.md"))); // on disk, not then
    QVERIFY(!files.exists(specs + QStringLiteral("/tags")));
    QVERIFY(files.exists(specs + QStringLiteral("/old.md")));
    QVERIFY(files.isDirectory(specs + QStringLiteral("/notes")));
    QVERIFY(!files.isDirectory(specs + QStringLiteral("/old.md")));
    QCOMPARE(namesIn(files.listDirectory(specs)), QStringList({"notes/", "old.md"}));
    QVERIFY(!files.listDirectory(specs + QStringLiteral("/tags")));
    // Inside the project, wherever its folder lives: the canonical path of what the commit holds.
    QCOMPARE(files.canonicalPath(specs + QStringLiteral("/notes/../old.md")),
             QDir(repository.path()).canonicalPath() + QStringLiteral("/kestrune/specs/old.md"));
    QVERIFY(!files.canonicalPath(specs + QStringLiteral("/tags/spec.md")));
    QVERIFY(!files.contentModificationDate(specs + QStringLiteral("/old.md")));
}

void SnapshotFileSystemTest::leavesEveryOtherPathToTheDisk()
{
    TestRepository repository;
    repository.write("kestrune/specs/notes/spec.md", "# Notes, then\n");
    repository.write("kestrune/changes/add-tags/proposal.md", "# Then\n");
    const QString then = repository.commit("Start");
    repository.write("kestrune/changes/add-tags/proposal.md", "# Now\n");
    repository.write("kestrune/specsheet.md", "# Not a specification\n");

    const std::unique_ptr<HistoryRepository> history = openRepository(repository.path());
    QVERIFY(history);
    const LocalFileSystem disk;
    const SnapshotFileSystem files(disk, repository.path(), history->specificationsAt(then));
    QCOMPARE(files.readFile(repository.pathOf(QStringLiteral("kestrune/changes/add-tags/proposal.md"))),
             QByteArray("# Now\n"));
    QCOMPARE(files.readFile(repository.pathOf(QStringLiteral("kestrune/specsheet.md"))),
             QByteArray("# Not a specification\n"));
    QVERIFY(files.contentModificationDate(repository.pathOf(QStringLiteral("kestrune/specsheet.md"))));
    QCOMPARE(namesIn(files.listDirectory(repository.pathOf(QStringLiteral("kestrune")))).size(), 3);
    QCOMPARE(files.canonicalPath(repository.path()), QDir(repository.path()).canonicalPath());
}

QTEST_GUILESS_MAIN(SnapshotFileSystemTest)
#include "tst_snapshotfilesystem.moc"
