// The reading store across runs: what is seen is read back by the next run, a store that cannot
// be believed is set aside with a notice and starts again, the size bound drops the least
// recently seen texts, and nothing is ever written under the project folder.
#include "reading/readingrecordformat_p.h"
#include "reading/readingstatefolder.h"
#include "reading/readingstore.h"
#include "reading/readingstorefiles.h"

#include "project/projectstore.h"
#include "projectfolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace kestrune;

namespace {

const QString tasks = QStringLiteral("kestrune/changes/add-login/tasks.md");
const QString proposal = QStringLiteral("kestrune/changes/add-login/proposal.md");
const QString specification = QStringLiteral("kestrune/specs/login/spec.md");

std::shared_ptr<const TreeNode> outlineOf(const ProjectFolder &project)
{
    const auto result = ProjectStore::scanProject(project.url());
    return result ? std::make_shared<const TreeNode>(result->tree) : nullptr;
}

void writeSmallProject(ProjectFolder &project)
{
    project.write(proposal, "# Add login\n\nWhy.\n");
    project.write(tasks, "- [x] one\n- [ ] two\n- [ ] three\n");
    project.write(specification, "# Login\n\n### Requirement: Sign in\n\nText.\n");
}

// Every path below a folder with its size and date: what a test compares before and after.
QStringList snapshotOf(const QString &folder)
{
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        entries.append(info.filePath() + u' ' + QString::number(info.size()) + u' ' +
                       QString::number(info.lastModified().toMSecsSinceEpoch()));
    }
    entries.sort();
    return entries;
}

enum class Damage
{
    byteChanged,
    cutShort,
    cutInHeader,
    emptied,
    replacedByOtherText,
    laterVersion,
    replacedByFolder,
};

bool applyDamage(const QString &index, Damage damage)
{
    QFile file(index);
    switch (damage) {
    case Damage::byteChanged: {
        if (!file.open(QIODevice::ReadWrite))
            return false;
        QByteArray bytes = file.readAll();
        bytes[bytes.size() - 5] = char(bytes[bytes.size() - 5] ^ 0x20);
        return file.seek(0) && file.write(bytes) == bytes.size();
    }
    case Damage::cutShort:
        return file.resize(70);
    case Damage::cutInHeader:
        return file.resize(12);
    case Damage::emptied:
        return file.resize(0);
    case Damage::replacedByOtherText:
        return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
               file.write("{\"some\": \"json\"}\n") > 0;
    case Damage::laterVersion:
        // The low byte of the version number, after the eight bytes that say what the file is.
        return file.open(QIODevice::ReadWrite) && file.seek(11) && file.write("\x07", 1) == 1;
    case Damage::replacedByFolder:
        return file.remove() && QDir().mkpath(index + QStringLiteral("/inside"));
    }
    return false;
}

bool loadStore(ReadingStore &store)
{
    QSignalSpy loaded(&store, &ReadingStore::loaded);
    store.load();
    return loaded.wait(10000);
}

bool markSeen(ReadingStore &store, const QString &relativePath, const QByteArray &bytes,
              const QDateTime &modified = QDateTime::fromMSecsSinceEpoch(1'700'000'000'000))
{
    QSignalSpy recorded(&store, &ReadingStore::seenRecorded);
    store.markSeen(relativePath, bytes, modified);
    return recorded.wait(10000);
}

bool save(ReadingStore &store)
{
    QSignalSpy saved(&store, &ReadingStore::saved);
    store.saveNow();
    return saved.wait(10000) && saved.first().first().toBool();
}

std::optional<QByteArray> seenText(ReadingStore &store, const QString &relativePath)
{
    QSignalSpy read(&store, &ReadingStore::seenTextRead);
    store.readSeenText(relativePath);
    if (!read.wait(10000))
        return QByteArray("(no answer)");
    return read.first().at(1).value<std::optional<QByteArray>>();
}

} // namespace

Q_DECLARE_METATYPE(Damage)
Q_DECLARE_METATYPE(ReadingStoreNotice::Reason)

class TestReadingStore : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_state;
    QString stateRoot() const { return m_state->filePath(QStringLiteral("state")); }

    // A store written by one run and then damaged as `damage` says.
    QString damagedIndex(const ProjectFolder &project, Damage damage)
    {
        {
            ReadingStore store(project.path(), stateRoot());
            if (!loadStore(store) || !markSeen(store, proposal, "# Add login\n") || !save(store))
                return {};
        }
        QString index =
            ReadingStoreFiles(ReadingStateFolder::ofProject(
                                  stateRoot(), ReadingStateFolder::canonicalProjectPath(project.path())),
                              QString())
                .indexPath();
        if (!applyDamage(index, damage))
            return {};
        return index;
    }

