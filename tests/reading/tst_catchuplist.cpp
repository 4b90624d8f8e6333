// The catch-up list of a made-up project: its files grouped by change, specification and the
// rest, removed files listed, the lines added and removed of each kind of entry and the bounds
// that leave a file uncounted; then the counter against a real store, which counts a file once
// and again after it changes.
#include "reading/catchupcounter.h"
#include "reading/catchuplinecount.h"
#include "reading/catchuplist.h"
#include "reading/readingmarks.h"
#include "reading/readingstore.h"

#include "project/projectstore.h"
#include "projectfolder.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrune;

namespace {

const QDateTime written = QDateTime::fromMSecsSinceEpoch(1'700'000'000'000);
const QDateTime later = written.addSecs(3600);

TreeNode fileNode(const QUrl &root, const QString &relativePath)
{
    TreeNode node;
    node.kind = TreeNodeKind::markdownFile;
    node.name = relativePath.section(u'/', -1);
    node.url = QUrl::fromLocalFile(root.toLocalFile() + u'/' + relativePath);
    node.modificationDate = later;
    return node;
}

// A flat outline is enough: the list names files by their URLs, never by their place.
TreeNode outline(const QUrl &root, const QStringList &files)
{
    TreeNode tree;
    tree.kind = TreeNodeKind::projectRoot;
    tree.url = root;
    tree.children.emplace();
    for (const QString &file : files)
        tree.children->push_back(fileNode(root, file));
    return tree;
}

FileReadingMark marked(ReadingState state, bool hasSeenText = true)
{
    FileReadingMark mark;
    mark.state = state;
    mark.hasSeenText = hasSeenText;
    return mark;
}

QStringList namesOf(const CatchUpGroup &group)
{
    QStringList names;
    for (const CatchUpEntry &entry : group.entries)
        names.append(entry.name);
    return names;
}

CatchUpEntry entryFor(const ProjectFolder &project, const QString &relativePath, CatchUpEntry::Change change)
{
    CatchUpEntry entry;
    entry.change = change;
    entry.relativePath = relativePath;
    entry.url = change == CatchUpEntry::Change::removed ? QUrl() : project.urlOf(relativePath);
    entry.hasSeenText = change != CatchUpEntry::Change::added;
    return entry;
}

} // namespace

