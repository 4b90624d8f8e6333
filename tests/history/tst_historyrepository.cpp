#include "changestory.h"
#include "historyreading.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QTest>

using namespace kestrune;

class HistoryRepositoryTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void foldersWithoutHistory();
    void leavesTheRepositoryUntouched();
};

void HistoryRepositoryTest::foldersWithoutHistory()
{
    QTemporaryDir plain;
    HistoryRepository::Opening opening = HistoryRepository::open(plain.path());
    QVERIFY(!opening.repository);
    QCOMPARE(opening.reason, HistoryUnavailable::noRepository);
    QCOMPARE(HistoryRepository::open(plain.path() + QStringLiteral("/missing")).reason,
             HistoryUnavailable::noRepository);

    TestRepository bare(TestRepository::Kind::bare);
    opening = HistoryRepository::open(bare.path());
    QVERIFY(!opening.repository);
    QCOMPARE(opening.reason, HistoryUnavailable::bareRepository);
    QVERIFY(!opening.message.isEmpty());

    // A repository without a commit has no history yet, but tells where a watcher should look.
    TestRepository empty;
    opening = HistoryRepository::open(empty.path());
    QCOMPARE(opening.reason, HistoryUnavailable::noCommits);
    QCOMPARE(opening.gitFolder, QFileInfo(empty.gitFolder()).canonicalFilePath());
    QCOMPARE(opening.commonGitFolder, opening.gitFolder);

    // The repository's own folder is no part of its work tree.
    TestRepository repository;
    ChangeStory::write(repository);
    QCOMPARE(HistoryRepository::open(repository.pathOf(QStringLiteral(".git/refs"))).reason,
             HistoryUnavailable::noRepository);
    opening = HistoryRepository::open(repository.pathOf(QStringLiteral("kestrune")));
    QVERIFY(opening.repository);
    QCOMPARE(opening.gitFolder, QFileInfo(repository.gitFolder()).canonicalFilePath());
}

void HistoryRepositoryTest::leavesTheRepositoryUntouched()
{
    TestRepository repository;
    const ChangeStory story = ChangeStory::write(repository);
    for (const char *lock : {"index.lock", "HEAD.lock"}) {
        QFile file(repository.gitFolder() + QLatin1String(lock));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QStringList before = snapshotOf(repository.gitFolder());

    const QString archived =
        repository.pathOf(QStringLiteral("kestrune/changes/archive/2026-03-02-add-tagging"));
    const QString specification = repository.pathOf(QStringLiteral("kestrune/specs/tagging/spec.md"));
    QCOMPARE(readTimeline(repository.path(), archived).entries.size(), 6);
    QCOMPARE(readFileHistory(repository.path(), archived + QStringLiteral("/proposal.md")).entries.size(), 3);
    QCOMPARE(readRequirementHistory(repository.path(), specification, QStringLiteral("Tags")).entries.size(),
             2);
    const std::unique_ptr<HistoryRepository> history = openRepository(repository.path());
    QVERIFY(history->fileAt(story.proposed, QStringLiteral("kestrune/changes/add-tagging/proposal.md")));
    QCOMPARE(history->specificationsAt(story.proposed).files.size(), 1);

    QCOMPARE(snapshotOf(repository.gitFolder()), before);
}

QTEST_GUILESS_MAIN(HistoryRepositoryTest)
#include "tst_historyrepository.moc"
