// The marks of an outline against what was seen: nothing after a first import, a file edited
// after it was seen and every folder above it, new and removed files, a file touched but not
// changed, and files that can no longer be read; the same marks after a restart.
#include "reading/readingmarks.h"
#include "reading/readingstore.h"

#include "project/projectstore.h"
#include "projectfolder.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/stat.h>

using namespace kestrune;

namespace {

const QString tasks = QStringLiteral("kestrune/changes/add-login/tasks.md");
const QString proposal = QStringLiteral("kestrune/changes/add-login/proposal.md");
const QString specification = QStringLiteral("kestrune/specs/login/spec.md");
const QDateTime written = QDateTime::fromMSecsSinceEpoch(1'700'000'000'000);
const QDateTime later = written.addSecs(3600);

std::shared_ptr<const TreeNode> outlineOf(const ProjectFolder &project)
{
    const auto result = ProjectStore::scanProject(project.url());
    return result ? std::make_shared<const TreeNode>(result->tree) : nullptr;
}

void writeSmallProject(ProjectFolder &project)
{
    project.write(proposal, "# Add login\n\nWhy.\n", written);
    project.write(tasks, "- [x] one\n- [ ] two\n", written);
    project.write(specification, "# Login\n\n### Requirement: Sign in\n\nText.\n", written);
}

} // namespace

class TestReadingMarks : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_state;
    std::unique_ptr<ProjectFolder> m_project;
    std::unique_ptr<ReadingStore> m_store;

    QString stateRoot() const { return m_state->filePath(QStringLiteral("state")); }

    void openStore()
    {
        m_store = std::make_unique<ReadingStore>(m_project->path(), stateRoot());
        QSignalSpy loaded(m_store.get(), &ReadingStore::loaded);
        m_store->load();
        QVERIFY(loaded.wait(10000));
    }

    ReadingMarks marks()
    {
        QSignalSpy computed(m_store.get(), &ReadingStore::marksComputed);
        m_store->computeMarks(outlineOf(*m_project));
        if (!computed.wait(10000))
            return {};
        return computed.last().first().value<ReadingMarks>();
    }

    void importFirstTime()
    {
        QSignalSpy baseline(m_store.get(), &ReadingStore::firstImportRecorded);
        const ReadingMarks first = marks();
        QVERIFY(first.firstImport);
        QVERIFY(baseline.count() == 1 || baseline.wait(10000));
    }

    void see(const QString &relativePath)
    {
        QFile file(m_project->pathOf(relativePath));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QSignalSpy recorded(m_store.get(), &ReadingStore::seenRecorded);
        m_store->markSeen(relativePath, file.readAll(), QFileInfo(file).lastModified());
        QVERIFY(recorded.wait(10000));
    }