class TestCatchUpList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filesAreGroupedByChangeAndSpecification()
    {
        const QUrl root = QUrl::fromLocalFile(QStringLiteral("/projects/shop"));
        const TreeNode tree =
            outline(root, {
                              QStringLiteral("kestrune/changes/add-login/proposal.md"),
                              QStringLiteral("kestrune/changes/add-login/specs/auth/spec.md"),
                              QStringLiteral("kestrune/changes/add-login/tasks.md"),
                              QStringLiteral("kestrune/changes/archive/2025-01-01-old/tasks.md"),
                              QStringLiteral("kestrune/changes/archive/2025-02-01-newer/design.md"),
                              QStringLiteral("kestrune/changes/zoom/proposal.md"),
                              QStringLiteral("kestrune/specs/auth/spec.md"),
                              QStringLiteral("kestrune/specs/cart.md"),
                              QStringLiteral("kestrune/project.md"),
                          });
        ReadingMarks marks;
        marks.files.insert(QStringLiteral("kestrune/changes/add-login/proposal.md"),
                           marked(ReadingState::changed));
        marks.files.insert(QStringLiteral("kestrune/changes/add-login/specs/auth/spec.md"),
                           marked(ReadingState::added, false));
        marks.files.insert(QStringLiteral("kestrune/changes/archive/2025-01-01-old/tasks.md"),
                           marked(ReadingState::changed, false));
        marks.files.insert(QStringLiteral("kestrune/changes/archive/2025-02-01-newer/design.md"),
                           marked(ReadingState::added, false));
        marks.files.insert(QStringLiteral("kestrune/changes/zoom/proposal.md"),
                           marked(ReadingState::added, false));
        marks.files.insert(QStringLiteral("kestrune/specs/auth/spec.md"), marked(ReadingState::changed));
        marks.files.insert(QStringLiteral("kestrune/specs/cart.md"), marked(ReadingState::changed));
        marks.files.insert(QStringLiteral("kestrune/project.md"), marked(ReadingState::added, false));
        // Seen, and gone from the outline since.
        marks.removed.append(
            RemovedFile{QStringLiteral("kestrune/changes/add-login/design.md"), written, true});
        marks.removed.append(RemovedFile{QStringLiteral("kestrune/specs/old/spec.md"), written, false});

        const QList<CatchUpGroup> groups = CatchUpList::build(tree, marks);
        QCOMPARE(groups.size(), 6);
        QCOMPARE(CatchUpList::entryCount(groups), 10);
        // Active changes by name, the specifications, archived changes latest first, the rest.
        QCOMPARE(groups[0].kind, CatchUpGroup::Kind::change);
        QCOMPARE(groups[0].title, QStringLiteral("add-login"));
        QCOMPARE(namesOf(groups[0]),
                 QStringList({QStringLiteral("design.md"), QStringLiteral("proposal.md"),
                              QStringLiteral("specs/auth/spec.md")})); // tasks.md is unchanged
        QCOMPARE(groups[1].title, QStringLiteral("zoom"));
        QCOMPARE(groups[2].kind, CatchUpGroup::Kind::specifications);
        QCOMPARE(namesOf(groups[2]), QStringList({QStringLiteral("auth/spec.md"), QStringLiteral("cart.md"),
                                                  QStringLiteral("old/spec.md")}));
        QCOMPARE(groups[3].kind, CatchUpGroup::Kind::archivedChange);
        QCOMPARE(groups[3].title, QStringLiteral("2025-02-01-newer"));
        QCOMPARE(groups[4].title, QStringLiteral("2025-01-01-old"));
        QCOMPARE(groups[5].kind, CatchUpGroup::Kind::otherFiles);
        QCOMPARE(namesOf(groups[5]), QStringList{QStringLiteral("project.md")});

        const CatchUpEntry &removed = groups[0].entries[0];
        QCOMPARE(removed.change, CatchUpEntry::Change::removed);
        QVERIFY(removed.url.isEmpty());
        QVERIFY(!removed.modificationDate);
        QVERIFY(removed.hasSeenText);
        const CatchUpEntry &changed = groups[0].entries[1];
        QCOMPARE(changed.change, CatchUpEntry::Change::changed);
        QCOMPARE(changed.url, QUrl::fromLocalFile(
                                  QStringLiteral("/projects/shop/kestrune/changes/add-login/proposal.md")));
        QCOMPARE(changed.modificationDate, std::optional<QDateTime>(later));
        QCOMPARE(groups[0].entries[2].change, CatchUpEntry::Change::added);
    }

    void nothingMarkedListsNothing()
    {
        const QUrl root = QUrl::fromLocalFile(QStringLiteral("/projects/shop"));
        QVERIFY(CatchUpList::build(outline(root, {QStringLiteral("kestrune/project.md")}), ReadingMarks{})
                    .isEmpty());
    }

    void linesAreCountedForEveryKindOfEntry()
    {
        ProjectFolder project;
        const QString changedPath = QStringLiteral("kestrune/changes/a/proposal.md");
        project.write(changedPath, "# Title\n\nOne.\n\nTwo, edited.\n\nThree.\n");
        const QByteArray seen = "# Title\n\nOne.\n\nTwo.\n";
        QCOMPARE(CatchUpLineCount::of(entryFor(project, changedPath, CatchUpEntry::Change::changed), seen),
                 CatchUpLineCount::counted(3, 1));
        // The same text: nothing added, nothing removed.
        QCOMPARE(CatchUpLineCount::of(entryFor(project, changedPath, CatchUpEntry::Change::changed),
                                      QByteArray("# Title\n\nOne.\n\nTwo, edited.\n\nThree.\n")),
                 CatchUpLineCount::counted(0, 0));

        const QString addedPath = QStringLiteral("kestrune/changes/a/tasks.md");
        project.write(addedPath, "- [ ] one\n- [ ] two\r\n- [ ] three");
        QCOMPARE(
            CatchUpLineCount::of(entryFor(project, addedPath, CatchUpEntry::Change::added), std::nullopt),
            CatchUpLineCount::counted(3, 0));

        QCOMPARE(CatchUpLineCount::of(
                     entryFor(project, QStringLiteral("kestrune/gone.md"), CatchUpEntry::Change::removed),
                     QByteArray("a\nb\n")),
                 CatchUpLineCount::counted(0, 2));
    }

    void aFileWithoutEarlierTextOrTooLargeIsOnlyChanged()
    {
        ProjectFolder project;
        const QString path = QStringLiteral("kestrune/project.md");
        project.write(path, QByteArray(4096, 'x') + "\n");
        const CatchUpEntry changed = entryFor(project, path, CatchUpEntry::Change::changed);
        QCOMPARE(CatchUpLineCount::of(changed, std::nullopt), CatchUpLineCount::uncounted());
        // Larger than the bound, now or as seen.
        QCOMPARE(CatchUpLineCount::of(changed, QByteArray("x\n"), 1024), CatchUpLineCount::uncounted());
        QCOMPARE(CatchUpLineCount::of(changed, QByteArray(2048, 'y'), 8192).state,
                 CatchUpLineCount::State::counted);
        QCOMPARE(CatchUpLineCount::of(entryFor(project, path, CatchUpEntry::Change::removed),
                                      QByteArray(2048, 'y'), 1024),
                 CatchUpLineCount::uncounted());
        // Not text, and a file gone between the marks and the count.
        project.write(QStringLiteral("kestrune/binary.md"), QByteArray("\xff\xfe\x00zz", 5));
        QCOMPARE(CatchUpLineCount::of(
                     entryFor(project, QStringLiteral("kestrune/binary.md"), CatchUpEntry::Change::added),
                     std::nullopt),
                 CatchUpLineCount::uncounted());
        QCOMPARE(CatchUpLineCount::of(
                     entryFor(project, QStringLiteral("kestrune/missing.md"), CatchUpEntry::Change::added),
                     std::nullopt),
                 CatchUpLineCount::uncounted());
    }

    void theCounterCountsWithTheStoresTextsOnceAsAFileIs()
    {
        QTemporaryDir state;
        ProjectFolder project;
        const QString path = QStringLiteral("kestrune/changes/a/proposal.md");
        const QByteArray seenText = "# A\n\nWhy.\n";
        project.write(path, seenText, written);
        ReadingStore store(project.path(), state.path());
        QSignalSpy loaded(&store, &ReadingStore::loaded);
        store.load();
        QVERIFY(loaded.wait(10000));
        // The first import takes the baseline; the file is seen after it.
        QSignalSpy baseline(&store, &ReadingStore::firstImportRecorded);
        store.computeMarks(std::make_shared<const TreeNode>(ProjectStore::scanProject(project.url())->tree));
        QVERIFY(baseline.wait(10000));
        QSignalSpy recorded(&store, &ReadingStore::seenRecorded);
        store.markSeen(path, seenText, written);
        QVERIFY(recorded.wait(10000));

        project.write(path, "# A\n\nWhy, at last.\n\nHow.\n", later);
        const auto tree = std::make_shared<const TreeNode>(ProjectStore::scanProject(project.url())->tree);
        QSignalSpy computed(&store, &ReadingStore::marksComputed);
        store.computeMarks(tree);
        QVERIFY(computed.wait(10000));
        const auto marks = computed.last().first().value<ReadingMarks>();
        QList<CatchUpGroup> groups = CatchUpList::build(*tree, marks);
        QCOMPARE(CatchUpList::entryCount(groups), 1);

        CatchUpCounter counter;
        QSignalSpy counted(&counter, &CatchUpCounter::counted);
        counter.count(store, groups);
        QCOMPARE(counter.countOf(path).state, CatchUpLineCount::State::counting);
        QVERIFY(counted.wait(10000));
        QCOMPARE(counter.countOf(path), CatchUpLineCount::counted(3, 1));

        // Listed again as it is: counted already.
        counter.count(store, groups);
        QCOMPARE(counted.count(), 1);
        QCOMPARE(counter.countOf(path), CatchUpLineCount::counted(3, 1));

        // Edited again: counted again.
        project.write(path, "# A\n", later.addSecs(60));
        groups[0].entries[0].modificationDate = later.addSecs(60);
        counter.count(store, groups);
        QVERIFY(counted.wait(10000));
        QCOMPARE(counter.countOf(path), CatchUpLineCount::counted(0, 2));

        // No longer listed: forgotten.
        counter.count(store, {});
        QCOMPARE(counter.countOf(path).state, CatchUpLineCount::State::counting);
    }
};

QTEST_GUILESS_MAIN(TestCatchUpList)
#include "tst_catchuplist.moc"
