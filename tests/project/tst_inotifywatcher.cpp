#include "project/inotifywatcher.h"
#include "projectfolder.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <unistd.h>

using namespace kestrune;

class TestInotifyWatcher : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void watchesEachPathOnceAndRefusesWhatIsNotThere();
    void reportsWritesEntriesAndTheEndOfAWatch();
    void twoPathsOfOneFileShareTheSystemsWatch();
};

void TestInotifyWatcher::watchesEachPathOnceAndRefusesWhatIsNotThere()
{
    ProjectFolder folder;
    QStringList paths{folder.pathOf(QStringLiteral("kestrune"))};
    for (int file = 0; file < 2000; ++file) {
        const QString relative = QStringLiteral("kestrune/changes/c%1/tasks.md").arg(file);
        folder.write(relative, "- [ ] one\n");
        paths << folder.pathOf(relative) << folder.pathOf(QStringLiteral("kestrune/changes/c%1").arg(file));
    }
    const QString missing = folder.pathOf(QStringLiteral("kestrune/gone.md"));
    InotifyWatcher watcher;
    QCOMPARE(watcher.addPaths(paths + QStringList{missing}), QStringList{missing});
    QCOMPARE(watcher.count(), paths.size());
    QVERIFY(watcher.addPaths(paths).isEmpty()); // already watched: nothing refused, nothing twice
    QCOMPARE(watcher.count(), paths.size());
    QVERIFY(!watcher.isWatching(missing));
    watcher.removePaths(paths.mid(0, 1001));
    QCOMPARE(watcher.count(), paths.size() - 1001);
    QVERIFY(!watcher.isWatching(paths.constFirst()));
    QVERIFY(watcher.isWatching(paths.constLast()));
}

void TestInotifyWatcher::reportsWritesEntriesAndTheEndOfAWatch()
{
    ProjectFolder folder;
    folder.write(QStringLiteral("kestrune/tasks.md"), "- [ ] one\n");
    folder.write(QStringLiteral("kestrune/proposal.md"), "# Why\n");
    const QString planning = folder.pathOf(QStringLiteral("kestrune"));
    const QString tasks = folder.pathOf(QStringLiteral("kestrune/tasks.md"));
    const QString proposal = folder.pathOf(QStringLiteral("kestrune/proposal.md"));
    InotifyWatcher watcher;
    QVERIFY(watcher.addPaths({planning, tasks, proposal}).isEmpty());
    QSignalSpy files(&watcher, &InotifyWatcher::fileChanged);
    QSignalSpy folders(&watcher, &InotifyWatcher::directoryChanged);

    folder.write(QStringLiteral("kestrune/tasks.md"), "- [x] one\n");
    QVERIFY(files.wait());
    QCOMPARE(files.constFirst().constFirst().toString(), tasks);
    QVERIFY(folders.isEmpty()); // a write inside a folder is the file's event, not the folder's

    files.clear();
    folder.write(QStringLiteral("kestrune/design.md"), "# How\n");
    QVERIFY(folders.wait());
    QCOMPARE(folders.constFirst().constFirst().toString(), planning);

    QVERIFY(QFile::remove(proposal));
    QVERIFY(QTest::qWaitFor([&] { return !watcher.isWatching(proposal); }));
    QVERIFY(files.count() >= 1);
    QCOMPARE(files.constLast().constFirst().toString(), proposal);
    QVERIFY(watcher.isWatching(tasks));

    watcher.removePaths({tasks});
    files.clear();
    folders.clear();
    folder.write(QStringLiteral("kestrune/tasks.md"), "- [ ] one\n");
    folder.write(QStringLiteral("kestrune/marker.md"), "\n"); // the folder speaks after the file would have
    QVERIFY(folders.wait());
    QVERIFY(files.isEmpty());
}

void TestInotifyWatcher::twoPathsOfOneFileShareTheSystemsWatch()
{
    ProjectFolder folder;
    folder.write(QStringLiteral("kestrune/spec.md"), "# One\n");
    const QString original = folder.pathOf(QStringLiteral("kestrune/spec.md"));
    const QString link = folder.pathOf(QStringLiteral("kestrune/link.md"));
    QCOMPARE(::link(QFile::encodeName(original).constData(), QFile::encodeName(link).constData()), 0);
    InotifyWatcher watcher;
    QVERIFY(watcher.addPaths({original, link}).isEmpty());
    QSignalSpy files(&watcher, &InotifyWatcher::fileChanged);
    folder.write(QStringLiteral("kestrune/spec.md"), "# Two\n");
    QVERIFY(QTest::qWaitFor([&] { return files.count() >= 2; }));
    QStringList reported;
    for (const QList<QVariant> &each : std::as_const(files))
        reported << each.constFirst().toString();
    reported.removeDuplicates();
    reported.sort();
    QCOMPARE(reported, (QStringList{link, original}));

    // Ending one path's watch keeps the other's.
    watcher.removePaths({original});
    files.clear();
    folder.write(QStringLiteral("kestrune/link.md"), "# Three\n");
    QVERIFY(files.wait());
    QCOMPARE(files.constFirst().constFirst().toString(), link);
}

QTEST_GUILESS_MAIN(TestInotifyWatcher)
#include "tst_inotifywatcher.moc"