private Q_SLOTS:
    void init() { m_state = std::make_unique<QTemporaryDir>(); }

    void stateFolderFollowsTheBaseDirectoryRules()
    {
        const QByteArray saved = qgetenv("XDG_STATE_HOME");
        qputenv("XDG_STATE_HOME", "/somewhere/state");
        QCOMPARE(ReadingStateFolder::root(), QStringLiteral("/somewhere/state/kestrune/reading"));
        qputenv("XDG_STATE_HOME", "relative/state"); // not absolute: ignored
        QCOMPARE(ReadingStateFolder::root(),
                 QDir::homePath() + QStringLiteral("/.local/state/kestrune/reading"));
        qunsetenv("XDG_STATE_HOME");
        QCOMPARE(ReadingStateFolder::root(),
                 QDir::homePath() + QStringLiteral("/.local/state/kestrune/reading"));
        if (!saved.isNull())
            qputenv("XDG_STATE_HOME", saved);
    }

    void aProjectIsKnownByItsCanonicalPath()
    {
        ProjectFolder project;
        writeSmallProject(project);
        const QString link = m_state->filePath(QStringLiteral("link"));
        QVERIFY(QFile::link(project.path(), link));
        ReadingStore direct(project.path(), stateRoot());
        ReadingStore throughLink(link, stateRoot());
        QCOMPARE(throughLink.projectPath(), direct.projectPath());
        QCOMPARE(throughLink.folder(), direct.folder());

        // Moved elsewhere, it is another project with a store of its own.
        const QString moved = m_state->filePath(QStringLiteral("moved"));
        QVERIFY(QDir().rename(project.path(), moved));
        ReadingStore afterMove(moved, stateRoot());
        QVERIFY(afterMove.folder() != direct.folder());
        QVERIFY(loadStore(afterMove));
        QVERIFY(!afterMove.record().hasBaseline());
        QVERIFY(QDir().rename(moved, project.path()));

        // A folder that does not exist has no store and writes nothing.
        ReadingStore missing(m_state->filePath(QStringLiteral("nowhere")), stateRoot());
        QVERIFY(missing.projectPath().isEmpty());
        QVERIFY(loadStore(missing));
        missing.markSeen(proposal, "text", QDateTime::currentDateTimeUtc());
        QTRY_VERIFY(!missing.record().files.isEmpty());
        QVERIFY(!QFileInfo::exists(stateRoot()));
    }

    void whatWasSeenIsReadBackByTheNextRun()
    {
        ProjectFolder project;
        writeSmallProject(project);
        ReadingRecord written;
        {
            ReadingStore store(project.path(), stateRoot());
            QVERIFY(loadStore(store));
            QSignalSpy baseline(&store, &ReadingStore::firstImportRecorded);
            store.recordFirstImport(outlineOf(project));
            QVERIFY(baseline.wait(10000));
            QVERIFY(markSeen(store, proposal, "# Add login\n\nWhy, with more words.\n"));
            written = store.record();
        } // destroyed with unsaved changes: saved on the way out

        ReadingStore next(project.path(), stateRoot());
        QSignalSpy notices(&next, &ReadingStore::noticeRaised);
        QVERIFY(loadStore(next));
        QCOMPARE(notices.count(), 0);
        QCOMPARE(next.record(), written);
        QVERIFY(next.record().hasBaseline());
        QCOMPARE(next.record().files.size(), 3);
        QCOMPARE(next.record().files.value(tasks).facts.tasksDone, std::optional<qint64>(1));
        QCOMPARE(next.record().files.value(specification).facts.requirementNames,
                 std::optional<QStringList>(QStringList{QStringLiteral("Sign in")}));
        QCOMPARE(seenText(next, proposal),
                 std::optional<QByteArray>("# Add login\n\nWhy, with more words.\n"));
        // The baseline reads no text, so it keeps none.
        QCOMPARE(seenText(next, tasks), std::nullopt);
    }

    // The baseline is taken whole into an empty record; a file seen before it arrived keeps what
    // was seen, text and all, and the rest of the baseline still comes in.
    void aFileSeenBeforeTheBaselineKeepsItsText()
    {
        ProjectFolder project;
        writeSmallProject(project);
        ReadingStore store(project.path(), stateRoot());
        QVERIFY(loadStore(store));
        QSignalSpy seen(&store, &ReadingStore::seenRecorded);
        QSignalSpy baseline(&store, &ReadingStore::firstImportRecorded);
        store.markSeen(proposal, "# Add login\n\nSeen first.\n", QDateTime::currentDateTimeUtc());
        store.recordFirstImport(outlineOf(project));
        QVERIFY(baseline.wait(10000));
        QCOMPARE(seen.count(), 1);
        QCOMPARE(store.record().files.size(), 3);
        QVERIFY(store.record().files.value(proposal).hasText);
        QVERIFY(!store.record().files.value(tasks).hasText);
        QCOMPARE(seenText(store, proposal), std::optional<QByteArray>("# Add login\n\nSeen first.\n"));
    }

    void aSecondFirstImportKeepsTheFirst()
    {
        ProjectFolder project;
        writeSmallProject(project);
        ReadingStore store(project.path(), stateRoot());
        QSignalSpy baseline(&store, &ReadingStore::firstImportRecorded);
        // Asked before the store is read: waits for it.
        store.recordFirstImport(outlineOf(project));
        QVERIFY(loadStore(store));
        QVERIFY(baseline.wait(10000));
        const QDateTime first = *store.record().firstImport;
        QVERIFY(save(store));

        project.write(QStringLiteral("kestrune/changes/later/proposal.md"), "# Later\n");
        ReadingStore next(project.path(), stateRoot());
        QVERIFY(loadStore(next));
        next.recordFirstImport(outlineOf(project));
        QCOMPARE(*next.record().firstImport, first);
        QVERIFY(!next.record().files.contains(QStringLiteral("kestrune/changes/later/proposal.md")));
    }

    void theFirstMarksKeepTheTextsOfFilesStillAsTheyWere()
    {
        ProjectFolder project;
        writeSmallProject(project);
        ReadingStore store(project.path(), stateRoot());
        QVERIFY(loadStore(store));
        QSignalSpy baseline(&store, &ReadingStore::firstImportRecorded);
        QSignalSpy kept(&store, &ReadingStore::unchangedTextsKept);
        const std::shared_ptr<const TreeNode> imported = outlineOf(project);
        store.computeMarks(imported); // the first import: a baseline by the files' dates
        QVERIFY(baseline.wait(10000));
        // Edited before its text was kept: the text now is not what the first import saw.
        project.write(proposal, "# Add login\n\nWhy, edited.\n", QDateTime::currentDateTimeUtc().addSecs(5));
        store.computeMarks(imported);
        QVERIFY(kept.wait(10000));
        QCOMPARE(seenText(store, tasks), std::optional<QByteArray>("- [x] one\n- [ ] two\n- [ ] three\n"));
        QCOMPARE(seenText(store, specification),
                 std::optional<QByteArray>("# Login\n\n### Requirement: Sign in\n\nText.\n"));
        QCOMPARE(seenText(store, proposal), std::nullopt);

        // A file changed since shows against the text kept; the kept texts outlive the run.
        project.write(tasks, "- [x] one\n- [x] two\n- [ ] three\n",
                      QDateTime::currentDateTimeUtc().addSecs(10));
        QSignalSpy marks(&store, &ReadingStore::marksComputed);
        store.computeMarks(outlineOf(project));
        QVERIFY(marks.wait(10000));
        const auto computed = marks.last().first().value<ReadingMarks>();
        QCOMPARE(computed.markOf(tasks).state, ReadingState::changed);
        QVERIFY(computed.markOf(tasks).hasSeenText);
        QVERIFY(!computed.markOf(proposal).hasSeenText);
        QCOMPARE(kept.count(), 1); // asked once per store
        QVERIFY(save(store));
        ReadingStore next(project.path(), stateRoot());
        QVERIFY(loadStore(next));
        QCOMPARE(seenText(next, tasks), std::optional<QByteArray>("- [x] one\n- [ ] two\n- [ ] three\n"));
    }

    // An outline published again before the first import's baseline arrived still keeps the texts.
    void marksAskedTwiceBeforeTheBaselineStillKeepTheTexts()
    {
        ProjectFolder project;
        writeSmallProject(project);
        ReadingStore store(project.path(), stateRoot());
        QVERIFY(loadStore(store));
        QSignalSpy kept(&store, &ReadingStore::unchangedTextsKept);
        const std::shared_ptr<const TreeNode> imported = outlineOf(project);
        store.computeMarks(imported);
        store.computeMarks(imported);
        QVERIFY(kept.wait(10000));
        QVERIFY(store.record().files.value(tasks).hasText);
        QCOMPARE(seenText(store, tasks), std::optional<QByteArray>("- [x] one\n- [ ] two\n- [ ] three\n"));
    }

    void unchangedTextsStayWithinTheSizeBound()
    {
        ProjectFolder project;
        // Texts that compress badly, so that the bound holds a few of them only.
        QByteArray noise = "seed";
        for (int i = 0; i < 40; ++i) {
            QByteArray text = "# Spec\n\n";
            for (int line = 0; line < 30; ++line) {
                noise = QCryptographicHash::hash(noise, QCryptographicHash::Sha256);
                text += noise.toHex() + '\n';
            }
            project.write(QStringLiteral("kestrune/specs/s%1/spec.md").arg(i), text);
        }
        ReadingStore store(project.path(), stateRoot());
        store.setTextBound(4000);
        QVERIFY(loadStore(store));
        QSignalSpy baseline(&store, &ReadingStore::firstImportRecorded);
        QSignalSpy kept(&store, &ReadingStore::unchangedTextsKept);
        const std::shared_ptr<const TreeNode> imported = outlineOf(project);
        store.computeMarks(imported);
        QVERIFY(baseline.wait(10000));
        store.computeMarks(imported);
        QVERIFY(kept.wait(10000));
        QVERIFY(store.record().storedTextBytes() > 0);
        QVERIFY(store.record().storedTextBytes() <= 4000);
        QVERIFY(save(store));
        qsizetype textFiles = QDir(store.folder() + QStringLiteral("/texts")).entryList(QDir::Files).size();
        qsizetype withText = 0;
        for (const SeenFile &file : store.record().files)
            withText += file.hasText ? 1 : 0;
        QCOMPARE(textFiles, withText);
        QVERIFY(withText < 40);
    }

    // A batch of texts already read when the bound is lowered keeps only what the bound holds now.
    void aBoundLoweredWhileTextsAreReadHolds()
    {
        ProjectFolder project;
        for (int i = 0; i < 12; ++i)
            project.write(QStringLiteral("kestrune/specs/s%1/spec.md").arg(i), "# Spec\n\nText.\n");
        ReadingStore store(project.path(), stateRoot());
        QVERIFY(loadStore(store));
        QSignalSpy baseline(&store, &ReadingStore::firstImportRecorded);
        const std::shared_ptr<const TreeNode> imported = outlineOf(project);
        store.computeMarks(imported);
        QVERIFY(baseline.wait(10000));
        QSignalSpy kept(&store, &ReadingStore::unchangedTextsKept);
        // The worker runs in order: the seen file arrives after the first batch was asked for
        // with the old bound, and before that batch arrives.
        store.keepUnchangedTexts(imported);
        store.markSeen(QStringLiteral("kestrune/specs/s0/spec.md"), "# Spec\n\nText.\n", QDateTime());
        connect(&store, &ReadingStore::seenRecorded, &store, [&store] { store.setTextBound(0); });
        QVERIFY(kept.wait(10000));
        QCOMPARE(store.record().storedTextBytes(), qint64(0));
        QVERIFY(save(store));
        QVERIFY(QDir(store.folder() + QStringLiteral("/texts")).entryList(QDir::Files).isEmpty());
    }

    void aStoreThatCannotBeBelievedIsSetAside_data()
    {
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<ReadingStoreNotice::Reason>("reason");
        using Reason = ReadingStoreNotice::Reason;
        QTest::addRow("a byte changed in the middle") << Damage::byteChanged << Reason::damaged;
        QTest::addRow("cut short") << Damage::cutShort << Reason::truncated;
        QTest::addRow("cut inside the header") << Damage::cutInHeader << Reason::truncated;
        QTest::addRow("empty") << Damage::emptied << Reason::truncated;
        QTest::addRow("not a store at all") << Damage::replacedByOtherText << Reason::damaged;
        QTest::addRow("a later version") << Damage::laterVersion << Reason::foreignVersion;
        QTest::addRow("a folder in its place") << Damage::replacedByFolder << Reason::unreadable;
    }

    void aStoreThatCannotBeBelievedIsSetAside()
    {
        QFETCH(Damage, damage);
        QFETCH(ReadingStoreNotice::Reason, reason);
        ProjectFolder project;
        writeSmallProject(project);
        const QString index = damagedIndex(project, damage);
        QVERIFY(!index.isEmpty());

        ReadingStore store(project.path(), stateRoot());
        QSignalSpy notices(&store, &ReadingStore::noticeRaised);
        QVERIFY(loadStore(store));
        QCOMPARE(notices.count(), 1);
        const auto notice = notices.first().first().value<ReadingStoreNotice>();
        QCOMPARE(notice.reason, reason);
        QVERIFY(notice.setAsidePath.startsWith(index + QStringLiteral(".set-aside-")));
        QVERIFY(QFileInfo::exists(notice.setAsidePath));
        QVERIFY(!notice.line().contains(u'\n'));
        QVERIFY(notice.line().contains(notice.setAsidePath));
        // It starts again as a first import, and is written anew.
        QVERIFY(!store.record().hasBaseline());
        QVERIFY(store.record().files.isEmpty());
        QVERIFY(markSeen(store, proposal, "# Again\n"));
        QVERIFY(save(store));
        ReadingStore next(project.path(), stateRoot());
        QSignalSpy nextNotices(&next, &ReadingStore::noticeRaised);
        QVERIFY(loadStore(next));
        QCOMPARE(nextNotices.count(), 0);
        QCOMPARE(next.record().files.size(), 1);
    }

    void anotherProjectsIndexIsNotBelieved()
    {
        ReadingRecord record;
        record.projectPath = QStringLiteral("/one/project");
        record.firstImport = QDateTime::fromMSecsSinceEpoch(1000);
        const QByteArray bytes = ReadingRecordFormat::write(record);
        QVERIFY(std::holds_alternative<ReadingRecord>(ReadingRecordFormat::read(bytes, record.projectPath)));
        const auto other = ReadingRecordFormat::read(bytes, QStringLiteral("/another/project"));
        QCOMPARE(std::get<ReadingStoreNotice::Reason>(other), ReadingStoreNotice::Reason::damaged);
    }

    void aDamagedTextReadsAsNoEarlierText()
    {
        ProjectFolder project;
        writeSmallProject(project);
        ReadingStore store(project.path(), stateRoot());
        QVERIFY(loadStore(store));
        QVERIFY(markSeen(store, proposal, QByteArray(5000, 'x')));
        const SeenFile seen = store.record().files.value(proposal);
        const QString text =
            store.folder() + QStringLiteral("/texts/") + QString::fromLatin1(seen.contentHash.toHex());
        QVERIFY(QFile::resize(text, QFileInfo(text).size() / 2));
        QCOMPARE(seenText(store, proposal), std::nullopt);
        QVERIFY(QFile::remove(text));
        QCOMPARE(seenText(store, proposal), std::nullopt);
    }

    void theSizeBoundDropsTheLeastRecentlySeen()
    {
        ProjectFolder project;
        writeSmallProject(project);
        ReadingStore store(project.path(), stateRoot());
        QVERIFY(loadStore(store));
        // Bytes that do not compress, about 4 KB each in the store.
        auto noise = [](int seed) {
            QByteArray bytes;
            quint32 value = quint32(seed) * 2654435761u + 1;
            for (int i = 0; i < 4000; ++i) {
                value = value * 1664525u + 1013904223u;
                bytes.append(char(value >> 24));
            }
            return bytes;
        };
        store.setTextBound(10'000);
        QVERIFY(markSeen(store, proposal, noise(1)));
        QVERIFY(markSeen(store, tasks, noise(2)));
        const SeenFile oldest = store.record().files.value(proposal);
        QVERIFY(oldest.hasText);
        QVERIFY(markSeen(store, specification, noise(3)));
        QVERIFY(save(store));

        const ReadingRecord &record = store.record();
        QVERIFY(record.storedTextBytes() <= 10'000);
        QVERIFY(!record.files.value(proposal).hasText);
        QVERIFY(record.files.value(tasks).hasText);
        QVERIFY(record.files.value(specification).hasText);
        // Its other facts stay, and its text is gone from the disk.
        QCOMPARE(record.files.value(proposal).contentHash, oldest.contentHash);
        QCOMPARE(seenText(store, proposal), std::nullopt);
        QVERIFY(!QFileInfo::exists(store.folder() + QStringLiteral("/texts/") +
                                   QString::fromLatin1(oldest.contentHash.toHex())));
        QCOMPARE(QDir(store.folder() + QStringLiteral("/texts")).entryList(QDir::Files).size(), 2);
        QCOMPARE(seenText(store, tasks), std::optional<QByteArray>(noise(2)));

        // A text larger than the whole bound is never kept.
        QVERIFY(markSeen(store, proposal, QByteArray(20'000, 'y') + noise(4)));
        QVERIFY(!store.record().files.value(proposal).hasText);
    }

    void aSaveBeforeASeenTextArrivesKeepsIt()
    {
        ProjectFolder project;
        writeSmallProject(project);
        ReadingStore store(project.path(), stateRoot());
        QVERIFY(loadStore(store));
        QSignalSpy recorded(&store, &ReadingStore::seenRecorded);
        QSignalSpy saved(&store, &ReadingStore::saved);
        QVERIFY(markSeen(store, tasks, "first\n"));
        // The save is asked for while the text is being kept, before its record arrives.
        store.markSeen(proposal, "# Seen just now\n", QDateTime::currentDateTimeUtc());
        store.saveNow();
        QVERIFY(recorded.wait(10000));
        QTRY_COMPARE(saved.count(), 1);
        QCOMPARE(seenText(store, proposal), std::optional<QByteArray>("# Seen just now\n"));
    }

    void forgettingRemovesTheStore()
    {
        ProjectFolder project;
        writeSmallProject(project);
        ReadingStore store(project.path(), stateRoot());
        QVERIFY(loadStore(store));
        QVERIFY(markSeen(store, proposal, "# Add login\n"));
        QVERIFY(save(store));
        QVERIFY(QFileInfo::exists(store.folder()));
        // A text on its way when the history is forgotten does not come back.
        store.markSeen(tasks, "- [ ] one\n", QDateTime::currentDateTimeUtc());
        store.forget();
        QVERIFY(store.record().files.isEmpty());
        QVERIFY(!store.record().hasBaseline());
        QTRY_VERIFY(!QFileInfo::exists(store.folder()));
        QSignalSpy read(&store, &ReadingStore::seenTextRead);
        store.readSeenText(tasks); // runs after everything asked before it
        QVERIFY(read.wait(10000));
        QVERIFY(store.record().files.isEmpty());

        ReadingStore next(project.path(), stateRoot());
        QVERIFY(loadStore(next));
        QVERIFY(next.record().files.isEmpty());
    }

    void twoInstancesOnOneProjectNeverDamageTheStore()
    {
        ProjectFolder project;
        writeSmallProject(project);
        ReadingStore first(project.path(), stateRoot());
        ReadingStore second(project.path(), stateRoot());
        QVERIFY(loadStore(first));
        QVERIFY(loadStore(second));
        QSignalSpy secondSaved(&second, &ReadingStore::saved);
        for (int round = 0; round < 5; ++round) {
            QVERIFY(markSeen(first, proposal, "first " + QByteArray::number(round)));
            QVERIFY(markSeen(second, tasks, "second " + QByteArray::number(round)));
            first.saveNow();
            second.saveNow();
        }
        QTRY_COMPARE(secondSaved.count(), 5);
        QSignalSpy firstSaved(&first, &ReadingStore::saved);
        QVERIFY(markSeen(first, specification, "last"));
        first.saveNow();
        QVERIFY(firstSaved.wait(10000));

        ReadingStore reader(project.path(), stateRoot());
        QSignalSpy notices(&reader, &ReadingStore::noticeRaised);
        QVERIFY(loadStore(reader));
        QCOMPARE(notices.count(), 0);
        // The last index written is the first instance's, whole.
        QCOMPARE(reader.record(), first.record());
        QCOMPARE(seenText(reader, specification), std::optional<QByteArray>("last"));
    }

    void nothingIsWrittenUnderTheProject()
    {
        ProjectFolder project;
        writeSmallProject(project);
        const QStringList before = snapshotOf(project.path());
        {
            ReadingStore store(project.path(), stateRoot());
            QVERIFY(loadStore(store));
            store.recordFirstImport(outlineOf(project));
            QVERIFY(markSeen(store, proposal, "# Add login\n\nWhy.\n"));
            store.markAllSeen(outlineOf(project));
            QVERIFY(save(store));
            store.readSeenText(proposal);
            store.forget();
            QVERIFY(markSeen(store, tasks, "- [x] one\n"));
        }
        QCOMPARE(snapshotOf(project.path()), before);
        QVERIFY(!snapshotOf(stateRoot()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestReadingStore)
#include "tst_readingstore.moc"
