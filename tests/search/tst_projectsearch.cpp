#include "project/projectscanner.h"
#include "project/projectstore.h"
#include "projectfolder.h"
#include "search/filesearchresult.h"
#include "search/projectsearch.h"
#include "search/projecttextindex.h"
#include "text/backgroundpool.h"

#include "text/backgroundthread.h"

#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>

using namespace kestrune;

namespace {

SearchableFilePointer fileWithText(const QString &text, const QString &path = QStringLiteral("a.md"))
{
    auto file = std::make_shared<SearchableFile>();
    file->relativePath = path;
    file->text = text;
    return file;
}

QStringList relativePaths(const QList<SearchableFilePointer> &files)
{
    QStringList paths;
    for (const SearchableFilePointer &file : files)
        paths.append(file->relativePath);
    return paths;
}

} // namespace

class ProjectSearchTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filesAreClassifiedByTheirPlaceOnDisk();
    void unreadableFilesNeverBreakTheIndex();
    void hitsNameLineAndColumn();
    void manyHitsAreCountedButNotAllKept();
    void searchPublishesEverySliceOnce();
    void newSearchSilencesTheOldOne();
    void indexRereadsOnlyChangedFiles();
    void indexLeavesTheBackgroundPoolsThreadsAsTheyWere();
};

void ProjectSearchTest::filesAreClassifiedByTheirPlaceOnDisk()
{
    ProjectFolder project;
    project.write(QStringLiteral("kestrune/project.md"), "# P");
    project.write(QStringLiteral("kestrune/specs/auth/spec.md"), "# Auth");
    project.write(QStringLiteral("kestrune/changes/add-login/specs/auth/spec.md"), "## ADDED Requirements");
    project.write(QStringLiteral("kestrune/changes/archive/2025-01-01-old/tasks.md"), "- [x] done");
    project.write(QStringLiteral("README.md"), "outside the planning folder");
    const std::optional<TreeNode> tree = buildTree(project.url());
    QVERIFY(tree);

    QHash<QString, SearchableFile> byPath;
    for (const SearchableFile &file : SearchableFile::listOf(project.url(), *tree))
        byPath.insert(file.relativePath, file);
    QCOMPARE(byPath.size(), 4);
    QCOMPARE(byPath[QStringLiteral("project.md")].kind, SearchableFileKind::other);
    QCOMPARE(byPath[QStringLiteral("specs/auth/spec.md")].kind, SearchableFileKind::specification);
    QCOMPARE(byPath[QStringLiteral("specs/auth/spec.md")].ownerName, QStringLiteral("auth"));
    const SearchableFile delta = byPath[QStringLiteral("changes/add-login/specs/auth/spec.md")];
    QCOMPARE(delta.kind, SearchableFileKind::change);
    QCOMPARE(delta.ownerName, QStringLiteral("add-login"));
    QCOMPARE(delta.deltaType, DeltaSpecType::added);
    const SearchableFile archived = byPath[QStringLiteral("changes/archive/2025-01-01-old/tasks.md")];
    QVERIFY(archived.isArchived());
    QCOMPARE(archived.ownerName, QStringLiteral("2025-01-01-old"));
    QVERIFY(archived.text.isEmpty()); // listed, not read yet
    QCOMPARE(SearchableFile::read(archived).text, QStringLiteral("- [x] done"));
}

void ProjectSearchTest::unreadableFilesNeverBreakTheIndex()
{
    ProjectFolder project;
    project.write(QStringLiteral("latin1.md"), "caf\xe9 rate");
    project.write(QStringLiteral("binary.md"), QByteArray("\x00\x01rate\x00\xff", 8));
    SearchableFile latin1;
    latin1.url = project.urlOf(QStringLiteral("latin1.md"));
    latin1 = SearchableFile::read(latin1);
    QCOMPARE(latin1.error, FileReadError::notUtf8);
    QCOMPARE(SearchPattern(QStringLiteral("rate")).matchCountIn(latin1.text), 1);

    SearchableFile binary;
    binary.url = project.urlOf(QStringLiteral("binary.md"));
    binary = SearchableFile::read(binary);
    QCOMPARE(SearchPattern(QStringLiteral("rate")).matchCountIn(binary.text), 1);

    SearchableFile vanished;
    vanished.url = project.urlOf(QStringLiteral("gone.md"));
    vanished = SearchableFile::read(vanished);
    QCOMPARE(vanished.error, FileReadError::notFound);
    QVERIFY(vanished.text.isEmpty());
}

