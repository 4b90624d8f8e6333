// Imports a generated 10,000-file project and reports how long it takes until the summary is
// published, and the longest stall of the main thread meanwhile (a 1 ms timer measuring its own
// lateness). Run: bench_import [-platform offscreen] [runs]
#include "stallmeter.h"

#include "app/maincontentview.h"
#include "largeprojectgenerator.h"
#include "markdown/document/processheap.h"
#include "model/projectstore.h"
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

using namespace kestrune;

namespace {

struct Measurement
{
    qint64 publishedMs = 0;
    qint64 longestStallMs = 0;
};

// Runs the event loop until the store has published the summary of the root.
Measurement importAndWait(ProjectStore &store, const QUrl &root, const std::function<void()> &startImport)
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
    // Let the views finish reacting to the publication before the stall is read.
    QEventLoop settle;
    QTimer::singleShot(50, &settle, &QEventLoop::quit);
    settle.exec();
    return {published, meter.longest()};
}

} // namespace

int main(int argc, char **argv)
{
    ProcessHeap::configureForDocuments(); // as the program runs
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    const int runs = argc > 1 ? std::max(1, atoi(argv[argc - 1])) : 3;

    QTemporaryDir directory;
    const QString projectPath = directory.filePath(QStringLiteral("large-project"));
    const int files = generateLargeProject(projectPath);
    const QUrl root = QUrl::fromLocalFile(projectPath);
    std::printf("generated project: %d Markdown files\n", files);

    QTemporaryDir settingsDir;
    ThemeController theme(std::make_unique<QSettings>(settingsDir.filePath(QStringLiteral("settings.ini")),
                                                      QSettings::IniFormat));

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

    for (int run = 1; run <= runs; ++run) {
        MainContentView view(theme);
        view.resize(1200, 900);
        view.show();
        QEventLoop shown;
        QTimer::singleShot(100, &shown, &QEventLoop::quit);
        shown.exec();
        const Measurement m = importAndWait(view.store(), root, [&] { view.importFolder(root); });
        std::printf(
            "main window view, run %d: summary published after %lld ms, longest main-thread stall %lld ms\n",
            run, m.publishedMs, m.longestStallMs);
    }
    return 0;
}
