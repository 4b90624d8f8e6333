// What the reading store costs on a generated project of about 10,000 Markdown files: the first
// import's baseline, loading the store and computing every mark and card fact (the budget is
// 150 ms), keeping the first import's texts afterwards in batches (the longest batch is what
// a request to the store may wait), the same with a hundred files edited since they were seen,
// the store's size on disk,
// and comparing a 1 MB file with its seen text block by block (the budget is 30 ms).
#include "benchtiming.h"
#include "largeprojectgenerator.h"

#include "project/projectstore.h"
#include "reading/blockdiff.h"
#include "reading/cardreadingfacts.h"
#include "reading/readingbaseline.h"
#include "reading/readingmarks.h"
#include "reading/readingpaths.h"
#include "reading/readingstatefolder.h"
#include "reading/readingstore.h"
#include "reading/readingstorefiles.h"
#include "reading/unchangedtextcapture.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

using namespace kestrune;

namespace {

// A planning document of about `size` bytes: headings, paragraphs, task lists, fenced code and
// tables, as a long design or task list reads.
QString largeDocument(qsizetype size)
{
    QString text;
    for (int section = 0; text.size() < size; ++section) {
        text += QStringLiteral("## Section %1\n\n").arg(section);
        text +=
            QStringLiteral("The service SHALL keep note %1 consistent across devices, and it MUST reject "
                           "edits that arrive after the note was deleted.\nClients retry with back-off.\n\n")
                .arg(section);
        for (int task = 0; task < 6; ++task)
            text += QStringLiteral("- [%1] %2.%3 Implement step %3 of the section\n")
                        .arg(task % 2 ? QStringLiteral("x") : QStringLiteral(" "))
                        .arg(section)
                        .arg(task);
        text += QStringLiteral("\n```cpp\nint step%1 = compute(%1);\n\nreturn step%1;\n```\n\n").arg(section);
        text += QStringLiteral("| name | value |\n|---|---|\n| a%1 | %1 |\n\n").arg(section);
    }
    return text;
}

// The same document with `edits` sections changed: a paragraph reworded, a task ticked, a
// section's table removed, a paragraph added.
QString editedDocument(QString text, int edits)
{
    const int sections = int(text.count(QStringLiteral("## Section ")));
    for (int edit = 0; edit < edits; ++edit) {
        const int section = int(qint64(edit) * sections / edits);
        const QString paragraph = QStringLiteral("note %1 consistent").arg(section);
        switch (edit % 4) {
        case 0:
            text.replace(paragraph, QStringLiteral("note %1 coherent").arg(section));
            break;
        case 1:
            text.replace(QStringLiteral("- [ ] %1.0 ").arg(section),
                         QStringLiteral("- [x] %1.0 ").arg(section));
            break;
        case 2:
            text.replace(QStringLiteral("| a%1 | %1 |\n").arg(section), QString());
            break;
        default:
            text.replace(QStringLiteral("## Section %1\n\n").arg(section),
                         QStringLiteral("## Section %1\n\nA paragraph added.\n\n").arg(section));
        }
    }
    return text;
}

qint64 folderSize(const QString &folder, qint64 *blocks)
{
    qint64 total = 0;
    *blocks = 0;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        total += it.fileInfo().size();
        *blocks += (it.fileInfo().size() + 4095) / 4096 * 4096;
    }
    return total;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString projectFolder = temporary.filePath(QStringLiteral("project"));
    const int fileCount = generateLargeProject(projectFolder, LargeProjectShape{2000, 100});
    const auto scanned = ProjectStore::scanProject(QUrl::fromLocalFile(projectFolder));
    const TreeNode &tree = scanned->tree;
    const QString projectPath = ReadingStateFolder::canonicalProjectPath(projectFolder);
    const ReadingStoreFiles files(temporary.filePath(QStringLiteral("state/project")), projectPath);
    std::printf("project: %d Markdown files\n", fileCount);

    // The first import: dates from the outline, facts of task lists and specifications read.
    ReadingRecord record;
    record.projectPath = projectPath;
    record.firstImport = QDateTime::currentDateTimeUtc();
    const double baselineMs =
        medianMs(5, [&] { record.files = ReadingBaseline::of(tree, *record.firstImport); });
    const double saveMs = medianMs(5, [&] { files.saveIndex(record); });
    qint64 blocks = 0;
    std::printf("first import: baseline %.1f ms, index written in %.1f ms, %lld bytes\n", baselineMs, saveMs,
                folderSize(files.folder(), &blocks));