private Q_SLOTS:
    void init()
    {
        m_state = std::make_unique<QTemporaryDir>();
        m_project = std::make_unique<ProjectFolder>();
        writeSmallProject(*m_project);
        openStore();
    }

    void cleanup()
    {
        m_store.reset();
        m_project.reset();
    }

    void aFirstImportMarksNothing()
    {
        const ReadingMarks first = marks();
        QVERIFY(first.firstImport);
        QVERIFY(first.files.isEmpty());
        QVERIFY(first.foldersWithUnread.isEmpty());
        // Marks asked for while the baseline is being taken wait for it, and mark nothing either.
        QSignalSpy computed(m_store.get(), &ReadingStore::marksComputed);
        QTRY_VERIFY(m_store->record().files.size() == 3);
        const ReadingMarks after = marks();
        QVERIFY(!after.firstImport);
        QVERIFY(after.files.isEmpty());
        QVERIFY(after.foldersWithUnread.isEmpty());
        QVERIFY(after.removed.isEmpty());
    }

    void anEditedFileAndTheFoldersAboveItAreMarked()
    {
        importFirstTime();
        see(proposal);
        m_project->write(proposal, "# Add login\n\nWhy, and how.\n", later);
        const ReadingMarks edited = marks();
        QCOMPARE(edited.files.size(), 1);
        QCOMPARE(edited.markOf(proposal), (FileReadingMark{ReadingState::changed, true, std::nullopt}));
        QCOMPARE(edited.markOf(tasks).state, ReadingState::unchanged);
        // The outline's root holds the planning folder's entries.
        QCOMPARE(edited.foldersWithUnread, (QSet<QString>{QString(), QStringLiteral("kestrune/changes"),
                                                          QStringLiteral("kestrune/changes/add-login")}));
        QVERIFY(!edited.holdsUnread(QStringLiteral("kestrune/specs")));

        // Seen again as it is now, it is no longer marked.
        see(proposal);
        QVERIFY(marks().files.isEmpty());
    }

    void aFileOfTheBaselineThatChangesHasNoEarlierText()
    {
        importFirstTime();
        m_project->write(tasks, "- [x] one\n- [x] two\n", later);
        const ReadingMarks edited = marks();
        QCOMPARE(edited.markOf(tasks), (FileReadingMark{ReadingState::changed, false, std::nullopt}));
    }

    void aFileTouchedButNotChangedIsNotMarked()
    {
        importFirstTime();
        see(proposal);
        m_project->setModified(proposal, later);
        m_project->setModified(tasks, later); // read by the baseline: its hash is known too
        QVERIFY(marks().files.isEmpty());
    }

    void newAndRemovedFiles()
    {
        importFirstTime();
        m_project->write(QStringLiteral("kestrune/changes/add-logout/proposal.md"), "# Add logout\n", later);
        QVERIFY(QFile::remove(m_project->pathOf(specification)));
        const ReadingMarks marked = marks();
        QCOMPARE(marked.markOf(QStringLiteral("kestrune/changes/add-logout/proposal.md")).state,
                 ReadingState::added);
        QVERIFY(marked.holdsUnread(QStringLiteral("kestrune/changes/add-logout")));
        QVERIFY(!marked.holdsUnread(QStringLiteral("kestrune/changes/add-login")));
        QCOMPARE(marked.removed.size(), 1);
        QCOMPARE(marked.removed.first().relativePath, specification);
        QVERIFY(!marked.files.contains(specification));
    }

    void markingAllAsReadClearsEveryMark()
    {
        importFirstTime();
        see(proposal);
        m_project->write(proposal, "# Add login\n\nRewritten.\n", later);
        m_project->write(QStringLiteral("kestrune/specs/logout/spec.md"), "# Logout\n", later);
        QVERIFY(QFile::remove(m_project->pathOf(specification)));
        QCOMPARE(marks().files.size(), 2);
        m_store->markAllSeen(outlineOf(*m_project));
        const ReadingMarks after = marks(); // asked after, so computed after
        QVERIFY(after.files.isEmpty());
        QVERIFY(after.foldersWithUnread.isEmpty());
        QVERIFY(after.removed.isEmpty());
        // The text seen before the edit no longer stands for the file.
        QVERIFY(!m_store->record().files.value(proposal).hasText);
    }

    void marksSurviveARestart()
    {
        importFirstTime();
        see(proposal);
        m_project->write(proposal, "# Add login\n\nRewritten.\n", later);
        m_project->write(QStringLiteral("kestrune/specs/logout/spec.md"), "# Logout\n", later);
        const ReadingMarks before = marks();
        QCOMPARE(before.files.size(), 2);
        m_store.reset(); // saves on the way out
        openStore();
        QVERIFY(m_store->record().hasBaseline());
        QCOMPARE(marks(), before);
    }

    void filesThatCannotBeReadGetAClearMark()
    {
        importFirstTime();
        see(proposal);
        see(tasks);
        // A pipe in the place of a seen file: never opened for reading, so nothing waits.
        QVERIFY(QFile::remove(m_project->pathOf(proposal)));
        QCOMPARE(::mkfifo(QFile::encodeName(m_project->pathOf(proposal)).constData(), 0600), 0);
        // Bytes that are not UTF-8 are compared as bytes.
        m_project->write(tasks, "- [x] one\n\xff\xfe\n", later);
        const ReadingMarks marked = marks();
        QCOMPARE(marked.markOf(tasks).state, ReadingState::changed);
        QVERIFY(!marked.markOf(tasks).readError);
        if (marked.files.contains(proposal)) { // the scanner lists the pipe
            QCOMPARE(marked.markOf(proposal).state, ReadingState::changed);
            QCOMPARE(marked.markOf(proposal).readError, std::optional(FileReadError::notRegularFile));
        } else {
            QCOMPARE(marked.removed.first().relativePath, proposal);
        }
    }
};

QTEST_GUILESS_MAIN(TestReadingMarks)
#include "tst_readingmarks.moc"
