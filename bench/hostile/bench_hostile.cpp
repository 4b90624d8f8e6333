// Documents and files a hostile repository may hold, opened as the program opens them: each in a
// preview pane (reporting the time until its first screen is painted and the longest stall of
// the window's thread meanwhile), and a 1 GB task list counted by the analysis (time and the
// memory it takes beyond what the process held). Each figure is printed beside its bound.
//     QT_QPA_PLATFORM=offscreen bench/hostile/bench_hostile [NAME PART]
#include "processmemory.h"
#include "stallmeter.h"

#include "markdown/document/processheap.h"
#include "model/changeanalysis.h"
#include "model/modelenvironment.h"
#include "preview/markdownpreviewview.h"
#include "ui/themecontroller.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace kestrune;

namespace {

struct Opened
{
    qint64 shownMs = -1; // until the content state was painted
    qint64 longestStallMs = 0;
};

// Opens the file in a pane and waits until its content (or error) has been painted.
Opened open(const QString &path)
{
    QWidget window;
    window.resize(1000, 900);
    window.show();
    QEventLoop loop;
    StallMeter stalls;
    QElapsedTimer clock;
    clock.start();
    MarkdownPreviewView pane(QUrl::fromLocalFile(path), std::nullopt, &window);
    pane.resize(window.size());
    Opened result;
    QObject::connect(&pane, &MarkdownPreviewView::stateChanged, &pane,
                     [&](const MarkdownPreviewState &state) {
                         if (state.kind() == MarkdownPreviewState::Kind::loading)
                             return;
                         // Shown once the event loop is back after the state's first paint.
                         QTimer::singleShot(0, &loop, [&] {
                             pane.repaint();
                             result.shownMs = clock.elapsed();
                             loop.quit();
                         });
                     });
    pane.show();
    QTimer::singleShot(120000, &loop, &QEventLoop::quit);
    loop.exec();
    // The stall that matters is the window's while the document loads and first shows.
    result.longestStallMs = stalls.longest();
    return result;
}

struct Document
{
    const char *name;
    QByteArray text;
    qint64 stallBoundMs;
};

} // namespace

int main(int argc, char **argv)
{
    ProcessHeap::configureForDocuments(); // as the program runs
    QApplication app(argc, argv);
    QApplication::setPalette(ThemeController::paletteFor(Appearance::light));
    QTemporaryDir dir;

    // The analysis streams a task list: 1 GB of tasks takes a block and a line, not the file.
    if (argc < 2) {
        const QString changeFolder = dir.filePath(QStringLiteral("change"));
        QDir().mkpath(changeFolder);
        QFile tasks(changeFolder + QStringLiteral("/tasks.md"));
        if (!tasks.open(QIODevice::WriteOnly))
            return 1;
        const QByteArray chunk =
            QByteArray("- [x] done\n- [ ] open task with a longer text\n").repeated(20000);
        qint64 written = 0;
        while (written < (qint64(1) << 30))
            written += tasks.write(chunk);
        tasks.close();
        const qint64 pairs = written / (chunk.size() / 20000);
        resetPeakResident();
        const long before = residentKiB();
        TaskCount count;
        QElapsedTimer clock;
        clock.start();
        count = countTasks(QUrl::fromLocalFile(changeFolder), ModelEnvironment::system());
        const qint64 ms = clock.elapsed();
        const long extra = (peakResidentKiB() - before) / 1024;
        std::printf("1 GB tasks.md counted: %lld ms, %lld MiB beyond the process (bound 64 MiB), %s\n",
                    static_cast<long long>(ms), static_cast<long long>(extra),
                    count.total == 2 * pairs && count.done == pairs ? "count correct" : "COUNT WRONG");
        QFile::remove(tasks.fileName());
    }

    const QList<Document> documents = {
        {"'![[]()' x 50,000 (parser quadratic)", QByteArray("![[]()").repeated(50000), 50},
        {"'>' x 50,000 then 'a*' x 50,000", QByteArray(50000, '>') + QByteArray("a*").repeated(50000), 50},
        {"table of 10,000 columns",
         QByteArray("|a").repeated(10000) + "|\n" + QByteArray("|-").repeated(10000) + "|\n" +
             QByteArray("|b").repeated(10000) + "|\n",
         50},
        {"19 MB task list", QByteArray("- [ ] a task of a long task list\n").repeated((19 << 20) / 33), 50},
        {"800 KB word", QByteArray(800000, 'x'), 50},
    };
    // An argument picks the documents whose name contains it (and skips the task list).
    const QString only = argc > 1 ? QString::fromLocal8Bit(argv[argc - 1]) : QString();
    for (const Document &document : documents) {
        if (!only.isEmpty() && !QString::fromUtf8(document.name).contains(only))
            continue;
        const QString path = dir.filePath(QStringLiteral("document.md"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 1;
        file.write(document.text);
        file.close();
        resetPeakResident();
        const long before = residentKiB();
        const Opened opened = open(path);
        std::printf("%-40s shown after %6lld ms, longest stall of the window %5lld ms (bound %lld ms), peak "
                    "+%lld MiB\n",
                    document.name, static_cast<long long>(opened.shownMs),
                    static_cast<long long>(opened.longestStallMs),
                    static_cast<long long>(document.stallBoundMs),
                    static_cast<long long>((peakResidentKiB() - before) / 1024));
        QFile::remove(path);
    }
    return 0;
}