void ProjectSearchTest::hitsNameLineAndColumn()
{
    const SearchableFilePointer file = fileWithText(QStringLiteral("rate\r\nno\rx rate rate\n\nend rate"));
    const FileSearchResult result = FileSearchResult::search(file, SearchPattern(QStringLiteral("RATE")), 7);
    QCOMPARE(result.rank, 7);
    QCOMPARE(result.matchCount, 4);
    const QList<SearchHit> expected = {{0, 0, 0, 4}, {2, 9, 2, 4}, {2, 9, 7, 4}, {4, 22, 4, 4}};
    QCOMPARE(result.hits, expected);
    QCOMPARE(result.lineText(result.hits[1]), u"x rate rate");
    QCOMPARE(result.lineText(result.hits[3]), u"end rate");
    QCOMPARE(FileSearchResult::search(file, SearchPattern(QStringLiteral("absent"))).matchCount, 0);
}

void ProjectSearchTest::manyHitsAreCountedButNotAllKept()
{
    const SearchableFilePointer file = fileWithText(QStringLiteral("ab ").repeated(3000));
    const FileSearchResult result = FileSearchResult::search(file, SearchPattern(QStringLiteral("ab")));
    QCOMPARE(result.matchCount, 3000);
    QCOMPARE(result.hits.size(), FileSearchResult::defaultHitLimit);
    QCOMPARE(result.hits.last().column, (FileSearchResult::defaultHitLimit - 1) * 3);
}

void ProjectSearchTest::searchPublishesEverySliceOnce()
{
    // Files big enough to make many slices, every third one matching.
    QList<SearchableFilePointer> files;
    const QString filler = QStringLiteral("x").repeated(ProjectSearch::sliceSize / 4);
    for (int i = 0; i < 40; ++i)
        files.append(fileWithText(filler + (i % 3 == 0 ? QStringLiteral(" needle") : QString()),
                                  QStringLiteral("f%1.md").arg(i)));
    ProjectSearch search;
    QSignalSpy found(&search, &ProjectSearch::resultsFound);
    QSignalSpy finished(&search, &ProjectSearch::finished);
    search.start(SearchPattern(QStringLiteral("needle")), files);
    QVERIFY(search.isRunning());
    QVERIFY(finished.wait());
    QVERIFY(!search.isRunning());
    QList<int> ranks;
    for (const QList<QVariant> &signal : found) {
        for (const FileSearchResult &result : signal[0].value<QList<FileSearchResult>>())
            ranks.append(result.rank);
    }
    std::sort(ranks.begin(), ranks.end());
    QList<int> expected;
    for (int i = 0; i < 40; i += 3)
        expected.append(i);
    QCOMPARE(ranks, expected);
}

void ProjectSearchTest::newSearchSilencesTheOldOne()
{
    QList<SearchableFilePointer> files;
    for (int i = 0; i < 200; ++i)
        files.append(fileWithText(QStringLiteral("old new ").repeated(20000)));
    ProjectSearch search;
    QStringList patterns;
    connect(&search, &ProjectSearch::resultsFound, this, [&](const QList<FileSearchResult> &results) {
        for (const FileSearchResult &result : results)
            patterns.append(result.file->text.mid(result.hits[0].column, result.hits[0].length));
    });
    QSignalSpy finished(&search, &ProjectSearch::finished);
    search.start(SearchPattern(QStringLiteral("old")), files);
    search.start(SearchPattern(QStringLiteral("new")), files);
    QVERIFY(finished.wait());
    QCOMPARE(finished.size(), 1);
    QCOMPARE(patterns.size(), 200);
    QVERIFY(std::all_of(patterns.cbegin(), patterns.cend(),
                        [](const QString &p) { return p == QLatin1String("new"); }));
}

