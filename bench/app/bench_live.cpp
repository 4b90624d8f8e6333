// Follows a generated 10,000-file project in the full main window and reports, for a task ticked
// on disk, how long until the new summary is published and the longest main-thread stall
// meanwhile; how long watching the project takes to set up; and the processor time the idle
// window uses while it watches. Run: bench_live [-platform offscreen] [idle seconds, default 60]
#include "eventloopwait.h"
#include "stallmeter.h"

#include "app/maincontentview.h"
#include "largeprojectgenerator.h"
#include "markdown/document/processheap.h"
#include "project/liveprojectupdates.h"
#include "project/projectstore.h"
#include "project/projectwatcher.h"
#include "ui/themecontroller.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace kestrune;

namespace {

constexpr qint64 publishTarget = 500;
constexpr qint64 stallTarget = 50;

double processorSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    ProcessHeap::configureForDocuments(); // as the program runs
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int idleSeconds = argc > 1 ? std::max(1, atoi(argv[argc - 1])) : 60;

    QTemporaryDir directory;
    const QString projectPath = directory.filePath(QStringLiteral("large-project"));
    const int files = generateLargeProject(projectPath);
    const QUrl root = QUrl::fromLocalFile(projectPath);
    std::printf("generated project: %d Markdown files\n", files);

    // Task lists of active changes, to tick one per run.
    QStringList taskLists;
    QDirIterator it(projectPath + QStringLiteral("/kestrune/changes"), {QStringLiteral("tasks.md")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!path.contains(QLatin1String("/archive/")))
            taskLists.append(path);
    }

    QTemporaryDir settingsDir;
    ThemeController theme(std::make_unique<QSettings>(settingsDir.filePath(QStringLiteral("settings.ini")),
                                                      QSettings::IniFormat));
    MainContentView view(theme);
    view.resize(1200, 900);
    view.show();
    runFor(100);

    QElapsedTimer clock;
    clock.start();
    {
        StallMeter meter;
        view.importFolder(root);
        auto *watcher = view.liveUpdates().findChild<ProjectWatcher *>();
        runUntil([&] { return view.store().summaryForProject(root) && watcher && watcher->isComplete(); }, 5);
        std::printf(
            "import and watch set-up: %lld ms, %lld paths watched, longest main-thread stall %lld ms\n",
            clock.elapsed(), qint64(watcher->watchedPaths().size()), meter.longest());
    }
    runFor(ProjectWatcher::longestDelay);

    // The main thread's share, publication by publication: the handlers connected before these
    // run between the "about to change" and the "changed" of each field.
    QElapsedTimer handlers;
    qint64 treeHandlers = 0;
    qint64 summaryHandlers = 0;
    QObject::connect(&view.store(), &ProjectStore::treeByProjectAboutToChange, [&] { handlers.start(); });
    QObject::connect(&view.store(), &ProjectStore::treeByProjectChanged,
                     [&] { treeHandlers = handlers.elapsed(); });
    QObject::connect(&view.store(), &ProjectStore::summaryByProjectAboutToChange, [&] { handlers.start(); });
    QObject::connect(&view.store(), &ProjectStore::summaryByProjectChanged,
                     [&] { summaryHandlers = handlers.elapsed(); });

    qint64 slowest = 0;
    qint64 longestStall = 0;
    const int runs = 5;
    for (int run = 0; run < runs; ++run) {
        QEventLoop published;
        QObject::connect(&view.store(), &ProjectStore::summaryByProjectChanged, &published,
                         &QEventLoop::quit);
        StallMeter meter;
        QFile tasks(taskLists.at(run));
        if (!tasks.open(QIODevice::Append))
            return 1;
        clock.restart();
        tasks.write("- [x] ticked while watched\n");
        tasks.close();
        published.exec();
        const qint64 elapsed = clock.elapsed();
        runFor(50); // the views' share of the publication
        std::printf("run %d: write to published summary %lld ms, longest main-thread stall %lld ms "
                    "(outline and watch %lld ms, dashboard %lld ms)\n",
                    run + 1, elapsed, meter.longest(), treeHandlers, summaryHandlers);
        slowest = std::max(slowest, elapsed);
        longestStall = std::max(longestStall, meter.longest());
        runFor(ProjectWatcher::longestDelay);
    }
    std::printf("write to published summary: slowest %lld ms (target <= %lld ms)\n", slowest, publishTarget);
    std::printf("longest main-thread stall: %lld ms (target <= %lld ms)\n", longestStall, stallTarget);

    const double before = processorSeconds();
    runFor(idleSeconds * 1000);
    std::printf("idle while watching: %.3f s of processor time in %d s (target: none measurable)\n",
                processorSeconds() - before, idleSeconds);
    return 0;
}
