// Imports a generated 10,000-file project and reports how long it takes until the summary is
// published, and the longest stall of the main thread meanwhile (a 1 ms timer measuring its own
// lateness); into the main window's view, until the dashboard has made its last card and the
// project is watched in full (both a slice per turn of the event loop) and indexed for search. The
// window is shown 100 ms before its import starts; with --at-show the import starts as the window
// is shown, as it does for a program started with a path. With --trace each run also lists the
// events that held the main thread longest, in its processor time. Run:
// bench_import [-platform offscreen] [--at-show] [--trace] [runs]
#include "eventtrace.h"
#include "stallmeter.h"

#include "app/detailarea.h"
#include "app/maincontentview.h"
#include "dashboard/dashboardview.h"
#include "largeprojectgenerator.h"
#include "markdown/document/processheap.h"
#include "project/liveprojectupdates.h"
#include "project/projectstore.h"
#include "search/projecttextindex.h"
#include "sidebar/projecttreeview.h"
#include "ui/themecontroller.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace kestrune;

namespace {

// A frame at 60 Hz: the longest the main thread may be busy without a dropped frame.
constexpr qint64 stallTargetMs = 16;

struct Measurement
{
    qint64 publishedMs = 0;
    qint64 completeMs = 0;
    qint64 longestStallMs = 0;
    // The main thread's own processor time: in the longest stall, and the most between two events.
    double longestStallCpuMs = 0;
    double longestStallWaitMs = 0; // ready to run, waiting for a processor
    double longestCpuMs = 0;
};

// Runs the event loop until the store has published the summary of the root and `complete` holds
// (the views have made what they make after the publication, a slice at a time).
Measurement importAndWait(
    ProjectStore &store, const QUrl &root, const std::function<void()> &startImport,
    const std::function<bool()> &complete = [] { return true; })
{
    QEventLoop loop;
    QObject::connect(&store, &ProjectStore::summaryByProjectChanged, &loop, [&](const QUrl &published) {
        if (published == root)
            loop.quit();
    });
    StallMeter meter;
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(0, &loop, startImport);
    loop.exec();
    const qint64 published = clock.elapsed();
    if (!complete()) {
        QEventLoop building;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &building, [&] {
            if (complete())
                building.quit();
        });
        poll.start(1);
        building.exec();
    }
    const qint64 completed = clock.elapsed();
    // Let the views finish reacting to the publication before the stall is read.
    QEventLoop settle;
    QTimer::singleShot(50, &settle, &QEventLoop::quit);
    settle.exec();
    return {published,
            completed,
            meter.longest(),
            double(meter.longestGapCpuMicroseconds()) / 1000,
            double(meter.longestGapWaitMicroseconds()) / 1000,
            double(meter.longestCpuMicroseconds()) / 1000};
}

} // namespace

int main(int argc, char **argv)
{
    ProcessHeap::configureForDocuments(); // as the program runs
    EventTraceApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    int runs = 3;
    bool importAtShow = false;
    bool trace = false;
    for (int index = 1; index < argc; ++index) {
        if (std::strcmp(argv[index], "--at-show") == 0)
            importAtShow = true;
        else if (std::strcmp(argv[index], "--trace") == 0)
            trace = true;
        else
            runs = std::max(1, atoi(argv[index]));
    }

    QTemporaryDir directory;
    const QString projectPath = directory.filePath(QStringLiteral("large-project"));
    const int files = generateLargeProject(projectPath);
    const QUrl root = QUrl::fromLocalFile(projectPath);
    std::printf("generated project: %d Markdown files\n", files);

    QTemporaryDir settingsDir;
    ThemeController theme(std::make_unique<QSettings>(settingsDir.filePath(QStringLiteral("settings.ini")),
                                                      QSettings::IniFormat));

    std::vector<qint64> stalls;
    std::vector<double> cpuStalls;
    for (int run = 1; run <= runs; ++run) {
        application.setTracing(trace);
        MainContentView view(theme);
        view.resize(1200, 900);
        view.show();
        if (!importAtShow) {
            QEventLoop shown;
            QTimer::singleShot(100, &shown, &QEventLoop::quit);
            shown.exec();
        }
        // Until the dashboard has its last card, the project is watched in full (both happen a
        // slice at a time) and its text is indexed for search.
        const auto complete = [&view, &root] {
            const auto *dashboard = qobject_cast<const DashboardView *>(view.detailArea()->currentView());
            return dashboard && !dashboard->isBuildingCards() && view.liveUpdates().isWatchedInFull(root) &&
                   view.textIndex().isIndexed(root) && !view.textIndex().isUpdating(root);
        };
        const Measurement m = importAndWait(
            view.store(), root, [&] { view.importFolder(root); }, complete);
        std::printf("main window view, run %d: summary published after %lld ms, all done after %lld ms, "
                    "longest main-thread stall %lld ms (target <= %lld ms; %.1f ms of it on the processor, "
                    "%.1f ms waiting for one), most processor time between two events %.1f ms\n",
                    run, m.publishedMs, m.completeMs, m.longestStallMs, stallTargetMs, m.longestStallCpuMs,
                    m.longestStallWaitMs, m.longestCpuMs);
        for (const EventTraceApplication::Event &event : application.takeLongest(8))
            std::printf("    %6.2f ms processor, %6.2f ms wall: %s\n", event.cpuMs, event.wallMs,
                        qUtf8Printable(event.what));
        application.setTracing(false);
        stalls.push_back(m.longestStallMs);
        cpuStalls.push_back(m.longestCpuMs);
    }
    // The first import pays for what the process loads once (fonts, glyphs, icons), so it is
    // the first thing this benchmark does.
    const qint64 firstStall = stalls.front();
    const double firstCpu = cpuStalls.front();
    std::sort(stalls.begin(), stalls.end());
    std::sort(cpuStalls.begin(), cpuStalls.end());
    std::printf("main window view, first import in the process%s: longest main-thread stall %lld ms "
                "(target <= %lld ms)\n",
                importAtShow ? " (started as the window is shown)" : "", firstStall, stallTargetMs);
    std::printf(
        "main window view, median of %d runs: longest main-thread stall %lld ms (target <= %lld ms)\n", runs,
        stalls[stalls.size() / 2], stallTargetMs);
    // What the machine's load does not change: the main thread's own time between two events.
    std::printf("main window view, processor time between two events: first import %.1f ms, median of %d "
                "runs %.1f ms\n",
                firstCpu, runs, cpuStalls[cpuStalls.size() / 2]);

    for (int run = 1; run <= runs; ++run) {
        ProjectStore store;
        const Measurement m = importAndWait(store, root, [&] { store.importProject(root); });
        std::printf(
            "store only, run %d: summary published after %lld ms, longest main-thread stall %lld ms\n", run,
            m.publishedMs, m.longestStallMs);
    }

    // The main thread's share of a publication: the outline taking the new tree.
    for (int run = 1; run <= runs; ++run) {
        auto loaded = ProjectStore::scanProject(root);
        auto tree = std::make_shared<const TreeNode>(std::move(loaded->tree));
        ProjectTreeView outline(theme);
        outline.resize(300, 800);
        outline.show();
        QElapsedTimer clock;
        clock.start();
        outline.setOutline(tree);
        const qint64 setMs = clock.restart();
        outline.repaint();
        std::printf("outline, run %d: new tree taken in %lld ms, repainted in %lld ms\n", run, setMs,
                    clock.elapsed());
    }

    return 0;
}
