// History of a change in a large repository: 10,000 commits over a planning folder of 2,000
// changes, made with the git library in a temporary folder (or in the folder named as the first
// argument, kept for the next run). Times the first timeline entries, the whole timeline of a
// change proposed early and archived late, the history of its proposal (through the move into
// the archive), and kestrune-report --history, beside git's own log of the same paths.
#include "benchtiming.h"
#include "historygenerator.h"
#include "processmemory.h"

#include "history/changetimeline.h"
#include "history/filehistory.h"
#include "history/historyrepository.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

using namespace kestrune;

namespace {

QByteArray run(const QString &program, const QStringList &arguments, const QString &folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    process.waitForFinished(-1);
    return process.readAllStandardOutput();
}

void report(const char *what, double ms, double targetMs)
{
    if (targetMs > 0)
        std::printf("%-44s %8.1f ms   target <= %5.0f ms: %s\n", what, ms, targetMs,
                    ms <= targetMs ? "yes" : "no");
    else
        std::printf("%-44s %8.1f ms\n", what, ms);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir temporary;
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path() + QStringLiteral("/repository");
    GeneratedHistory generated;
    const double generateMs = timeMs([&] { generated = generateHistory(folder); });
    std::printf("repository: %d commits, %d changes (%d archived), pack %.1f MB, made or read in %.1f s\n",
                generated.commits, generated.changes, generated.archived, double(generated.packBytes) / 1e6,
                generateMs / 1000);
    std::printf("followed change: %s (from %s)\n\n", qPrintable(generated.changeName),
                qPrintable(generated.activeFolder));

    const int runs = 5;
    qsizetype events = 0;
    std::vector<double> firsts;
    for (int index = 0; index < runs; ++index) {
        QElapsedTimer timer;
        timer.start();
        const HistoryRepository::Opening opening = HistoryRepository::open(generated.workTree);
        bool stop = false;
        ChangeTimeline::read(
            *opening.repository, generated.changeFolder,
            [&](ChangeTimelineBatch &&batch) {
                if (!stop && !batch.entries.isEmpty()) {
                    firsts.push_back(double(timer.nsecsElapsed()) / 1e6);
                    stop = true;
                }
            },
            [&] { return stop; });
    }
    const double firstMs = median(firsts);
    resetPeakResident();
    const long before = residentKiB();
    const double timelineMs = medianMs(runs, [&] {
        const HistoryRepository::Opening opening = HistoryRepository::open(generated.workTree);
        events = 0;
        ChangeTimeline::read(*opening.repository, generated.changeFolder,
                             [&](ChangeTimelineBatch &&batch) { events += batch.entries.size(); });
    });
    const long timelinePeak = peakResidentKiB();
    qsizetype fileEntries = 0;
    const double fileMs = medianMs(runs, [&] {
        const HistoryRepository::Opening opening = HistoryRepository::open(generated.workTree);
        fileEntries = 0;
        FileHistory::read(*opening.repository, generated.proposal,
                          [&](FileHistoryBatch &&batch) { fileEntries += batch.entries.size(); });
    });
    QByteArray json;
    const double reportMs = medianMs(3, [&] {
        json = run(QStringLiteral(KESTRUNE_REPORT_PATH),
                   {QStringLiteral("--history"), generated.changeName, folder}, folder);
    });

    QByteArray gitFile;
    const double gitFileMs = medianMs(3, [&] {
        gitFile = run(QStringLiteral("git"),
                      {QStringLiteral("log"), QStringLiteral("--follow"), QStringLiteral("--format=%H"),
                       QStringLiteral("--"),
                       QStringLiteral("kestrune/changes/archive/") + generated.changeName +
                           QStringLiteral("/proposal.md")},
                      folder);
    });
    QByteArray gitFolder;
    const double gitFolderMs = medianMs(3, [&] {
        gitFolder =
            run(QStringLiteral("git"),
                {QStringLiteral("log"), QStringLiteral("--format=%H"), QStringLiteral("--"),
                 QStringLiteral("kestrune/changes/archive/") + generated.changeName, generated.activeFolder},
                folder);
    });

    std::printf("%-44s %8s      %s\n", "", "median", "");
    report("first timeline entries (open, walk, deliver)", firstMs, 100);
    report("complete timeline of the change", timelineMs, 1000);
    report("history of its proposal.md (renames)", fileMs, 300);
    report("kestrune-report --history (whole process)", reportMs, 1000);
    report("git log --follow --format=%H -- proposal.md", gitFileMs, 0);
    report("git log --format=%H -- both change folders", gitFolderMs, 0);
    std::printf("\ntimeline: %lld events; git log of both folders: %lld commits\n",
                static_cast<long long>(events), static_cast<long long>(gitFolder.count('\n')));
    std::printf("file history: %lld entries; git log --follow: %lld commits\n",
                static_cast<long long>(fileEntries), static_cast<long long>(gitFile.count('\n')));
    std::printf("--history printed %lld bytes\n", static_cast<long long>(json.size()));
    std::printf("resident memory: %ld KiB before the timelines, peak %ld KiB while reading them\n", before,
                timelinePeak);
    return events > 0 && fileEntries > 0 ? 0 : 1;
}