void ProjectSearchTest::indexRereadsOnlyChangedFiles()
{
    ProjectFolder project;
    const QDateTime past = QDateTime::currentDateTime().addSecs(-3600);
    project.write(QStringLiteral("kestrune/specs/auth/spec.md"), "rate limits", past);
    project.write(QStringLiteral("kestrune/specs/export/spec.md"), "exports", past);
    project.write(QStringLiteral("kestrune/changes/c/tasks.md"), "- [ ] task", past);

    ProjectStore store;
    ProjectTextIndex index(store);
    QSignalSpy updated(&index, &ProjectTextIndex::projectUpdated);
    store.importProject(project.url());
    QVERIFY(updated.wait());
    QVERIFY(index.isIndexed(project.url()));
    QVERIFY(!index.isUpdating(project.url()));
    QCOMPARE(updated[0][1].value<QList<QUrl>>().size(), 3);
    const QList<SearchableFilePointer> before = index.files(project.url());
    QCOMPARE(relativePaths(before),
             (QStringList{"changes/c/tasks.md", "specs/auth/spec.md", "specs/export/spec.md"}));

    project.write(QStringLiteral("kestrune/specs/export/spec.md"), "exports with rate limits");
    QFile::remove(project.pathOf(QStringLiteral("kestrune/changes/c/tasks.md")));
    store.refreshProject(project.url());
    QVERIFY(updated.wait());
    const QList<QUrl> changed = updated[1][1].value<QList<QUrl>>();
    const QList<QUrl> removed = updated[1][2].value<QList<QUrl>>();
    QCOMPARE(changed, QList<QUrl>{project.urlOf(QStringLiteral("kestrune/specs/export/spec.md"))});
    QCOMPARE(removed, QList<QUrl>{project.urlOf(QStringLiteral("kestrune/changes/c/tasks.md"))});
    const QList<SearchableFilePointer> after = index.files(project.url());
    QCOMPARE(relativePaths(after), (QStringList{"specs/auth/spec.md", "specs/export/spec.md"}));
    QCOMPARE(after[0].get(), before[1].get()); // unchanged, so not read again
    QCOMPARE(after[1]->text, QStringLiteral("exports with rate limits"));

    store.removeProject(project.url());
    QVERIFY(index.files(project.url()).isEmpty());
}

// The index's readers yield to the window's thread; the background pool's threads, which wait for
// them and read some files themselves, and which scan projects, keep the process's niceness.
void ProjectSearchTest::indexLeavesTheBackgroundPoolsThreadsAsTheyWere()
{
    ProjectFolder project;
    for (int file = 0; file < 200; ++file)
        project.write(QStringLiteral("kestrune/specs/area-%1/spec.md").arg(file), "rate limits");
    ProjectStore store;
    ProjectTextIndex index(store);
    QSignalSpy updated(&index, &ProjectTextIndex::projectUpdated);
    store.importProject(project.url());
    QVERIFY(updated.wait());

    // Every thread of the background pool at once: each task holds its thread until all have run.
    QThreadPool *pool = BackgroundPool::instance();
    const int threads = pool->maxThreadCount();
    QSemaphore started;
    QSemaphore release;
    QList<int> niceness(threads, -100);
    for (int task = 0; task < threads; ++task) {
        pool->start([&, task] {
            niceness[task] = BackgroundThread::currentNiceness();
            started.release();
            release.acquire();
        });
    }
    QVERIFY(started.tryAcquire(threads, 10000));
    release.release(threads);
    pool->waitForDone();
    QCOMPARE(niceness, QList<int>(threads, BackgroundThread::currentNiceness()));
}

QTEST_GUILESS_MAIN(ProjectSearchTest)
#include "tst_projectsearch.moc"