    auto loadAndMark = [&] {
        const ReadingStoreFiles::Loaded loaded = files.load();
        const ReadingMarks marks = ReadingMarks::compute(tree, loaded.record);
        const CardReadingFacts facts = CardReadingFacts::compute(tree, loaded.record, marks);
        return std::pair{marks.files.size(), facts.changes.size()};
    };
    ReadingStoreFiles::Loaded loadedOnce;
    ReadingMarks marksOnce;
    const double loadMs = medianMs(5, [&] { loadedOnce = files.load(); });
    const double marksMs = medianMs(5, [&] { marksOnce = ReadingMarks::compute(tree, loadedOnce.record); });
    const double factsMs =
        medianMs(5, [&] { (void)CardReadingFacts::compute(tree, loadedOnce.record, marksOnce); });
    std::printf("  of which: load %.1f ms, marks %.1f ms, card facts %.1f ms\n", loadMs, marksMs, factsMs);
    std::pair<qsizetype, qsizetype> counts;
    const double unchangedMs = medianMs(7, [&] { counts = loadAndMark(); });
    std::printf("load + every mark and card fact, nothing changed: %.1f ms (%lld marked, %lld changes) "
                "[budget 150 ms]\n",
                unchangedMs, qlonglong(counts.first), qlonglong(counts.second));

    // Every file's text kept after the first import, as the store does it: a batch at a time,
    // then a hundred of the files edited on disk.
    qint64 rawBytes = 0;
    double longestBatchMs = 0;
    int batches = 0;
    std::deque<UnchangedTextCapture::Candidate> pending = UnchangedTextCapture::candidates(tree, record);
    const double keepMs = timeMs([&] {
        while (!pending.empty()) {
            QList<SeenFile> kept;
            const double batchMs = timeMs([&] {
                kept = UnchangedTextCapture::keepNext(
                    pending, files, ReadingStore::defaultTextBound - record.storedTextBytes());
            });
            longestBatchMs = std::max(longestBatchMs, batchMs);
            ++batches;
            for (const SeenFile &text : std::as_const(kept)) {
                SeenFile &seen = record.files[text.relativePath];
                seen.size = text.size;
                seen.contentHash = text.contentHash;
                seen.hasText = true;
                seen.storedTextSize = text.storedTextSize;
                rawBytes += text.size;
            }
        }
    });
    std::printf(
        "the first import's texts kept afterwards: %d batches, the longest %.1f ms of the store's worker\n",
        batches, longestBatchMs);
    files.saveIndex(record);
    const qint64 storeBytes = folderSize(files.folder(), &blocks);
    std::printf("every file seen: %lld bytes of text kept in %lld bytes (%lld on disk in 4 KiB blocks), "
                "%lld of them compressed texts; written in %.0f ms\n",
                rawBytes, storeBytes, blocks, record.storedTextBytes(), keepMs);
    int edited = 0;
    for (auto it = record.files.cbegin(); it != record.files.cend() && edited < 100; ++it, ++edited) {
        QFile file(projectPath + u'/' + it.key());
        if (file.open(QIODevice::Append))
            file.write("\nEdited.\n");
    }
    const auto rescanned = ProjectStore::scanProject(QUrl::fromLocalFile(projectFolder));
    const double changedMs = medianMs(7, [&] {
        const ReadingStoreFiles::Loaded loaded = files.load();
        const ReadingMarks marks = ReadingMarks::compute(rescanned->tree, loaded.record);
        const CardReadingFacts facts = CardReadingFacts::compute(rescanned->tree, loaded.record, marks);
        counts = {marks.files.size(), facts.changes.size()};
    });
    std::printf("load + every mark and card fact, %d files edited: %.1f ms (%lld marked) [budget 150 ms]\n",
                edited, changedMs, qlonglong(counts.first));

    // One megabyte against its seen text.
    const QString seen = largeDocument(1 << 20);
    for (const int edits : {1, 40, 400}) {
        const QString now = editedDocument(seen, edits);
        BlockDiffResult result;
        const double textMs = medianMs(9, [&] { result = BlockDiff::compare(seen, now); });
        const QByteArray seenBytes = seen.toUtf8();
        const QByteArray nowBytes = now.toUtf8();
        const double bytesMs = medianMs(9, [&] { result = BlockDiff::compareBytes(seenBytes, nowBytes); });
        std::printf(
            "1 MB diff, %d edits: %.1f ms from texts, %.1f ms from bytes (%lld blocks marked, +%d -%d lines, "
            "outcome %d) [budget 30 ms]\n",
            edits, textMs, bytesMs, qlonglong(result.changes.size()), result.addedLines, result.removedLines,
            int(result.outcome));
    }
    const QByteArray megabyte = seen.toUtf8();
    QByteArray compressed;
    const double compressMs = medianMs(5, [&] { compressed = qCompress(megabyte); });
    const double uncompressMs = medianMs(5, [&] { (void)qUncompress(compressed); });
    std::printf("qCompress of 1 MB: %.1f ms to %lld bytes, qUncompress %.1f ms\n", compressMs,
                qlonglong(compressed.size()), uncompressMs);
    return 0;
}
